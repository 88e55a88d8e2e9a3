#include "app/CChildFrame.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QDragEnterEvent>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QMdiArea>
#include <QSplitter>
#include <QStandardPaths>
#include <QTimer>
#include <QVBoxLayout>

#include "app/ActivationWatch.h"
#include "platform/CommandIds.h"
#include "qt/FilePaths.h"
#include "qt/ProblemText.h"
#include "qt/QtEditControl.h"
#include "qt/QtFindInNotebookDialog.h"
#include "qt/QtMergeEventsDialog.h"
#include "qt/QtTreeControl.h"
#include "search/NotebookSearch.h"
#include "window/GoToMergeEvent.h"

namespace {

// The editor's share of the window's width when a notebook opens.
constexpr double kEditorShare = 0.7;

} // namespace

CChildFrame::CChildFrame(const Shared& shared)
    : m_shared(shared)
    , m_prompts(this, m_codec)
    , m_printer(shared.printerChoice, m_codec)
    , m_pSplitter(new QSplitter(Qt::Horizontal))
    , m_pUnkeptBanner(new QLabel)
    , m_pEdit(new QtEditControl(m_codec, m_pSplitter))
    , m_pTree(new QtTreeControl(m_codec, m_pSplitter))
    , m_window(*this,
               NotebookWindow::Parts { m_prompts, shared.filePrompts, m_clock, m_timer, &shared.keeping, &shared.keysText,
                                       &m_printer, this },
               *m_pEdit, *m_pTree)
{
    m_codec.SetDocument(&m_window.GetDocument());
    setObjectName(QStringLiteral("notebookWindow"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowIcon(shared.pFrame->windowIcon());
    m_pSplitter->setObjectName(QStringLiteral("notebookSplitter"));
    m_pSplitter->setChildrenCollapsible(false);
    // Above the panes, where the user looks: said for as long as the unsaved work cannot be
    // kept for recovery.
    m_pUnkeptBanner->setObjectName(QStringLiteral("unkeptWorkBanner"));
    m_pUnkeptBanner->setWordWrap(true);
    m_pUnkeptBanner->setTextFormat(Qt::PlainText);
    m_pUnkeptBanner->setStyleSheet(QStringLiteral("QLabel { background: #fff3cd; color: #5c4400; border-bottom: 1px solid #e0c46c;"
                                                  " padding: 4px 8px; }"));
    m_pUnkeptBanner->hide();
    auto* pPanes = new QWidget;
    auto* pLayout = new QVBoxLayout(pPanes);
    pLayout->setContentsMargins(0, 0, 0, 0);
    pLayout->setSpacing(0);
    pLayout->addWidget(m_pUnkeptBanner);
    pLayout->addWidget(m_pSplitter, 1);
    setWidget(pPanes);

    m_pEdit->SetView(&m_window.GetEditView());
    m_pTree->SetView(&m_window.GetTreeView());
    // Keys and clicks run as the menus' commands do.
    const auto run = [this](const std::function<void()>& handler) { m_window.Run(handler); };
    m_pEdit->SetCommandRunner(run);
    m_pTree->SetCommandRunner(run);
    m_pTree->SetKeyLookup([this](TreeItem item) -> const KeyAssignment* {
        const Folder* pFolder = GetDocument().GetFolderOfItem(item);
        return pFolder ? pFolder->GetKey() : nullptr;
    });
    connect(m_pTree, &QtTreeControl::selectionShown, this, &CChildFrame::NameEditor);

    m_pSplitter->installEventFilter(this);
    // Asked once the activation is over, so a question never lands inside another one.
    new ActivationWatch(shared.pFrame, [this] { QTimer::singleShot(0, this, &CChildFrame::CheckDisk); }, this);
    m_pEdit->viewport()->installEventFilter(this);
    connect(m_pSplitter, &QSplitter::splitterMoved, this, [this] { m_bUserSplit = true; });
    // A notebook that had to turn to UTF-8 has new bytes for its folder names.
    GetDocument().SetEncodingListener([this](bool) {
        if (mdiArea() && mdiArea()->activeSubWindow() == this)
            GetDocument().UpdateKeySummary();
    });
    ShowTitle();
}

CChildFrame::~CChildFrame()
{
    // The controls call back into the views, so they go before the views and the document.
    QWidget* pPanes = widget();
    setWidget(nullptr);
    delete pPanes;
}

QString CChildFrame::GetPathName() const
{
    return DecodePath(m_window.GetDocument().GetPathName());
}

std::function<void()> CChildFrame::FindHandler(int id)
{
    if (GetActivePane() == Pane::Editor) {
        if (CQuillboxEditView::HasCommand(id))
            return [this, id] { m_window.Batch([&] { m_window.GetEditView().OnCommand(id); }); };
        if (auto handler = EditorCommand(id))
            return handler;
    }
    if (CQuillboxDoc::HasCommand(id))
        return [this, id] { m_window.Batch([&] { GetDocument().OnCommand(id); }); };
    switch (id) {
    case cmd::FileSave:
        return [this] { m_window.Save(); };
    case cmd::FileSaveAs:
        return [this] { m_window.SaveAs(); };
    case cmd::FileClose:
        return [this] { close(); };
    case cmd::FindInNotebook:
        return [this] { FindInNotebook(); };
    case cmd::History:
        // A notebook never saved has no history.
        if (GetDocument().GetPathName().empty())
            return {};
        return [this] { m_window.ShowHistory(); };
    case cmd::MergeChoices:
        if (!m_window.HasMergeChoices())
            return {};
        return [this] { m_window.ShowMergeChoices(); };
    case cmd::HistoryPrefs:
        return [this] { m_window.ShowHistoryPrefs(); };
    case cmd::ToggleView:
        // Like a posted F6: the switch happens once the menu command has returned.
        return [this] { QTimer::singleShot(0, this, &CChildFrame::TogglePane); };
    case cmd::NextPane:
    case cmd::PrevPane:
        return [this] { TogglePane(); };
    default:
        return {};
    }
}

void CChildFrame::RunCommand(int id)
{
    // As the main frame runs a menu command, for this notebook.
    if (!IsCommandEnabled(id))
        return;
    m_window.Run(FindHandler(id));
    emit commandRan();
}

bool CChildFrame::IsCommandEnabled(int id)
{
    if (!FindHandler(id))
        return false;
    return GetActivePane() != Pane::Editor || IsEditorCommandEnabled(id);
}

// Undo, Cut, Copy, Paste and Find belong to the editor pane, as in any text editor.
std::function<void()> CChildFrame::EditorCommand(int id)
{
    switch (id) {
    case cmd::EditUndo:
        return [this] { m_pEdit->undo(); };
    case cmd::EditCut:
        return [this] { m_pEdit->cut(); };
    case cmd::EditCopy:
        return [this] { m_pEdit->copy(); };
    case cmd::EditPaste:
        return [this] { m_pEdit->paste(); };
    case cmd::EditFind:
        return [this] { m_pEdit->ShowFind(); };
    default:
        return {};
    }
}

bool CChildFrame::IsEditorCommandEnabled(int id) const
{
    switch (id) {
    case cmd::EditUndo:
        return m_pEdit->document()->isUndoAvailable();
    case cmd::EditCut:
    case cmd::EditCopy:
        return m_pEdit->textCursor().hasSelection();
    case cmd::EditPaste:
        return m_pEdit->canPaste();
    default:
        return true;
    }
}

CChildFrame::Pane CChildFrame::GetActivePane() const
{
    // A click, F6 or the tree's hand-over to the editor moves the window's focus widget, also
    // while the window itself is not active.
    const QWidget* pFocus = window()->focusWidget();
    if (pFocus == m_pEdit)
        m_activePane = Pane::Editor;
    else if (pFocus == m_pTree)
        m_activePane = Pane::Tree;
    return m_activePane;
}

void CChildFrame::ActivatePane(Pane pane)
{
    m_activePane = pane;
    QWidget* pPane = pane == Pane::Editor ? static_cast<QWidget*>(m_pEdit) : m_pTree;
    pPane->setFocus(Qt::OtherFocusReason);
    emit commandRan();
}

void CChildFrame::FindInNotebook()
{
    if (!m_pFindInNotebook)
        m_pFindInNotebook = new QtFindInNotebookDialog(GetDocument(), m_codec, this);
    m_pFindInNotebook->Search();
    if (m_pFindInNotebook->exec() != QDialog::Accepted)
        return;
    const QtFindInNotebookDialog::Hit& hit = m_pFindInNotebook->GetChoice();
    m_window.Batch([&] { GoToSearchHit(GetDocument(), hit.pFolder, hit.line, hit.start, hit.length); });
    ActivatePane(hit.line < 0 ? Pane::Tree : Pane::Editor);
}

void CChildFrame::TogglePane()
{
    ActivatePane(GetActivePane() == Pane::Editor ? Pane::Tree : Pane::Editor);
}

bool CChildFrame::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::DragEnter && watched == m_pEdit->viewport()
        && IsFileDrop(static_cast<QDragEnterEvent*>(event)->mimeData())) {
        // Files dropped on the editor go on to the main window, which opens them as notebooks,
        // rather than being typed in as their names.
        event->ignore();
        return true;
    }
    if (event->type() == QEvent::Resize && watched == m_pSplitter && !m_bUserSplit) {
        // The editor keeps 70% of the width until the user drags the bar between the panes.
        const int width = m_pSplitter->width();
        const int editorWidth = static_cast<int>(width * kEditorShare);
        m_pSplitter->setSizes({ editorWidth, width - editorWidth - m_pSplitter->handleWidth() });
    }
    return QMdiSubWindow::eventFilter(watched, event);
}

