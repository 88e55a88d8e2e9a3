#include "dialogs/CChooseFolderDlg.h"

void CChooseFolderDlg::OnInitDialog()
{
    m_list.ResetContent();
    for (const auto& name : m_folderNames)
        m_list.AddString(name);
    m_list.SetCurSel(0);
}

void CChooseFolderDlg::OnMoveNote()
{
    Choose(1);
}

void CChooseFolderDlg::OnCopyNote()
{
    Choose(0);
}

void CChooseFolderDlg::OnDblClkList(int index)
{
    if (index >= 0 && index < m_list.GetCount())
        m_list.SetCurSel(index);
    Choose(1);
}

void CChooseFolderDlg::Choose(int bMove)
{
    const int index = m_list.GetCurSel();
    m_strFolder = index >= 0 ? m_list.GetText(index) : std::string();
    m_bMove = bMove;
}
