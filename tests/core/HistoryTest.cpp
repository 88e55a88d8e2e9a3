#include <gtest/gtest.h>

#include <chrono>

#include <signal.h>
#include <sqlite3.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include "NotebookFileTestFiles.h"
#include "history/KeptHistory.h"
#include "merge/DiskMerge.h"
#include "support/NotebookSketch.h"

namespace {

constexpr int64_t kHour = int64_t(3600) * 1000;
constexpr int64_t kDay = 24 * kHour;
// On a month's and a day's boundary, as the thinning counts them.
constexpr int64_t kNow = int64_t(700) * 30 * kDay;

NotebookSnapshot Sketch(const std::string& main)
{
    return ToSnapshot(ParseSketch("Main<" + main + ">,Trash{F3 Move}"));
}

// Main and three folders of large texts, the second `second`.
NotebookSnapshot Large(char second)
{
    NotebookSnapshot notebook = ToSnapshot(ParseSketch("Main<m:1>[A{F4 Copy},B,C],Trash{F3 Move}"));
    notebook.records[1].text = std::string(200000, 'a');
    notebook.records[2].text = std::string(200000, second);
    notebook.records[3].text = std::string(200000, 'c');
    notebook.encoding = TextEncoding::Kind::Windows1252;
    notebook.selectedName = "B";
    return notebook;
}

struct Store
{
    TempDir dir;
    HistoryStore store { dir.Path("state/quillbox/history") };
    FileProblem problem;

