// What a notebook window decides: what opens when the file has company (kept work, a save's copy,
// conflict copies), what Save > Merge and closing do with the user's work, and what the keeper of
// unsaved work keeps when. Driven through the calls the window makes, with scripted answers.
#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include "../GonePid.h"
#include "NotebookFileTestFiles.h"
#include "dialogs/CPrefsDlgs.h"
#include "history/CHistoryDlg.h"
#include "history/KeptHistory.h"
#include "storage/LockFile.h"
#include "support/NotebookSketch.h"
#include "support/ScriptedWindow.h"
#include "words/MessageWords.h"
#include "words/ProblemWords.h"

namespace {

using Action = RecoveryAnswer::Action;

// A notebook whose Main holds the notes of `main`, sketched ("a:1|b:2").
std::string Bytes(const std::string& main)
{
    return NotebookBytes(ToSnapshot(ParseSketch("Main<" + main + ">,Trash{F3 Move}")));
}

// The notebook the window holds, sketched as Bytes takes it.
std::string Holds(ScriptedWindow& w)
{
    return WriteSketch(FromSnapshot(w.Doc().TakeSnapshot()));
}

std::string Sketched(const std::string& main)
{
    return "Main<" + main + ">,Trash{F3 Move}";
}

// The notebook bytes of every piece of work in the recovery folder, joined.
std::string KeptBytes(const RecoveryStore& store)
{
    std::string all;
    for (const RecoveryEntry& entry : store.List())
        all += ReadBytes(store.NotebookPath(entry.key));
    return all;
}

// Types a note at the end of the selected folder, as keys would.
void Type(ScriptedWindow& w, const std::string& text)
{
    w.edit.SetSel(-1, -1);
    for (const char ch : text)
        w.edit.TypeChar(ch);
}

struct Files
{
    TempDir dir;
    std::string notebook = dir.Path("a.not");
    std::string state = dir.Path("state");
    RecoveryStore store { state + "/recovery" };
};

} // namespace

