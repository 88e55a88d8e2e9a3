// Unsaved work survives the program's end, and a notebook's file is never overwritten behind
// another program's back: recovery files, the questions about changes on disk, the lock file.
#include <QHostAddress>
#include <QProcess>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QtEndian>
#include <QtTest>
#include <csignal>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "../GonePid.h"
#include "AppTestSupport.h"
#include "storage/RecoveryStore.h"
#include "platform/CommandIds.h"
#include "platform/SettingsStore.h"

namespace {

const QString kTestData = QStringLiteral(QUILLBOX_TEST_DATA);
const QString kProgram = QStringLiteral(QUILLBOX_PROGRAM);

// A saved notebook "a.not" in `dir`: Main holds one note header.
QString SavedNotebook(const QTemporaryDir& dir)
{
    const QString path = dir.filePath(QStringLiteral("a.not"));
    QFile::copy(kTestData + QStringLiteral("/new-notebook.not"), path);
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
    return path;
}

// The same notebook as another program leaves it.
QByteArray OtherProgramsVersion()
{
    return ReadAll(kTestData + QStringLiteral("/new-notebook.not")).replace("New Note 12/06/97", "Changed elsewhere");
}

// The notebook bytes of every recovery file, joined.
QByteArray KeptBytes()
{
    QByteArray all;
    const RecoveryStore store = RecoveryStore(RecoveryStore::DefaultDir());
    for (const RecoveryEntry& entry : store.List())
        all += ReadAll(QFile::decodeName(QByteArray::fromStdString(store.NotebookPath(entry.key))));
    return all;
}

size_t KeptCount()
{
    return RecoveryStore(RecoveryStore::DefaultDir()).List().size();
}

// What a dialog says: a message box's text, or the rows of the recovery question's list
// ("name|kept|saved", one a line).
QString Said(QWidget* pDialog)
{
    if (auto* pBox = qobject_cast<QMessageBox*>(pDialog))
        return pBox->text();
    QStringList rows;
    if (auto* pList = Find<QTreeWidget>(pDialog, "keptWorkList")) {
        for (int i = 0; i < pList->topLevelItemCount(); ++i) {
            const QTreeWidgetItem* pItem = pList->topLevelItem(i);
            rows << pItem->text(0) + u'|' + pItem->text(1) + u'|' + pItem->text(2);
        }
    }
    return rows.join(u'\n');
}

// Clicks, in each modal dialog that comes in turn, the button named for it; returns where
// "<dialog's objectName>:<what it says>" of each will be put. A dialog without the button is
// cancelled.
std::shared_ptr<QStringList> AnswerEach(QStringList buttonNames)
{
    auto pSeen = std::make_shared<QStringList>();
    auto answer = std::make_shared<std::function<void(QWidget*)>>();
    *answer = [pSeen, buttonNames, answer](QWidget* pDialog) {
        *pSeen << pDialog->objectName() + u':' + Said(pDialog);
        // Kept to be looked at, as the dialog tests keep theirs.
        QDir(QStringLiteral(QUILLBOX_BUILD_DIR)).mkpath(QStringLiteral("dialogs"));
        pDialog->grab().save(QStringLiteral(QUILLBOX_BUILD_DIR "/dialogs/") + pDialog->objectName() + QStringLiteral(".png"));
        const QString name = buttonNames.value(pSeen->size() - 1);
        if (pSeen->size() < buttonNames.size())
            WhenModal(*answer);
        if (auto* pButton = pDialog->findChild<QPushButton*>(name))
            pButton->click();
        else
            qobject_cast<QDialog*>(pDialog)->reject();
    };
    WhenModal(*answer);
    return pSeen;
}

// Clicks the button named `buttonName` in the next modal dialog; returns where
// "<dialog's objectName>:<what it says>" will be put.
std::shared_ptr<QString> AnswerWith(const char* buttonName)
{
    auto pSeen = std::make_shared<QString>();
    WhenModal([pSeen, buttonName](QWidget* pDialog) {
        *pSeen = pDialog->objectName() + u':' + Said(pDialog);
        if (auto* pButton = Find<QPushButton>(pDialog, buttonName))
            pButton->click();
        else
            qobject_cast<QDialog*>(pDialog)->reject();
    });
    return pSeen;
}

// Types `text` into the notebook at `path` in a window that goes, once the work is kept, without
// being closed, as when the program is killed.
void LeaveUnsavedWork(SettingsStore& settings, const QString& path, const QString& text)
{
    AppWindow lost(settings);
    lost.frame.OpenNotebook(path)->ActivatePane(CChildFrame::Pane::Editor);
    QTest::keyClicks(lost.Editor(), text);
    QTRY_VERIFY(KeptBytes().contains(text.toUtf8()));
}

// Moves the keyboard to another window and back to the main frame, as a user returning from
// another program does.
void ComeBackToTheFront(CMainFrame& frame)
{
    QWidget other;
    other.show();
    other.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&other));
    frame.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&frame));
}

