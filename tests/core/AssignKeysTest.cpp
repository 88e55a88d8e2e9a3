#include "NotebookFixture.h"

#include "dialogs/CAssignKeysDlg.h"

namespace {

void AddChild(Notebook& nb, const std::string& parent, const std::string& name, const std::string& key = {},
              const std::string& function = "Move")
{
    nb.Select(parent);
    nb.doc.AddFolder(false, name, "x\r\n", true, key, key.empty() ? "" : function);
}

// A list box's lines in display order, joined by "|".
std::string Lines(const SortedList& list)
{
    std::string out;
    for (int i = 0; i < list.GetCount(); ++i)
        out += (i ? "|" : "") + list.GetText(i);
    return out;
}

void Pick(SortedList& list, const std::string& text)
{
    const int index = list.FindStringExact(text);
    ASSERT_GE(index, 0) << text;
    list.SetCurSel(index);
}

// Each folder of m_folders with its key and function, e.g. "Main:F4/Move,Ideas:-".
std::string Keys(const Notebook& nb)
{
    std::string out;
    for (const Folder* pFolder : nb.doc.m_folders) {
        out += (out.empty() ? "" : ",") + pFolder->m_name + ":";
        out += pFolder->HasKey() ? pFolder->GetKey()->key + "/" + pFolder->GetKey()->function : "-";
    }
    return out;
}

} // namespace

TEST(AssignKeys, OpensWithEveryFolderButTrashAndEveryFreeKey)
{
    auto nb = Notebook::New();
    AddChild(*nb, "Main", "trash");
    AddChild(*nb, "Main", "Ideas", "F5", "Copy");
    nb->prompts.ExpectAssignKeys([](CAssignKeysDlg& dlg) {
        EXPECT_EQ(Lines(dlg.m_folderList), "Main|trash");
        EXPECT_EQ(Lines(dlg.m_keyList), "F11|F12|F4|F7|F8|F9");
        EXPECT_EQ(Lines(dlg.m_assignList), "Ideas (F5) Copy");
        EXPECT_EQ(dlg.m_nFunction, 0);
        EXPECT_EQ(dlg.m_folderList.GetCurSel(), -1);
        EXPECT_EQ(dlg.m_assignList.GetCurSel(), -1);
        return false;
    });
    nb->doc.SetModifiedFlag(false);
    nb->doc.OnAssignKeys();
    EXPECT_FALSE(nb->doc.IsModified());
    EXPECT_PROMPTS_DONE(*nb);
}

TEST(AssignKeys, AssignAndUnassignTakeEffectOnCloseOnly)
{
    auto nb = Notebook::New();
    AddChild(*nb, "Main", "Ideas");
    AddChild(*nb, "Main", "Work", "F4");
    const std::string before = Keys(*nb);

    auto work = [](CAssignKeysDlg& dlg) {
        Pick(dlg.m_folderList, "Ideas");
        Pick(dlg.m_keyList, "F5");
        dlg.m_nFunction = 1;
        dlg.OnAssign();
        EXPECT_EQ(Lines(dlg.m_folderList), "Main");
        EXPECT_EQ(Lines(dlg.m_keyList), "F11|F12|F7|F8|F9");

        // Without both selections Assign does nothing.
        Pick(dlg.m_folderList, "Main");
        dlg.OnAssign();
        // A row keeps its function when the choice changes.
        dlg.m_nFunction = 0;
        Pick(dlg.m_keyList, "F12");
        dlg.OnAssign();

        Pick(dlg.m_assignList, "Work (F4) Move");
        dlg.OnUnassign();
        dlg.OnUnassign();
        Pick(dlg.m_folderList, "Work");
        Pick(dlg.m_keyList, "F4");
        dlg.m_nFunction = 1;
        dlg.OnAssign();
        EXPECT_EQ(Lines(dlg.m_assignList), "Ideas (F5) Copy|Main (F12) Move|Work (F4) Copy");
        EXPECT_EQ(Lines(dlg.m_folderList), "");
        EXPECT_EQ(Lines(dlg.m_keyList), "F11|F7|F8|F9");
    };

    nb->prompts.ExpectAssignKeys([&](CAssignKeysDlg& dlg) {
        work(dlg);
        return false;
    });
    nb->doc.SetModifiedFlag(false);
    nb->doc.OnAssignKeys();
    EXPECT_EQ(Keys(*nb), before);
    EXPECT_EQ(nb->keys.Text(), "Trash=F3, Work=F4");
    EXPECT_FALSE(nb->doc.IsModified());

    nb->prompts.ExpectAssignKeys([&](CAssignKeysDlg& dlg) {
        work(dlg);
        return true;
    });
    nb->doc.OnAssignKeys();
    EXPECT_EQ(Keys(*nb), "Trash:F3/Move,Main:F12/Move,Ideas:F5/Copy,Work:F4/Copy");
    EXPECT_EQ(nb->keys.Text(), "Trash=F3, Main=F12, Ideas=F5, Work=F4");
    EXPECT_TRUE(nb->doc.IsModified());
    EXPECT_PROMPTS_DONE(*nb);
}

