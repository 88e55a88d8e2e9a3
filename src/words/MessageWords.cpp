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
    }
    return shown;
}
