#include "qt/HelpWindow.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include "platform/CommandIds.h"

HelpWindow::HelpWindow(QWidget* parent)
    : QTextBrowser(parent)
{
    setObjectName(QStringLiteral("helpWindow"));
    setWindowFlag(Qt::Window);
    setWindowTitle(QStringLiteral("Quillbox Help"));
    setOpenExternalLinks(true);
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

void HelpWindow::ShowPage(const QString& page)
{
    const QString folder = PagesFolder();
    if (!folder.isEmpty() && QFileInfo::exists(folder + u'/' + page))
        setSource(QUrl::fromLocalFile(folder + u'/' + page));
    else
        setPlainText(QStringLiteral("The help page %1 is missing from this installation.").arg(page));
    show();
    raise();
    activateWindow();
}
