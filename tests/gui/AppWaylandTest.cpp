// The window on Wayland: CTest runs this under a headless Weston of its own (under-weston.sh),
// on Qt's Wayland platform. Quillbox starts with a notebook as the program starts, shows a
// dialog, takes a note, saves it and quits.
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

#include "AppTestSupport.h"
#include "app/CQuillboxApp.h"
#include "platform/CommandIds.h"
#include "storage/LockFile.h"

class AppWaylandTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void startsOpensSavesAndQuits();

private:
    QTemporaryDir m_dir;
};

void AppWaylandTest::initTestCase()
{
    QCOMPARE(QGuiApplication::platformName(), QStringLiteral("wayland"));
    QVERIFY(m_dir.isValid());
    // The settings of the test, with the tutorial's offer answered.
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_dir.path());
    QSettings(QStringLiteral("Harwick"), QStringLiteral("Quillbox1.0")).setValue(QStringLiteral("Tutorial Prompt"), QStringLiteral("0"));
}

void AppWaylandTest::startsOpensSavesAndQuits()
{
    const QString path = m_dir.filePath(QStringLiteral("notes.not"));
    WriteAll(path, NotebookWith("------ first ------\nfrom before\n"));
    CQuillboxApp quillbox;
    QPointer<QTimer> watch = FailOnAnyPrompt();
    QVERIFY(quillbox.InitInstance({ QStringLiteral("quillbox"), path }));
    delete watch;
    CMainFrame& frame = *quillbox.GetMainFrame();
    QVERIFY(QTest::qWaitForWindowExposed(&frame));
    QCOMPARE(frame.Children().size(), 1);

    // A dialog opens on the compositor, and closes.
    bool bShown = false;
    WhenModal([&bShown](QWidget* pDialog) {
        bShown = QTest::qWaitForWindowExposed(pDialog) && pDialog->objectName() == QStringLiteral("aboutDlg");
        qobject_cast<QDialog*>(pDialog)->accept();
    });
    frame.OnCommand(cmd::About);
    QVERIFY(bShown);

    CChildFrame* pChild = frame.ActiveChild();
    pChild->ActivatePane(CChildFrame::Pane::Editor);
    auto* pEditor = Find<QPlainTextEdit>(pChild, "noteEditor");
    QTest::keyClick(pEditor, Qt::Key_End, Qt::ControlModifier);
    QTest::keyClicks(pEditor, QStringLiteral("typed on Wayland"));
    QTest::keyClick(pEditor, Qt::Key_S, Qt::ControlModifier);
    QTRY_VERIFY(!pChild->isWindowModified());
    QVERIFY2(ReadAll(path).contains("from before\r\ntyped on Wayland"), ReadAll(path).constData());

    // Exit closes the window, which ends the program's event loop, and lets go of the notebook.
    frame.OnCommand(cmd::Exit);
    QTRY_VERIFY(!frame.isVisible());
    QVERIFY(frame.Children().isEmpty());
    QVERIFY(!LockFile::HoldersOf(path.toStdString()).Any());
}

QTEST_MAIN(AppWaylandTest)
#include "AppWaylandTest.moc"
