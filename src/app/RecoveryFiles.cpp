#include "app/RecoveryFiles.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QSessionManager>
#include <QSocketNotifier>
#include <QThreadPool>
#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <set>

#include <sys/socket.h>
#include <unistd.h>

#include "app/CChildFrame.h"
#include "app/CMainFrame.h"
#include "doc/CQuillboxDoc.h"
#include "doc/FileIdentity.h"
#include "qt/ProblemText.h"

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

void Keep(const RecoveryStore& store, const RecoveryEntry& entry, const NotebookSnapshot& snapshot)
{
    FileProblem problem;
    if (!store.Write(entry, [&](const ChunkSink& sink) { return snapshot.Write(sink); }, problem))
        qWarning("%s", qUtf8Printable(ProblemText(problem)));
}

QString TimeText(const QDateTime& time)
{
    return time.toString(QStringLiteral("yyyy-MM-dd hh:mm:ss"));
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
{
    m_delay.setSingleShot(true);
    QObject::connect(&m_delay, &QTimer::timeout, [this] { WriteLater(); });
    LiveRecoveries().insert(this);
    LiveKeys().insert(m_strKey);
}

NotebookRecovery::~NotebookRecovery()
{
    LiveRecoveries().erase(this);
    LiveKeys().erase(m_strKey);
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
    Writer().start([store = Store(), entry = Entry(), snapshot = m_doc.TakeSnapshot()] { Keep(store, entry, snapshot); });
}

void NotebookRecovery::WriteNow()
{
    if (!m_doc.IsModified())
        return;
    m_delay.stop();
    Writer().waitForDone();
    m_bKept = true;
    Keep(Store(), Entry(), m_doc.TakeSnapshot());
}

void NotebookRecovery::Discard()
{
    m_delay.stop();
    if (!m_bKept)
        return;
    m_bKept = false;
    Writer().start([store = Store(), key = m_strKey] { store.Remove(key); });
}

void NotebookRecovery::WriteAll()
{
    for (NotebookRecovery* pRecovery : LiveRecoveries())
        pRecovery->WriteNow();
}

std::vector<RecoveryEntry> NotebookRecovery::Orphans()
{
    // Files still being written belong to a live window; the list waits for them.
    Writer().waitForDone();
    std::vector<RecoveryEntry> entries = Store().List();
    std::erase_if(entries, [](const RecoveryEntry& entry) {
        return !IsOrphaned(entry, [](const std::string& key) { return LiveKeys().count(key) != 0; });
    });
    return entries;
}

std::optional<RecoveryEntry> FindRecovery(const QString& path)
{
    const std::string encoded = QFile::encodeName(path).toStdString();
    const std::optional<FileIdentity> file = ReadFileIdentity(encoded, false);
    std::optional<RecoveryEntry> found;
    for (const RecoveryEntry& entry : NotebookRecovery::Orphans()) {
        if (entry.notebookPath.empty())
            continue;
        std::optional<FileIdentity> other;
        const bool bSameFile = entry.notebookPath == encoded
            || (file && (other = ReadFileIdentity(entry.notebookPath, false)) && other->SameFile(*file));
        if (!bSameFile)
            continue;
        // Work the file was saved over since is offered to no one: it would stay forever.
        if (file && IsSupersededBy(entry, *file))
            NotebookRecovery::Store().Remove(entry.key);
        else if (!found)
            found = entry;
    }
    return found;
}

RecoveryChoice AskAboutRecovery(QWidget* pParent, const RecoveryEntry& entry)
{
    const QString kept = TimeText(QDateTime::fromMSecsSinceEpoch(entry.savedAt));
    QString text;
    if (entry.notebookPath.empty()) {
        text = QStringLiteral("Quillbox found an untitled notebook that was not saved when Quillbox ended.\n\n"
                              "Unsaved work kept: %1\n\nRecover it?")
                   .arg(kept);
    } else {
        const QString path = QFile::decodeName(QByteArray::fromStdString(entry.notebookPath));
        const QFileInfo info(path);
        const QString saved = info.exists() ? TimeText(info.lastModified()) : QStringLiteral("the file is missing");
        text = QStringLiteral("Quillbox found unsaved work on \"%1\" that was not saved when Quillbox ended.\n\n"
                              "Unsaved work kept: %2\nLast saved: %3\n\n"
                              "Recover the unsaved work, or open the saved file?")
                   .arg(path, kept, saved);
    }
    QMessageBox box(QMessageBox::Question, QStringLiteral("Quillbox"), text, QMessageBox::NoButton, pParent);
    box.setObjectName(QStringLiteral("recoveryQuestion"));
    box.setInformativeText(QStringLiteral("Decide Later keeps the unsaved work until you choose."));
    QPushButton* pRecover = box.addButton(QStringLiteral("&Recover"), QMessageBox::AcceptRole);
    pRecover->setObjectName(QStringLiteral("recoverButton"));
    QPushButton* pSaved = box.addButton(entry.notebookPath.empty() ? QStringLiteral("&Discard") : QStringLiteral("&Open the Saved File"),
                                        QMessageBox::DestructiveRole);
    pSaved->setObjectName(QStringLiteral("useSavedButton"));
    QPushButton* pLater = box.addButton(QStringLiteral("Decide &Later"), QMessageBox::RejectRole);
    pLater->setObjectName(QStringLiteral("laterButton"));
    box.setDefaultButton(pRecover);
    box.setEscapeButton(pLater);
    box.exec();
    if (box.clickedButton() == pRecover)
        return RecoveryChoice::Recover;
    if (box.clickedButton() == pSaved)
        return RecoveryChoice::UseSaved;
    return RecoveryChoice::Later;
}

int OfferUntitledRecovery(CMainFrame& frame)
{
    int recovered = 0;
    for (const RecoveryEntry& entry : NotebookRecovery::Orphans()) {
        if (!entry.notebookPath.empty())
            continue;
        switch (AskAboutRecovery(&frame, entry)) {
        case RecoveryChoice::Recover: {
            auto* pChild = new CChildFrame(frame);
            const ReadReport report = pChild->OnRecoverDocument(entry);
            if (!report.Opened()) {
                delete pChild;
                frame.GetPrompts().ReportProblem(report.problem);
                break;
            }
            frame.AddChild(pChild);
            ++recovered;
            break;
        }
        case RecoveryChoice::UseSaved:
            NotebookRecovery::Store().Remove(entry.key);
            break;
        case RecoveryChoice::Later:
            break;
        }
    }
    return recovered;
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
    m_bEnding = true;
    NotebookRecovery::WriteAll();
    // Not quit(): that closes the windows first, and the save question would hold the program.
    QCoreApplication::exit(0);
}
