// Start-up: the Run Tutorial prompt by the stored setting, the notebooks named on the command
// line or dropped on the window, and the recent-file list.
#include <QCheckBox>
#include <QMimeData>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

#include "AppTestSupport.h"
#include "app/CQuillboxApp.h"
#include "app/CRunTutorialDlg.h"
#include "app/RecentFileList.h"
#include "platform/SettingsStore.h"
#include "qt/HelpWindow.h"

namespace {

QSettings StoredSettings()
{
    return QSettings(QStringLiteral("Harwick"), QStringLiteral("Quillbox1.0"));
}

// A notebook file with Main holding one note and Trash holding F3.
void WriteNotebook(const QString& path, const QString& mainNote)
{
    const QStringList lines {
        "Begin Selected Folder", "Main", "End Selected Folder", "",
        "Begin New Note Preferences", "Date", "1", "Time", "0", "Text", "1", "End New Note Preferences", "",
        "Begin Delete Folder Preferences", "Prompt", "1", "End Delete Folder Preferences", "",
        "Begin Folder Information",
        "Begin Folder", "Folder Name", "Main", "Assigned Key", "None", "Number of Children", "0", "Folder Text",
        mainNote, "End Folder",
        "Begin Folder", "Folder Name", "Trash", "Assigned Key", "F3", "Assigned Key Function", "Move",
        "Number of Children", "0", "Folder Text", "End Folder",
        "End Folder Information",
    };
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(lines.join(QStringLiteral("\r\n")).toUtf8() + "\r\n");
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
        QCOMPARE(Find<QLabel>(pDialog, "firstParagraph")->text(), QString::fromUtf8(CRunTutorialDlg::kFirstParagraph));
        QVERIFY(Find<QLabel>(pDialog, "firstParagraph")->text().contains(QStringLiteral("Quillbox.  Although")));
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
    QCOMPARE(help.source().fileName(), QStringLiteral("tutorial.html"));
    help.close();
}

void AppStartupTest::storedValueDecidesWhetherThePromptShows_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<bool>("bShown");
    QTest::newRow("zero") << "0" << false;
    QTest::newRow("one") << "1" << true;
    QTest::newRow("one and more") << " 1x" << true;
    QTest::newRow("ten") << "10" << false;
    QTest::newRow("empty") << "" << false;
}

void AppStartupTest::storedValueDecidesWhetherThePromptShows()
{
    QFETCH(QString, stored);
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
    QCOMPARE(StoredSettings().value(QStringLiteral("Tutorial Prompt")).toString(), bShown ? QStringLiteral("1") : stored);
}

void AppStartupTest::commandLineOpensTheNamedNotebook()
{
    StoredSettings().setValue(QStringLiteral("Tutorial Prompt"), QStringLiteral("0"));
    const QString path = m_files.filePath(QStringLiteral("ideas.not"));
    WriteNotebook(path, QStringLiteral("------ the first note ------"));

    CQuillboxApp app;
    QVERIFY(app.InitInstance({ QStringLiteral("quillbox"), path }));
    CMainFrame* pFrame = app.GetMainFrame();
    QCOMPARE(pFrame->Children().size(), 1);
    CChildFrame* pChild = pFrame->ActiveChild();
    QCOMPARE(pChild->GetPathName(), path);
    QCOMPARE(pChild->windowTitle(), QStringLiteral("ideas.not[*]"));
    QCOMPARE(Find<QPlainTextEdit>(pChild, "noteEditor")->toPlainText(), QStringLiteral("------ the first note ------\n"));
    QTRY_COMPARE(Find<QLabel>(pFrame, "keysText")->text(), QStringLiteral("Trash=F3"));
    QCOMPARE(pFrame->GetRecentFiles().Files(), QStringList { path });
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
    const QString first = m_files.filePath(QStringLiteral("first.not"));
    const QString second = m_files.filePath(QStringLiteral("second.not"));
    WriteNotebook(first, QStringLiteral("------ one ------"));
    WriteNotebook(second, QStringLiteral("------ two ------"));
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
