// The main frame: its two menu sets, toolbar, status bar, accelerators and the assigned-keys
// strip, and what it looks like with a notebook open.
#include <QKeyEvent>
#include <QLineEdit>
#include <QMdiArea>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QToolBar>
#include <QVBoxLayout>
#include <QtTest>
#include <map>

#include "AppTestSupport.h"
#include "app/FrameTables.h"
#include "app/LockIndicators.h"
#include "platform/CommandIds.h"
#include "platform/SettingsStore.h"
#include "qt/HelpWindow.h"

namespace {

QString MenuBarTitles(const CMainFrame& frame)
{
    QStringList titles;
    for (const QAction* pAction : frame.menuBar()->actions())
        titles << pAction->text();
    return titles.join(u'|');
}

// Where a child widget lies in its window's picture, in device pixels.
QRect AreaIn(const QWidget& window, const QWidget* pChild)
{
    const qreal ratio = window.devicePixelRatio();
    return { pChild->mapTo(&window, QPoint()) * ratio, pChild->size() * ratio };
}

// The share of an area's pixels that differ from its most common colour, its background: above
// nothing when text is drawn there.
double InkShare(const QImage& shot, const QRect& area)
{
    const QImage part = shot.copy(area);
    std::map<QRgb, int> counts;
    for (int y = 0; y < part.height(); ++y) {
        for (int x = 0; x < part.width(); ++x)
            ++counts[part.pixel(x, y)];
    }
    int background = 0;
    for (const auto& [colour, count] : counts)
        background = std::max(background, count);
    const int all = part.width() * part.height();
    return all ? double(all - background) / all : 0.0;
}

int AcceleratorOf(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    const QKeyEvent event(QEvent::KeyPress, key, modifiers);
    return FindAccelerator(event);
}

} // namespace

class AppMainFrameTest : public QObject
{
    Q_OBJECT

private slots:
    void menusFollowWhetherANotebookIsOpen();
    void toolbarHasItsButtonsInOrder();
    void statusBarShowsPromptsAndTheIdleMessage();
    void acceleratorTableLeavesTheEditorsKeysAlone();
    void f1ShowsTheHelpContents();
    void keysBarTogglesWithItsMenuTick();
    void keysStripAndTitleFollowTheActiveNotebook();
    void cascadeAndTileKeepTheActiveNotebook();
    void lockPanesReadTheKeyboardOnStartFocusAndKeyRelease();
    void mainWindowWithANotebookLooksRight();
};

