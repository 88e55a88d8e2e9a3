// What becomes of the work a Quillbox that ended before saving kept: which work is offered, what
// each answer does, and what must remain afterwards.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <functional>

#include "../GonePid.h"
#include "NotebookFileTestFiles.h"
#include "disk/RecoveryOffer.h"
#include "support/ScriptedPrompts.h"
#include "words/ProblemWords.h"

namespace {

using Action = RecoveryAnswer::Action;

// Work kept for the notebook at `path` by a Quillbox of this host that has ended.
RecoveryEntry Keep(const RecoveryStore& store, const std::string& path, int64_t keptAt, const std::string& bytes)
{
    const LockOwner self = LockOwner::Self();
    RecoveryEntry entry { store.NewKey(), path, keptAt, { self.host, GonePid(), self.user } };
    FileProblem problem;
    EXPECT_TRUE(store.Write(entry, [&](const ChunkSink& sink) { return sink(bytes); }, problem)) << DescribeProblem(problem);
    return entry;
}

bool NoWindowOwnsIt(const std::string&)
{
    return false;
}

} // namespace

TEST(RecoveryOffer, KeptWorkGoesOnlyWhenTheFileHoldsItOrTheUserDiscardsIt)
{
    // What happened to the notebook's file after the work was kept.
    const std::function<void(const std::string&)> sameAsKept = [](const std::string& path) { WriteBytes(path, "kept"); };
    const std::function<void(const std::string&)> touched = [](const std::string& path) {
        ::utimensat(AT_FDCWD, path.c_str(), nullptr, 0);
    };
    const std::function<void(const std::string&)> changedElsewhere = [](const std::string& path) {
        WriteBytes(path, "saved, and a note another program added");
    };
    const std::function<void(const std::string&)> deleted = [](const std::string& path) { std::filesystem::remove(path); };
    struct Case
    {
        const char* name;
        std::function<void(const std::string&)> disk;
        // The user's answers in order: R recover, L decide later, D+ discard and confirm,
        // D- discard and take it back.
        std::vector<std::string> answers;
        bool bRecovered;
        bool bKept;
    };
    const std::vector<Case> cases = {
        { "the file holds exactly the kept work", sameAsKept, {}, false, false },
        { "touched after the work was kept", touched, { "L" }, false, true },
        { "another program added a note", changedElsewhere, { "R" }, true, true },
        { "another program added a note, decided later", changedElsewhere, { "L" }, false, true },
        { "the file is gone", deleted, { "L" }, false, true },
        { "discarded, and confirmed", changedElsewhere, { "D+" }, false, false },
        { "discard taken back", touched, { "D-", "L" }, false, true },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        const std::string notebook = dir.Path("a.not");
        WriteBytes(notebook, "saved");
        const RecoveryStore store(dir.Path("state/quillbox/recovery"));
        const RecoveryEntry kept = Keep(store, notebook, 1'700'000'000'000, "kept");
        c.disk(notebook);

        ScriptedPrompts prompts;
        for (const std::string& answer : c.answers) {
            const Action action = answer == "R" ? Action::Recover : answer == "L" ? Action::Later : Action::Discard;
            prompts.ExpectRecovery([&, action](const std::vector<KeptWork>& work) {
                EXPECT_EQ(work.size(), 1u);
                EXPECT_EQ(work.at(0).notebookPath, notebook);
                EXPECT_EQ(work.at(0).keptAt, 1'700'000'000'000);
                EXPECT_EQ(work.at(0).savedAt.has_value(), std::filesystem::exists(notebook));
                return RecoveryAnswer { action, 0 };
            });
            if (answer.starts_with("D"))
                prompts.ExpectConfirmDiscard(answer == "D+");
        }
        RecoveryOffer offer(store, prompts, NoWindowOwnsIt);
        const std::optional<RecoveryEntry> recovered = offer.OfferFor(notebook);
        prompts.ReportUnfinished();
        EXPECT_EQ(recovered.has_value(), c.bRecovered);
        EXPECT_EQ(recovered ? recovered->key : kept.key, kept.key);
        EXPECT_EQ(store.List().size(), c.bKept ? 1u : 0u);
        EXPECT_EQ(std::filesystem::exists(store.NotebookPath(kept.key)), c.bKept);
    }
}

