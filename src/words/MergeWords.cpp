#include "words/MergeWords.h"

std::string TheirsVersionLine(const MergeLabels& labels)
{
    return "(both changed this note: this version is from " + labels.theirs + ", the one above from " + labels.ours + ")";
}

std::string DescribeMergeEvent(const MergeEvent& event, const MergeLabels& labels)
{
    using Kind = MergeEvent::Kind;
    switch (event.kind) {
    case Kind::NoteKeptTwice:
        return "both changed the note: kept both versions, " + labels.ours + "'s first";
    case Kind::NoteDeletedByOurs:
        return labels.ours + " deleted the note, " + labels.theirs + " changed it: kept " + labels.theirs + "'s version";
    case Kind::NoteDeletedByTheirs:
        return labels.theirs + " deleted the note, " + labels.ours + " changed it: kept " + labels.ours + "'s version";
    case Kind::FolderDeletedByOurs:
        return labels.ours + " deleted the folder, " + labels.theirs + " changed it: kept";
    case Kind::FolderDeletedByTheirs:
        return labels.theirs + " deleted the folder, " + labels.ours + " changed it: kept";
    case Kind::FolderRenamedTwice:
        return "both renamed the folder: kept " + labels.ours + "'s name; " + labels.theirs + " named it \"" + event.detail + "\"";
    case Kind::FolderMovedTwice:
        return "both moved the folder: kept where " + labels.ours + " put it; " + labels.theirs + " put it in \""
            + event.detail + "\"";
    case Kind::KeyTaken:
        return labels.theirs + " gave the key " + event.detail + " to this folder and " + labels.ours
            + " to another: the key stays with " + labels.ours + "'s";
    case Kind::KeyKept:
        return "both changed the folder's key: kept " + labels.ours + "'s; " + labels.theirs + " gave it "
            + (event.detail.empty() ? std::string("none") : event.detail);
    case Kind::SettingKept:
        return "both changed the preference " + event.detail + ": kept " + labels.ours + "'s";
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
