#include "NotebookFixture.h"

#include <optional>

#include "dialogs/CInputDlg.h"
#include "platform/CommandIds.h"

namespace {

// Adds a child with a key and some notes, as the notebook file reader does.
void Add(Notebook& nb, const std::string& parent, const std::string& name, const std::string& key = {})
{
    nb.Select(parent);
    nb.doc.AddFolder(false, name, name + " notes\r\n", true, key, key.empty() ? "" : "Move");
}

// The name prompt, expected to show `shown`, answered with `name` and OK, or cancelled.
void ExpectName(Notebook& nb, const std::string& shown, std::optional<std::string> name)
{
    nb.prompts.ExpectInput([=](CInputDlg& dlg) {
        EXPECT_EQ(dlg.m_strLabel, "Folder Name");
        EXPECT_EQ(dlg.m_strText, shown);
        dlg.m_strText = name.value_or("typed then cancelled");
        return name.has_value();
    });
}

} // namespace

TEST(FolderCommands, NewFolderAddsALastChildInNameOrderWhateverTheName)
{
    auto nb = Notebook::New();
    Add(*nb, "Main", "Alpha");
    Add(*nb, "Main", "Omega");
    for (const std::string name : { "Zeta", "Zeta", "  " }) {
        nb->Select("Main");
        ExpectName(*nb, "New Folder", name);
        nb->doc.OnNewFolder();
    }
    EXPECT_EQ(nb->tree.Dump(true), "Main[  *,Alpha,Omega,Zeta,Zeta],Trash");
    EXPECT_EQ(nb->FolderList(), "Main,Trash,Alpha,Omega,Zeta,Zeta,  ");
    EXPECT_EQ(nb->doc.FindFolderByName("Main")->m_pFirstChild->m_name, "Alpha");
    EXPECT_EQ(nb->doc.GetFolders().back()->m_pNext, nullptr);
    EXPECT_EQ(nb->edit.GetText(), "------ New Note 12/06/97 ------\r\n");
    EXPECT_PROMPTS_DONE(*nb);
}

TEST(FolderCommands, AnEmptyNameIsRefusedAndThePromptReopensWithIt)
{
    auto nb = Notebook::New();
    ExpectName(*nb, "New Folder", "");
    nb->prompts.ExpectMessage("You must enter a folder name.");
    ExpectName(*nb, "", std::nullopt);
    nb->doc.OnNewFolder();
    EXPECT_EQ(nb->tree.Dump(true), "Main*,Trash");
    EXPECT_FALSE(nb->doc.IsModified());

    ExpectName(*nb, "New Folder", "");
    nb->prompts.ExpectMessage("You must enter a folder name.");
    ExpectName(*nb, "", "Beta");
    nb->doc.OnNewFolder();
    EXPECT_EQ(nb->tree.Dump(true), "Main[Beta*],Trash");
    EXPECT_PROMPTS_DONE(*nb);
}

TEST(FolderCommands, RenameMovesTheItemAndKeepsNotesChildrenAndKey)
{
    auto nb = Notebook::New();
    Add(*nb, "Main", "Alpha", "F4");
    Add(*nb, "Alpha", "Child");
    Add(*nb, "Main", "Beta");
    nb->Select("Alpha");
    nb->doc.SetModifiedFlag(false);
    nb->tree.SetFocus();
    ExpectName(*nb, "Alpha", std::nullopt);
    nb->doc.OnRenameFolder();
    EXPECT_FALSE(nb->doc.IsModified());

    ExpectName(*nb, "Alpha", "Zulu");
    nb->doc.OnRenameFolder();
    EXPECT_EQ(nb->tree.Dump(true), "Main[Beta,Zulu*[Child]],Trash");
    EXPECT_EQ(nb->keys.Text(), "Trash=F3, Zulu=F4");
    EXPECT_EQ(nb->TextOf("Zulu"), "Alpha notes\r\n");
    EXPECT_TRUE(nb->edit.HasFocus());
    EXPECT_TRUE(nb->doc.IsModified());

    // Renamed to a special name, it is refused from then on.
    ExpectName(*nb, "Zulu", "Main");
    nb->doc.OnRenameFolder();
    nb->doc.OnRenameFolder();
    nb->doc.OnDeleteFolder();
    EXPECT_EQ(nb->tree.Dump(true), "Main[Beta,Main*[Child]],Trash");
    EXPECT_PROMPTS_DONE(*nb);
}

