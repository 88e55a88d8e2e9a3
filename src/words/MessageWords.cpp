#include "words/MessageWords.h"

std::string DescribeMessage(const Message& message, const std::string& shown)
{
    using Kind = Message::Kind;
    switch (message.kind) {
    case Kind::EnterFolderName:
        return "You must enter a folder name.";
    case Kind::FolderNameIsOneLine:
        return "A folder name is one line: its line breaks were replaced by spaces.";
    case Kind::NoImportIntoTrash:
        return "You cannot import a folder as a child of the \"Trash\"\nfolder.  Please select a different folder.";
    case Kind::PrintingUnavailable:
        return "Printing is not available.";
    case Kind::PrintFailed:
        return shown;
    case Kind::CommandFailed:
        return "The command could not be completed: " + shown + ".";
    case Kind::FolderTextFull:
        return "The folder is full: its text holds at most " + shown + " characters, and what went beyond was left out.";
    case Kind::OpenElsewhere:
        return "\"" + shown + "\" is open in another Quillbox as well"
            + (message.detail.empty() ? std::string(", under another name") : " (" + message.detail + ")")
            + ".\n\nWhichever saves last overwrites what the other saved.";
    case Kind::ChangedWhileModified:
        return "\"" + shown + "\" was changed by another program, and this notebook has unsaved changes.\n\n"
                               "Save will offer to merge the other program's changes with yours, or to overwrite them.";
    case Kind::Vanished:
        return "\"" + shown + "\" was deleted or moved by another program. Save writes the notebook there again.";
    }
    return shown;
}

std::string DescribeQuestion(const Question& question, const std::string& shown)
{
    using Kind = Question::Kind;
    switch (question.kind) {
    case Kind::DeleteFolder:
        return "Are you sure you want to delete the folder " + shown + " and all of its children?";
    case Kind::PrintToPdf:
        return "No printer is available. Print the folder to a PDF file instead?";
    case Kind::ReplaceReadOnly:
        return "\"" + shown + "\" is read-only.\nSave over it anyway?";
    case Kind::ReadAgain:
        return "\"" + shown + "\" was changed by another program. Read it again?";
    case Kind::MergeConflictCopies:
        return "A file-sync tool left copies of this notebook beside it, made when it was changed in two places:\n\n"
            + shown + "\n\nMerge them into the notebook, note by note? The merged notebook is shown unsaved.";
    case Kind::TrashConflictCopies:
        return "The copies are merged into the notebook:\n\n" + shown
            + "\n\nMove them to the trash? (No keeps them beside the notebook.)";
    }
    return shown;
}

std::string DescribeSaveOver(bool bVanished, const std::string& shown)
{
    if (bVanished)
        return "\"" + shown + "\" was deleted or moved by another program since Quillbox opened or saved it.\n\n"
                               "Save the notebook there again, save it under another name, or cancel?";
    return "\"" + shown + "\" was changed by another program since Quillbox opened or saved it.\n\n"
                           "Merge its changes with this window's, note by note (the merged notebook is shown unsaved), "
                           "overwrite them, save the notebook under another name, or cancel?";
}

std::string DescribeSaveChanges(const std::string& shown)
{
    return "Save changes to " + (shown.empty() ? std::string("Untitled") : shown) + "?";
}