TEST(NotebookWindow, OpeningOffersWhatIsBesideTheFileInTurnAndOpensWhatTheUserChose)
{
    struct Case
    {
        const char* name;
        bool bKept;     // work an ended Quillbox kept for the notebook: Main<kept:1>
        bool bCopy;     // a save's complete copy beside it: Main<copy:1>
        bool bConflict; // a sync tool's conflict copy beside it: Main<a:1|c:3>
        // Answers in the order the questions come: C+/C- the save's copy used or not, R/L recover
        // or decide later, M+/M- merge the conflict copies or not, T+/T- then trash them or not.
        std::vector<std::string> answers;
        std::string opens;
        bool bModified;
        bool bKeptStays; // the ended Quillbox's work is still there under its own key
        size_t trashed;
        // What another writer saved over the file after the kept work's version, Main<a:1>.
        std::string written = {};
        // The kept work names its version (an earlier Quillbox's does not).
        bool bBaseKnown = true;
    };
    const std::vector<Case> cases = {
        { "the file alone", false, false, false, {}, "a:1", false, false, 0 },
        { "a save's copy, opened", false, true, false, { "C+" }, "copy:1", true, false, 0 },
        { "a save's copy, not opened", false, true, false, { "C-" }, "a:1", false, false, 0 },
        { "kept work comes before a save's copy", true, true, false, { "C+", "R" }, "kept:1", true, false, 0 },
        { "kept work decided later, the copy opens", true, true, false, { "C+", "L" }, "copy:1", true, true, 0 },
        { "conflict copies merged and trashed", false, false, true, { "M+", "T+" }, "a:1|c:3", true, false, 1 },
        { "conflict copies merged and kept", false, false, true, { "M+", "T-" }, "a:1|c:3", true, false, 0 },
        { "conflict copies not merged", false, false, true, { "M-" }, "a:1", false, false, 0 },
        { "recovered work is not merged with conflict copies", true, false, true, { "R" }, "kept:1", true, false, 0 },
        // The work replaced a with kept; the other writer added b.
        { "recovered work merges with what was saved since", true, false, false, { "R" }, "kept:1|b:2", true, false, 0, "a:1|b:2" },
        // Nothing tells whether the work deleted a: every note of either is kept, and that is said.
        { "recovered work of no known version keeps every note", true, false, false, { "R" }, "kept:1|a:1|b:2", true, false, 0,
          "a:1|b:2", false },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Files files;
        WriteBytes(files.notebook, Bytes("a:1"));
        if (c.bKept) {
            // The work went on from the file as it was, which the history keeps.
            HistoryStore history(files.state + "/history");
            FileProblem problem;
            const std::optional<int64_t> base
                = KeepVersion(history, files.notebook, ToSnapshot(ParseSketch("Main<a:1>,Trash{F3 Move}")), 1, HistoryKind::Read, problem);
            ASSERT_TRUE(base);
            const LockOwner self = LockOwner::Self();
            const RecoveryEntry entry { files.store.NewKey(), files.notebook, 1'700'000'000'000, { self.host, GonePid(), self.user },
                                        c.bBaseKnown ? *base : 0 };
            ASSERT_TRUE(files.store.Write(entry, [](const ChunkSink& sink) { return sink(Bytes("kept:1")); }, problem));
        }
        if (!c.written.empty())
            WriteBytes(files.notebook, Bytes(c.written));
        if (c.bCopy)
            WriteBytes(SaveCopyPath(files.notebook), Bytes("copy:1"));
        const std::string conflict = files.dir.Path("a.sync-conflict-20240102-030405-DEV.not");
        if (c.bConflict)
            WriteBytes(conflict, Bytes("a:1|c:3"));

        ScriptedWindow::Shared shared(files.state);
        for (const std::string& answer : c.answers) {
            if (answer[0] == 'C')
                shared.prompts.ExpectUseSaveCopy(answer[1] == '+');
            if (answer[0] == 'R' || answer[0] == 'L')
                shared.prompts.ExpectRecovery([action = answer[0] == 'R' ? Action::Recover : Action::Later](const auto&) {
                    return RecoveryAnswer { action, 0 };
                });
            if (answer[0] == 'M')
                shared.prompts.ExpectYesNo(DescribeQuestion({ Question::Kind::MergeConflictCopies, FileNameOf(conflict) },
                                                            FileNameOf(conflict)),
                                           answer[1] == '+');
            if (answer[0] == 'T')
                shared.prompts.ExpectYesNo(DescribeQuestion({ Question::Kind::TrashConflictCopies, FileNameOf(conflict) },
                                                            FileNameOf(conflict)),
                                           answer[1] == '+');
        }
        ScriptedWindow w(shared);
        ASSERT_EQ(w.window.Open(files.notebook).status, ReadReport::Status::Ok);
        EXPECT_EQ(Holds(w), Sketched(c.opens));
        EXPECT_EQ(w.Doc().GetPathName(), files.notebook);
        EXPECT_EQ(w.Doc().IsModified(), c.bModified);
        EXPECT_EQ(w.trashed.size(), c.trashed);
        if (!c.written.empty()) {
            EXPECT_EQ(!w.mergeEvents.empty() && w.mergeEvents[0].kind == MergeEvent::Kind::NoCommonVersion, !c.bBaseKnown);
        }
        // What a merge needed a choice on is listed again on request.
        const size_t listed = w.mergeEvents.size();
        EXPECT_EQ(w.window.HasMergeChoices(), listed > 0);
        w.mergeEvents.clear();
        w.window.ShowMergeChoices();
        EXPECT_EQ(w.mergeEvents.size(), listed);
        shared.keeping.Writer().Drain();
        // Unsaved work that opened is kept at once, under the window's key (newest first).
        EXPECT_EQ(KeptBytes(files.store),
                  (c.bModified ? NotebookBytes(w.Doc().TakeSnapshot()) : "") + (c.bKeptStays ? Bytes("kept:1") : ""));
        EXPECT_PROMPTS_DONE(shared);
    }
}

