#pragma once

#include <string>

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
        CommandFailed,       // a command stopped part way: `detail` says why, in words already
    };
    Kind kind = Kind::EnterFolderName;
    std::string detail;
};

// What the program asks the user, answered Yes or No, as a value the front ends put into words.
struct Question
{
    enum class Kind
    {
        DeleteFolder,    // `subject`: the folder's name, in the notebook's bytes
        PrintToPdf,      // there is no printer
        ReplaceReadOnly, // `subject`: the read-only file's path, in the file system's bytes
    };
    Kind kind = Kind::DeleteFolder;
    std::string subject;

    // Whether `subject` is a path (the file system's bytes) rather than notebook bytes.
    bool IsSubjectAPath() const { return kind == Kind::ReplaceReadOnly; }
};
