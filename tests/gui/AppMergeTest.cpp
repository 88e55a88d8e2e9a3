// Merge in the window: a notebook another program changed while the window has unsaved changes
// is merged with them on Save's question, shown unsaved, and what needed a choice is listed in
// a dialog that goes to each. The History puts back what a version held, and History Size sets
// the limit quillbox-cli shows.

#include <QApplication>
#include <QListWidget>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QProcess>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QtTest>

#include <optional>

#include "AppTestSupport.h"
#include "platform/CommandIds.h"
#include "disk/WorkKeeping.h"
#include "qt/FilePaths.h"
#include "platform/SettingsStore.h"
#include "history/KeptHistory.h"

namespace {

const QString kTestData = QStringLiteral(QUILLBOX_TEST_DATA);

const QByteArray kBase = "------ one ------\nfirst\n------ two ------\nsecond\n";

// Runs quillbox-cli; its standard output, or nothing when it failed.
std::optional<QByteArray> Cli(const QStringList& arguments)
{
    QProcess cli;
    cli.start(QStringLiteral(QUILLBOX_CLI), arguments);
    if (!cli.waitForFinished() || cli.exitStatus() != QProcess::NormalExit || cli.exitCode() != 0) {
        qWarning("quillbox-cli %s: %s", qPrintable(arguments.join(u' ')), cli.readAllStandardError().constData());
        return std::nullopt;
    }
    return cli.readAllStandardOutput();
}

// Clicks the named button of the next modal dialog; returns where its object name will be put.
std::shared_ptr<QString> AnswerWith(const char* buttonName)
{
    auto pSeen = std::make_shared<QString>();
    WhenModal([pSeen, buttonName](QWidget* pDialog) {
        *pSeen = pDialog->objectName();
        GrabAs(pDialog, pDialog->objectName());
        if (auto* pButton = Find<QPushButton>(pDialog, buttonName))
            pButton->click();
        else
            qobject_cast<QDialog*>(pDialog)->reject();
    });
    return pSeen;
}

} // namespace

class AppMergeTest : public QObject
{
    Q_OBJECT

private slots:
    void mergeBringsInAnotherProgramsChangeBesideTheWindows();
    void conflictsAreListedAndTheListGoesToEach();
    void conflictCopiesBesideANotebookAreMergedInAsItOpens();
    void historyPutsADeletedFolderBackByKeys();
    void historyFindsADeletedNoteAndPutsItBackByKeys();
    void historySizeSetsTheLimitQuillboxCliShows();

private:
    // Opens `path`, types `typed` at the end of the first note's body line, as the user would.
    MemorySettings m_settings;
};

void AppMergeTest::mergeBringsInAnotherProgramsChangeBesideTheWindows()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("a.not"));
    WriteAll(path, NotebookWith(kBase));
    AppWindow app(m_settings);
    CChildFrame* pChild = OpenAndType(app, path, QStringLiteral(" mine"));
    const QByteArray theirs = NotebookWith("------ one ------\nfirst\n------ two ------\nsecond theirs\n------ three ------\nthird\n");
    WriteAll(path, theirs);

    auto pSeen = AnswerWith("mergeButton");
    app.frame.OnCommand(cmd::FileSave);
    QCOMPARE(*pSeen, QStringLiteral("changedOnDiskQuestion"));
    // Merged, shown unsaved; the other program's file is left as it wrote it.
    QCOMPARE(app.Editor()->toPlainText(),
             QStringLiteral("------ one ------\nfirst mine\n------ two ------\nsecond theirs\n------ three ------\nthird\n"));
    // The merged notebook has a window of its own, in place of the one merged.
    QCOMPARE(app.frame.Children().size(), size_t { 1 });
    pChild = app.frame.ActiveChild();
    QVERIFY(pChild->GetDocument().IsModified());
    QCOMPARE(pChild->GetPathName(), path);
    QCOMPARE(ReadAll(path), theirs);
    QVERIFY(!pChild->findChild<QDialog*>(QStringLiteral("mergeEventsDialog")));

    // The file is the notebook's own again: the next save asks nothing and writes both.
    QPointer<QTimer> pUnexpected = FailOnAnyPrompt();
    QVERIFY(app.frame.OnCommand(cmd::FileSave));
    delete pUnexpected;
    QVERIFY(!pChild->GetDocument().IsModified());
    QVERIFY(ReadAll(path).contains("first mine\r\n------ two ------\r\nsecond theirs\r\n------ three ------\r\nthird\r\n"));

    // Byte for byte what quillbox-cli merge makes of the same three notebooks, this window's
    // typing saved by the window as ours.
    const QString base = dir.filePath(QStringLiteral("base.not"));
    const QString ours = dir.filePath(QStringLiteral("ours.not"));
    const QString theirsFile = dir.filePath(QStringLiteral("theirs.not"));
    const QString expected = dir.filePath(QStringLiteral("expected.not"));
    WriteAll(base, NotebookWith(kBase));
    WriteAll(ours, NotebookWith(kBase));
    WriteAll(theirsFile, theirs);
    AppWindow second(m_settings);
    OpenAndType(second, ours, QStringLiteral(" mine"));
    QVERIFY(second.frame.OnCommand(cmd::FileSave));
    QProcess cli;
    cli.start(QStringLiteral(QUILLBOX_CLI), { QStringLiteral("merge"), QStringLiteral("-o"), expected, base, ours, theirsFile });
    QVERIFY(cli.waitForFinished());
    QCOMPARE(cli.exitCode(), 0);
    QCOMPARE(ReadAll(path), ReadAll(expected));
}

