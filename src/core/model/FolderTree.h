#pragma once

#include <string>
#include <unordered_map>
#include <vector>

#include "model/Folder.h"

// The folders of a notebook and every link between them: the tree (parent, first child, and
// sibling lists in the order of the notebook's file, so that a save writes the siblings in the
// order they were read), the flat list in order of creation (every lookup by name takes the first
// match in it), and the map from tree item to folder. It owns the folders linked
// into it and frees them; no other code links, unlinks or frees one of its folders.
class FolderTree
{
public:
    FolderTree() = default;
    ~FolderTree();
    FolderTree(const FolderTree&) = delete;
    FolderTree& operator=(const FolderTree&) = delete;

    // The first top-level folder; the others follow it through m_pNext.
    Folder* GetRoot() const { return m_pRootFolder; }
    const std::vector<Folder*>& GetFolders() const { return m_folders; }
    // The first folder of the list with this exact name, or null.
    Folder* FindByName(const std::string& name) const;

    // A new folder among the children of pParent (the top level when null), right after pPrev,
    // which is one of them, or first when pPrev is null; with no tree item yet.
    Folder* Link(Folder* pParent, Folder* pPrev, std::string name, SharedText text, const std::string& key,
                 const std::string& keyFunction);
    // The last child of pParent (the last top-level folder when null), or null when it has none.
    Folder* LastChild(const Folder* pParent) const;
    // Takes a folder out of its sibling list (or the top level); its children stay with it.
    void Unlink(Folder* pFolder);
    // Takes an unlinked folder's subtree out of the list and the item map, keeping the order of
    // the rest: the folders are the caller's from then on (the folder clipboard's).
    void Release(Folder* pFolder);
    // Frees a folder with its subtree, and the siblings that follow it with theirs: as the
    // records of a notebook file run, a folder's chain goes on to its next siblings.
    void DeleteWithFollowingSiblings(Folder* pFolder);
    // Frees folders no tree holds (a released subtree), with their following siblings.
    static void Free(Folder* pFirst);

    // Gives a folder its tree item, and the item its folder.
    void SetItem(Folder* pFolder, TreeItem hItem);
    // The folder a tree item shows, or null.
    Folder* GetFolderOfItem(TreeItem hItem) const;
    // Room for this many more items, before a notebook's folders are added at once.
    void ReserveItems(size_t count) { m_itemFolders.reserve(m_itemFolders.size() + count); }

private:
    Folder* m_pRootFolder = nullptr;
    // Every folder of the tree, the clipboard's not among them.
    std::vector<Folder*> m_folders;
    // The folder linked last, until a folder leaves the tree: a new folder most often follows it
    // (a generated notebook's thousands of siblings), and LastChild then need not walk to it.
    Folder* m_pLastLinked = nullptr;
    // Tree item to folder, for the folders linked into the tree; keeps selection changes from
    // walking the whole tree.
    std::unordered_map<TreeItem, Folder*> m_itemFolders;
};
