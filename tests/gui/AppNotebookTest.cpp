// A notebook window driven through its real widgets: the panes, the note keys, the folder
// commands, saving and closing.
#include <QClipboard>
#include <QFileDialog>
#include <QLineEdit>
#include <QPrinterInfo>
#include <QRadioButton>
#include <QSplitter>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QtTest>

#include "AppTestSupport.h"
#include "notes/CQuillboxEditView.h"
#include "platform/CommandIds.h"
#include "platform/SettingsStore.h"
#include "qt/QtEditControl.h"

namespace {

QString StoredText(CChildFrame* pChild, const std::string& name)
{
    const Folder* pFolder = pChild->GetDocument().FindFolderByName(name);
    return pFolder ? QString::fromUtf8(pFolder->m_text.View()) : QStringLiteral("<no folder>");
}

} // namespace

class AppNotebookTest : public QObject
{
    Q_OBJECT

private slots:
    void newNotebookShowsMainWithAHeaderAndTheTreeFocused();
    void shiftReturnStartsANoteAndAnAssignedKeyFilesIt();
    void f2SendsTheNoteToTheChosenFolder();
    void noteKeysActOnlyWhileTheEditorIsTheActivePane();
    void f6AndToggleViewSwitchPanes();
    void editKeysCutCopyPasteAndUndoInTheEditor();
    void typingOrPastingBeyondTheLimitSaysWhyInTheStatusBar();
    void ctrlWAsksForANameAndAddsTheFolder();
    void assignKeysButtonsBindAKeyShownInTheStrip();
    void savedNotebookOpensWithWhatWasTyped();
    void closingAModifiedNotebookAsksFirst();
    void readOnlyFileIsReplacedOnlyWhenTheUserSaysSo();
    void printToPdfAsksForTheFileEachTimeAndBeforeReplacingOne();
};

void AppNotebookTest::newNotebookShowsMainWithAHeaderAndTheTreeFocused()
{
    MemorySettings settings;
    AppWindow app(settings);
    CChildFrame* pChild = app.NewNotebook();
    QVERIFY(pChild);

    QCOMPARE(TreeDump(app.Tree()->invisibleRootItem()), QStringLiteral("Main,Trash"));
    QCOMPARE(app.Tree()->currentItem()->text(0), QStringLiteral("Main"));
    QCOMPARE(app.Editor()->toPlainText(), TodaysHeader() + u'\n');
    QTRY_COMPARE(app.KeysText(), QStringLiteral("Trash=F3"));
    QTRY_COMPARE(QApplication::focusWidget(), app.Tree());
    QCOMPARE(pChild->GetActivePane(), CChildFrame::Pane::Tree);

    QVERIFY(pChild->isMaximized());
    QCOMPARE(pChild->windowTitle(), QStringLiteral("Untitled[*]"));
    QVERIFY(!pChild->isWindowModified());
    QCOMPARE(app.frame.windowTitle(), QStringLiteral("Quillbox - [Untitled[*]]"));
    auto* pSplitter = Find<QSplitter>(pChild, "notebookSplitter");
    QCOMPARE(pSplitter->widget(0), app.Editor());
    QCOMPARE(pSplitter->sizes().constFirst(), static_cast<int>(pSplitter->width() * 0.7));
}