void AppMainFrameTest::menusFollowWhetherANotebookIsOpen()
{
    MemorySettings settings;
    AppWindow app(settings);
    QCOMPARE(MenuBarTitles(app.frame), QStringLiteral("&File|&View|&Help"));
    QCOMPARE(MenuTexts(MenuOf(app.frame, QStringLiteral("&File"))),
             QStringLiteral("&New\tCtrl+N|&Open...\tCtrl+O|-|P&rint Setup...|-|Recent File|-|E&xit"));
    QCOMPARE(MenuTexts(MenuOf(app.frame, QStringLiteral("&View"))), QStringLiteral("&Toolbar|&Status Bar"));
    QCOMPARE(MenuTexts(MenuOf(app.frame, QStringLiteral("&Help"))), QStringLiteral("&Help Topics|-|&About Quillbox..."));

    app.NewNotebook();
    QTRY_COMPARE(MenuBarTitles(app.frame),
                 QStringLiteral("&File|&Edit|&Note|F&older|&Preferences|&View|&Window|&Help"));
    QCOMPARE(MenuTexts(MenuOf(app.frame, QStringLiteral("&File"))),
             QStringLiteral("&New\tCtrl+N|&Open...\tCtrl+O|&Close\tCtrl+F4|&Save\tCtrl+S|Save &As...|"
                            "&History...\tCtrl+Shift+H|&Merge Choices...|-|Empty the Trash\tCtrl+T|-|&Print Folder\tCtrl+P|-|Recent File|-|"
                            "E&xit\tAlt+F4"));
    QCOMPARE(MenuTexts(MenuOf(app.frame, QStringLiteral("&Edit"))),
             QStringLiteral("&Undo\tCtrl+Z|-|Cu&t\tCtrl+X|&Copy\tCtrl+C|&Paste\tCtrl+V|-|&Find...\tCtrl+F|"
                            "Find in &Notebook...\tCtrl+Shift+F"));
    QCOMPARE(MenuTexts(MenuOf(app.frame, QStringLiteral("&Note"))),
             QStringLiteral("&New Note\tShift+Return|&Delete Note...\tF3|&Move/Copy Note...\tF2"));
    QCOMPARE(MenuTexts(MenuOf(app.frame, QStringLiteral("F&older"))),
             QStringLiteral("&New Folder...\tCtrl+W|&Delete Folder\tCtrl+D|R&ename Folder...\tCtrl+R|"
                            "&Export Folder...\tCtrl+E|&Import Folder...\tCtrl+I|-|C&ut Folder\tCtrl+J|"
                            "C&opy Folder\tCtrl+K|&Paste Folder\tCtrl+L"));
    QCOMPARE(MenuTexts(MenuOf(app.frame, QStringLiteral("&Preferences"))),
             QStringLiteral("&Move/Copy Note...|&Note Header...|&DeleteFolder...|&History Size..."));
    QCOMPARE(MenuTexts(MenuOf(app.frame, QStringLiteral("&View"))),
             QStringLiteral("&Toolbar|&Status Bar|&Assigned Keys Bar|Toggle &View\tF6"));
    QCOMPARE(MenuTexts(MenuOf(app.frame, QStringLiteral("&Window"))), QStringLiteral("&Cascade|&Tile"));
    QCOMPARE(MenuTexts(MenuOf(app.frame, QStringLiteral("&Help"))),
             QStringLiteral("&Help Topics|&Tutorial|-|&About Quillbox..."));
    // The texts only show the keys; the accelerator table runs them.
    QVERIFY(MenuAction(app.frame, QStringLiteral("&Note"), QStringLiteral("&New Note"))->shortcut().isEmpty());

    MenuAction(app.frame, QStringLiteral("&File"), QStringLiteral("&Close"))->trigger();
    QTRY_COMPARE(MenuBarTitles(app.frame), QStringLiteral("&File|&View|&Help"));
}

void AppMainFrameTest::toolbarHasItsButtonsInOrder()
{
    MemorySettings settings;
    AppWindow app(settings);
    auto* pToolBar = Find<QToolBar>(&app.frame, "mainToolBar");
    QVERIFY(pToolBar);
    QStringList tips;
    for (const QAction* pAction : pToolBar->actions()) {
        tips << (pAction->isSeparator() ? QStringLiteral("-") : pAction->toolTip());
        QVERIFY(pAction->isSeparator() || !pAction->icon().pixmap(16, 16).isNull());
    }
    QCOMPARE(tips.join(u'|'), QStringLiteral("New|Open|Save|-|Cut|Copy|Paste|-|Cut Folder|Copy Folder|Paste Folder|-|"
                                             "New Note|Delete Note|Move/Copy Note|-|Print Folder|About|Help"));
}

void AppMainFrameTest::statusBarShowsPromptsAndTheIdleMessage()
{
    MemorySettings settings;
    AppWindow app(settings);
    QStatusBar* pStatus = app.frame.statusBar();
    QCOMPARE(Find<QLabel>(pStatus, "messagePane")->text(), QStringLiteral("For Help, press F1"));
    QVERIFY(Find<QLabel>(pStatus, "capIndicator"));
    QVERIFY(Find<QLabel>(pStatus, "numIndicator"));
    QVERIFY(Find<QLabel>(pStatus, "scrollIndicator"));

    QAction* pOpen = MenuAction(app.frame, QStringLiteral("&File"), QStringLiteral("&Open..."));
    QCOMPARE(pOpen->statusTip(), QStringLiteral("Open an existing notebook"));
    pOpen->showStatusText(&app.frame);
    QCOMPARE(pStatus->currentMessage(), QStringLiteral("Open an existing notebook"));
    QStatusTipEvent leave { QString() };
    QCoreApplication::sendEvent(&app.frame, &leave);
    QVERIFY(Find<QLabel>(pStatus, "messagePane")->isVisible());

    app.frame.OnCommand(cmd::ContextHelp);
    QCOMPARE(pStatus->currentMessage(), QStringLiteral("Select an object on which to get Help"));
    QTest::mouseClick(app.frame.centralWidget(), Qt::LeftButton);
    QVERIFY(app.frame.GetHelp().isVisible());
    QCOMPARE(pStatus->currentMessage(), QString());
    app.frame.GetHelp().close();
}

