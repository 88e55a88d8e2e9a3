#include "NotebookFixture.h"

#include "dialogs/CAssignKeysDlg.h"

namespace {

void Add(Notebook& nb, const std::string& name, const std::string& key = {}, const std::string& function = "Move")
{
    nb.Select("Main");
    nb.doc.AddFolder(false, name, "x\r\n", true, key, key.empty() ? "" : function);
}

// A list's lines in display order, joined by "|".
std::string Lines(const SortedList& list)
{
    std::string out;
    for (int i = 0; i < list.GetCount(); ++i)
        out += (i ? "|" : "") + list.GetText(i);
    return out;
}

void Pick(SortedList& list, const std::string& text)
{
    list.SetCurSel(list.FindStringExact(text));
    ASSERT_GE(list.GetCurSel(), 0) << text;
}

void Assign(CAssignKeysDlg& dlg, const std::string& folder, const std::string& key, int nFunction)
{
    Pick(dlg.m_folderList, folder);
    Pick(dlg.m_keyList, key);
    dlg.m_nFunction = nFunction;
    dlg.OnAssign();
}

void Unassign(CAssignKeysDlg& dlg, const std::string& line)
{
    Pick(dlg.m_assignList, line);
    dlg.OnUnassign();
}

// Each folder of GetFolders() with its key and function, e.g. "Main:F4/Move,Ideas:-".
std::string Keys(const Notebook& nb)
{
    std::string out;
    for (const Folder* p : nb.doc.GetFolders())
        out += (out.empty() ? "" : ",") + p->m_name + ":" + (p->HasKey() ? p->GetKey()->key + "/" + p->GetKey()->function : "-");
    return out;
}

} // namespace

TEST(AssignKeys, WorkInTheDialogReachesTheNotebookOnCloseOnly)
{
    auto nb = Notebook::New();
    Add(*nb, "Ideas");
    Add(*nb, "Work", "F4");
    Add(*nb, "trash");
    const std::string before = Keys(*nb);
    auto work = [](CAssignKeysDlg& dlg) {
        EXPECT_EQ(Lines(dlg.m_folderList), "Ideas|Main|trash");
        EXPECT_EQ(Lines(dlg.m_keyList), "F11|F12|F5|F7|F8|F9");
        EXPECT_EQ(Lines(dlg.m_assignList), "Work (F4) Move");
        EXPECT_EQ(dlg.m_nFunction, 0);
        Assign(dlg, "Ideas", "F5", 1);
        Assign(dlg, "Main", "F12", 0);
        Unassign(dlg, "Work (F4) Move");
        Assign(dlg, "Work", "F4", 1);
        // Without a folder and a key selected, Assign does nothing; without a line, Unassign.
        Pick(dlg.m_keyList, "F7");
        dlg.OnAssign();
        dlg.OnUnassign();
        EXPECT_EQ(Lines(dlg.m_assignList), "Ideas (F5) Copy|Main (F12) Move|Work (F4) Copy");
        EXPECT_EQ(Lines(dlg.m_folderList), "trash");
        EXPECT_EQ(Lines(dlg.m_keyList), "F11|F7|F8|F9");
    };
    nb->prompts.ExpectAssignKeys([&](CAssignKeysDlg& dlg) {
        work(dlg);
        return false;
    });
    nb->doc.SetModifiedFlag(false);
    nb->doc.OnAssignKeys();
    EXPECT_EQ(Keys(*nb), before);
    EXPECT_FALSE(nb->doc.IsModified());

    nb->prompts.ExpectAssignKeys([&](CAssignKeysDlg& dlg) {
        work(dlg);
        return true;
    });
    nb->doc.OnAssignKeys();
    EXPECT_EQ(Keys(*nb), "Main:F12/Move,Trash:F3/Move,Ideas:F5/Copy,Work:F4/Copy,trash:-");
    EXPECT_EQ(nb->keys.Text(), "Main=F12, Trash=F3, Ideas=F5, Work=F4");
    EXPECT_TRUE(nb->doc.IsModified());
    EXPECT_PROMPTS_DONE(*nb);
}

