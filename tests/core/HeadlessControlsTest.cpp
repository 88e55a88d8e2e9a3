#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "platform/MemoryTree.h"
#include "platform/NameOrder.h"
#include "platform/TextBuffer.h"

TEST(TextBuffer, LinesAreCrLfTerminatedParagraphs)
{
    TextBuffer buffer;
    buffer.SetText("ab\r\n\r\ncdef\r\n");
    EXPECT_EQ(buffer.GetLineCount(), 4);
    EXPECT_EQ(buffer.GetLine(2, 500), "cdef");
    EXPECT_EQ(buffer.GetLine(2, 2), "cd");
    EXPECT_EQ(buffer.GetLine(3, 500), "");
    EXPECT_EQ(buffer.LineIndex(2), 6);
    EXPECT_EQ(buffer.LineLength(7), 4);
    EXPECT_EQ(buffer.LineFromChar(5), 1);
    buffer.SetSel(1, 8); // from inside "ab" to inside "cdef"
    EXPECT_EQ(buffer.LineFromChar(-1), 0);
    EXPECT_EQ(buffer.LineLength(-1), 1 + 2) << "unselected characters of the selection's lines";
    EXPECT_EQ(buffer.GetSelText(), "b\r\n\r\ncd");
}

TEST(TextBuffer, TypingReplacesTheSelectionAndStopsAtTheLimit)
{
    TextBuffer buffer;
    int changes = 0;
    buffer.SetChangeHandler([&] { ++changes; });
    buffer.SetText("hello");
    EXPECT_EQ(changes, 0) << "loading a text is not an edit";
    buffer.LimitText(6);
    buffer.SetSel(1, 4);
    buffer.TypeChar('\r');
    EXPECT_EQ(buffer.GetText(), "h\r\no");
    buffer.SetSel(-1, -1);
    buffer.TypeChar('x');
    buffer.TypeChar('y');
    buffer.TypeChar('z');
    EXPECT_EQ(buffer.GetText(), "h\r\noxy") << "the seventh character is refused";
    EXPECT_EQ(changes, 3);
    buffer.SetText(std::string(10, 'a'));
    EXPECT_EQ(buffer.GetText().size(), 10u) << "a loaded text is never cut to the limit";
    buffer.SetSel(0, 4);
    buffer.Clear();
    EXPECT_EQ(buffer.GetText(), "aaaaaa");
    long start = -1, end = -1;
    buffer.GetSel(start, end);
    EXPECT_EQ(start, 0);
    EXPECT_EQ(end, 0);
}

TEST(MemoryTree, SortsWithoutRegardToCaseAndSelectsANeighbourOnDelete)
{
    MemoryTree tree;
    std::vector<TreeItem> seen;
    tree.SetSelectionHandler([&](TreeItem item) { seen.push_back(item); });
    const TreeItem main = tree.InsertItem("Main", kNoItem, true);
    tree.InsertItem("Trash", kNoItem, true);
    const TreeItem zeta = tree.InsertItem("zeta", main, true);
    const TreeItem alpha = tree.InsertItem("Alpha", main, true);
    tree.InsertItem("beta", alpha, true);
    EXPECT_EQ(tree.Dump(), "Main[Alpha[beta],zeta],Trash");
    tree.SelectItem(alpha);
    tree.DeleteItem(alpha);
    EXPECT_EQ(tree.GetSelectedItem(), zeta);
    EXPECT_EQ(seen.back(), zeta) << "the selection change runs before the item goes";
    tree.DeleteItem(zeta);
    EXPECT_EQ(tree.GetSelectedItem(), main) << "no sibling left: the parent";
    tree.SetItemText(main, "zz");
    tree.SortChildren(kNoItem);
    EXPECT_EQ(tree.Dump(true), "Trash,zz*");
}

TEST(NameOrder, FoldsAsciiCaseOnly)
{
    EXPECT_LT(CompareNoCase("alpha", "Main"), 0);
    EXPECT_LT(CompareNoCase("Main", "Zeta"), 0);
    EXPECT_EQ(CompareNoCase("Main", "Main"), 0);
    EXPECT_NE(CompareNoCase("main", "Main"), 0);
    EXPECT_LT(CompareNoCase("F11", "F4"), 0);
}

// Siblings come from a file in name order or its reverse; equal names keep the order they came in
// whichever way the rest runs.
TEST(NameOrder, SortingKeepsEqualNamesInTheOrderTheyCame)
{
    using Named = std::pair<std::string, int>;
    const std::vector<std::pair<std::vector<Named>, std::vector<int>>> cases = {
        { { { "a", 1 }, { "B", 2 }, { "c", 3 } }, { 1, 2, 3 } },
        { { { "c", 1 }, { "B", 2 }, { "a", 3 } }, { 3, 2, 1 } },
        { { { "c", 1 }, { "a", 2 }, { "a", 3 } }, { 2, 3, 1 } },
        { { { "a", 1 }, { "a", 2 }, { "a", 3 } }, { 1, 2, 3 } },
        { { { "b", 1 }, { "a", 2 }, { "b", 3 }, { "a", 4 } }, { 2, 4, 1, 3 } },
        { { { "9", 1 }, { "8", 2 }, { "11", 3 }, { "10", 4 }, { "7", 5 } }, { 4, 3, 5, 2, 1 } },
        { { { "a", 1 }, { "c", 2 }, { "b", 3 }, { "a", 4 }, { "d", 5 }, { "b", 6 } }, { 1, 4, 3, 6, 2, 5 } },
    };
    for (auto [items, expected] : cases) {
        SortByName(items, [](const Named& named) -> std::string_view { return named.first; });
        std::vector<int> order;
        for (const Named& named : items)
            order.push_back(named.second);
        EXPECT_EQ(order, expected) << items.front().first;
    }
    // Any order at all comes out as a stable sort leaves it.
    std::mt19937 random(3);
    for (int round = 0; round < 200; ++round) {
        std::vector<Named> items;
        for (int i = 0; i < static_cast<int>(random() % 40); ++i)
            items.emplace_back(std::string(1, static_cast<char>('a' + random() % 5)), i);
        std::vector<Named> expected = items;
        std::stable_sort(expected.begin(), expected.end(), [](const Named& a, const Named& b) { return a.first < b.first; });
        SortByName(items, [](const Named& named) -> std::string_view { return named.first; });
        ASSERT_EQ(items, expected) << "round " << round;
    }
}
