#include "app/CChildFrame.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QSplitter>
#include <QVBoxLayout>
#include <QThreadPool>
#include <QTimer>

#include "format/NotebookWriter.h"
#include "app/ActivationWatch.h"
#include "app/CMainFrame.h"
#include "app/FrameTables.h"
#include "merge/ConflictCopies.h"
#include "merge/DiskMerge.h"
#include "window/GoToMergeEvent.h"
#include "disk/SaveCopy.h"
#include "search/NotebookSearch.h"
#include "platform/CommandIds.h"
#include "qt/QtEditControl.h"
#include "qt/QtFindInNotebookDialog.h"
#include "qt/QtMergeEventsDialog.h"
#include "storage/MemoryFile.h"
#include "storage/VersionStore.h"
#include "words/MergeWords.h"
#include "qt/ProblemText.h"
#include "qt/QtTreeControl.h"
#include "qt/FilePaths.h"

namespace {

// The editor's share of the window's width when a notebook opens.
constexpr double kEditorShare = 0.7;



} // namespace

CChildFrame::CChildFrame(CMainFrame& mainFrame)
    : m_mainFrame(mainFrame)
    , m_codec(&m_doc)
    , m_prompts(this, m_codec)
    , m_printer(mainFrame.GetPrinterChoice(), m_codec)
    , m_doc(Services { &m_prompts, &m_clock, &mainFrame, &m_printer, this })
    , m_pSplitter(new QSplitter(Qt::Horizontal))
    , m_pUnkeptBanner(new QLabel)
    , m_pEdit(new QtEditControl(m_codec, m_pSplitter))
    , m_pTree(new QtTreeControl(m_codec, m_pSplitter))
    , m_editView(&m_doc, *m_pEdit)
    , m_treeView(&m_doc, *m_pTree)
    , m_watch(mainFrame.GetPrompts())
    , m_recovery(m_doc)
{
    setObjectName(QStringLiteral("notebookWindow"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowIcon(mainFrame.windowIcon());
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
    m_recovery.SetStatusListener([this](const std::optional<FileProblem>& problem) {
        if (problem)
            m_pUnkeptBanner->setText(tr("Quillbox cannot keep this notebook's unsaved work for recovery, so it "
                                        "would be lost if Quillbox ended now. %1\nSave the notebook to keep it.")
                                         .arg(ProblemText(*problem)));
        m_pUnkeptBanner->setVisible(problem.has_value());
    });

    // The file's watch compares what is on the disk with the bytes this window read or wrote.
    m_doc.SetHashFile(true);
    m_pEdit->SetView(&m_editView);
    m_pTree->SetView(&m_treeView);
    m_pTree->SetCommandRunner([this](const std::function<void()>& handler) {
        EditBatch batch(*m_pEdit);
        handler();
    });
    m_pTree->SetKeyLookup([this](TreeItem item) -> const KeyAssignment* {
        const Folder* pFolder = m_doc.GetFolderOfItem(item);
        return pFolder ? pFolder->GetKey() : nullptr;
    });
    connect(m_pTree, &QtTreeControl::selectionShown, this, &CChildFrame::NameEditor);
    m_editView.OnCreate();
    m_doc.BindViews(&m_editView, &m_treeView);

    m_pSplitter->installEventFilter(this);
    // Asked once the activation is over, so a question never lands inside another one.
    new ActivationWatch(&mainFrame, [this] { QTimer::singleShot(0, this, &CChildFrame::CheckDisk); }, this);
    m_pEdit->viewport()->installEventFilter(this);
    connect(m_pSplitter, &QSplitter::splitterMoved, this, [this] { m_bUserSplit = true; });
    // A notebook that had to turn to UTF-8 has new bytes for its folder names.
    m_doc.SetEncodingListener([this](bool) {
        if (m_mainFrame.ActiveChild() == this)
            m_doc.UpdateKeySummary();
    });
    UpdateTitle();
}

CChildFrame::~CChildFrame()
{
    // The controls call back into the views, so they go before the views and the document.
    QWidget* pPanes = widget();
    setWidget(nullptr);
    delete pPanes;
}

bool CChildFrame::OnNewDocument()
{
    bool bCreated = false;
    {
        EditBatch batch(*m_pEdit);
        bCreated = m_doc.OnNewDocument();
    }
    UpdateTitle();
    return bCreated;
}

ReadReport CChildFrame::OnOpenDocument(const QString& path)
{
    const std::string encoded = EncodePath(path);
    const std::optional<std::string> copy = OfferSaveCopy(encoded, m_mainFrame.GetPrompts());
    if (const std::optional<RecoveryEntry> entry = NotebookRecovery::Offer(m_mainFrame.GetPrompts()).OfferFor(encoded)) {
        if (ReadReport report = OnRecoverDocument(*entry); report.Opened())
            return report;
    }
    if (copy) {
        if (ReadReport report = OpenUnsaved(*copy, encoded); report.Opened())
            return report;
    }
    if (std::optional<ReadReport> report = OfferConflictCopies(encoded))
        return *report;
    ReadReport report;
    {
        EditBatch batch(*m_pEdit);
        m_readMoment = m_clock.Now();
        report = m_doc.OnOpenDocument(encoded);
        if (report.status == ReadReport::Status::Ok)
            m_lastRead = m_doc.TakeSnapshot();
    }
    if (report.status == ReadReport::Status::Ok) {
        m_watch.OnFileRead(EncodePath(path), m_doc.GetFileHash());
        KeepVersion(encoded, *m_lastRead);
    }
    UpdateTitle();
    return report;
}

ReadReport CChildFrame::OpenUnsaved(const std::string& source, const std::string& notebookPath, bool bClaim)
{
    m_lastRead.reset();
    ReadReport report;
    {
        EditBatch batch(*m_pEdit);
        report = m_doc.OnOpenDocument(source);
    }
    if (!report.Opened())
        return report;
    // A damaged source stays untitled, as any damaged file does: a plain Save must not write
    // what could be read over the notebook's own file.
    const bool bComplete = report.status == ReadReport::Status::Ok;
    m_doc.SetPathName(bComplete ? notebookPath : std::string());
    m_doc.SetModifiedFlag(true);
    if (bClaim && bComplete && !notebookPath.empty())
        m_watch.OnFileRead(notebookPath);
    UpdateTitle();
    return report;
}

ReadReport CChildFrame::OnRecoverDocument(const RecoveryEntry& entry)
{
    const RecoveryStore store = NotebookRecovery::Store();
    const ReadReport report = OpenUnsaved(store.NotebookPath(entry.key), entry.notebookPath);
    // The work is this window's to keep from now on; the old file goes once the new one is written.
    if (report.Opened() && m_recovery.WriteNow())
        store.Remove(entry.key);
    return report;
}

QString CChildFrame::GetPathName() const
{
    return DecodePath(m_doc.GetPathName());
}

std::function<void()> CChildFrame::FindHandler(int id)
{
    if (GetActivePane() == Pane::Editor) {
        if (CQuillboxEditView::HasCommand(id))
            return [this, id] {
                EditBatch batch(*m_pEdit);
                m_editView.OnCommand(id);
            };
        if (auto handler = EditorCommand(id))
            return handler;
    }
    if (CQuillboxDoc::HasCommand(id))
        return [this, id] {
            EditBatch batch(*m_pEdit);
            m_doc.OnCommand(id);
        };
    switch (id) {
    case cmd::FileSave:
        return [this] { Save(); };
    case cmd::FileSaveAs:
        return [this] { SaveAs(); };
    case cmd::FileClose:
        return [this] { close(); };
    case cmd::FindInNotebook:
        return [this] { FindInNotebook(); };
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
    FindHandler(id)();
    m_mainFrame.RequestIdleUpdate();
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
    m_mainFrame.RequestIdleUpdate();
}

void CChildFrame::FindInNotebook()
{
    if (!m_pFindInNotebook)
        m_pFindInNotebook = new QtFindInNotebookDialog(m_doc, m_codec, this);
    m_pFindInNotebook->Search();
    if (m_pFindInNotebook->exec() != QDialog::Accepted)
        return;
    const QtFindInNotebookDialog::Hit& hit = m_pFindInNotebook->GetChoice();
    {
        EditBatch batch(*m_pEdit);
        GoToSearchHit(m_doc, hit.pFolder, hit.line, hit.start, hit.length);
    }
    ActivatePane(hit.line < 0 ? Pane::Tree : Pane::Editor);
}

void CChildFrame::TogglePane()
{
    ActivatePane(GetActivePane() == Pane::Editor ? Pane::Tree : Pane::Editor);
}

bool CChildFrame::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::DragEnter && watched == m_pEdit->viewport()
        && CMainFrame::IsFileDrop(static_cast<QDragEnterEvent*>(event)->mimeData())) {
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

bool CChildFrame::Save()
{
    const QString path = GetPathName();
    return path.isEmpty() ? SaveAs() : DoSave(path);
}

bool CChildFrame::SaveAs()
{
    const auto path = m_prompts.ChooseSaveFile(NotebookChooser());
    return path && DoSave(DecodePath(*path));
}

bool CChildFrame::DoSave(const QString& path)
{
    const std::string encoded = EncodePath(path);
    const auto save = [&](bool bReplaceReadOnly, const ReplaceCheck& unchanged) {
        EditBatch batch(*m_pEdit);
        return m_doc.OnSaveDocument(encoded, bReplaceReadOnly, unchanged);
    };
    switch (m_watch.Save(encoded, save)) {
    case FileWatch::SaveOutcome::Saved:
        break;
    case FileWatch::SaveOutcome::Elsewhere:
        return SaveAs();
    case FileWatch::SaveOutcome::Merge:
        MergeDiskChange(encoded);
        return false;
    case FileWatch::SaveOutcome::Failed:
        return false;
    }
    {
        EditBatch batch(*m_pEdit);
        m_lastRead = m_doc.TakeSnapshot();
    }
    KeepVersion(encoded, *m_lastRead);
    m_watch.OnFileRead(encoded, m_doc.GetFileHash());
    m_recovery.Discard();
    m_mainFrame.AddRecentFile(path);
    UpdateTitle();
    return true;
}

void CChildFrame::MergeDiskChange(const std::string& path)
{
    DiskMerge merge;
    {
        EditBatch batch(*m_pEdit);
        merge = MergeWithDisk(m_lastRead, m_doc.TakeSnapshot(), path, m_readMoment, { TheirsVersionLine(kWindowMergeLabels) });
    }
    if (merge.report.status != ReadReport::Status::Ok) {
        m_prompts.ReportProblem(merge.report.problem);
        return;
    }
    // The merged notebook opens in a window of its own as unsaved work on the notebook's file,
    // which now holds what was merged in and is the base of the next merge. This window, whose
    // work the merged one holds, closes only once that one has opened.
    MemoryFile merged("quillbox-merged", tr("cannot keep the merged notebook").toStdString());
    WriteNotebook(merge.merged.notebook, [&merged](std::string_view chunk) {
        merged.Append(chunk);
        return true;
    });
    auto* pMerged = new CChildFrame(m_mainFrame);
    ReadReport report;
    try {
        report = pMerged->OpenUnsaved(merged.Path(), path, false);
    } catch (...) {
        delete pMerged;
        throw;
    }
    if (report.status != ReadReport::Status::Ok) {
        delete pMerged;
        m_prompts.ReportProblem(report.problem);
        return;
    }
    KeepVersion(path, merge.disk);
    pMerged->m_lastRead = std::move(merge.disk);
    pMerged->m_readMoment = m_readMoment;
    CMainFrame& frame = m_mainFrame;
    CloseDocument();
    // Claimed once this window let go of the file, so the merged one is not told of another.
    pMerged->m_watch.OnFileRead(path, merge.diskHash);
    frame.AddChild(pMerged);
    pMerged->ShowMergeEvents(merge.merged.events, kWindowMergeLabels,
                             tr("The changes another program saved are merged with this window's; the notebook is not "
                                "saved yet. These needed a choice. Where both changed the same lines of a note, both "
                                "versions are kept, this window's first."));
}

void CChildFrame::ShowMergeEvents(const std::vector<MergeEvent>& events, const MergeLabels& labels, const QString& intro)
{
    if (events.empty())
        return;
    auto* pDialog = new QtMergeEventsDialog(events, labels, intro, m_codec, [this](const MergeEvent& event) {
        EditBatch batch(*m_pEdit);
        return GoToMergeEvent(m_doc, event);
    }, this);
    pDialog->setAttribute(Qt::WA_DeleteOnClose);
    pDialog->show();
}

std::optional<ReadReport> CChildFrame::OfferConflictCopies(const std::string& path)
{
    const std::vector<std::string> copies = FindConflictCopies(path);
    if (copies.empty())
        return std::nullopt;
    const auto names = [](const std::vector<std::string>& files) {
        std::string list;
        for (const std::string& file : files)
            list += (list.empty() ? "" : "\n") + file.substr(file.rfind('/') + 1);
        return list;
    };
    Prompts& prompts = m_mainFrame.GetPrompts();
    if (!prompts.Ask({ Question::Kind::MergeConflictCopies, names(copies) }))
        return std::nullopt;
    m_readMoment = m_clock.Now();
    CopiesMerge merge = MergeConflictCopies(path, copies, VersionStore(VersionStore::DefaultDir()).Kept(path), m_readMoment,
                                            { TheirsVersionLine(kCopyMergeLabels) });
    // A notebook that does not read whole opens as it is, which says why.
    if (merge.report.status != ReadReport::Status::Ok)
        return std::nullopt;
    for (const FileProblem& problem : merge.unread)
        prompts.ReportProblem(problem);
    if (merge.mergedCopies.empty())
        return std::nullopt;
    MemoryFile merged("quillbox-merged", tr("cannot keep the merged notebook").toStdString());
    WriteNotebook(merge.merged.notebook, [&merged](std::string_view chunk) {
        merged.Append(chunk);
        return true;
    });
    ReadReport report = OpenUnsaved(merged.Path(), path, false);
    if (report.status != ReadReport::Status::Ok)
        return report;
    m_watch.OnFileRead(path, merge.hash);
    KeepVersion(path, merge.notebook);
    m_lastRead = std::move(merge.notebook);
    if (prompts.Ask({ Question::Kind::TrashConflictCopies, names(merge.mergedCopies) })) {
        for (const std::string& copy : merge.mergedCopies) {
            if (!QFile::moveToTrash(DecodePath(copy))) {
                const QString name = DecodePath(copy.substr(copy.rfind('/') + 1));
                prompts.Tell({ Message::Kind::CommandFailed, tr("cannot move \"%1\" to the trash; it is kept").arg(name).toStdString() });
            }
        }
    }
    // Listed once the window is up.
    QTimer::singleShot(0, this, [this, events = std::move(merge.merged.events)] {
        ShowMergeEvents(events, kCopyMergeLabels,
                        tr("The conflict copies are merged into the notebook, which is not saved yet. These needed a "
                           "choice. Where both changed the same lines of a note, both versions are kept, the "
                           "notebook's first."));
    });
    return report;
}

void CChildFrame::KeepVersion(const std::string& path, NotebookSnapshot snapshot)
{
    // One at a time, in order; the texts are shared, never changed, so another thread may write them.
    static QThreadPool s_keeper;
    s_keeper.setMaxThreadCount(1);
    s_keeper.start([path, snapshot = std::move(snapshot)] {
        // A version is a help for a later merge, not the user's work: one that cannot be kept is none.
        FileProblem ignored;
        VersionStore(VersionStore::DefaultDir()).Keep(path, [&snapshot](const ChunkSink& sink) { return WriteNotebook(snapshot, sink); }, ignored);
    });
}

bool CChildFrame::SaveModified()
{
    if (m_doc.IsModified())
        m_mainFrame.ActivateChild(this);
    return m_doc.SaveModified([this] { return Save(); });
}

void CChildFrame::CloseDocument()
{
    m_bSaveAnswered = true;
    close();
}

void CChildFrame::closeEvent(QCloseEvent* event)
{
    if (!m_bSaveAnswered && !SaveModified()) {
        event->ignore();
        return;
    }
    m_bSaveAnswered = false;
    m_recovery.Discard();
    m_watch.Forget();
    m_doc.OnCloseDocument();
    QMdiSubWindow::closeEvent(event);
}

void CChildFrame::OnIdleUpdate()
{
    setWindowModified(m_doc.IsModified());
    m_recovery.OnIdle();
    // A rename changes the name without a new selection.
    NameEditor();
}

void CChildFrame::NameEditor()
{
    const Folder* pFolder = m_doc.GetSelFolder();
    const QString name = pFolder ? tr("Notes in %1").arg(m_codec.Decode(pFolder->m_name)) : tr("Notes");
    if (m_pEdit->accessibleName() != name)
        m_pEdit->setAccessibleName(name);
}

void CChildFrame::CheckDisk()
{
    const QString path = GetPathName();
    if (path.isEmpty() || QApplication::activeModalWidget() || !m_watch.OfferReload(EncodePath(path), m_doc.IsModified()))
        return;
    CMainFrame& frame = m_mainFrame;
    CloseDocument();
    frame.OpenNotebook(path);
}

void CChildFrame::UpdateTitle()
{
    const QString path = GetPathName();
    setWindowTitle((path.isEmpty() ? tr("Untitled") : QFileInfo(path).fileName()) + QStringLiteral("[*]"));
    setWindowModified(m_doc.IsModified());
}