// Presses keys in a program shown on Qt's VNC platform, as a VNC viewer does (RFB 3.3, no
// password): the way to type into another process without a display.
class VncKeyboard
{
public:
    bool Connect(quint16 port)
    {
        // The program listens once its event loop runs.
        for (int attempt = 0; attempt < 100 && m_socket.state() != QAbstractSocket::ConnectedState; ++attempt) {
            m_socket.abort();
            m_socket.connectToHost(QHostAddress::LocalHost, port);
            if (!m_socket.waitForConnected(1000))
                QTest::qWait(100);
        }
        if (!Read(12).startsWith("RFB "))
            return false;
        m_socket.write("RFB 003.003\n");
        if (Read(4) != QByteArray("\0\0\0\1", 4))
            return false;
        m_socket.write("\1");
        const QByteArray init = Read(24);
        return init.size() == 24 && Read(qFromBigEndian<quint32>(init.constData() + 20)).size() >= 0;
    }

    void Press(quint32 keysym)
    {
        for (const char down : { 1, 0 }) {
            QByteArray event(8, '\0');
            event[0] = 4;
            event[1] = down;
            qToBigEndian(keysym, event.data() + 4);
            m_socket.write(event);
        }
        m_socket.waitForBytesWritten(1000);
    }

    void Type(const QString& text)
    {
        for (const QChar ch : text)
            Press(ch.unicode());
    }

private:
    QByteArray Read(qint64 size)
    {
        QByteArray bytes;
        while (bytes.size() < size && (m_socket.bytesAvailable() || m_socket.waitForReadyRead(5000)))
            bytes += m_socket.read(size - bytes.size());
        return bytes;
    }

    QTcpSocket m_socket;
};

quint16 FreePort()
{
    QTcpServer server;
    server.listen(QHostAddress::LocalHost, 0);
    return server.serverPort();
}

} // namespace

class AppRecoveryTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void typedWorkComesBackOnlyWhenTheUserChoosesIt();
    void workTheFileHoldsAlreadyGoesUnasked();
    void everyNotebooksWorkIsOfferedAtAPlainStart();
    void workThatCannotBeKeptIsSaidAboveTheNotes();
    void endedProgramKeepsWhatWasTyped_data();
    void endedProgramKeepsWhatWasTyped();
    void endingWhileTheRecoveryQuestionWaitsKeepsTheWork_data();
    void endingWhileTheRecoveryQuestionWaitsKeepsTheWork();
    void saveAsksBeforeOverwritingAnotherProgramsChange_data();
    void saveAsksBeforeOverwritingAnotherProgramsChange();
    void comingBackToTheFrontOffersToReadAChangedNotebookAgain();
    void aFileHasOneWindowWhateverItsNameAndALockElsewhereIsMentioned();
    void commandLineLeavesANotebookOpenInAWindowAlone();
    void aCompleteCopyLeftByACutSaveIsOffered();