// Save finds the file changed by another program and the user merges: a window of its own takes
// the merged notebook, unsaved, and the old one closes. The user's typing is kept for recovery by
// the new window before the old one lets go of it: never a moment when a crash loses it.
TEST(NotebookWindow, SaveMergeHandsTheWorkToTheMergedWindowBeforeTheOldOneLetsGo)
{
    Files files;
    WriteBytes(files.notebook, Bytes("a:1|b:2"));
    ScriptedWindow::Shared shared(files.state);
    ScriptedWindow w(shared);
    ASSERT_EQ(w.window.Open(files.notebook).status, ReadReport::Status::Ok);
    Type(w, "typed\r");
    WriteBytes(files.notebook, Bytes("a:1|b:2|c:3"));

    shared.prompts.ExpectSaveOver(DescribeSaveOver(false, "a.not"), SaveOverAnswer::Merge);
    EXPECT_FALSE(w.window.Save());
    ScriptedWindow* pMerged = w.Made();
    ASSERT_NE(pMerged, nullptr);
    EXPECT_TRUE(pMerged->bShown);
    EXPECT_TRUE(w.bClosed);
    EXPECT_TRUE(w.window.IsClosed());
    EXPECT_EQ(Holds(*pMerged), Sketched("a:1|b:2,typed|c:3"));
    EXPECT_TRUE(pMerged->Doc().IsModified());
    EXPECT_EQ(pMerged->Doc().GetPathName(), files.notebook);
    // Written before Save returned, not after the keeper's delay.
    EXPECT_FALSE(pMerged->timer.IsActive());
    shared.keeping.Writer().Drain();
    EXPECT_EQ(KeptBytes(files.store), NotebookBytes(pMerged->Doc().TakeSnapshot()));

    // The merged window saves without a question: it knows the file as it merged it.
    EXPECT_TRUE(pMerged->window.Save());
    EXPECT_EQ(ReadBytes(files.notebook), NotebookBytes(pMerged->Doc().TakeSnapshot()));
    shared.keeping.Writer().Drain();
    EXPECT_EQ(KeptBytes(files.store), "");
    EXPECT_PROMPTS_DONE(shared);
}

// The program killed right after Save > Merge returned: its typing is in the recovery folder.
TEST(NotebookWindow, AKillRightAfterAMergeLosesNoTyping)
{
    Files files;
    WriteBytes(files.notebook, Bytes("a:1"));
    const pid_t child = ::fork();
    if (child == 0) {
        // The writer's thread is the child's own.
        ScriptedWindow::Shared shared(files.state);
        ScriptedWindow w(shared);
        if (w.window.Open(files.notebook).status != ReadReport::Status::Ok)
            ::_exit(1);
        Type(w, "typed before the crash\r");
        WriteBytes(files.notebook, Bytes("a:1|c:3"));
        shared.prompts.ExpectSaveOver(DescribeSaveOver(false, "a.not"), SaveOverAnswer::Merge);
        w.window.Save();
        ::kill(::getpid(), SIGKILL);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL);
    EXPECT_NE(KeptBytes(files.store).find("typed before the crash"), std::string::npos);
}

