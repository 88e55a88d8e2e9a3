#include "disk/UnsavedWork.h"

#include <algorithm>
#include <cstdlib>
#include <mutex>

#include "disk/WorkKeeping.h"
#include "format/NotebookWriter.h"
#include "platform/Timer.h"

// What the last write of the notebook's recovery file found. The writer sets it; the window's
// thread reads it.
struct UnsavedWork::Status
{
    std::mutex mutex;
    std::optional<FileProblem> problem;
    bool bChanged = false;

    void Set(std::optional<FileProblem> found)
    {
        const std::lock_guard lock(mutex);
        problem = std::move(found);
        bChanged = true;
    }
    bool IsProblem()
    {
        const std::lock_guard lock(mutex);
        return problem.has_value();
    }
    // The status, when it changed since it was last taken.
    std::optional<std::optional<FileProblem>> TakeChange()
    {
        const std::lock_guard lock(mutex);
        if (!bChanged)
            return std::nullopt;
        bChanged = false;
        return problem;
    }
};

namespace {

using std::chrono::milliseconds;

constexpr milliseconds kDefaultDelay(3000);
constexpr milliseconds kLongestDelay(30000);

// QUILLBOX_AUTOSAVE_MS shortens the wait after the last change (for tests and the impatient).
milliseconds Delay()
{
    const char* pValue = std::getenv("QUILLBOX_AUTOSAVE_MS");
    const long ms = pValue ? std::strtol(pValue, nullptr, 10) : 0;
    return ms > 0 ? std::min(milliseconds(ms), kLongestDelay) : kDefaultDelay;
}

int64_t NowMs()
{
    return std::chrono::duration_cast<milliseconds>(std::chrono::system_clock::now().time_since_epoch()).count();
}

// Writes the work, with the version it went on from as kept by then; false when it could not be
// kept.
bool Keep(const RecoveryStore& store, RecoveryEntry entry, const NotebookSnapshot& snapshot, const BaseVersion* pBase,
          UnsavedWork::Status& status)
{
    entry.baseVersion = pBase ? pBase->id.load() : 0;
    FileProblem problem;
    const bool bKept = store.Write(entry, [&](const ChunkSink& sink) { return WriteNotebook(snapshot, sink); }, problem);
    status.Set(bKept ? std::nullopt : std::optional(problem));
    return bKept;
}

} // namespace

UnsavedWork::UnsavedWork(CQuillboxDoc& doc, WorkKeeping& keeping, Timer& timer)
    : m_doc(doc)
    , m_keeping(keeping)
    , m_timer(timer)
    , m_strKey(keeping.Store().NewKey())
    , m_pStatus(std::make_shared<Status>())
{
    m_keeping.Add(this);
    m_doc.AddListener(this);
}

UnsavedWork::~UnsavedWork()
{
    m_doc.RemoveListener(this);
    m_keeping.Remove(this);
    m_timer.Stop();
}

void UnsavedWork::SetStatusListener(std::function<void(const std::optional<FileProblem>&)> listener)
{
    m_onStatus = std::move(listener);
}

void UnsavedWork::OnIdle()
{
    if (const auto change = m_pStatus->TakeChange(); change && m_onStatus)
        m_onStatus(*change);
}

void UnsavedWork::OnDocEvent(DocEvent event)
{
    switch (event) {
    case DocEvent::Saved:
    case DocEvent::Closed:
        Discard();
        return;
    case DocEvent::Replaced:
        // Work that came from elsewhere is this window's to keep at once: whoever kept it before
        // may let go of it as soon as this returns.
        WriteNow();
        return;
    case DocEvent::Read:
    case DocEvent::Changed:
        break;
    }
    if (!m_doc.IsModified()) {
        Discard();
        return;
    }
    const auto now = std::chrono::steady_clock::now();
    if (!m_timer.IsActive())
        m_firstChange = now;
    const auto left = std::chrono::duration_cast<milliseconds>(kLongestDelay - (now - m_firstChange));
    m_timer.Start(std::clamp(left, milliseconds(0), Delay()), [this] { WriteLater(); });
}

RecoveryEntry UnsavedWork::Entry() const
{
    RecoveryEntry entry;
    entry.key = m_strKey;
    entry.notebookPath = m_doc.GetPathName();
    entry.savedAt = NowMs();
    entry.writer = LockOwner::Self();
    return entry;
}

void UnsavedWork::WriteLater()
{
    if (!m_doc.IsModified())
        return;
    m_bKept = true;
    // The window only takes the snapshot, which shares the folder texts; the writer makes the bytes.
    m_keeping.Writer().Post([&keeping = m_keeping, store = m_keeping.Store(), entry = Entry(),
                             snapshot = m_doc.TakeSnapshot(), pBase = m_pBase, pStatus = m_pStatus] {
        Keep(store, entry, snapshot, pBase.get(), *pStatus);
        keeping.Wake();
    });
}

bool UnsavedWork::WriteNow()
{
    if (!m_doc.IsModified())
        return true;
    m_timer.Stop();
    m_keeping.Writer().Drain();
    m_bKept = true;
    return Keep(m_keeping.Store(), Entry(), m_doc.TakeSnapshot(), m_pBase.get(), *m_pStatus);
}

bool UnsavedWork::IsKept() const
{
    return m_bKept && !m_pStatus->IsProblem();
}

void UnsavedWork::Discard()
{
    m_timer.Stop();
    if (!m_bKept)
        return;
    m_bKept = false;
    // Nothing unsaved is left to keep, so nothing is missing.
    m_pStatus->Set(std::nullopt);
    m_keeping.Writer().Post([store = m_keeping.Store(), key = m_strKey] { store.Remove(key); });
}
