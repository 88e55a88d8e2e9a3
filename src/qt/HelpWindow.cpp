#include "qt/HelpWindow.h"

#include <QFile>

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

void HelpWindow::ShowPage(const QString& page)
{
    if (QFile::exists(QStringLiteral(":/help/") + page))
        setSource(QUrl(QStringLiteral("qrc:/help/") + page));
    else
        setPlainText(QStringLiteral("The help page %1 is missing from this installation.").arg(page));
    show();
    raise();
    activateWindow();
}