void AppMainFrameTest::acceleratorTableLeavesTheEditorsKeysAlone()
{
    QCOMPARE(AcceleratorOf(Qt::Key_W, Qt::ControlModifier), cmd::NewFolder);
    QCOMPARE(AcceleratorOf(Qt::Key_Insert, Qt::ControlModifier | Qt::KeypadModifier), cmd::EditCopy);
    QCOMPARE(AcceleratorOf(Qt::Key_Backspace, Qt::AltModifier), cmd::EditUndo);
    QCOMPARE(AcceleratorOf(Qt::Key_Delete, Qt::ShiftModifier), cmd::EditCut);
    QCOMPARE(AcceleratorOf(Qt::Key_F2), cmd::MoveCopyNote);
    QCOMPARE(AcceleratorOf(Qt::Key_F3), cmd::DeleteNote);
    QCOMPARE(AcceleratorOf(Qt::Key_F6, Qt::ShiftModifier), cmd::PrevPane);
    QCOMPARE(AcceleratorOf(Qt::Key_F1, Qt::ShiftModifier), cmd::ContextHelp);
    // Keys the editor and the tree handle themselves.
    QCOMPARE(AcceleratorOf(Qt::Key_Return, Qt::ShiftModifier), 0);
    QCOMPARE(AcceleratorOf(Qt::Key_Delete), 0);
    QCOMPARE(AcceleratorOf(Qt::Key_W, Qt::ControlModifier | Qt::ShiftModifier), 0);
    for (Qt::Key key : { Qt::Key_F4, Qt::Key_F5, Qt::Key_F7, Qt::Key_F8, Qt::Key_F9, Qt::Key_F10, Qt::Key_F11, Qt::Key_F12 })
        QCOMPARE(AcceleratorOf(key), 0);
}

void AppMainFrameTest::f1ShowsTheHelpContents()
{
    MemorySettings settings;
    AppWindow app(settings);
    app.NewNotebook();
    QTest::keyClick(app.Tree(), Qt::Key_F1);
    HelpWindow& help = app.frame.GetHelp();
    QVERIFY(help.isVisible());
    QCOMPARE(help.GetBrowser().source().fileName(), QStringLiteral("index.html"));
    QVERIFY(help.GetBrowser().toPlainText().contains(QStringLiteral("Keyboard summary")));

    MenuAction(app.frame, QStringLiteral("&Help"), QStringLiteral("&Tutorial"))->trigger();
    QCOMPARE(help.GetBrowser().source().fileName(), QStringLiteral("tutorial.html"));
    help.close();
}

void AppMainFrameTest::keysBarTogglesWithItsMenuTick()
{
    MemorySettings settings;
    AppWindow app(settings);
    app.NewNotebook();
    auto* pKeysBar = Find<QWidget>(&app.frame, "keysBar");
    auto* pArea = Find<QMdiArea>(&app.frame, "mdiArea");
    QAction* pToggle = MenuAction(app.frame, QStringLiteral("&View"), QStringLiteral("&Assigned Keys Bar"));
    QVERIFY(pKeysBar && pArea && pToggle);
    QTRY_VERIFY(pToggle->isChecked());
    QVERIFY(pKeysBar->isVisible());
    QCOMPARE(Find<QLabel>(pKeysBar, "keysText")->text(), QStringLiteral("Trash=F3"));
    const int areaHeight = pArea->height();

    pToggle->trigger();
    QVERIFY(!pKeysBar->isVisible());
    QTRY_VERIFY(!pToggle->isChecked());
    QTRY_VERIFY(pArea->height() > areaHeight);

    pToggle->trigger();
    QVERIFY(pKeysBar->isVisible());
    QTRY_VERIFY(pToggle->isChecked());
    QTRY_COMPARE(pArea->height(), areaHeight);
}

