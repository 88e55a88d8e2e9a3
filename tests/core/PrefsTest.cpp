#include "NotebookFixture.h"

#include "dialogs/CPrefsDlgs.h"

TEST(Prefs, OkWritesTheBoxesBackAndMarksTheNotebookEvenUnchanged)
{
    auto nb = Notebook::New();
    nb->prompts.ExpectNewNotePrefs([](CNewNotePrefsDlg& dlg) {
        EXPECT_EQ(dlg.m_bIncludeDate + 2 * dlg.m_bIncludeTime + 4 * dlg.m_bIncludeText, 5);
        dlg.m_bIncludeDate = dlg.m_bIncludeText = 0;
        return true;
    });
    nb->doc.OnNoteHeaderPrefs();
    EXPECT_TRUE(nb->doc.IsModified());
    // With every part off a header is the separators alone.
    nb->doc.AddFolder(false, "Bare", {}, true, {}, {});
    EXPECT_EQ(nb->edit.GetText(), "------------\r\n");

    nb->prompts.ExpectDeleteFolderPrefs([](CDeleteFolderPrefsDlg& dlg) {
        EXPECT_EQ(dlg.m_bPrompt, 1);
        return true;
    });
    nb->doc.SetModifiedFlag(false);
    nb->doc.OnDeleteFolderPrefs();
    EXPECT_TRUE(nb->doc.IsModified());
    EXPECT_EQ(nb->doc.GetPromptDelete(), 1);
    EXPECT_PROMPTS_DONE(*nb);
}

TEST(Prefs, CancelKeepsEverything)
{
    auto nb = Notebook::New();
    nb->prompts.ExpectNewNotePrefs([](CNewNotePrefsDlg& dlg) {
        dlg.m_bIncludeTime = 1;
        return false;
    });
    nb->prompts.ExpectDeleteFolderPrefs([](CDeleteFolderPrefsDlg& dlg) {
        dlg.m_bPrompt = 0;
        return false;
    });
    nb->doc.OnNoteHeaderPrefs();
    nb->doc.OnDeleteFolderPrefs();
    EXPECT_EQ(nb->doc.HeaderHasTime(), 0);
    EXPECT_EQ(nb->doc.GetPromptDelete(), 1);
    EXPECT_FALSE(nb->doc.IsModified());
    EXPECT_PROMPTS_DONE(*nb);
}
