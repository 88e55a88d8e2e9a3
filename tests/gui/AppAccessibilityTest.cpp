// What assistive technology finds in the window: every control a user can reach by the keyboard
// has a name, in the main window with a notebook open and in each dialog its commands show; the
// folder tree's items say their keys, the editor says whose notes it holds; every control shows
// when it has the focus, and every menu command has a key.
#include <QAccessible>
#include <QMdiSubWindow>
#include <QStatusBar>
#include <QtTest>

#include "AppTestSupport.h"
#include "platform/CommandIds.h"
#include "platform/SettingsStore.h"
#include "qt/RecoveryDialog.h"

using namespace Qt::StringLiterals;

namespace {

// An item view's rows past this many add nothing a walk must see: they are made alike.
constexpr int kRowsWalked = 40;

QString Describe(QAccessibleInterface* pIface)
{
    QObject* pObject = pIface->object() ? pIface->object() : pIface->parent()->object();
    const QString className = pObject ? QString::fromLatin1(pObject->metaObject()->className()) : QStringLiteral("item");
    const QString objectName = pObject ? pObject->objectName() : QString();
    return QStringLiteral("%1 \"%2\" (role %3)").arg(className, objectName).arg(static_cast<int>(pIface->role()));
}

// The controls under `pIface` that a user can reach yet that say no name; `depth` bounds the walk.
void FindUnnamed(QAccessibleInterface* pIface, QStringList& unnamed, int depth = 0)
{
    if (!pIface || !pIface->isValid() || depth > 40)
        return;
    const QAccessible::State state = pIface->state();
    if (state.invisible)
        return;
    // A row says its name in its first cell; a later one may well be empty (a folder's size).
    const QAccessibleTableCellInterface* pCell = pIface->tableCellInterface();
    if (state.focusable && pIface->text(QAccessible::Name).trimmed().isEmpty() && !(pCell && pCell->columnIndex() > 0))
        unnamed << Describe(pIface);
    const int count = std::min(pIface->childCount(), kRowsWalked * 4);
    for (int i = 0; i < count; ++i)
        FindUnnamed(pIface->child(i), unnamed, depth + 1);
}

QStringList UnnamedControls(QWidget* pWindow)
{
    QStringList unnamed;
    FindUnnamed(QAccessible::queryAccessibleInterface(pWindow), unnamed);
    return unnamed;
}

// The controls of a window that take the focus by Tab and look no different when they have it.
QStringList UnmarkedFocus(QWidget* pWindow)
{
    QList<QWidget*> controls;
    for (QWidget* pWidget : pWindow->findChildren<QWidget*>()) {
        if (pWidget->isVisible() && pWidget->isEnabled() && (pWidget->focusPolicy() & Qt::TabFocus) && !pWidget->focusProxy())
            controls << pWidget;
    }
    // A window that is not yet active draws no focus at all, which a busy machine shows.
    pWindow->window()->activateWindow();
    if (!QTest::qWaitForWindowActive(pWindow->window()))
        return { QStringLiteral("the window never became active") };
    QStringList unmarked;
    for (QWidget* pControl : controls) {
        // What a Tab key press leaves behind: the styles mark the focus once the keyboard moved it.
        pWindow->window()->setAttribute(Qt::WA_KeyboardFocusChange);
        if (controls.size() > 1)
            (controls.first() == pControl ? controls.last() : controls.first())->setFocus(Qt::TabFocusReason);
        else
            pControl->clearFocus();
        const QString control = QStringLiteral("%1 \"%2\"").arg(QString::fromLatin1(pControl->metaObject()->className()), pControl->objectName());
        if (!QTest::qWaitFor([&] { return !pControl->hasFocus(); }, 1000)) {
            unmarked << control + QStringLiteral(" (keeps the keyboard)");
            continue;
        }
        const QImage without = pControl->grab().toImage();
        pControl->setFocus(Qt::TabFocusReason);
        if (!QTest::qWaitFor([&] { return pControl->hasFocus(); }, 1000)) {
            unmarked << control + QStringLiteral(" (never takes the keyboard)");
            continue;
        }
        if (pControl->grab().toImage() == without)
            unmarked << control;
    }
    return unmarked;
}

// The menu action of a command, in the menus the window shows now.
QAction* CommandAction(const CMainFrame& frame, int id)
{
    for (QAction* pTitle : frame.menuBar()->actions()) {
        for (QAction* pAction : pTitle->menu()->actions()) {
            if (pAction->data().toInt() == id)
                return pAction;
        }
    }
    return nullptr;
}

// The accessible name and description of each of the tree's rows, in the order shown.
QStringList ItemTexts(QTreeWidget* pTree, QAccessible::Text text)
{
    QStringList texts;
    QAccessibleInterface* pIface = QAccessible::queryAccessibleInterface(pTree);
    for (int i = 0; i < pIface->childCount(); ++i) {
        QAccessibleInterface* pItem = pIface->child(i);
        if (pItem->role() == QAccessible::TreeItem)
            texts << pItem->text(text);
    }
    return texts;
}

QString NameOf(QWidget* pWidget)
{
    return QAccessible::queryAccessibleInterface(pWidget)->text(QAccessible::Name);
}

} // namespace

