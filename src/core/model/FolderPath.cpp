#include "model/FolderPath.h"

#include <algorithm>
#include <unordered_map>

#include "model/Folder.h"
#include "model/FolderTree.h"
#include "platform/NameOrder.h"

std::string EscapeFolderName(std::string_view name)
{
    std::string out;
    out.reserve(name.size());
    for (char ch : name) {
        if (ch == '/' || ch == '\\')
            out += '\\';
        out += ch;
    }
    return out;
}

std::vector<std::string> SplitFolderPath(std::string_view path)
{
    std::vector<std::string> names(1);
    for (size_t i = 0; i < path.size(); ++i) {
        const char ch = path[i];
        if (ch == '\\' && i + 1 < path.size() && (path[i + 1] == '/' || path[i + 1] == '\\'))
            names.back() += path[++i];
        else if (ch == '/')
            names.emplace_back();
        else
            names.back() += ch;
    }
    return names;
}

std::string FolderPath(const Folder* pFolder, bool bEscaped)
{
    return JoinFolderPath<const Folder*>(
        pFolder, nullptr, [](const Folder* p) -> const std::string& { return p->m_name; },
        [](const Folder* p) { return p->m_pParent; }, bEscaped);
}

std::vector<std::string> NamesApart(const std::vector<Folder*>& all, const std::vector<Folder*>& shown)
{
    // Only the names shown are counted: the strip shows a few folders of a notebook of thousands.
    std::unordered_map<std::string_view, int> uses;
    for (const Folder* pFolder : shown)
        uses.emplace(pFolder->m_name, 0);
    for (const Folder* pFolder : all) {
        if (const auto it = uses.find(pFolder->m_name); it != uses.end())
            ++it->second;
    }
    std::vector<std::string> names;
    names.reserve(shown.size());
    for (const Folder* pFolder : shown)
        names.push_back(uses[pFolder->m_name] > 1 ? FolderPath(pFolder, false) : pFolder->m_name);
    return names;
}

std::vector<KeyedFolder> KeyedFolders(const std::vector<Folder*>& all)
{
    std::vector<Folder*> keyed;
    for (Folder* pFolder : all) {
        if (pFolder->HasKey())
            keyed.push_back(pFolder);
    }
    std::vector<std::string> names = NamesApart(all, keyed);
    std::vector<KeyedFolder> folders;
    folders.reserve(keyed.size());
    for (size_t i = 0; i < keyed.size(); ++i)
        folders.push_back({ std::move(names[i]), keyed[i]->GetKey()->key });
    return folders;
}

Folder* FindChildFolder(const FolderTree& tree, const Folder* pParent, std::string_view name)
{
    const auto found = std::find_if(tree.GetFolders().begin(), tree.GetFolders().end(),
                                    [&](const Folder* p) { return p->m_pParent == pParent && p->m_name == name; });
    return found == tree.GetFolders().end() ? nullptr : *found;
}

Folder* FindFolderByPath(const FolderTree& tree, std::string_view path)
{
    Folder* pFolder = nullptr;
    for (const std::string& name : SplitFolderPath(path)) {
        pFolder = FindChildFolder(tree, pFolder, name);
        if (!pFolder)
            return nullptr;
    }
    return pFolder;
}

std::vector<const Folder*> FoldersInTreeOrder(const FolderTree& tree, const Folder* pStart)
{
    std::vector<const Folder*> order;
    std::vector<const Folder*> stack;
    // Siblings go on the stack last name first, so the first name comes off first.
    const auto pushSiblings = [&stack](const Folder* pFirst) {
        const size_t base = stack.size();
        for (const Folder* p = pFirst; p; p = p->m_pNext)
            stack.push_back(p);
        std::stable_sort(stack.begin() + static_cast<std::ptrdiff_t>(base), stack.end(),
                         [](const Folder* a, const Folder* b) { return CompareNoCase(a->m_name, b->m_name) > 0; });
    };
    if (pStart)
        stack.push_back(pStart);
    else
        pushSiblings(tree.GetRoot());
    while (!stack.empty()) {
        const Folder* pFolder = stack.back();
        stack.pop_back();
        order.push_back(pFolder);
        pushSiblings(pFolder->m_pFirstChild);
    }
    return order;
}
