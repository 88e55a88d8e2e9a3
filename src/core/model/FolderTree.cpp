#include "model/FolderTree.h"

#include <algorithm>
#include <unordered_set>

namespace {

// Removes the given folders from a list in one pass, keeping the order of the rest.
void RemoveFolders(std::vector<Folder*>& folders, const std::vector<Folder*>& doomed)
{
    std::unordered_set<Folder*> doomedSet(doomed.size());
    doomedSet.insert(doomed.begin(), doomed.end());
    folders.erase(std::remove_if(folders.begin(), folders.end(), [&](Folder* p) { return doomedSet.count(p) != 0; }),
                  folders.end());
}

} // namespace

FolderTree::~FolderTree()
{
    // The whole tree goes: no list or lookup needs to stay true meanwhile.
    Free(m_pRootFolder);
}

Folder* FolderTree::FindByName(const std::string& name) const
{
    const auto it = std::find_if(m_folders.begin(), m_folders.end(), [&](const Folder* p) { return p->m_name == name; });
    return it == m_folders.end() ? nullptr : *it;
}

Folder* FolderTree::Link(Folder* pParent, Folder* pPrev, std::string name, SharedText text, const std::string& key,
                         const std::string& keyFunction)
{
    auto* pFolder = new Folder;
    m_folders.push_back(pFolder);
    Folder*& pNext = pPrev ? pPrev->m_pNext : pParent ? pParent->m_pFirstChild : m_pRootFolder;
    pFolder->m_pNext = pNext;
    pFolder->m_pPrev = pPrev;
    if (pNext)
        pNext->m_pPrev = pFolder;
    pFolder->m_pParent = pParent;
    pNext = pFolder;
    m_pLastLinked = pFolder;
    pFolder->m_name = std::move(name);
    pFolder->m_text = std::move(text);
    if (!key.empty())
        pFolder->SetKey(key, keyFunction);
    return pFolder;
}

Folder* FolderTree::LastChild(const Folder* pParent) const
{
    if (m_pLastLinked && m_pLastLinked->m_pParent == pParent && !m_pLastLinked->m_pNext)
        return m_pLastLinked;
    Folder* pLast = pParent ? pParent->m_pFirstChild : m_pRootFolder;
    while (pLast && pLast->m_pNext)
        pLast = pLast->m_pNext;
    return pLast;
}

void FolderTree::Unlink(Folder* pFolder)
{
    m_pLastLinked = nullptr;
    if (pFolder->m_pPrev)
        pFolder->m_pPrev->m_pNext = pFolder->m_pNext;
    else if (pFolder->m_pParent)
        pFolder->m_pParent->m_pFirstChild = pFolder->m_pNext;
    else if (m_pRootFolder == pFolder)
        m_pRootFolder = pFolder->m_pNext;
    if (pFolder->m_pNext)
        pFolder->m_pNext->m_pPrev = pFolder->m_pPrev;
    pFolder->m_pNext = nullptr;
    pFolder->m_pPrev = nullptr;
}

void FolderTree::Release(Folder* pFolder)
{
    m_pLastLinked = nullptr;
    std::vector<Folder*> released;
    WalkFolders(pFolder, [&](Folder* p) {
        released.push_back(p);
        m_itemFolders.erase(p->m_hItem);
    }, false);
    RemoveFolders(m_folders, released);
}

void FolderTree::DeleteWithFollowingSiblings(Folder* pFolder)
{
    if (!pFolder)
        return;
    m_pLastLinked = nullptr;
    std::vector<Folder*> doomed;
    WalkFolders(pFolder, [&](Folder* p) { doomed.push_back(p); });
    RemoveFolders(m_folders, doomed);
    for (Folder* p : doomed) {
        const auto it = m_itemFolders.find(p->m_hItem);
        if (it != m_itemFolders.end() && it->second == p)
            m_itemFolders.erase(it);
        delete p;
    }
}

void FolderTree::Free(Folder* pFirst)
{
    std::vector<Folder*> doomed;
    if (pFirst)
        WalkFolders(pFirst, [&](Folder* p) { doomed.push_back(p); });
    for (Folder* p : doomed)
        delete p;
}

void FolderTree::SetItem(Folder* pFolder, TreeItem hItem)
{
    pFolder->m_hItem = hItem;
    m_itemFolders[hItem] = pFolder;
}

Folder* FolderTree::GetFolderOfItem(TreeItem hItem) const
{
    // Every folder linked into the tree has its own item, so the map gives what a walk from
    // the root would find.
    const auto it = m_itemFolders.find(hItem);
    return it == m_itemFolders.end() ? nullptr : it->second;
}
