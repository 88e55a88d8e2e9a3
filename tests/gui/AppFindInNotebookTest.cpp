// Find in Notebook driven by its keys: the search reaches folders off screen and the text in
// the editor, and the chosen hit is shown in the tree and the editor. A long search runs while
// the window goes on answering, shows its progress and stops when asked.
#include <QCheckBox>
#include <QLineEdit>
#include <QProgressBar>
#include <QtTest>

#include "AppTestSupport.h"
#include "qt/Translations.h"
#include "platform/SettingsStore.h"
#include "qt/QtFindInNotebookDialog.h"

namespace {

// The listed hits as "folder|note|line" rows joined by newlines.
QString Rows(const QTreeWidget* pResults)
{
    QStringList rows;
    for (int i = 0; i < pResults->topLevelItemCount(); ++i) {
        const QTreeWidgetItem* pItem = pResults->topLevelItem(i);
        rows << pItem->text(0) + u'|' + pItem->text(1) + u'|' + pItem->text(2);
    }
    return rows.join(u'\n');
}

// Closes the dialog when the test fails in it, so the test does not wait in it for ever.
auto CloseOnFailure(QDialog* pDialog)
{
    return qScopeGuard([pDialog] {
        if (QTest::currentTestFailed())
            pDialog->reject();
    });
}

// Runs `use` in the Find in Notebook dialog when it comes up, with its text box and its list of
// hits; the dialog closes when the test fails in it.
void WhenFindDialog(std::function<void(QtFindInNotebookDialog*, QLineEdit*, QTreeWidget*)> use)
{
    WhenModal([use = std::move(use)](QWidget* pModal) {
        auto* pDialog = ExpectDialog<QtFindInNotebookDialog>(pModal);
        if (!pDialog)
            return;
        const auto close = CloseOnFailure(pDialog);
        use(pDialog, Find<QLineEdit>(pDialog, "findInNotebookText"), Find<QTreeWidget>(pDialog, "findInNotebookResults"));
    });
}

// Waits for the dialog's search, which runs on another thread, to end.
void WaitForSearch(const QWidget* pDialog)
{
    QTRY_VERIFY(!Find<QPushButton>(pDialog, "findInNotebookStop")->isEnabled());
}

} // namespace

class AppFindInNotebookTest : public QObject
{
    Q_OBJECT

private slots:
    // The window as the program shows it: with the English catalogue and its plural forms.
    void initTestCase() { InstallTranslations({ QStringLiteral("en") }); }
    void ctrlShiftFListsHitsAndReturnGoesToOne();
    void aLongSearchShowsProgressAndStops();
    void fitsTheScreenAndShowsEachHitAsOneLine();
};

