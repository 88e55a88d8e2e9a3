#include <gtest/gtest.h>

#include "doc/CQuillboxDoc.h"
#include "notes/CQuillboxEditView.h"
#include "tree/CQuillboxTreeView.h"
#include "platform/Clock.h"
#include "platform/KeysText.h"
#include "platform/MemoryTree.h"
#include "platform/TextBuffer.h"
#include "dialogs/ScriptedPrompts.h"

TEST(NotebookModel, NewNotebookHasMainAndTrash)
{
    ScriptedPrompts prompts;
    FixedClock clock(1997, 12, 6, 15, 53);
    KeysTextHolder keys;
    Services services { &prompts, &clock, &keys, nullptr };
    FocusScope focus;
    TextBuffer edit(&focus);
    MemoryTree tree(&focus);
    CQuillboxDoc doc(services);
    CQuillboxEditView editView(&doc, edit);
    CQuillboxTreeView treeView(&doc, tree);
    editView.OnCreate();
    doc.BindViews(&editView, &treeView);
    ASSERT_TRUE(doc.OnNewDocument());
    EXPECT_EQ(tree.Dump(true), "Main*,Trash");
    EXPECT_EQ(edit.GetText(), "------ New Note 12/06/97 ------\r\n");
    EXPECT_EQ(keys.Text(), "Trash=F3");
    EXPECT_FALSE(doc.IsModified());
}
