#pragma once

#include <ctime>
#include <optional>
#include <string>
#include <vector>

#include "format/FileResults.h"
#include "merge/DiskMerge.h"
#include "merge/NotebookMerge.h"

// The conflict copies a file-sync tool left beside the notebook at `path` when it was changed in
// two places, in name order: "NAME.sync-conflict-YYYYMMDD-HHMMSS-DEVICE.not",
// "NAME (conflicted copy YYYY-MM-DD HHMMSS).not" and "NAME (HOST's conflicted copy
// YYYY-MM-DD).not" for the notebook "NAME.not".
std::vector<std::string> FindConflictCopies(const std::string& path);

// The notebook at `path` with its conflict copies merged in, one after another. Each copy is
// merged three-way with the version it and the notebook both went on from, as `findBase` finds
// it; without one, as two copies with no common version, which keeps every note of either. A
// copy that reads only in part is merged that way too, since the folders it lost would read as
// deleted.
struct [[nodiscard]] CopiesMerge
{
    // How the notebook read; the rest is set only when it read whole.
    ReadReport report;
    // The notebook as read and the hash of its bytes.
    NotebookSnapshot notebook;
    uint64_t hash = 0;
    // The merged notebook and what needed a choice, each event's path in it.
    MergeResult merged;
    // The copies merged in whole; what could not be said of the others (merged in part, or
    // left out), each with why.
    std::vector<std::string> mergedCopies;
    std::vector<FileProblem> problems;
    // Something of a copy was merged in.
    bool bMerged = false;
};
CopiesMerge MergeConflictCopies(const std::string& path, const std::vector<std::string>& copies,
                                const BaseFinder& findBase, const std::tm& moment, const MergeOptions& options);