void CChildFrame::closeEvent(QCloseEvent* event)
{
    if (!m_window.IsClosed() && !m_window.SaveModified()) {
        event->ignore();
        return;
    }
    m_window.Close();
    QMdiSubWindow::closeEvent(event);
}

void CChildFrame::OnIdleUpdate()
{
    setWindowModified(GetDocument().IsModified());
    m_window.OnIdle();
    // A rename changes the name without a new selection.
    NameEditor();
}

void CChildFrame::NameEditor()
{
    const Folder* pFolder = GetDocument().GetSelFolder();
    const QString name = pFolder ? tr("Notes in %1").arg(m_codec.Decode(pFolder->m_name)) : tr("Notes");
    if (m_pEdit->accessibleName() != name)
        m_pEdit->setAccessibleName(name);
}

void CChildFrame::CheckDisk()
{
    if (!QApplication::activeModalWidget())
        m_window.CheckDisk();
}

void CChildFrame::ShowTitle()
{
    const QString path = GetPathName();
    setWindowTitle((path.isEmpty() ? tr("Untitled") : QFileInfo(path).fileName()) + QStringLiteral("[*]"));
    setWindowModified(GetDocument().IsModified());
}

void CChildFrame::ShowUnkeptWork(const std::optional<FileProblem>& problem)
{
    if (problem) {
        qWarning("%s", qUtf8Printable(ProblemText(*problem)));
        m_pUnkeptBanner->setText(tr("Quillbox cannot keep this notebook's unsaved work for recovery, so it "
                                    "would be lost if Quillbox ended now. %1\nSave the notebook to keep it.")
                                     .arg(ProblemText(*problem)));
    }
    m_pUnkeptBanner->setVisible(problem.has_value());
}

