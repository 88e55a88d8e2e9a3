#include "NotebookFixture.h"

#include "platform/CommandIds.h"

namespace {

const std::string kHeader = "------ New Note 12/06/97 ------\r\n";

// Main[Alpha,Beta] with Alpha selected and the focus in the tree.
std::unique_ptr<Notebook> TwoFolders()
{
    auto nb = Notebook::New();
    nb->doc.AddFolder(false, "Beta", "beta\r\n", true, {}, {});
    nb->Select("Main");
    nb->doc.AddFolder(false, "Alpha", "alpha\r\n", true, {}, {});
    nb->doc.SetModifiedFlag(false);
    nb->tree.SetFocus();
    return nb;
}

long Caret(const Notebook& nb)
{
    long start = 0, end = 0;
    nb.edit.GetSel(start, end);
    return start == end ? end : -1;
}

} // namespace

TEST(TreeView, ReturnGivesTheEditorTheFocusAndShiftReturnStartsANote)
{
    auto nb = TwoFolders();
    EXPECT_FALSE(nb->treeView.OnKeyDown(Key::Return));
    EXPECT_TRUE(nb->edit.HasFocus());
    EXPECT_EQ(Caret(*nb), 7);
    EXPECT_FALSE(nb->doc.IsModified());

    nb->tree.SetFocus();
    EXPECT_TRUE(nb->treeView.OnKeyDown(Key::Shift));
    EXPECT_FALSE(nb->treeView.OnKeyDown(Key::Return));
    EXPECT_EQ(nb->edit.GetText(), "alpha\r\n" + kHeader);
    EXPECT_EQ(Caret(*nb), static_cast<long>(nb->edit.GetText().size()));

    // Shift+Return starts one note; Shift released before Return starts none.
    nb->treeView.OnKeyDown(Key::Return);
    nb->treeView.OnKeyDown(Key::Shift);
    nb->treeView.OnKeyUp(Key::Shift);
    nb->treeView.OnKeyDown(Key::Return);
    EXPECT_EQ(nb->edit.GetText(), "alpha\r\n" + kHeader);
    EXPECT_TRUE(nb->treeView.OnKeyDown(Key::Other));
    EXPECT_PROMPTS_DONE(*nb);
}

TEST(TreeView, DeleteKeyDeletesTheFolderAndAlwaysMarksTheNotebook)
{
    auto nb = TwoFolders();
    nb->prompts.ExpectYesNo("Are you sure you want to delete the folder Alpha and all of its children?", true);
    EXPECT_TRUE(nb->treeView.OnKeyDown(Key::Delete));
    EXPECT_EQ(nb->tree.Dump(true), "Main[Beta*],Trash");
    EXPECT_EQ(nb->edit.GetText(), "beta\r\n");

    nb->Select("Main");
    nb->doc.SetModifiedFlag(false);
    EXPECT_TRUE(nb->treeView.OnKeyDown(Key::Delete));
    EXPECT_EQ(nb->tree.Dump(true), "Main*[Beta],Trash");
    EXPECT_TRUE(nb->doc.IsModified());
    EXPECT_PROMPTS_DONE(*nb);
}

TEST(TreeView, ClicksAndTheContextMenu)
{
    auto nb = TwoFolders();
    // The control has selected the clicked item (Alpha) before the view hears of the click.
    const TreeItem hAlpha = nb->doc.FindFolderByName("Alpha")->m_hItem;
    nb->treeView.OnLButtonDown(hAlpha, true);
    nb->treeView.OnLButtonDown(kNoItem, false);
    EXPECT_TRUE(nb->tree.HasFocus());
    nb->treeView.OnLButtonDown(hAlpha, false);
    EXPECT_TRUE(nb->edit.HasFocus());
    EXPECT_EQ(Caret(*nb), 7);

    // A right click over Beta while Alpha is selected: the command acts on Alpha.
    nb->doc.SetDeleteFolderPrefs(0);
    nb->prompts.ExpectPopupMenu(cmd::FolderContextMenu, 0);
    nb->prompts.ExpectPopupMenu(cmd::FolderContextMenu, cmd::DeleteFolder);
    nb->treeView.OnRButtonDown(40, 30);
    EXPECT_EQ(nb->tree.Dump(true), "Main[Alpha*,Beta],Trash");
    nb->treeView.OnRButtonDown(40, 30);
    EXPECT_EQ(nb->tree.Dump(true), "Main[Beta*],Trash");
    EXPECT_PROMPTS_DONE(*nb);
}

TEST(TreeView, SelectionStoresTheEditorTextOnlyWhenThereIsSome)
{
    Notebook fresh;
    fresh.edit.SetText("stray");
    fresh.doc.AddFolder(true, "Main", "kept\r\n", true, {}, {});
    EXPECT_EQ(fresh.edit.GetText(), "kept\r\n");
    EXPECT_EQ(fresh.doc.GetSelFolder()->m_text, "");

    auto nb = TwoFolders();
    // Neither a save nor a folder copy keeps a second copy of Alpha's notes in Alpha: notes the
    // user erases afterwards stay erased when the selection moves on.
    ASSERT_TRUE(nb->doc.OnSaveDocument(::testing::TempDir() + "erased.not").ok);
    nb->doc.OnCopyFolder();
    EXPECT_EQ(nb->doc.GetClipFolder()->m_text, "alpha\r\n");
    nb->edit.SetSel(0, -1);
    nb->edit.Clear();
    nb->Select("Beta");
    EXPECT_EQ(nb->TextOf("Alpha"), "");
    EXPECT_EQ(nb->edit.GetText(), "beta\r\n");
}
