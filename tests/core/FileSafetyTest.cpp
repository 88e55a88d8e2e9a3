// What keeps a notebook's file from being lost to another program or another Quillbox: the
// file's identity, the lock file beside it and the recovery files of unsaved work.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <random>
#include <thread>
#include <functional>

#include "../GonePid.h"
#include "NotebookFileTestFiles.h"
#include "storage/FileIdentity.h"
#include "disk/FileWatch.h"
#include "storage/LockFile.h"
#include "storage/RecoveryStore.h"
#include "disk/SaveCopy.h"
#include "support/ScriptedPrompts.h"
#include "words/ProblemWords.h"

namespace {

// A producer of these bytes, as a notebook's snapshot would give them.
ChunkProducer Bytes(std::string bytes)
{
    return [bytes = std::move(bytes)](const ChunkSink& sink) { return sink(bytes); };
}

// Sets the process's umask while it lives.
class Umask
{
public:
    explicit Umask(mode_t mask)
        : m_before(::umask(mask))
    {
    }
    ~Umask() { ::umask(m_before); }

private:
    mode_t m_before;
};

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

TEST(LockFile, NamesTheLiveHoldersItFindsAndLeavesTheirNamesBehind)
{
    TempDir dir;
    const std::string notebook = dir.Path("a.not");
    const std::string lock = dir.Path(".a.not.lock");
    WriteBytes(notebook, "bytes");
    const LockOwner self = LockOwner::Self();
    const auto text = [](const LockOwner& owner) { return owner.host + "\n" + std::to_string(owner.pid) + "\n" + owner.user + "\n"; };
    const LockOwner live { self.host, static_cast<long>(::getppid()), "someone" };
    const LockOwner elsewhere { "laptop", GonePid(), "ann" };
    struct Case
    {
        const char* name;
        std::string left; // the lock file before Acquire; empty: none
        bool bClaimed;    // another program holds the lock file's claim, as a window does
        std::vector<LockOwner> holders;
        std::vector<LockOwner> others; // of other machines
        bool bBlocks;                  // a writer such as quillbox-cli add waits for the holders
    };
    const std::vector<Case> cases = {
        { "no lock file", "", false, {}, {}, false },
        { "this program's own name", text(self), false, {}, {}, false },
        { "a process gone on this host", self.host + "\n" + std::to_string(GonePid()) + "\nsomeone\n", false, {}, {}, false },
        { "unreadable", "\n\n", false, {}, {}, false },
        // Its process id now belongs to another program, or it was copied here by a sync tool.
        { "a live process on this host without the claim", text(live), false, {}, {}, false },
        { "a live process on this host with the claim", text(live), true, { live }, {}, true },
        { "another host, whatever its process", text(elsewhere), false, {}, { elsewhere }, false },
        { "another host and a claim here", text(live) + text(elsewhere), true, { live }, { elsewhere }, true },
        { "another host and an unclaimed name here", text(live) + text(elsewhere), false, {}, { elsewhere }, false },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove(lock);
        if (!c.left.empty())
            WriteBytes(lock, c.left);
        const int claim = c.bClaimed ? ::open(lock.c_str(), O_RDWR | O_CLOEXEC) : -1;
        struct flock shared { .l_type = F_RDLCK, .l_whence = SEEK_SET, .l_start = 0, .l_len = 1 };
        ASSERT_TRUE(!c.bClaimed || ::fcntl(claim, F_OFD_SETLK, &shared) == 0);
        EXPECT_EQ(LockFile::HoldersOf(notebook).Any(), c.bBlocks);
        std::string kept;
        for (const LockOwner& owner : c.holders)
            kept += text(owner);
        for (const LockOwner& owner : c.others)
            kept += text(owner);
        {
            LockFile file;
            const LockHolders holders = file.Acquire(notebook);
            EXPECT_EQ(holders.bHeld, c.bClaimed);
            EXPECT_EQ(holders.owners, c.holders);
            EXPECT_EQ(holders.elsewhere, c.others);
            EXPECT_EQ(ReadBytes(lock), kept + text(self));
        }
        // This program's name goes with its claim; the others' stay, and so does the file.
        EXPECT_EQ(std::filesystem::exists(lock) ? ReadBytes(lock) : "(none)", kept.empty() ? "(none)" : kept);
        if (claim >= 0)
            ::close(claim);
    }
}

TEST(LockFile, EveryHolderKeepsItsClaimWhateverTheOthersDo)
{
    TempDir dir;
    const std::string notebook = dir.Path("a.not");
    WriteBytes(notebook, "bytes");
    std::filesystem::create_directory(dir.Path("other"));
    std::filesystem::create_hard_link(notebook, dir.Path("other/hard.not"));

    // Each LockFile stands for a window; those of one process see each other as those of two do.
    auto a = std::make_unique<LockFile>();
    EXPECT_FALSE(a->Acquire(notebook).Any());
    auto b = std::make_unique<LockFile>();
    EXPECT_TRUE(b->Acquire(notebook).bHeld);
    a.reset();
    EXPECT_TRUE(std::filesystem::exists(dir.Path(".a.not.lock"))) << "the first to close took the second's claim along";
    LockFile c;
    EXPECT_TRUE(c.Acquire(notebook).bHeld);
    c.Release();
    // A name by hard link in another folder has a lock file of its own; the file's own lock tells.
    LockFile hard;
    EXPECT_TRUE(hard.Acquire(dir.Path("other/hard.not")).bHeld);
    EXPECT_TRUE(LockFile::HoldersOf(notebook).bHeld);
    b.reset();
    hard.Release();
    EXPECT_FALSE(LockFile::HoldersOf(notebook).Any());
    EXPECT_FALSE(std::filesystem::exists(dir.Path(".a.not.lock")));
    EXPECT_FALSE(std::filesystem::exists(dir.Path("other/.hard.not.lock")));

    // A save replaces the file: claiming it again locks the new one, and tells of no one.
    LockFile window;
    window.Acquire(notebook);
    WriteBytes(notebook + ".new", "new bytes");
    std::filesystem::rename(notebook + ".new", notebook);
    EXPECT_FALSE(window.Acquire(notebook).Any());
    EXPECT_FALSE(LockFile::HoldersOf(dir.Path("other/hard.not")).bHeld) << "the old file is not the notebook any more";
    EXPECT_TRUE(LockFile::HoldersOf(notebook).bHeld);
}

TEST(WriteLock, OneWriterAtATimeBesideTheWindowsThatHoldTheNotebook)
{
    TempDir dir;
    const std::string notebook = dir.Path("a.not");
    WriteBytes(notebook, "bytes");
    LockFile window;
    window.Acquire(notebook);
    FileProblem problem;
    WriteLock first;
    ASSERT_TRUE(first.Take(notebook, std::chrono::milliseconds(0), problem));
    WriteLock second;
    EXPECT_FALSE(second.Take(notebook, std::chrono::milliseconds(50), problem));
    EXPECT_EQ(problem.kind, FileProblem::Kind::Busy);
    first.Release();
    EXPECT_TRUE(second.Take(notebook, std::chrono::milliseconds(0), problem));
    second.Release();
    window.Release();
    EXPECT_TRUE(first.Take(notebook, std::chrono::milliseconds(0), problem));
    first.Release();
    EXPECT_FALSE(std::filesystem::exists(dir.Path(".a.not.lock")));

    // A folder where no lock file can be made leaves nothing to wait for.
    EXPECT_TRUE(first.Take(dir.Path("missing/a.not"), std::chrono::milliseconds(0), problem));
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

    // A key left by a program that ended is never given out again.
    WriteBytes(store.NotebookPath(std::to_string(::getpid()) + "-" + "999"), "left");
    for (int i = 0; i < 1000; ++i)
        ASSERT_NE(store.NewKey(), std::to_string(::getpid()) + "-999");

    store.Remove(older.key);
    ASSERT_EQ(store.List().size(), 1u);
    EXPECT_FALSE(std::filesystem::exists(store.NotebookPath(older.key)));
}

TEST(RecoveryStore, KeepsTheWorkWhereOnlyTheUserCanReadItOrNotAtAll)
{
    using Kind = FileProblem::Kind;
    const Umask noMask(0);
    const auto mode = [](const std::string& path) {
        struct stat st {};
        ::lstat(path.c_str(), &st);
        return st.st_mode & 07777;
    };
    TempDir dir;
    FileProblem problem;
    const auto write = [&](const RecoveryStore& store) {
        problem = {};
        return store.Write({ store.NewKey(), "", 1, LockOwner::Self() }, Bytes("typed"), problem);
    };

    // Made private whatever the umask: the state folder, Quillbox's folder, its files.
    const RecoveryStore store(dir.Path("state/quillbox/recovery"));
    ASSERT_TRUE(write(store)) << DescribeProblem(problem);
    EXPECT_EQ(mode(dir.Path("state")), 0700u);
    EXPECT_EQ(mode(dir.Path("state/quillbox")), 0700u);
    EXPECT_EQ(mode(store.Dir()), 0700u);
    for (const RecoveryEntry& entry : store.List())
        EXPECT_EQ(mode(store.NotebookPath(entry.key)), 0600u);

    struct Case
    {
        const char* name;
        std::function<void(const std::string& folder)> prepare;
        Kind refused; // None: written, the folder made private
    };
    const bool bRoot = ::geteuid() == 0;
    const std::vector<Case> cases = {
        { "one of the user's own that others can read", [](const std::string& f) { ::mkdir(f.c_str(), 0755); }, Kind::None },
        { "one that others can write to", [](const std::string& f) { ::mkdir(f.c_str(), 0777); }, Kind::NotPrivate },
        { "a link to a folder elsewhere",
          [&](const std::string& f) {
              ::mkdir(dir.Path("elsewhere").c_str(), 0700);
              ::symlink(dir.Path("elsewhere").c_str(), f.c_str());
          },
          Kind::NotPrivate },
        { "another user's", [&](const std::string& f) { ::mkdir(f.c_str(), 0700); static_cast<void>(::chown(f.c_str(), 65534, 65534)); },
          bRoot ? Kind::NotPrivate : Kind::None },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove_all(dir.Path("other"));
        ::mkdir(dir.Path("other").c_str(), 0700);
        const RecoveryStore planted(dir.Path("other/recovery"));
        c.prepare(planted.Dir());
        EXPECT_EQ(write(planted), c.refused == Kind::None);
        EXPECT_EQ(problem.kind, c.refused);
        EXPECT_EQ(planted.List().size(), c.refused == Kind::None ? 1u : 0u) << "a refused folder offers nothing";
        if (c.refused == Kind::None) {
            EXPECT_EQ(mode(planted.Dir()), 0700u);
        } else {
            EXPECT_EQ(DescribeProblem(problem), "Cannot write the recovery file in " + planted.Dir() + ": " + planted.Dir()
                                                    + " belongs to another user or others can write to it, so it is not private.");
        }
    }

    // Never a shared folder: without any home there is no recovery, and the user is told why.
    EXPECT_FALSE(write(RecoveryStore("")));
    EXPECT_EQ(DescribeProblem(problem), "Cannot keep unsaved work for recovery: there is no home folder to keep it in "
                                        "(neither HOME nor XDG_STATE_HOME is set, and the system names none).");
}

TEST(RecoveryStore, FindsTheHomeInThePasswordDatabaseWhenTheEnvironmentHasNone)
{
    const auto value = [](const char* name) -> std::optional<std::string> {
        const char* set = std::getenv(name);
        return set ? std::optional<std::string>(set) : std::nullopt;
    };
    const std::optional<std::string> state = value("XDG_STATE_HOME");
    const std::optional<std::string> home = value("HOME");
    ::setenv("XDG_STATE_HOME", "relative/state", 1);
    ::unsetenv("HOME");
    const passwd* pUser = ::getpwuid(::geteuid());
    ASSERT_TRUE(pUser);
    EXPECT_EQ(RecoveryStore::DefaultDir(), std::string(pUser->pw_dir) + "/.local/state/quillbox/recovery");
    ::setenv("HOME", "/home/ann", 1);
    EXPECT_EQ(RecoveryStore::DefaultDir(), "/home/ann/.local/state/quillbox/recovery");
    ::setenv("XDG_STATE_HOME", "/state", 1);
    EXPECT_EQ(RecoveryStore::DefaultDir(), "/state/quillbox/recovery");
    for (const auto& [name, before] : { std::pair { "XDG_STATE_HOME", state }, std::pair { "HOME", home } }) {
        if (before)
            ::setenv(name, before->c_str(), 1);
        else
            ::unsetenv(name);
    }
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

namespace {

// A notebook whose Main holds `lines` lines of `fill`, as Quillbox writes it.
std::string NotebookOf(char fill, size_t lines)
{
    std::string text;
    for (size_t i = 0; i < lines; ++i)
        text += std::string(78, fill) + "\r\n";
    return "Begin Selected Folder\r\nMain\r\nEnd Selected Folder\r\n\r\nBegin New Note Preferences\r\nDate\r\n1\r\n"
           "Time\r\n0\r\nText\r\n1\r\nEnd New Note Preferences\r\n\r\nBegin Delete Folder Preferences\r\nPrompt\r\n1\r\n"
           "End Delete Folder Preferences\r\n\r\nBegin Folder Information\r\nBegin Folder\r\nFolder Name\r\nMain\r\n"
           "Assigned Key\r\nNone\r\nNumber of Children\r\n0\r\nFolder Text\r\n"
        + text
        + "End Folder\r\nBegin Folder\r\nFolder Name\r\nTrash\r\nAssigned Key\r\nF3\r\nAssigned Key Function\r\n"
          "Move\r\nNumber of Children\r\n0\r\nFolder Text\r\nEnd Folder\r\nEnd Folder Information\r\n";
}

} // namespace

TEST(SaveCopy, ASaveOfAHardLinkedNotebookKilledAnywhereLosesNothing)
{
    TempDir dir;
    const std::string notebook = dir.Path("a.not");
    std::filesystem::create_directory(dir.Path("other"));
    const std::string older = NotebookOf('o', 50'000);
    const std::string newer = NotebookOf('n', 60'000);
    WriteBytes(notebook, older);
    std::filesystem::create_hard_link(notebook, dir.Path("other/hard.not"));

    // How long one save takes here: the kills fall anywhere within it, and a little after.
    const auto started = std::chrono::steady_clock::now();
    ASSERT_EQ(WriteFileSafely(notebook, newer).status, WriteResult::Status::Written);
    const auto saveTime = std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - started);
    std::mt19937 random(20261208);
    std::uniform_int_distribution<int64_t> when(0, saveTime.count() * 5 / 4);

    // At least two dozen rounds, and on until a few were cut while the copy was complete.
    int offered = 0;
    for (int round = 0; round < 24 || (offered < 3 && round < 200); ++round) {
        SCOPED_TRACE(round);
        const std::string& saving = ReadBytes(notebook) == newer ? older : newer;
        const pid_t saver = ::fork();
        if (saver == 0)
            ::_exit(WriteFileSafely(notebook, saving).status == WriteResult::Status::Written ? 0 : 1);
        std::this_thread::sleep_for(std::chrono::microseconds(when(random)));
        ::kill(saver, SIGKILL);
        ::waitpid(saver, nullptr, 0);

        // The next open: a complete copy is offered, and taken.
        ScriptedPrompts prompts;
        const bool bOffered = FindSaveCopy(notebook).has_value();
        if (bOffered)
            prompts.ExpectUseSaveCopy(true);
        const std::optional<std::string> copy = OfferSaveCopy(notebook, prompts);
        prompts.ReportUnfinished();
        const std::string opened = ReadBytes(copy ? *copy : notebook);
        EXPECT_TRUE(opened == older || opened == newer) << "neither notebook, " << opened.size() << " bytes";
        // Saving what was opened finishes the save: every name holds it, and no copy is left.
        if (copy) {
            ++offered;
            ASSERT_EQ(WriteFileSafely(notebook, opened).status, WriteResult::Status::Written);
        }
        EXPECT_EQ(ReadBytes(dir.Path("other/hard.not")), ReadBytes(notebook));
        EXPECT_FALSE(std::filesystem::exists(SaveCopyPath(notebook)));
    }
    EXPECT_GE(offered, 3) << "no save was cut while its copy was complete";
}

// The questions about another program's change, decided in the core: what comes up when the
// window returns to the front and before a save, and what each answer does.
TEST(FileWatch, AsksWhatAnotherProgramsChangeCallsFor)
{
    TempDir dir;
    const std::string path = dir.Path("a.not");
    WriteBytes(path, "ours");
    ScriptedPrompts prompts;
    FileWatch watch(prompts);
    watch.OnFileRead(path);
    int saves = 0;
    const auto save = [&](bool, const ReplaceCheck& unchanged) {
        ++saves;
        return unchanged(path) ? SaveResult {} : SaveResult { false, { .kind = FileProblem::Kind::ChangedMeanwhile } };
    };

    // Nothing changed: nothing asked.
    EXPECT_FALSE(watch.OfferReload(path, false));
    EXPECT_EQ(watch.Save(path, save), FileWatch::SaveOutcome::Saved);

    // Changed: an unmodified notebook is offered to be read again; a modified one is warned, once.
    WriteBytes(path, "theirs");
    prompts.ExpectYesNo("\"a.not\" was changed by another program. Read it again?", false);
    EXPECT_FALSE(watch.OfferReload(path, false));
    WriteBytes(path, "theirs, again");
    prompts.ExpectMessage("\"a.not\" was changed by another program, and this notebook has unsaved changes.\n\n"
                          "Save will offer to merge the other program's changes with yours, or to overwrite them.");
    EXPECT_FALSE(watch.OfferReload(path, true));
    EXPECT_FALSE(watch.OfferReload(path, true));

    // Save asks before it overwrites: Cancel, Save As and Merge write nothing here, Overwrite does.
    const std::string overwrite = "\"a.not\" was changed by another program since Quillbox opened or saved it.\n\n"
                                  "Merge its changes with this window's, note by note (the merged notebook is shown "
                                  "unsaved), overwrite them, save the notebook under another name, or cancel?";
    saves = 0;
    prompts.ExpectSaveOver(overwrite, SaveOverAnswer::Cancel);
    EXPECT_EQ(watch.Save(path, save), FileWatch::SaveOutcome::Failed);
    prompts.ExpectSaveOver(overwrite, SaveOverAnswer::SaveElsewhere);
    EXPECT_EQ(watch.Save(path, save), FileWatch::SaveOutcome::Elsewhere);
    prompts.ExpectSaveOver(overwrite, SaveOverAnswer::Merge);
    EXPECT_EQ(watch.Save(path, save), FileWatch::SaveOutcome::Merge);
    EXPECT_EQ(saves, 0);
    prompts.ExpectSaveOver(overwrite, SaveOverAnswer::Save);
    EXPECT_EQ(watch.Save(path, save), FileWatch::SaveOutcome::Saved);
    watch.OnFileRead(path);

    // Gone: said once, and Save writes it there again after asking.
    std::filesystem::remove(path);
    prompts.ExpectMessage("\"a.not\" was deleted or moved by another program. Save writes the notebook there again.");
    EXPECT_FALSE(watch.OfferReload(path, true));
    EXPECT_FALSE(watch.OfferReload(path, true));
    prompts.ExpectSaveOver("\"a.not\" was deleted or moved by another program since Quillbox opened or saved it.\n\n"
                           "Save the notebook there again, save it under another name, or cancel?",
                           SaveOverAnswer::Save);
    EXPECT_EQ(watch.Save(path, save), FileWatch::SaveOutcome::Saved);

    // A window on another name of the file is told the first has it open.
    WriteBytes(path, "ours");
    watch.OnFileRead(path);
    std::filesystem::create_hard_link(path, dir.Path("hard.not"));
    FileWatch other(prompts);
    prompts.ExpectMessage("\"hard.not\" is open in another Quillbox as well, under another name.\n\n"
                          "Whichever saves last overwrites what the other saved.");
    other.OnFileRead(dir.Path("hard.not"));
}
