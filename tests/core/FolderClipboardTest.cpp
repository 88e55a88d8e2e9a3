#include "NotebookFixture.h"

namespace {

// Main[Alpha[Beta[Delta],Gamma],Epsilon], Alpha holding F4 and Beta F5; each folder's notes
// are its name in lower case.
std::unique_ptr<Notebook> FamilyNotebook()
{
    auto nb = Notebook::New();
    for (const auto& [parent, name, key] : { std::tuple { "Main", "Alpha", "F4" }, { "Alpha", "Beta", "F5" },
                                             { "Beta", "Delta", "" }, { "Alpha", "Gamma", "" }, { "Main", "Epsilon", "" } }) {
        nb->Select(parent);
        std::string notes = name;
        notes[0] = static_cast<char>(notes[0] - 'A' + 'a');
        nb->doc.AddFolder(false, name, notes + "\r\n", true, key, *key ? "Move" : "");
    }
    nb->doc.SetModifiedFlag(false);
    return nb;
}

} // namespace

TEST(FolderClipboard, CutThenPasteMovesTheSubtreeWithItsNotesAndDropsItsKeys)
{
    auto nb = FamilyNotebook();
    nb->Select("Alpha");
    nb->edit.SetText("alpha edited\r\n");
    nb->doc.OnCutFolder();
    EXPECT_EQ(nb->tree.Dump(true), "Main[Epsilon*],Trash");
    EXPECT_EQ(nb->FolderList(), "Main,Trash,Epsilon");
    EXPECT_FALSE(nb->doc.IsModified());

    nb->doc.OnPasteFolder();
    // Pasting follows the chains in their order: Beta with Delta, then Gamma, selected last.
    EXPECT_EQ(nb->tree.Dump(true), "Main[Epsilon[Alpha[Beta[Delta],Gamma*]]],Trash");
    EXPECT_EQ(nb->FolderList(), "Main,Trash,Epsilon,Alpha,Beta,Delta,Gamma");
    EXPECT_EQ(nb->TextOf("Alpha") + nb->TextOf("Gamma"), "alpha edited\r\ngamma\r\n");
    // Each folder that received children opens, the target included; the others stay closed.
    std::string opened;
    for (const char* name : { "Main", "Epsilon", "Alpha", "Gamma", "Beta", "Delta" })
        opened += nb->tree.IsExpanded(nb->doc.FindFolderByName(name)->m_hItem) ? '+' : '-';
    EXPECT_EQ(opened, "+++-+-");
    EXPECT_TRUE(nb->doc.IsModified());
    nb->doc.UpdateKeySummary();
    EXPECT_EQ(nb->keys.Text(), "Trash=F3");
    EXPECT_PROMPTS_DONE(*nb);
}

TEST(FolderClipboard, CopyTakesNoFollowingSiblingsAndPastesAnyNumberOfTimes)
{
    auto nb = FamilyNotebook();
    // Beta leads Alpha's chain, in the order they were added: Gamma follows it.
    nb->Select("Beta");
    nb->doc.OnCopyFolder();
    EXPECT_FALSE(nb->doc.IsModified());
    nb->Select("Epsilon");
    nb->doc.OnPasteFolder();
    nb->Select("Main");
    nb->doc.OnPasteFolder();
    EXPECT_EQ(nb->tree.Dump(true), "Main[Alpha[Beta[Delta],Gamma],Beta[Delta*],Epsilon[Beta[Delta]]],Trash");
    EXPECT_EQ(nb->TextOf("Beta"), "beta\r\n");
    nb->doc.UpdateKeySummary();
    EXPECT_EQ(nb->keys.Text(), "Trash=F3, Alpha=F4, Main/Alpha/Beta=F5");
    EXPECT_PROMPTS_DONE(*nb);
}

TEST(FolderClipboard, PasteUnderItselfAfterCopyAddsItsFormerState)
{
    auto nb = FamilyNotebook();
    nb->Select("Beta");
    nb->edit.SetText({});
    nb->doc.OnCopyFolder();
    nb->edit.SetText("beta live\r\n");
    nb->doc.OnPasteFolder();
    nb->Select("Beta");
    nb->doc.OnPasteFolder();
    EXPECT_EQ(nb->tree.Dump(true), "Main[Alpha[Beta[Beta[Delta],Beta[Delta*],Delta],Gamma],Epsilon],Trash");
    // The copies of the empty Beta got a note header; Beta keeps its notes.
    EXPECT_EQ(nb->doc.GetFolders()[7]->m_text, "------ New Note 12/06/97 ------\r\n");
    nb->Select("Beta");
    EXPECT_EQ(nb->edit.GetText(), "beta live\r\n");
    EXPECT_PROMPTS_DONE(*nb);
}

TEST(FolderClipboard, AVeryDeepSubtreeIsCutCopiedAndPastedWithoutRecursion)
{
    constexpr size_t kDepth = 100000;
    auto nb = Notebook::New();
    for (size_t i = 0; i < kDepth; ++i)
        nb->doc.AddFolder(false, "Deep", "x\r\n", true, {}, {});
    nb->Select("Deep");
    nb->doc.OnCutFolder();
    EXPECT_EQ(nb->tree.Dump(true), "Main*,Trash");
    nb->doc.OnPasteFolder();
    nb->Select("Deep");
    nb->doc.OnCopyFolder();
    nb->Select("Main");
    nb->doc.OnPasteFolder();
    EXPECT_EQ(nb->doc.GetFolders().size(), 2 + 2 * kDepth);
    EXPECT_EQ(nb->tree.GetCount(), 2 + 2 * kDepth);
}
