#include "tree/CQuillboxTreeView.h"

#include "doc/CQuillboxDoc.h"
#include "notes/CQuillboxEditView.h"
#include "platform/CommandIds.h"
#include "platform/EditControl.h"
#include "platform/Prompts.h"

CQuillboxTreeView::CQuillboxTreeView(CQuillboxDoc* pDoc, TreeControl& tree)
    : m_pDoc(pDoc)
    , m_tree(tree)
{
    m_tree.SetSelectionHandler([this](TreeItem hNewItem) { OnSelChanging(hNewItem); });
}

void CQuillboxTreeView::InsertFolderItem(Folder* pFolder, const std::string& name, bool bSorted, TreeItem hParent)
{
    const TreeItem hItem = m_tree.InsertItem(name, hParent, bSorted);
    if (hParent != kNoItem)
        m_tree.Expand(hParent);
    pFolder->SetItem(hItem);
    m_pDoc->m_itemFolders[hItem] = pFolder;
    m_tree.SelectItem(hItem);
}

void CQuillboxTreeView::OnSelChanging(TreeItem hNewItem)
{
    EditControl& edit = m_pDoc->m_pEditView->GetEditCtrl();
    // The folder left takes the editor's text back, unless the editor is empty.
    const std::string text = edit.GetText();
    if (m_pDoc->m_pSelFolder && !text.empty())
        m_pDoc->m_pSelFolder->SetText(text);
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
    EditControl& edit = m_pDoc->m_pEditView->GetEditCtrl();
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
            m_pDoc->m_pEditView->InsertNoteHeader();
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