TEST(FolderCommands, DeleteTakesTheSubtreeFreesItsKeysAndRelinksTheSiblings)
{
    auto nb = Notebook::New();
    nb->doc.SetDeleteFolderPrefs(0);
    Add(*nb, "Main", "Alpha");
    Add(*nb, "Main", "Mid");
    Add(*nb, "Mid", "Child");
    Add(*nb, "Child", "Grandchild", "F5");
    Add(*nb, "Main", "Omega");
    nb->Select("Mid");
    nb->doc.OnDeleteFolder();
    EXPECT_EQ(nb->tree.Dump(true), "Main[Alpha,Omega*],Trash");
    EXPECT_EQ(nb->FolderList(), "Main,Trash,Alpha,Omega");
    EXPECT_EQ(nb->keys.Text(), "Trash=F3");
    EXPECT_EQ(nb->edit.GetText(), "Omega notes\r\n");
    const Folder* pAlpha = nb->doc.FindFolderByName("Alpha");
    EXPECT_EQ(pAlpha->m_pNext, nb->doc.FindFolderByName("Omega"));
    EXPECT_EQ(nb->doc.FindFolderByName("Omega")->m_pPrev, pAlpha);

    nb->doc.OnDeleteFolder();
    EXPECT_EQ(nb->doc.FindFolderByName("Main")->m_pFirstChild, pAlpha);
    EXPECT_EQ(pAlpha->m_pNext, nullptr);
    EXPECT_PROMPTS_DONE(*nb);
}

TEST(FolderCommands, DeleteAsksFirstWhenThePreferenceIsSet)
{
    auto nb = Notebook::New();
    Add(*nb, "Main", "100%s done");
    nb->doc.SetModifiedFlag(false);
    const std::string question = "Are you sure you want to delete the folder 100%s done and all of its children?";
    nb->prompts.ExpectYesNo(question, false);
    nb->doc.OnDeleteFolder();
    EXPECT_EQ(nb->tree.Dump(true), "Main[100%s done*],Trash");
    EXPECT_FALSE(nb->doc.IsModified());
    nb->prompts.ExpectYesNo(question, true);
    nb->doc.OnDeleteFolder();
    EXPECT_EQ(nb->tree.Dump(true), "Main*,Trash");
    EXPECT_PROMPTS_DONE(*nb);
}

TEST(FolderCommands, SpecialFoldersAndAnEmptyClipboardAreRefusedSilently)
{
    auto nb = Notebook::New();
    for (const char* name : { "Main", "Trash" }) {
        nb->Select(name);
        for (int id : { cmd::RenameFolder, cmd::DeleteFolder, cmd::CutFolder, cmd::CopyFolder, cmd::PasteFolder })
            nb->doc.OnCommand(id);
    }
    nb->doc.OnNewFolder();
    Add(*nb, "Main", "Alpha");
    nb->doc.OnCopyFolder();
    nb->Select("Trash");
    nb->doc.OnPasteFolder();
    EXPECT_EQ(nb->tree.Dump(true), "Main[Alpha],Trash*");
    EXPECT_PROMPTS_DONE(*nb);
}

TEST(FolderCommands, EmptyTrashClearsOnlyTheTrashText)
{
    auto nb = Notebook::New();
    Add(*nb, "Trash", "Old");
    nb->Select("Main");
    nb->doc.FindFolderByName("Trash")->m_text = "thrown away\r\n";
    nb->doc.SetModifiedFlag(false);
    nb->doc.OnEmptyTrash();
    EXPECT_TRUE(nb->doc.IsModified());
    nb->Select("Trash");
    EXPECT_EQ(nb->edit.GetText(), "");
    EXPECT_EQ(nb->TextOf("Old"), "Old notes\r\n");

    nb->edit.SetText("again\r\n");
    nb->doc.SetModifiedFlag(false);
    nb->doc.OnEmptyTrash();
    EXPECT_EQ(nb->edit.GetText(), "");
    EXPECT_TRUE(nb->doc.IsModified());
    EXPECT_EQ(nb->tree.Dump(true), "Main,Trash*[Old]");
    EXPECT_PROMPTS_DONE(*nb);
}
