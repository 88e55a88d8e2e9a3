#include "tree/CQuillboxTreeView.h"

#include <unordered_map>
#include <utility>

#include "doc/CQuillboxDoc.h"
#include "platform/CommandIds.h"
#include "platform/EditControl.h"
#include "dialogs/Prompts.h"

CQuillboxTreeView::CQuillboxTreeView(CQuillboxDoc* pDoc, TreeControl& tree)
    : m_pDoc(pDoc)
    , m_tree(tree)
{
    m_tree.SetSelectionHandler([this](TreeItem hNewItem) { OnSelChanging(hNewItem); });
}

TreeItem CQuillboxTreeView::InsertFolderItem(const std::string& name, bool bSorted, TreeItem hParent)
{
    const TreeItem hItem = m_tree.InsertItem(name, hParent, bSorted);
    if (hParent != kNoItem)
        m_tree.Expand(hParent);
    return hItem;
}

std::vector<TreeItem> CQuillboxTreeView::InsertFolderItems(const std::vector<Folder*>& folders)
{
    std::unordered_map<const Folder*, int> batchIndex;
    std::vector<TreeInsert> batch;
    batch.reserve(folders.size());
    for (const Folder* pFolder : folders) {
        TreeInsert insert { pFolder->m_name };
        if (const Folder* pParent = pFolder->m_pParent) {
            const auto it = batchIndex.find(pParent);
            if (it != batchIndex.end())
                insert.batchParent = it->second;
            else
                insert.parent = pParent->m_hItem;
        }
        // Only a folder with children is ever looked up as a parent.
        if (pFolder->m_pFirstChild)
            batchIndex.emplace(pFolder, static_cast<int>(batch.size()));
        batch.push_back(insert);
    }
    const std::vector<TreeItem> items = m_tree.InsertSorted(batch);
    // Inserting a folder expands its parent: a new parent once, however many children it got.
    std::vector<char> expanded(batch.size(), 0);
    for (size_t i = 0; i < batch.size(); ++i) {
        const int parent = batch[i].batchParent;
        if (parent < 0) {
            if (batch[i].parent != kNoItem)
                m_tree.Expand(batch[i].parent);
        } else if (!std::exchange(expanded[static_cast<size_t>(parent)], 1)) {
            m_tree.Expand(items[static_cast<size_t>(parent)]);
        }
    }
    return items;
}

void CQuillboxTreeView::OnSelChanging(TreeItem hNewItem)
{
    EditControl& edit = m_pDoc->GetEditView()->GetEditCtrl();
    // The folder left takes the editor's text back, unless the editor is empty.
    const std::string text = edit.GetText();
    if (m_pDoc->GetSelFolder() && !text.empty())
        m_pDoc->GetSelFolder()->m_text = text;
    Folder* pFolder = m_pDoc->SelectFolderByItem(hNewItem);
    if (pFolder && !pFolder->m_text.empty()) {
        edit.SetText(pFolder->m_text);
        pFolder->m_text.clear();
    } else {
        edit.SetText({});
    }
}

void CQuillboxTreeView::FocusEditor(bool bCaretToEnd)
{
    EditControl& edit = m_pDoc->GetEditView()->GetEditCtrl();
    if (m_tree.HasFocus())
        edit.SetFocus();
    if (bCaretToEnd) {
        const int last = edit.GetLineCount() - 1;
        const long end = edit.LineIndex(last) + edit.LineLength(edit.LineIndex(last));
        edit.SetSel(end, end);
    }
}

bool CQuillboxTreeView::OnKeyDown(Key key)
{
    switch (key) {
    case Key::Delete:
        m_pDoc->DeleteSelectedFolder();
        m_pDoc->SetModifiedFlag();
        return true;
    case Key::Return:
        // Return belongs to the editor; the tree never sees it.
        FocusEditor(true);
        if (m_bShiftDown) {
            m_bShiftDown = false;
            m_pDoc->GetEditView()->InsertNoteHeader();
        }
        return false;
    case Key::Shift:
        m_bShiftDown = true;
        return true;
    default:
        return true;
    }
}

void CQuillboxTreeView::OnKeyUp(Key key)
{
    if (key == Key::Shift)
        m_bShiftDown = false;
}

void CQuillboxTreeView::OnLButtonDown(TreeItem hHitItem, bool bShift)
{
    if (hHitItem != kNoItem && !bShift)
        FocusEditor(true);
}

void CQuillboxTreeView::OnRButtonDown(int x, int y)
{
    // The menu acts on the selected folder; a right click does not move the selection.
    const int id = m_pDoc->GetServices().pPrompts->TrackPopupMenu(cmd::FolderContextMenu, x, y);
    if (id != 0)
        m_pDoc->RunCommand(id);
}
