// What the main window looks like in the desktop's palette and in a dark one, at the device pixel
// ratio the test runs with (CTest runs it at 1 and, with QT_SCALE_FACTOR=2, at 2). Each case
// saves its screenshots into the build folder as look-<palette>[-help]-scale<ratio>.png.
#include <QStatusBar>
#include <QToolBar>
#include <QtTest>
#include <map>

#include "AppTestSupport.h"
#include "platform/SettingsStore.h"
#include "qt/HelpWindow.h"

namespace {

// WCAG's contrast ratio of two colours, from 1 (the same) to 21 (black on white).
double Contrast(QRgb a, QRgb b)
{
    const auto luminance = [](QRgb rgb) {
        const auto linear = [](int channel) {
            const double c = channel / 255.0;
            return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
        };
        return 0.2126 * linear(qRed(rgb)) + 0.7152 * linear(qGreen(rgb)) + 0.0722 * linear(qBlue(rgb));
    };
    const double la = luminance(a);
    const double lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// How well text painted in `image` stands out: the contrast of its strongest pixel against
// the most common colour, which is the background.
double TextContrast(const QImage& image)
{
    std::map<QRgb, int> counts;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x)
            ++counts[image.pixel(x, y) | 0xff000000];
    }
    if (counts.empty())
        return 1.0;
    const QRgb background = std::max_element(counts.begin(), counts.end(), [](const auto& a, const auto& b) {
        return a.second < b.second;
    })->first;
    double best = 1.0;
    for (const auto& [colour, count] : counts)
        best = std::max(best, Contrast(colour, background));
    return best;
}

// A dark palette as a desktop's dark theme hands it to Qt.
QPalette DarkPalette()
{
    QPalette palette(QColor(0x35, 0x35, 0x35), QColor(0x2b, 0x2b, 0x2b));
    palette.setColor(QPalette::WindowText, QColor(0xe8, 0xe8, 0xe8));
    palette.setColor(QPalette::Text, QColor(0xe8, 0xe8, 0xe8));
    palette.setColor(QPalette::ButtonText, QColor(0xe8, 0xe8, 0xe8));
    palette.setColor(QPalette::Base, QColor(0x1e, 0x1e, 0x1e));
    palette.setColor(QPalette::AlternateBase, QColor(0x26, 0x26, 0x26));
    palette.setColor(QPalette::Highlight, QColor(0x2f, 0x5f, 0xa8));
    palette.setColor(QPalette::HighlightedText, Qt::white);
    palette.setColor(QPalette::ToolTipBase, QColor(0x1e, 0x1e, 0x1e));
    palette.setColor(QPalette::ToolTipText, QColor(0xe8, 0xe8, 0xe8));
    palette.setColor(QPalette::PlaceholderText, QColor(0x90, 0x90, 0x90));
    palette.setColor(QPalette::Link, QColor(0x7a, 0xb0, 0xff));
    return palette;
}

} // namespace

class AppLookTest : public QObject
{
    Q_OBJECT

private slots:
    void init() { QApplication::setPalette(QPalette()); }
    void cleanup() { QApplication::setPalette(QPalette()); }
    void looksRightInTheDesktopPalette() { CheckLook(QStringLiteral("light"), QPalette()); }
    // The desktop switches to a dark theme while the window is open.
    void looksRightInADarkPalette() { CheckLook(QStringLiteral("dark"), DarkPalette()); }

private:
    void CheckLook(const QString& paletteName, const QPalette& desktop);
};