void AppNotebookTest::shiftReturnStartsANoteAndAnAssignedKeyFilesIt()
{
    MemorySettings settings;
    AppWindow app(settings);
    CChildFrame* pChild = app.NewNotebook();
    pChild->GetDocument().AddFolder(false, "Ideas", "", true, "F4", "Move");
    QTRY_COMPARE(app.KeysText(), QStringLiteral("Trash=F3, Ideas=F4"));

    ClickFolder(app.Tree(), QStringLiteral("Main"));
    QPlainTextEdit* pEditor = app.Editor();
    QTRY_COMPARE(QApplication::focusWidget(), pEditor);
    QTest::keyClicks(pEditor, QStringLiteral("Buy milk"));
    QTest::keyClick(pEditor, Qt::Key_Return, Qt::ShiftModifier);
    QTest::keyClicks(pEditor, QStringLiteral("Call Bob"));
    QTest::keyClick(pEditor, Qt::Key_Return);
    QTest::keyClicks(pEditor, QStringLiteral("soon"));
    const QString header = TodaysHeader();
    QCOMPARE(pEditor->toPlainText(), header + "\nBuy milk\n" + header + "\nCall Bob\nsoon");
    QTRY_VERIFY(pChild->isWindowModified());

    QTest::keyClick(pEditor, Qt::Key_F4);
    QCOMPARE(pEditor->toPlainText(), header + "\nBuy milk\n");
    const QString crlfHeader = header + QStringLiteral("\r\n");
    QCOMPARE(StoredText(pChild, "Ideas"), crlfHeader + crlfHeader + "Call Bob\r\nsoon\r\n");
}

void AppNotebookTest::f2SendsTheNoteToTheChosenFolder()
{
    MemorySettings settings;
    AppWindow app(settings);
    CChildFrame* pChild = app.NewNotebook();
    QTest::keyClick(app.Tree(), Qt::Key_F6);
    QPlainTextEdit* pEditor = app.Editor();
    QTRY_COMPARE(QApplication::focusWidget(), pEditor);
    QTest::keyClicks(pEditor, QStringLiteral("Remember"));
    const QString note = TodaysHeader() + "\nRemember";

    QStringList offered;
    WhenModal([&](QWidget* pDialog) {
        QCOMPARE(pDialog->objectName(), QStringLiteral("chooseFolderDialog"));
        for (int i = 0; i < Find<QListWidget>(pDialog, "folderList")->count(); ++i)
            offered << Find<QListWidget>(pDialog, "folderList")->item(i)->text();
        ChooseLine(pDialog, "folderList", QStringLiteral("Trash"));
        Click(pDialog, "copyNoteButton");
    });
    QTest::keyClick(pEditor, Qt::Key_F2);
    QCOMPARE(offered, QStringList({ QStringLiteral("Main"), QStringLiteral("Trash") }));
    QCOMPARE(pEditor->toPlainText(), note);
    QCOMPARE(StoredText(pChild, "Trash"), TodaysHeader() + "\r\nRemember\r\n");

    WhenModal([&](QWidget* pDialog) {
        ChooseLine(pDialog, "folderList", QStringLiteral("Trash"));
        Click(pDialog, "moveNoteButton");
    });
    QTest::keyClick(pEditor, Qt::Key_F2);
    QCOMPARE(pEditor->toPlainText(), QString());
    QCOMPARE(StoredText(pChild, "Trash"), QString(TodaysHeader() + "\r\nRemember\r\n").repeated(2));
}

void AppNotebookTest::noteKeysActOnlyWhileTheEditorIsTheActivePane()
{
    MemorySettings settings;
    AppWindow app(settings);
    CChildFrame* pChild = app.NewNotebook();
    QAction* pDeleteNote = MenuAction(app.frame, QStringLiteral("&Note"), QStringLiteral("&Delete Note..."));
    QAction* pNewFolder = MenuAction(app.frame, QStringLiteral("F&older"), QStringLiteral("&New Folder..."));
    QVERIFY(pDeleteNote && pNewFolder);

    // The tree is active: F3 finds no handler, and the tree does not see the key either.
    QTRY_VERIFY(!pDeleteNote->isEnabled());
    QVERIFY(pNewFolder->isEnabled());
    QTest::keyClick(app.Tree(), Qt::Key_F3);
    QCOMPARE(app.Editor()->toPlainText(), TodaysHeader() + u'\n');
    QCOMPARE(StoredText(pChild, "Trash"), QString());

    QTest::keyClick(app.Tree(), Qt::Key_F6);
    QTRY_VERIFY(pDeleteNote->isEnabled());
    QVERIFY(pNewFolder->isEnabled());
    QTest::keyClick(app.Editor(), Qt::Key_F3);
    QCOMPARE(app.Editor()->toPlainText(), QString());
    QCOMPARE(StoredText(pChild, "Trash"), TodaysHeader() + "\r\n");
}