private:
    QTemporaryDir m_state;
    MemorySettings m_settings;
};

void AppRecoveryTest::initTestCase()
{
    QVERIFY(m_state.isValid());
    qputenv("XDG_STATE_HOME", m_state.path().toLocal8Bit());
    qputenv("QUILLBOX_AUTOSAVE_MS", "50");
}

void AppRecoveryTest::init()
{
    QDir(QString::fromStdString(RecoveryStore(RecoveryStore::DefaultDir()).Dir())).removeRecursively();
}

void AppRecoveryTest::typedWorkComesBackOnlyWhenTheUserChoosesIt()
{
    QTemporaryDir dir;
    const QString path = SavedNotebook(dir);
    LeaveUnsavedWork(m_settings, path, QStringLiteral("lost and found"));
    QVERIFY(!QTest::currentTestFailed());

    // Discard asks once more; taken back, the question comes again, and Decide Later opens the
    // file as it was saved.
    AppWindow app(m_settings);
    auto pSeen = AnswerEach({ "discardButton", "cancelButton", "laterButton" });
    CChildFrame* pChild = app.frame.OpenNotebook(path);
    QCOMPARE(pSeen->size(), 3);
    QVERIFY2(pSeen->at(0).startsWith(QStringLiteral("recoveryQuestion:a.not|20")), qPrintable(pSeen->at(0)));
    QVERIFY2(pSeen->at(0).contains(QStringLiteral("|20")), qPrintable(pSeen->at(0)));
    QVERIFY2(pSeen->at(1).startsWith(QStringLiteral("discardQuestion:Discard the unsaved work on \"a.not\", kept 20")),
             qPrintable(pSeen->at(1)));
    QCOMPARE(pSeen->at(2), pSeen->at(0));
    QVERIFY(!app.Editor()->toPlainText().contains(QStringLiteral("lost and found")));

    // Work saved on the notebook after Decide Later is no reason to drop what was kept, nor does
    // the kept work overwrite it: both changed the note the work went on from, and both versions
    // of it are there, the choice listed.
    pChild->ActivatePane(CChildFrame::Pane::Editor);
    QTest::keyClicks(app.Editor(), QStringLiteral("typed later"));
    QVERIFY(app.frame.OnCommand(cmd::FileSave));
    pChild->close();
    QTRY_COMPARE(KeptCount(), size_t { 1 });

    AnswerWith("recoverButton");
    pChild = app.frame.OpenNotebook(path);
    QCOMPARE(app.Editor()->toPlainText(),
             QStringLiteral("------ New Note 12/06/97 ------\nlost and found\n------ New Note 12/06/97 ------\n(both changed this "
                            "note: this version is from the file on disk, the one above from this window)\ntyped later\n"));
    QDialog* pList = nullptr;
    QTRY_VERIFY((pList = pChild->findChild<QDialog*>(QStringLiteral("mergeEventsDialog"))) && pList->isVisible());
    QVERIFY(pChild->GetDocument().IsModified());
    QCOMPARE(pChild->GetPathName(), path);
    // The work is now this window's: kept under its own name.
    QCOMPARE(KeptCount(), size_t { 1 });

    QVERIFY(app.frame.OnCommand(cmd::FileSave));
    QVERIFY(ReadAll(path).contains("lost and found") && ReadAll(path).contains("typed later"));
    QTRY_COMPARE(KeptCount(), size_t { 0 });
}

void AppRecoveryTest::workTheFileHoldsAlreadyGoesUnasked()
{
    QTemporaryDir dir;
    const QString path = SavedNotebook(dir);
    LeaveUnsavedWork(m_settings, path, QStringLiteral("saved elsewhere"));
    QVERIFY(!QTest::currentTestFailed());
    // Another program (a sync tool bringing the same notebook back) writes exactly the work.
    WriteAll(path, KeptBytes());

    AppWindow app(m_settings);
    QPointer<QTimer> pUnexpected = WhenModal([](QWidget* pDialog) {
        qobject_cast<QDialog*>(pDialog)->reject();
        QFAIL("a question came up");
    });
    app.frame.OpenNotebook(path);
    delete pUnexpected;
    QVERIFY(app.Editor()->toPlainText().contains(QStringLiteral("saved elsewhere")));
    QCOMPARE(KeptCount(), size_t { 0 });
}