void AppMainFrameTest::keysStripAndTitleFollowTheActiveNotebook()
{
    MemorySettings settings;
    AppWindow app(settings);
    CChildFrame* pFirst = app.NewNotebook();
    pFirst->GetDocument().AddFolder(false, "Work", "", true, "F7", "Copy");
    QTRY_COMPARE(app.KeysText(), QStringLiteral("Trash=F3, Work=F7"));

    CChildFrame* pSecond = app.NewNotebook();
    QTRY_COMPARE(app.KeysText(), QStringLiteral("Trash=F3"));
    QVERIFY(pSecond->isMaximized());
    QTRY_COMPARE(app.frame.windowTitle(), QStringLiteral("Quillbox - [Untitled[*]]"));

    // A notebook window that is not maximized still names its notebook in the frame's title.
    app.frame.OnCommand(cmd::WindowCascade);
    QTRY_COMPARE(app.frame.windowTitle(), QStringLiteral("Quillbox - Untitled[*]"));
    pSecond->showMaximized();
    QTRY_COMPARE(app.frame.windowTitle(), QStringLiteral("Quillbox - [Untitled[*]]"));
    app.frame.OnCommand(cmd::WindowTile);
    QTRY_COMPARE(app.frame.windowTitle(), QStringLiteral("Quillbox - Untitled[*]"));
    pFirst->GetDocument().SetModifiedFlag(true);

    app.frame.ActivateChild(pFirst);
    QTRY_COMPARE(app.KeysText(), QStringLiteral("Trash=F3, Work=F7"));
    QTRY_VERIFY(app.frame.isWindowModified());
    pFirst->GetDocument().SetModifiedFlag(false);
    pFirst->close();
    QTRY_COMPARE(app.KeysText(), QStringLiteral("Trash=F3"));
    QCOMPARE(app.frame.ActiveChild(), pSecond);
}

void AppMainFrameTest::cascadeAndTileKeepTheActiveNotebook()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("ideas.not"));
    QVERIFY(QFile::copy(QStringLiteral(QUILLBOX_TEST_DATA "/new-notebook.not"), path));
    MemorySettings settings;
    AppWindow app(settings);
    // Between two new notebooks, and chosen again.
    CChildFrame* pUntitled = app.NewNotebook();
    CChildFrame* pIdeas = app.frame.OpenNotebook(path);
    QVERIFY(pIdeas);
    CChildFrame* pOther = app.NewNotebook();
    QTRY_COMPARE(app.frame.windowTitle(), QStringLiteral("Quillbox - [Untitled[*]]"));
    app.frame.ActivateChild(pIdeas);
    QTRY_COMPARE(app.frame.windowTitle(), QStringLiteral("Quillbox - [ideas.not[*]]"));
    for (const Qt::Key item : { Qt::Key_C, Qt::Key_T, Qt::Key_C }) {
        // Window > Cascade or Tile, by keys, from the editor.
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_W, Qt::AltModifier);
        QMenu* pMenu = MenuOf(app.frame, QStringLiteral("&Window"));
        QTRY_VERIFY(pMenu->isVisible());
        QTest::keyClick(pMenu, item);
        QTRY_VERIFY(!pMenu->isVisible());
        // The offscreen platform leaves the closed menu active, where a window manager gives
        // the frame the keyboard back.
        if (QApplication::activeWindow() != &app.frame)
            app.frame.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&app.frame));
        QTRY_COMPARE(app.frame.windowTitle(), QStringLiteral("Quillbox - ideas.not[*]"));
        QCOMPARE(app.frame.ActiveChild(), pIdeas);
        // The keys typed next go to the active notebook, not to the other one.
        QVERIFY(pIdeas->isAncestorOf(QApplication::focusWidget()));
        for (const CChildFrame* pChild : { pUntitled, pIdeas, pOther })
            QVERIFY(!pChild->isMaximized());
    }
}

