#include "NoteMarks.h"
#include "NotebookFixture.h"
#include "dialogs/CChooseFolderDlg.h"
#include "platform/CommandIds.h"

namespace {

// A new notebook with Ideas (F4, Copy) and Work (F5, Move) under Main, Main on screen with
// the marked text, every target empty and the notebook unmodified.
std::unique_ptr<Notebook> WithKeyedFolders(const std::string& mainText)
{
    auto nb = Notebook::New();
    nb->doc.AddFolder(false, "Ideas", {}, true, "F4", "Copy");
    nb->Select("Main");
    nb->doc.AddFolder(false, "Work", {}, true, "F5", "Move");
    nb->Select("Main");
    nb->doc.FindFolderByName("Ideas")->m_text.clear();
    nb->doc.FindFolderByName("Work")->m_text.clear();
    LoadMarked(nb->edit, mainText);
    nb->doc.SetModifiedFlag(false);
    return nb;
}

void SetText(Notebook& nb, const std::string& name, const std::string& text)
{
    nb.doc.FindFolderByName(name)->m_text = text;
}

} // namespace

TEST(SendNote, MovingTheLastNoteEndsTheTextWhereItBegan)
{
    auto nb = WithKeyedFolders("------ one\r\nbody\r\n------ two\r\nla|st\r\n");
    SetText(*nb, "Work", "------ w\r\n");
    nb->editView.SendNoteToFolder("F5");
    EXPECT_EQ(Marked(nb->edit), "------ one\r\nbody\r\n|");
    EXPECT_EQ(nb->TextOf("Work"), "------ w\r\n------ two\r\nlast\r\n");
    EXPECT_TRUE(nb->doc.IsModified());
    EXPECT_EQ(nb->tree.Dump(true), "Main*[Ideas,Work],Trash");
}

TEST(SendNote, TheNoteArrivesWithExactlyOneLineBreak)
{
    auto nb = WithKeyedFolders("------ one\r\nbody|\r\n\r\n\r\n");
    nb->editView.SendNoteToFolder("F5");
    EXPECT_EQ(nb->TextOf("Work"), "------ one\r\nbody\r\n");
    EXPECT_EQ(Marked(nb->edit), "|");

    LoadMarked(nb->edit, "------ two\r\nno break|");
    nb->editView.SendNoteToFolder("F5");
    EXPECT_EQ(nb->TextOf("Work"), "------ one\r\nbody\r\n------ two\r\nno break\r\n");
}

TEST(SendNote, CopyLeavesTheEditorAndItsSelectionAsTheyWereAndMarksTheNotebook)
{
    auto nb = WithKeyedFolders("------ one\r\nb[ody\r\n------ t]wo\r\n");
    nb->editView.SendNoteToFolder("F4");
    EXPECT_EQ(Marked(nb->edit), "------ one\r\nb[ody\r\n------ t]wo\r\n");
    EXPECT_EQ(nb->TextOf("Ideas"), "------ one\r\nbody\r\n");
    EXPECT_TRUE(nb->doc.IsModified());
}

TEST(SendNote, TargetTextGetsALineBreakBeforeTheNoteOnlyWhenItLacksOne)
{
    auto nb = WithKeyedFolders("------ one|\r\n");
    SetText(*nb, "Ideas", "------ i\r\nno break");
    nb->editView.SendNoteToFolder("F4");
    EXPECT_EQ(nb->TextOf("Ideas"), "------ i\r\nno break\r\n------ one\r\n");

    SetText(*nb, "Ideas", "bare\n");
    nb->editView.SendNoteToFolder("F4");
    EXPECT_EQ(nb->TextOf("Ideas"), "bare\n------ one\r\n");

    SetText(*nb, "Ideas", "");
    nb->editView.SendNoteToFolder("F4");
    EXPECT_EQ(nb->TextOf("Ideas"), "------ one\r\n");
}

TEST(SendNote, NotesSentOneAfterAnotherKeepTheirOrderAndShowWhenTheTargetIsSelected)
{
    auto nb = WithKeyedFolders("|------ one\r\n------ two\r\n");
    nb->editView.SendNoteToFolder("F5");
    nb->editView.SendNoteToFolder("F5");
    EXPECT_EQ(nb->edit.GetText(), "");
    nb->Select("Work");
    EXPECT_EQ(nb->edit.GetText(), "------ one\r\n------ two\r\n");
}

