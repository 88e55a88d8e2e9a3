// What keeps a notebook's file from being lost to another program or another Quillbox: the
// file's identity, the lock file beside it and the recovery files of unsaved work.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <functional>

#include "../GonePid.h"
#include "NotebookFileTestFiles.h"
#include "doc/FileIdentity.h"
#include "doc/LockFile.h"
#include "doc/RecoveryStore.h"
#include "words/ProblemWords.h"

namespace {

// A producer of these bytes, as a notebook's snapshot would give them.
ChunkProducer Bytes(std::string bytes)
{
    return [bytes = std::move(bytes)](const ChunkSink& sink) { return sink(bytes); };
}

struct ChangeCase
{
    const char* name;
    std::function<void(const std::string& path)> change;
    DiskChange expected;
};

} // namespace

TEST(FileIdentity, TellsAChangeOfTheBytesFromAChangeOfTheTimeOnly)
{
    const std::vector<ChangeCase> cases = {
        { "untouched", [](const std::string&) {}, DiskChange::None },
        { "touched", [](const std::string& path) { ::utimensat(AT_FDCWD, path.c_str(), nullptr, 0); }, DiskChange::None },
        { "replaced by a copy of the same bytes",
          [](const std::string& path) {
              WriteBytes(path + ".new", "notebook bytes");
              std::filesystem::rename(path + ".new", path);
          },
          DiskChange::None },
        { "appended to", [](const std::string& path) { WriteBytes(path, "notebook bytes, more"); }, DiskChange::Changed },
        // Same size, and the time put back as a sync tool may: only the bytes tell.
        { "rewritten with the old time",
          [](const std::string& path) {
              struct stat st {};
              ::stat(path.c_str(), &st);
              WriteBytes(path, "NOTEBOOK BYTES");
              const timespec times[2] = { st.st_atim, st.st_mtim };
              ::utimensat(AT_FDCWD, path.c_str(), times, 0);
          },
          DiskChange::Changed },
        { "deleted", [](const std::string& path) { std::filesystem::remove(path); }, DiskChange::Vanished },
    };
    for (const ChangeCase& c : cases) {
        TempDir dir;
        const std::string path = dir.Path("a.not");
        WriteBytes(path, "notebook bytes");
        std::optional<FileIdentity> known = ReadFileIdentity(path);
        ASSERT_TRUE(known);
        c.change(path);
        EXPECT_EQ(CheckFile(path, *known), c.expected) << c.name;
    }
}

TEST(FileIdentity, EveryNameOfAFileIsTheSameFile)
{
    TempDir dir;
    WriteBytes(dir.Path("a.not"), "bytes");
    WriteBytes(dir.Path("b.not"), "bytes");
    std::filesystem::create_symlink(dir.Path("a.not"), dir.Path("link.not"));
    std::filesystem::create_hard_link(dir.Path("a.not"), dir.Path("hard.not"));
    const auto a = ReadFileIdentity(dir.Path("a.not"));
    EXPECT_TRUE(a->SameFile(*ReadFileIdentity(dir.Path("link.not"))));
    EXPECT_TRUE(a->SameFile(*ReadFileIdentity(dir.Path("hard.not"))));
    EXPECT_FALSE(a->SameFile(*ReadFileIdentity(dir.Path("b.not"))));
}

TEST(LockFile, AnotherLiveQuillboxKeepsItsLockAndAStaleOneIsTakenOver)
{
    TempDir dir;
    const std::string notebook = dir.Path("a.not");
    const std::string lock = dir.Path(".a.not.lock");
    WriteBytes(notebook, "bytes");
    const LockOwner self = LockOwner::Self();
    struct Case
    {
        const char* name;
        std::string held; // the lock file before Acquire; empty: none
        bool bTaken;
    };
    const std::vector<Case> cases = {
        { "no lock", "", true },
        { "this program's own", self.host + "\n" + std::to_string(self.pid) + "\n" + self.user + "\n", true },
        { "a process gone on this host", self.host + "\n" + std::to_string(GonePid()) + "\nsomeone\n", true },
        { "unreadable", "\n\n", true },
        { "a live process on this host", self.host + "\n" + std::to_string(::getppid()) + "\nsomeone\n", false },
        { "another host, whatever its process", "laptop\n" + std::to_string(GonePid()) + "\nsomeone\n", false },
    };
    for (const Case& c : cases) {
        std::filesystem::remove(lock);
        if (!c.held.empty())
            WriteBytes(lock, c.held);
        {
            LockFile file;
            const std::optional<LockOwner> other = file.Acquire(notebook);
            EXPECT_EQ(!other, c.bTaken) << c.name;
            EXPECT_EQ(ReadBytes(lock), c.bTaken ? self.host + "\n" + std::to_string(self.pid) + "\n" + self.user + "\n" : c.held)
                << c.name;
        }
        // Released when the notebook closes, and only when it was this program's.
        EXPECT_EQ(std::filesystem::exists(lock), !c.bTaken) << c.name;
    }
}

TEST(LockFile, LiesBesideTheFileALinkLeadsTo)
{
    TempDir dir;
    std::filesystem::create_directory(dir.Path("real"));
    WriteBytes(dir.Path("real/a.not"), "bytes");
    std::filesystem::create_symlink(dir.Path("real/a.not"), dir.Path("link.not"));
    EXPECT_EQ(LockFile::PathFor(dir.Path("link.not")), std::filesystem::canonical(dir.Path("real")).string() + "/.a.not.lock");
}