// Closing asks about unsaved work: Cancel keeps the window and its kept work, Discard lets the
// kept work go with the window, Save writes it first. A clean notebook closes without a question.
TEST(NotebookWindow, ClosingWithUnsavedWorkAsksAndKeepsTheWorkUntilTheUserLetsItGo)
{
    struct Case
    {
        SaveChangesAnswer answer;
        bool bCloses;
        bool bKeptAfter;
        std::string file;
    };
    for (const Case& c : { Case { SaveChangesAnswer::Cancel, false, true, "a:1" },
                           Case { SaveChangesAnswer::Discard, true, false, "a:1" },
                           Case { SaveChangesAnswer::Save, true, false, "a:1,typed" } }) {
        Files files;
        WriteBytes(files.notebook, Bytes("a:1"));
        ScriptedWindow::Shared shared(files.state);
        ScriptedWindow w(shared);
        ASSERT_EQ(w.window.Open(files.notebook).status, ReadReport::Status::Ok);
        Type(w, "typed\r");
        // The change is kept once the user stops typing for a moment.
        ASSERT_TRUE(w.timer.IsActive());
        w.timer.Fire();
        shared.keeping.Writer().Drain();
        ASSERT_EQ(KeptBytes(files.store), Bytes("a:1,typed"));

        shared.prompts.ExpectSaveChanges(DescribeSaveChanges(files.notebook), c.answer);
        const bool bCloses = w.window.SaveModified();
        EXPECT_EQ(bCloses, c.bCloses);
        EXPECT_EQ(w.broughtToFront, 1);
        if (bCloses)
            w.window.Close();
        shared.keeping.Writer().Drain();
        EXPECT_EQ(KeptBytes(files.store).empty(), !c.bKeptAfter);
        EXPECT_EQ(ReadBytes(files.notebook), Bytes(c.file));
        EXPECT_PROMPTS_DONE(shared);
    }
    Files files;
    WriteBytes(files.notebook, Bytes("a:1"));
    ScriptedWindow::Shared shared(files.state);
    ScriptedWindow w(shared);
    ASSERT_EQ(w.window.Open(files.notebook).status, ReadReport::Status::Ok);
    EXPECT_TRUE(w.window.SaveModified());
}

// While the user is asked about another program's change, or about a read-only file, nothing
// holds the writer's lock: a quillbox-cli command can write meanwhile, and the user is asked
// again about what it wrote.
TEST(NotebookWindow, NoQuestionWaitsWhileTheWritersLockIsHeld)
{
    Files files;
    WriteBytes(files.notebook, Bytes("a:1"));
    ScriptedWindow::Shared shared(files.state);
    ScriptedWindow w(shared);
    ASSERT_EQ(w.window.Open(files.notebook).status, ReadReport::Status::Ok);
    Type(w, "typed\r");
    WriteBytes(files.notebook, Bytes("a:1|b:2"));
    bool bFreeAtEveryQuestion = true;
    int questions = 0;
    shared.prompts.OnEachPrompt([&] {
        WriteLock other;
        FileProblem busy;
        bFreeAtEveryQuestion = other.Take(files.notebook, std::chrono::milliseconds(0), busy) && bFreeAtEveryQuestion;
        // A command writes the notebook while the first question waits.
        if (++questions == 1)
            WriteBytes(files.notebook, Bytes("a:1|b:2|c:3"));
    });
    shared.prompts.ExpectSaveOver(DescribeSaveOver(false, "a.not"), SaveOverAnswer::Save);
    shared.prompts.ExpectSaveOver(DescribeSaveOver(false, "a.not"), SaveOverAnswer::Save);
    EXPECT_TRUE(w.window.Save());
    EXPECT_TRUE(bFreeAtEveryQuestion);
    EXPECT_EQ(questions, 2);
    EXPECT_EQ(ReadBytes(files.notebook), Bytes("a:1,typed"));
    EXPECT_PROMPTS_DONE(shared);
}