TEST(AssignKeys, CloseWithoutChangesRewritesTheSameKeysAndMarksTheNotebook)
{
    auto nb = Notebook::New();
    AddChild(*nb, "Main", "Ideas", "F7", "Copy");
    // Two folders share a name; only the one that holds a key keeps it.
    AddChild(*nb, "Main", "Twin");
    AddChild(*nb, "Main", "Twin", "F9");
    const std::string before = Keys(*nb);
    nb->prompts.ExpectAssignKeys([](CAssignKeysDlg& dlg) {
        EXPECT_EQ(Lines(dlg.m_folderList), "Main|Twin");
        return true;
    });
    nb->keys.SetKeysText("stale");
    nb->doc.SetModifiedFlag(false);
    nb->doc.OnAssignKeys();
    EXPECT_EQ(Keys(*nb), before);
    EXPECT_EQ(nb->keys.Text(), "Trash=F3, Ideas=F7, Twin=F9");
    EXPECT_TRUE(nb->doc.IsModified());
    EXPECT_PROMPTS_DONE(*nb);
}

TEST(AssignKeys, AKeyFromTheFileOutsideTheAssignableOnesIsShownAndFreedByUnassign)
{
    auto nb = Notebook::New();
    AddChild(*nb, "Main", "Old", "F1");
    nb->prompts.ExpectAssignKeys([](CAssignKeysDlg& dlg) {
        EXPECT_EQ(Lines(dlg.m_assignList), "Old (F1) Move");
        EXPECT_EQ(Lines(dlg.m_keyList), "F11|F12|F4|F5|F7|F8|F9");
        Pick(dlg.m_assignList, "Old (F1) Move");
        dlg.OnUnassign();
        EXPECT_EQ(Lines(dlg.m_keyList), "F1|F11|F12|F4|F5|F7|F8|F9");
        Pick(dlg.m_folderList, "Main");
        Pick(dlg.m_keyList, "F1");
        dlg.OnAssign();
        return true;
    });
    nb->doc.OnAssignKeys();
    EXPECT_EQ(Keys(*nb), "Trash:F3/Move,Main:F1/Move,Old:-");
    EXPECT_PROMPTS_DONE(*nb);
}

TEST(AssignKeys, AllSevenKeysInUseLeaveNothingToAssign)
{
    auto nb = Notebook::New();
    for (const std::string key : { "F4", "F5", "F7", "F8", "F9", "F11", "F12" })
        AddChild(*nb, "Main", "Folder " + key, key);
    nb->prompts.ExpectAssignKeys([](CAssignKeysDlg& dlg) {
        EXPECT_EQ(Lines(dlg.m_keyList), "");
        EXPECT_EQ(dlg.m_assignList.GetCount(), 7);
        Pick(dlg.m_folderList, "Main");
        dlg.OnAssign();
        EXPECT_EQ(dlg.m_assignList.GetCount(), 7);
        return false;
    });
    nb->doc.OnAssignKeys();
    EXPECT_PROMPTS_DONE(*nb);
}

TEST(AssignKeys, UnassignActsOnTheRowTheLineShowsWhateverTheName)
{
    auto nb = Notebook::New();
    AddChild(*nb, "Main", "A");
    AddChild(*nb, "Main", "A (F4) Move");
    nb->prompts.ExpectAssignKeys([](CAssignKeysDlg& dlg) {
        Pick(dlg.m_folderList, "A (F4) Move");
        Pick(dlg.m_keyList, "F5");
        dlg.OnAssign();
        Pick(dlg.m_folderList, "A");
        Pick(dlg.m_keyList, "F4");
        dlg.OnAssign();
        EXPECT_EQ(Lines(dlg.m_assignList), "A (F4) Move|A (F4) Move (F5) Move");
        Pick(dlg.m_assignList, "A (F4) Move (F5) Move");
        dlg.OnUnassign();
        EXPECT_EQ(Lines(dlg.m_assignList), "A (F4) Move");
        EXPECT_EQ(Lines(dlg.m_folderList), "A (F4) Move|Main");
        return true;
    });
    nb->doc.OnAssignKeys();
    EXPECT_EQ(Keys(*nb), "Trash:F3/Move,Main:-,A:F4/Move,A (F4) Move:-");
    EXPECT_PROMPTS_DONE(*nb);
}
