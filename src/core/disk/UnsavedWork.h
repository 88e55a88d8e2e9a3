#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "doc/CQuillboxDoc.h"
#include "storage/FileProblem.h"
#include "storage/RecoveryStore.h"

class Timer;
class WorkKeeping;
struct BaseVersion;

// Keeps one notebook's unsaved work in a recovery file, following what happens to the document
// so that no caller can forget it: a change is written a few seconds after the last one (never
// later than 30 s after the first), work that replaced the notebook at once, and the file goes
// when the notebook is saved or closed without saving, or has no unsaved work any more. The
// window's thread takes the snapshot, the keeping's writer makes and writes the bytes. Ended
// without the notebook closing (the program ends on a signal), it leaves the file.
class UnsavedWork final : public DocListener
{
public:
    UnsavedWork(CQuillboxDoc& doc, WorkKeeping& keeping, Timer& timer);
    ~UnsavedWork();
    UnsavedWork(const UnsavedWork&) = delete;
    UnsavedWork& operator=(const UnsavedWork&) = delete;

    void OnDocEvent(DocEvent event) override;

    // Writes a modified notebook's state now, on this thread; false when it could not be kept.
    bool WriteNow();
    // The notebook's unsaved work is in the recovery folder, as last written.
    bool IsKept() const;
    const std::string& GetKey() const { return m_strKey; }
    // The version of the notebook's file the work went on from, written with the work so that a
    // recovery over a file changed since can merge the two.
    void SetBase(std::shared_ptr<BaseVersion> pBase) { m_pBase = std::move(pBase); }

    // Told on this thread, from OnIdle, after a write: what kept the work from being written, or
    // nothing when it was kept (or there is no unsaved work left to keep).
    void SetStatusListener(std::function<void(const std::optional<FileProblem>&)> listener);
    void OnIdle();

    struct Status;

private:
    void WriteLater();
    void Discard();
    RecoveryEntry Entry() const;

    CQuillboxDoc& m_doc;
    WorkKeeping& m_keeping;
    Timer& m_timer;
    std::string m_strKey;
    std::chrono::steady_clock::time_point m_firstChange;
    // A file of this notebook's may be in the folder.
    bool m_bKept = false;
    std::shared_ptr<Status> m_pStatus;
    std::shared_ptr<BaseVersion> m_pBase;
    std::function<void(const std::optional<FileProblem>&)> m_onStatus;
};
