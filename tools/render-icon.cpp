// Renders an SVG picture to square PNG files at the build, for the icon theme's fixed sizes:
// render-icon SOURCE.svg SIZE OUT.png [SIZE OUT.png ...]
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <cstdio>
#include <cstdlib>

int main(int argc, char* argv[])
{
    if (argc < 4 || argc % 2 != 0) {
        std::fprintf(stderr, "usage: render-icon SOURCE.svg SIZE OUT.png [SIZE OUT.png ...]\n");
        return 2;
    }
    QSvgRenderer renderer(QString::fromLocal8Bit(argv[1]));
    if (!renderer.isValid()) {
        std::fprintf(stderr, "render-icon: %s is not a readable SVG picture\n", argv[1]);
        return 1;
    }
    for (int i = 2; i < argc; i += 2) {
        const int size = std::atoi(argv[i]);
        QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        renderer.render(&painter);
        painter.end();
        const QString out = QString::fromLocal8Bit(argv[i + 1]);
        if (size <= 0 || !QDir().mkpath(QFileInfo(out).path()) || !image.save(out)) {
            std::fprintf(stderr, "render-icon: cannot write %s at size %s\n", argv[i + 1], argv[i]);
            return 1;
        }
    }
    return 0;
}