TEST(RecoveryOffer, EveryPieceOfKeptWorkIsOfferedNewestFirstWhereItBelongs)
{
    TempDir dir;
    const std::string notebook = dir.Path("a.not");
    const std::string other = dir.Path("b.not");
    WriteBytes(notebook, "saved");
    WriteBytes(other, "saved");
    std::filesystem::create_symlink(notebook, dir.Path("link.not"));
    const RecoveryStore store(dir.Path("recovery"));
    const RecoveryEntry older = Keep(store, notebook, 1000, "older");
    // Kept under another name of the same file.
    const RecoveryEntry newer = Keep(store, dir.Path("link.not"), 3000, "newer");
    const RecoveryEntry untitled = Keep(store, "", 2000, "untitled");
    const RecoveryEntry elsewhere = Keep(store, other, 4000, "other");
    // Work a running Quillbox, or a window of this one, still looks after is nobody's to offer.
    const LockOwner self = LockOwner::Self();
    const RecoveryEntry running { store.NewKey(), notebook, 5000, { self.host, ::getppid(), self.user } };
    FileProblem problem;
    ASSERT_TRUE(store.Write(running, [](const ChunkSink& sink) { return sink("running"); }, problem));
    const RecoveryEntry own { store.NewKey(), notebook, 6000, self };
    ASSERT_TRUE(store.Write(own, [](const ChunkSink& sink) { return sink("own"); }, problem));
    const auto isOwnLive = [&](const std::string& key) { return key == own.key; };
    const auto times = [](const std::vector<KeptWork>& work) {
        std::vector<int64_t> kept;
        for (const KeptWork& piece : work)
            kept.push_back(piece.keptAt);
        return kept;
    };

    // Opening the notebook: its own work only, both pieces, and the older one chosen.
    ScriptedPrompts prompts;
    prompts.ExpectRecovery([&](const std::vector<KeptWork>& work) {
        EXPECT_EQ(times(work), (std::vector<int64_t> { 3000, 1000 }));
        return RecoveryAnswer { Action::Recover, 1 };
    });
    std::optional<RecoveryEntry> chosen = RecoveryOffer(store, prompts, isOwnLive).OfferFor(notebook);
    prompts.ReportUnfinished();
    ASSERT_TRUE(chosen);
    EXPECT_EQ(chosen->key, older.key);

    // A plain start: every notebook's work, untitled too; after the untitled work is recovered,
    // the rest is asked about again, and the user decides later.
    std::vector<std::string> recovered;
    prompts.ExpectRecovery([&](const std::vector<KeptWork>& work) {
        EXPECT_EQ(times(work), (std::vector<int64_t> { 4000, 3000, 2000, 1000 }));
        EXPECT_EQ(work.at(2).notebookPath, "");
        return RecoveryAnswer { Action::Recover, 2 };
    });
    prompts.ExpectRecovery([&](const std::vector<KeptWork>& work) {
        EXPECT_EQ(times(work), (std::vector<int64_t> { 4000, 3000, 1000 }));
        return RecoveryAnswer { Action::Later, 0 };
    });
    const int count = RecoveryOffer(store, prompts, isOwnLive).OfferAtStart({}, [&](const RecoveryEntry& entry) {
        recovered.push_back(entry.key);
        return true;
    });
    prompts.ReportUnfinished();
    EXPECT_EQ(count, 1);
    EXPECT_EQ(recovered, std::vector<std::string> { untitled.key });

    // Starting with the notebook to open: its work waits for it to open. Recovering work of a
    // notebook takes its other work off this round; the work not taken stays kept.
    prompts.ExpectRecovery([&](const std::vector<KeptWork>& work) {
        EXPECT_EQ(times(work), (std::vector<int64_t> { 4000, 2000 }));
        return RecoveryAnswer { Action::Recover, 0 };
    });
    prompts.ExpectRecovery([&](const std::vector<KeptWork>& work) {
        EXPECT_EQ(times(work), (std::vector<int64_t> { 2000 }));
        return RecoveryAnswer { Action::Later, 0 };
    });
    RecoveryOffer(store, prompts, isOwnLive).OfferAtStart({ dir.Path("link.not") }, [](const RecoveryEntry&) { return true; });
    prompts.ReportUnfinished();
    EXPECT_EQ(store.List().size(), 6u);
}
