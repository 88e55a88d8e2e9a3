#include "app/CMainFrame.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QMdiArea>
#include <QMenuBar>
#include <QMimeData>
#include <QScreen>
#include <QStatusBar>
#include <QPointer>
#include <QTimer>
#include <QToolBar>

#include "app/CAboutDlg.h"
#include "window/NotebookWindow.h"
#include "app/CChildFrame.h"
#include "disk/WorkKeeping.h"
#include "app/FrameTables.h"
#include "app/LockIndicators.h"
#include "model/FolderPath.h"
#include "platform/CommandIds.h"
#include "platform/CommandTable.h"
#include "storage/FileProblem.h"
#include "qt/CommandText.h"
#include "qt/FocusStyle.h"
#include "qt/HelpWindow.h"
#include "qt/FilePaths.h"

namespace {

QString Title()
{
    return CMainFrame::tr("Quillbox");
}

bool IsToggle(int id)
{
    return id == cmd::ViewToolbar || id == cmd::ViewStatusBar || id == cmd::ToggleKeysBar;
}

// "&1 /home/me/notes.not", with the middle of a long path left out.
QString NumberedEntry(int index, const QString& text, const QFontMetrics& metrics)
{
    const QString shown = metrics.elidedText(text, Qt::ElideMiddle, metrics.averageCharWidth() * 48);
    return QStringLiteral("&%1 %2").arg(index + 1).arg(QString(shown).replace(u'&', QStringLiteral("&&")));
}

} // namespace

CMainFrame::CMainFrame(SettingsStore& settings)
    : m_recentFiles(settings)
    , m_fileNameCodec(nullptr)
    , m_prompts(this, m_fileNameCodec)
    , m_pKeeping(std::make_unique<WorkKeeping>(RecoveryStore(RecoveryStore::DefaultDir()), HistoryStore(HistoryStore::DefaultDir())))
    , m_pHelp(std::make_unique<HelpWindow>(this))
{
    // A write of kept work that went wrong, or right again, shows in the windows.
    m_pKeeping->SetWake([this] { QMetaObject::invokeMethod(this, &CMainFrame::RequestIdleUpdate, Qt::QueuedConnection); });
    FocusStyle::Install();
    setObjectName(QStringLiteral("mainFrame"));
    setWindowTitle(Title());
    setWindowIcon(QIcon(QStringLiteral(":/icons/quillbox.svg")));
    setAcceptDrops(true);

    m_pMdiArea = new QMdiArea;
    m_pMdiArea->setObjectName(QStringLiteral("mdiArea"));
    connect(m_pMdiArea, &QMdiArea::subWindowActivated, this, &CMainFrame::OnSubWindowActivated);

    auto* pCentral = new QWidget;
    auto* pLayout = new QVBoxLayout(pCentral);
    pLayout->setContentsMargins(0, 0, 0, 0);
    pLayout->setSpacing(0);
    pLayout->addWidget(CreateKeysBar());
    pLayout->addWidget(m_pMdiArea, 1);
    setCentralWidget(pCentral);

    CreateToolBar();
    CreateStatusBar();
    m_noNotebookMenus = CreateMenus(NoNotebookMenus());
    m_notebookMenus = CreateMenus(NotebookMenus());
    ShowMenus(false);
    RebuildRecentFiles();

    const QSize available = screen()->availableGeometry().size();
    resize(std::min(960, available.width()), std::min(680, available.height()));

    connect(&m_contextHelp, &ContextHelpMode::activeChanged, this, [this](bool bActive) {
        if (bActive)
            statusBar()->showMessage(tr("Select an object on which to get Help"));
        else
            statusBar()->clearMessage();
    });
    connect(&m_contextHelp, &ContextHelpMode::helpRequested, this, [this] { m_pHelp->ShowContents(); });

    // The accelerator table and the idle-time update both look at every input event first.
    qApp->installEventFilter(this);
    OnIdleUpdate();
}

