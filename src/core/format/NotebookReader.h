#pragma once

#include <cstdint>
#include <ctime>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "format/FileResults.h"
#include "model/KeyAssignment.h"
#include "model/NotebookSnapshot.h"
#include "storage/SharedText.h"
#include "storage/TextEncoding.h"

class LineReader;

// A notebook's folders as its file holds them, read with no window behind them: what the
// document loads, and what the command-line tool, the merge and the check read.
struct NotebookContents : NotebookHeader
{
    // Where a record goes: under an earlier record (its index), at the top level, or under the
    // folder a folder file is imported into.
    static constexpr size_t kTopLevel = SIZE_MAX;
    static constexpr size_t kOuter = SIZE_MAX - 1;

    struct Record
    {
        size_t parent = kTopLevel;
        std::string name;
        std::optional<KeyAssignment> key;
        SharedText text;
    };

    // The header's values (NotebookHeader) that a file lacks keep what they held before it was read.
    // In the file's order; a record's parent comes before it. A record named "Main" or "Trash"
    // goes to the top level wherever it stands.
    std::vector<Record> records;
    // The record the notebook opens with selected.
    size_t selected = 0;
    // The hash of the bytes, when asked for and the file was read whole.
    std::optional<uint64_t> hash;

    // The records as a save writes them: each folder, its children, then its next siblings.
    NotebookSnapshot ToSnapshot() const;
    // The contents of a notebook whose records are already whole (a merge's result), made sure
    // of as a notebook read from its file is (ReadNotebookFile).
    static NotebookContents FromSnapshot(const NotebookSnapshot& snapshot, const std::tm& now);
};

// Turns a source's names and texts into the notebook's encoding; empty when nothing needs turning.
using TextConverter = std::function<std::string(std::string_view)>;

// Reads one record with its declared children onto `records`, from the next "Begin Folder" on;
// the first goes to `outer` (NotebookContents::kTopLevel or kOuter). Names become one line as
// `names` makes them. False when the input ended, or another record began, before the records
// were whole; what was read of them is kept (a record whose name was read is worth keeping).
bool ReadRecordTree(LineReader& in, size_t outer, const TextEncoding& names, const TextConverter& convert,
                    std::vector<NotebookContents::Record>& records);

// Reads the notebook file at `path` as Quillbox opens it, into `contents`, whose header values
// stand for those the file lacks. What every opened notebook holds is then made sure of: a new
// note's header made at `now` in each folder with no text but the Trash, and the Trash and Main
// folders, added when missing. The report says whether the file was read whole, in part (the
// first thing found wrong, a missing Trash or Main included) or not at all.
ReadReport ReadNotebookFile(const std::string& path, const std::tm& now, NotebookContents& contents, bool bHash = false);

// Reads the notebook file at `path` as Quillbox opens it, into the records it would save, for
// the tools that read notebooks with no window: the merge, the comparison, the command-line
// tool. `pHash`, when given, takes the hash of the bytes when the file was read whole.
ReadReport ReadNotebookSnapshot(const std::string& path, const std::tm& now, NotebookSnapshot& snapshot,
                                uint64_t* pHash = nullptr);