void AppNotebookTest::f6AndToggleViewSwitchPanes()
{
    MemorySettings settings;
    AppWindow app(settings);
    CChildFrame* pChild = app.NewNotebook();
    QTRY_COMPARE(QApplication::focusWidget(), app.Tree());

    QTest::keyClick(app.Tree(), Qt::Key_F6);
    QCOMPARE(pChild->GetActivePane(), CChildFrame::Pane::Editor);
    QTRY_COMPARE(QApplication::focusWidget(), app.Editor());
    QTest::keyClick(app.Editor(), Qt::Key_F6);
    QCOMPARE(pChild->GetActivePane(), CChildFrame::Pane::Tree);
    QTRY_COMPARE(QApplication::focusWidget(), app.Tree());
    QTest::keyClick(app.Tree(), Qt::Key_F6, Qt::ShiftModifier);
    QCOMPARE(pChild->GetActivePane(), CChildFrame::Pane::Editor);

    // The menu item switches once its command has returned, as a posted F6 would.
    QAction* pToggle = MenuAction(app.frame, QStringLiteral("&View"), QStringLiteral("Toggle &View"));
    QVERIFY(pToggle);
    QCOMPARE(pToggle->text(), QStringLiteral("Toggle &View\tF6"));
    pToggle->trigger();
    QCOMPARE(pChild->GetActivePane(), CChildFrame::Pane::Editor);
    QTRY_COMPARE(pChild->GetActivePane(), CChildFrame::Pane::Tree);
    QTRY_COMPARE(QApplication::focusWidget(), app.Tree());
}

