#pragma once

#include <ctime>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "dialogs/Prompts.h"
#include "disk/FileWatch.h"
#include "doc/CQuillboxDoc.h"
#include "merge/MergeLabels.h"
#include "merge/NotebookMerge.h"
#include "model/NotebookSnapshot.h"
#include "notes/CQuillboxEditView.h"
#include "platform/EditControl.h"
#include "storage/HistoryStore.h"
#include "tree/CQuillboxTreeView.h"

class Clock;
class CommandSink;
class KeysText;
class Printer;
class Timer;
class UnsavedWork;
class WorkKeeping;
struct BaseVersion;
struct RecoveryEntry;

// The file chooser of notebook files, for Open, Save As and the like.
FileChooser NotebookChooser();

// Which merge a list of choices comes from, for the window's words above it.
enum class MergeKind
{
    DiskChange,     // this window's notebook with what another program saved over its file
    ConflictCopies, // the notebook with the conflict copies a file-sync tool left beside it
};

// One open notebook's window without its widgets: the document and its two views over the
// window's controls, the watch on the notebook's file, the keeper of its unsaved work and the
// version it last read or saved, the base of a merge with another program's change. Open, Save,
// Save As, Merge, the conflict copies, Read Again and Close are decided here, asking through the
// prompts; the window around it only shows what it reports.
class NotebookWindow
{
public:
    // What the window around the notebook does for it.
    class Front
    {
    public:
        // The notebook's name or its unsaved state changed.
        virtual void ShowTitle() = 0;
        // What keeps the notebook's unsaved work from being kept for recovery, or nothing.
        virtual void ShowUnkeptWork(const std::optional<FileProblem>& problem) = 0;
        // What a merge could not decide alone, listed beside the notebook once it shows.
        virtual void ShowMergeEvents(const std::vector<MergeEvent>& events, const MergeLabels& labels, MergeKind kind) = 0;
        // Before a question about this notebook: its window comes to the front.
        virtual void BringToFront() = 0;
        // The notebook was saved to `path`.
        virtual void Saved(const std::string& path) = 0;
        // A window of its own for a notebook that takes this one's place, not shown yet; null
        // when none can be made.
        virtual NotebookWindow* MakeWindow() = 0;
        // Shows a window MakeWindow made, or throws it away.
        virtual void ShowWindow(NotebookWindow& window) = 0;
        virtual void DropWindow(NotebookWindow& window) = 0;
        // This window goes; its notebook is closed already.
        virtual void CloseWindow() = 0;
        // The notebook at `path` opens anew, as File Open opens it.
        virtual void Reopen(const std::string& path) = 0;
        // Moves a file to the desktop's trash; false when it could not.
        virtual bool MoveToTrash(const std::string& path) = 0;

    protected:
        ~Front() = default;
    };

    // What the notebook calls. `prompts` ask about the notebook (its names in its encoding),
    // `filePrompts` about its file (names as the file system's bytes). Without `pKeeping` no work
    // is kept for recovery and no version for merging.
    struct Parts
    {
        Prompts& prompts;
        Prompts& filePrompts;
        Clock& clock;
        Timer& timer;
        WorkKeeping* pKeeping = nullptr;
        KeysText* pKeysText = nullptr;
        Printer* pPrinter = nullptr;
        CommandSink* pCommands = nullptr;
    };

    NotebookWindow(Front& front, const Parts& parts, EditControl& edit, TreeControl& tree);
    ~NotebookWindow();
    NotebookWindow(const NotebookWindow&) = delete;
    NotebookWindow& operator=(const NotebookWindow&) = delete;

    // The window around it.
    Front& GetFront() const { return m_front; }
    CQuillboxDoc& GetDocument() { return m_doc; }
    const CQuillboxDoc& GetDocument() const { return m_doc; }
    CQuillboxEditView& GetEditView() { return m_editView; }
    CQuillboxTreeView& GetTreeView() { return m_treeView; }
    // The notebook's file is the one at `path`, reached by whatever name.
    bool HoldsFile(const std::string& path) const { return m_watch.HoldsFile(path); }