// Back at the front, a clean notebook whose file another program changed is read again in a
// window of its own when the user wants; a modified one is only warned, once.
TEST(NotebookWindow, AChangedFileIsReadAgainOnlyWhenTheUserWants)
{
    for (const bool bModified : { false, true }) {
        SCOPED_TRACE(bModified ? "modified" : "clean");
        Files files;
        WriteBytes(files.notebook, Bytes("a:1"));
        ScriptedWindow::Shared shared(files.state);
        ScriptedWindow w(shared);
        ASSERT_EQ(w.window.Open(files.notebook).status, ReadReport::Status::Ok);
        if (bModified)
            Type(w, "typed\r");
        WriteBytes(files.notebook, Bytes("a:1|b:2"));
        if (bModified)
            shared.prompts.ExpectMessage(DescribeMessage({ Message::Kind::ChangedWhileModified, {}, "a.not" }, "a.not"));
        else
            shared.prompts.ExpectYesNo(DescribeQuestion({ Question::Kind::ReadAgain, "a.not" }, "a.not"), true);
        w.window.CheckDisk();
        w.window.CheckDisk();
        EXPECT_EQ(w.bClosed, !bModified);
        EXPECT_EQ(w.reopened, bModified ? std::vector<std::string> {} : std::vector { files.notebook });
        EXPECT_PROMPTS_DONE(shared);
    }
}

// A conflict copy that a sync tool leaves while the notebook is open: back at the front, a clean
// notebook opens again, which offers it; one offered already (at the open) is not offered again.
TEST(NotebookWindow, AConflictCopyThatComesWhileTheNotebookIsOpenIsOfferedThen)
{
    Files files;
    WriteBytes(files.notebook, Bytes("a:1"));
    ScriptedWindow::Shared shared(files.state);
    ScriptedWindow w(shared);
    ASSERT_EQ(w.window.Open(files.notebook).status, ReadReport::Status::Ok);
    w.window.CheckDisk();
    EXPECT_TRUE(w.reopened.empty());
    WriteBytes(files.dir.Path("a.sync-conflict-20240102-030405-DEV.not"), Bytes("a:1|c:3"));
    w.window.CheckDisk();
    EXPECT_TRUE(w.bClosed);
    EXPECT_EQ(w.reopened, std::vector { files.notebook });

    const std::string conflict = files.dir.Path("a.sync-conflict-20240102-030405-DEV.not");
    shared.prompts.ExpectYesNo(DescribeQuestion({ Question::Kind::MergeConflictCopies, FileNameOf(conflict) }, FileNameOf(conflict)),
                               false);
    ScriptedWindow again(shared);
    ASSERT_EQ(again.window.Open(files.notebook).status, ReadReport::Status::Ok);
    again.window.CheckDisk();
    EXPECT_TRUE(again.reopened.empty());
    EXPECT_PROMPTS_DONE(shared);
}

