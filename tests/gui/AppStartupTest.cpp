// Start-up: the Run Tutorial prompt by the stored setting, the notebooks named on the command
// line or dropped on the window, and the recent-file list.
#include <QCheckBox>
#include <QMimeData>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

#include "AppTestSupport.h"
#include "app/CQuillboxApp.h"
#include "app/RecentFileList.h"
#include "platform/SettingsStore.h"
#include "qt/HelpWindow.h"

namespace {

QSettings StoredSettings()
{
    return QSettings(QStringLiteral("Harwick"), QStringLiteral("Quillbox1.0"));
}

const QString kTestData = QStringLiteral(QUILLBOX_TEST_DATA);

// A copy of a test notebook under a name of the test's choice.
QString CopyOfTestFile(const QTemporaryDir& dir, const char* source, const char* name)
{
    const QString path = dir.filePath(QString::fromLatin1(name));
    QFile::remove(path);
    QFile::copy(kTestData + u'/' + QString::fromLatin1(source), path);
    return path;
}

// Notes whether a drag reached the watched widget.
struct DragWatch : QObject
{
    bool eventFilter(QObject*, QEvent* event) override
    {
        bEntered = bEntered || event->type() == QEvent::DragEnter;
        return false;
    }
    bool bEntered = false;
};

} // namespace

class AppStartupTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void firstRunOffersTheTutorialWithTheBoxTicked();
    void untickedBoxStoresZeroAndRunOpensTheTutorial();
    void storedValueDecidesWhetherThePromptShows_data();
    void storedValueDecidesWhetherThePromptShows();
    void commandLineOpensTheNamedNotebook();
    void helpAndVersionAnswerWithoutADisplay();
    void damagedNotebookOpensUntitledAfterAMessage();
    void fileThatIsNoNotebookOpensNothing();
    void notebookThatCannotBeOpenedEndsStartUp();
    void droppedFilesOpenAsNotebooks();
    void recentFilesKeepTheFourNewest();

private:
    QTemporaryDir m_settingsDir;
    QTemporaryDir m_files;
};

void AppStartupTest::initTestCase()
{
    QVERIFY(m_settingsDir.isValid() && m_files.isValid());
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_settingsDir.path());
}

void AppStartupTest::init()
{
    StoredSettings().clear();
}

void AppStartupTest::firstRunOffersTheTutorialWithTheBoxTicked()
{
    QString seen;
    WhenModal([&](QWidget* pDialog) {
        QCOMPARE(pDialog->objectName(), QStringLiteral("runTutorialDlg"));
        seen = pDialog->windowTitle();
        QCOMPARE(Find<QLabel>(pDialog, "firstParagraph")->text().trimmed(),
                 QStringLiteral("There is a short tutorial for first-time users of Quillbox.  Although Quillbox is quite "
                                "easy to use, it is suggested that first-time users take a few minutes to go through the "
                                "tutorial to learn some of the basics of Quillbox."));
        QCOMPARE(Find<QLabel>(pDialog, "secondParagraph")->text(),
                 QStringLiteral("If you want to go through the tutorial at a later time, you may always do so by "
                                "selecting \"Tutorial\" from the \"Help\" menu."));
        auto* pCheck = Find<QCheckBox>(pDialog, "showPromptCheck");
        QCOMPARE(pCheck->text(), QStringLiteral("Show this prompt each time you run Quillbox."));
        QVERIFY(pCheck->isChecked());
        QVERIFY(Find<QPushButton>(pDialog, "runTutorialButton")->isDefault());
        QCOMPARE(Find<QPushButton>(pDialog, "skipTutorialButton")->text(), QStringLiteral("Skip Tutorial"));
        Click(pDialog, "skipTutorialButton");
    });
    CQuillboxApp app;
    QVERIFY(app.InitInstance({ QStringLiteral("quillbox") }));

    QCOMPARE(seen, QStringLiteral("Run Tutorial"));
    QCOMPARE(StoredSettings().value(QStringLiteral("Tutorial Prompt")).toString(), QStringLiteral("1"));
    QVERIFY(!app.GetMainFrame()->GetHelp().isVisible());
    QCOMPARE(app.GetMainFrame()->Children().size(), 1);
}

void AppStartupTest::untickedBoxStoresZeroAndRunOpensTheTutorial()
{
    WhenModal([](QWidget* pDialog) {
        QTest::mouseClick(Find<QCheckBox>(pDialog, "showPromptCheck"), Qt::LeftButton);
        Click(pDialog, "runTutorialButton");
    });
    CQuillboxApp app;
    QVERIFY(app.InitInstance({ QStringLiteral("quillbox") }));

    QCOMPARE(StoredSettings().value(QStringLiteral("Tutorial Prompt")).toString(), QStringLiteral("0"));
    HelpWindow& help = app.GetMainFrame()->GetHelp();
    QVERIFY(help.isVisible());
    QCOMPARE(help.GetBrowser().source().fileName(), QStringLiteral("tutorial.html"));
    help.close();
}

