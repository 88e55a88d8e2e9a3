#include "doc/CQuillboxDoc.h"

#include <algorithm>
#include <deque>
#include <map>
#include <unordered_map>

#include "dialogs/CAssignKeysDlg.h"
#include "dialogs/CPrefsDlgs.h"
#include "model/FolderPath.h"
#include "model/NotebookNames.h"
#include "dialogs/Prompts.h"

void CQuillboxDoc::OnNoteHeaderPrefs()
{
    CNewNotePrefsDlg dlg;
    dlg.m_bIncludeTime = m_bTime;
    dlg.m_bIncludeDate = m_bDate;
    dlg.m_bIncludeText = m_bText;
    if (!m_services.pPrompts->RunNewNotePrefsDlg(dlg))
        return;
    SetNoteHeaderPrefs(dlg.m_bIncludeText, dlg.m_bIncludeDate, dlg.m_bIncludeTime);
    SetModifiedFlag();
}

void CQuillboxDoc::SetNoteHeaderPrefs(int bText, int bDate, int bTime)
{
    m_bText = bText;
    m_bDate = bDate;
    m_bTime = bTime;
}

void CQuillboxDoc::OnDeleteFolderPrefs()
{
    CDeleteFolderPrefsDlg dlg;
    dlg.m_bPrompt = m_bPromptDelete;
    if (!m_services.pPrompts->RunDeleteFolderPrefsDlg(dlg))
        return;
    SetDeleteFolderPrefs(dlg.m_bPrompt);
    SetModifiedFlag();
}

void CQuillboxDoc::OnAssignKeys()
{
    CAssignKeysDlg dlg;
    // Rows of folders that share a name show their paths.
    const std::vector<std::string> names = NamesApart(m_tree.GetFolders(), m_tree.GetFolders());
    for (size_t i = 0; i < m_tree.GetFolders().size(); ++i) {
        const Folder* pFolder = m_tree.GetFolders()[i];
        if (pFolder->m_name == kTrashName)
            continue;
        if (pFolder->HasKey())
            dlg.m_assignments.push_back({ names[i], pFolder->GetKey()->key, pFolder->GetKey()->function });
        else
            dlg.m_availFolders.push_back(names[i]);
    }
    for (const std::string& key : m_keyNames) {
        if (std::none_of(dlg.m_assignments.begin(), dlg.m_assignments.end(),
                         [&](const KeyAssignment& row) { return row.key == key; }))
            dlg.m_availKeys.push_back(key);
    }
    if (!m_services.pPrompts->RunAssignKeysDlg(dlg))
        return;

    // Folders the dialog names alike (siblings of one name) are told apart by their rows: each
    // row goes to one folder, and a folder whose key is still in a row of its name keeps that row. So closing the dialog
    // unchanged changes nothing, and the rows match the folders the dialog listed.
    std::map<std::pair<std::string, std::string>, std::deque<size_t>> rowsByNameAndKey;
    std::unordered_map<std::string, std::deque<size_t>> rowsByName;
    for (size_t i = 0; i < dlg.m_assignments.size(); ++i) {
        const KeyAssignment& row = dlg.m_assignments[i];
        rowsByNameAndKey[{ row.folderName, row.key }].push_back(i);
        rowsByName[row.folderName].push_back(i);
    }
    std::vector<bool> used(dlg.m_assignments.size(), false);
    auto claim = [&](std::deque<size_t>& candidates) -> const KeyAssignment* {
        while (!candidates.empty()) {
            const size_t i = candidates.front();
            candidates.pop_front();
            if (!used[i]) {
                used[i] = true;
                return &dlg.m_assignments[i];
            }
        }
        return nullptr;
    };
    std::vector<const KeyAssignment*> rows(m_tree.GetFolders().size(), nullptr);
    for (size_t i = 0; i < m_tree.GetFolders().size(); ++i) {
        const Folder* pFolder = m_tree.GetFolders()[i];
        if (pFolder->m_name == kTrashName || !pFolder->HasKey())
            continue;
        if (auto it = rowsByNameAndKey.find({ names[i], pFolder->GetKey()->key }); it != rowsByNameAndKey.end())
            rows[i] = claim(it->second);
    }
    for (size_t i = 0; i < m_tree.GetFolders().size(); ++i) {
        Folder* pFolder = m_tree.GetFolders()[i];
        if (pFolder->m_name == kTrashName)
            continue;
        if (auto it = rowsByName.find(names[i]); !rows[i] && it != rowsByName.end())
            rows[i] = claim(it->second);
        if (rows[i])
            pFolder->SetKey(rows[i]->key, rows[i]->function);
        else
            pFolder->ClearKey();
    }
    UpdateKeySummary();
    SetModifiedFlag();
}