CMainFrame::~CMainFrame()
{
    qApp->removeEventFilter(this);
    m_pMdiArea->disconnect(this);
    // The notebook windows go before what they share of this frame (the keeping of their work),
    // closed ones too: a window closed leaves the list of windows at once but is deleted later.
    qDeleteAll(findChildren<CChildFrame*>());
}

QWidget* CMainFrame::CreateKeysBar()
{
    m_pKeysBar = new QFrame;
    m_pKeysBar->setObjectName(QStringLiteral("keysBar"));
    m_pKeysBar->setAccessibleName(tr("Assigned Keys"));
    auto* pCaption = new QLabel(tr("Assigned Keys:"), m_pKeysBar);
    m_pKeysText = new QLabel(m_pKeysBar);
    m_pKeysText->setObjectName(QStringLiteral("keysText"));
    m_pKeysText->setTextFormat(Qt::PlainText);
    // A long list wraps onto more lines rather than widening the window or being cut off.
    m_pKeysText->setWordWrap(true);
    m_pKeysText->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    auto* pLayout = new QHBoxLayout(m_pKeysBar);
    pLayout->setContentsMargins(6, 3, 6, 3);
    pLayout->setSpacing(8);
    pLayout->addWidget(pCaption, 0, Qt::AlignTop);
    pLayout->addWidget(m_pKeysText, 1);
    return m_pKeysBar;
}

void CMainFrame::CreateToolBar()
{
    m_pToolBar = addToolBar(tr("Toolbar"));
    m_pToolBar->setObjectName(QStringLiteral("mainToolBar"));
    m_pToolBar->setIconSize(QSize(16, 16));
    for (const ToolbarButton& button : ToolbarButtons()) {
        if (button.id == kSeparator) {
            m_pToolBar->addSeparator();
            continue;
        }
        QAction* pAction = CreateCommandAction(button.id, false, m_pToolBar);
        pAction->setIcon(QIcon(QString::fromLatin1(button.icon)));
        pAction->setText(pAction->toolTip());
        m_pToolBar->addAction(pAction);
    }
}

void CMainFrame::CreateStatusBar()
{
    auto* pMessage = new QLabel(tr("For Help, press F1"));
    pMessage->setObjectName(QStringLiteral("messagePane"));
    // A prompt shown while a menu item or button is under the mouse covers this pane.
    statusBar()->addWidget(pMessage, 1);
    m_pLockIndicators = new LockIndicators;
    statusBar()->addPermanentWidget(m_pLockIndicators);
}

std::vector<QMenu*> CMainFrame::CreateMenus(const std::vector<MenuTable>& tables)
{
    std::vector<QMenu*> menus;
    for (const MenuTable& table : tables) {
        auto* pMenu = new QMenu(QCoreApplication::translate("Menu", table.title), this);
        for (const MenuItem& item : table.items) {
            switch (item.id) {
            case kSeparator:
                pMenu->addSeparator();
                break;
            case kRecentFiles: {
                QAction* pPlaceholder = pMenu->addAction(tr("Recent File"));
                pPlaceholder->setEnabled(false);
                m_recentSections.push_back({ pMenu, pPlaceholder, {} });
                break;
            }
            case kWindowList:
                m_pWindowMenu = pMenu;
                connect(pMenu, &QMenu::aboutToShow, this, &CMainFrame::RebuildWindowList);
                break;
            default:
                pMenu->addAction(CreateCommandAction(item.id, item.bShowShortcut, pMenu));
                break;
            }
        }
        menus.push_back(pMenu);
    }
    return menus;
}

QAction* CMainFrame::CreateCommandAction(int id, bool bShowShortcut, QObject* parent)
{
    const CommandInfo* pInfo = FindCommand(id);
    // The shortcut is only shown: the accelerator table runs the keys, as it does for keys
    // that no menu shows.
    auto* pAction = new QAction(CommandMenuText(id, bShowShortcut), parent);
    pAction->setData(id);
    pAction->setStatusTip(QCoreApplication::translate("Command", pInfo->prompt));
    pAction->setToolTip(QCoreApplication::translate("Command", pInfo->tooltip));
    pAction->setCheckable(IsToggle(id));
    connect(pAction, &QAction::triggered, this, [this, id] { OnCommand(id); });
    m_commandActions.append(pAction);
    return pAction;
}

