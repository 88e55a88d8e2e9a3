#pragma once

#include <cstdint>
#include <ctime>
#include <optional>
#include <string>

#include "format/FileResults.h"
#include "merge/NotebookMerge.h"

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

// Merges the changes `ours` (the window's notebook) and the file at `path` made to `base`, what
// the window last read or saved; without a base, the two are merged as copies with no common
// version, which keeps every note of either. The file is read as at `moment`, when `base` was
// read, so that a folder empty in both files gets the same new note's header.
DiskMerge MergeWithDisk(const std::optional<NotebookSnapshot>& base, const NotebookSnapshot& ours, const std::string& path,
                        const std::tm& moment, const MergeOptions& options);