TEST(RecoveryStore, KeepsTheNotebookAndWhoseItIsUntilRemoved)
{
    TempDir dir;
    const RecoveryStore store(dir.Path("state/quillbox/recovery"));
    RecoveryEntry older { store.NewKey(), "/notes/odd\nname\xE9.not", 1000, LockOwner::Self() };
    FileProblem error;
    ASSERT_TRUE(store.Write(older, Bytes("older bytes"), error)) << DescribeProblem(error);
    RecoveryEntry newer { store.NewKey(), "", 2000, { "laptop", 7, "ann" } };
    ASSERT_TRUE(store.Write(newer, Bytes("newer bytes\r\n"), error)) << DescribeProblem(error);
    EXPECT_NE(older.key, newer.key);

    const std::vector<RecoveryEntry> entries = store.List();
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].key, newer.key);
    EXPECT_EQ(entries[0].writer, newer.writer);
    EXPECT_EQ(entries[1].notebookPath, older.notebookPath);
    EXPECT_EQ(entries[1].savedAt, 1000);
    EXPECT_EQ(ReadBytes(store.NotebookPath(newer.key)), "newer bytes\r\n");
    EXPECT_EQ(std::filesystem::status(store.Dir()).permissions(), std::filesystem::perms::owner_all);

    // A key left by a program that ended is never given out again.
    WriteBytes(store.NotebookPath(std::to_string(::getpid()) + "-" + "999"), "left");
    for (int i = 0; i < 1000; ++i)
        ASSERT_NE(store.NewKey(), std::to_string(::getpid()) + "-999");

    store.Remove(older.key);
    ASSERT_EQ(store.List().size(), 1u);
    EXPECT_FALSE(std::filesystem::exists(store.NotebookPath(older.key)));
}

TEST(RecoveryStore, WorkIsSupersededOnlyByASaveThatBothTheFileAndItsTimeShowCameAfter)
{
    constexpr int64_t kMs = 1'000'000;
    constexpr int64_t kSavedAt = 1'700'000'000'000;
    const FileIdentity noted { 1, 2, 10, kSavedAt * kMs - 5000 * kMs, 0, 0 };
    // A file of these metadata, looked at a minute after the state was taken.
    const auto file = [](uint64_t inode, int64_t size, int64_t mtimeNs) {
        return FileIdentity { 1, inode, size, mtimeNs, (kSavedAt + 60'000) * kMs, 0 };
    };
    struct Case
    {
        const char* name;
        std::optional<FileIdentity> noted;
        FileIdentity now;
        bool bSuperseded;
    };
    const std::vector<Case> cases = {
        { "saved a second after", noted, file(3, 10, (kSavedAt + 1000) * kMs), true },
        { "rewritten in place after", noted, file(2, 11, (kSavedAt + 1000) * kMs), true },
        { "made after, none before", std::nullopt, file(3, 10, (kSavedAt + 1000) * kMs), true },
        { "saved in the first nanosecond after the state's millisecond", noted, file(3, 10, (kSavedAt + 1) * kMs), true },
        { "saved within the state's millisecond", noted, file(3, 10, (kSavedAt + 1) * kMs - 1), false },
        { "saved before", noted, file(3, 10, kSavedAt * kMs - 1), false },
        // The file system's clock runs ahead of this one: its time says after, the file says no.
        { "the file noted, dated after", FileIdentity { 1, 2, 10, (kSavedAt + 1000) * kMs, 0, 0 },
          file(2, 10, (kSavedAt + 1000) * kMs), false },
        { "dated ahead of the clock now", noted, file(3, 10, (kSavedAt + 120'000) * kMs), false },
    };
    for (const Case& c : cases) {
        RecoveryEntry entry { "k", "/notes/a.not", kSavedAt, LockOwner::Self(), c.noted };
        EXPECT_EQ(IsSupersededBy(entry, c.now), c.bSuperseded) << c.name;
    }

    // Through the store, on this machine's clocks: the file as noted, then saved again.
    TempDir dir;
    const std::string notebook = dir.Path("a.not");
    WriteBytes(notebook, "saved");
    const RecoveryStore store(dir.Path("recovery"));
    const auto nowMs = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::system_clock::now().time_since_epoch());
    FileProblem error;
    ASSERT_TRUE(store.Write({ store.NewKey(), notebook, nowMs.count() - 10'000, LockOwner::Self() }, Bytes("unsaved"), error));
    const RecoveryEntry kept = store.List().at(0);
    EXPECT_FALSE(IsSupersededBy(kept, *ReadFileIdentity(notebook, false)));
    WriteBytes(notebook, "saved again");
    EXPECT_TRUE(IsSupersededBy(kept, *ReadFileIdentity(notebook, false)));
}

TEST(RecoveryStore, OnlyWorkNoRunningProgramLooksAfterIsOrphaned)
{
    const LockOwner self = LockOwner::Self();
    const auto isOwnLive = [](const std::string& key) { return key == "live"; };
    struct Case
    {
        const char* name;
        RecoveryEntry entry;
        bool bOrphaned;
    };
    const std::vector<Case> cases = {
        { "a window of this program", { "live", "", 0, self }, false },
        { "a closed window of this program", { "lost", "", 0, self }, true },
        { "a program that ended", { "x", "", 0, { self.host, GonePid(), self.user } }, true },
        { "a program still running", { "x", "", 0, { self.host, ::getppid(), self.user } }, false },
        { "a program on another host", { "x", "", 0, { "laptop", GonePid(), self.user } }, false },
    };
    for (const Case& c : cases)
        EXPECT_EQ(IsOrphaned(c.entry, isOwnLive), c.bOrphaned) << c.name;
}
