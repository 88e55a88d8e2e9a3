#pragma once

#include <string>
#include <vector>

#include "model/NotebookSnapshot.h"

// One difference between two versions of a notebook, as a value the front ends put into words.
struct NotebookChange
{
    enum class Kind
    {
        FolderAdded,
        FolderRemoved,
        FolderRenamed, // `oldPath` is where it was
        FolderMoved,   // to another parent, perhaps renamed too; `oldPath` is where it was
        NoteAdded,
        NoteRemoved,
        NoteChanged,
    };
    Kind kind = Kind::FolderAdded;
    // The folder's path (FolderPath's form): in the new notebook, or the old one for what was
    // removed.
    std::string path;
    std::string oldPath;
    // A note's header line, empty for what stands before a folder's first note.
    std::string header;
    // A note's lines that went, each after "-", and that came, each after "+", without their
    // line breaks.
    std::vector<std::string> lines;
};

// What changed from `older` to `newer`: folders matched as a merge matches them (by path, then
// renamed or moved by content), notes as a merge pairs them. Folders come in the newer
// notebook's order, those removed after them; names and texts in UTF-8.
std::vector<NotebookChange> DiffNotebooks(const NotebookSnapshot& older, const NotebookSnapshot& newer);
