#include "NotebookFixture.h"

#include "doc/PrefsDialogs.h"

TEST(Prefs, DialogsOpenWithTheNotebookValuesAndOkWritesThemBack)
{
    auto nb = Notebook::New();
    nb->prompts.ExpectNewNotePrefs([](CNewNotePrefsDlg& dlg) {
        EXPECT_EQ(dlg.m_bIncludeDate, 1);
        EXPECT_EQ(dlg.m_bIncludeTime, 0);
        EXPECT_EQ(dlg.m_bIncludeText, 1);
        dlg.m_bIncludeDate = 0;
        dlg.m_bIncludeText = 0;
        return true;
    });
    nb->doc.OnNoteHeaderPrefs();
    EXPECT_TRUE(nb->doc.IsModified());

    // With every part off a header is the separators alone.
    nb->doc.AddFolder(false, "Bare", {}, true, {}, {});
    EXPECT_EQ(nb->edit.GetText(), "------------\r\n");

    nb->prompts.ExpectDeleteFolderPrefs([](CDeleteFolderPrefsDlg& dlg) {
        EXPECT_EQ(dlg.m_bPrompt, 1);
        dlg.m_bPrompt = 0;
        return true;
    });
    nb->doc.OnDeleteFolderPrefs();
    // No question any more.
    nb->doc.OnDeleteFolder();
    EXPECT_EQ(nb->tree.Dump(true), "Main*,Trash");
    EXPECT_PROMPTS_DONE(*nb);
}

TEST(Prefs, OkWithoutChangesMarksTheNotebookAndCancelKeepsEverything)
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
    EXPECT_EQ(nb->doc.m_bTime, 0);
    EXPECT_EQ(nb->doc.m_bPromptDelete, 1);
    EXPECT_FALSE(nb->doc.IsModified());

    nb->prompts.ExpectDeleteFolderPrefs([](CDeleteFolderPrefsDlg&) { return true; });
    nb->doc.OnDeleteFolderPrefs();
    EXPECT_TRUE(nb->doc.IsModified());
    nb->doc.SetModifiedFlag(false);
    nb->prompts.ExpectNewNotePrefs([](CNewNotePrefsDlg&) { return true; });
    nb->doc.OnNoteHeaderPrefs();
    EXPECT_TRUE(nb->doc.IsModified());
    EXPECT_EQ(nb->doc.m_bDate, 1);
    EXPECT_EQ(nb->doc.m_bText, 1);
    EXPECT_EQ(nb->doc.m_bPromptDelete, 1);
    EXPECT_PROMPTS_DONE(*nb);
}
