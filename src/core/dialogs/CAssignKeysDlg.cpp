#include "dialogs/CAssignKeysDlg.h"

#include <algorithm>

#include "model/NotebookNames.h"

namespace {

void EraseFirst(std::vector<std::string>& list, const std::string& value)
{
    if (const auto it = std::find(list.begin(), list.end(), value); it != list.end())
        list.erase(it);
}

} // namespace

void CAssignKeysDlg::OnInitDialog()
{
    m_keyList.ResetContent();
    m_folderList.ResetContent();
    m_assignList.ResetContent();
    m_rowSerials.clear();
    for (const auto& key : m_availKeys)
        m_keyList.AddString(key);
    for (const auto& name : m_availFolders)
        m_folderList.AddString(name);
    for (const auto& row : m_assignments) {
        m_rowSerials.push_back(m_nextSerial);
        m_assignList.AddString(AssignmentLine(row), m_nextSerial++);
    }
    m_nFunction = 0;
}

void CAssignKeysDlg::OnAssign()
{
    const int nFolder = m_folderList.GetCurSel();
    const int nKey = m_keyList.GetCurSel();
    if (nFolder < 0 || nKey < 0)
        return;
    KeyAssignment row { m_folderList.GetText(nFolder), m_keyList.GetText(nKey), m_nFunction ? kCopyFunction : kMoveFunction };
    EraseFirst(m_availKeys, row.key);
    EraseFirst(m_availFolders, row.folderName);
    m_rowSerials.push_back(m_nextSerial);
    m_assignList.AddString(AssignmentLine(row), m_nextSerial++);
    m_assignments.push_back(std::move(row));
    m_keyList.DeleteString(nKey);
    m_folderList.DeleteString(nFolder);
}

void CAssignKeysDlg::OnUnassign()
{
    const int nLine = m_assignList.GetCurSel();
    if (nLine < 0)
        return;
    const auto it = std::find(m_rowSerials.begin(), m_rowSerials.end(), m_assignList.GetItemData(nLine));
    if (it == m_rowSerials.end())
        return;
    const auto index = it - m_rowSerials.begin();
    const KeyAssignment row = m_assignments[index];
    m_assignments.erase(m_assignments.begin() + index);
    m_rowSerials.erase(it);
    m_availKeys.push_back(row.key);
    m_availFolders.push_back(row.folderName);
    m_assignList.DeleteString(nLine);
    m_folderList.AddString(row.folderName);
    m_keyList.AddString(row.key);
}

std::string CAssignKeysDlg::AssignmentLine(const KeyAssignment& row)
{
    return row.folderName + " (" + row.key + ") " + row.function;
}
