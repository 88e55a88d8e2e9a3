#pragma once

#include <vector>

#include "platform/FocusScope.h"
#include "platform/TreeControl.h"

// A headless tree control. Sorted inserts and sorting use CompareNoCase. When the selected
// item is deleted, the next sibling is selected, else the previous one, else the parent.
class MemoryTree : public TreeControl
{
public:
    explicit MemoryTree(FocusScope* pFocus = nullptr);

    TreeItem InsertItem(const std::string& text, TreeItem parent, bool sorted) override;
    std::vector<TreeItem> InsertSorted(const std::vector<TreeInsert>& batch) override;
    void Expand(TreeItem item) override;
    void DeleteItem(TreeItem item) override;
    std::string GetItemText(TreeItem item) const override;
    void SetItemText(TreeItem item, const std::string& text) override;
    TreeItem GetParentItem(TreeItem item) const override;
    void SortChildren(TreeItem parent) override;
    TreeItem GetSelectedItem() const override { return m_selected; }
    void SelectItem(TreeItem item) override;
    void SetSelectionHandler(std::function<void(TreeItem)> handler) override { m_onSelChanging = std::move(handler); }
    bool HasFocus() const override { return m_pFocus->pOwner == this; }
    void SetFocus() override { m_pFocus->pOwner = this; }

    // The items under `parent` in order; the list is good until an item is next inserted.
    const std::vector<TreeItem>& GetChildren(TreeItem parent) const;
    bool IsExpanded(TreeItem item) const;
    bool Exists(TreeItem item) const { return Find(item) != nullptr; }
    size_t GetCount() const { return m_count; }
    // The tree as the user sees it, e.g. "Main[Alpha[Beta,Gamma]],Trash"; the selected item is
    // marked with a '*' when markSelection is set.
    std::string Dump(bool markSelection = false) const;

private:
    struct Node
    {
        std::string text;
        TreeItem parent = kNoItem;
        std::vector<TreeItem> children;
        bool expanded = false;
        bool live = false;
    };
    std::vector<TreeItem>& ChildList(TreeItem parent);
    // The node of an item in the tree, or null.
    const Node* Find(TreeItem item) const;
    // The node of an item that must be in the tree; std::out_of_range otherwise.
    Node& At(TreeItem item);
    // Items are numbered from 1 as they are made, so each one's node lies at its number; a
    // deleted item's node stays there, emptied. Item numbers are never used again.
    std::vector<Node> m_nodes = std::vector<Node>(1);
    size_t m_count = 0;
    std::vector<TreeItem> m_roots;
    TreeItem m_selected = kNoItem;
    FocusScope m_ownFocus;
    FocusScope* m_pFocus;
    std::function<void(TreeItem)> m_onSelChanging;
};