    // File New.
    bool New();
    // File Open: the work a Quillbox that ended kept, a save's complete copy and conflict copies
    // beside the file are offered first.
    ReadReport Open(const std::string& path);
    // Work a Quillbox that ended kept, as unsaved changes to its notebook's file (if it had one).
    // When another writer changed the file since the version the work went on from, the two are
    // merged, and what needs a choice listed.
    ReadReport Recover(const RecoveryEntry& entry);
    bool Save();
    bool SaveAs();
    // The save question before the window closes; false when the window must stay open.
    bool SaveModified();
    // The notebook lets go of its file and of its kept work; the window is closing.
    void Close();
    bool IsClosed() const { return m_bClosed; }
    // File History: the kept versions of the notebook; a folder of one, a note or the whole
    // version restored is an unsaved change.
    void ShowHistory();
    // What the last merge into this window needed a choice on, listed again; none when no merge
    // did.
    void ShowMergeChoices();
    bool HasMergeChoices() const { return m_mergeChoices.has_value(); }
    // Preferences History Size: how much the earlier versions of every notebook may take.
    void ShowHistoryPrefs();
    // The program came back to the front: offers to read the notebook again when another
    // program changed its file.
    void CheckDisk();
    // After every event.
    void OnIdle();

    // Runs a command of the user's (a menu item, a key, a click, a context menu's choice) in one
    // batch of the editor's. A command that stops part way by an exception (memory running out,
    // mostly) is told to the user as failed, and the program goes on.
    void Run(const std::function<void()>& command);

    // Runs `work` in one batch of the editor's: what it does to the editor shows once, at the end.
    template <typename Work>
    decltype(auto) Batch(Work&& work)
    {
        return InBatch(m_edit, std::forward<Work>(work));
    }

private:
    // Opens the notebook in `source` as unsaved changes to the notebook at `notebookPath`; with
    // bClaim that file becomes the one the window watches and holds.
    ReadReport OpenUnsaved(const std::string& source, const std::string& notebookPath, bool bClaim);
    // A merged notebook, as unsaved changes to the notebook at `notebookPath`.
    ReadReport OpenMerged(const NotebookSnapshot& merged, const std::string& notebookPath);
    // The same, merged with `file` as read from that file (its bytes' hash `fileHash`): the
    // file is claimed as so read, and kept as the base of the next merge.
    ReadReport OpenMergedOver(const NotebookSnapshot& merged, const std::string& path, NotebookSnapshot file,
                              std::optional<uint64_t> fileHash);
    // Recovered work in the file `work`, merged with its notebook's file as it is now; nothing
    // when the work is to open as it is (no file, or one that does not read whole).
    std::optional<ReadReport> MergeRecovered(const std::string& work, const RecoveryEntry& entry);
    bool DoSave(const std::string& path);
    // Merges what another program saved to the notebook's file at `path` with this window's work:
    // the merged notebook takes this window's place in one of its own, unsaved.
    void MergeDiskChange(const std::string& path);
    // Lists what a merge needed a choice on, and keeps the list to show again.
    void ListMergeChoices(const std::vector<MergeEvent>& events, const MergeLabels& labels, MergeKind kind);
    // Offers to merge the conflict copies a file-sync tool left beside the notebook at `path`
    // into it as it opens; what the opening gave, or nothing when the notebook is still to be
    // opened as it is.
    std::optional<ReadReport> OfferConflictCopies(const std::string& path);
    // Keeps the notebook as a version of its file's history: the version the window's work now
    // goes on from.
    void KeepVersion(const std::string& path, NotebookSnapshot snapshot, HistoryKind kind);
    // The window's work goes on from the kept version `id` (0: from none known).
    void SetBase(int64_t id);
    // The version both the window's notebook and `theirs` went on from: the one the window last
    // read when it knows it, else the newest the history shows both went on from.
    std::optional<NotebookSnapshot> FindBase(const std::string& path, const NotebookSnapshot& ours, const NotebookSnapshot& theirs);

    Front& m_front;
    Prompts& m_prompts;
    Prompts& m_filePrompts;
    Clock& m_clock;
    WorkKeeping* m_pKeeping;
    EditControl& m_edit;
    CQuillboxDoc m_doc;
    CQuillboxEditView m_editView;
    CQuillboxTreeView m_treeView;
    FileWatch m_watch;
    std::unique_ptr<UnsavedWork> m_pWork;
    // The notebook as this window last read, saved or merged in from its file, the base of a
    // merge with another program's change (unknown for recovered work and a save's copy), and
    // the moment it was read.
    std::optional<NotebookSnapshot> m_lastRead;
    std::tm m_readMoment {};
    // That version's id in the history, once kept, for the work kept for recovery to name.
    std::shared_ptr<BaseVersion> m_pBase;
    struct MergeChoices
    {
        std::vector<MergeEvent> events;
        MergeLabels labels;
        MergeKind kind = MergeKind::DiskChange;
    };
    std::optional<MergeChoices> m_mergeChoices;
    bool m_bClosed = false;
};
