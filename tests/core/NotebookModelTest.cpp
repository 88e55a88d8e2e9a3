#include "NotebookFixture.h"

TEST(NotebookModel, NewNotebookHasMainSelectedAndTrashWithF3)
{
    auto nb = Notebook::New();
    EXPECT_EQ(nb->tree.Dump(true), "Main*,Trash");
    EXPECT_EQ(nb->FolderList(), "Main,Trash");
    EXPECT_EQ(nb->doc.GetRootFolder()->m_name, "Main");
    EXPECT_EQ(nb->doc.GetRootFolder()->m_pNext->m_name, "Trash");
    EXPECT_EQ(nb->doc.GetRootFolder()->m_pNext->m_pPrev, nb->doc.GetRootFolder());
    EXPECT_EQ(nb->edit.GetText(), "------ New Note 12/06/97 ------\r\n");
    EXPECT_EQ(nb->TextOf("Trash"), "");
    ASSERT_TRUE(nb->doc.FindFolderByName("Trash")->HasKey());
    EXPECT_EQ(nb->doc.FindFolderByName("Trash")->GetKey()->function, "Move");
    EXPECT_EQ(nb->keys.Text(), "Trash=F3");
    EXPECT_FALSE(nb->doc.IsModified());
    EXPECT_PROMPTS_DONE(*nb);
}

TEST(NotebookModel, ChildrenRunInTheOrderTheyWereAdded)
{
    auto nb = Notebook::New();
    for (const char* name : { "X", "Y", "Z" }) {
        nb->Select("Main");
        nb->doc.AddFolder(false, name, {}, true, {}, {});
    }
    Folder* pMain = nb->doc.FindFolderByName("Main");
    EXPECT_EQ(pMain->m_pFirstChild->m_name, "X");
    EXPECT_EQ(pMain->m_pFirstChild->m_pNext->m_name, "Y");
    EXPECT_EQ(pMain->m_pFirstChild->m_pNext->m_pNext->m_name, "Z");
    EXPECT_EQ(pMain->m_pFirstChild->m_pNext->m_pPrev, pMain->m_pFirstChild);
    EXPECT_EQ(pMain->m_pFirstChild->m_pParent, pMain);
    EXPECT_EQ(nb->FolderList(), "Main,Trash,X,Y,Z");
    EXPECT_EQ(nb->tree.Dump(true), "Main[X,Y,Z*],Trash");
    EXPECT_TRUE(nb->tree.IsExpanded(pMain->m_hItem));
    EXPECT_TRUE(nb->doc.IsModified());
}

TEST(NotebookModel, AddingAFolderMovesTheEditorTextIntoTheFolderLeft)
{
    auto nb = Notebook::New();
    nb->edit.SetSel(-1, -1);
    nb->edit.TypeChar('a');
    nb->doc.AddFolder(false, "Ideas", {}, true, {}, {});
    EXPECT_EQ(nb->doc.FindFolderByName("Main")->m_text, "------ New Note 12/06/97 ------\r\na");
    EXPECT_EQ(nb->edit.GetText(), "------ New Note 12/06/97 ------\r\n");
    long start = 0, end = 0;
    nb->edit.GetSel(start, end);
    EXPECT_EQ(start, static_cast<long>(nb->edit.GetText().size())) << "the caret waits after the header";
    nb->Select("Main");
    EXPECT_EQ(nb->edit.GetText(), "------ New Note 12/06/97 ------\r\na");
    EXPECT_EQ(nb->doc.FindFolderByName("Main")->m_text, "");
}

TEST(NotebookModel, OnlyAFolderNamedExactlyTrashStartsWithoutAHeader)
{
    auto nb = Notebook::New();
    nb->doc.AddFolder(false, "Trash", {}, true, {}, {});
    EXPECT_EQ(nb->edit.GetText(), "");
    nb->Select("Main");
    nb->doc.AddFolder(false, "trash", {}, true, {}, {});
    EXPECT_EQ(nb->edit.GetText(), "------ New Note 12/06/97 ------\r\n");
    nb->Select("Main");
    nb->doc.AddFolder(false, "Notes", "kept\r\n", true, {}, {});
    EXPECT_EQ(nb->edit.GetText(), "kept\r\n") << "a folder with text gets no header";
}

