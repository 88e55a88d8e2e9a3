#include "NotebookFixture.h"

#include "dialogs/CInputDlg.h"

namespace {

const std::string kHeader = "------ New Note 12/06/97 ------\r\n";

// Adds a child to `parent` as reading a notebook file does: sorted, with text and key.
void AddChild(Notebook& nb, const std::string& parent, const std::string& name, const std::string& text = "x\r\n",
              const std::string& key = {})
{
    nb.Select(parent);
    nb.doc.AddFolder(false, name, text, true, key, key.empty() ? "" : "Move");
}

// The Input dialog answered with `name` and OK.
std::function<bool(CInputDlg&)> Enter(const std::string& name)
{
    return [name](CInputDlg& dlg) {
        EXPECT_EQ(dlg.m_strLabel, "Folder Name");
        dlg.m_strText = name;
        return true;
    };
}

std::function<bool(CInputDlg&)> Cancel()
{
    return [](CInputDlg&) { return false; };
}

} // namespace

TEST(FolderCommands, NewFolderGoesUnderTheSelectedFolderInNameOrderAndFirstInItsChain)
{
    auto nb = Notebook::New();
    AddChild(*nb, "Main", "Alpha");
    AddChild(*nb, "Main", "Omega");
    nb->Select("Main");
    nb->prompts.ExpectInput([](CInputDlg& dlg) {
        EXPECT_EQ(dlg.m_strLabel, "Folder Name");
        EXPECT_EQ(dlg.m_strText, "New Folder");
        dlg.m_strText = "Zeta";
        return true;
    });
    nb->doc.OnNewFolder();

    EXPECT_EQ(nb->tree.Dump(true), "Main[Alpha,Omega,Zeta*],Trash");
    EXPECT_EQ(nb->FolderList(), "Trash,Main,Alpha,Omega,Zeta");
    const Folder* pMain = nb->doc.FindFolderByName("Main");
    EXPECT_EQ(pMain->m_pFirstChild->m_name, "Zeta");
    EXPECT_EQ(pMain->m_pFirstChild->m_pNext->m_name, "Omega");
    EXPECT_EQ(nb->edit.GetText(), kHeader);
    EXPECT_TRUE(nb->doc.IsModified());
    EXPECT_PROMPTS_DONE(*nb);
}

TEST(FolderCommands, NewFolderAcceptsDuplicatesBlanksAndSpecialNames)
{
    auto nb = Notebook::New();
    for (const std::string name : { "Dup", "Dup", "  ", "Trash" }) {
        nb->Select("Main");
        nb->prompts.ExpectInput(Enter(name));
        nb->doc.OnNewFolder();
    }
    EXPECT_EQ(nb->tree.Dump(), "Main[  ,Dup,Dup,Trash],Trash");
    EXPECT_EQ(nb->FolderList(), "Trash,Main,Dup,Dup,  ,Trash");
    // The new child named Trash gets no note header, as any folder of that name.
    EXPECT_EQ(nb->edit.GetText(), "");
    EXPECT_PROMPTS_DONE(*nb);
}

TEST(FolderCommands, EmptyNameIsRefusedAndThePromptReopensWithIt)
{
    auto nb = Notebook::New();
    nb->prompts.ExpectInput(Enter(""));
    nb->prompts.ExpectMessage("You must enter a folder name.");
    nb->prompts.ExpectInput([](CInputDlg& dlg) {
        EXPECT_EQ(dlg.m_strText, "");
        EXPECT_EQ(dlg.m_strLabel, "Folder Name");
        return false;
    });
    nb->doc.OnNewFolder();
    EXPECT_EQ(nb->tree.Dump(true), "Main*,Trash");
    EXPECT_FALSE(nb->doc.IsModified());

    nb->prompts.ExpectInput(Enter(""));
    nb->prompts.ExpectMessage("You must enter a folder name.");
    nb->prompts.ExpectInput(Enter("Beta"));
    nb->doc.OnNewFolder();
    EXPECT_EQ(nb->tree.Dump(true), "Main[Beta*],Trash");
    EXPECT_PROMPTS_DONE(*nb);
}

TEST(FolderCommands, NewFolderUnderTrashAndRenameOfSpecialFoldersAreSilentlyRefused)
{
    auto nb = Notebook::New();
    nb->Select("Trash");
    nb->doc.OnNewFolder();
    nb->doc.OnRenameFolder();
    nb->Select("Main");
    nb->doc.OnRenameFolder();
    EXPECT_EQ(nb->tree.Dump(true), "Main*,Trash");
    EXPECT_FALSE(nb->doc.IsModified());
    EXPECT_PROMPTS_DONE(*nb);
}

