// Prints the file type Qt's QMimeDatabase gives each FILE, one a line: the lookup that KDE's
// kmimetypefinder and every Qt program's file dialogs make.
//   mime-type-of FILE...
#include <QCoreApplication>
#include <QMimeDatabase>
#include <cstdio>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const QMimeDatabase database;
    for (int i = 1; i < argc; ++i) {
        const QString name = database.mimeTypeForFile(QString::fromLocal8Bit(argv[i])).name();
        std::printf("%s\n", name.toLocal8Bit().constData());
    }
    return 0;
}
