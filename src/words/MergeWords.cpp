#include "words/MergeWords.h"

#include "words/Translate.h"

MergeLabels ShownLabels(const MergeLabels& labels)
{
    return { Tr("MergeWords", labels.ours.c_str()), Tr("MergeWords", labels.theirs.c_str()) };
}

std::string DescribeMergeEvent(const MergeEvent& event, const MergeLabels& labels)
{
    using Kind = MergeEvent::Kind;
    const std::string& ours = labels.ours;
    const std::string& theirs = labels.theirs;
    switch (event.kind) {
    case Kind::NoteKeptTwice:
        return Fill(Tr("MergeWords", "both changed the note: kept both versions, %1's first"), { ours });
    case Kind::NoteDeletedByOurs:
        return Fill(Tr("MergeWords", "%1 deleted the note, %2 changed it: kept %2's version"), { ours, theirs });
    case Kind::NoteDeletedByTheirs:
        return Fill(Tr("MergeWords", "%1 deleted the note, %2 changed it: kept %2's version"), { theirs, ours });
    case Kind::FolderDeletedByOurs:
        return Fill(Tr("MergeWords", "%1 deleted the folder, %2 changed it: kept"), { ours, theirs });
    case Kind::FolderDeletedByTheirs:
        return Fill(Tr("MergeWords", "%1 deleted the folder, %2 changed it: kept"), { theirs, ours });
    case Kind::FolderRenamedTwice:
        return Fill(Tr("MergeWords", "both renamed the folder: kept %1's name; %2 named it \"%3\""), { ours, theirs, event.detail });
    case Kind::FolderMovedTwice:
        return Fill(Tr("MergeWords", "both moved the folder: kept where %1 put it; %2 put it in \"%3\""),
                    { ours, theirs, event.detail });
    case Kind::NoCommonVersion:
        return Fill(Tr("MergeWords", "no version both %1 and %2 went on from is kept: every note of either is kept, so what one deleted or changed may be there twice"),
                    { ours, theirs });
    case Kind::KeyTaken:
        return Fill(Tr("MergeWords", "%1 gave the key %3 to this folder and %2 to another: the key stays with %2's"),
                    { theirs, ours, event.detail });
    case Kind::KeyKept:
        if (event.detail.empty())
            return Fill(Tr("MergeWords", "both changed the folder's key: kept %1's; %2 gave it none"), { ours, theirs });
        return Fill(Tr("MergeWords", "both changed the folder's key: kept %1's; %2 gave it %3"), { ours, theirs, event.detail });
    case Kind::SettingKept:
        return Fill(Tr("MergeWords", "both changed the preference %1: kept %2's"), { event.detail, ours });
    }
    return {};
}

std::string DescribeChangeKind(NotebookChange::Kind kind)
{
    using Kind = NotebookChange::Kind;
    switch (kind) {
    case Kind::FolderAdded: return "folder added";
    case Kind::FolderRemoved: return "folder removed";
    case Kind::FolderRenamed: return "folder renamed";
    case Kind::FolderMoved: return "folder moved";
    case Kind::NoteAdded: return "note added";
    case Kind::NoteRemoved: return "note removed";
    case Kind::NoteChanged: return "note changed";
    }
    return {};
}
