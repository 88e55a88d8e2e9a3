#include "platform/MemoryTree.h"

#include <algorithm>
#include <stdexcept>
#include <unordered_map>
#include <utility>

#include "platform/NameOrder.h"

MemoryTree::MemoryTree(FocusScope* pFocus)
    : m_pFocus(pFocus ? pFocus : &m_ownFocus)
{
}

const MemoryTree::Node* MemoryTree::Find(TreeItem item) const
{
    return item < m_nodes.size() && m_nodes[item].live ? &m_nodes[item] : nullptr;
}

MemoryTree::Node& MemoryTree::At(TreeItem item)
{
    if (!Find(item))
        throw std::out_of_range("no such tree item");
    return m_nodes[item];
}

std::vector<TreeItem>& MemoryTree::ChildList(TreeItem parent)
{
    return parent == kNoItem ? m_roots : At(parent).children;
}

const std::vector<TreeItem>& MemoryTree::GetChildren(TreeItem parent) const
{
    if (parent == kNoItem)
        return m_roots;
    if (!Find(parent))
        throw std::out_of_range("no such tree item");
    return m_nodes[parent].children;
}

TreeItem MemoryTree::InsertItem(const std::string& text, TreeItem parent, bool sorted)
{
    // The node first: adding it may move the others, the parent's list of children among them.
    const TreeItem item = m_nodes.size();
    m_nodes.push_back(Node { text, parent, {}, false, true });
    ++m_count;
    auto& siblings = ChildList(parent);
    auto at = siblings.end();
    if (sorted) {
        at = std::upper_bound(siblings.begin(), siblings.end(), text, [this](const std::string& t, TreeItem other) {
            return CompareNoCase(t, m_nodes[other].text) < 0;
        });
    }
    siblings.insert(at, item);
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
    // Room for all at once: the names gathered below point into the nodes, which must not move.
    m_nodes.reserve(m_nodes.size() + batch.size());
    for (const TreeInsert& insert : batch) {
        const TreeItem parent = insert.batchParent >= 0 ? items.at(static_cast<size_t>(insert.batchParent)) : insert.parent;
        const TreeItem item = m_nodes.size();
        const Node& node = m_nodes.emplace_back(Node { std::string(insert.text), parent, {}, false, true });
        ++m_count;
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
            merged.emplace_back(m_nodes[sibling].text, sibling);
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
    if (Exists(item))
        m_nodes[item].expanded = true;
}

bool MemoryTree::IsExpanded(TreeItem item) const
{
    const Node* pNode = Find(item);
    return pNode && pNode->expanded;
}

void MemoryTree::DeleteItem(TreeItem item)
{
    if (!Exists(item))
        return;
    bool selectionInside = false;
    for (TreeItem up = m_selected; up != kNoItem; up = At(up).parent) {
        if (up == item) {
            selectionInside = true;
            break;
        }
    }
    auto& siblings = ChildList(At(item).parent);
    const auto pos = std::find(siblings.begin(), siblings.end(), item);
    if (selectionInside) {
        TreeItem neighbour = At(item).parent;
        if (pos + 1 != siblings.end())
            neighbour = *(pos + 1);
        else if (pos != siblings.begin())
            neighbour = *(pos - 1);
        SelectItem(neighbour);
    }
    // The handler may have changed the tree; find the item's place again.
    auto& list = ChildList(At(item).parent);
    list.erase(std::find(list.begin(), list.end(), item));
    std::vector<TreeItem> doomed { item };
    while (!doomed.empty()) {
        const TreeItem current = doomed.back();
        doomed.pop_back();
        Node node = std::exchange(m_nodes[current], Node());
        --m_count;
        doomed.insert(doomed.end(), node.children.begin(), node.children.end());
    }
    if (!Exists(m_selected))
        m_selected = kNoItem;
}

std::string MemoryTree::GetItemText(TreeItem item) const
{
    const Node* pNode = Find(item);
    return pNode ? pNode->text : std::string();
}

void MemoryTree::SetItemText(TreeItem item, const std::string& text)
{
    if (Exists(item))
        m_nodes[item].text = text;
}

TreeItem MemoryTree::GetParentItem(TreeItem item) const
{
    const Node* pNode = Find(item);
    return pNode ? pNode->parent : kNoItem;
}

void MemoryTree::SortChildren(TreeItem parent)
{
    auto& children = ChildList(parent);
    std::stable_sort(children.begin(), children.end(), [this](TreeItem a, TreeItem b) {
        return CompareNoCase(m_nodes[a].text, m_nodes[b].text) < 0;
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
        const Node& node = m_nodes[item];
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
