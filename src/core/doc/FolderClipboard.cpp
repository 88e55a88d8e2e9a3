#include "doc/CQuillboxDoc.h"

#include <utility>
#include <vector>

#include "model/NotebookNames.h"
#include "doc/DocViews.h"
#include "platform/EditControl.h"

void CQuillboxDoc::OnCutFolder()
{
    Folder* pCut = m_pSelFolder;
    if (!pCut || IsSpecialName(pCut->m_name))
        return;
    m_tree.Unlink(pCut);
    pCut->m_pParent = nullptr;
    DeleteClipFolders();
    m_pClipFolder = pCut;
    m_tree.Release(pCut);
    // The selection change stores the editor's text into the cut folder, still selected here,
    // so its notes go to the clipboard with it.
    m_pTreeView->GetTreeCtrl().DeleteItem(pCut->m_hItem);
    WalkFolders(pCut, [](Folder* p) { p->m_hItem = kNoItem; }, false);
}

void CQuillboxDoc::OnCopyFolder()
{
    Folder* pSource = m_pSelFolder;
    if (!pSource || IsSpecialName(pSource->m_name))
        return;
    DeleteClipFolders();
    m_pClipFolder = new Folder;
    // The copy takes the folder and its descendants, not the siblings that follow it; should
    // memory run out part way, the siblings stay linked.
    {
        const SiblingCut cut(pSource);
        CopyFolderTree(pSource, m_pClipFolder);
    }
    // The selected folder's notes live in the editor. They go to the clipboard without being
    // stored into the folder, which would bring them back after the user erased them.
    m_pClipFolder->m_text = GetFolderText(pSource);
}

void CQuillboxDoc::OnPasteFolder()
{
    if (!m_pSelFolder || !TakesNewFolders(m_pSelFolder->m_name) || !m_pClipFolder)
        return;
    PasteFolderTree(m_pClipFolder);
}

void CQuillboxDoc::CopyFolderTree(Folder* pSource, Folder* pDest)
{
    // Each pair: a source folder and the empty folder, already linked, that receives it.
    std::vector<std::pair<const Folder*, Folder*>> pending { { pSource, pDest } };
    while (!pending.empty()) {
        const auto [pFrom, pTo] = pending.back();
        pending.pop_back();
        pTo->m_name = pFrom->m_name;
        pTo->m_text = pFrom->m_text;
        if (pFrom->m_pNext) {
            auto* pNext = new Folder;
            pNext->m_pParent = pTo->m_pParent;
            pNext->m_pPrev = pTo;
            pTo->m_pNext = pNext;
            pending.push_back({ pFrom->m_pNext, pNext });
        }
        if (pFrom->m_pFirstChild) {
            auto* pChild = new Folder;
            pChild->m_pParent = pTo;
            pTo->m_pFirstChild = pChild;
            pending.push_back({ pFrom->m_pFirstChild, pChild });
        }
    }
}

void CQuillboxDoc::PasteFolderTree(Folder* pFolder)
{
    if (!pFolder || !m_pSelFolder)
        return;
    // One level per entry: the next clipboard folder of that level's sibling chain, the
    // notebook folder it goes under and the copy it follows there. The copies are linked as
    // adding each under its parent links them, then shown at once.
    struct Level
    {
        const Folder* pSource;
        Folder* pParent;
        Folder* pPrev;
    };
    const size_t firstNew = m_tree.GetFolders().size();
    std::vector<Level> levels { { pFolder, m_pSelFolder, m_tree.LastChild(m_pSelFolder) } };
    while (!levels.empty()) {
        Level& level = levels.back();
        const Folder* pSource = level.pSource;
        if (!pSource) {
            levels.pop_back();
            continue;
        }
        level.pSource = pSource->m_pNext;
        Folder* pCopy = m_tree.Link(level.pParent, level.pPrev, pSource->m_name, pSource->m_text, {}, {});
        level.pPrev = pCopy;
        if (pSource->m_pFirstChild)
            levels.push_back({ pSource->m_pFirstChild, pCopy, nullptr });
    }
    ShowNewFolders(firstNew);
    // The last folder added ends up selected, as adding each in turn leaves it.
    m_pTreeView->GetTreeCtrl().SelectItem(m_tree.GetFolders().back()->m_hItem);
    m_pTreeView->FocusEditor(true);
}
