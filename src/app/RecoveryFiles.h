#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QTimer>
#include <optional>
#include <string>
#include <vector>

#include "doc/RecoveryStore.h"

class CMainFrame;
class CQuillboxDoc;
class QSocketNotifier;
class QWidget;

// Keeps one notebook's unsaved work in a recovery file: written a few seconds after the last
// change (never later than 30 s after the first unsaved one), serialised here and written by a
// worker thread; removed when the notebook is saved or closed without saving. Destroying it
// without Discard (the program ends on a signal) keeps the file.
class NotebookRecovery
{
public:
    explicit NotebookRecovery(const CQuillboxDoc& doc);
    ~NotebookRecovery();
    NotebookRecovery(const NotebookRecovery&) = delete;
    NotebookRecovery& operator=(const NotebookRecovery&) = delete;

    // After every event that may have changed the notebook.
    void OnIdle();
    // Writes a modified notebook's state now, on this thread.
    void WriteNow();
    // The notebook was saved or closed without saving.
    void Discard();

    // Every modified notebook's state, now: a signal or the session's end.
    static void WriteAll();
    // The recovery files no running program looks after, newest first.
    static std::vector<RecoveryEntry> Orphans();
    static RecoveryStore Store();

private:
    void WriteLater();
    RecoveryEntry Entry() const;

    const CQuillboxDoc& m_doc;
    std::string m_strKey;
    QTimer m_delay;
    QElapsedTimer m_sinceFirstChange;
    bool m_bKept = false;
};

enum class RecoveryChoice
{
    Recover,
    UseSaved, // open the saved file (for untitled work: discard it)
    Later,
};

// The newest recovery file of the notebook at `path` (by any name of the file) that no running
// program looks after and that the file was not saved over since (see IsSupersededBy); those the
// file was saved over are removed.
std::optional<RecoveryEntry> FindRecovery(const QString& path);
// Asks what to do with the work in a recovery file, showing when it was kept and when the
// notebook was last saved.
RecoveryChoice AskAboutRecovery(QWidget* pParent, const RecoveryEntry& entry);
// Offers the untitled notebooks left by a program that ended without saving them; returns how
// many were recovered into windows.
int OfferUntitledRecovery(CMainFrame& frame);

// Writes every modified notebook's recovery file when the program is told to end (SIGTERM,
// SIGHUP: then it quits) and when the desktop session ends (after the save question, as any
// editor asks it, when the session allows questions).
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
    bool m_bEnding = false;
};
