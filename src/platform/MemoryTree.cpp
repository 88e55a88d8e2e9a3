#include "platform/MemoryTree.h"

#include <algorithm>

#include "platform/NameOrder.h"

MemoryTree::MemoryTree(FocusScope* pFocus)
    : m_pFocus(pFocus ? pFocus : &m_ownFocus)
{
}

std::vector<TreeItem>& MemoryTree::ChildList(TreeItem parent)
{
    return parent == kNoItem ? m_roots : m_nodes.at(parent).children;
}

const std::vector<TreeItem>& MemoryTree::GetChildren(TreeItem parent) const
{
    return parent == kNoItem ? m_roots : m_nodes.at(parent).children;
}

TreeItem MemoryTree::InsertItem(const std::string& text, TreeItem parent, bool sorted)
{
    const TreeItem item = m_nextItem++;
    auto& siblings = ChildList(parent);
    auto at = siblings.end();
    if (sorted) {
        at = std::upper_bound(siblings.begin(), siblings.end(), text, [this](const std::string& t, TreeItem other) {
            return CompareNoCase(t, m_nodes.at(other).text) < 0;
        });
    }
    siblings.insert(at, item);
    m_nodes.emplace(item, Node { text, parent, {}, false });
    return item;
}

std::vector<TreeItem> MemoryTree::InsertSorted(const std::vector<TreeInsert>& batch)
{
    // Items with their names, so that ordering them looks nothing up.
    using Named = std::pair<std::string_view, TreeItem>;
    std::vector<TreeItem> items;
    items.reserve(batch.size());
    // The new children of each parent, parents in the order they first receive one.
    std::vector<std::pair<TreeItem, std::vector<Named>>> groups;
    std::unordered_map<TreeItem, size_t> groupOf;
    m_nodes.reserve(m_nodes.size() + batch.size());
    for (const TreeInsert& insert : batch) {
        const TreeItem parent = insert.batchParent >= 0 ? items.at(static_cast<size_t>(insert.batchParent)) : insert.parent;
        const TreeItem item = m_nextItem++;
        const Node& node = m_nodes.emplace(item, Node { std::string(insert.text), parent, {}, false }).first->second;
        items.push_back(item);
        const auto [it, bNew] = groupOf.emplace(parent, groups.size());
        if (bNew)
            groups.emplace_back(parent, std::vector<Named>());
        groups[it->second].second.emplace_back(node.text, item);
    }
    auto before = [](const Named& a, const Named& b) { return CompareNoCase(a.first, b.first) < 0; };
    for (auto& [parent, children] : groups) {
        // Stable, and the siblings already there go first among equals: what inserting one by
        // one, each after the last sibling that does not sort behind it, gives.
        SortByName(children, [](const Named& named) { return named.first; });
        auto& siblings = ChildList(parent);
        std::vector<Named> merged;
        merged.reserve(siblings.size() + children.size());
        for (TreeItem sibling : siblings)
            merged.emplace_back(m_nodes.at(sibling).text, sibling);
        const auto old = static_cast<std::ptrdiff_t>(merged.size());
        merged.insert(merged.end(), children.begin(), children.end());
        std::inplace_merge(merged.begin(), merged.begin() + old, merged.end(), before);
        siblings.clear();
        for (const Named& named : merged)
            siblings.push_back(named.second);
    }
    return items;
}

void MemoryTree::Expand(TreeItem item)
{
    if (auto it = m_nodes.find(item); it != m_nodes.end())
        it->second.expanded = true;
}

bool MemoryTree::IsExpanded(TreeItem item) const
{
    const auto it = m_nodes.find(item);
    return it != m_nodes.end() && it->second.expanded;
}

void MemoryTree::DeleteItem(TreeItem item)
{
    if (!Exists(item))
        return;
    bool selectionInside = false;
    for (TreeItem up = m_selected; up != kNoItem; up = m_nodes.at(up).parent) {
        if (up == item) {
            selectionInside = true;
            break;
        }
    }
    auto& siblings = ChildList(m_nodes.at(item).parent);
    const auto pos = std::find(siblings.begin(), siblings.end(), item);
    if (selectionInside) {
        TreeItem neighbour = m_nodes.at(item).parent;
        if (pos + 1 != siblings.end())
            neighbour = *(pos + 1);
        else if (pos != siblings.begin())
            neighbour = *(pos - 1);
        SelectItem(neighbour);
    }
    // The handler may have changed the tree; find the item's place again.
    auto& list = ChildList(m_nodes.at(item).parent);
    list.erase(std::find(list.begin(), list.end(), item));
    std::vector<TreeItem> doomed { item };
    while (!doomed.empty()) {
        const TreeItem current = doomed.back();
        doomed.pop_back();
        auto node = m_nodes.extract(current);
        doomed.insert(doomed.end(), node.mapped().children.begin(), node.mapped().children.end());
    }
    if (!Exists(m_selected))
        m_selected = kNoItem;
}

std::string MemoryTree::GetItemText(TreeItem item) const
{
    const auto it = m_nodes.find(item);
    return it == m_nodes.end() ? std::string() : it->second.text;
}

void MemoryTree::SetItemText(TreeItem item, const std::string& text)
{
    if (auto it = m_nodes.find(item); it != m_nodes.end())
        it->second.text = text;
}

TreeItem MemoryTree::GetParentItem(TreeItem item) const
{
    const auto it = m_nodes.find(item);
    return it == m_nodes.end() ? kNoItem : it->second.parent;
}

void MemoryTree::SortChildren(TreeItem parent)
{
    auto& children = ChildList(parent);
    std::stable_sort(children.begin(), children.end(), [this](TreeItem a, TreeItem b) {
        return CompareNoCase(m_nodes.at(a).text, m_nodes.at(b).text) < 0;
    });
}

void MemoryTree::SelectItem(TreeItem item)
{
    if (item != kNoItem && !Exists(item))
        return;
    if (m_onSelChanging)
        m_onSelChanging(item);
    m_selected = item;
}

std::string MemoryTree::Dump(bool markSelection) const
{
    std::string out;
    // Each frame: the list being printed and the position in it.
    std::vector<std::pair<const std::vector<TreeItem>*, size_t>> stack { { &m_roots, 0 } };
    while (!stack.empty()) {
        auto& [list, index] = stack.back();
        if (index == list->size()) {
            stack.pop_back();
            if (!stack.empty())
                out += ']';
            continue;
        }
        const TreeItem item = (*list)[index++];
        if (index > 1)
            out += ',';
        const Node& node = m_nodes.at(item);
        out += node.text;
        if (markSelection && item == m_selected)
            out += '*';
        if (!node.children.empty()) {
            out += '[';
            stack.push_back({ &node.children, 0 });
        }
    }
    return out;
}