void CMainFrame::ShowMenus(bool bNotebook)
{
    if (bNotebook == m_bNotebookMenusShown && !menuBar()->actions().isEmpty())
        return;
    m_bNotebookMenusShown = bNotebook;
    menuBar()->clear();
    for (QMenu* pMenu : bNotebook ? m_notebookMenus : m_noNotebookMenus)
        menuBar()->addMenu(pMenu);
}

void CMainFrame::RebuildRecentFiles()
{
    const QStringList& files = m_recentFiles.Files();
    for (RecentSection& section : m_recentSections) {
        qDeleteAll(section.entries);
        section.entries.clear();
        section.pPlaceholder->setVisible(files.isEmpty());
        for (int i = 0; i < files.size(); ++i) {
            const QString shown = QDir::toNativeSeparators(files[i]);
            auto* pEntry = new QAction(NumberedEntry(i, shown, section.pMenu->fontMetrics()), section.pMenu);
            pEntry->setStatusTip(tr("Open this notebook"));
            connect(pEntry, &QAction::triggered, this, [this, id = cmd::RecentFile1 + i] { OnCommand(id); });
            section.pMenu->insertAction(section.pPlaceholder, pEntry);
            section.entries.append(pEntry);
        }
    }
}

void CMainFrame::RebuildWindowList()
{
    qDeleteAll(m_windowEntries);
    m_windowEntries.clear();
    const QList<CChildFrame*> children = Children();
    if (!children.isEmpty())
        m_windowEntries.append(m_pWindowMenu->addSeparator());
    for (int i = 0; i < children.size(); ++i) {
        CChildFrame* pChild = children[i];
        QString title = pChild->windowTitle().replace(QStringLiteral("[*]"), QString());
        QAction* pEntry = m_pWindowMenu->addAction(NumberedEntry(i, title, m_pWindowMenu->fontMetrics()));
        pEntry->setStatusTip(tr("Activate this window"));
        pEntry->setCheckable(true);
        pEntry->setChecked(pChild == ActiveChild());
        connect(pEntry, &QAction::triggered, this, [this, pChild] {
            if (Children().contains(pChild))
                ActivateChild(pChild);
        });
        m_windowEntries.append(pEntry);
    }
}

void CMainFrame::SetKeysText(const std::string& text)
{
    m_strKeysText = text;
    RequestIdleUpdate();
}

CChildFrame* CMainFrame::ActiveChild() const
{
    return qobject_cast<CChildFrame*>(m_pMdiArea->currentSubWindow());
}

QList<CChildFrame*> CMainFrame::Children() const
{
    QList<CChildFrame*> children;
    for (QMdiSubWindow* pWindow : m_pMdiArea->subWindowList())
        if (auto* pChild = qobject_cast<CChildFrame*>(pWindow))
            children.append(pChild);
    return children;
}

void CMainFrame::ActivateChild(CChildFrame* pChild)
{
    m_pMdiArea->setActiveSubWindow(pChild);
}

void CMainFrame::Arrange(void (QMdiArea::*arrange)())
{
    // Qt's arranging shows each maximized window normally, which hands the keyboard to
    // another notebook's window, at once or once the events it posted are handled: the active
    // notebook gets it back after both.
    QPointer<CChildFrame> pActive = ActiveChild();
    QPointer<QWidget> pFocus = pActive ? pActive->focusWidget() : nullptr;
    (m_pMdiArea->*arrange)();
    const auto restore = [this, pActive, pFocus] {
        if (!pActive)
            return;
        if (ActiveChild() != pActive)
            ActivateChild(pActive);
        if (pFocus)
            pFocus->setFocus(Qt::OtherFocusReason);
        RequestIdleUpdate();
    };
    restore();
    QTimer::singleShot(0, this, restore);
}

