#include "words/MessageWords.h"

#include "words/ProblemWords.h"
#include "words/Translate.h"

std::string DescribeLockOwner(const LockOwner& owner)
{
    return Fill(Tr("MessageWords", "on %1, process %2, user %3"), { owner.host, std::to_string(owner.pid), owner.user });
}

std::string DescribeMessage(const Message& message, const std::string& shown)
{
    using Kind = Message::Kind;
    switch (message.kind) {
    case Kind::EnterFolderName:
        return Tr("MessageWords", "You must enter a folder name.");
    case Kind::FolderNameIsOneLine:
        return Tr("MessageWords", "A folder name is one line: its line breaks were replaced by spaces.");
    case Kind::NoImportIntoTrash:
        return Tr("MessageWords", "You cannot import a folder as a child of the \"Trash\"\nfolder.  Please select a different folder.");
    case Kind::PrintingUnavailable:
        return Tr("MessageWords", "Printing is not available.");
    case Kind::PrintFailed:
        return shown;
    case Kind::CommandFailed:
        return Fill(Tr("MessageWords", "The command could not be completed: %1."),
                    { message.problem ? DescribeReason(*message.problem) : shown });
    case Kind::FolderTextFull:
        return Fill(Tr("MessageWords", "The folder is full: its text holds at most %1 characters, and what went beyond was left out."),
                    { shown });
    case Kind::OpenElsewhere:
        if (!message.holder)
            return Fill(Tr("MessageWords", "\"%1\" is open in another Quillbox as well, under another name.\n\n"
                                           "Whichever saves last overwrites what the other saved."),
                        { shown });
        return Fill(Tr("MessageWords", "\"%1\" is open in another Quillbox as well (%2).\n\n"
                                       "Whichever saves last overwrites what the other saved."),
                    { shown, DescribeLockOwner(*message.holder) });
    case Kind::MayBeOpenElsewhere:
        return Fill(Tr("MessageWords", "\"%1\" may be open in Quillbox on another machine that shares its folder%2: whether it "
                                       "still is cannot be checked from here.\n\n"
                                       "If it is, whichever saves last overwrites what the other saved."),
                    { shown, message.holder ? " (" + DescribeLockOwner(*message.holder) + ")" : "" });
    case Kind::ChangedWhileModified:
        return Fill(Tr("MessageWords", "\"%1\" was changed by another program, and this notebook has unsaved changes.\n\n"
                                       "Save will offer to merge the other program's changes with yours, or to overwrite them."),
                    { shown });
    case Kind::Vanished:
        return Fill(Tr("MessageWords", "\"%1\" was deleted or moved by another program. Save writes the notebook there again."),
                    { shown });
    case Kind::NotTrashed:
        return Fill(Tr("MessageWords", "\"%1\" could not be moved to the trash; it is kept where it is."), { shown });
    case Kind::NoHistory:
        return Fill(Tr("MessageWords", "No version of \"%1\" is kept yet: one is kept at every save."), { shown });
    }
    return shown;
}

std::string DescribeQuestion(const Question& question, const std::string& shown)
{
    using Kind = Question::Kind;
    switch (question.kind) {
    case Kind::DeleteFolder:
        return Fill(Tr("MessageWords", "Are you sure you want to delete the folder %1 and all of its children?"), { shown });
    case Kind::PrintToPdf:
        return Tr("MessageWords", "No printer is available. Print the folder to a PDF file instead?");
    case Kind::ReplaceReadOnly:
        return Fill(Tr("MessageWords", "\"%1\" is read-only.\nSave over it anyway?"), { shown });
    case Kind::ReadAgain:
        return Fill(Tr("MessageWords", "\"%1\" was changed by another program. Read it again?"), { shown });
    case Kind::MergeConflictCopies:
        return Fill(Tr("MessageWords", "A file-sync tool left copies of this notebook beside it, made when it was changed in two "
                                       "places:\n\n%1\n\nMerge them into the notebook, note by note? The merged notebook is "
                                       "shown unsaved."),
                    { shown });
    case Kind::TrashConflictCopies:
        return Fill(Tr("MessageWords", "The copies are merged into the notebook:\n\n%1\n\nMove them to the trash? (No keeps them "
                                       "beside the notebook.)"),
                    { shown });
    }
    return shown;
}

std::string DescribeSaveOver(bool bVanished, const std::string& shown)
{
    if (bVanished)
        return Fill(Tr("MessageWords", "\"%1\" was deleted or moved by another program since Quillbox opened or saved it.\n\n"
                                       "Save the notebook there again, save it under another name, or cancel?"),
                    { shown });
    return Fill(Tr("MessageWords", "\"%1\" was changed by another program since Quillbox opened or saved it.\n\n"
                                   "Merge its changes with this window's, note by note (the merged notebook is shown unsaved), "
                                   "overwrite them, save the notebook under another name, or cancel?"),
                { shown });
}

std::string DescribeSaveChanges(const std::string& shown)
{
    return Fill(Tr("MessageWords", "Save changes to %1?"), { shown.empty() ? Tr("MessageWords", "Untitled") : shown });
}