TEST(NotebookModel, KeySummaryFollowsTheFolderListAndTellsSameNamedFoldersApart)
{
    auto nb = Notebook::New();
    nb->doc.AddFolder(false, "Work", {}, true, "F4", "Copy");
    EXPECT_EQ(nb->keys.Text(), "Trash=F3, Work=F4");
    // A name that another folder has too is shown as its path, as Assign Keys shows it, whether
    // the other folder has a key or not.
    nb->doc.AddFolder(false, "Ideas", {}, true, {}, {});
    nb->Select("Main");
    nb->doc.AddFolder(false, "Ideas", {}, true, "F5", "Move");
    EXPECT_EQ(nb->keys.Text(), "Trash=F3, Work=F4, Main/Ideas=F5");
    nb->doc.FindFolderByName("Work")->m_pFirstChild->SetKey("F7", "Move");
    nb->doc.UpdateKeySummary();
    EXPECT_EQ(nb->keys.Text(), "Trash=F3, Work=F4, Main/Work/Ideas=F7, Main/Ideas=F5");
    for (Folder* pFolder : nb->doc.GetFolders())
        pFolder->ClearKey();
    nb->doc.UpdateKeySummary();
    EXPECT_EQ(nb->keys.Text(), "");
    nb->doc.OnCloseDocument();
    EXPECT_EQ(nb->keys.Text(), "");
}

TEST(NotebookModel, FindFolderByItemWalksTheSubtreeThenTheFollowingSiblings)
{
    auto nb = Notebook::New();
    nb->doc.AddFolder(false, "A", {}, true, {}, {});
    nb->doc.AddFolder(false, "B", {}, true, {}, {});
    Folder* pB = nb->doc.GetSelFolder();
    Folder* pMain = nb->doc.FindFolderByName("Main");
    EXPECT_EQ(nb->doc.FindFolderByItem(pB->m_hItem, nb->doc.GetRootFolder()), pB);
    EXPECT_EQ(nb->doc.FindFolderByItem(pB->m_hItem, pMain->m_pNext), nullptr) << "Trash's chain does not hold B";
    EXPECT_EQ(nb->doc.FindFolderByItem(9999, nb->doc.GetRootFolder()), nullptr);
    EXPECT_EQ(nb->doc.SelectFolderByItem(9999), nullptr);
    EXPECT_EQ(nb->doc.GetSelFolder(), nullptr);
}

TEST(NotebookModel, DeleteFolderTreeFreesTheFollowingSiblingsToo)
{
    auto nb = Notebook::New();
    for (const char* name : { "X", "Y", "Z" }) {
        nb->Select("Main");
        nb->doc.AddFolder(false, name, {}, true, {}, {});
        nb->doc.AddFolder(false, std::string(name) + "1", {}, true, {}, {});
    }
    nb->Select("Main");
    Folder* pMain = nb->doc.FindFolderByName("Main");
    Folder* pY = pMain->m_pFirstChild->m_pNext; // X, Y, Z: from Y on
    pY->m_pPrev->m_pNext = nullptr;
    for (Folder* p = pY; p; p = p->m_pNext)
        nb->tree.DeleteItem(p->m_hItem);
    nb->doc.DeleteFolderTree(pY);
    EXPECT_EQ(nb->FolderList(), "Main,Trash,X,X1");
    EXPECT_EQ(nb->tree.Dump(true), "Main*[X[X1]],Trash");
}

TEST(NotebookModel, DeepAndWideTreesAreWalkedWithoutRecursion)
{
    auto nb = Notebook::New();
    constexpr int kDepth = 50000;
    for (int i = 0; i < kDepth; ++i)
        nb->doc.AddFolder(false, "d", "x\r\n", false, {}, {});
    int visited = 0;
    WalkFolders(nb->doc.GetRootFolder(), [&](Folder*) { ++visited; });
    EXPECT_EQ(visited, kDepth + 2);
    Folder* pDeepest = nb->doc.GetSelFolder();
    EXPECT_EQ(nb->doc.FindFolderByItem(pDeepest->m_hItem, nb->doc.GetRootFolder()), pDeepest);
}
