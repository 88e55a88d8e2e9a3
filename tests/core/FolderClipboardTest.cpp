#include "NotebookFixture.h"

namespace {

const std::string kHeader = "------ New Note 12/06/97 ------\r\n";

void AddChild(Notebook& nb, const std::string& parent, const std::string& name, const std::string& text,
              const std::string& key = {})
{
    nb.Select(parent);
    nb.doc.AddFolder(false, name, text, true, key, key.empty() ? "" : "Move");
}

// Main[Alpha[Beta[Delta],Gamma],Epsilon], Alpha holding F4 and Beta F5.
std::unique_ptr<Notebook> FamilyNotebook()
{
    auto nb = Notebook::New();
    AddChild(*nb, "Main", "Alpha", "alpha\r\n", "F4");
    AddChild(*nb, "Alpha", "Beta", "beta\r\n", "F5");
    AddChild(*nb, "Beta", "Delta", "delta\r\n");
    AddChild(*nb, "Alpha", "Gamma", "gamma\r\n");
    AddChild(*nb, "Main", "Epsilon", "epsilon\r\n");
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
    EXPECT_EQ(nb->FolderList(), "Trash,Main,Epsilon");
    EXPECT_FALSE(nb->doc.IsModified());
    const Folder* pClip = nb->doc.m_pClipFolder;
    ASSERT_NE(pClip, nullptr);
    EXPECT_EQ(pClip->m_text, "alpha edited\r\n");
    EXPECT_EQ(pClip->m_pParent, nullptr);
    EXPECT_EQ(pClip->m_pNext, nullptr);
    EXPECT_EQ(pClip->m_hItem, kNoItem);

    nb->Select("Epsilon");
    nb->doc.OnPasteFolder();
    // Pasting follows the chains, newest first: Gamma before Beta.
    EXPECT_EQ(nb->tree.Dump(true), "Main[Epsilon[Alpha[Beta[Delta*],Gamma]]],Trash");
    EXPECT_EQ(nb->FolderList(), "Trash,Main,Epsilon,Alpha,Gamma,Beta,Delta");
    EXPECT_TRUE(nb->doc.IsModified());
    EXPECT_EQ(nb->TextOf("Alpha"), "alpha edited\r\n");
    EXPECT_EQ(nb->TextOf("Delta"), "delta\r\n");
    EXPECT_EQ(nb->TextOf("Gamma"), "gamma\r\n");
    nb->doc.UpdateKeySummary();
    EXPECT_EQ(nb->keys.Text(), "Trash=F3");
    EXPECT_PROMPTS_DONE(*nb);
}

TEST(FolderClipboard, CopyTakesTheFolderAndItsChildrenButNotItsFollowingSiblings)
{
    auto nb = FamilyNotebook();
    // Epsilon, the newest child of Main, leads Main's chain: Alpha follows it.
    nb->Select("Epsilon");
    nb->doc.OnCopyFolder();
    EXPECT_FALSE(nb->doc.IsModified());
    EXPECT_EQ(nb->doc.m_pClipFolder->m_pNext, nullptr);
    ASSERT_NE(nb->doc.FindFolderByName("Epsilon")->m_pNext, nullptr);

    nb->Select("Gamma");
    nb->doc.OnPasteFolder();
    EXPECT_EQ(nb->tree.Dump(true), "Main[Alpha[Beta[Delta],Gamma[Epsilon*]],Epsilon],Trash");
    EXPECT_EQ(nb->TextOf("Epsilon"), "epsilon\r\n");

    nb->Select("Beta");
    nb->doc.OnCopyFolder();
    nb->Select("Epsilon");
    nb->doc.OnPasteFolder();
    nb->Select("Epsilon");
    nb->doc.OnPasteFolder();
    EXPECT_EQ(nb->tree.Dump(),
              "Main[Alpha[Beta[Delta],Gamma[Epsilon]],Epsilon[Beta[Delta],Beta[Delta]]],Trash");
    EXPECT_EQ(nb->FolderList(), "Trash,Main,Alpha,Beta,Delta,Gamma,Epsilon,Epsilon,Beta,Delta,Beta,Delta");
    nb->doc.UpdateKeySummary();
    EXPECT_EQ(nb->keys.Text(), "Trash=F3, Alpha=F4, Beta=F5");
    EXPECT_PROMPTS_DONE(*nb);
}

TEST(FolderClipboard, PasteUnderItselfAfterCopyAddsItsFormerState)
{
    auto nb = FamilyNotebook();
    nb->Select("Beta");
    nb->edit.SetText("beta live\r\n");
    nb->doc.OnCopyFolder();
    nb->doc.OnPasteFolder();
    EXPECT_EQ(nb->tree.Dump(true), "Main[Alpha[Beta[Beta[Delta*],Delta],Gamma],Epsilon],Trash");
    nb->Select("Beta");
    nb->doc.OnPasteFolder();
    EXPECT_EQ(nb->tree.Dump(true), "Main[Alpha[Beta[Beta[Delta],Beta[Delta*],Delta],Gamma],Epsilon],Trash");
    nb->Select("Beta");
    EXPECT_EQ(nb->edit.GetText(), "beta live\r\n");
    EXPECT_PROMPTS_DONE(*nb);
}

TEST(FolderClipboard, PastedEmptyFolderGetsANoteHeader)
{
    auto nb = Notebook::New();
    AddChild(*nb, "Main", "Empty", "");
    nb->edit.SetText({});
    nb->doc.OnCopyFolder();
    nb->Select("Main");
    nb->doc.OnPasteFolder();
    EXPECT_EQ(nb->tree.Dump(true), "Main[Empty,Empty*],Trash");
    EXPECT_EQ(nb->edit.GetText(), kHeader);
    EXPECT_PROMPTS_DONE(*nb);
}

TEST(FolderClipboard, SpecialFoldersAndAnEmptyClipboardAreSilentlyRefused)
{
    auto nb = FamilyNotebook();
    nb->Select("Main");
    nb->doc.OnPasteFolder();
    nb->doc.OnCutFolder();
    nb->doc.OnCopyFolder();
    nb->Select("Trash");
    nb->doc.OnCutFolder();
    nb->doc.OnCopyFolder();
    EXPECT_EQ(nb->doc.m_pClipFolder, nullptr);

    nb->Select("Gamma");
    nb->doc.OnCopyFolder();
    nb->Select("Trash");
    nb->doc.OnPasteFolder();
    EXPECT_EQ(nb->tree.Dump(true), "Main[Alpha[Beta[Delta],Gamma],Epsilon],Trash*");
    EXPECT_FALSE(nb->doc.IsModified());
    EXPECT_PROMPTS_DONE(*nb);
}

TEST(FolderClipboard, ANewCutOrCopyReplacesTheClipboard)
{
    auto nb = FamilyNotebook();
    nb->Select("Delta");
    nb->doc.OnCutFolder();
    nb->Select("Gamma");
    nb->doc.OnCopyFolder();
    nb->Select("Epsilon");
    nb->doc.OnCutFolder();
    nb->Select("Main");
    nb->doc.OnPasteFolder();
    EXPECT_EQ(nb->tree.Dump(), "Main[Alpha[Beta,Gamma],Epsilon],Trash");
    EXPECT_EQ(nb->FolderList(), "Trash,Main,Alpha,Beta,Gamma,Epsilon");
    EXPECT_PROMPTS_DONE(*nb);
}

TEST(FolderClipboard, AVeryDeepSubtreeIsCutCopiedAndPastedWithoutRecursion)
{
    constexpr int kDepth = 100000;
    auto nb = Notebook::New();
    nb->doc.AddFolder(false, "Deep", "x\r\n", true, {}, {});
    for (int i = 1; i < kDepth; ++i)
        nb->doc.AddFolder(false, "Deep", "x\r\n", true, {}, {});
    nb->Select("Deep");

    nb->doc.OnCutFolder();
    EXPECT_EQ(nb->tree.Dump(true), "Main*,Trash");
    nb->doc.OnPasteFolder();
    EXPECT_EQ(nb->doc.m_folders.size(), 2u + kDepth);

    nb->Select("Deep");
    nb->doc.OnCopyFolder();
    nb->Select("Main");
    nb->doc.OnPasteFolder();
    EXPECT_EQ(nb->doc.m_folders.size(), 2u + 2 * kDepth);
    EXPECT_EQ(nb->tree.GetCount(), 2u + 2 * kDepth);
}