void AppRecoveryTest::everyNotebooksWorkIsOfferedAtAPlainStart()
{
    QTemporaryDir dir;
    const QString path = SavedNotebook(dir);
    LeaveUnsavedWork(m_settings, path, QStringLiteral("named"));
    QVERIFY(!QTest::currentTestFailed());
    {
        AppWindow lost(m_settings);
        lost.NewNotebook()->ActivatePane(CChildFrame::Pane::Editor);
        QTest::keyClicks(lost.Editor(), QStringLiteral("draft"));
        QTRY_VERIFY(KeptBytes().contains("draft"));
    }

    // Newest first: the untitled notebook's, recovered; then the named notebook's, for later.
    AppWindow app(m_settings);
    auto pSeen = AnswerEach({ "recoverButton", "laterButton" });
    QCOMPARE(app.frame.RecoverAtStart({}), 1);
    QCOMPARE(pSeen->size(), 2);
    QVERIFY2(pSeen->at(0).contains(QRegularExpression(QStringLiteral("^recoveryQuestion:Untitled notebook\\|20[^\n]*\\|never\na.not\\|20"))),
             qPrintable(pSeen->at(0)));
    QVERIFY2(pSeen->at(1).startsWith(QStringLiteral("recoveryQuestion:a.not|")), qPrintable(pSeen->at(1)));
    QVERIFY(app.Editor()->toPlainText().endsWith(QStringLiteral("draft\n")));
    QCOMPARE(app.frame.ActiveChild()->windowTitle(), QStringLiteral("Untitled[*]"));
    QVERIFY(app.frame.ActiveChild()->GetDocument().IsModified());

    // Closed without saving, the untitled work goes; the named notebook's stays for later.
    AnswerMessageBox(QMessageBox::No);
    app.frame.ActiveChild()->close();
    QTRY_COMPARE(KeptCount(), size_t { 1 });
    QVERIFY(KeptBytes().contains("named"));
}

void AppRecoveryTest::workThatCannotBeKeptIsSaidAboveTheNotes()
{
    // Another user could write to the recovery folder: it is refused, and the window says so.
    const QString folder = QString::fromStdString(RecoveryStore(RecoveryStore::DefaultDir()).Dir());
    QVERIFY(QDir().mkpath(folder));
    QVERIFY(::chmod(QFile::encodeName(folder).constData(), 0777) == 0);
    AppWindow app(m_settings);
    CChildFrame* pChild = app.NewNotebook();
    auto* pBanner = Find<QLabel>(pChild, "unkeptWorkBanner");
    QVERIFY(pBanner && !pBanner->isVisible());
    pChild->ActivatePane(CChildFrame::Pane::Editor);
    QTest::keyClicks(app.Editor(), QStringLiteral("at risk"));
    QTRY_VERIFY(pBanner->isVisible());
    QVERIFY2(pBanner->text().contains(QStringLiteral("belongs to another user or others can write to it")), qPrintable(pBanner->text()));
    QVERIFY(app.frame.grab().save(QStringLiteral(QUILLBOX_BUILD_DIR "/app-unkept-work.png")));

    // Once the folder is private again, the next keeping takes the warning away.
    QVERIFY(::chmod(QFile::encodeName(folder).constData(), 0700) == 0);
    QTest::keyClicks(app.Editor(), QStringLiteral(", kept"));
    QTRY_VERIFY(!pBanner->isVisible());
    QTRY_VERIFY(KeptBytes().contains("at risk, kept"));
    AnswerMessageBox(QMessageBox::No);
    pChild->close();
}

