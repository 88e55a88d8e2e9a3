#include <gtest/gtest.h>

#include "dialogs/CChooseFolderDlg.h"

namespace {

CChooseFolderDlg Opened(std::vector<std::string> names)
{
    CChooseFolderDlg dlg;
    dlg.m_folderNames = std::move(names);
    dlg.OnInitDialog();
    return dlg;
}

std::string Lines(const CChooseFolderDlg& dlg)
{
    std::string out;
    for (int i = 0; i < dlg.m_list.GetCount(); ++i)
        out += (i ? "," : "") + dlg.m_list.GetText(i) + (i == dlg.m_list.GetCurSel() ? "*" : "");
    return out;
}

} // namespace

TEST(ChooseFolderDlg, ListsTheNamesWithoutRegardToCaseAndSelectsTheFirst)
{
    CChooseFolderDlg dlg = Opened({ "Zeta", "alpha", "Main" });
    EXPECT_EQ(Lines(dlg), "alpha*,Main,Zeta");
    EXPECT_EQ(dlg.m_folderNames, (std::vector<std::string> { "Zeta", "alpha", "Main" }));
    EXPECT_EQ(dlg.m_strFolder, "");
}

TEST(ChooseFolderDlg, EnterMovesToTheFirstLineAndCopyNoteCopies)
{
    CChooseFolderDlg dlg = Opened({ "Zeta", "alpha", "Main" });
    dlg.OnMoveNote();
    EXPECT_EQ(dlg.m_strFolder + " " + std::to_string(dlg.m_bMove), "alpha 1");
    dlg.m_list.SetCurSel(2);
    dlg.OnCopyNote();
    EXPECT_EQ(dlg.m_strFolder + " " + std::to_string(dlg.m_bMove), "Zeta 0");
}

TEST(ChooseFolderDlg, DoubleClickMovesToTheClickedLine)
{
    CChooseFolderDlg dlg = Opened({ "Zeta", "alpha", "Main" });
    dlg.OnDblClkList(1);
    EXPECT_EQ(Lines(dlg), "alpha,Main*,Zeta");
    EXPECT_EQ(dlg.m_strFolder, "Main");
    EXPECT_EQ(dlg.m_bMove, 1);

    // Beside the lines: the selected line stands.
    CChooseFolderDlg beside = Opened({ "Zeta", "alpha" });
    beside.OnDblClkList(-1);
    EXPECT_EQ(beside.m_strFolder, "alpha");
}

TEST(ChooseFolderDlg, DuplicateNamesShowAsTwoLinesGivingOneName)
{
    CChooseFolderDlg dlg = Opened({ "Trash", "Main", "Ideas", "Ideas" });
    EXPECT_EQ(Lines(dlg), "Ideas*,Ideas,Main,Trash");
    dlg.OnDblClkList(1);
    EXPECT_EQ(dlg.m_strFolder, "Ideas");
    dlg.OnDblClkList(0);
    EXPECT_EQ(dlg.m_strFolder, "Ideas");
}
