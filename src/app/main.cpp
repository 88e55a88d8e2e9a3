#include <QApplication>
#include <QCommandLineParser>

#include "app/CQuillboxApp.h"
#include "qt/Translations.h"

int main(int argc, char* argv[])
{
    QCoreApplication::setApplicationName(QStringLiteral("Quillbox"));
    QCoreApplication::setApplicationVersion(QStringLiteral("1.0"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("A keyboard-driven note keeper."));
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("notebook"), QStringLiteral("Notebook files (*.not) to open."),
                                 QStringLiteral("[notebook...]"));

    // --help and --version answer without a display, as a terminal user expects.
    QStringList raw;
    for (int i = 0; i < argc; ++i)
        raw << QString::fromLocal8Bit(argv[i]);
    if (parser.parse(raw) && (parser.isSet(help) || parser.isSet(version))) {
        QCoreApplication console(argc, argv);
        parser.process(console);
    }

    QApplication application(argc, argv);
    QGuiApplication::setDesktopFileName(QStringLiteral(QUILLBOX_APP_ID));
    InstallTranslations();
    // Qt's own options are gone from the arguments now; an unknown option ends the program.
    parser.process(application);

    CQuillboxApp quillbox;
    const bool bStarted = quillbox.InitInstance(QStringList { QApplication::arguments().constFirst() } + parser.positionalArguments());
    // Told to end during start-up: it ends as it would later, its work kept.
    if (quillbox.IsEnding())
        return 0;
    return bStarted ? application.exec() : 1;
}
