#include "qt/HelpWindow.h"

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStyle>
#include <QTextBrowser>
#include <QToolBar>

#include "platform/CommandIds.h"
#include "qt/DialogParts.h"
#include "qt/Translations.h"

namespace {

QAction* AddButton(QToolBar* pBar, QStyle::StandardPixmap icon, const QString& text, const char* objectName,
                   const QList<QKeySequence>& keys)
{
    QAction* pAction = pBar->addAction(pBar->style()->standardIcon(icon), text);
    pAction->setObjectName(QString::fromLatin1(objectName));
    pAction->setShortcuts(keys);
    pAction->setToolTip(QStringLiteral("%1 (%2)").arg(text, keys.constFirst().toString(QKeySequence::NativeText)));
    return pAction;
}

} // namespace

HelpWindow::HelpWindow(QWidget* parent)
    : QMainWindow(parent)
    , m_pBrowser(new QTextBrowser)
{
    setObjectName(QStringLiteral("helpWindow"));
    setWindowFlag(Qt::Window);
    setWindowTitle(tr("Quillbox Help"));
    m_pBrowser->setObjectName(QStringLiteral("helpBrowser"));
    m_pBrowser->setAccessibleName(tr("Help page"));
    m_pBrowser->setOpenExternalLinks(true);
    setCentralWidget(m_pBrowser);

    QToolBar* pBar = addToolBar(tr("Navigation"));
    pBar->setObjectName(QStringLiteral("helpToolBar"));
    pBar->setMovable(false);
    pBar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    QAction* pBack = AddButton(pBar, QStyle::SP_ArrowBack, tr("Back"), "helpBack", QKeySequence::keyBindings(QKeySequence::Back));
    QAction* pForward = AddButton(pBar, QStyle::SP_ArrowForward, tr("Forward"), "helpForward", QKeySequence::keyBindings(QKeySequence::Forward));
    QAction* pHome = AddButton(pBar, QStyle::SP_DirHomeIcon, tr("Home"), "helpHome", { QKeySequence(Qt::ALT | Qt::Key_Home) });
    pBack->setEnabled(false);
    pForward->setEnabled(false);
    connect(pBack, &QAction::triggered, m_pBrowser, &QTextBrowser::backward);
    connect(pForward, &QAction::triggered, m_pBrowser, &QTextBrowser::forward);
    connect(pHome, &QAction::triggered, this, &HelpWindow::ShowContents);
    connect(m_pBrowser, &QTextBrowser::backwardAvailable, pBack, &QAction::setEnabled);
    connect(m_pBrowser, &QTextBrowser::forwardAvailable, pForward, &QAction::setEnabled);

    auto* pClose = new QAction(tr("Close"), this);
    pClose->setObjectName(QStringLiteral("helpClose"));
    pClose->setShortcuts({ QKeySequence(Qt::Key_Escape), QKeySequence(Qt::CTRL | Qt::Key_W) });
    connect(pClose, &QAction::triggered, this, &QWidget::close);
    addAction(pClose);
    resize(640, 480);
}

void HelpWindow::ShowContents()
{
    ShowPage(QStringLiteral("index.html"));
}

void HelpWindow::ShowContext(unsigned long context)
{
    ShowPage(context == cmd::TutorialHelpContext ? QStringLiteral("tutorial.html") : QStringLiteral("index.html"));
}

void HelpWindow::showEvent(QShowEvent* event)
{
    KeepOnScreen(this);
    QMainWindow::showEvent(event);
}

QString HelpWindow::PagesFolder()
{
    // Installed, the pages lie under the data folder beside the program's own folder; in the
    // build tree the build copies them into "help" beside each program that shows them.
    const QDir programDir(QCoreApplication::applicationDirPath());
    for (const QString& folder : { QStringLiteral(QUILLBOX_INSTALLED_HELP), QStringLiteral("help") }) {
        const QString path = QDir::cleanPath(programDir.filePath(folder));
        if (QFileInfo::exists(path + QStringLiteral("/index.html")))
            return path;
    }
    return {};
}

QString HelpWindow::PagePath(const QString& page)
{
    const QString folder = PagesFolder();
    if (folder.isEmpty())
        return {};
    // A language's pages lie in a folder of their own, "de/index.html"; the English are the rest.
    for (const QString& path : { QStringLiteral("%1/%2/%3").arg(folder, InstalledLanguage(), page), folder + u'/' + page }) {
        if (QFileInfo::exists(path))
            return path;
    }
    return {};
}

void HelpWindow::ShowPage(const QString& page)
{
    const QString path = PagePath(page);
    if (!path.isEmpty())
        m_pBrowser->setSource(QUrl::fromLocalFile(path));
    else
        m_pBrowser->setPlainText(tr("The help page %1 is missing from this installation.").arg(page));
    show();
    raise();
    activateWindow();
}
