#pragma once

#include <string>
#include <vector>

#include "model/NotebookSnapshot.h"

// What a merge did that the user should know of, as a value the front ends put into words
// (words/MergeWords.h). Conflicts are what both sides changed in ways that exclude each other;
// the rest is said but merged cleanly.
struct MergeEvent
{
    enum class Kind
    {
        // Conflicts:
        NoteKeptTwice,      // both sides changed the note's lines differently: ours' version, then
                            // theirs', which says so in its second line
        NoteDeletedByOurs,  // ours deleted the note, theirs changed it: theirs' version is kept
        NoteDeletedByTheirs, // theirs deleted the note, ours changed it: ours' version is kept
        FolderDeletedByOurs, // ours deleted the folder, theirs changed it or what it holds: kept
        FolderDeletedByTheirs,
        FolderRenamedTwice, // both renamed it, differently: ours' name is kept, `detail` theirs'
        FolderMovedTwice,   // both moved it, to different places: it is where ours put it;
                            // `detail` is the path theirs gave it
        NoCommonVersion,    // no version both went on from is kept: every note of either is
                            // kept, so what one side deleted or changed may be there twice
        // Merged cleanly:
        KeyTaken,      // theirs gave the key `detail` to this folder, ours to another: ours kept
        KeyKept,       // both changed the folder's key or its function, differently: ours kept
        SettingKept,   // both changed a preference (`detail`: its keyword), differently: ours kept
    };
    Kind kind = Kind::NoteKeptTwice;
    // The folder's path in the merged notebook (FolderPath's form), empty for a preference.
    std::string path;
    // The note's header line, for a note.
    std::string header;
    std::string detail;

    bool IsConflict() const
    {
        switch (kind) {
        case Kind::NoteKeptTwice:
        case Kind::NoteDeletedByOurs:
        case Kind::NoteDeletedByTheirs:
        case Kind::FolderDeletedByOurs:
        case Kind::FolderDeletedByTheirs:
        case Kind::FolderRenamedTwice:
        case Kind::FolderMovedTwice:
        case Kind::NoCommonVersion:
            return true;
        case Kind::KeyTaken:
        case Kind::KeyKept:
        case Kind::SettingKept:
            return false;
        }
        return true;
    }
};

struct [[nodiscard]] MergeResult
{
    NotebookSnapshot notebook;
    std::vector<MergeEvent> events;

    bool HasConflicts() const;
};

struct MergeOptions
{
    // The line put second in theirs' version of a note both sides changed differently, in
    // UTF-8, saying where each version came from; a version with no header line is headed by it.
    std::string theirsLine;
};

// The changes ours and theirs made to base, merged (see README, "Merging notebooks"). Each
// notebook is the records its file's reader makes (CQuillboxDoc::TakeSnapshot); the result is
// written with WriteNotebook.
MergeResult MergeNotebooks(const NotebookSnapshot& base, const NotebookSnapshot& ours, const NotebookSnapshot& theirs,
                           const MergeOptions& options);

// Two copies of a notebook with no common base, merged: every folder and every note of either is
// kept, notes that both hold once. Where they differ in a folder's key or a preference, ours is
// kept; one key still names one folder.
MergeResult UnionNotebooks(const NotebookSnapshot& ours, const NotebookSnapshot& theirs, const MergeOptions& options);
