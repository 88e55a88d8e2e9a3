#include <algorithm>

#include "dialogs/CChooseFolderDlg.h"
#include "doc/CQuillboxDoc.h"
#include "model/NotebookNames.h"
#include "notes/CQuillboxEditView.h"
#include "platform/EditControl.h"
#include "dialogs/Prompts.h"

namespace {

// A notebook file need not hold a "Trash" folder. Makes one as a new notebook has it, then
// brings the folder that was on screen back with its text and selection as they were:
// adding a folder selects it and moves the caret.
void RestoreTrash(CQuillboxDoc& doc, EditControl& edit)
{
    long start = 0;
    long end = 0;
    edit.GetSel(start, end);
    const TreeItem hShown = doc.GetSelFolder()->m_hItem;
    doc.AddFolder(true, kTrashName, {}, true, kTrashKey, kMoveFunction);
    doc.GetTreeView()->GetTreeCtrl().SelectItem(hShown);
    edit.SetSel(start, end);
}

} // namespace

void CQuillboxEditView::OnNewNote()
{
    InsertNoteHeader();
}

void CQuillboxEditView::OnDeleteNote()
{
    Folder* pShown = m_pDoc->GetSelFolder();
    if (pShown && pShown->m_name == kTrashName) {
        DeleteNoteAtCursor();
        return;
    }
    long start = 0;
    long end = 0;
    if (pShown && !m_pDoc->FindFolderByName(kTrashName) && FindNoteAtCursor(start, end))
        RestoreTrash(*m_pDoc, m_edit);
    SendNoteToFolder(kTrashName);
}

bool CQuillboxEditView::AppendNote(Folder* pFolder, const std::string& body, bool bHeaderTyped)
{
    TreeView& treeView = *m_pDoc->GetTreeView();
    Folder* pSelected = m_pDoc->GetSelFolder();
    treeView.GetTreeCtrl().SelectItem(pFolder->m_hItem);
    treeView.FocusEditor(true);
    if (!bHeaderTyped)
        InsertNoteHeader();
    const long inserted = m_edit.ReplaceSel(body);
    // The editor refuses what goes beyond its limit: a header cut short lacks its last CR LF.
    const std::string after = m_edit.GetText();
    const bool bHeaderWhole = bHeaderTyped || after.substr(0, after.size() - std::min(after.size(), body.size())).ends_with("\r\n");
    if (pSelected)
        treeView.GetTreeCtrl().SelectItem(pSelected->m_hItem);
    return static_cast<size_t>(inserted) == body.size() && bHeaderWhole;
}

void CQuillboxEditView::OnMoveCopyNote()
{
    SendNoteToFolder("F2");
}

void CQuillboxEditView::SendNoteToFolder(const std::string& sendKey)
{
    std::string target;
    bool bMove = false;
    if (sendKey == "F2") {
        CChooseFolderDlg dlg;
        for (const Folder* pFolder : m_pDoc->GetFolders())
            dlg.m_folderNames.push_back(pFolder->m_name);
        if (m_pDoc->GetServices().pPrompts->RunChooseFolderDlg(dlg)) {
            target = dlg.m_strFolder;
            bMove = dlg.m_bMove != 0;
        }
    } else if (sendKey == kTrashName) {
        target = kTrashName;
        bMove = true;
    } else {
        for (const Folder* pFolder : m_pDoc->GetFolders()) {
            if (pFolder->HasKey() && pFolder->GetKey()->key == sendKey) {
                target = pFolder->m_name;
                bMove = pFolder->GetKey()->function == kMoveFunction;
                break;
            }
        }
    }
    if (target.empty())
        return;
    if (m_pDoc->GetSelFolder() && m_pDoc->GetSelFolder()->m_name == target)
        return;
    // Found before the note leaves the editor, so a name that matches no folder loses nothing.
    Folder* pTarget = m_pDoc->FindFolderByName(target);
    if (!pTarget)
        return;

    long selStart = 0;
    long selEnd = 0;
    m_edit.GetSel(selStart, selEnd);
    m_edit.SetSel(selStart, selStart);
    long start = 0;
    long end = 0;
    if (!FindNoteAtCursor(start, end))
        return;
    m_edit.SetSel(start, end);
    std::string note = m_edit.GetSelText();
    const size_t last = note.find_last_not_of("\r\n");
    if (last != std::string::npos) {
        note.resize(last + 1);
        note += "\r\n";
    }
    // The target's new text is made before the note leaves the editor: running out of memory
    // then loses nothing.
    std::string text(pTarget->m_text.View());
    if (!text.empty() && text.back() != '\n')
        text += "\r\n";
    SharedText sent(text + note);
    if (bMove)
        m_edit.Clear();
    else
        m_edit.SetSel(selStart, selEnd);
    pTarget->m_text = std::move(sent);
    // A copy changes only the target, and closing must not lose it.
    m_pDoc->SetModifiedFlag();
}

void CQuillboxEditView::DeleteNoteAtCursor()
{
    long start = 0;
    long end = 0;
    if (!FindNoteAtCursor(start, end))
        return;
    m_edit.SetSel(start, end);
    m_edit.Clear();
}
