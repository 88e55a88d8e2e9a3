#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/NotebookSnapshot.h"
#include "format/NoteText.h"

// A notebook's records as a tree: each folder's parent and children, by their place in the
// records (the file's pre-order).
class RecordTree
{
public:
    explicit RecordTree(const std::vector<NotebookSnapshot::Record>& records);

    static constexpr int kRoot = -1;

    const std::vector<NotebookSnapshot::Record>& Records() const { return *m_pRecords; }
    const NotebookSnapshot::Record& At(int folder) const { return (*m_pRecords)[static_cast<size_t>(folder)]; }
    int Size() const { return static_cast<int>(m_parents.size()); }
    // The parent of a folder, kRoot for a top-level one.
    int Parent(int folder) const { return m_parents[static_cast<size_t>(folder)]; }
    // The children of a folder, or the top-level folders for kRoot, in the file's order.
    const std::vector<int>& Children(int folder) const { return m_children[static_cast<size_t>(folder + 1)]; }
    // The folder's path as FolderPath writes it ("Main/A\/B").
    std::string Path(int folder) const;

private:
    const std::vector<NotebookSnapshot::Record>* m_pRecords;
    std::vector<int> m_parents;
    // Index 0 holds the top level; folder i's children are at i + 1.
    std::vector<std::vector<int>> m_children;
};

// Which folder of one notebook is which of another's: by path (among siblings of one name, by
// text, then by notes in common, then in order), and for the rest by content, which finds a
// folder renamed or moved: the same text, found once on each side, or, under the same name or
// the same parent, at least half its notes in common, or else, anywhere, more than half its
// lines in common, the most alike first. The children of folders found so are then matched by
// path below them. `bByContent` off matches by path alone.
struct FolderMatching
{
    // For each folder of the other notebook, the base folder it is, or -1 when it is new.
    std::vector<int> baseOf;
    // For each base folder, the other notebook's folder it became, or -1 when it is gone.
    std::vector<int> otherOf;
};
FolderMatching MatchFolders(const RecordTree& base, const RecordTree& other, bool bByContent = true);

// For each note of `base`, the note of `side` it became, -1 when it is gone: notes whose header
// lines agree, in order; among notes of one header, the same text first, then the most alike.
// A note whose header line changed is taken for one removed and another added, so that no
// change to either is lost.
std::vector<int> PairNotes(const std::vector<std::string_view>& base, const std::vector<std::string_view>& side);

// The notebook in UTF-8: itself when it is, else `copy`, made from it.
const NotebookSnapshot& InUtf8(const NotebookSnapshot& notebook, std::optional<NotebookSnapshot>& copy);