void AppRecoveryTest::endedProgramKeepsWhatWasTyped_data()
{
    QTest::addColumn<int>("signal");
    QTest::addColumn<QString>("autosaveMs");
    QTest::addColumn<bool>("bKeepable");
    // A newer time on the file says nothing of what it holds: the work is still offered.
    QTest::newRow("killed after the autosave, the file touched since") << int(SIGKILL) << QStringLiteral("50") << true;
    // The autosave would come too late: the signal writes the work at once.
    QTest::newRow("terminated") << int(SIGTERM) << QStringLiteral("30000") << true;
    QTest::newRow("hung up") << int(SIGHUP) << QStringLiteral("30000") << true;
    // Ending would lose the work: the program stays open.
    QTest::newRow("terminated while the work cannot be kept") << int(SIGTERM) << QStringLiteral("30000") << false;
}

void AppRecoveryTest::endedProgramKeepsWhatWasTyped()
{
    QFETCH(int, signal);
    QFETCH(QString, autosaveMs);
    QFETCH(bool, bKeepable);
    const QString folder = QString::fromStdString(RecoveryStore(RecoveryStore::DefaultDir()).Dir());
    QVERIFY(QDir().mkpath(folder));
    QVERIFY(::chmod(QFile::encodeName(folder).constData(), bKeepable ? 0700 : 0777) == 0);
    QTemporaryDir dir;
    const QString path = SavedNotebook(dir);
    // No Run Tutorial prompt in the way of the keys.
    QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("home/.config/Harwick")));
    WriteAll(dir.filePath(QStringLiteral("home/.config/Harwick/Quillbox1.0.conf")), "[General]\nTutorial%20Prompt=0\n");

    const quint16 port = FreePort();
    QProcess program;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("vnc:size=800x600:port=%1").arg(port));
    env.insert(QStringLiteral("HOME"), dir.filePath(QStringLiteral("home")));
    env.insert(QStringLiteral("QUILLBOX_AUTOSAVE_MS"), autosaveMs);
    program.setProcessEnvironment(env);
    program.start(kProgram, { path });
    QVERIFY(program.waitForStarted());
    const auto stop = qScopeGuard([&program] { program.kill(); program.waitForFinished(); });
    // The lock appears while the notebook opens; the keys reach the window after that.
    const QString lock = dir.filePath(QStringLiteral(".a.not.lock"));
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(lock), 20000);

    VncKeyboard keyboard;
    QVERIFY(keyboard.Connect(port));
    keyboard.Press(0xffc3); // F6: from the folder tree to the editor
    keyboard.Type(QStringLiteral("typed elsewhere"));
    if (signal == SIGKILL)
        QTRY_VERIFY_WITH_TIMEOUT(KeptBytes().contains("typed elsewhere"), 20000);
    else
        QTest::qWait(1000);
    QVERIFY(!KeptBytes().contains("typed elsewhere") || signal == SIGKILL);
    ::kill(static_cast<pid_t>(program.processId()), signal);
    if (!bKeepable) {
        QVERIFY(!program.waitForFinished(2000));
        QVERIFY(program.readAllStandardError().contains("could not be kept for recovery: it stays open"));
        return;
    }
    QVERIFY(program.waitForFinished(20000));
    if (signal != SIGKILL) {
        QCOMPARE(program.exitStatus(), QProcess::NormalExit);
        QCOMPARE(program.exitCode(), 0);
        QVERIFY(!QFile::exists(lock));
    }

    if (signal == SIGKILL)
        QVERIFY(::utimensat(AT_FDCWD, QFile::encodeName(path).constData(), nullptr, 0) == 0);

    AppWindow app(m_settings);
    AnswerWith("recoverButton");
    app.frame.OpenNotebook(path);
    QCOMPARE(app.Editor()->toPlainText(), QStringLiteral("------ New Note 12/06/97 ------\ntyped elsewhere\n"));
}