// The lock file beside a notebook names the Quillboxes that have it open. One of this machine is
// told of at every open while its claim is held; a name that no process here holds (an ended
// window's, or one a sync tool copied) is nobody's. One of another machine cannot be checked from
// here and stays behind when it ends there, so it is told of once a run, not at every open.
TEST(NotebookWindow, OpeningTellsOfAQuillboxOfAnotherMachineOnceARun)
{
    const LockOwner self = LockOwner::Self();
    const LockOwner live { self.host, static_cast<long>(::getppid()), "someone" };
    const LockOwner laptop { "laptop", 4242, "ann" };
    const Message here { Message::Kind::OpenElsewhere, {}, "a.not", live };
    const Message there { Message::Kind::MayBeOpenElsewhere, {}, "a.not", laptop };
    struct Case
    {
        const char* name;
        std::vector<LockOwner> named; // in the lock file before the first open
        bool bClaimed;                // another program holds the lock file's claim, as a window does
        std::vector<std::optional<Message>> told; // at each open, one after the other
    };
    const std::vector<Case> cases = {
        { "a Quillbox of another machine", { laptop }, false, { there, std::nullopt, std::nullopt } },
        { "an ended Quillbox of this machine", { { self.host, GonePid(), self.user } }, false, { std::nullopt, std::nullopt } },
        { "a process of this machine without the claim", { live }, false, { std::nullopt, std::nullopt } },
        { "a Quillbox of this machine", { live }, true, { here, here } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Files files;
        WriteBytes(files.notebook, Bytes("a:1"));
        const std::string lock = files.dir.Path(".a.not.lock");
        std::string names;
        for (const LockOwner& owner : c.named)
            names += owner.host + "\n" + std::to_string(owner.pid) + "\n" + owner.user + "\n";
        WriteBytes(lock, names);
        const int claim = c.bClaimed ? ::open(lock.c_str(), O_RDWR | O_CLOEXEC) : -1;
        struct flock byteZero { .l_type = F_RDLCK, .l_whence = SEEK_SET, .l_start = 0, .l_len = 1 };
        ASSERT_TRUE(!c.bClaimed || ::fcntl(claim, F_OFD_SETLK, &byteZero) == 0);

        ScriptedWindow::Shared shared(files.state);
        for (const std::optional<Message>& told : c.told) {
            if (told)
                shared.prompts.ExpectMessage(DescribeMessage(*told, "a.not"));
            ScriptedWindow w(shared);
            ASSERT_EQ(w.window.Open(files.notebook).status, ReadReport::Status::Ok);
            EXPECT_PROMPTS_DONE(shared);
        }
        if (claim >= 0)
            ::close(claim);
    }
}

// History: what an earlier version held comes back as an unsaved change, found by its words or
// chosen by version and folder: a note at the end of its folder (or in its folder restored
// around it, when that is gone too), a folder with its subfolders under its old parent, the
// whole version; nothing changes when nothing is chosen.
TEST(NotebookWindow, HistoryPutsBackWhatAnEarlierVersionHeld)
{
    const std::string first = "Main<a:1|gone:dentist>[Old<o:1|k:dentist too>[Below<b:1>]],Trash{F3 Move}";
    const std::string now = "Main<a:1|n:2>,Trash{F3 Move}";
    const auto choose = [](size_t version, const char* path) {
        return [=](CHistoryDlg& dlg) {
            dlg.SelectVersion(version);
            const auto& folders = dlg.Folders();
            const auto found = std::find(folders.begin(), folders.end(), path);
            EXPECT_NE(found, folders.end());
            dlg.SelectFolder(size_t(found - folders.begin()));
        };
    };
    const auto find = [](std::u16string typed) { return [=](CHistoryDlg& dlg) { dlg.Find(typed); }; };
    struct Case
    {
        const char* name;
        std::function<void(CHistoryDlg&)> pick;
        CHistoryDlg::Restore what;
        std::string holds;
    };
    const Case cases[] = {
        { "a deleted note found by its words, in either case", find(u"DENTIST"), CHistoryDlg::Restore::Note,
          "Main<a:1|n:2|gone:dentist>,Trash{F3 Move}" },
        { "a note of a deleted folder, which comes back around it", find(u"dentist too"), CHistoryDlg::Restore::Note,
          "Main<a:1|n:2>[Old<k:dentist too>],Trash{F3 Move}" },
        { "a deleted folder found by its name, with its subfolders", find(u"old"), CHistoryDlg::Restore::Folder,
          "Main<a:1|n:2>[Old<o:1|k:dentist too>[Below<b:1>]],Trash{F3 Move}" },
        { "a folder chosen in an earlier version", choose(1, "Main/Old/Below"), CHistoryDlg::Restore::Folder,
          "Main<a:1|n:2>[Below<b:1>],Trash{F3 Move}" },
        { "the whole earlier version", choose(1, "Main"), CHistoryDlg::Restore::Notebook, first },
        { "words no lost note holds", find(u"nowhere"), CHistoryDlg::Restore::Note, now },
        { "words only a note kept holds", find(u"2"), CHistoryDlg::Restore::Note, now },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Files files;
        ScriptedWindow::Shared shared(files.state);
        const auto open = [&](const std::string& sketch) {
            WriteBytes(files.notebook, NotebookBytes(ToSnapshot(ParseSketch(sketch))));
            auto pWindow = std::make_unique<ScriptedWindow>(shared);
            EXPECT_EQ(pWindow->window.Open(files.notebook).status, ReadReport::Status::Ok);
            return pWindow;
        };
        open(first);
        const auto pWindow = open(now);
        shared.prompts.ExpectHistory([&](CHistoryDlg& dlg) {
            EXPECT_EQ(dlg.Versions().size(), 2u);
            EXPECT_EQ(dlg.Versions()[0].foldersRemoved, (std::vector<std::string> { "Main/Old", "Main/Old/Below" }));
            c.pick(dlg);
            dlg.SetRestore(c.what);
            return true;
        });
        pWindow->window.ShowHistory();
        EXPECT_EQ(Holds(*pWindow), c.holds);
        EXPECT_EQ(pWindow->Doc().IsModified(), c.holds != now);
        EXPECT_PROMPTS_DONE(shared);
    }
}

// The History of the selected folder lists only the versions that changed it or those below it.
TEST(NotebookWindow, HistoryOfTheSelectedFolder)
{
    Files files;
    ScriptedWindow::Shared shared(files.state);
    for (const char* sketch : { "Main<a:1>[Ideas<i:1>],Trash{F3 Move}", "Main<a:1>[Ideas<i:2>],Trash{F3 Move}",
                                "Main<a:2>[Ideas<i:2>],Trash{F3 Move}" }) {
        WriteBytes(files.notebook, NotebookBytes(ToSnapshot(ParseSketch(sketch))));
        ScriptedWindow w(shared);
        ASSERT_EQ(w.window.Open(files.notebook).status, ReadReport::Status::Ok);
    }
    ScriptedWindow w(shared);
    ASSERT_EQ(w.window.Open(files.notebook).status, ReadReport::Status::Ok);
    w.Doc().GetTreeView()->GetTreeCtrl().SelectItem(w.Doc().FindFolderByName("Ideas")->m_hItem);
    shared.prompts.ExpectHistory([&](CHistoryDlg& dlg) {
        EXPECT_EQ(dlg.Versions().size(), 3u);
        dlg.SetFolderOnly(true);
        EXPECT_EQ(dlg.Versions().size(), 1u);
        EXPECT_EQ(dlg.Versions()[0].foldersChanged, std::vector<std::string> { "Main/Ideas" });
        EXPECT_EQ(dlg.Folders()[*dlg.SelectedFolder()], "Main/Ideas");
        return false;
    });
    w.window.ShowHistory();
    EXPECT_PROMPTS_DONE(shared);
}

// History Size shows the history's limit and sets it on OK alone; a history that cannot be
// reached is said, with no dialog.
TEST(NotebookWindow, HistorySizeShowsTheLimitAndSetsItOnOkAlone)
{
    Files files;
    ScriptedWindow::Shared shared(files.state);
    ScriptedWindow w(shared);
    const struct
    {
        bool bOk;
        int typed;
        int shown;
        int after;
    } steps[] = { { true, 5, 1024, 5 }, { false, 7, 5, 5 } };
    for (const auto& step : steps) {
        int shown = 0;
        shared.prompts.ExpectHistoryPrefs([&](CHistoryPrefsDlg& dlg) {
            shown = dlg.m_nMegabytes;
            dlg.m_nMegabytes = step.typed;
            return step.bOk;
        });
        w.window.ShowHistoryPrefs();
        EXPECT_EQ(shown, step.shown);
        HistoryStore history(files.state + "/history");
        FileProblem problem;
        EXPECT_EQ(ReadHistoryLimit(history, problem), step.after);
    }
    EXPECT_PROMPTS_DONE(shared);

    // The state folder is a file.
    WriteBytes(files.notebook, Bytes("a:1"));
    ScriptedWindow::Shared unreachable(files.notebook);
    ScriptedWindow broken(unreachable);
    FileProblem problem;
    EXPECT_FALSE(HistoryStore(files.notebook + "/history").MaxBytes(problem));
    unreachable.prompts.ExpectMessage(DescribeProblem(problem));
    broken.window.ShowHistoryPrefs();
    EXPECT_PROMPTS_DONE(unreachable);
}