TEST(AssignKeys, FoldersOfOneNameShowTheirPathsAndEachKeepsItsOwnKey)
{
    // Given Main[Home[Ideas],Work[Ideas F4]]
    auto nb = Notebook::New();
    Add(*nb, "Home");
    Add(*nb, "Work");
    for (const char* parent : { "Home", "Work" }) {
        nb->Select(parent);
        nb->doc.AddFolder(false, "Ideas", "x\r\n", true, parent == std::string("Work") ? "F4" : "", "Move");
    }
    // When the dialog moves the key from Work's Ideas to Home's
    nb->prompts.ExpectAssignKeys([](CAssignKeysDlg& dlg) {
        EXPECT_EQ(Lines(dlg.m_folderList), "Home|Main|Main/Home/Ideas|Work");
        EXPECT_EQ(Lines(dlg.m_assignList), "Main/Work/Ideas (F4) Move");
        Unassign(dlg, "Main/Work/Ideas (F4) Move");
        Assign(dlg, "Main/Home/Ideas", "F4", 1);
        EXPECT_EQ(Lines(dlg.m_folderList), "Home|Main|Main/Work/Ideas|Work");
        return true;
    });
    nb->doc.OnAssignKeys();
    // Then the key sits on the Ideas under Home
    std::string keys;
    for (const Folder* p : nb->doc.GetFolders())
        if (p->HasKey() && p->m_name != "Trash")
            keys += p->m_pParent->m_name + "/" + p->m_name + ":" + p->GetKey()->key + "/" + p->GetKey()->function;
    EXPECT_EQ(keys, "Home/Ideas:F4/Copy");
    EXPECT_EQ(nb->keys.Text(), "Trash=F3, Main/Home/Ideas=F4") << "the strip names the folder as the dialog does";
    EXPECT_PROMPTS_DONE(*nb);
}

TEST(AssignKeys, CloseUnchangedKeepsEveryKeyEvenBetweenFoldersOfOneName)
{
    auto nb = Notebook::New();
    Add(*nb, "Twin");
    Add(*nb, "Twin", "F9");
    const std::string before = Keys(*nb);
    nb->prompts.ExpectAssignKeys([](CAssignKeysDlg&) { return true; });
    nb->keys.SetKeysText("stale");
    nb->doc.SetModifiedFlag(false);
    nb->doc.OnAssignKeys();
    EXPECT_EQ(Keys(*nb), before);
    EXPECT_EQ(nb->keys.Text(), "Trash=F3, Main/Twin=F9");
    EXPECT_TRUE(nb->doc.IsModified());
    EXPECT_PROMPTS_DONE(*nb);
}

TEST(AssignKeys, AKeyFromOutsideTheAssignableOnesIsShownAndFreedByUnassign)
{
    auto nb = Notebook::New();
    Add(*nb, "Old", "F1");
    nb->prompts.ExpectAssignKeys([](CAssignKeysDlg& dlg) {
        EXPECT_EQ(Lines(dlg.m_keyList), "F11|F12|F4|F5|F7|F8|F9");
        Unassign(dlg, "Old (F1) Move");
        EXPECT_EQ(Lines(dlg.m_keyList), "F1|F11|F12|F4|F5|F7|F8|F9");
        Assign(dlg, "Main", "F1", 0);
        return true;
    });
    nb->doc.OnAssignKeys();
    EXPECT_EQ(Keys(*nb), "Main:F1/Move,Trash:F3/Move,Old:-");
    EXPECT_PROMPTS_DONE(*nb);
}

TEST(AssignKeys, AllSevenKeysInUseLeaveTheKeysListEmpty)
{
    auto nb = Notebook::New();
    for (const std::string key : { "F4", "F5", "F7", "F8", "F9", "F11", "F12" })
        Add(*nb, "Folder " + key, key);
    nb->prompts.ExpectAssignKeys([](CAssignKeysDlg& dlg) {
        EXPECT_EQ(Lines(dlg.m_keyList), "");
        EXPECT_EQ(dlg.m_assignList.GetCount(), 7);
        return false;
    });
    nb->doc.OnAssignKeys();
    EXPECT_PROMPTS_DONE(*nb);
}

TEST(AssignKeys, UnassignActsOnTheRowTheLineShowsWhateverTheName)
{
    auto nb = Notebook::New();
    Add(*nb, "A", "F4");
    Add(*nb, "A (F4) Move", "F5");
    nb->prompts.ExpectAssignKeys([](CAssignKeysDlg& dlg) {
        EXPECT_EQ(Lines(dlg.m_assignList), "A (F4) Move|A (F4) Move (F5) Move");
        Unassign(dlg, "A (F4) Move (F5) Move");
        EXPECT_EQ(Lines(dlg.m_assignList), "A (F4) Move");
        EXPECT_EQ(Lines(dlg.m_folderList), "A (F4) Move|Main");
        return true;
    });
    nb->doc.OnAssignKeys();
    EXPECT_EQ(Keys(*nb), "Main:-,Trash:F3/Move,A:F4/Move,A (F4) Move:-");
    EXPECT_PROMPTS_DONE(*nb);
}