void CChildFrame::ShowMergeEvents(const std::vector<MergeEvent>& events, const MergeLabels& labels, MergeKind kind)
{
    if (events.empty())
        return;
    const QString intro = kind == MergeKind::DiskChange
        ? tr("The changes another program saved are merged with this window's; the notebook is not saved yet. "
             "These needed a choice. Where both changed the same lines of a note, both versions are kept, this "
             "window's first.")
        : tr("The conflict copies are merged into the notebook, which is not saved yet. These needed a choice. "
             "Where both changed the same lines of a note, both versions are kept, the notebook's first.");
    // Listed once the window is up.
    QTimer::singleShot(0, this, [this, events, labels, intro] {
        auto* pDialog = new QtMergeEventsDialog(events, labels, intro, m_codec, [this](const MergeEvent& event) {
            return m_window.Batch([&] { return GoToMergeEvent(GetDocument(), event); });
        }, this);
        pDialog->setAttribute(Qt::WA_DeleteOnClose);
        pDialog->show();
    });
}

void CChildFrame::BringToFront()
{
    emit frontWanted();
}

void CChildFrame::Saved(const std::string& path)
{
    emit saved(DecodePath(path));
}

NotebookWindow* CChildFrame::MakeWindow()
{
    return &(new CChildFrame(m_shared))->m_window;
}

void CChildFrame::ShowWindow(NotebookWindow& window)
{
    emit windowMade(static_cast<CChildFrame*>(&window.GetFront()));
}

void CChildFrame::DropWindow(NotebookWindow& window)
{
    delete static_cast<CChildFrame*>(&window.GetFront());
}

void CChildFrame::CloseWindow()
{
    close();
}

void CChildFrame::Reopen(const std::string& path)
{
    emit reopenWanted(DecodePath(path));
}

bool CChildFrame::MoveToTrash(const std::string& path)
{
    // Qt finds the home trash in the user's data folder and, where that folder is missing, puts
    // the trash in the current folder instead: the data folder is made first, and without one
    // nothing is moved.
    const QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (data.isEmpty() || !QDir().mkpath(data))
        return false;
    return QFile::moveToTrash(DecodePath(path));
}