TEST(SendNote, TheFirstFolderOfANameReceivesAndNeitherSendsToThatName)
{
    auto nb = WithKeyedFolders("------ one|\r\n");
    nb->doc.AddFolder(false, "Ideas", {}, true, "F7", "Move");
    Folder* pFirst = nb->doc.GetFolders()[2];
    Folder* pSecond = nb->doc.GetFolders()[4];
    ASSERT_EQ(nb->FolderList(), "Main,Trash,Ideas,Work,Ideas");

    nb->Select("Main");
    nb->editView.SendNoteToFolder("F7");
    EXPECT_EQ(pFirst->m_text, "------ one\r\n");
    EXPECT_EQ(nb->edit.GetText(), "");

    for (Folder* pShown : { pFirst, pSecond }) {
        nb->tree.SelectItem(pShown->m_hItem);
        LoadMarked(nb->edit, "------ [x]\r\n");
        nb->editView.SendNoteToFolder("F4");
        nb->editView.SendNoteToFolder("F7");
        EXPECT_EQ(Marked(nb->edit), "------ [x]\r\n");
    }
    EXPECT_EQ(nb->TextOf("Work"), "");
    EXPECT_PROMPTS_DONE(*nb);
}

TEST(SendNote, RefusalsChangeNothing)
{
    auto nb = WithKeyedFolders("intro\r\n------ o[n]e\r\n");
    // A key bound to the folder on screen, and a key bound to no folder.
    nb->Select("Work");
    LoadMarked(nb->edit, "------ o[n]e\r\n");
    nb->editView.SendNoteToFolder("F5");
    nb->editView.SendNoteToFolder("F7");
    EXPECT_EQ(Marked(nb->edit), "------ o[n]e\r\n");
    EXPECT_EQ(nb->TextOf("Ideas"), "");
    EXPECT_EQ(nb->TextOf("Trash"), "");
    EXPECT_FALSE(nb->doc.IsModified());
}

TEST(SendNote, ACursorInNoNoteOnlyCollapsesTheSelection)
{
    auto nb = WithKeyedFolders("in[tr]o\r\n------ one\r\n");
    nb->editView.SendNoteToFolder("F5");
    EXPECT_EQ(Marked(nb->edit), "in|tro\r\n------ one\r\n");
    EXPECT_EQ(nb->TextOf("Work"), "");
    EXPECT_FALSE(nb->doc.IsModified());
}

TEST(MoveCopyNote, OffersEveryFolderAndMovesOrCopiesAsChosen)
{
    auto nb = WithKeyedFolders("------ one|\r\n------ two\r\n");
    nb->prompts.ExpectChooseFolder([](CChooseFolderDlg& dlg) {
        EXPECT_EQ(dlg.m_folderNames, (std::vector<std::string> { "Main", "Trash", "Ideas", "Work" }));
        dlg.m_list.SetCurSel(dlg.m_list.FindStringExact("Work"));
        dlg.OnCopyNote();
        return true;
    });
    EXPECT_TRUE(nb->editView.OnCommand(cmd::MoveCopyNote));
    EXPECT_EQ(Marked(nb->edit), "------ one|\r\n------ two\r\n");
    EXPECT_EQ(nb->TextOf("Work"), "------ one\r\n");
    EXPECT_TRUE(nb->doc.IsModified());
    nb->doc.SetModifiedFlag(false);

    nb->prompts.ExpectChooseFolder([](CChooseFolderDlg& dlg) {
        dlg.OnDblClkList(dlg.m_list.FindStringExact("Ideas"));
        return true;
    });
    nb->editView.OnMoveCopyNote();
    EXPECT_EQ(Marked(nb->edit), "|------ two\r\n");
    EXPECT_EQ(nb->TextOf("Ideas"), "------ one\r\n");
    EXPECT_TRUE(nb->doc.IsModified());
    EXPECT_PROMPTS_DONE(*nb);
}

TEST(MoveCopyNote, CancelOrTheFolderOnScreenDoNothing)
{
    auto nb = WithKeyedFolders("------ o[n]e\r\n");
    nb->prompts.ExpectChooseFolder([](CChooseFolderDlg& dlg) {
        dlg.m_list.SetCurSel(dlg.m_list.FindStringExact("Work"));
        return false;
    });
    nb->prompts.ExpectChooseFolder([](CChooseFolderDlg& dlg) {
        dlg.OnDblClkList(dlg.m_list.FindStringExact("Main"));
        return true;
    });
    nb->editView.OnMoveCopyNote();
    nb->editView.OnMoveCopyNote();
    EXPECT_EQ(Marked(nb->edit), "------ o[n]e\r\n");
    EXPECT_EQ(nb->TextOf("Work"), "");
    EXPECT_FALSE(nb->doc.IsModified());
    EXPECT_PROMPTS_DONE(*nb);
}

