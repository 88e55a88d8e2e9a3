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
    const size_t at = sorted ? SortedPosition(siblings.size(), text, [&](size_t i) -> std::string_view { return m_nodes[siblings[i]].text; })
                             : siblings.size();
    siblings.insert(siblings.begin() + static_cast<std::ptrdiff_t>(at), item);
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
    for (auto& [parent, children] : groups) {
        SortByName(children, [](const Named& named) { return named.first; });
        auto& siblings = ChildList(parent);
        std::vector<std::string_view> names;
        names.reserve(children.size());
        for (const Named& named : children)
            names.push_back(named.first);
        const std::vector<size_t> positions =
            SortedPositions(siblings.size(), names, [&](size_t i) -> std::string_view { return m_nodes[siblings[i]].text; });
        std::vector<TreeItem> merged;
        merged.reserve(siblings.size() + children.size());
        size_t taken = 0;
        for (size_t i = 0; i < children.size(); ++i) {
            merged.insert(merged.end(), siblings.begin() + static_cast<std::ptrdiff_t>(taken),
                          siblings.begin() + static_cast<std::ptrdiff_t>(positions[i]));
            taken = positions[i];
            merged.push_back(children[i].second);
        }
        merged.insert(merged.end(), siblings.begin() + static_cast<std::ptrdiff_t>(taken), siblings.end());
        siblings = std::move(merged);
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
    if (selectionInside) {
        const auto& siblings = ChildList(At(item).parent);
        const auto index = static_cast<size_t>(std::find(siblings.begin(), siblings.end(), item) - siblings.begin());
        const std::optional<size_t> neighbour = NeighbourOfDeleted(index, siblings.size());
        SelectItem(neighbour ? siblings[*neighbour] : At(item).parent);
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
