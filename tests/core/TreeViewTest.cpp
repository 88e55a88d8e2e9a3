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
    EXPECT_EQ(start, end);
    return end;
}

} // namespace

TEST(TreeView, ReturnGivesTheEditorTheFocusAndShiftReturnStartsANote)
{
    auto nb = TwoFolders();
    EXPECT_FALSE(nb->treeView.OnKeyDown(Key::Return));
    EXPECT_TRUE(nb->edit.HasFocus());
    EXPECT_EQ(nb->edit.GetText(), "alpha\r\n");
    EXPECT_EQ(Caret(*nb), 7);

    nb->tree.SetFocus();
    EXPECT_TRUE(nb->treeView.OnKeyDown(Key::Shift));
    EXPECT_FALSE(nb->treeView.OnKeyDown(Key::Return));
    EXPECT_FALSE(nb->treeView.m_bShiftDown);
    EXPECT_EQ(nb->edit.GetText(), "alpha\r\n" + kHeader);
    EXPECT_EQ(Caret(*nb), static_cast<long>(nb->edit.GetText().size()));
    EXPECT_TRUE(nb->doc.IsModified());

    // Shift released before Return: no new note.
    nb->tree.SetFocus();
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

TEST(TreeView, AClickOnAnItemHandsTheFocusToTheEditorUnlessShiftIsHeld)
{
    auto nb = TwoFolders();
    const TreeItem hBeta = nb->doc.FindFolderByName("Beta")->GetItem();
    nb->tree.SelectItem(hBeta);
    nb->treeView.OnLButtonDown(hBeta, true);
    EXPECT_TRUE(nb->tree.HasFocus());
    nb->treeView.OnLButtonDown(kNoItem, false);
    EXPECT_TRUE(nb->tree.HasFocus());
    nb->treeView.OnLButtonDown(hBeta, false);
    EXPECT_TRUE(nb->edit.HasFocus());
    EXPECT_EQ(Caret(*nb), 6);
    EXPECT_EQ(nb->TextOf("Alpha"), "alpha\r\n");
    EXPECT_PROMPTS_DONE(*nb);
}

TEST(TreeView, TheContextMenuActsOnTheSelectedFolder)
{
    auto nb = TwoFolders();
    nb->doc.m_bPromptDelete = 0;
    // A right click over Beta while Alpha is selected.
    nb->prompts.ExpectPopupMenu(cmd::FolderContextMenu, cmd::DeleteFolder);
    nb->treeView.OnRButtonDown(40, 30);
    EXPECT_EQ(nb->tree.Dump(true), "Main[Beta*],Trash");

    nb->prompts.ExpectPopupMenu(cmd::FolderContextMenu, 0);
    nb->treeView.OnRButtonDown(40, 30);
    EXPECT_EQ(nb->tree.Dump(true), "Main[Beta*],Trash");
    EXPECT_PROMPTS_DONE(*nb);
}

TEST(TreeView, TheFirstSelectionStoresNothing)
{
    Notebook nb;
    nb.edit.SetText("stray");
    nb.doc.AddFolder(true, "Main", "kept\r\n", true, {}, {});
    EXPECT_EQ(nb.edit.GetText(), "kept\r\n");
    EXPECT_EQ(nb.doc.m_pSelFolder->m_text, "");
    EXPECT_PROMPTS_DONE(nb);
}

TEST(TreeView, AnErasedEditorLeavesTheFolderItsStoredText)
{
    auto nb = TwoFolders();
    nb->Select("Beta");
    EXPECT_EQ(nb->TextOf("Alpha"), "alpha\r\n");

    // A save stored Beta's text; the user then erased the editor.
    nb->doc.StoreEditorText();
    nb->edit.SetSel(0, -1);
    nb->edit.Clear();
    nb->Select("Alpha");
    EXPECT_EQ(nb->TextOf("Beta"), "beta\r\n");

    // Without a store since the selection, an erased folder stays empty.
    nb->edit.SetSel(0, -1);
    nb->edit.Clear();
    nb->Select("Beta");
    EXPECT_EQ(nb->TextOf("Alpha"), "");
    EXPECT_EQ(nb->edit.GetText(), "beta\r\n");
    EXPECT_PROMPTS_DONE(*nb);
}