void AppLookTest::CheckLook(const QString& paletteName, const QPalette& desktop)
{
    MemorySettings settings;
    AppWindow app(settings);
    app.frame.resize(760, 460);
    CChildFrame* pChild = app.NewNotebook();
    pChild->GetDocument().AddFolder(false, "Ideas", "", true, "F4", "Move");
    QTest::keyClicks(app.Editor(), QStringLiteral("Every text on screen is readable."));
    QTRY_COMPARE(app.KeysText(), QStringLiteral("Trash=F3, Ideas=F4"));
    QApplication::setPalette(desktop);
    QCoreApplication::processEvents();

    const qreal ratio = app.frame.devicePixelRatio();
    const QImage shot = app.frame.grab().toImage();
    QVERIFY(shot.save(QStringLiteral(QUILLBOX_BUILD_DIR "/look-%1-scale%2.png").arg(paletteName).arg(ratio)));
    QCOMPARE(shot.size(), app.frame.size() * ratio);

    // Icons are drawn for the screen's pixels, not scaled up from a smaller picture.
    const auto checkSharp = [ratio](const QIcon& icon, const QSize& size, const QString& what) {
        const QPixmap pixmap = icon.pixmap(size, ratio);
        QVERIFY2(pixmap.size() == size * ratio, qPrintable(what));
        QVERIFY2(pixmap.devicePixelRatio() == ratio, qPrintable(what));
    };
    checkSharp(app.frame.windowIcon(), QSize(32, 32), QStringLiteral("window icon"));
    auto* pToolBar = Find<QToolBar>(&app.frame, "mainToolBar");
    int buttons = 0;
    for (const QAction* pAction : pToolBar->actions()) {
        if (!pAction->isSeparator()) {
            checkSharp(pAction->icon(), pToolBar->iconSize(), pAction->text());
            ++buttons;
        }
    }
    QCOMPARE(buttons, 15);
    const QTreeWidgetItem* pMain = app.Tree()->topLevelItem(0);
    checkSharp(pMain->icon(0), app.Tree()->iconSize(), QStringLiteral("folder image"));

    // Every text the window shows stands out from what is behind it (WCAG AA: 4.5), or for a
    // selected folder as much as the palette's own selection colours allow.
    const auto checkReadable = [](QWidget* pWidget, const QRect& area, const QString& what, double minimum = 4.5) {
        const qreal widgetRatio = pWidget->devicePixelRatio();
        const QImage image = pWidget->grab(area).toImage();
        const double contrast = TextContrast(image);
        QVERIFY2(contrast >= minimum, qPrintable(QStringLiteral("%1: contrast %2").arg(what).arg(contrast)));
        QCOMPARE(image.width(), qRound(area.width() * widgetRatio));
    };
    for (QLabel* pLabel : Find<QWidget>(&app.frame, "keysBar")->findChildren<QLabel*>())
        checkReadable(pLabel, pLabel->rect(), QStringLiteral("keys strip \"%1\"").arg(pLabel->text()));
    for (QLabel* pLabel : app.frame.statusBar()->findChildren<QLabel*>()) {
        if (pLabel->isVisible() && !pLabel->text().isEmpty())
            checkReadable(pLabel, pLabel->rect(), QStringLiteral("status bar \"%1\"").arg(pLabel->text()));
    }
    QWidget* pEditor = app.Editor()->viewport();
    checkReadable(pEditor, QRect(0, 0, pEditor->width(), app.Editor()->fontMetrics().height() + 8),
                  QStringLiteral("editor"));
    // Each folder's name, right of its image, selected or not.
    QTreeWidget* pTree = app.Tree();
    pTree->expandAll();
    const QPalette& colours = pTree->palette();
    const double selection = std::min(Contrast(colours.color(QPalette::Active, QPalette::HighlightedText).rgb(),
                                               colours.color(QPalette::Active, QPalette::Highlight).rgb()),
                                      Contrast(colours.color(QPalette::Inactive, QPalette::HighlightedText).rgb(),
                                               colours.color(QPalette::Inactive, QPalette::Highlight).rgb()));
    for (QTreeWidgetItemIterator it(pTree); *it; ++it) {
        QRect area = pTree->visualItemRect(*it);
        area.setLeft(area.left() + pTree->iconSize().width() + 4);
        checkReadable(pTree->viewport(), area, QStringLiteral("folder %1").arg((*it)->text(0)),
                      (*it)->isSelected() ? std::min(4.5, 0.9 * selection) : 4.5);
    }
    QVERIFY(pTree->currentItem() && pTree->currentItem()->isSelected());
    // The lines between the folders show too.
    QVERIFY(Contrast(colours.color(QPalette::Dark).rgb(), colours.color(QPalette::Base).rgb()) >= 2.0);

    HelpWindow& help = app.frame.GetHelp();
    help.ShowContents();
    QVERIFY(help.grab().save(QStringLiteral(QUILLBOX_BUILD_DIR "/look-%1-help-scale%2.png").arg(paletteName).arg(ratio)));
    checkReadable(help.GetBrowser().viewport(), help.GetBrowser().viewport()->rect(), QStringLiteral("help page"));
    help.close();
}

QTEST_MAIN(AppLookTest)
#include "AppLookTest.moc"
