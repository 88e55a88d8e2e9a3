// Find in Notebook driven by its keys: the search reaches folders off screen and the text in
// the editor, and the chosen hit is shown in the tree and the editor.
#include <QCheckBox>
#include <QLineEdit>
#include <QtTest>

#include "AppTestSupport.h"
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

} // namespace

class AppFindInNotebookTest : public QObject
{
    Q_OBJECT

private slots:
    void ctrlShiftFListsHitsAndReturnGoesToOne();
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
    WhenModal([&](QWidget* pDialog) {
        auto* pText = Find<QLineEdit>(pDialog, "findInNotebookText");
        auto* pResults = Find<QTreeWidget>(pDialog, "findInNotebookResults");
        QTest::keyClicks(pText, QStringLiteral("Apple"));
        QTest::keyClick(pText, Qt::Key_Return);
        rows = Rows(pResults);
        status = Find<QLabel>(pDialog, "findInNotebookStatus")->text();
        // Whole words with the case matched leave the two words "Apple".
        QTest::mouseClick(Find<QCheckBox>(pDialog, "findInNotebookWholeWords"), Qt::LeftButton);
        QTest::mouseClick(Find<QCheckBox>(pDialog, "findInNotebookMatchCase"), Qt::LeftButton);
        rows += u'/' + Rows(pResults);
        pDialog->resize(700, 300);
        pDialog->grab().save(QStringLiteral(QUILLBOX_BUILD_DIR "/find-in-notebook.png"));
        shot = QStringLiteral("saved");
        QTest::mouseClick(Find<QCheckBox>(pDialog, "findInNotebookWholeWords"), Qt::LeftButton);
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
                                  "Main/Recipes|------ Pies ------|Apple pie")
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

QTEST_MAIN(AppFindInNotebookTest)
#include "AppFindInNotebookTest.moc"