class AppAccessibilityTest : public QObject
{
    Q_OBJECT

private slots:
    void mainWindowNamesEveryControl();
    void treeItemsSayTheirKeysAndTheEditorItsFolder();
    void f6LeavesTheFocusSeenInEitherPane();
    void aScreenReaderIsToldThePaneThatHasTheKeyboard();
    void everyDialogNamesAndShowsEveryControl_data();
    void everyDialogNamesAndShowsEveryControl();
    void recoveryQuestionNamesItsList();
    void everyMenuCommandHasAKey();
};

void AppAccessibilityTest::mainWindowNamesEveryControl()
{
    MemorySettings settings;
    AppWindow app(settings);
    QCOMPARE(UnnamedControls(&app.frame), QStringList());
    CChildFrame* pChild = app.NewNotebook();
    pChild->GetDocument().AddFolder(false, "Ideas", "", true, "F4", "Move");
    QCoreApplication::processEvents();

    QCOMPARE(UnnamedControls(&app.frame), QStringList());
    QCOMPARE(UnmarkedFocus(pChild), QStringList());
    QCOMPARE(NameOf(app.Tree()), QStringLiteral("Folders"));
    QCOMPARE(QAccessible::queryAccessibleInterface(app.Tree())->role(), QAccessible::Tree);
    QCOMPARE(QAccessible::queryAccessibleInterface(app.Editor())->role(), QAccessible::EditableText);
    QCOMPARE(NameOf(pChild), QStringLiteral("Untitled"));
    // The parts of the window that show without taking the focus say what they show.
    QTRY_COMPARE(NameOf(Find<QLabel>(&app.frame, "keysText")), QStringLiteral("Assigned keys: F3 for Trash, F4 for Ideas"));
    QCOMPARE(NameOf(Find<QWidget>(&app.frame, "keysBar")), QStringLiteral("Assigned Keys"));
    // Folders of one name, told apart by their paths as the strip shows them.
    ClickFolder(app.Tree(), QStringLiteral("Main"));
    pChild->GetDocument().AddFolder(false, "Work", "", true, "", "");
    pChild->GetDocument().AddFolder(false, "Ideas", "", true, "F5", "Move");
    QTRY_COMPARE(app.KeysText(), QStringLiteral("Trash=F3, Main/Ideas=F4, Main/Work/Ideas=F5"));
    QTRY_COMPARE(NameOf(Find<QLabel>(&app.frame, "keysText")),
                 QStringLiteral("Assigned keys: F3 for Trash, F4 for Main/Ideas, F5 for Main/Work/Ideas"));
    QCOMPARE(QAccessible::queryAccessibleInterface(app.frame.statusBar())->role(), QAccessible::StatusBar);
    QCOMPARE(NameOf(Find<QLabel>(&app.frame, "messagePane")), QStringLiteral("For Help, press F1"));
    for (const char* pane : { "capIndicator", "numIndicator", "scrollIndicator" }) {
        const QString name = NameOf(Find<QLabel>(&app.frame, pane));
        QVERIFY2(name.endsWith(QStringLiteral(" Lock on")) || name.endsWith(QStringLiteral(" Lock off")), pane);
    }
}

void AppAccessibilityTest::treeItemsSayTheirKeysAndTheEditorItsFolder()
{
    MemorySettings settings;
    AppWindow app(settings);
    CChildFrame* pChild = app.NewNotebook();
    pChild->GetDocument().AddFolder(false, "Ideas", "", true, "F4", "Copy");
    pChild->GetDocument().AddFolder(false, "Plain", "", true, "", "");
    app.Tree()->expandAll();
    QCOMPARE(ItemTexts(app.Tree(), QAccessible::Name),
             QStringList({ QStringLiteral("Main"), QStringLiteral("Ideas, key F4"), QStringLiteral("Plain"), QStringLiteral("Trash, key F3") }));
    QCOMPARE(ItemTexts(app.Tree(), QAccessible::Description).at(1), QStringLiteral("F4 copies the note at the cursor into this folder"));

    // The editor's name follows the folder chosen by the keyboard, and a rename.
    app.Tree()->setFocus();
    QTest::keyClick(app.Tree(), Qt::Key_Home);
    QCOMPARE(NameOf(app.Editor()), QStringLiteral("Notes in Main"));
    QTest::keyClick(app.Tree(), Qt::Key_Down);
    QCOMPARE(NameOf(app.Editor()), QStringLiteral("Notes in Ideas"));
    QTest::keyClick(app.Tree(), Qt::Key_End);
    QCOMPARE(NameOf(app.Editor()), QStringLiteral("Notes in Trash"));
    QTest::keyClick(app.Tree(), Qt::Key_Up);
    WhenModal([](QWidget* pDialog) {
        auto* pName = Find<QLineEdit>(pDialog, "inputText");
        QVERIFY(pName);
        pName->setText(QStringLiteral("Later"));
        qobject_cast<QDialog*>(pDialog)->accept();
    });
    QTest::keyClick(app.Tree(), Qt::Key_R, Qt::ControlModifier);
    QTRY_COMPARE(NameOf(app.Editor()), QStringLiteral("Notes in Later"));
}