CChildFrame* CMainFrame::NewChild()
{
    return new CChildFrame({ this, m_prompts, *this, m_printerChoice, *m_pKeeping });
}

CChildFrame* CMainFrame::NewNotebook()
{
    auto* pChild = NewChild();
    if (!pChild->GetWindow().New()) {
        delete pChild;
        return nullptr;
    }
    AddChild(pChild);
    return pChild;
}

CChildFrame* CMainFrame::OpenNotebook(const QString& path)
{
    const QString fullPath = QFileInfo(path).absoluteFilePath();
    for (CChildFrame* pChild : Children()) {
        if (pChild->GetWindow().HoldsFile(EncodePath(fullPath))) {
            ActivateChild(pChild);
            return pChild;
        }
    }
    auto* pChild = NewChild();
    ReadReport report;
    try {
        report = pChild->GetWindow().Open(EncodePath(fullPath));
    } catch (const std::exception& e) {
        // The window's own share of opening (decoding and showing the text) may run out of
        // memory too; the other notebooks stay open either way.
        report = { ReadReport::Status::CannotOpen,
                   ExceptionProblem(e).During(FileProblem::Action::Open, EncodePath(fullPath)) };
    }
    if (!report.Opened()) {
        delete pChild;
        m_recentFiles.Remove(fullPath);
        RebuildRecentFiles();
        m_prompts.ReportProblem(report.problem);
        return nullptr;
    }
    AddChild(pChild);
    // A damaged file opens as an untitled notebook, which the recent files do not offer.
    if (report.status == ReadReport::Status::Incomplete) {
        // At start-up the message comes over the window it speaks of, not over an empty screen.
        show();
        m_prompts.ReportProblem(report.problem);
    } else {
        AddRecentFile(fullPath);
    }
    return pChild;
}

void CMainFrame::AddChild(CChildFrame* pChild)
{
    m_pMdiArea->addSubWindow(pChild);
    // The frame's title follows the window from maximized to normal and back.
    connect(pChild, &QMdiSubWindow::windowStateChanged, this, &CMainFrame::RequestIdleUpdate);
    connect(pChild, &CChildFrame::commandRan, this, &CMainFrame::RequestIdleUpdate);
    connect(pChild, &CChildFrame::frontWanted, this, [this, pChild] { ActivateChild(pChild); });
    connect(pChild, &CChildFrame::saved, this, &CMainFrame::AddRecentFile);
    connect(pChild, &CChildFrame::windowMade, this, &CMainFrame::AddChild);
    connect(pChild, &CChildFrame::reopenWanted, this, [this](const QString& path) { OpenNotebook(path); });
    pChild->showMaximized();
    ActivateChild(pChild);
    // A notebook opens with the folder tree as its active pane.
    pChild->ActivatePane(CChildFrame::Pane::Tree);
    OnIdleUpdate();
}

void CMainFrame::AddRecentFile(const QString& path)
{
    m_recentFiles.Add(path);
    RebuildRecentFiles();
}

void CMainFrame::OnFileOpen()
{
    if (const auto path = m_prompts.ChooseOpenFile(NotebookChooser()))
        OpenNotebook(DecodePath(*path));
}

void CMainFrame::OnSubWindowActivated(QMdiSubWindow* pWindow)
{
    // The strip follows the notebook whose window has just become active.
    if (auto* pChild = qobject_cast<CChildFrame*>(pWindow))
        pChild->GetDocument().UpdateKeySummary();
    RequestIdleUpdate();
}

bool CMainFrame::OnCommand(int id)
{
    if (!IsCommandEnabled(id))
        return false;
    try {
        FindHandler(id)();
    } catch (const std::exception& e) {
        m_prompts.Tell({ .kind = Message::Kind::CommandFailed, .problem = ExceptionProblem(e) });
    }
    RequestIdleUpdate();
    return true;
}

