#pragma once

#include <optional>
#include <string>

#include "storage/FileProblem.h"
#include "storage/LockFile.h"

// What the program tells the user, as a value the core hands up; each front end puts it into
// its own words (words/MessageWords.h), as it does a FileProblem.
struct Message
{
    enum class Kind
    {
        EnterFolderName,     // a folder name was left empty
        FolderNameIsOneLine, // the line breaks of a folder name became spaces
        NoImportIntoTrash,   // Import Folder with the Trash selected
        PrintingUnavailable, // nothing to print with, not even a PDF file
        PrintFailed,         // `detail`: what the printer said, in the front end's words already
        CommandFailed,       // a command stopped part way: `problem` says why, or `detail` in words already
        FolderTextFull,      // typing or a paste went beyond what a folder's text holds: `detail`
                             // is that many characters, in words already
        // About a notebook's file, whose name (the file system's bytes) is `subject`:
        OpenElsewhere,        // another Quillbox of this machine has it open: `holder` says which,
                              // or is empty when only its lock tells
        MayBeOpenElsewhere,   // its lock file names `holder`, a Quillbox of another machine
                              // sharing the folder, which may have ended
        ChangedWhileModified, // another program changed it while this notebook has unsaved changes
        Vanished,             // another program deleted or moved it
        NotTrashed,           // it could not be moved to the desktop's trash and stays where it is
        NoHistory,            // no version of it is kept (yet)
    };
    Kind kind = Kind::EnterFolderName;
    std::string detail;
    std::string subject;
    std::optional<LockOwner> holder;
    std::optional<FileProblem> problem;

    bool IsAboutAFile() const
    {
        return kind == Kind::OpenElsewhere || kind == Kind::MayBeOpenElsewhere || kind == Kind::ChangedWhileModified
            || kind == Kind::Vanished || kind == Kind::NotTrashed || kind == Kind::NoHistory;
    }
    // What the words put in: the file's name, or the detail's words.
    const std::string& Shown() const { return IsAboutAFile() ? subject : detail; }
};

// What the program asks the user, answered Yes or No, as a value the front ends put into words.
struct Question
{
    enum class Kind
    {
        DeleteFolder,    // `subject`: the folder's name, in the notebook's bytes
        PrintToPdf,      // there is no printer
        ReplaceReadOnly, // `subject`: the read-only file's path, in the file system's bytes
        ReadAgain,       // `subject`: the name of a file another program changed
        // `subject`: the names of the conflict copies a file-sync tool left beside the notebook,
        // one a line, in the file system's bytes
        MergeConflictCopies, // merge them into the notebook being opened?
        TrashConflictCopies, // once merged: move them to the trash (or keep them)?
    };
    Kind kind = Kind::DeleteFolder;
    std::string subject;

    // Whether `subject` is a path (the file system's bytes) rather than notebook bytes.
    bool IsSubjectAPath() const
    {
        return kind == Kind::ReplaceReadOnly || kind == Kind::ReadAgain || kind == Kind::MergeConflictCopies
            || kind == Kind::TrashConflictCopies;
    }
};

// What the user wants done with a notebook's unsaved changes as it closes.
enum class SaveChangesAnswer
{
    Save,
    Discard,
    Cancel, // the notebook stays open
};

// What the user wants done with a save over a file another program changed or removed.
enum class SaveOverAnswer
{
    Save,          // overwrite the change, or write the file there again
    SaveElsewhere, // choose another name
    Merge,         // merge the other program's change into the notebook, which stays unsaved
    Cancel,
};
