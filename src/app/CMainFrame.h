#pragma once

#include <QMainWindow>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/ContextHelpMode.h"
#include "app/RecentFileList.h"
#include "platform/KeysText.h"
#include "qt/QtPrinter.h"
#include "qt/QtPrompts.h"
#include "qt/TextCodec.h"

class CChildFrame;
class HelpWindow;
class LockIndicators;
class QAction;
class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QMimeData;
class QToolBar;
class SettingsStore;
class WorkKeeping;
struct MenuTable;

// The program's main window: the menus, the accelerators, the toolbar, the status bar, the
// assigned-keys strip and the area that holds one CChildFrame per open notebook. Commands run
// through the active notebook (its active pane's view, its document, its window), then here.
class CMainFrame : public QMainWindow, public KeysText
{
    Q_OBJECT
public:
    explicit CMainFrame(SettingsStore& settings);
    ~CMainFrame() override;

    // The active notebook's document writes its key summary here.
    void SetKeysText(const std::string& text) override;

    // Runs a command if it is enabled; false when nothing handles it.
    bool OnCommand(int id);
    bool IsCommandEnabled(int id);

    // File New and File Open; null when no notebook came of it (the user has been told why).
    CChildFrame* NewNotebook();
    CChildFrame* OpenNotebook(const QString& path);
    // Offers, at start-up, the work kept for notebooks other than those in `opening` (which are
    // offered as they open), and takes each piece the user chooses into a window of its own;
    // returns how many were recovered.
    int RecoverAtStart(const QStringList& opening);

    // Shows a notebook window made elsewhere (a recovered or merged one) as New and Open show
    // theirs.
    void AddChild(CChildFrame* pChild);
    CChildFrame* ActiveChild() const;
    QList<CChildFrame*> Children() const;
    void ActivateChild(CChildFrame* pChild);

    HelpWindow& GetHelp() { return *m_pHelp; }
    PrinterChoice& GetPrinterChoice() { return m_printerChoice; }
    const RecentFileList& GetRecentFiles() const { return m_recentFiles; }
    void AddRecentFile(const QString& path);
    // Prompts about notebook files, which name them by their UTF-8 file names.
    QtPrompts& GetPrompts() { return m_prompts; }
    // What the notebook windows keep of unsaved work and of the versions they read or saved.
    WorkKeeping& GetKeeping() { return *m_pKeeping; }

    // Brings menus, bars and titles up to date once the current event has been handled, as the
    // idle-time update of a classic frame does.
    void RequestIdleUpdate();

protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // A notebook window, not shown yet.
    CChildFrame* NewChild();
    void CreateToolBar();
    void CreateStatusBar();
    QWidget* CreateKeysBar();
    std::vector<QMenu*> CreateMenus(const std::vector<MenuTable>& tables);
    QAction* CreateCommandAction(int id, bool bShowShortcut, QObject* parent);
    void RebuildRecentFiles();
    void RebuildWindowList();
    void ShowMenus(bool bNotebook);
    void OnFileOpen();
    void OnSubWindowActivated(QMdiSubWindow* pWindow);
    // Cascades or tiles the notebook windows, the active one staying active with the keyboard.
    void Arrange(void (QMdiArea::*arrange)());
    void OnIdleUpdate();
    void ShowTitle(const CChildFrame* pActive);
    void NameKeysText(CChildFrame* pActive);
    std::function<void()> FindHandler(int id);
    std::function<void()> FrameHandler(int id);
    bool IsCommandChecked(int id) const;
    bool IsInsideFrame(QObject* pObject) const;

    std::string m_strKeysText;
    bool m_bKeysBarShown = true;
    RecentFileList m_recentFiles;
    PrinterChoice m_printerChoice;
    TextCodec m_fileNameCodec;
    QtPrompts m_prompts;
    std::unique_ptr<WorkKeeping> m_pKeeping;
    std::unique_ptr<HelpWindow> m_pHelp;
    ContextHelpMode m_contextHelp;

    QWidget* m_pKeysBar = nullptr;
    QLabel* m_pKeysText = nullptr;
    QToolBar* m_pToolBar = nullptr;
    LockIndicators* m_pLockIndicators = nullptr;
    QMdiArea* m_pMdiArea = nullptr;
    std::vector<QMenu*> m_noNotebookMenus; // menu 128
    std::vector<QMenu*> m_notebookMenus;   // menu 129
    bool m_bNotebookMenusShown = false;
    QList<QAction*> m_commandActions;

    // Where each File menu shows the recent files: its "Recent File" stand-in for an empty list.
    struct RecentSection
    {
        QMenu* pMenu;
        QAction* pPlaceholder;
        QList<QAction*> entries;
    };
    std::vector<RecentSection> m_recentSections;
    QMenu* m_pWindowMenu = nullptr;
    QList<QAction*> m_windowEntries;
    bool m_bIdlePending = false;
};