void AppFindInNotebookTest::ctrlShiftFListsHitsAndReturnGoesToOne()
{
    MemorySettings settings;
    AppWindow app(settings);
    app.frame.resize(900, 600);
    CChildFrame* pChild = app.NewNotebook();
    CQuillboxDoc& doc = pChild->GetDocument();
    doc.AddFolder(false, "Recipes", "------ Pies ------\r\nApple pie\r\n------ Cakes ------\r\nno apples, a pineapple\r\n",
                  true, {}, {});
    ClickFolder(app.Tree(), QStringLiteral("Main"));
    doc.AddFolder(false, "Apple trees", "", true, {}, {});
    ClickFolder(app.Tree(), QStringLiteral("Main"));
    QPlainTextEdit* pEditor = app.Editor();
    QTRY_COMPARE(QApplication::focusWidget(), pEditor);
    QTest::keyClicks(pEditor, QStringLiteral("an apple a day"));

    QString rows;
    QString status;
    QString shot;
    WhenFindDialog([&](QtFindInNotebookDialog* pDialog, QLineEdit* pText, QTreeWidget* pResults) {
        QTest::keyClicks(pText, QStringLiteral("Apple"));
        QTest::keyClick(pText, Qt::Key_Return);
        WaitForSearch(pDialog);
        rows = Rows(pResults);
        status = Find<QLabel>(pDialog, "findInNotebookStatus")->text();
        // Return moved on to the hits once they came.
        QCOMPARE(QApplication::focusWidget(), pResults);
        // Whole words with the case matched leave the two words "Apple".
        QTest::mouseClick(Find<QCheckBox>(pDialog, "findInNotebookWholeWords"), Qt::LeftButton);
        QTest::mouseClick(Find<QCheckBox>(pDialog, "findInNotebookMatchCase"), Qt::LeftButton);
        WaitForSearch(pDialog);
        rows += u'/' + Rows(pResults);
        // A regular expression, of whole words with the case matched.
        auto* pRegex = Find<QCheckBox>(pDialog, "findInNotebookRegex");
        QTest::mouseClick(pRegex, Qt::LeftButton);
        pText->setText(QStringLiteral("^(Apple|no) [a-z]+"));
        QTest::keyClick(pText, Qt::Key_Return);
        WaitForSearch(pDialog);
        rows += u'/' + Rows(pResults);
        // It fits a screen 1280 pixels wide at a device pixel ratio of 2.
        QVERIFY(pDialog->minimumSizeHint().width() <= 1280 / 2);
        pDialog->resize(700, 300);
        pDialog->grab().save(QStringLiteral(QUILLBOX_BUILD_DIR "/find-in-notebook.png"));
        shot = QStringLiteral("saved");
        QTest::mouseClick(pRegex, Qt::LeftButton);
        pText->setText(QStringLiteral("Apple"));
        QTest::mouseClick(Find<QCheckBox>(pDialog, "findInNotebookWholeWords"), Qt::LeftButton);
        WaitForSearch(pDialog);
        pResults->setFocus();
        pResults->setCurrentItem(pResults->topLevelItem(1));
        QTest::keyClick(pResults, Qt::Key_Return);
    });
    QTest::keyClick(pEditor, Qt::Key_F, Qt::ControlModifier | Qt::ShiftModifier);

    const QString header = TodaysHeader();
    QCOMPARE(rows, QStringLiteral("Main|%1|an apple a day\n"
                                  "Main/Apple trees|(folder name)|Apple trees\n"
                                  "Main/Recipes|------ Pies ------|Apple pie\n"
                                  "Main/Recipes|------ Cakes ------|no apples, a pineapple/"
                                  "Main/Apple trees|(folder name)|Apple trees\n"
                                  "Main/Recipes|------ Pies ------|Apple pie/"
                                  "Main/Apple trees|(folder name)|Apple trees\n"
                                  "Main/Recipes|------ Pies ------|Apple pie\n"
                                  "Main/Recipes|------ Cakes ------|no apples, a pineapple")
                       .arg(header));
    QCOMPARE(status, QStringLiteral("4 matches."));
    QCOMPARE(shot, QStringLiteral("saved"));

    // The second hit with the case matched: "Apple" of "Apple pie" in Recipes, off screen.
    QCOMPARE(app.Tree()->currentItem()->text(0), QStringLiteral("Recipes"));
    // The window's own focus widget: no window manager gives the window back its activation.
    QCOMPARE(app.frame.focusWidget(), pEditor);
    QCOMPARE(pChild->GetActivePane(), CChildFrame::Pane::Editor);
    QCOMPARE(pEditor->textCursor().selectedText(), QStringLiteral("Apple"));
    QCOMPARE(pEditor->textCursor().blockNumber(), 1);
    // What was typed in Main went back into Main when the selection left it.
    QCOMPARE(QString::fromUtf8(doc.FindFolderByName("Main")->m_text.View()), header + "\r\nan apple a day");

    // Opened again, the dialog shows the last search, which typing replaces.
    QString typed;
    WhenModal([&](QWidget* pDialog) {
        QTest::keyClicks(pDialog->focusWidget(), QStringLiteral("pie"));
        typed = Find<QLineEdit>(pDialog, "findInNotebookText")->text();
        Click(pDialog, "findInNotebookClose");
    });
    QTest::keyClick(pEditor, Qt::Key_F, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(typed, QStringLiteral("pie"));
}

void AppFindInNotebookTest::aLongSearchShowsProgressAndStops()
{
    MemorySettings settings;
    AppWindow app(settings);
    CChildFrame* pChild = app.NewNotebook();
    CQuillboxDoc& doc = pChild->GetDocument();
    // 24 MB of a's and b's at random in 40 folders. The pattern below would need an automaton
    // of 2^300 states, so the engine walks the pattern's 300 states at every byte: seconds of
    // work, since it holds no string rarer than its letters to look for first.
    std::string text;
    for (unsigned state = 1; text.size() < 600000;) {
        for (int i = 0; i < 79; ++i) {
            state = state * 1103515245u + 12345u;
            text += (state >> 16) % 2 ? 'a' : 'b';
        }
        text += "\r\n";
    }
    for (int i = 0; i < 40; ++i) {
        ClickFolder(app.Tree(), QStringLiteral("Main"));
        doc.AddFolder(false, "ab " + std::to_string(i), text, true, {}, {});
    }

    QString stopped;
    WhenModal([&](QWidget* pModal) {
        auto* pDialog = ExpectDialog<QtFindInNotebookDialog>(pModal);
        if (!pDialog)
            return;
        const auto close = CloseOnFailure(pDialog);
        auto* pText = Find<QLineEdit>(pDialog, "findInNotebookText");
        auto* pStop = Find<QPushButton>(pDialog, "findInNotebookStop");
        auto* pProgress = Find<QProgressBar>(pDialog, "findInNotebookProgress");
        QTest::mouseClick(Find<QCheckBox>(pDialog, "findInNotebookRegex"), Qt::LeftButton);
        QTest::keyClicks(pText, QStringLiteral("[ab]*a[ab]{300}b"));
        QTest::keyClick(pText, Qt::Key_Return);
        QVERIFY(pStop->isEnabled());
        QTRY_VERIFY(pProgress->isVisible() && pProgress->value() > 0);
        // A key waiting in the event queue is handled while the search runs.
        QCoreApplication::postEvent(pText, new QKeyEvent(QEvent::KeyPress, Qt::Key_Home, Qt::NoModifier));
        QTRY_COMPARE(pText->cursorPosition(), 0);
        QVERIFY(pStop->isEnabled());
        QVERIFY(pProgress->value() < pProgress->maximum());
        QTest::mouseClick(pStop, Qt::LeftButton);
        WaitForSearch(pDialog);
        QVERIFY(!pProgress->isVisible());
        stopped = Find<QLabel>(pDialog, "findInNotebookStatus")->text();

        // A hit whose folder was deleted after the search is refused.
        auto* pRegex = Find<QCheckBox>(pDialog, "findInNotebookRegex");
        auto* pResults = Find<QTreeWidget>(pDialog, "findInNotebookResults");
        QTest::mouseClick(pRegex, Qt::LeftButton);
        pText->setText(QStringLiteral("ab 39"));
        QTest::keyClick(pText, Qt::Key_Return);
        WaitForSearch(pDialog);
        QCOMPARE(Rows(pResults), QStringLiteral("Main/ab 39|(folder name)|ab 39"));
        doc.SetDeleteFolderPrefs(0);
        ClickFolder(app.Tree(), QStringLiteral("ab 39"));
        doc.DeleteSelectedFolder();
        QTest::keyClick(pResults, Qt::Key_Return);
        QCOMPARE(Find<QLabel>(pDialog, "findInNotebookStatus")->text(),
                 QStringLiteral("The folder of that match is gone; search again."));
        QVERIFY(pDialog->isVisible());

        // A search that runs as the dialog closes ends with it.
        QTest::mouseClick(pRegex, Qt::LeftButton);
        pText->setText(QStringLiteral("[ab]*a[ab]{300}b"));
        QTest::keyClick(pText, Qt::Key_Return);
        QVERIFY(pStop->isEnabled());
        Click(pDialog, "findInNotebookClose");
        QVERIFY(!pStop->isEnabled());
    });
    QTest::keyClick(app.Editor(), Qt::Key_F, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(stopped, QStringLiteral("Stopped after 0 matches."));
}

QTEST_MAIN(AppFindInNotebookTest)
#include "AppFindInNotebookTest.moc"

void AppFindInNotebookTest::fitsTheScreenAndShowsEachHitAsOneLine()
{
    // CTest runs this on a screen 1280 by 800 pixels at a scale of 2 as well: 640 by 400.
    MemorySettings settings;
    AppWindow app(settings);
    CChildFrame* pChild = app.NewNotebook();
    pChild->GetDocument().AddFolder(false, "Indented",
                                    "\t\t\t\t\t\t\t\tfour apples\r\n"
                                    "two\xE2\x80\xA8" "apples\xE2\x80\xA9" "and\tpears\r\n",
                                    true, {}, {});
    QString rows;
    QStringList matched;
    WhenFindDialog([&](QtFindInNotebookDialog* pDialog, QLineEdit* pText, QTreeWidget* pResults) {
        // Whole on the screen, its buttons too, whatever the status line says.
        const auto fits = [pDialog] {
            QCoreApplication::processEvents();
            const QRect screen = pDialog->screen()->availableGeometry();
            const QRect frame = pDialog->frameGeometry();
            QVERIFY2(screen.contains(frame), qPrintable(QStringLiteral("%1x%2 on %3x%4").arg(frame.width()).arg(frame.height())
                                                            .arg(screen.width()).arg(screen.height())));
            for (const char* name : { "findInNotebookGoTo", "findInNotebookClose" }) {
                const auto* pButton = Find<QPushButton>(pDialog, name);
                QVERIFY(screen.contains(QRect(pButton->mapToGlobal(QPoint()), pButton->size())));
            }
        };
        // The longest message there is, on the status line.
        QTest::mouseClick(Find<QCheckBox>(pDialog, "findInNotebookRegex"), Qt::LeftButton);
        pText->setText(QStringLiteral("(a)\\1"));
        QTest::keyClick(pText, Qt::Key_Return);
        WaitForSearch(pDialog);
        fits();
        GrabAs(pDialog, QStringLiteral("find-in-notebook-message-scale%1").arg(pDialog->devicePixelRatio()));
        QTest::mouseClick(Find<QCheckBox>(pDialog, "findInNotebookRegex"), Qt::LeftButton);
        pText->setText(QStringLiteral("apples"));
        QTest::keyClick(pText, Qt::Key_Return);
        WaitForSearch(pDialog);
        fits();
        rows = Rows(pResults);
        for (int i = 0; i < pResults->topLevelItemCount(); ++i) {
            const QTreeWidgetItem* pItem = pResults->topLevelItem(i);
            const QPoint span = pItem->data(2, Qt::UserRole + 1).toList().value(0).toPoint();
            matched << pItem->text(2).mid(span.x(), span.y());
        }
        GrabAs(pDialog, QStringLiteral("find-in-notebook-scale%1").arg(pDialog->devicePixelRatio()));
        Click(pDialog, "findInNotebookClose");
    });
    QTest::keyClick(app.Tree(), Qt::Key_F, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(rows, QStringLiteral("Main/Indented||four apples\nMain/Indented||two apples and pears"));
    QCOMPARE(matched, QStringList({ QStringLiteral("apples"), QStringLiteral("apples") }));
}