void AppRecoveryTest::endingWhileTheRecoveryQuestionWaitsKeepsTheWork_data()
{
    QTest::addColumn<int>("signal");
    QTest::addColumn<bool>("bNamed");
    QTest::newRow("untitled work, at start-up") << int(SIGTERM) << false;
    QTest::newRow("work on the notebook opened") << int(SIGHUP) << true;
}

void AppRecoveryTest::endingWhileTheRecoveryQuestionWaitsKeepsTheWork()
{
    QFETCH(int, signal);
    QFETCH(bool, bNamed);
    QTemporaryDir dir;
    const QString path = SavedNotebook(dir);
    // Work left by a Quillbox that ended, newer than the notebook's last save.
    const RecoveryStore store = RecoveryStore(RecoveryStore::DefaultDir());
    const LockOwner self = LockOwner::Self();
    const RecoveryEntry entry { store.NewKey(), bNamed ? QFile::encodeName(path).toStdString() : std::string(),
                                QDateTime::currentMSecsSinceEpoch() + 1, { self.host, GonePid(), self.user } };
    const std::string work = ReadAll(path).toStdString() + "kept\r\n";
    FileProblem error;
    QVERIFY(store.Write(entry, [&](const ChunkSink& sink) { return sink(work); }, error));

    const quint16 port = FreePort();
    QProcess program;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("vnc:size=800x600:port=%1").arg(port));
    env.insert(QStringLiteral("HOME"), dir.path());
    program.setProcessEnvironment(env);
    program.start(kProgram, bNamed ? QStringList { path } : QStringList {});
    QVERIFY(program.waitForStarted());
    const auto stop = qScopeGuard([&program] { program.kill(); program.waitForFinished(); });
    // The screen answers once an event loop runs: the question's, nothing runs one before it.
    VncKeyboard keyboard;
    QVERIFY(keyboard.Connect(port));
    ::kill(static_cast<pid_t>(program.processId()), signal);
    QVERIFY(program.waitForFinished(10000));
    QCOMPARE(program.exitStatus(), QProcess::NormalExit);
    QCOMPARE(program.exitCode(), 0);
    QCOMPARE(KeptBytes(), QByteArray::fromStdString(work));
    QVERIFY(!QFile::exists(dir.filePath(QStringLiteral(".a.not.lock"))));
}

void AppRecoveryTest::saveAsksBeforeOverwritingAnotherProgramsChange_data()
{
    QTest::addColumn<bool>("bDelete");
    QTest::addColumn<QByteArray>("button");
    QTest::addColumn<bool>("bSaved");
    QTest::newRow("changed, cancelled") << false << QByteArray("cancel") << false;
    QTest::newRow("changed, overwritten") << false << QByteArray("overwriteButton") << true;
    QTest::newRow("deleted, saved again") << true << QByteArray("overwriteButton") << true;
}

void AppRecoveryTest::saveAsksBeforeOverwritingAnotherProgramsChange()
{
    QFETCH(bool, bDelete);
    QFETCH(QByteArray, button);
    QFETCH(bool, bSaved);
    QTemporaryDir dir;
    const QString path = SavedNotebook(dir);
    AppWindow app(m_settings);
    CChildFrame* pChild = app.frame.OpenNotebook(path);
    pChild->ActivatePane(CChildFrame::Pane::Editor);
    QTest::keyClicks(app.Editor(), QStringLiteral("ours"));
    if (bDelete)
        QVERIFY(QFile::remove(path));
    else
        WriteAll(path, OtherProgramsVersion());

    auto pSeen = AnswerWith(button.constData());
    QCOMPARE(app.frame.OnCommand(cmd::FileSave), true);
    QVERIFY2(pSeen->startsWith(QStringLiteral("changedOnDiskQuestion:")), qPrintable(*pSeen));
    QCOMPARE(ReadAll(path).contains("ours"), bSaved);
    QCOMPARE(ReadAll(path).contains("Changed elsewhere"), !bSaved && !bDelete);
    QCOMPARE(pChild->GetDocument().IsModified(), !bSaved);

    // Once saved, the file is the notebook's own again: the next save asks nothing.
    if (bSaved) {
        QPointer<QTimer> pUnexpected = WhenModal([](QWidget* pDialog) {
            qobject_cast<QDialog*>(pDialog)->reject();
            QFAIL("a question came up");
        });
        QTest::keyClicks(app.Editor(), QStringLiteral(" again"));
        QVERIFY(app.frame.OnCommand(cmd::FileSave));
        QVERIFY(ReadAll(path).contains("ours again"));
        delete pUnexpected;
    }
}

