#include "doc/CQuillboxDoc.h"

#include "dialogs/CInputDlg.h"
#include "model/NotebookNames.h"
#include "doc/DocViews.h"
#include "platform/EditControl.h"
#include "platform/Translatable.h"
#include "dialogs/Prompts.h"

namespace {

// Runs the name prompt until it ends with a name or is cancelled. An empty name is refused
// and the prompt opens again with what the user left in it. A name is one line: one that
// holds line breaks (a paste, say) opens again with spaces in their place, for the user to
// see before it is taken.
bool AskFolderName(Prompts& prompts, const TextEncoding& encoding, CInputDlg& dlg)
{
    while (prompts.RunInputDlg(dlg)) {
        const bool bBroken = encoding.MakeOneLine(dlg.m_strText);
        if (dlg.m_strText.empty())
            prompts.Tell({ Message::Kind::EnterFolderName });
        else if (bBroken)
            prompts.Tell({ Message::Kind::FolderNameIsOneLine });
        else
            return true;
    }
    return false;
}

} // namespace

Folder* CQuillboxDoc::NewFolder(Folder* pParent, const std::string& name)
{
    if (!pParent || !TakesNewFolders(pParent->m_name))
        return nullptr;
    if (pParent != m_pSelFolder)
        m_pTreeView->GetTreeCtrl().SelectItem(pParent->m_hItem);
    AddFolder(false, name, {}, true, {}, {});
    return m_pSelFolder;
}

void CQuillboxDoc::OnNewFolder()
{
    CInputDlg dlg;
    if (!m_pSelFolder || !TakesNewFolders(m_pSelFolder->m_name))
        return;
    dlg.m_strLabel = QB_TRANSLATE_NOOP("Dialog", "Folder Name");
    dlg.m_strText = "New Folder";
    if (!AskFolderName(*m_services.pPrompts, m_encoding, dlg))
        return;
    NewFolder(m_pSelFolder, dlg.m_strText);
}

void CQuillboxDoc::OnRenameFolder()
{
    CInputDlg dlg;
    TreeControl& tree = m_pTreeView->GetTreeCtrl();
    const TreeItem hItem = tree.GetSelectedItem();
    if (hItem == kNoItem || !m_pSelFolder || IsSpecialName(tree.GetItemText(hItem)))
        return;
    dlg.m_strText = m_pSelFolder->m_name;
    dlg.m_strLabel = QB_TRANSLATE_NOOP("Dialog", "Folder Name");
    if (!AskFolderName(*m_services.pPrompts, m_encoding, dlg))
        return;
    tree.SetItemText(hItem, dlg.m_strText);
    tree.SortChildren(tree.GetParentItem(hItem));
    m_pSelFolder->m_name = dlg.m_strText;
    m_pTreeView->FocusEditor(true);
    UpdateKeySummary();
    SetModifiedFlag();
}

void CQuillboxDoc::OnDeleteFolder()
{
    DeleteSelectedFolder();
}

void CQuillboxDoc::DeleteSelectedFolder()
{
    TreeControl& tree = m_pTreeView->GetTreeCtrl();
    const TreeItem hItem = tree.GetSelectedItem();
    Folder* pFolder = m_pSelFolder;
    if (hItem == kNoItem || !pFolder)
        return;
    const std::string itemText = tree.GetItemText(hItem);
    if (IsSpecialName(itemText))
        return;
    if (m_bPromptDelete
        && !m_services.pPrompts->Ask({ Question::Kind::DeleteFolder, itemText }))
        return;

    m_tree.Unlink(pFolder);
    // Moves the selection to a neighbour first; the selection change stores the editor's text
    // into the folder that is about to go.
    tree.DeleteItem(hItem);
    DeleteFolderTree(pFolder);
    if (m_pEditView->GetEditCtrl().HasFocus())
        m_pTreeView->FocusEditor(true);
    UpdateKeySummary();
    SetModifiedFlag();
}

void CQuillboxDoc::OnEmptyTrash()
{
    if (m_pSelFolder && m_pSelFolder->m_name == kTrashName) {
        EditControl& edit = m_pEditView->GetEditCtrl();
        edit.SetSel(0, -1);
        edit.Clear();
        return;
    }
    Folder* pTrash = FindFolderByName(kTrashName);
    if (!pTrash || pTrash->m_text.empty())
        return;
    pTrash->m_text.clear();
    // Clearing the editor marks the notebook through the edit; an unseen Trash must say so
    // itself, or closing would keep the notes the user just threw away.
    SetModifiedFlag();
}
