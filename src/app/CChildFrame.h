#pragma once

#include <QMdiSubWindow>
#include <ctime>
#include <functional>
#include <optional>

#include "app/RecoveryFiles.h"
#include "doc/CQuillboxDoc.h"
#include "disk/FileWatch.h"
#include "merge/NotebookMerge.h"
#include "model/NotebookSnapshot.h"
#include "words/MergeWords.h"
#include "notes/CQuillboxEditView.h"
#include "platform/Clock.h"
#include "platform/CommandSink.h"
#include "qt/QtPrinter.h"
#include "qt/FilePaths.h"
#include "qt/QtPrompts.h"
#include "qt/TextCodec.h"
#include "tree/CQuillboxTreeView.h"

class CMainFrame;
class QLabel;
class QSplitter;
class QtEditControl;
class QtFindInNotebookDialog;
class QtTreeControl;

// One open notebook's window: the note editor on the left and the folder tree on the right.
// It owns the notebook's document, both views and the services they call.
class CChildFrame : public QMdiSubWindow, public CommandSink
{
    Q_OBJECT
public:
    enum class Pane
    {
        Editor,
        Tree,
    };

    explicit CChildFrame(CMainFrame& mainFrame);
    ~CChildFrame() override;

    // The two ways a notebook comes into the window.
    bool OnNewDocument();
    ReadReport OnOpenDocument(const QString& path);
    // The notebook kept in a recovery file, as unsaved work on its own file (if it had one).
    ReadReport OnRecoverDocument(const RecoveryEntry& entry);

    // The handler of a command in this notebook, searched through the active pane's view, the
    // document and this window; empty when none of them handles it.
    std::function<void()> FindHandler(int id);
    bool IsCommandEnabled(int id);
    // A command chosen in a context menu: it runs as the same command from the menus does.
    void RunCommand(int id) override;

    // The pane that last held the window's focus: it keeps counting while a dialog or another
    // window has the keyboard.
    Pane GetActivePane() const;
    // Makes a pane the active one and gives it the keyboard focus.
    void ActivatePane(Pane pane);

    CQuillboxDoc& GetDocument() { return m_doc; }
    const TextCodec& GetCodec() const { return m_codec; }
    // The notebook's file, or empty for a notebook never saved.
    QString GetPathName() const;
    // The notebook's file is the one at `path`, reached by whatever name.
    bool HoldsFile(const QString& path) const { return m_watch.HoldsFile(EncodePath(path)); }

    // The save question for a modified notebook; false when the user cancelled (or the save
    // failed) and the notebook must stay open.
    bool SaveModified();
    // Closes the notebook once SaveModified has been answered.
    void CloseDocument();

    // Brings the window's modified marker up to date with the document.
    void OnIdleUpdate();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Opens the notebook in `source` as unsaved changes to the notebook at `notebookPath`, and
    // with bClaim takes that file as the one the window watches and holds.
    ReadReport OpenUnsaved(const std::string& source, const std::string& notebookPath, bool bClaim = true);
    // Merges the change another program saved to the notebook's file at `path` with this
    // window's: the merged notebook replaces this window with one of its own, unsaved, which
    // lists what needed a choice.
    void MergeDiskChange(const std::string& path);
    // Lists a merge's events beside the notebook, each to go to; nothing when there are none.
    void ShowMergeEvents(const std::vector<MergeEvent>& events, const MergeLabels& labels, const QString& intro);
    // Offers to merge the conflict copies a file-sync tool left beside the notebook at `path`
    // into it as it opens; what the opening gave, or nothing when the notebook is still to be
    // opened as it is.
    std::optional<ReadReport> OfferConflictCopies(const std::string& path);
    // Keeps the notebook as read from or saved to `path` for a later merge, on a worker thread.
    static void KeepVersion(const std::string& path, NotebookSnapshot snapshot);
    std::function<void()> EditorCommand(int id);
    bool IsEditorCommandEnabled(int id) const;
    void TogglePane();
    // Runs Find in Notebook and shows the hit chosen.
    void FindInNotebook();
    bool Save();
    bool SaveAs();
    bool DoSave(const QString& path);
    void UpdateTitle();
    // The editor's name for assistive technology says whose notes it shows.
    void NameEditor();
    void CheckDisk();

    CMainFrame& m_mainFrame;
    TextCodec m_codec;
    QtPrompts m_prompts;
    SystemClock m_clock;
    QtPrinter m_printer;
    CQuillboxDoc m_doc;
    QSplitter* m_pSplitter;
    QLabel* m_pUnkeptBanner;
    QtEditControl* m_pEdit;
    QtTreeControl* m_pTree;
    QtFindInNotebookDialog* m_pFindInNotebook = nullptr;
    CQuillboxEditView m_editView;
    CQuillboxTreeView m_treeView;
    FileWatch m_watch;
    NotebookRecovery m_recovery;
    // The notebook as this window last read or saved it, the base of a merge with another
    // program's change (unknown for work recovered or merged in), and the moment it was read.
    std::optional<NotebookSnapshot> m_lastRead;
    std::tm m_readMoment {};

    mutable Pane m_activePane = Pane::Tree;
    bool m_bSaveAnswered = false;
    bool m_bUserSplit = false;
};