void AppRecoveryTest::comingBackToTheFrontOffersToReadAChangedNotebookAgain()
{
    QTemporaryDir dir;
    const QString path = SavedNotebook(dir);
    AppWindow app(m_settings);
    app.frame.OpenNotebook(path);
    WriteAll(path, OtherProgramsVersion());

    auto pSeen = AnswerMessageBox(QMessageBox::Yes);
    ComeBackToTheFront(app.frame);
    QTRY_VERIFY2(pSeen->contains(QStringLiteral("was changed by another program. Read it again?")), qPrintable(*pSeen));
    QTRY_COMPARE(app.Editor()->toPlainText(), QStringLiteral("------ Changed elsewhere ------\n"));
    QCOMPARE(app.frame.Children().size(), 1);

    // A modified notebook is warned, once for each change.
    app.frame.ActiveChild()->ActivatePane(CChildFrame::Pane::Editor);
    QTest::keyClicks(app.Editor(), QStringLiteral("mine"));
    WriteAll(path, ReadAll(path) + "\r\n");
    pSeen = AnswerMessageBox(QMessageBox::Ok);
    ComeBackToTheFront(app.frame);
    QTRY_VERIFY2(pSeen->contains(QStringLiteral("has unsaved changes")), qPrintable(*pSeen));
    QPointer<QTimer> pUnexpected = WhenModal([](QWidget* pDialog) {
        qobject_cast<QDialog*>(pDialog)->reject();
        QFAIL("the change was mentioned twice");
    });
    ComeBackToTheFront(app.frame);
    QTest::qWait(50);
    delete pUnexpected;
    QVERIFY(app.Editor()->toPlainText().endsWith(QStringLiteral("mine")));
}

void AppRecoveryTest::aFileHasOneWindowWhateverItsNameAndALockElsewhereIsMentioned()
{
    QTemporaryDir dir;
    const QString path = SavedNotebook(dir);
    QVERIFY(QFile::link(path, dir.filePath(QStringLiteral("link.not"))));
    QVERIFY(::link(QFile::encodeName(path).constData(), QFile::encodeName(dir.filePath(QStringLiteral("hard.not"))).constData()) == 0);
    AppWindow app(m_settings);
    CChildFrame* pChild = app.frame.OpenNotebook(path);
    const QString ownLock = dir.filePath(QStringLiteral(".a.not.lock"));
    QVERIFY(QFile::exists(ownLock));
    QCOMPARE(app.frame.OpenNotebook(dir.filePath(QStringLiteral("link.not"))), pChild);
    QCOMPARE(app.frame.OpenNotebook(dir.filePath(QStringLiteral("hard.not"))), pChild);
    QCOMPARE(app.frame.Children().size(), 1);
    pChild->close();
    QVERIFY(!QFile::exists(ownLock));

    const QString other = dir.filePath(QStringLiteral("b.not"));
    QFile::copy(path, other);
    const QByteArray elsewhere = "laptop\n4242\nann\n";
    WriteAll(dir.filePath(QStringLiteral(".b.not.lock")), elsewhere);
    auto pSeen = AnswerMessageBox(QMessageBox::Ok);
    QVERIFY(app.frame.OpenNotebook(other));
    QVERIFY2(pSeen->contains(QStringLiteral("may be open in Quillbox on another machine that shares its folder (on laptop, process 4242, user ann)")),
             qPrintable(*pSeen));
    app.frame.ActiveChild()->close();
    QCOMPARE(ReadAll(dir.filePath(QStringLiteral(".b.not.lock"))), elsewhere);
}