TEST(FolderCommands, RenameMovesTheItemAndKeepsNotesChildrenAndKey)
{
    auto nb = Notebook::New();
    AddChild(*nb, "Main", "Alpha", "alpha notes\r\n", "F4");
    AddChild(*nb, "Alpha", "Child");
    AddChild(*nb, "Main", "Beta");
    nb->Select("Alpha");
    nb->doc.SetModifiedFlag(false);
    nb->tree.SetFocus();

    nb->prompts.ExpectInput(Cancel());
    nb->doc.OnRenameFolder();
    EXPECT_FALSE(nb->doc.IsModified());

    nb->prompts.ExpectInput([](CInputDlg& dlg) {
        EXPECT_EQ(dlg.m_strText, "Alpha");
        dlg.m_strText = "Zulu";
        return true;
    });
    nb->doc.OnRenameFolder();
    EXPECT_EQ(nb->tree.Dump(true), "Main[Beta,Zulu*[Child]],Trash");
    EXPECT_EQ(nb->FolderList(), "Trash,Main,Zulu,Child,Beta");
    EXPECT_EQ(nb->keys.Text(), "Trash=F3, Zulu=F4");
    EXPECT_EQ(nb->TextOf("Zulu"), "alpha notes\r\n");
    EXPECT_TRUE(nb->edit.HasFocus());
    EXPECT_TRUE(nb->doc.IsModified());

    // A folder renamed to a special name is refused from then on.
    nb->prompts.ExpectInput(Enter("Main"));
    nb->doc.OnRenameFolder();
    nb->doc.OnRenameFolder();
    nb->doc.OnDeleteFolder();
    EXPECT_EQ(nb->tree.Dump(true), "Main[Beta,Main*[Child]],Trash");
    EXPECT_PROMPTS_DONE(*nb);
}

TEST(FolderCommands, DeleteTakesTheSubtreeAndFreesItsKeys)
{
    auto nb = Notebook::New();
    nb->doc.m_bPromptDelete = 0;
    AddChild(*nb, "Main", "Alpha");
    AddChild(*nb, "Main", "Mid", "mid notes\r\n");
    AddChild(*nb, "Mid", "Child");
    AddChild(*nb, "Child", "Grandchild", "x\r\n", "F5");
    AddChild(*nb, "Main", "Omega", "omega notes\r\n");
    EXPECT_EQ(nb->keys.Text(), "Trash=F3, Grandchild=F5");
    nb->Select("Mid");
    nb->doc.SetModifiedFlag(false);

    nb->doc.OnDeleteFolder();
    EXPECT_EQ(nb->tree.Dump(true), "Main[Alpha,Omega*],Trash");
    EXPECT_EQ(nb->FolderList(), "Trash,Main,Alpha,Omega");
    EXPECT_EQ(nb->keys.Text(), "Trash=F3");
    EXPECT_EQ(nb->edit.GetText(), "omega notes\r\n");
    EXPECT_TRUE(nb->doc.IsModified());
    const Folder* pOmega = nb->doc.FindFolderByName("Omega");
    const Folder* pAlpha = nb->doc.FindFolderByName("Alpha");
    EXPECT_EQ(pOmega->m_pNext, pAlpha);
    EXPECT_EQ(pAlpha->m_pPrev, pOmega);

    // The chain's first folder: the parent now leads to the next one.
    nb->doc.OnDeleteFolder();
    EXPECT_EQ(nb->doc.FindFolderByName("Main")->m_pFirstChild, pAlpha);
    EXPECT_EQ(pAlpha->m_pPrev, nullptr);
    EXPECT_EQ(nb->tree.Dump(true), "Main[Alpha*],Trash");
    EXPECT_PROMPTS_DONE(*nb);
}

TEST(FolderCommands, DeleteAsksWhenThePreferenceIsSet)
{
    auto nb = Notebook::New();
    AddChild(*nb, "Main", "100%s done");
    nb->doc.SetModifiedFlag(false);

    nb->prompts.ExpectYesNo("Are you sure you want to delete the folder 100%s done and all of its children?", false);
    nb->doc.OnDeleteFolder();
    EXPECT_EQ(nb->tree.Dump(true), "Main[100%s done*],Trash");
    EXPECT_FALSE(nb->doc.IsModified());

    nb->prompts.ExpectYesNo("Are you sure you want to delete the folder 100%s done and all of its children?", true);
    nb->doc.OnDeleteFolder();
    EXPECT_EQ(nb->tree.Dump(true), "Main*,Trash");

    // Main and Trash are refused before any question.
    nb->doc.OnDeleteFolder();
    nb->Select("Trash");
    nb->doc.OnDeleteFolder();
    EXPECT_EQ(nb->tree.Dump(true), "Main,Trash*");
    EXPECT_PROMPTS_DONE(*nb);
}

TEST(FolderCommands, EmptyTrashClearsOnlyTheTrashText)
{
    auto nb = Notebook::New();
    AddChild(*nb, "Trash", "Old", "old notes\r\n");
    nb->Select("Main");
    nb->doc.FindFolderByName("Trash")->SetText("thrown away\r\n");
    nb->doc.SetModifiedFlag(false);

    nb->doc.OnEmptyTrash();
    EXPECT_TRUE(nb->doc.IsModified());
    EXPECT_EQ(nb->edit.GetText(), kHeader);
    nb->Select("Trash");
    EXPECT_EQ(nb->edit.GetText(), "");
    EXPECT_EQ(nb->TextOf("Old"), "old notes\r\n");
    EXPECT_EQ(nb->tree.Dump(true), "Main,Trash*[Old]");

    nb->edit.SetText("again\r\n");
    nb->doc.SetModifiedFlag(false);
    nb->doc.OnEmptyTrash();
    EXPECT_EQ(nb->edit.GetText(), "");
    EXPECT_TRUE(nb->doc.IsModified());

    // Nothing to empty: nothing to save.
    nb->Select("Main");
    nb->doc.SetModifiedFlag(false);
    nb->doc.OnEmptyTrash();
    EXPECT_FALSE(nb->doc.IsModified());
    EXPECT_PROMPTS_DONE(*nb);
}
