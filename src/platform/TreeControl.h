#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Handle of one item of the folder tree; kNoItem stands for none (and for the root as a parent).
using TreeItem = std::uint64_t;
inline constexpr TreeItem kNoItem = 0;

// One item of a batch insert: its text and its parent, either an item already in the tree (kNoItem:
// the top level) or, when batchParent is set, an earlier item of the same batch.
struct TreeInsert
{
    std::string_view text;
    TreeItem parent = kNoItem;
    int batchParent = -1;
};

// Which sibling takes the selection when the item at `index` of `count` siblings is deleted
// with the selection in it: the next one, else the one before; nothing when it was the only
// one, and the parent takes it.
inline std::optional<size_t> NeighbourOfDeleted(size_t index, size_t count)
{
    if (index + 1 < count)
        return index + 1;
    if (index > 0)
        return index - 1;
    return std::nullopt;
}

// The operations the folder logic needs of the tree control.
class TreeControl
{
public:
    virtual ~TreeControl() = default;

    // Inserts an item under `parent` (kNoItem: top level), in name order when `sorted` is set,
    // else after the last sibling. Does not select it.
    virtual TreeItem InsertItem(const std::string& text, TreeItem parent, bool sorted) = 0;
    // Inserts a batch of items, each in name order among its siblings, as sorted InsertItem calls
    // one after the other in the batch's order would; returns the handles in that order. Faster
    // than one call per item: a whole notebook goes in at once. Selects and expands nothing.
    virtual std::vector<TreeItem> InsertSorted(const std::vector<TreeInsert>& batch) = 0;
    virtual void Expand(TreeItem item) = 0;
    // Removes the item with everything below it. When the selection lies in that subtree, a
    // neighbouring item is selected first (running the selection handler), or none is left.
    virtual void DeleteItem(TreeItem item) = 0;
    virtual std::string GetItemText(TreeItem item) const = 0;
    virtual void SetItemText(TreeItem item, const std::string& text) = 0;
    virtual TreeItem GetParentItem(TreeItem item) const = 0;
    // Sorts the children of `parent` (kNoItem: the top level) by name; one level only.
    virtual void SortChildren(TreeItem parent) = 0;

    virtual TreeItem GetSelectedItem() const = 0;
    // Selects the item. The selection handler runs synchronously before the new selection
    // shows, even when the item is already selected.
    virtual void SelectItem(TreeItem item) = 0;
    virtual void SetSelectionHandler(std::function<void(TreeItem newItem)> handler) = 0;

    virtual bool HasFocus() const = 0;
    virtual void SetFocus() = 0;
};
