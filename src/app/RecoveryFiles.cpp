#include "app/RecoveryFiles.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMessageBox>
#include <QSessionManager>
#include <QSocketNotifier>
#include <QThreadPool>
#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <mutex>
#include <set>

#include <sys/socket.h>
#include <unistd.h>

#include "app/CChildFrame.h"
#include "app/CMainFrame.h"
#include "doc/CQuillboxDoc.h"
#include "qt/FilePaths.h"
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
    const bool bKept = store.Write(entry, [&](const ChunkSink& sink) { return snapshot.Write(sink); }, problem);
    if (!bKept)
        qWarning("%s", qUtf8Printable(ProblemText(problem)));
    pStatus->Set(bKept ? std::nullopt : std::optional(problem));
    QMetaObject::invokeMethod(qApp, [pStatus] { pStatus->Tell(); }, Qt::QueuedConnection);
    return bKept;
}

int g_signalPipe[2] = { -1, -1 };

void OnTerminationSignal(int)
{
    const int saved = errno;
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(g_signalPipe[0], &byte, 1);
    errno = saved;
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

int RecoverAtStart(CMainFrame& frame, const QStringList& opening)
{
    std::vector<std::string> paths;
    for (const QString& file : opening)
        paths.push_back(EncodePath(QFileInfo(file).absoluteFilePath()));
    return NotebookRecovery::Offer(frame.GetPrompts()).OfferAtStart(paths, [&frame](const RecoveryEntry& entry) {
        auto* pChild = new CChildFrame(frame);
        const ReadReport report = pChild->OnRecoverDocument(entry);
        if (!report.Opened()) {
            delete pChild;
            frame.GetPrompts().ReportProblem(report.problem);
            return false;
        }
        frame.AddChild(pChild);
        return true;
    });
}

SessionGuard::SessionGuard(CMainFrame& frame)
    : m_frame(frame)
{
    if (g_signalPipe[0] < 0 && ::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, g_signalPipe) != 0)
        qWarning("Cannot watch for termination signals: %s", std::strerror(errno));
    if (g_signalPipe[0] >= 0) {
        m_pNotifier = new QSocketNotifier(g_signalPipe[1], QSocketNotifier::Read, this);
        connect(m_pNotifier, &QSocketNotifier::activated, this, &SessionGuard::OnSignal);
        struct sigaction action {};
        action.sa_handler = OnTerminationSignal;
        sigemptyset(&action.sa_mask);
        action.sa_flags = SA_RESTART;
        ::sigaction(SIGTERM, &action, nullptr);
        ::sigaction(SIGHUP, &action, nullptr);
    }

    connect(qApp, &QGuiApplication::commitDataRequest, this, [this](QSessionManager& manager) {
        if (manager.allowsInteraction()) {
            for (CChildFrame* pChild : m_frame.Children()) {
                if (!pChild->SaveModified()) {
                    manager.cancel();
                    break;
                }
            }
        }
        NotebookRecovery::WriteAll();
    });
    connect(qApp, &QGuiApplication::saveStateRequest, this, [] { NotebookRecovery::WriteAll(); });
}

SessionGuard::~SessionGuard()
{
    struct sigaction action {};
    action.sa_handler = SIG_DFL;
    sigemptyset(&action.sa_mask);
    ::sigaction(SIGTERM, &action, nullptr);
    ::sigaction(SIGHUP, &action, nullptr);
}

void SessionGuard::OnSignal()
{
    char byte = 0;
    [[maybe_unused]] const ssize_t count = ::read(g_signalPipe[1], &byte, 1);
    if (NotebookRecovery::WriteAll()) {
        m_bEnding = true;
        // Not quit(): that closes the windows first, and the save question would hold the program.
        QCoreApplication::exit(0);
        return;
    }
    // Ending now would lose the work: the program stays, and says so where the user looks.
    qWarning("Quillbox was asked to end, but the unsaved work could not be kept for recovery: it stays open.");
    if (m_pUnkeptWarning) {
        m_pUnkeptWarning->raise();
        return;
    }
    m_pUnkeptWarning = new QMessageBox(QMessageBox::Warning, QStringLiteral("Quillbox"),
                                       QStringLiteral("Quillbox was asked to end, but the unsaved work could not be kept "
                                                      "for recovery, so Quillbox stays open and nothing is lost.\n\n"
                                                      "Save your notebooks, then quit."),
                                       QMessageBox::Ok, &m_frame);
    m_pUnkeptWarning->setObjectName(QStringLiteral("unkeptOnEndWarning"));
    m_pUnkeptWarning->setAttribute(Qt::WA_DeleteOnClose);
    m_pUnkeptWarning->show();
}
