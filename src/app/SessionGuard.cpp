#include "app/SessionGuard.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QSessionManager>
#include <QSocketNotifier>
#include <cerrno>
#include <csignal>
#include <cstring>

#include <sys/socket.h>
#include <unistd.h>

#include "app/CChildFrame.h"
#include "app/CMainFrame.h"
#include "disk/WorkKeeping.h"
#include "qt/PlainMessageBox.h"

namespace {

int g_signalPipe[2] = { -1, -1 };

void OnTerminationSignal(int)
{
    const int saved = errno;
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(g_signalPipe[0], &byte, 1);
    errno = saved;
}

} // namespace

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
                if (!pChild->GetWindow().SaveModified()) {
                    manager.cancel();
                    break;
                }
            }
        }
        m_frame.GetKeeping().WriteAll();
    });
    connect(qApp, &QGuiApplication::saveStateRequest, this, [this] { m_frame.GetKeeping().WriteAll(); });
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
    if (m_frame.GetKeeping().WriteAll()) {
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
    m_pUnkeptWarning = new PlainMessageBox(QMessageBox::Warning, tr("Quillbox"),
                                           tr("Quillbox was asked to end, but the unsaved work could not be kept "
                                              "for recovery, so Quillbox stays open and nothing is lost.\n\n"
                                              "Save your notebooks, then quit."),
                                           QMessageBox::Ok, &m_frame, QStringLiteral("unkeptOnEndWarning"));
    m_pUnkeptWarning->setAttribute(Qt::WA_DeleteOnClose);
    m_pUnkeptWarning->show();
}
