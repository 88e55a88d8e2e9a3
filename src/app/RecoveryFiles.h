#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QTimer>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "disk/RecoveryOffer.h"
#include "storage/RecoveryStore.h"

class CQuillboxDoc;

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
    // Writes a modified notebook's state now, on this thread; false when it could not be kept.
    bool WriteNow();
    // The notebook was saved or closed without saving.
    void Discard();
    // Called on this thread after each write: what kept the work from being written, or
    // nothing when it was kept (or there is no unsaved work to keep any more).
    void SetStatusListener(std::function<void(const std::optional<FileProblem>&)> listener);

    // Every modified notebook's state, now: a signal or the session's end. False when some
    // notebook's work could not be kept.
    static bool WriteAll();
    // What to offer of the work kept by Quillboxes that ended, once the writes under way (which
    // belong to this program's windows) are done.
    static RecoveryOffer Offer(Prompts& prompts);
    static RecoveryStore Store();

    struct Status;

private:
    void WriteLater();
    RecoveryEntry Entry() const;

    const CQuillboxDoc& m_doc;
    std::string m_strKey;
    QTimer m_delay;
    QElapsedTimer m_sinceFirstChange;
    bool m_bKept = false;
    std::shared_ptr<Status> m_pStatus;
};