bool CMainFrame::IsCommandEnabled(int id)
{
    CChildFrame* pChild = ActiveChild();
    if (pChild && pChild->FindHandler(id))
        return pChild->IsCommandEnabled(id);
    return static_cast<bool>(FrameHandler(id));
}

std::function<void()> CMainFrame::FindHandler(int id)
{
    if (CChildFrame* pChild = ActiveChild())
        if (auto handler = pChild->FindHandler(id))
            return handler;
    return FrameHandler(id);
}

// The frame's and the application's own commands, last in the routing.
std::function<void()> CMainFrame::FrameHandler(int id)
{
    const int recentIndex = id - cmd::RecentFile1;
    if (recentIndex >= 0 && recentIndex < m_recentFiles.Files().size())
        return [this, path = m_recentFiles.Files()[recentIndex]] { OpenNotebook(path); };
    const bool bHasNotebook = !Children().isEmpty();
    switch (id) {
    case cmd::FileNew:
        return [this] { NewNotebook(); };
    case cmd::FileOpen:
        return [this] { OnFileOpen(); };
    case cmd::PrintSetup:
        return [this] { m_printerChoice.RunPrintSetup(this); };
    case cmd::Exit:
        return [this] { close(); };
    case cmd::ViewToolbar:
        return [this] { m_pToolBar->setVisible(m_pToolBar->isHidden()); };
    case cmd::ViewStatusBar:
        return [this] { statusBar()->setVisible(statusBar()->isHidden()); };
    case cmd::ToggleKeysBar:
        return [this] {
            m_bKeysBarShown = !m_bKeysBarShown;
            m_pKeysBar->setVisible(m_bKeysBarShown);
        };
    case cmd::WindowCascade:
        return bHasNotebook ? std::function<void()>([this] { Arrange(&QMdiArea::cascadeSubWindows); }) : nullptr;
    case cmd::WindowTile:
        return bHasNotebook ? std::function<void()>([this] { Arrange(&QMdiArea::tileSubWindows); }) : nullptr;
    case cmd::HelpTopics:
    case cmd::Help:
        return [this] { m_pHelp->ShowContents(); };
    case cmd::ContextHelp:
        return [this] { m_contextHelp.Enter(); };
    case cmd::Tutorial:
        return [this] { m_pHelp->ShowContext(cmd::TutorialHelpContext); };
    case cmd::About:
        return [this] { CAboutDlg(this).exec(); };
    default:
        return {};
    }
}

bool CMainFrame::IsCommandChecked(int id) const
{
    switch (id) {
    case cmd::ViewToolbar:
        return !m_pToolBar->isHidden();
    case cmd::ViewStatusBar:
        return !statusBar()->isHidden();
    case cmd::ToggleKeysBar:
        return m_bKeysBarShown;
    default:
        return false;
    }
}

void CMainFrame::RequestIdleUpdate()
{
    if (m_bIdlePending)
        return;
    m_bIdlePending = true;
    QTimer::singleShot(0, this, &CMainFrame::OnIdleUpdate);
}

void CMainFrame::OnIdleUpdate()
{
    m_bIdlePending = false;
    ShowMenus(!Children().isEmpty());
    for (QAction* pAction : std::as_const(m_commandActions)) {
        const int id = pAction->data().toInt();
        pAction->setEnabled(IsCommandEnabled(id));
        if (pAction->isCheckable())
            pAction->setChecked(IsCommandChecked(id));
    }
    CChildFrame* pActive = ActiveChild();
    ShowTitle(pActive);
    const QString keys = pActive ? pActive->GetCodec().Decode(m_strKeysText) : QString::fromStdString(m_strKeysText);
    if (keys != m_pKeysText->text() || m_pKeysText->accessibleName().isEmpty()) {
        m_pKeysText->setText(keys);
        NameKeysText(pActive);
    }
    for (CChildFrame* pChild : Children())
        pChild->OnIdleUpdate();
}

