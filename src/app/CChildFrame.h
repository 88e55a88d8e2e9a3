#pragma once

#include <QMdiSubWindow>
#include <functional>

#include "platform/Clock.h"
#include "platform/CommandSink.h"
#include "qt/QtPrinter.h"
#include "qt/QtPrompts.h"
#include "qt/QtTimer.h"
#include "qt/TextCodec.h"
#include "window/NotebookWindow.h"

class KeysText;
class QLabel;
class QSplitter;
class QtEditControl;
class QtFindInNotebookDialog;
class QtTreeControl;
class WorkKeeping;

// One open notebook's window: the note editor on the left and the folder tree on the right,
// around the notebook's NotebookWindow, which decides what happens to the notebook and its file.
// The window shows what it reports, and reports on to the main frame through its signals.
class CChildFrame : public QMdiSubWindow, public CommandSink, private NotebookWindow::Front
{
    Q_OBJECT
public:
    enum class Pane
    {
        Editor,
        Tree,
    };

    // What every notebook window of a main frame shares.
    struct Shared
    {
        QWidget* pFrame;      // the main frame, whose activation has the notebook look at its file
        Prompts& filePrompts; // about notebook files, named by the file system's bytes
        KeysText& keysText;
        PrinterChoice& printerChoice;
        WorkKeeping& keeping;
    };

    explicit CChildFrame(const Shared& shared);
    ~CChildFrame() override;

    NotebookWindow& GetWindow() { return m_window; }
    CQuillboxDoc& GetDocument() { return m_window.GetDocument(); }
    const TextCodec& GetCodec() const { return m_codec; }
    // The notebook's file, or empty for a notebook never saved.
    QString GetPathName() const;

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

    // Brings the window's modified marker up to date with the document.
    void OnIdleUpdate();

signals:
    // A command ran: menus, bars and titles are to be brought up to date.
    void commandRan();
    // A question about this notebook is coming: its window is to be the active one.
    void frontWanted();
    void saved(const QString& path);
    // A window that takes this one's place, to be shown as New and Open show theirs.
    void windowMade(CChildFrame* pChild);
    // The notebook at `path` is to open anew, as File Open opens it.
    void reopenWanted(const QString& path);

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // What the notebook reports.
    void ShowTitle() override;
    void ShowUnkeptWork(const std::optional<FileProblem>& problem) override;
    void ShowMergeEvents(const std::vector<MergeEvent>& events, const MergeLabels& labels, MergeKind kind) override;
    void BringToFront() override;
    void Saved(const std::string& path) override;
    NotebookWindow* MakeWindow() override;
    void ShowWindow(NotebookWindow& window) override;
    void DropWindow(NotebookWindow& window) override;
    void CloseWindow() override;
    void Reopen(const std::string& path) override;
    bool MoveToTrash(const std::string& path) override;

    std::function<void()> EditorCommand(int id);
    bool IsEditorCommandEnabled(int id) const;
    void TogglePane();
    // Runs Find in Notebook and shows the hit chosen.
    void FindInNotebook();
    // The editor's name for assistive technology says whose notes it shows.
    void NameEditor();
    void CheckDisk();

    Shared m_shared;
    TextCodec m_codec;
    QtPrompts m_prompts;
    SystemClock m_clock;
    QtTimer m_timer;
    QtPrinter m_printer;
    QSplitter* m_pSplitter;
    QLabel* m_pUnkeptBanner;
    QtEditControl* m_pEdit;
    QtTreeControl* m_pTree;
    QtFindInNotebookDialog* m_pFindInNotebook = nullptr;
    NotebookWindow m_window;

    mutable Pane m_activePane = Pane::Tree;
    bool m_bUserSplit = false;
};