void AppAccessibilityTest::f6LeavesTheFocusSeenInEitherPane()
{
    MemorySettings settings;
    AppWindow app(settings);
    app.NewNotebook();
    QTRY_COMPARE(QApplication::focusWidget(), app.Tree());
    QWidget* pTree = app.Tree();
    QWidget* pEditor = app.Editor();
    const QImage treeFocused = pTree->grab().toImage();
    const QImage editorUnfocused = pEditor->grab().toImage();
    QTest::keyClick(pTree, Qt::Key_F6);
    QTRY_COMPARE(QApplication::focusWidget(), pEditor);
    QVERIFY(pTree->grab().toImage() != treeFocused);
    QVERIFY(pEditor->grab().toImage() != editorUnfocused);
}

// The controls at and under `pIface` that say they have the focus.
void FindFocused(QAccessibleInterface* pIface, QStringList& focused, int depth = 0)
{
    if (!pIface || !pIface->isValid() || depth > 40)
        return;
    if (pIface->state().focused)
        focused << Describe(pIface);
    const int count = std::min(pIface->childCount(), kRowsWalked * 4);
    for (int i = 0; i < count; ++i)
        FindFocused(pIface->child(i), focused, depth + 1);
}

void AppAccessibilityTest::aScreenReaderIsToldThePaneThatHasTheKeyboard()
{
    MemorySettings settings;
    AppWindow app(settings);
    CChildFrame* pChild = app.NewNotebook();
    QTRY_COMPARE(QApplication::focusWidget(), app.Tree());
    QAccessibleInterface* pEditor = QAccessible::queryAccessibleInterface(app.Editor());
    // F6 and a click alike: the named editor has the focus, and no part of it without a name.
    for (const bool bClick : { false, true }) {
        app.Tree()->setFocus();
        QTRY_COMPARE(QApplication::focusWidget(), app.Tree());
        if (bClick)
            QTest::mouseClick(app.Editor()->viewport(), Qt::LeftButton);
        else
            QTest::keyClick(app.Tree(), Qt::Key_F6);
        QTRY_COMPARE(QApplication::focusWidget(), app.Editor());
        QStringList focused;
        FindFocused(pEditor, focused);
        QCOMPARE(focused, QStringList { Describe(pEditor) });
        QCOMPARE(QAccessible::queryAccessibleInterface(pChild)->focusChild()->object(), app.Editor());
        QCOMPARE(pEditor->text(QAccessible::Name), QStringLiteral("Notes in Main"));
    }
}

void AppAccessibilityTest::everyDialogNamesAndShowsEveryControl_data()
{
    QTest::addColumn<int>("command");
    QTest::addColumn<bool>("bNotebook");
    QTest::addColumn<QString>("dialog");
    const auto add = [](const char* tag, int command, bool bNotebook, const char* dialog) {
        QTest::newRow(tag) << command << bNotebook << QString::fromLatin1(dialog);
    };
    add("open, no notebook", cmd::FileOpen, false, "fileChooser");
    add("print setup", cmd::PrintSetup, false, "printSetup");
    add("about", cmd::About, false, "aboutDlg");
    add("open", cmd::FileOpen, true, "fileChooser");
    add("save as", cmd::FileSaveAs, true, "fileChooser");
    add("print folder", cmd::PrintFolder, true, "messageBox");
    add("find", cmd::EditFind, true, "findDialog");
    add("find in notebook", cmd::FindInNotebook, true, "findInNotebookDialog");
    add("move/copy note", cmd::MoveCopyNote, true, "chooseFolderDialog");
    add("new folder", cmd::NewFolder, true, "inputDialog");
    add("delete folder", cmd::DeleteFolder, true, "messageBox");
    add("rename folder", cmd::RenameFolder, true, "inputDialog");
    add("export folder", cmd::ExportFolder, true, "fileChooser");
    add("import folder", cmd::ImportFolder, true, "fileChooser");
    add("assign keys", cmd::AssignKeys, true, "assignKeysDialog");
    add("note header", cmd::NoteHeaderPrefs, true, "newNotePrefsDialog");
    add("delete folder preferences", cmd::DeleteFolderPrefs, true, "deleteFolderPrefsDialog");
    add("history size", cmd::HistoryPrefs, true, "historyPrefsDialog");
    add("help topics", cmd::HelpTopics, true, "helpWindow");
    add("tutorial", cmd::Tutorial, true, "helpWindow");
    add("about, with a notebook", cmd::About, true, "aboutDlg");
    add("close unsaved", cmd::FileClose, true, "saveQuestion");
}

