#pragma once

#include <cstdint>
#include <ctime>
#include <functional>
#include <optional>
#include <string>

#include "format/FileResults.h"
#include "merge/NotebookMerge.h"

// Whether two notebooks hold the same folders, keys and texts.
bool SameNotebook(const NotebookSnapshot& a, const NotebookSnapshot& b);

// Finds the kept version two copies of a notebook both went on from; nothing when none is known.
using BaseFinder = std::function<std::optional<NotebookSnapshot>(const NotebookSnapshot& ours, const NotebookSnapshot& theirs)>;

// Merges the two three-way with the version `findBase` gives them (none when it is empty); with
// none, as copies with no common version, which keeps every note of either, and the events begin
// with one that says so.
MergeResult MergeFromBase(const BaseFinder& findBase, const NotebookSnapshot& ours, const NotebookSnapshot& theirs,
                          const MergeOptions& options);

// A window's notebook merged with the version another program saved over its file.
struct [[nodiscard]] DiskMerge
{
    // How the file read; the rest is set only when it read whole.
    ReadReport report;
    // The file as read, the base of the next merge, and the hash of its bytes.
    NotebookSnapshot disk;
    std::optional<uint64_t> diskHash;
    MergeResult merged;
};

// Merges the changes `ours` (the window's notebook) and the file at `path` made to the version
// both went on from, as MergeFromBase does. The file is read as at `moment`, when the base was
// read, so that a folder empty in both files gets the same new note's header.
DiskMerge MergeWithDisk(const BaseFinder& findBase, const NotebookSnapshot& ours, const std::string& path, const std::tm& moment,
                        const MergeOptions& options);
