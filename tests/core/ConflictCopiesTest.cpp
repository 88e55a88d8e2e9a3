#include <gtest/gtest.h>

#include <thread>

#include "NotebookFileTestFiles.h"
#include "merge/ConflictCopies.h"
#include "storage/VersionStore.h"
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

// A copy merges three-way from the kept version when both went on from it: a note one side
// removed and the other left alone goes. Without a kept version, or when one side is the kept
// version itself, nothing tells what was removed, and every note of either stays.
TEST(ConflictCopies, AKeptVersionBothWentOnFromIsTheBaseElseEveryNoteIsKept)
{
    TempDir dir;
    const std::string notebook = dir.Path("n.not");
    const std::string copy = dir.Path("n.sync-conflict-20240102-030405-DEV.not");
    const std::string kept = dir.Path("kept.not");
    WriteBytes(notebook, Bytes("a:1|b:2|c:3x"));
    WriteBytes(copy, Bytes("a:1|c:3|d:4"));
    const MergeOptions options { "(copy)" };

    WriteBytes(kept, Bytes("a:1|b:2|c:3"));
    CopiesMerge merge = MergeConflictCopies(notebook, { copy }, kept, kMoment, options);
    ASSERT_EQ(merge.report.status, ReadReport::Status::Ok);
    EXPECT_EQ(WriteSketch(FromSnapshot(merge.merged.notebook)), "Main<a:1|c:3x|d:4>,Trash{F3 Move}");
    EXPECT_EQ(merge.mergedCopies, std::vector<std::string> { copy });
    EXPECT_EQ(WriteSketch(FromSnapshot(merge.notebook)), "Main<a:1|b:2|c:3x>,Trash{F3 Move}");

    for (const std::optional<std::string>& base : { std::optional<std::string>(), std::optional(notebook) }) {
        merge = MergeConflictCopies(notebook, { copy }, base, kMoment, options);
        EXPECT_EQ(WriteSketch(FromSnapshot(merge.merged.notebook)), "Main<a:1|b:2|c:3x|c:3|d:4>,Trash{F3 Move}");
    }

    // A copy that cannot be read whole is left out, and said.
    WriteBytes(copy, "not a notebook");
    merge = MergeConflictCopies(notebook, { copy }, kept, kMoment, options);
    EXPECT_TRUE(merge.mergedCopies.empty());
    EXPECT_EQ(merge.unread.size(), 1u);
}

TEST(VersionStore, KeepsOneVersionANotebookAndDropsTheOldestPastTheBound)
{
    TempDir dir;
    const VersionStore store(dir.Path("state/quillbox/versions"), 25);
    const auto keep = [&](const std::string& notebook, const std::string& bytes) {
        FileProblem problem;
        EXPECT_TRUE(store.Keep(notebook, [&](const ChunkSink& sink) { return sink(bytes); }, problem));
        // Apart by more than the file system's time resolution, so the order is the files' times'.
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    };
    keep("/n/a.not", "aaaaaaaaaa");
    keep("/n/b.not", "bbbbbbbbbb");
    keep("/n/a.not", "AAAAAAAAAA");
    ASSERT_TRUE(store.Kept("/n/a.not"));
    EXPECT_EQ(ReadBytes(*store.Kept("/n/a.not")), "AAAAAAAAAA");
    EXPECT_EQ(ReadBytes(*store.Kept("/n/b.not")), "bbbbbbbbbb");
    // A third notebook passes the bound: b, now the oldest, goes.
    keep("/n/c.not", "cccccccccc");
    EXPECT_FALSE(store.Kept("/n/b.not"));
    EXPECT_TRUE(store.Kept("/n/a.not"));
    EXPECT_TRUE(store.Kept("/n/c.not"));
}

} // namespace
