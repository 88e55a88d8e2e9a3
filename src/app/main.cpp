#include <QApplication>

#include "app/CQuillboxApp.h"

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quillbox"));
    QApplication::setApplicationVersion(QStringLiteral("1.0"));
    QGuiApplication::setDesktopFileName(QStringLiteral(QUILLBOX_APP_ID));

    CQuillboxApp quillbox;
    if (!quillbox.InitInstance(QApplication::arguments()))
        return 1;
    return application.exec();
}