void AppRecoveryTest::commandLineLeavesANotebookOpenInAWindowAlone()
{
    QTemporaryDir dir;
    const QString path = SavedNotebook(dir);
    AppWindow app(m_settings);
    CChildFrame* pChild = app.frame.OpenNotebook(path);
    const auto add = [&](const QStringList& options) {
        QProcess cli;
        cli.start(QStringLiteral(QUILLBOX_BUILD_DIR "/quillbox-cli"),
                  QStringList { QStringLiteral("add") } + options + QStringList { path, QStringLiteral("Main"), QStringLiteral("from the command line") });
        cli.waitForFinished();
        return std::pair { cli.exitCode(), QString::fromUtf8(cli.readAllStandardError()) };
    };
    const auto [refused, said] = add({});
    QCOMPARE(refused, 1);
    QVERIFY2(said.contains(QStringLiteral("is open in Quillbox (on ")) && said.contains(QStringLiteral("give --force")), qPrintable(said));
    QVERIFY(!ReadAll(path).contains("from the command line"));

    // Forced, the command writes; the window's next save asks before it overwrites the note.
    QCOMPARE(add({ QStringLiteral("--force") }).first, 0);
    pChild->ActivatePane(CChildFrame::Pane::Editor);
    QTest::keyClicks(app.Editor(), QStringLiteral("typed"));
    auto pSeen = AnswerWith("cancel");
    QCOMPARE(app.frame.OnCommand(cmd::FileSave), true);
    QVERIFY2(pSeen->startsWith(QStringLiteral("changedOnDiskQuestion:")), qPrintable(*pSeen));
    QVERIFY(ReadAll(path).contains("from the command line"));
    AnswerMessageBox(QMessageBox::No);
    pChild->close();
}

void AppRecoveryTest::aCompleteCopyLeftByACutSaveIsOffered()
{
    // A save of a hard-linked notebook cut while it rewrote the file: the file holds the start
    // of one notebook, and the complete new notebook is in the save's copy.
    QTemporaryDir dir;
    const QString path = SavedNotebook(dir);
    QVERIFY(::link(QFile::encodeName(path).constData(), QFile::encodeName(dir.filePath(QStringLiteral("hard.not"))).constData()) == 0);
    const QByteArray saved = OtherProgramsVersion();
    WriteAll(dir.filePath(QStringLiteral(".a.not.quillbox-save")), saved);
    WriteAll(path, saved.left(saved.size() / 2));

    AppWindow app(m_settings);
    auto pSeen = AnswerWith("useCopyButton");
    CChildFrame* pChild = app.frame.OpenNotebook(path);
    QVERIFY2(pSeen->startsWith(QStringLiteral("saveCopyQuestion:A save of \"a.not\" was cut off")), qPrintable(*pSeen));
    QCOMPARE(app.Editor()->toPlainText(), QStringLiteral("------ Changed elsewhere ------\n"));
    QVERIFY(pChild->GetDocument().IsModified());
    QCOMPARE(pChild->GetPathName(), path);

    // Saved, the notebook is whole under both names and the copy is gone.
    QVERIFY(app.frame.OnCommand(cmd::FileSave));
    QVERIFY(ReadAll(path).contains("Changed elsewhere") && ReadAll(path).endsWith("End Folder Information\r\n"));
    QCOMPARE(ReadAll(dir.filePath(QStringLiteral("hard.not"))), ReadAll(path));
    QVERIFY(!QFile::exists(dir.filePath(QStringLiteral(".a.not.quillbox-save"))));
    pChild->close();
}

QTEST_MAIN(AppRecoveryTest)
#include "AppRecoveryTest.moc"
