#pragma once

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <string>

#include "disk/RecoveryOffer.h"
#include "history/KeptHistory.h"
#include "model/NotebookSnapshot.h"
#include "storage/BackgroundWriter.h"
#include "storage/RecoveryStore.h"
#include "storage/HistoryStore.h"

class Prompts;
class UnsavedWork;

// The version of its notebook a window's work went on from, as the history keeps it: known once
// the keeping's writer has kept it (0 until then, or when it could not be kept).
struct BaseVersion
{
    std::atomic<int64_t> id = 0;
};

// The program's keeping of what its windows must not lose: the recovery folder where each
// window's unsaved work is kept, the history of the notebooks it read or saved (the base of a
// later merge), and the one thread that writes both, in order, so that a removal never overtakes
// a write. Whatever reads what it writes waits for the writes under way first.
class WorkKeeping
{
public:
    WorkKeeping(RecoveryStore store, HistoryStore history);
    // Waits for every write under way.
    ~WorkKeeping();
    WorkKeeping(const WorkKeeping&) = delete;
    WorkKeeping& operator=(const WorkKeeping&) = delete;

    const RecoveryStore& Store() const { return m_store; }
    BackgroundWriter& Writer() { return m_writer; }
    // Called on the writer's thread after a write of kept work, for the window's thread to look at
    // the keepers' status (UnsavedWork::OnIdle) soon.
    void SetWake(std::function<void()> wake) { m_wake = std::move(wake); }
    void Wake() const;

    // Keeps the notebook as read from, saved to or merged for `path` in its history, after every
    // write before it, and tells `pBase` its id once kept. A version helps a later merge and is
    // not the user's work: one that cannot be kept is none.
    void KeepVersion(const std::string& path, NotebookSnapshot snapshot, HistoryKind kind,
                     std::shared_ptr<BaseVersion> pBase = nullptr);
    // The newest version of the notebook at `path` both copies went on from, once every write is
    // done; nothing when none is kept.
    std::optional<NotebookSnapshot> CommonVersion(const std::string& path, const NotebookSnapshot& a, const NotebookSnapshot& b);
    // A kept version, once every write is done.
    std::optional<NotebookSnapshot> Version(int64_t id);
    // The kept versions of the notebook at `path` (or of its folder at `folderPath`), newest
    // first with what each changed, once every write is done.
    std::vector<VersionChange> Log(const std::string& path, const std::string& folderPath = {});
    // The history's limit in megabytes, once every write is done (ReadHistoryLimit).
    std::optional<int> HistoryLimit(FileProblem& problem);
    // Sets it once every write is done, for every Quillbox (SetHistoryLimit).
    bool SetHistoryLimit(int megabytes, FileProblem& problem);

    // Every window's unsaved work, now (a signal, the session's end); false when some of it could
    // not be kept.
    bool WriteAll();
    // What to offer of the work kept by Quillboxes that ended, once the writes under way (this
    // program's windows') are done.
    RecoveryOffer Offer(Prompts& prompts);

    // The keepers of this program's windows, and their keys.
    void Add(UnsavedWork* pWork);
    void Remove(UnsavedWork* pWork);

private:
    bool IsLive(const std::string& key) const;

    RecoveryStore m_store;
    HistoryStore m_history;
    std::function<void()> m_wake;
    std::set<UnsavedWork*> m_live;
    // Declared last: the thread ends, its queue run, before what its jobs use goes.
    BackgroundWriter m_writer;
};
