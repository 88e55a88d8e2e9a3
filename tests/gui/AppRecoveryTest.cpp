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

#include <unistd.h>

#include "../GonePid.h"
#include "AppTestSupport.h"
#include "app/RecoveryFiles.h"
#include "platform/CommandIds.h"
#include "platform/SettingsStore.h"

namespace {

const QString kTestData = QStringLiteral(QUILLBOX_TEST_DATA);
const QString kProgram = QStringLiteral(QUILLBOX_PROGRAM);

QByteArray ReadAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void WriteAll(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

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
    const RecoveryStore store = NotebookRecovery::Store();
    for (const RecoveryEntry& entry : store.List())
        all += ReadAll(QFile::decodeName(QByteArray::fromStdString(store.NotebookPath(entry.key))));
    return all;
}

size_t KeptCount()
{
    return NotebookRecovery::Store().List().size();
}

// Clicks the button named `buttonName` in the next modal dialog; returns where
// "<dialog's objectName>:<its text>" will be put.
std::shared_ptr<QString> AnswerWith(const char* buttonName)
{
    auto pSeen = std::make_shared<QString>();
    WhenModal([pSeen, buttonName](QWidget* pDialog) {
        auto* pBox = qobject_cast<QMessageBox*>(pDialog);
        *pSeen = pDialog->objectName() + u':' + (pBox ? pBox->text() : QString());
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
    void workTheNotebookWasSavedOverSinceGoesUnasked();
    void untitledWorkIsOfferedAtTheNextStartAndGoesWhenDiscarded();
    void endedProgramKeepsWhatWasTyped_data();
    void endedProgramKeepsWhatWasTyped();
    void endingWhileTheRecoveryQuestionWaitsKeepsTheWork_data();
    void endingWhileTheRecoveryQuestionWaitsKeepsTheWork();
    void saveAsksBeforeOverwritingAnotherProgramsChange_data();
    void saveAsksBeforeOverwritingAnotherProgramsChange();
    void comingBackToTheFrontOffersToReadAChangedNotebookAgain();
    void aFileHasOneWindowWhateverItsNameAndALockElsewhereIsMentioned();

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
    QDir(QString::fromStdString(NotebookRecovery::Store().Dir())).removeRecursively();
}

void AppRecoveryTest::typedWorkComesBackOnlyWhenTheUserChoosesIt()
{
    QTemporaryDir dir;
    const QString path = SavedNotebook(dir);
    LeaveUnsavedWork(m_settings, path, QStringLiteral("lost and found"));
    QVERIFY(!QTest::currentTestFailed());

    AppWindow app(m_settings);
    auto pSeen = AnswerWith("laterButton");
    CChildFrame* pChild = app.frame.OpenNotebook(path);
    QVERIFY2(pSeen->startsWith(QStringLiteral("recoveryQuestion:")), qPrintable(*pSeen));
    QVERIFY2(pSeen->contains(QStringLiteral("Unsaved work kept: 20")) && pSeen->contains(QStringLiteral("Last saved: 20")),
             qPrintable(*pSeen));
    QVERIFY(!app.Editor()->toPlainText().contains(QStringLiteral("lost and found")));
    pChild->close();
    QCOMPARE(KeptCount(), size_t { 1 });

    AnswerWith("recoverButton");
    pChild = app.frame.OpenNotebook(path);
    QCOMPARE(app.Editor()->toPlainText(), QStringLiteral("------ New Note 12/06/97 ------\nlost and found\n"));
    QVERIFY(pChild->GetDocument().IsModified());
    QCOMPARE(pChild->GetPathName(), path);
    // The work is now this window's: kept, but offered to no one.
    QCOMPARE(KeptCount(), size_t { 1 });
    QVERIFY(NotebookRecovery::Orphans().empty());

    QVERIFY(app.frame.OnCommand(cmd::FileSave));
    QVERIFY(ReadAll(path).contains("lost and found"));
    QTRY_COMPARE(KeptCount(), size_t { 0 });
}

void AppRecoveryTest::workTheNotebookWasSavedOverSinceGoesUnasked()
{
    QTemporaryDir dir;
    const QString path = SavedNotebook(dir);
    LeaveUnsavedWork(m_settings, path, QStringLiteral("superseded"));
    QVERIFY(!QTest::currentTestFailed());
    // Another program saves the notebook after the work was kept.
    QTest::qWait(20);
    WriteAll(path, OtherProgramsVersion());

    AppWindow app(m_settings);
    QPointer<QTimer> pUnexpected = WhenModal([](QWidget* pDialog) {
        qobject_cast<QDialog*>(pDialog)->reject();
        QFAIL("a question came up");
    });
    app.frame.OpenNotebook(path);
    delete pUnexpected;
    QCOMPARE(app.Editor()->toPlainText(), QStringLiteral("------ Changed elsewhere ------\n"));
    QCOMPARE(KeptCount(), size_t { 0 });
}

void AppRecoveryTest::untitledWorkIsOfferedAtTheNextStartAndGoesWhenDiscarded()
{
    {
        AppWindow lost(m_settings);
        lost.NewNotebook()->ActivatePane(CChildFrame::Pane::Editor);
        QTest::keyClicks(lost.Editor(), QStringLiteral("draft"));
        QTRY_VERIFY(KeptBytes().contains("draft"));
    }

    AppWindow app(m_settings);
    auto pSeen = AnswerWith("recoverButton");
    QCOMPARE(OfferUntitledRecovery(app.frame), 1);
    QVERIFY2(pSeen->contains(QStringLiteral("untitled notebook")), qPrintable(*pSeen));
    QVERIFY(app.Editor()->toPlainText().endsWith(QStringLiteral("draft\n")));
    QCOMPARE(app.frame.ActiveChild()->windowTitle(), QStringLiteral("Untitled[*]"));
    QVERIFY(app.frame.ActiveChild()->GetDocument().IsModified());

    AnswerMessageBox(QMessageBox::No);
    app.frame.ActiveChild()->close();
    QTRY_COMPARE(KeptCount(), size_t { 0 });
}

void AppRecoveryTest::endedProgramKeepsWhatWasTyped_data()
{
    QTest::addColumn<int>("signal");
    QTest::addColumn<QString>("autosaveMs");
    QTest::newRow("killed after the autosave") << int(SIGKILL) << QStringLiteral("50");
    // The autosave would come too late: the signal writes the work at once.
    QTest::newRow("terminated") << int(SIGTERM) << QStringLiteral("30000");
    QTest::newRow("hung up") << int(SIGHUP) << QStringLiteral("30000");
}

void AppRecoveryTest::endedProgramKeepsWhatWasTyped()
{
    QFETCH(int, signal);
    QFETCH(QString, autosaveMs);
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
    QVERIFY(program.waitForFinished(20000));
    if (signal != SIGKILL) {
        QCOMPARE(program.exitStatus(), QProcess::NormalExit);
        QCOMPARE(program.exitCode(), 0);
        QVERIFY(!QFile::exists(lock));
    }

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
    const RecoveryStore store = NotebookRecovery::Store();
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
    QVERIFY2(pSeen->contains(QStringLiteral("open in another Quillbox as well (on laptop, process 4242, user ann)")),
             qPrintable(*pSeen));
    app.frame.ActiveChild()->close();
    QCOMPARE(ReadAll(dir.filePath(QStringLiteral(".b.not.lock"))), elsewhere);
}

QTEST_MAIN(AppRecoveryTest)
#include "AppRecoveryTest.moc"