void AppMergeTest::conflictsAreListedAndTheListGoesToEach()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("a.not"));
    WriteAll(path, NotebookWith(kBase));
    AppWindow app(m_settings);
    CChildFrame* pChild = OpenAndType(app, path, QStringLiteral(" mine"));
    WriteAll(path, NotebookWith("------ one ------\nfirst theirs\n------ two ------\nsecond\n"));

    AnswerWith("mergeButton");
    app.frame.OnCommand(cmd::FileSave);
    QCOMPARE(app.Editor()->toPlainText(),
             QStringLiteral("------ one ------\nfirst mine\n------ one ------\n(both changed this note: this version is from "
                            "the file on disk, the one above from this window)\nfirst theirs\n------ two ------\nsecond\n"));
    pChild = app.frame.ActiveChild();
    QVERIFY(pChild->GetDocument().IsModified());

    // The list comes once the merged window is up.
    QDialog* pDialog = nullptr;
    QTRY_VERIFY((pDialog = pChild->findChild<QDialog*>(QStringLiteral("mergeEventsDialog"))) && pDialog->isVisible());
    auto* pList = Find<QTreeWidget>(pDialog, "mergeEventsList");
    QCOMPARE(pList->topLevelItemCount(), 1);
    const QTreeWidgetItem* pItem = pList->topLevelItem(0);
    QCOMPARE(pItem->text(0), QStringLiteral("Main"));
    QCOMPARE(pItem->text(1), QStringLiteral("------ one ------"));
    QVERIFY2(pItem->text(2).startsWith(QStringLiteral("Conflict: both changed the note")), qPrintable(pItem->text(2)));
    GrabAs(pDialog, QStringLiteral("mergeEventsDialog"));

    // Away from the note, then Return on the line goes back to it: its header selected.
    app.Editor()->moveCursor(QTextCursor::End);
    pList->setFocus();
    QTest::keyClick(pList, Qt::Key_Return);
    QCOMPARE(app.Editor()->textCursor().selectedText(), QStringLiteral("------ one ------"));
    QCOMPARE(app.Editor()->textCursor().blockNumber(), 0);
    Click(pDialog, "mergeEventsClose");
    QTRY_VERIFY(!pChild->findChild<QDialog*>(QStringLiteral("mergeEventsDialog")));
}

void AppMergeTest::conflictCopiesBesideANotebookAreMergedInAsItOpens()
{
    QTemporaryDir dir;
    // The desktop's trash, where the copies go, is the test's own, in a data folder that is not
    // there yet, as on a fresh account.
    qputenv("XDG_DATA_HOME", dir.filePath(QStringLiteral("data")).toLocal8Bit());
    const QString path = dir.filePath(QStringLiteral("a.not"));
    const QString copy = dir.filePath(QStringLiteral("a.sync-conflict-20240102-030405-LAPTOP.not"));
    WriteAll(path, NotebookWith(kBase + "------ desk ------\nfrom the desktop\n"));
    WriteAll(copy, NotebookWith(kBase + "------ lap ------\nfrom the laptop\n"));

    AppWindow app(m_settings);
    auto pSeen = std::make_shared<QStringList>();
    WhenModal([pSeen](QWidget* pFirst) {
        *pSeen << qobject_cast<QMessageBox*>(pFirst)->text();
        WhenModal([pSeen](QWidget* pSecond) {
            *pSeen << qobject_cast<QMessageBox*>(pSecond)->text();
            qobject_cast<QMessageBox*>(pSecond)->button(QMessageBox::Yes)->click();
        });
        qobject_cast<QMessageBox*>(pFirst)->button(QMessageBox::Yes)->click();
    });
    CChildFrame* pChild = app.frame.OpenNotebook(path);
    QVERIFY(pChild);
    QCOMPARE(pSeen->size(), 2);
    QVERIFY2(pSeen->at(0).contains(QStringLiteral("a.sync-conflict-20240102-030405-LAPTOP.not\n\nMerge them")), qPrintable(pSeen->at(0)));
    QVERIFY2(pSeen->at(1).contains(QStringLiteral("Move them to the trash?")), qPrintable(pSeen->at(1)));

    // No version was kept before: every note of either is there, the notebook's first.
    QCOMPARE(app.Editor()->toPlainText(), QString::fromUtf8(kBase + "------ desk ------\nfrom the desktop\n------ lap ------\nfrom the laptop\n"));
    QVERIFY(pChild->GetDocument().IsModified());
    QCOMPARE(pChild->GetPathName(), path);
    QVERIFY(!QFile::exists(copy));
    QVERIFY(!QDir(dir.filePath(QStringLiteral("data/Trash/files"))).entryList(QDir::Files).isEmpty());
    // The notebook as read is kept for the next merge.
    QTRY_VERIFY(!HistoryStore(HistoryStore::DefaultDir()).List(HistoryKey(EncodePath(path))).empty());
}