// "Quillbox - NAME" while a notebook window is active. Qt puts a maximized notebook window's
// title in brackets after the frame's own ("Quillbox - [NAME]"), so the frame then keeps
// "Quillbox" for Qt to build on.
void CMainFrame::ShowTitle(const CChildFrame* pActive)
{
    const QString title = pActive ? tr("%1 - %2").arg(Title(), pActive->windowTitle()) : Title();
    if (pActive && pActive->isMaximized()) {
        if (windowTitle() != tr("%1 - %2").arg(Title(), QStringLiteral("[%1]").arg(pActive->windowTitle())))
            setWindowTitle(Title());
    } else if (windowTitle() != title) {
        setWindowTitle(title);
    }
    setWindowModified(pActive && pActive->isWindowModified());
}

// "Assigned keys: F3 for Trash, F4 for Ideas", which reads better aloud than the strip's
// "Trash=F3, Ideas=F4".
void CMainFrame::NameKeysText(CChildFrame* pActive)
{
    QStringList keys;
    if (pActive) {
        for (const KeyedFolder& folder : KeyedFolders(pActive->GetDocument().GetFolders()))
            keys << tr("%1 for %2").arg(QString::fromStdString(folder.key), pActive->GetCodec().Decode(folder.name));
    }
    const QString name = keys.isEmpty() ? tr("No keys assigned") : tr("Assigned keys: %1").arg(keys.join(QStringLiteral(", ")));
    if (m_pKeysText->accessibleName() != name)
        m_pKeysText->setAccessibleName(name);
}

bool CMainFrame::IsInsideFrame(QObject* pObject) const
{
    auto* pWidget = qobject_cast<QWidget*>(pObject);
    return pWidget && pWidget->window() == this;
}

bool CMainFrame::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::KeyRelease:
        m_pLockIndicators->OnKeyEvent(*static_cast<QKeyEvent*>(event), watched == QApplication::focusObject());
        RequestIdleUpdate();
        break;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::FocusIn:
        RequestIdleUpdate();
        break;
    case QEvent::KeyPress:
        m_pLockIndicators->OnKeyEvent(*static_cast<QKeyEvent*>(event), watched == QApplication::focusObject());
        RequestIdleUpdate();
        [[fallthrough]];
    case QEvent::ShortcutOverride: {
        // The accelerators come before the focused control, so the editor and the tree never
        // see these keys; a key whose command is disabled does nothing.
        if (!IsInsideFrame(watched))
            break;
        const int id = FindAccelerator(*static_cast<QKeyEvent*>(event));
        if (id == 0)
            break;
        event->accept();
        if (event->type() == QEvent::KeyPress)
            OnCommand(id);
        return true;
    }
    default:
        break;
    }
    return QMainWindow::eventFilter(watched, event);
}

void CMainFrame::closeEvent(QCloseEvent* event)
{
    const QList<CChildFrame*> children = Children();
    for (CChildFrame* pChild : children) {
        if (!pChild->GetWindow().SaveModified()) {
            event->ignore();
            return;
        }
    }
    for (CChildFrame* pChild : children) {
        pChild->GetWindow().Close();
        pChild->close();
    }
    event->accept();
}

void CMainFrame::dragEnterEvent(QDragEnterEvent* event)
{
    if (IsFileDrop(event->mimeData()))
        event->acceptProposedAction();
}

void CMainFrame::dropEvent(QDropEvent* event)
{
    event->acceptProposedAction();
    activateWindow();
    for (const QUrl& url : event->mimeData()->urls())
        OpenNotebook(url.toLocalFile());
}

int CMainFrame::RecoverAtStart(const QStringList& opening)
{
    std::vector<std::string> paths;
    for (const QString& file : opening)
        paths.push_back(EncodePath(QFileInfo(file).absoluteFilePath()));
    return m_pKeeping->Offer(m_prompts).OfferAtStart(paths, [this](const RecoveryEntry& entry) {
        auto* pChild = NewChild();
        const ReadReport report = pChild->GetWindow().Recover(entry);
        if (!report.Opened()) {
            delete pChild;
            m_prompts.ReportProblem(report.problem);
            return false;
        }
        AddChild(pChild);
        return true;
    });
}