void AppStartupTest::storedValueDecidesWhetherThePromptShows_data()
{
    QTest::addColumn<QVariant>("stored");
    QTest::addColumn<bool>("bShown");
    // The reading rule itself is TutorialPromptTest's; these check that start-up follows it.
    QTest::newRow("zero") << QVariant(QStringLiteral("0")) << false;
    QTest::newRow("blanks, one, more") << QVariant(QStringLiteral(" 1x")) << true;
    // Numbers, as another program or a hand-edited file may store them.
    QTest::newRow("number one") << QVariant(1) << true;
    QTest::newRow("number zero") << QVariant(0) << false;
    QTest::newRow("short one") << QVariant::fromValue<short>(1) << true;
    QTest::newRow("short zero") << QVariant::fromValue<short>(0) << false;
}

void AppStartupTest::storedValueDecidesWhetherThePromptShows()
{
    QFETCH(QVariant, stored);
    QFETCH(bool, bShown);
    StoredSettings().setValue(QStringLiteral("Tutorial Prompt"), stored);

    bool bPrompted = false;
    QPointer<QTimer> watch = WhenModal([&](QWidget* pDialog) {
        bPrompted = pDialog->objectName() == QStringLiteral("runTutorialDlg");
        Click(pDialog, "skipTutorialButton");
    });
    CQuillboxApp app;
    QVERIFY(app.InitInstance({ QStringLiteral("quillbox") }));
    delete watch;

    QCOMPARE(bPrompted, bShown);
    // Only an answered prompt writes the value back.
    QCOMPARE(StoredSettings().value(QStringLiteral("Tutorial Prompt")).toString(), bShown ? QStringLiteral("1") : stored.toString());
}

void AppStartupTest::commandLineOpensTheNamedNotebook()
{
    StoredSettings().setValue(QStringLiteral("Tutorial Prompt"), QStringLiteral("0"));
    const QString path = CopyOfTestFile(m_files, "new-notebook.not", "ideas.not");

    CQuillboxApp app;
    QVERIFY(app.InitInstance({ QStringLiteral("quillbox"), path }));
    CMainFrame* pFrame = app.GetMainFrame();
    QCOMPARE(pFrame->Children().size(), 1);
    CChildFrame* pChild = pFrame->ActiveChild();
    QCOMPARE(pChild->GetPathName(), path);
    QCOMPARE(pChild->windowTitle(), QStringLiteral("ideas.not[*]"));
    QCOMPARE(Find<QPlainTextEdit>(pChild, "noteEditor")->toPlainText(), QStringLiteral("------ New Note 12/06/97 ------\n"));
    QVERIFY(!pChild->isWindowModified());
    QTRY_COMPARE(Find<QLabel>(pFrame, "keysText")->text(), QStringLiteral("Trash=F3"));
    QCOMPARE(pFrame->GetRecentFiles().Files(), QStringList { path });
}

void AppStartupTest::helpAndVersionAnswerWithoutADisplay()
{
    // As on a terminal without a display: no window system named or reachable.
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : { "DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM" })
        environment.remove(QString::fromLatin1(name));
    const auto run = [&environment](const QStringList& arguments) {
        QProcess program;
        program.setProcessEnvironment(environment);
        program.start(QStringLiteral(QUILLBOX_PROGRAM), arguments);
        if (!program.waitForFinished(20000))
            program.kill();
        const int status = program.exitStatus() == QProcess::CrashExit ? -1 : program.exitCode();
        return QStringLiteral("%1:%2%3").arg(status).arg(program.readAllStandardOutput(), program.readAllStandardError());
    };
    const QString noDisplay = QStringLiteral("1:quillbox: there is no display to open the window on (DISPLAY and "
                                             "WAYLAND_DISPLAY are unset); without one, start it under a virtual "
                                             "display: xvfb-run -a quillbox [notebook...]\n");
    const QString unknown = QStringLiteral("2:quillbox: Unknown option '%1'.\nSee quillbox --help.\n");
    const std::pair<QStringList, QString> cases[] = {
        { { QStringLiteral("--version") }, QStringLiteral("0:Quillbox 1.0\n") },
        { { QStringLiteral("--frobnicate") }, unknown.arg(QStringLiteral("frobnicate")) },
        { { QStringLiteral("notes.not"), QStringLiteral("-x") }, unknown.arg(QStringLiteral("x")) },
        // Qt's own options are taken as Qt takes them, around the program's.
        { { QStringLiteral("-platform"), QStringLiteral("offscreen"), QStringLiteral("--bogus") }, unknown.arg(QStringLiteral("bogus")) },
        { { QStringLiteral("notes.not") }, noDisplay },
        { { QStringLiteral("--"), QStringLiteral("--bogus") }, noDisplay },
        { {}, noDisplay },
    };
    for (const auto& [arguments, expected] : cases)
        QCOMPARE(run(arguments), expected);
    for (const char* option : { "--help", "--help-all" }) {
        const QString help = run({ QString::fromLatin1(option) });
        QVERIFY2(help.startsWith(QStringLiteral("0:Usage: ")) && help.contains(QStringLiteral("[notebook...]")), qPrintable(help));
    }
}