// A folder deleted and saved comes back from the History by keys, with its subfolder, and the
// notebook saved holds the bytes quillbox-cli's restore of the same versions writes.
void AppMergeTest::historyPutsADeletedFolderBackByKeys()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("h.not"));
    QVERIFY(Cli({ QStringLiteral("new"), path }));
    QVERIFY(Cli({ QStringLiteral("add"), QStringLiteral("--create"), path, QStringLiteral("Main/Gone"), QStringLiteral("gone note") }));
    QVERIFY(Cli({ QStringLiteral("add"), QStringLiteral("--create"), path, QStringLiteral("Main/Gone/Below"), QStringLiteral("below") }));
    AppWindow app(m_settings);
    QVERIFY(app.frame.OpenNotebook(path));
    ClickFolder(app.Tree(), QStringLiteral("Gone"));
    const auto pAsked = AnswerMessageBox(QMessageBox::Yes);
    QTest::keyClick(app.Tree(), Qt::Key_D, Qt::ControlModifier);
    QVERIFY2(!pAsked->isEmpty(), "Delete Folder asked nothing");
    ClickFolder(app.Tree(), QStringLiteral("Main"));
    QVERIFY(app.frame.OnCommand(cmd::FileSave));
    // The window keeps versions on its writer's thread; its log waits for them.
    QVERIFY(app.frame.GetKeeping().Log(EncodePath(path)).size() >= 3);
    const std::optional<QByteArray> versions = Cli({ QStringLiteral("log"), path });
    QVERIFY(versions);
    const QList<QByteArray> log = versions->split('\n');
    QVERIFY(log.size() >= 3);
    const QString deleted = QString::fromUtf8(log[0].split('\t')[0]);
    const QString whole = QString::fromUtf8(log[1].split('\t')[0]);

    // The version before the deletion, then its folder Main/Gone, then Restore Folder.
    auto pShown = std::make_shared<QString>();
    WhenModal([pShown](QWidget* pDialog) {
        *pShown = pDialog->objectName();
        // Focus moves by keys once the dialog is the active window.
        QTRY_VERIFY(QApplication::focusWidget() && QApplication::focusWidget()->window() == pDialog);
        auto* pVersions = Find<QListWidget>(pDialog, "versionList");
        QTest::keyClick(pVersions, Qt::Key_Down);
        QTest::keyClick(pVersions, Qt::Key_Tab);
        auto* pFolders = Find<QListWidget>(pDialog, "versionFolderList");
        QVERIFY(pFolders->hasFocus());
        QTest::keyClicks(pFolders, QStringLiteral("Main/Gone"));
        QCOMPARE(pFolders->currentItem()->text(), QStringLiteral("Main/Gone"));
        QVERIFY(Find<QPlainTextEdit>(pDialog, "versionNotes")->toPlainText().contains(QStringLiteral("gone note")));
        GrabAs(pDialog, pDialog->objectName());
        QTest::keyClick(pFolders, Qt::Key_Return);
    });
    QTest::keyClick(app.Tree(), Qt::Key_H, Qt::ControlModifier | Qt::ShiftModifier);
    QTRY_COMPARE(*pShown, QStringLiteral("historyDialog"));
    QCOMPARE(TreeDump(app.Tree()->invisibleRootItem()).count(QStringLiteral("Gone[Below]")), 1);
    QVERIFY(app.frame.ActiveChild()->GetDocument().IsModified());
    ClickFolder(app.Tree(), QStringLiteral("Main"));
    QVERIFY(app.frame.OnCommand(cmd::FileSave));
    const QByteArray saved = ReadAll(path);
    app.frame.ActiveChild()->close();
    QTRY_VERIFY(!app.frame.ActiveChild());

    QVERIFY(Cli({ QStringLiteral("restore"), path, deleted }));
    QVERIFY(ReadAll(path) != saved);
    QVERIFY(Cli({ QStringLiteral("restore"), path, whole, QStringLiteral("Main/Gone") }));
    QCOMPARE(ReadAll(path), saved);
}