TEST(MoveCopyNote, ACursorInNoNoteDropsTheChoice)
{
    auto nb = WithKeyedFolders("intro [te]xt\r\n------ one\r\n");
    nb->prompts.ExpectChooseFolder([](CChooseFolderDlg& dlg) {
        dlg.OnDblClkList(dlg.m_list.FindStringExact("Work"));
        return true;
    });
    nb->editView.OnMoveCopyNote();
    EXPECT_EQ(Marked(nb->edit), "intro |text\r\n------ one\r\n");
    EXPECT_EQ(nb->TextOf("Work"), "");
    EXPECT_PROMPTS_DONE(*nb);
}

TEST(DeleteNote, MovesTheNoteToTheEndOfTrash)
{
    auto nb = WithKeyedFolders("------ one\r\n------ t|wo\r\nbody\r\n");
    SetText(*nb, "Trash", "------ old\r\n");
    EXPECT_TRUE(nb->editView.OnCommand(cmd::DeleteNote));
    EXPECT_EQ(Marked(nb->edit), "------ one\r\n|");
    EXPECT_EQ(nb->TextOf("Trash"), "------ old\r\n------ two\r\nbody\r\n");
    EXPECT_TRUE(nb->doc.IsModified());
}

TEST(DeleteNote, InTrashErasesTheNoteForGood)
{
    auto nb = WithKeyedFolders("------ one\r\n");
    SetText(*nb, "Trash", "------ old\r\n------ gone\r\n");
    nb->Select("Trash");
    nb->doc.SetModifiedFlag(false);
    nb->edit.SetSel(12, 12);
    nb->editView.OnDeleteNote();
    EXPECT_EQ(Marked(nb->edit), "------ old\r\n|");
    for (const Folder* pFolder : nb->doc.GetFolders())
        EXPECT_EQ(nb->TextOf(pFolder->m_name).find("gone"), std::string::npos) << pFolder->m_name;
    EXPECT_TRUE(nb->doc.IsModified());
    EXPECT_PROMPTS_DONE(*nb);
}

TEST(DeleteNote, WithoutATrashFolderMakesOneAndKeepsTheNote)
{
    Notebook nb;
    nb.doc.AddFolder(true, "Main", {}, true, {}, {});
    nb.doc.AddFolder(false, "Ideas", {}, true, "F4", "Copy");
    nb.Select("Main");
    nb.edit.SetFocus();
    LoadMarked(nb.edit, "------ one\r\n------ t[w]o\r\nbody\r\n------ three\r\n");
    nb.doc.SetModifiedFlag(false);

    nb.editView.OnDeleteNote();

    EXPECT_EQ(nb.tree.Dump(true), "Main*[Ideas],Trash");
    EXPECT_EQ(nb.FolderList(), "Main,Ideas,Trash");
    EXPECT_EQ(Marked(nb.edit), "------ one\r\n|------ three\r\n");
    EXPECT_EQ(nb.TextOf("Trash"), "------ two\r\nbody\r\n");
    const KeyAssignment* pKey = nb.doc.FindFolderByName("Trash")->GetKey();
    ASSERT_NE(pKey, nullptr);
    EXPECT_EQ(pKey->key + " " + pKey->function, "F3 Move");
    EXPECT_EQ(nb.keys.Text(), "Ideas=F4, Trash=F3");
    EXPECT_TRUE(nb.edit.HasFocus());
    EXPECT_TRUE(nb.doc.IsModified());
    EXPECT_PROMPTS_DONE(nb);
}

TEST(DeleteNote, WithoutATrashFolderAndNoNoteChangesNothing)
{
    Notebook nb;
    nb.doc.AddFolder(true, "Main", {}, true, {}, {});
    LoadMarked(nb.edit, "in|tro\r\n------ one\r\n");
    nb.doc.SetModifiedFlag(false);
    nb.editView.OnDeleteNote();
    EXPECT_EQ(nb.tree.Dump(true), "Main*");
    EXPECT_EQ(Marked(nb.edit), "in|tro\r\n------ one\r\n");
    EXPECT_FALSE(nb.doc.IsModified());
}
