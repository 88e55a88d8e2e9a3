#include <gtest/gtest.h>

#include "NotebookFileTestFiles.h"
#include "merge/ConflictCopies.h"
#include "support/NotebookSketch.h"

namespace {

std::string Bytes(const std::string& main)
{
    return NotebookBytes(ToSnapshot(ParseSketch("Main<" + main + ">,Trash{F3 Move}")));
}

const std::tm kMoment { .tm_mday = 6, .tm_mon = 11, .tm_year = 97 };

TEST(ConflictCopies, TheThreeSyncToolsNamesAreFoundAndLookalikesAreNot)
{
    TempDir dir;
    for (const char* name : { "notes.not", "notes.sync-conflict-20240102-030405-ABCDEF7.not",
                              "notes (conflicted copy 2024-01-02 030405).not", "notes (Laptop's conflicted copy 2024-01-02).not",
                              // Not copies of notes.not:
                              "notes.sync-conflict-2024.not", "notes (conflicted copy).not", "other (conflicted copy 2024-01-02 030405).not",
                              "notes.sync-conflict-20240102-030405-ABCDEF7.txt", "notes 2.not", "notesx (Laptop's conflicted copy 2024-01-02).not" })
        WriteBytes(dir.Path(name), "x");
    std::vector<std::string> names;
    for (const std::string& copy : FindConflictCopies(dir.Path("notes.not")))
        names.push_back(copy.substr(copy.rfind('/') + 1));
    EXPECT_EQ(names, (std::vector<std::string> { "notes (Laptop's conflicted copy 2024-01-02).not",
                                                 "notes (conflicted copy 2024-01-02 030405).not",
                                                 "notes.sync-conflict-20240102-030405-ABCDEF7.not" }));
}

// A copy merges three-way from the version both went on from: a note one side removed and the
// other left alone goes. Without one, nothing tells what was removed: every note of either stays,
// and the first event says so.
TEST(ConflictCopies, TheVersionBothWentOnFromIsTheBaseElseEveryNoteIsKept)
{
    TempDir dir;
    const std::string notebook = dir.Path("n.not");
    const std::string copy = dir.Path("n.sync-conflict-20240102-030405-DEV.not");
    WriteBytes(notebook, Bytes("a:1|b:2|c:3x"));
    WriteBytes(copy, Bytes("a:1|c:3|d:4"));
    const MergeOptions options { "(copy)" };
    const NotebookSnapshot kept = ToSnapshot(ParseSketch("Main<a:1|b:2|c:3>,Trash{F3 Move}"));
    const auto fromKept = [&](const NotebookSnapshot&, const NotebookSnapshot&) { return std::optional(kept); };

    CopiesMerge merge = MergeConflictCopies(notebook, { copy }, fromKept, kMoment, options);
    ASSERT_EQ(merge.report.status, ReadReport::Status::Ok);
    EXPECT_EQ(WriteSketch(FromSnapshot(merge.merged.notebook)), "Main<a:1|c:3x|d:4>,Trash{F3 Move}");
    EXPECT_TRUE(merge.merged.events.empty());
    EXPECT_EQ(merge.mergedCopies, std::vector<std::string> { copy });
    EXPECT_EQ(WriteSketch(FromSnapshot(merge.notebook)), "Main<a:1|b:2|c:3x>,Trash{F3 Move}");

    merge = MergeConflictCopies(notebook, { copy }, {}, kMoment, options);
    EXPECT_EQ(WriteSketch(FromSnapshot(merge.merged.notebook)), "Main<a:1|b:2|c:3x|c:3|d:4>,Trash{F3 Move}");
    ASSERT_FALSE(merge.merged.events.empty());
    EXPECT_EQ(merge.merged.events[0].kind, MergeEvent::Kind::NoCommonVersion);
    EXPECT_TRUE(merge.merged.HasConflicts());

    // A copy that reads in part brings what it holds, as a union: its lost folders are not
    // deletions. It is said, and it is not offered to the trash. One that is no notebook is
    // left out, and said.
    const std::string cut = Bytes("a:1|c:3|d:4");
    WriteBytes(copy, cut.substr(0, cut.find("------ d")) + "------ d ------\r\nhalf");
    merge = MergeConflictCopies(notebook, { copy }, fromKept, kMoment, options);
    EXPECT_TRUE(merge.bMerged);
    EXPECT_TRUE(merge.mergedCopies.empty());
    ASSERT_EQ(merge.problems.size(), 1u);
    EXPECT_EQ(merge.problems[0].action, FileProblem::Action::MergeCopy);
    EXPECT_EQ(WriteSketch(FromSnapshot(merge.merged.notebook)).find("Main<a:1|b:2|c:3x|c:3"), 0u);
    WriteBytes(copy, "not a notebook");
    merge = MergeConflictCopies(notebook, { copy }, fromKept, kMoment, options);
    EXPECT_FALSE(merge.bMerged);
    EXPECT_EQ(merge.problems.size(), 1u);
}

} // namespace
