#include "app/RecoveryFiles.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QPointer>
#include <QThreadPool>
#include <algorithm>
#include <mutex>
#include <set>

#include "format/NotebookWriter.h"
#include "doc/CQuillboxDoc.h"
#include "qt/ProblemText.h"

// What the last write of a notebook's recovery file found. The worker sets it; the window's
// thread hears of it through `onChange`, which the owner clears when it goes.
struct NotebookRecovery::Status
{
    std::mutex mutex;
    std::optional<FileProblem> problem;
    std::function<void(const std::optional<FileProblem>&)> onChange;

    void Set(std::optional<FileProblem> found)
    {
        const std::lock_guard lock(mutex);
        problem = std::move(found);
    }
    // On the window's thread.
    void Tell()
    {
        std::optional<FileProblem> found;
        {
            const std::lock_guard lock(mutex);
            found = problem;
        }
        if (onChange)
            onChange(found);
    }
};

namespace {

constexpr int kDefaultDelayMs = 3000;
constexpr int kLongestDelayMs = 30000;

// QUILLBOX_AUTOSAVE_MS shortens the wait after the last change (for tests and the impatient).
int AutosaveDelayMs()
{
    bool bOk = false;
    const int ms = qEnvironmentVariableIntValue("QUILLBOX_AUTOSAVE_MS", &bOk);
    return bOk && ms > 0 ? std::min(ms, kLongestDelayMs) : kDefaultDelayMs;
}

std::set<NotebookRecovery*>& LiveRecoveries()
{
    static std::set<NotebookRecovery*> live;
    return live;
}

std::set<std::string>& LiveKeys()
{
    static std::set<std::string> keys;
    return keys;
}

// One worker writes and removes every recovery file, so a removal never overtakes a write.
QThreadPool& Writer()
{
    static QPointer<QThreadPool> pPool;
    if (!pPool) {
        pPool = new QThreadPool(QCoreApplication::instance());
        pPool->setMaxThreadCount(1);
    }
    return *pPool;
}

// Writes the work and tells the window's thread how it went; false when it could not be kept.
bool Keep(const RecoveryStore& store, const RecoveryEntry& entry, const NotebookSnapshot& snapshot,
          const std::shared_ptr<NotebookRecovery::Status>& pStatus)
{
    FileProblem problem;
    const bool bKept = store.Write(entry, [&](const ChunkSink& sink) { return WriteNotebook(snapshot, sink); }, problem);
    if (!bKept)
        qWarning("%s", qUtf8Printable(ProblemText(problem)));
    pStatus->Set(bKept ? std::nullopt : std::optional(problem));
    QMetaObject::invokeMethod(qApp, [pStatus] { pStatus->Tell(); }, Qt::QueuedConnection);
    return bKept;
}

} // namespace

NotebookRecovery::NotebookRecovery(const CQuillboxDoc& doc)
    : m_doc(doc)
    , m_strKey(Store().NewKey())
    , m_pStatus(std::make_shared<Status>())
{
    m_delay.setSingleShot(true);
    QObject::connect(&m_delay, &QTimer::timeout, [this] { WriteLater(); });
    LiveRecoveries().insert(this);
    LiveKeys().insert(m_strKey);
}

NotebookRecovery::~NotebookRecovery()
{
    m_pStatus->onChange = nullptr;
    LiveRecoveries().erase(this);
    LiveKeys().erase(m_strKey);
}

void NotebookRecovery::SetStatusListener(std::function<void(const std::optional<FileProblem>&)> listener)
{
    m_pStatus->onChange = std::move(listener);
}

RecoveryStore NotebookRecovery::Store()
{
    return RecoveryStore(RecoveryStore::DefaultDir());
}

RecoveryEntry NotebookRecovery::Entry() const
{
    RecoveryEntry entry;
    entry.key = m_strKey;
    entry.notebookPath = m_doc.GetPathName();
    entry.savedAt = QDateTime::currentMSecsSinceEpoch();
    entry.writer = LockOwner::Self();
    return entry;
}

void NotebookRecovery::OnIdle()
{
    if (!m_doc.IsModified()) {
        Discard();
        return;
    }
    if (!m_delay.isActive())
        m_sinceFirstChange.start();
    const qint64 left = kLongestDelayMs - m_sinceFirstChange.elapsed();
    m_delay.start(static_cast<int>(std::clamp<qint64>(left, 0, AutosaveDelayMs())));
}

void NotebookRecovery::WriteLater()
{
    m_bKept = true;
    // The window only takes the snapshot, which shares the folder texts; the worker makes the bytes.
    Writer().start([store = Store(), entry = Entry(), snapshot = m_doc.TakeSnapshot(), pStatus = m_pStatus] {
        Keep(store, entry, snapshot, pStatus);
    });
}

bool NotebookRecovery::WriteNow()
{
    if (!m_doc.IsModified())
        return true;
    m_delay.stop();
    Writer().waitForDone();
    m_bKept = true;
    return Keep(Store(), Entry(), m_doc.TakeSnapshot(), m_pStatus);
}

void NotebookRecovery::Discard()
{
    m_delay.stop();
    if (!m_bKept)
        return;
    m_bKept = false;
    // Nothing unsaved is left to keep, so nothing is missing.
    m_pStatus->Set(std::nullopt);
    m_pStatus->Tell();
    Writer().start([store = Store(), key = m_strKey] { store.Remove(key); });
}

bool NotebookRecovery::WriteAll()
{
    bool bAllKept = true;
    for (NotebookRecovery* pRecovery : LiveRecoveries())
        bAllKept = pRecovery->WriteNow() && bAllKept;
    return bAllKept;
}

RecoveryOffer NotebookRecovery::Offer(Prompts& prompts)
{
    // Files still being written belong to this program's windows; the list waits for them.
    Writer().waitForDone();
    return RecoveryOffer(Store(), prompts, [](const std::string& key) { return LiveKeys().count(key) != 0; });
}