    int64_t Keep(const NotebookSnapshot& notebook, int64_t time, const std::string& path = "/n/a.not")
    {
        const std::optional<int64_t> id = KeepVersion(store, path, notebook, time, HistoryKind::Saved, problem);
        EXPECT_TRUE(id.has_value()) << problem.detail;
        return id.value_or(0);
    }
};

// A version comes back as it was kept; the same again is not kept twice; a change to one folder
// costs that folder, not the notebook.
TEST(History, AVersionCostsWhatChangedAndComesBackWhole)
{
    Store history;
    const int64_t first = history.Keep(Large('b'), kNow);
    const uint64_t size = history.store.SizeOnDisk();
    EXPECT_EQ(history.Keep(Large('b'), kNow + 1), first);
    const int64_t second = history.Keep(Large('B'), kNow + 2);
    EXPECT_NE(second, first);
    EXPECT_LT(history.store.SizeOnDisk() - size, uint64_t(300000));

    for (const auto& [id, letter] : { std::pair(first, 'b'), std::pair(second, 'B') }) {
        const std::optional<NotebookSnapshot> kept = LoadVersion(history.store, id);
        ASSERT_TRUE(kept);
        EXPECT_TRUE(SameNotebook(*kept, Large(letter)));
        EXPECT_EQ(kept->selectedName, "B");
        EXPECT_EQ(kept->records[1].key->function, "Copy");
    }
    // A folder added at the top moves every record after it: each is still the one it was.
    std::string folders;
    for (int n = 0; n < 40; ++n)
        folders += (n ? "," : "") + std::string("F") + std::to_string(n) + "<n:" + std::to_string(n) + ">";
    NotebookSnapshot many = ToSnapshot(ParseSketch("Main<m:1>[" + folders + "],Trash{F3 Move}"));
    history.Keep(many, kNow + 3);
    NotebookSnapshot grown = many;
    grown.records.insert(grown.records.begin() + 1, { "Added", std::nullopt, 0, SharedText("------ a ------\r\n1\r\n") });
    ++grown.records[0].children;
    const std::optional<NotebookSnapshot> kept = LoadVersion(history.store, history.Keep(grown, kNow + 4));
    ASSERT_TRUE(kept);
    EXPECT_TRUE(SameNotebook(*kept, grown));

    // Another Quillbox reads what this one kept.
    HistoryStore other(history.dir.Path("state/quillbox/history"));
    EXPECT_EQ(other.List(HistoryKey("/n/a.not")).size(), 4u);
    EXPECT_TRUE(other.List(HistoryKey("/n/b.not")).empty());
}

// Every version of the last day, the newest of each day for a month, the newest of each month
// after.
TEST(History, OldVersionsThinOut)
{
    Store history;
    const std::vector<std::pair<int64_t, bool>> versions = {
        { kNow - 100 * kDay, false }, { kNow - 95 * kDay, true },        // one month
        { kNow - 3 * kDay - 2 * kHour, false }, { kNow - 3 * kDay - kHour, true }, // one day
        { kNow - 2 * kHour, true }, { kNow - kHour, true }, { kNow, true },
    };
    std::vector<int64_t> expected;
    for (size_t i = 0; i < versions.size(); ++i) {
        const int64_t id = history.Keep(Sketch("n:" + std::to_string(i)), versions[i].first);
        if (versions[i].second)
            expected.insert(expected.begin(), id);
    }
    std::vector<int64_t> kept;
    for (const HistoryVersion& version : history.store.List(HistoryKey("/n/a.not")))
        kept.push_back(version.id);
    EXPECT_EQ(kept, expected);
}

// The limit is kept in the store: one Quillbox lowers it, which takes the oldest versions at
// once, never a notebook's newest, and another keeps within it.
TEST(History, TheLimitOneStoreSetsBindsEveryStore)
{
    Store history;
    const std::string dir = history.dir.Path("state/quillbox/history");
    // Texts a and c are shared: five texts, within the default limit.
    for (const auto& [path, letter] : { std::pair("/n/a.not", 'b'), std::pair("/n/b.not", 'x'), std::pair("/n/a.not", 'y') })
        history.Keep(Large(letter), kNow, path);
    EXPECT_EQ(history.store.List(HistoryKey("/n/a.not")).size(), 2u);

    HistoryStore other(dir);
    ASSERT_TRUE(other.SetMaxBytes(900000, history.problem)) << history.problem.detail;
    EXPECT_EQ(history.store.List(HistoryKey("/n/a.not")).size(), 1u);
    EXPECT_EQ(history.store.List(HistoryKey("/n/b.not")).size(), 1u);
    EXPECT_LE(history.store.SizeOnDisk(), uint64_t(900000));
    // The first store bounds itself by what the other set: a's next version takes y's place.
    history.Keep(Large('z'), kNow + 1);
    EXPECT_EQ(history.store.List(HistoryKey("/n/a.not")).size(), 1u);
    EXPECT_EQ(history.store.MaxBytes(history.problem), uint64_t(900000));

    // A store an earlier Quillbox made has no table for the limit: the default holds, and a
    // limit can be set.
    sqlite3* pDb = nullptr;
    ASSERT_EQ(sqlite3_open((dir + "/history.db").c_str(), &pDb), SQLITE_OK);
    EXPECT_EQ(sqlite3_exec(pDb, "DROP TABLE settings", nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(pDb);
    HistoryStore earlier(dir);
    EXPECT_EQ(earlier.MaxBytes(history.problem), HistoryStore::kDefaultMaxBytes);
    EXPECT_TRUE(earlier.SetMaxBytes(uint64_t(5) << 20, history.problem));
    EXPECT_EQ(HistoryStore(dir).MaxBytes(history.problem), uint64_t(5) << 20);
}

// A Quillbox killed while it keeps versions leaves every version it finished whole, and the store
// takes the next.
TEST(History, AKillDuringAWriteLeavesEveryVersionWhole)
{
    Store history;
    // The writer goes with its round, however the round ends, and with the test's process.
    struct Writer
    {
        pid_t pid = ::fork();
        ~Writer()
        {
            if (pid > 0) {
                ::kill(pid, SIGKILL);
                int status = 0;
                ::waitpid(pid, &status, 0);
            }
        }
    };
    for (int round = 0; round < 4; ++round) {
        const Writer writer;
        const pid_t child = writer.pid;
        ASSERT_GE(child, 0);
        if (child == 0) {
            ::prctl(PR_SET_PDEATHSIG, SIGKILL);
            try {
                HistoryStore store(history.dir.Path("state/quillbox/history"));
                FileProblem problem;
                for (int n = 0;; ++n) {
                    NotebookSnapshot notebook = Large('b');
                    notebook.records[2].text = std::string(200000 + n, char('d' + round));
                    KeepVersion(store, "/n/a.not", notebook, kNow + round * 1000000 + n, HistoryKind::Saved, problem);
                }
            } catch (...) {
            }
            ::_exit(1);
        }
        // Killed at a different point of a write each round.
        const size_t wanted = 2 + round * 3;
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::minutes(2);
        while (HistoryStore(history.dir.Path("state/quillbox/history")).List(HistoryKey("/n/a.not")).size() < wanted) {
            int status = 0;
            ASSERT_EQ(::waitpid(child, &status, WNOHANG), 0) << "the writer ended by itself";
            ASSERT_LT(std::chrono::steady_clock::now(), deadline) << "the writer kept too few versions";
            ::usleep(1000);
        }
        ::usleep(useconds_t(round * 3000));
    }
    HistoryStore store(history.dir.Path("state/quillbox/history"));
    const std::vector<HistoryVersion> versions = store.List(HistoryKey("/n/a.not"));
    ASSERT_GE(versions.size(), 4u);
    for (const HistoryVersion& version : versions) {
        const std::optional<NotebookSnapshot> kept = LoadVersion(store, version.id);
        ASSERT_TRUE(kept);
        EXPECT_GE(kept->records[2].text.size(), 200000u);
        EXPECT_EQ(kept->records[1].text.View(), std::string(200000, 'a'));
    }
    EXPECT_TRUE(KeepVersion(store, "/n/a.not", Sketch("after:1"), kNow + 9000000, HistoryKind::Saved, history.problem));
}

// The version two copies both went on from, when each went on from the history in its own way.
TEST(History, TheCommonVersionIsTheNewestBothCopiesWentOnFrom)
{
    // The history: a added, b added, c added, a changed, b deleted.
    const std::vector<std::string> kept = { "a:1", "a:1|b:2", "a:1|b:2|c:3", "a:1x|b:2|c:3", "a:1x|c:3" };
    const struct
    {
        const char* what;
        std::string a, b;
        int expected; // the index in `kept`, -1 for none
    } cases[] = {
        { "the other copy started before a was changed", "a:1x|c:3|e:5", "a:1|b:2|c:3|d:4", 2 },
        { "both changed notes of one folder", "a:1x|c:3|e:5", "a:1|b:2y|c:3", 2 },
        { "the other copy changed c again: it started before c", "a:1x|b:2|c:3|e:5", "a:1|b:2|c:3z", 1 },
        // b may come back, but nothing either wrote is taken back.
        { "a deletion is as good a start as the version before it", "a:1x|c:3|e:5", "a:1x|b:2|c:3|d:4", 4 },
        { "both are the newest version", "a:1x|c:3", "a:1x|c:3", 4 },
        { "every note changed on the other side", "a:1x|b:2|c:3", "a:1y|b:2y|c:3y", -1 },
        { "a notebook of other notes", "a:1x|c:3", "p:9|q:8", -1 },
    };
    Store history;
    for (size_t i = 0; i < kept.size(); ++i)
        history.Keep(Sketch(kept[i]), kNow + int64_t(i));
    for (const auto& c : cases) {
        const std::optional<NotebookSnapshot> base = FindCommonVersion(history.store, "/n/a.not", Sketch(c.a), Sketch(c.b));
        if (c.expected < 0) {
            EXPECT_FALSE(base) << c.what;
            continue;
        }
        ASSERT_TRUE(base) << c.what;
        EXPECT_EQ(WriteSketch(FromSnapshot(*base)), WriteSketch(ParseSketch("Main<" + kept[size_t(c.expected)] + ">,Trash{F3 Move}")))
            << c.what;
    }
    EXPECT_FALSE(FindCommonVersion(history.store, "/n/other.not", Sketch("a:1"), Sketch("a:1")));
}

} // namespace