void AppNotebookTest::editKeysCutCopyPasteAndUndoInTheEditor()
{
    MemorySettings settings;
    AppWindow app(settings);
    app.NewNotebook();
    QAction* pCut = MenuAction(app.frame, QStringLiteral("&Edit"), QStringLiteral("Cu&t"));
    QTest::keyClick(app.Tree(), Qt::Key_F6);
    QPlainTextEdit* pEditor = app.Editor();
    QTest::keyClicks(pEditor, QStringLiteral("words"));
    QTRY_VERIFY(!pCut->isEnabled());

    QTest::keyClick(pEditor, Qt::Key_Home, Qt::ShiftModifier);
    QTRY_VERIFY(pCut->isEnabled());
    QTest::keyClick(pEditor, Qt::Key_Delete, Qt::ShiftModifier);
    QCOMPARE(pEditor->toPlainText(), TodaysHeader() + u'\n');
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("words"));
    QTest::keyClick(pEditor, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(pEditor->toPlainText(), TodaysHeader() + "\nwords");
    QTest::keyClick(pEditor, Qt::Key_Backspace, Qt::AltModifier);
    QCOMPARE(pEditor->toPlainText(), TodaysHeader() + u'\n');

    // In the tree the editing keys find no handler.
    QTest::keyClick(pEditor, Qt::Key_F6);
    QTest::keyClick(app.Tree(), Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(pEditor->toPlainText(), TodaysHeader() + u'\n');
}

void AppNotebookTest::typingOrPastingBeyondTheLimitSaysWhyInTheStatusBar()
{
    MemorySettings settings;
    AppWindow app(settings);
    app.NewNotebook();
    QTest::keyClick(app.Tree(), Qt::Key_F6);
    auto* pEditor = qobject_cast<QtEditControl*>(app.Editor());
    QVERIFY(pEditor);
    // Lines of 80 characters, one short of the limit.
    const long limit = CQuillboxEditView::kTextLimit;
    QString text;
    while (text.size() + 81 < limit - 1)
        text += QString(80, u'a') + u'\n';
    text += QString(limit - 1 - text.size(), u'a');
    pEditor->setPlainText(text);
    pEditor->moveCursor(QTextCursor::End);
    const QPointer<QTimer> noDialog = FailOnAnyPrompt();
    QStatusBar* pStatus = app.frame.statusBar();
    const QString full = QStringLiteral("The folder is full: its text holds at most 640,000 characters, and what went beyond "
                                        "was left out.");

    QTest::keyClick(pEditor, Qt::Key_B);
    QCOMPARE(pStatus->currentMessage(), QString());
    // A key held down: each repeat is refused, said in the status bar and never in a dialog.
    for (int i = 0; i < 30; ++i) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_C, Qt::NoModifier, QStringLiteral("c"), i > 0);
        QApplication::sendEvent(pEditor, &press);
    }
    QCOMPARE(pStatus->currentMessage(), full);
    QCOMPARE(pEditor->document()->characterCount() - 1, limit);
    QVERIFY(pEditor->toPlainText().endsWith(u"ab"));
    GrabAs(&app.frame, QStringLiteral("folderFull"));

    // A paste beyond it keeps what fits and says so.
    pStatus->clearMessage();
    QTest::keyClick(pEditor, Qt::Key_Backspace);
    QTest::keyClick(pEditor, Qt::Key_Backspace);
    QApplication::clipboard()->setText(QStringLiteral("xyz"));
    QTest::keyClick(pEditor, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(pStatus->currentMessage(), full);
    QVERIFY(pEditor->toPlainText().endsWith(u"axy"));
    // Making room and typing is quiet again.
    pStatus->clearMessage();
    QTest::keyClick(pEditor, Qt::Key_Backspace);
    QTest::keyClick(pEditor, Qt::Key_Z);
    QCOMPARE(pStatus->currentMessage(), QString());
    // A note's header, typed by the note logic, is refused the same way.
    QTest::keyClick(pEditor, Qt::Key_Return, Qt::ShiftModifier);
    QCOMPARE(pStatus->currentMessage(), full);
    QCOMPARE(pEditor->document()->characterCount() - 1, limit);
    delete noDialog;
}

void AppNotebookTest::ctrlWAsksForANameAndAddsTheFolder()
{
    MemorySettings settings;
    AppWindow app(settings);
    CChildFrame* pChild = app.NewNotebook();
    QTRY_COMPARE(QApplication::focusWidget(), app.Tree());

    WhenModal([](QWidget* pDialog) {
        QCOMPARE(pDialog->objectName(), QStringLiteral("inputDialog"));
        QCOMPARE(Find<QLabel>(pDialog, "inputLabel")->text(), QStringLiteral("Folder Name"));
        auto* pText = Find<QLineEdit>(pDialog, "inputText");
        QCOMPARE(pText->text(), QStringLiteral("New Folder"));
        pText->setText(QStringLiteral("Ideas"));
        Click(pDialog, "okButton");
    });
    QTest::keyClick(app.Tree(), Qt::Key_W, Qt::ControlModifier);

    QCOMPARE(TreeDump(app.Tree()->invisibleRootItem()), QStringLiteral("Main[Ideas],Trash"));
    QCOMPARE(app.Tree()->currentItem()->text(0), QStringLiteral("Ideas"));
    QCOMPARE(app.Editor()->toPlainText(), TodaysHeader() + u'\n');
    QTRY_VERIFY(pChild->isWindowModified());

    // The new folder hands the keyboard to the editor, which becomes the active pane. (The
    // window's own focus widget: no window manager gives the window back its activation here.)
    QCOMPARE(app.frame.focusWidget(), app.Editor());
    QCOMPARE(pChild->GetActivePane(), CChildFrame::Pane::Editor);
}