void AppMainFrameTest::lockPanesReadTheKeyboardOnStartFocusAndKeyRelease()
{
    LockState state { false, true, false };
    QWidget window;
    auto* pLayout = new QVBoxLayout(&window);
    auto* pFirst = new QLineEdit;
    auto* pSecond = new QLineEdit;
    auto* pPanes = new LockIndicators([&state] { return std::optional<LockState>(state); });
    for (QWidget* pWidget : { static_cast<QWidget*>(pFirst), static_cast<QWidget*>(pSecond), static_cast<QWidget*>(pPanes) })
        pLayout->addWidget(pWidget);
    const auto shown = [pPanes] {
        QStringList texts;
        for (const char* name : { "capIndicator", "numIndicator", "scrollIndicator" })
            texts << Find<QLabel>(pPanes, name)->text();
        return texts.join(u'|');
    };
    QCOMPARE(shown(), QStringLiteral("|NUM|"));

    // Switched while another window had the keyboard: right as soon as the focus comes back.
    state = { true, false, false };
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    pFirst->setFocus();
    QTRY_COMPARE(shown(), QStringLiteral("CAP||"));

    // A press carries the modifiers from before it; the release reads the settled state.
    state = { false, false, true };
    const QKeyEvent press(QEvent::KeyPress, Qt::Key_CapsLock, Qt::NoModifier, 66, 0x42, 0x02);
    pPanes->OnKeyEvent(press, true);
    QCOMPARE(shown(), QStringLiteral("CAP||"));
    const QKeyEvent release(QEvent::KeyRelease, Qt::Key_CapsLock, Qt::NoModifier, 66, 0x42, 0x02);
    pPanes->OnKeyEvent(release, true);
    QCOMPARE(shown(), QStringLiteral("||SCRL"));
}

void AppMainFrameTest::mainWindowWithANotebookLooksRight()
{
    MemorySettings settings;
    AppWindow app(settings);
    app.frame.resize(900, 600);
    CChildFrame* pChild = app.NewNotebook();
    pChild->GetDocument().AddFolder(false, "Ideas", "", true, "F4", "Move");
    QTest::keyClicks(app.Editor(), QStringLiteral("A notebook window with the editor on the left."));
    QTest::keyClick(app.Editor(), Qt::Key_Return, Qt::ShiftModifier);
    QTest::keyClicks(app.Editor(), QStringLiteral("And a second note."));
    QTRY_COMPARE(app.KeysText(), QStringLiteral("Trash=F3, Ideas=F4"));
    QTRY_VERIFY(pChild->isWindowModified());

    // The picture: the notes in the wider pane on the left, the folders on the right, both drawn.
    const QImage shot = app.frame.grab().toImage();
    QVERIFY(shot.save(QStringLiteral(QUILLBOX_BUILD_DIR "/app-main-window.png")));
    QCOMPARE(shot.size(), app.frame.size() * app.frame.devicePixelRatio());
    const QRect notes = AreaIn(app.frame, app.Editor()->viewport());
    const QRect folders = AreaIn(app.frame, app.Tree()->viewport());
    QVERIFY(notes.right() < folders.left());
    QVERIFY(notes.width() > folders.width());
    QVERIFY2(InkShare(shot, notes) > 0.005, qPrintable(QString::number(InkShare(shot, notes))));
    QVERIFY2(InkShare(shot, folders) > 0.005, qPrintable(QString::number(InkShare(shot, folders))));
    // The new folder is on screen, holding the two notes typed into it.
    QCOMPARE(app.Tree()->currentItem()->text(0), QStringLiteral("Ideas"));
    QVERIFY(app.Editor()->toPlainText().contains(QStringLiteral("\nA notebook window with the editor on the left.\n------ New Note ")));
    QVERIFY(app.Editor()->toPlainText().endsWith(QStringLiteral("\nAnd a second note.")));

    // Every key bound, to long names: the strip grows a line rather than cutting a binding off.
    auto* pKeysText = Find<QLabel>(&app.frame, "keysText");
    const int oneLine = pKeysText->height();
    for (const char* key : { "F5", "F7", "F8", "F9", "F11", "F12" })
        pChild->GetDocument().AddFolder(false, std::string("Correspondence with the county archive ") + key, "", true, key, "Copy");
    QTRY_VERIFY(app.KeysText().endsWith(QStringLiteral("archive F12=F12")));
    QTRY_VERIFY(pKeysText->height() > oneLine);
    QVERIFY(pKeysText->height() >= pKeysText->heightForWidth(pKeysText->width()));
    QVERIFY(pKeysText->geometry().right() < Find<QWidget>(&app.frame, "keysBar")->width());
    QVERIFY(app.frame.grab().save(QStringLiteral(QUILLBOX_BUILD_DIR "/app-main-window-many-keys.png")));
}

QTEST_MAIN(AppMainFrameTest)
#include "AppMainFrameTest.moc"
