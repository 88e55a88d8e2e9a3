#include <QApplication>
#include <QCommandLineParser>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "app/CQuillboxApp.h"
#include "qt/Translations.h"

namespace {

// Qt's own options, which QApplication takes out of the arguments, with one hyphen or two;
// those that take the next argument as their value.
constexpr std::string_view kQtOptionsWithValue[] = {
    "platform", "platformpluginpath", "platformtheme", "plugin", "qwindowgeometry", "geometry", "qwindowicon",
    "icon", "qwindowtitle", "title", "display", "name", "session", "style", "stylesheet",
};
constexpr std::string_view kQtFlags[] = { "reverse", "widgetcount", "testability", "nograb", "dograb", "sync" };

constexpr const char* kVirtualDisplay
    = QT_TRANSLATE_NOOP("main", "without one, start it under a virtual display: xvfb-run -a quillbox [notebook...]");

// The arguments less Qt's own options, for a look at them before there is a display; sets
// bPlatform when they name the window system to use.
QStringList WithoutQtOptions(int argc, char* argv[], bool& bPlatform)
{
    QStringList ours { QString::fromLocal8Bit(argv[0]) };
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--") {
            for (; i < argc; ++i)
                ours << QString::fromLocal8Bit(argv[i]);
            break;
        }
        std::string_view name = arg.substr(arg.starts_with("--") ? 2 : arg.starts_with('-') ? 1 : 0);
        name = name.substr(0, name.find('='));
        const bool bInline = arg.find('=') != std::string_view::npos;
        if (arg.starts_with('-') && std::ranges::find(kQtOptionsWithValue, name) != std::end(kQtOptionsWithValue)) {
            bPlatform = bPlatform || name == "platform";
            if (!bInline)
                ++i;
            continue;
        }
        if (arg.starts_with('-') && std::ranges::find(kQtFlags, name) != std::end(kQtFlags))
            continue;
        ours << QString::fromLocal8Bit(argv[i]);
    }
    return ours;
}

bool HasDisplay(bool bPlatformNamed)
{
    return bPlatformNamed || !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") || !qEnvironmentVariableIsEmpty("DISPLAY")
           || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}

// While the application starts: a window system that cannot be reached ends the program with
// a line saying so, where Qt would abort. The line is English: there is no application to hold
// the catalogues while Qt makes one.
QtMessageHandler g_qtHandler = nullptr;

void OnStartMessage(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (type != QtFatalMsg) {
        if (g_qtHandler)
            g_qtHandler(type, context, message);
        return;
    }
    std::fprintf(stderr, "quillbox: the display cannot be reached to open the window on; %s\n", kVirtualDisplay);
    std::_Exit(1);
}

} // namespace

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

    // The arguments are looked at before the window system is: a mistyped option, --help and
    // --version answer on a terminal without a display, as a terminal user expects.
    bool bPlatformNamed = false;
    const QStringList ours = WithoutQtOptions(argc, argv, bPlatformNamed);
    if (!parser.parse(ours)) {
        QCoreApplication console(argc, argv);
        InstallTranslations();
        // Again, for Qt's words of what is wrong in the user's language.
        parser.parse(ours);
        std::fputs(qUtf8Printable(QCoreApplication::translate("main", "quillbox: %1\nSee quillbox --help.\n").arg(parser.errorText())),
                   stderr);
        return 2;
    }
    if (parser.isSet(help) || parser.isSet(version) || parser.isSet(QStringLiteral("help-all"))) {
        QCoreApplication console(argc, argv);
        parser.process(console);
    }
    if (!HasDisplay(bPlatformNamed)) {
        QCoreApplication console(argc, argv);
        InstallTranslations();
        std::fputs(qUtf8Printable(QCoreApplication::translate("main", "quillbox: there is no display to open the window on (DISPLAY "
                                                                      "and WAYLAND_DISPLAY are unset); %1\n")
                                      .arg(QCoreApplication::translate("main", kVirtualDisplay))),
                   stderr);
        return 1;
    }

    g_qtHandler = qInstallMessageHandler(OnStartMessage);
    QApplication application(argc, argv);
    qInstallMessageHandler(g_qtHandler);
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
