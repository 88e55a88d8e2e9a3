#pragma once

#include <QMessageBox>
#include <QObject>
#include <QPointer>

class CMainFrame;
class QSocketNotifier;

// Writes every modified notebook's recovery file when the program is told to end (SIGTERM,
// SIGHUP: then it quits) and when the desktop session ends (after the save question, as any
// editor asks it, when the session allows questions). When the work cannot be kept, the program
// stays and says so rather than end with the work unsaved.
class SessionGuard : public QObject
{
    Q_OBJECT
public:
    explicit SessionGuard(CMainFrame& frame);
    ~SessionGuard() override;

    // A signal told the program to end. A question open at that moment returns unanswered, and
    // a start-up still running must not go on to the event loop, which would forget it.
    bool IsEnding() const { return m_bEnding; }

private:
    void OnSignal();

    CMainFrame& m_frame;
    QSocketNotifier* m_pNotifier = nullptr;
    QPointer<QMessageBox> m_pUnkeptWarning;
    bool m_bEnding = false;
};