void AppStartupTest::damagedNotebookOpensUntitledAfterAMessage()
{
    StoredSettings().setValue(QStringLiteral("Tutorial Prompt"), QStringLiteral("0"));
    const QString path = CopyOfTestFile(m_files, "truncated-inside-record.not", "damaged.not");
    CQuillboxApp app;
    QString message;
    bool bOverTheWindow = false;
    WhenModal([&](QWidget* pBox) {
        message = qobject_cast<QMessageBox*>(pBox)->text();
        // The message comes over the main window with the notebook in it, not over nothing.
        CMainFrame* pFrame = app.GetMainFrame();
        bOverTheWindow = pBox->parentWidget() == pFrame && pFrame->isVisible() && pFrame->ActiveChild();
        qobject_cast<QMessageBox*>(pBox)->accept();
    });
    QVERIFY(app.InitInstance({ QStringLiteral("quillbox"), path }));

    QVERIFY2(message.contains(QStringLiteral("damaged.not")), qPrintable(message));
    QVERIFY(bOverTheWindow);
    CChildFrame* pChild = app.GetMainFrame()->ActiveChild();
    QVERIFY(pChild);
    // Saving must not write what was read over the damaged file.
    QCOMPARE(pChild->windowTitle(), QStringLiteral("Untitled[*]"));
    QTRY_VERIFY(pChild->isWindowModified());
    QVERIFY(app.GetMainFrame()->GetRecentFiles().Files().isEmpty());
}

void AppStartupTest::fileThatIsNoNotebookOpensNothing()
{
    MemorySettings settings;
    AppWindow app(settings);
    const auto message = AnswerMessageBox(QMessageBox::Ok);
    QVERIFY(!app.frame.OpenNotebook(kTestData + QStringLiteral("/no-notebook-prose.txt")));
    QVERIFY2(message->contains(QStringLiteral("no-notebook-prose.txt")), qPrintable(*message));
    QVERIFY(app.frame.Children().isEmpty());
    QVERIFY(app.frame.GetRecentFiles().Files().isEmpty());
}

void AppStartupTest::notebookThatCannotBeOpenedEndsStartUp()
{
    const QString path = m_files.filePath(QStringLiteral("missing.not"));
    const auto message = AnswerMessageBox(QMessageBox::Ok);
    CQuillboxApp app;
    QVERIFY(!app.InitInstance({ QStringLiteral("quillbox"), path }));
    QVERIFY2(message->startsWith(QStringLiteral("Quillbox:")) && message->contains(QStringLiteral("missing.not")),
             qPrintable(*message));
    QVERIFY(app.GetMainFrame()->Children().isEmpty());
    QVERIFY(!app.GetMainFrame()->isVisible());
}

void AppStartupTest::droppedFilesOpenAsNotebooks()
{
    const QString first = CopyOfTestFile(m_files, "new-notebook.not", "first.not");
    const QString second = CopyOfTestFile(m_files, "new-notebook.not", "second.not");
    MemorySettings settings;
    AppWindow app(settings);

    QMimeData data;
    data.setUrls({ QUrl::fromLocalFile(first), QUrl::fromLocalFile(second) });
    const QPoint where = app.frame.rect().center();
    QDragEnterEvent enter(where, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&app.frame, &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent drop(where, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&app.frame, &drop);

    QStringList titles;
    for (CChildFrame* pChild : app.frame.Children())
        titles << pChild->windowTitle();
    QCOMPARE(titles, QStringList({ QStringLiteral("first.not[*]"), QStringLiteral("second.not[*]") }));
    QCOMPARE(app.frame.ActiveChild()->GetPathName(), second);

    // A file dragged over the editor is the window's to open, not text for the note.
    data.setText(first);
    DragWatch frameWatch;
    app.frame.installEventFilter(&frameWatch);
    QWidget* pEditorArea = Find<QPlainTextEdit>(app.frame.ActiveChild(), "noteEditor")->viewport();
    QDragEnterEvent overEditor(pEditorArea->rect().center(), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(pEditorArea, &overEditor);
    QVERIFY(overEditor.isAccepted());
    QVERIFY(frameWatch.bEntered);
}

void AppStartupTest::recentFilesKeepTheFourNewest()
{
    MemorySettings settings;
    {
        RecentFileList recent(settings);
        for (const char* path : { "/n/a.not", "/n/b.not", "/n/c.not", "/n/d.not", "/n/e.not", "/n/b.not" })
            recent.Add(QString::fromLatin1(path));
        QCOMPARE(recent.Files().join(u' '), QStringLiteral("/n/b.not /n/e.not /n/d.not /n/c.not"));
        recent.Remove(QStringLiteral("/n/e.not"));
    }
    QCOMPARE(RecentFileList(settings).Files().join(u' '), QStringLiteral("/n/b.not /n/d.not /n/c.not"));

    AppWindow app(settings);
    QCOMPARE(MenuTexts(MenuOf(app.frame, QStringLiteral("&File"))),
             QStringLiteral("&New\tCtrl+N|&Open...\tCtrl+O|-|P&rint Setup...|-|&1 /n/b.not|&2 /n/d.not|&3 /n/c.not|-|E&xit"));
}

QTEST_MAIN(AppStartupTest)
#include "AppStartupTest.moc"