// A note typed over and saved is found in the History by words of it and comes back, by keys
// alone, at the end of its folder with the caret at it.
void AppMergeTest::historyFindsADeletedNoteAndPutsItBackByKeys()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("n.not"));
    QVERIFY(Cli({ QStringLiteral("new"), path }));
    QVERIFY(Cli({ QStringLiteral("add"), QStringLiteral("--create"), path, QStringLiteral("Main/Work"), QStringLiteral("Dentist at nine") }));
    AppWindow app(m_settings);
    QVERIFY(app.frame.OpenNotebook(path));
    ClickFolder(app.Tree(), QStringLiteral("Work"));
    app.Editor()->setFocus();
    QTest::keyClick(app.Editor(), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(app.Editor(), QStringLiteral("kept"));
    QVERIFY(app.frame.OnCommand(cmd::FileSave));
    QVERIFY(!ReadAll(path).contains("Dentist"));

    auto pShown = std::make_shared<QString>();
    WhenModal([pShown](QWidget* pDialog) {
        *pShown = pDialog->objectName();
        // Accelerators reach the dialog once it is the active window.
        QTRY_VERIFY(QApplication::focusWidget() && QApplication::focusWidget()->window() == pDialog);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_D, Qt::AltModifier);
        QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("findDeletedEdit"));
        QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("dentist"));
        QCOMPARE(Find<QListWidget>(pDialog, "versionList")->count(), 1);
        QCOMPARE(Find<QListWidget>(pDialog, "versionFolderList")->currentItem()->text(), QStringLiteral("Main/Work"));
        auto* pNotes = Find<QPlainTextEdit>(pDialog, "versionNotes");
        QVERIFY(pNotes->textCursor().block().text().startsWith(QStringLiteral("------")));
        QVERIFY(pNotes->textCursor().block().next().text().contains(QStringLiteral("Dentist at nine")));
        GrabAs(pDialog, QStringLiteral("historyDialog-find"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_T, Qt::AltModifier);
    });
    QTest::keyClick(app.Tree(), Qt::Key_H, Qt::ControlModifier | Qt::ShiftModifier);
    QTRY_COMPARE(*pShown, QStringLiteral("historyDialog"));
    QTRY_VERIFY(app.Editor()->toPlainText().endsWith(QStringLiteral("Dentist at nine\n")));
    QVERIFY(app.Editor()->toPlainText().startsWith(QStringLiteral("kept\n------")));
    QVERIFY(app.Editor()->textCursor().block().text().startsWith(QStringLiteral("------")));
    QVERIFY(app.frame.ActiveChild()->GetDocument().IsModified());
    QVERIFY(app.frame.OnCommand(cmd::FileSave));
    const std::optional<QByteArray> work = Cli({ QStringLiteral("cat"), path, QStringLiteral("Main/Work") });
    QVERIFY(work);
    QVERIFY2(work->startsWith("kept\r\n------") && work->endsWith("Dentist at nine\r\n"), work->constData());
}

// The dialog shows the limit quillbox-cli shows; typed over and taken with Return, it is the one
// quillbox-cli shows next.
void AppMergeTest::historySizeSetsTheLimitQuillboxCliShows()
{
    const std::optional<QByteArray> before = Cli({ QStringLiteral("history-limit") });
    QVERIFY(before);
    const int shown = before->trimmed().toInt();
    const int wanted = shown == 2048 ? 3072 : 2048;
    AppWindow app(m_settings);
    app.NewNotebook();
    // Looked at once the dialog is closed: a check that failed inside would leave it open.
    struct Seen
    {
        bool bFocused = false;
        int value = 0;
    };
    auto pSeen = std::make_shared<Seen>();
    WhenModal([pSeen, wanted](QWidget* pDialog) {
        auto* pLimit = Find<QSpinBox>(pDialog, "historyLimit");
        if (!pLimit) {
            qobject_cast<QDialog*>(pDialog)->reject();
            return;
        }
        // A loaded machine activates the dialog a little later.
        pSeen->bFocused = QTest::qWaitForWindowActive(pDialog) && pLimit->hasFocus();
        pSeen->value = pLimit->value();
        GrabAs(pDialog, pDialog->objectName());
        QTest::keyClicks(pLimit, QString::number(wanted));
        QTest::keyClick(pLimit, Qt::Key_Return);
    });
    QVERIFY(app.frame.OnCommand(cmd::HistoryPrefs));
    QVERIFY(pSeen->bFocused);
    QCOMPARE(pSeen->value, shown);
    QCOMPARE(Cli({ QStringLiteral("history-limit") }), std::optional<QByteArray>(QByteArray::number(wanted) + '\n'));
}

QTEST_MAIN(AppMergeTest)
#include "AppMergeTest.moc"