void AppNotebookTest::assignKeysButtonsBindAKeyShownInTheStrip()
{
    MemorySettings settings;
    AppWindow app(settings);
    CChildFrame* pChild = app.NewNotebook();
    pChild->GetDocument().AddFolder(false, "Ideas", "", true, "", "");
    QAction* pAssignKeys = MenuAction(app.frame, QStringLiteral("&Preferences"), QStringLiteral("&Move/Copy Note..."));
    QVERIFY(pAssignKeys);

    QString assignments;
    WhenModal([&](QWidget* pDialog) {
        QCOMPARE(pDialog->objectName(), QStringLiteral("assignKeysDialog"));
        ChooseLine(pDialog, "availableFolders", QStringLiteral("Ideas"));
        ChooseLine(pDialog, "availableKeys", QStringLiteral("F5"));
        QTest::mouseClick(Find<QRadioButton>(pDialog, "copyNoteRadio"), Qt::LeftButton);
        Click(pDialog, "assignButton");
        auto* pList = Find<QListWidget>(pDialog, "assignments");
        for (int i = 0; i < pList->count(); ++i)
            assignments += pList->item(i)->text() + u';';
        Click(pDialog, "closeButton");
    });
    pAssignKeys->trigger();

    QCOMPARE(assignments, QStringLiteral("Ideas (F5) Copy;"));
    QTRY_COMPARE(app.KeysText(), QStringLiteral("Trash=F3, Ideas=F5"));
    const KeyAssignment* pKey = pChild->GetDocument().FindFolderByName("Ideas")->GetKey();
    QVERIFY(pKey);
    QCOMPARE(QString::fromStdString(pKey->key + ' ' + pKey->function), QStringLiteral("F5 Copy"));
}

void AppNotebookTest::savedNotebookOpensWithWhatWasTyped()
{
    QTemporaryDir dir;
    MemorySettings settings;
    AppWindow app(settings);
    CChildFrame* pChild = app.NewNotebook();
    QTest::keyClick(app.Tree(), Qt::Key_F6);
    QTest::keyClicks(app.Editor(), QStringLiteral("Saved words"));

    WhenModal([&](QWidget* pDialog) {
        auto* pChooser = qobject_cast<QFileDialog*>(pDialog);
        QVERIFY(pChooser);
        QCOMPARE(pChooser->acceptMode(), QFileDialog::AcceptSave);
        TypeFileName(pChooser, dir.filePath(QStringLiteral("mine")));
        static_cast<QDialog*>(pChooser)->accept();
    });
    QTest::keyClick(app.Editor(), Qt::Key_S, Qt::ControlModifier);

    const QString path = dir.filePath(QStringLiteral("mine.not"));
    QVERIFY(QFile::exists(path));
    QCOMPARE(pChild->windowTitle(), QStringLiteral("mine.not[*]"));
    QTRY_VERIFY(!pChild->isWindowModified());
    QCOMPARE(app.frame.GetRecentFiles().Files(), QStringList { path });

    QTest::keyClick(app.Editor(), Qt::Key_F4, Qt::ControlModifier);
    QTRY_VERIFY(app.frame.Children().isEmpty());
    QTRY_COMPARE(app.KeysText(), QString());

    CChildFrame* pReopened = app.frame.OpenNotebook(path);
    QVERIFY(pReopened);
    QCOMPARE(pReopened->windowTitle(), QStringLiteral("mine.not[*]"));
    // Each stored line comes back with its line break.
    QCOMPARE(app.Editor()->toPlainText(), TodaysHeader() + "\nSaved words\n");
    QTRY_COMPARE(app.KeysText(), QStringLiteral("Trash=F3"));
    QVERIFY(!pReopened->isWindowModified());
}

