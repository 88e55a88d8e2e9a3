#include "NotebookFixture.h"

TEST(NotebookModel, NewNotebookHasMainSelectedAndTrashWithF3)
{
    auto nb = Notebook::New();
    EXPECT_EQ(nb->tree.Dump(true), "Main*,Trash");
    EXPECT_EQ(nb->FolderList(), "Trash,Main");
    EXPECT_EQ(nb->doc.m_pRootFolder->m_name, "Main");
    EXPECT_EQ(nb->doc.m_pRootFolder->m_pNext->m_name, "Trash");
    EXPECT_EQ(nb->edit.GetText(), "------ New Note 12/06/97 ------\r\n");
    EXPECT_EQ(nb->TextOf("Trash"), "");
    EXPECT_EQ(nb->keys.Text(), "Trash=F3");
    EXPECT_FALSE(nb->doc.IsModified());
    EXPECT_PROMPTS_DONE(*nb);
}