void AppAccessibilityTest::everyDialogNamesAndShowsEveryControl()
{
    QFETCH(int, command);
    QFETCH(bool, bNotebook);
    QFETCH(QString, dialog);
    MemorySettings settings;
    AppWindow app(settings);
    if (bNotebook) {
        CChildFrame* pChild = app.NewNotebook();
        pChild->GetDocument().AddFolder(false, "Ideas", "", true, "F4", "Move");
        QCoreApplication::processEvents();
        // A note in the editor, which has the keyboard, in the new folder.
        pChild->ActivatePane(CChildFrame::Pane::Editor);
        QTest::keyClicks(app.Editor(), QStringLiteral("A note"));
    }
    QAction* pAction = CommandAction(app.frame, command);
    QVERIFY(pAction);
    QVERIFY(app.frame.IsCommandEnabled(command));

    QString shown;
    QStringList unnamed;
    QStringList unmarked;
    const auto check = [&](QWidget* pDialog) {
        shown = pDialog->objectName();
        unnamed = UnnamedControls(pDialog);
        unmarked = UnmarkedFocus(pDialog);
        // As the keyboard left it: the focus on the last control, to look at.
        GrabAs(pDialog, QStringLiteral("focus-") + QString::fromLatin1(QTest::currentDataTag()).replace(u' ', u'-').remove(u'/').remove(u','));
    };
    QPointer<QTimer> watch = WhenModal([&](QWidget* pDialog) {
        check(pDialog);
        qobject_cast<QDialog*>(pDialog)->reject();
    });
    pAction->trigger();
    QCoreApplication::processEvents();
    if (shown.isEmpty()) {
        // A window of its own rather than a modal dialog.
        delete watch;
        for (QWidget* pWindow : QApplication::topLevelWidgets()) {
            if (pWindow->isVisible() && pWindow->objectName() == dialog) {
                check(pWindow);
                pWindow->close();
            }
        }
        for (QDialog* pOpen : app.frame.findChildren<QDialog*>()) {
            if (pOpen->isVisible() && pOpen->objectName() == dialog) {
                check(pOpen);
                pOpen->close();
            }
        }
    }
    QCOMPARE(shown, dialog);
    QVERIFY2(unnamed.isEmpty(), qPrintable(u"no name: "_s + unnamed.join(u"; "_s)));
    QVERIFY2(unmarked.isEmpty(), qPrintable(u"focus not shown: "_s + unmarked.join(u"; "_s)));
}

void AppAccessibilityTest::recoveryQuestionNamesItsList()
{
    // Shown as a notebook opens or the program starts, never by a command.
    RecoveryDialog dialog({ KeptWork { "/tmp/notes.not", 1700000000000, 1690000000000 } }, nullptr);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QVERIFY2(UnnamedControls(&dialog).isEmpty(), qPrintable(UnnamedControls(&dialog).join(u"; "_s)));
    QVERIFY2(UnmarkedFocus(&dialog).isEmpty(), qPrintable(UnmarkedFocus(&dialog).join(u"; "_s)));
}

void AppAccessibilityTest::everyMenuCommandHasAKey()
{
    MemorySettings settings;
    AppWindow app(settings);
    QStringList keyless;
    const auto checkMenus = [&] {
        for (QAction* pTitle : app.frame.menuBar()->actions()) {
            if (!pTitle->text().contains(u'&'))
                keyless << pTitle->text();
            for (const QAction* pAction : pTitle->menu()->actions()) {
                const QString text = pAction->text();
                if (pAction->isSeparator() || !pAction->isVisible() || !pAction->data().isValid())
                    continue;
                // A mnemonic in the menu, or a key of its own.
                if (!text.section(u'\t', 0, 0).contains(u'&') && !text.contains(u'\t'))
                    keyless << pTitle->text() + u'/' + text;
            }
        }
    };
    checkMenus();
    app.NewNotebook();
    checkMenus();
    QCOMPARE(keyless, QStringList());
}

QTEST_MAIN(AppAccessibilityTest)
#include "AppAccessibilityTest.moc"