void AppNotebookTest::closingAModifiedNotebookAsksFirst()
{
    MemorySettings settings;
    AppWindow app(settings);
    CChildFrame* pChild = app.NewNotebook();
    QTest::keyClick(app.Tree(), Qt::Key_F6);
    QTest::keyClicks(app.Editor(), QStringLiteral("unsaved"));
    QTRY_VERIFY(pChild->isWindowModified());
    QVERIFY(app.frame.isWindowModified());

    const auto question = AnswerMessageBox(QMessageBox::Cancel);
    QVERIFY(!app.frame.close());
    QCOMPARE(*question, QStringLiteral("Quillbox:Save changes to Untitled?"));
    QCOMPARE(app.frame.Children().size(), 1);
    QVERIFY(app.frame.isVisible());

    AnswerMessageBox(QMessageBox::No);
    MenuAction(app.frame, QStringLiteral("&File"), QStringLiteral("&Close"))->trigger();
    QTRY_VERIFY(app.frame.Children().isEmpty());
    QTRY_COMPARE(app.KeysText(), QString());
    QTRY_VERIFY(MenuOf(app.frame, QStringLiteral("&Note")) == nullptr);
    QCOMPARE(app.frame.windowTitle(), QStringLiteral("Quillbox"));
}

void AppNotebookTest::readOnlyFileIsReplacedOnlyWhenTheUserSaysSo()
{
    QTemporaryDir dir;
    MemorySettings settings;
    AppWindow app(settings);
    const QString path = dir.filePath(QStringLiteral("locked.not"));
    QVERIFY(app.NewNotebook()->GetDocument().OnSaveDocument(path.toStdString()).ok);
    QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::ReadGroup);
    QFile original(path);
    QVERIFY(original.open(QIODevice::ReadOnly));
    const QByteArray oldBytes = original.readAll();

    CChildFrame* pChild = app.frame.OpenNotebook(path);
    QVERIFY(pChild);
    QTest::keyClick(app.Tree(), Qt::Key_F6);
    QTest::keyClicks(app.Editor(), QStringLiteral("more"));

    auto question = AnswerMessageBox(QMessageBox::No);
    QTest::keyClick(app.Editor(), Qt::Key_S, Qt::ControlModifier);
    QCOMPARE(*question, QStringLiteral("Quillbox:\"%1\" is read-only.\nSave over it anyway?").arg(path));
    QVERIFY(pChild->GetDocument().IsModified());
    original.seek(0);
    QCOMPARE(original.readAll(), oldBytes);

    question = AnswerMessageBox(QMessageBox::Yes);
    QTest::keyClick(app.Editor(), Qt::Key_S, Qt::ControlModifier);
    QVERIFY(!question->isEmpty());
    QVERIFY(!pChild->GetDocument().IsModified());
    QFile saved(path);
    QVERIFY(saved.open(QIODevice::ReadOnly));
    QVERIFY(saved.readAll().contains("more"));
    QVERIFY(!(saved.permissions() & QFileDevice::WriteOwner));

    // A path that names no regular file is refused with a message; the notebooks stay open.
    const QList<CChildFrame*> open = app.frame.Children();
    const auto message = AnswerMessageBox(QMessageBox::Ok);
    QVERIFY(!app.frame.OpenNotebook(dir.path()));
    QCOMPARE(*message, QStringLiteral("Quillbox:Cannot open \"%1\": it is a folder, not a file.").arg(dir.path()));
    QCOMPARE(app.frame.Children(), open);
}

void AppNotebookTest::printToPdfAsksForTheFileEachTimeAndBeforeReplacingOne()
{
    if (!QPrinterInfo::availablePrinterNames().isEmpty())
        QSKIP("this machine has a printer");
    QTemporaryDir dir;
    const QString pdfPath = dir.filePath(QStringLiteral("folder.pdf"));
    const auto readPdf = [&] {
        QFile pdf(pdfPath);
        return pdf.open(QIODevice::ReadOnly) ? pdf.readAll() : QByteArray();
    };
    MemorySettings settings;
    AppWindow app(settings);
    CChildFrame* pChild = app.NewNotebook();
    pChild->GetDocument().AddFolder(false, "Ideas", "------ Ideas\r\nanother folder\r\n", false, "", "");

    // Answers a print's file chooser: notes the file it offers, then names `typed`, or takes
    // the offer and answers the question whether to replace it with `replace`. No leaves the
    // chooser up, and it is cancelled. Any dialog after the last answered fails the test.
    QString offered;
    QString replaceQuestion;
    QPointer<QTimer> pUnexpected;
    const auto answerChooser = [&](const QString& typed, QMessageBox::StandardButton replace) {
        WhenModal([&, typed, replace](QWidget* pDialog) {
            auto* pChooser = ExpectDialog<QFileDialog>(pDialog);
            if (!pChooser)
                return;
            offered = pChooser->selectedFiles().value(0);
            if (typed.isEmpty()) {
                GrabAs(pChooser, QStringLiteral("printPdfChooser"));
                WhenModal([&, replace, pChooser](QWidget* pDialog) {
                    auto* pQuestion = ExpectDialog<QMessageBox>(pDialog);
                    if (!pQuestion)
                        return;
                    GrabAs(pQuestion, QStringLiteral("printPdfReplaceQuestion"));
                    replaceQuestion = pQuestion->text();
                    if (replace == QMessageBox::No) {
                        WhenModal([&, pChooser](QWidget* pDialog) {
                            QCOMPARE(pDialog, static_cast<QWidget*>(pChooser));
                            pUnexpected = FailOnAnyPrompt();
                            pChooser->reject();
                        });
                    } else {
                        pUnexpected = FailOnAnyPrompt();
                    }
                    pQuestion->button(replace)->click();
                });
            } else {
                TypeFileName(pChooser, typed);
                pUnexpected = FailOnAnyPrompt();
            }
            static_cast<QDialog*>(pChooser)->accept();
        });
    };
    const auto printFolder = [&](const QString& folder) {
        offered.clear();
        replaceQuestion.clear();
        ClickFolder(app.Tree(), folder);
        QTest::keyClick(app.Editor(), Qt::Key_P, Qt::ControlModifier);
        delete pUnexpected;
    };

    // The first print asks whether to print to a PDF file at all, then for the file.
    QString question;
    WhenModal([&](QWidget* pDialog) {
        auto* pBox = ExpectDialog<QMessageBox>(pDialog);
        if (!pBox)
            return;
        question = pBox->text();
        answerChooser(dir.filePath(QStringLiteral("folder")), QMessageBox::NoButton);
        pBox->button(QMessageBox::Yes)->click();
    });
    printFolder(QStringLiteral("Main"));
    QCOMPARE(question, QStringLiteral("No printer is available. Print the folder to a PDF file instead?"));
    QVERIFY2(QFileInfo(offered).isDir(), qPrintable(offered)); // no file offered yet
    const QByteArray firstPdf = readPdf();
    QVERIFY(firstPdf.startsWith("%PDF"));

    // Another folder's print asks for the file again, offering the last one; taking it asks
    // before replacing the file, and No leaves the file as it was.
    answerChooser({}, QMessageBox::No);
    printFolder(QStringLiteral("Ideas"));
    QCOMPARE(offered, pdfPath);
    QCOMPARE(replaceQuestion, QStringLiteral("folder.pdf already exists.\nDo you want to replace it?"));
    QCOMPARE(readPdf(), firstPdf);

    // Yes replaces it with the folder printed now.
    answerChooser({}, QMessageBox::Yes);
    printFolder(QStringLiteral("Ideas"));
    QCOMPARE(offered, pdfPath);
    QCOMPARE(replaceQuestion, QStringLiteral("folder.pdf already exists.\nDo you want to replace it?"));
    const QByteArray secondPdf = readPdf();
    QVERIFY(secondPdf.startsWith("%PDF"));
    QVERIFY(secondPdf != firstPdf);
}

QTEST_MAIN(AppNotebookTest)
#include "AppNotebookTest.moc"
