#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTextDocumentFragment>
#include <QTreeWidget>
#include <QTest>
#include <QTimer>

#include <functional>

#include "QtNotebook.h"
#include "dialogs/CAssignKeysDlg.h"
#include "dialogs/CChooseFolderDlg.h"
#include "dialogs/CInputDlg.h"
#include "dialogs/CPrefsDlgs.h"
#include "doc/CQuillboxDoc.h"
#include "platform/CommandIds.h"
#include "qt/QtPrompts.h"
#include "qt/RecoveryDialog.h"
#include "qt/TextCodec.h"

namespace {

// Works the next window that `find` returns once it is active, while the caller's modal loop
// runs it. A window the work leaves open is closed, so a failing test cannot hang.
template <typename Find, typename Work>
void WhenShown(Find find, Work work)
{
    QTimer::singleShot(0, [find, work] {
        QPointer<QWidget> pWindow;
        if (!QTest::qWaitFor([&] { return (pWindow = find()) != nullptr; })) {
            qWarning("no window came");
            return;
        }
        if (!QTest::qWaitForWindowActive(pWindow))
            qWarning("the window did not become active");
        work(pWindow.data());
        if (pWindow && pWindow->isVisible()) {
            qWarning("the window stayed open");
            pWindow->close();
        }
    });
}

template <typename Work>
void WhenModal(Work work)
{
    WhenShown([] { return QApplication::activeModalWidget(); }, work);
}

template <typename Work>
void WhenPopup(Work work)
{
    WhenShown([] { return QApplication::activePopupWidget(); }, work);
}

// The object names of the widgets that Tab visits from the focused one, until it comes back.
QStringList TabOrder()
{
    QStringList names;
    const QWidget* pStart = QApplication::focusWidget();
    for (int i = 0; i < 20; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        if (QApplication::focusWidget() == pStart)
            return names;
        names << QApplication::focusWidget()->objectName();
    }
    return names;
}

template <typename T>
T* Child(QWidget* pWindow, const char* name)
{
    T* pChild = pWindow->findChild<T*>(QString::fromUtf8(name));
    if (!pChild)
        qFatal("no child %s in %s", name, qPrintable(pWindow->objectName()));
    return pChild;
}

QStringList Lines(QListWidget* pList)
{
    QStringList lines;
    for (int i = 0; i < pList->count(); ++i)
        lines << pList->item(i)->text();
    return lines;
}

void Click(QWidget* pWindow, const char* button)
{
    QTest::mouseClick(Child<QAbstractButton>(pWindow, button), Qt::LeftButton);
}

void ClickLine(QListWidget* pList, const QString& text)
{
    const QList<QListWidgetItem*> items = pList->findItems(text, Qt::MatchExactly);
    if (items.isEmpty())
        qFatal("no line %s", qPrintable(text));
    QTest::mouseClick(pList->viewport(), Qt::LeftButton, {}, pList->visualItemRect(items.first()).center());
}

} // namespace

// Each dialog, message box and menu shown by the prompts, answered by keys and buttons.
class QtDialogsTest : public QObject
{
    Q_OBJECT

    CQuillboxDoc m_doc { Services {} };
    TextCodec m_codec { &m_doc };
    QtPrompts m_prompts { nullptr, m_codec };

private slots:
    void inputDialogOpensWithTheTextSelected()
    {
        CInputDlg dlg;
        dlg.m_strLabel = "Enter the folder name:";
        dlg.m_strText = "New Folder";
        WhenModal([](QWidget* pDialog) {
            Grab(pDialog);
            QCOMPARE(pDialog->windowTitle(), QStringLiteral("Input Dialog"));
            QCOMPARE(Child<QLabel>(pDialog, "inputLabel")->text(), QStringLiteral("Enter the folder name:"));
            auto* pEdit = Child<QLineEdit>(pDialog, "inputText");
            QVERIFY(pEdit->hasFocus());
            QCOMPARE(pEdit->selectedText(), QStringLiteral("New Folder"));
            QCOMPARE(TabOrder(), QStringList({ "okButton", "cancelButton" }));
            QTest::keyClicks(pEdit, " Ideas ");
            QTest::keyClick(pEdit, Qt::Key_Return);
        });
        QVERIFY(m_prompts.RunInputDlg(dlg));
        QCOMPARE(dlg.m_strText, std::string(" Ideas "));

        WhenModal([](QWidget* pDialog) {
            QTest::keyClicks(Child<QLineEdit>(pDialog, "inputText"), "dropped");
            QTest::keyClick(pDialog, Qt::Key_Escape);
        });
        QVERIFY(!m_prompts.RunInputDlg(dlg));
        QCOMPARE(dlg.m_strText, std::string(" Ideas "));

        WhenModal([](QWidget* pDialog) {
            QTest::keyClick(Child<QLineEdit>(pDialog, "inputText"), Qt::Key_Delete);
            Click(pDialog, "okButton");
        });
        QVERIFY(m_prompts.RunInputDlg(dlg));
        QCOMPARE(dlg.m_strText, std::string());
    }

    void chooseFolderOffersSortedNamesWithTheFirstSelected()
    {
        CChooseFolderDlg dlg;
        dlg.m_folderNames = { "Zeta", "alpha", "Main" };
        WhenModal([](QWidget* pDialog) {
            Grab(pDialog);
            QCOMPARE(pDialog->windowTitle(), QStringLiteral("Choose Folder"));
            auto* pList = Child<QListWidget>(pDialog, "folderList");
            QCOMPARE(Lines(pList), QStringList({ "alpha", "Main", "Zeta" }));
            QVERIFY(pList->hasFocus());
            QVERIFY(pList->item(0)->isSelected());
            QCOMPARE(TabOrder(), QStringList({ "moveNoteButton", "copyNoteButton", "cancelButton" }));
            QTest::keyClick(pList, Qt::Key_Return);
        });
        QVERIFY(m_prompts.RunChooseFolderDlg(dlg));
        QCOMPARE(dlg.m_strFolder, std::string("alpha"));
        QCOMPARE(dlg.m_bMove, 1);

        WhenModal([](QWidget* pDialog) {
            QTest::keyClick(Child<QListWidget>(pDialog, "folderList"), Qt::Key_Down);
            Click(pDialog, "copyNoteButton");
        });
        QVERIFY(m_prompts.RunChooseFolderDlg(dlg));
        QCOMPARE(dlg.m_strFolder, std::string("Main"));
        QCOMPARE(dlg.m_bMove, 0);

        WhenModal([](QWidget* pDialog) {
            auto* pList = Child<QListWidget>(pDialog, "folderList");
            const QPoint onZeta = pList->visualItemRect(pList->item(2)).center();
            QTest::mouseDClick(pList->viewport(), Qt::LeftButton, {}, onZeta);
        });
        QVERIFY(m_prompts.RunChooseFolderDlg(dlg));
        QCOMPARE(dlg.m_strFolder, std::string("Zeta"));
        QCOMPARE(dlg.m_bMove, 1);

        CChooseFolderDlg cancelled;
        cancelled.m_folderNames = { "Main" };
        WhenModal([](QWidget* pDialog) { QTest::keyClick(pDialog, Qt::Key_Escape); });
        QVERIFY(!m_prompts.RunChooseFolderDlg(cancelled));
        QCOMPARE(cancelled.m_strFolder, std::string());
    }

    void assignKeysPairsAndPartsFoldersAndKeys()
    {
        CAssignKeysDlg dlg;
        // A folder whose name another folder shares comes with its path.
        dlg.m_availFolders = { "Main", "Ideas", "Main/Archive/Correspondence/Ideas" };
        dlg.m_availKeys = { "F4", "F5", "F11" };
        dlg.m_assignments = { { "Work", "F7", "Move" } };
        WhenModal([](QWidget* pDialog) {
            Grab(pDialog);
            QCOMPARE(pDialog->windowTitle(), QStringLiteral("Assign Keys to Folders"));
            QVERIFY(Child<QPushButton>(pDialog, "closeButton")->hasFocus());
            auto* pFolders = Child<QListWidget>(pDialog, "availableFolders");
            auto* pKeys = Child<QListWidget>(pDialog, "availableKeys");
            auto* pAssignments = Child<QListWidget>(pDialog, "assignments");
            QCOMPARE(Lines(pFolders), QStringList({ "Ideas", "Main", "Main/Archive/Correspondence/Ideas" }));
            QCOMPARE(Lines(pKeys), QStringList({ "F11", "F4", "F5" }));
            QCOMPARE(Lines(pAssignments), QStringList({ "Work (F7) Move" }));
            QVERIFY(pFolders->selectedItems().isEmpty() && pKeys->selectedItems().isEmpty());
            QVERIFY(Child<QRadioButton>(pDialog, "moveNoteRadio")->isChecked());
            QCOMPARE(TabOrder(), QStringList({ "cancelButton", "assignButton", "unassignButton", "availableFolders",
                                               "availableKeys", "assignments" }));

            // Assign needs a folder and a key.
            ClickLine(pFolders, QStringLiteral("Ideas"));
            Click(pDialog, "assignButton");
            QCOMPARE(pAssignments->count(), 1);
            ClickLine(pKeys, QStringLiteral("F5"));
            Click(pDialog, "copyNoteRadio");
            Click(pDialog, "assignButton");
            QCOMPARE(Lines(pAssignments), QStringList({ "Ideas (F5) Copy", "Work (F7) Move" }));
            QCOMPARE(Lines(pFolders), QStringList({ "Main", "Main/Archive/Correspondence/Ideas" }));
            QCOMPARE(Lines(pKeys), QStringList({ "F11", "F4" }));

            ClickLine(pAssignments, QStringLiteral("Work (F7) Move"));
            Click(pDialog, "unassignButton");
            QCOMPARE(Lines(pAssignments), QStringList({ "Ideas (F5) Copy" }));
            QCOMPARE(Lines(pFolders), QStringList({ "Main", "Main/Archive/Correspondence/Ideas", "Work" }));
            QCOMPARE(Lines(pKeys), QStringList({ "F11", "F4", "F7" }));
            Click(pDialog, "closeButton");
        });
        QVERIFY(m_prompts.RunAssignKeysDlg(dlg));
        QCOMPARE(dlg.m_assignments.size(), size_t(1));
        QCOMPARE(CAssignKeysDlg::AssignmentLine(dlg.m_assignments.front()), std::string("Ideas (F5) Copy"));

        WhenModal([](QWidget* pDialog) { QTest::keyClick(pDialog, Qt::Key_Return); });
        QVERIFY(m_prompts.RunAssignKeysDlg(dlg));
        WhenModal([](QWidget* pDialog) { QTest::keyClick(pDialog, Qt::Key_Escape); });
        QVERIFY(!m_prompts.RunAssignKeysDlg(dlg));
    }

    void newNotePrefsShowAndTakeTheHeaderParts()
    {
        CNewNotePrefsDlg dlg;
        dlg.m_bIncludeDate = 1;
        dlg.m_bIncludeText = 1;
        WhenModal([](QWidget* pDialog) {
            Grab(pDialog);
            QCOMPARE(pDialog->windowTitle(), QStringLiteral("New Note Preferences"));
            auto* pDate = Child<QCheckBox>(pDialog, "includeDate");
            QVERIFY(pDate->hasFocus());
            QVERIFY(pDate->isChecked());
            QVERIFY(!Child<QCheckBox>(pDialog, "includeTime")->isChecked());
            QCOMPARE(TabOrder(), QStringList({ "includeTime", "includeText", "okButton", "cancelButton" }));
            QCOMPARE(Child<QCheckBox>(pDialog, "includeText")->text(), QStringLiteral("Include Text (\"New Note\")"));
            QTest::keyClick(pDate, Qt::Key_Tab);
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        });
        QVERIFY(m_prompts.RunNewNotePrefsDlg(dlg));
        QCOMPARE(dlg.m_bIncludeTime, 1);
        QCOMPARE(dlg.m_bIncludeDate, 1);
        QCOMPARE(dlg.m_bIncludeText, 1);

        WhenModal([](QWidget* pDialog) {
            QTest::keyClick(Child<QCheckBox>(pDialog, "includeDate"), Qt::Key_Space);
            Click(pDialog, "cancelButton");
        });
        QVERIFY(!m_prompts.RunNewNotePrefsDlg(dlg));
        QCOMPARE(dlg.m_bIncludeDate, 1);
    }

    void deleteFolderPrefsShowAndTakeThePrompt()
    {
        CDeleteFolderPrefsDlg dlg;
        dlg.m_bPrompt = 1;
        WhenModal([](QWidget* pDialog) {
            Grab(pDialog);
            QCOMPARE(pDialog->windowTitle(), QStringLiteral("Delete Folder Preferences"));
            auto* pPrompt = Child<QCheckBox>(pDialog, "promptBeforeDeleting");
            QVERIFY(pPrompt->hasFocus());
            QVERIFY(pPrompt->isChecked());
            QCOMPARE(TabOrder(), QStringList({ "okButton", "cancelButton" }));
            QTest::keyClick(pPrompt, Qt::Key_Space);
            QTest::keyClick(pPrompt, Qt::Key_Return);
        });
        QVERIFY(m_prompts.RunDeleteFolderPrefsDlg(dlg));
        QCOMPARE(dlg.m_bPrompt, 0);
    }

    void messageBoxesCarryTheProgramsTitle()
    {
        WhenModal([](QWidget* pBox) {
            Grab(pBox);
            QCOMPARE(pBox->windowTitle(), QStringLiteral("Quillbox"));
            QCOMPARE(static_cast<QMessageBox*>(pBox)->text(), QStringLiteral("You must enter a folder name."));
            QTest::keyClick(pBox, Qt::Key_Return);
        });
        m_prompts.Tell({ Message::Kind::EnterFolderName });
        // A message's own line breaks are line breaks, not characters kept for a note's bytes.
        WhenModal([](QWidget* pBox) {
            QCOMPARE(static_cast<QMessageBox*>(pBox)->text(),
                     QStringLiteral("You cannot import a folder as a child of the \"Trash\"\nfolder.  Please select a different folder."));
            QTest::keyClick(pBox, Qt::Key_Return);
        });
        m_prompts.Tell({ Message::Kind::NoImportIntoTrash });

        WhenModal([](QWidget* pBox) {
            pBox->setObjectName(QStringLiteral("questionBox"));
            Grab(pBox);
            QTest::keyClick(pBox, Qt::Key_Return);
        });
        QVERIFY(m_prompts.Ask({ Question::Kind::DeleteFolder, "<b>Ideas</b>" }));
        WhenModal([](QWidget* pBox) { QTest::keyClick(pBox, Qt::Key_Escape); });
        QVERIFY(!m_prompts.Ask({ Question::Kind::DeleteFolder, "Ideas" }));
        WhenModal([](QWidget* pBox) {
            QTest::mouseClick(static_cast<QMessageBox*>(pBox)->button(QMessageBox::No), Qt::LeftButton);
        });
        QVERIFY(!m_prompts.Ask({ Question::Kind::DeleteFolder, "Ideas" }));
    }

    void namesShowAsTheyAreInMessageBoxesAndTooltips()
    {
        // A file or folder whose name looks like HTML, which Qt would draw bold and as a picture.
        const QString name = QStringLiteral("<b>x<img src=y>.not");
        const std::string path = "/tmp/" + name.toStdString();
        const std::function<void()> asks[] = {
            [&] { m_prompts.AskSaveChanges(path); },
            [&] { m_prompts.AskSaveOver(path, false); },
            [&] { m_prompts.Ask({ Question::Kind::DeleteFolder, name.toStdString() }); },
            [&] { m_prompts.Ask({ Question::Kind::ReadAgain, path }); },
            [&] { m_prompts.Tell({ Message::Kind::Vanished, "", path }); },
            [&] { m_prompts.ReportProblem(FileProblem { FileProblem::Action::Save, FileProblem::Kind::ReadOnly, path }); },
            [&] { m_prompts.ConfirmDiscard({ path, 0, {} }); },
            [&] { m_prompts.AskUseSaveCopy(path, path + ".quillbox-save"); },
        };
        for (const auto& ask : asks) {
            int named = 0;
            QStringList rich;
            WhenModal([&](QWidget* pBox) {
                for (const QLabel* pLabel : pBox->findChildren<QLabel*>()) {
                    if (!pLabel->text().contains(name))
                        continue;
                    ++named;
                    if (pLabel->textFormat() != Qt::PlainText)
                        rich << pBox->objectName() + u':' + pLabel->text();
                }
                QTest::keyClick(pBox, Qt::Key_Escape);
            });
            ask();
            QVERIFY(named > 0);
            QVERIFY2(rich.isEmpty(), qPrintable(rich.join(u'\n')));
        }
        // The recovery question's list says the notebook's whole path in a tooltip.
        RecoveryDialog dialog({ KeptWork { path, 0, {} } }, nullptr);
        const QString tip = Child<QTreeWidget>(&dialog, "keptWorkList")->topLevelItem(0)->toolTip(0);
        QCOMPARE(Qt::mightBeRichText(tip) ? QTextDocumentFragment::fromHtml(tip).toPlainText() : tip, QString::fromStdString(path));
    }

    void popupMenusListTheirCommandsWithShortcuts()
    {
        QStringList texts;
        WhenPopup([&texts](QWidget* pMenu) {
            for (const QAction* pAction : static_cast<QMenu*>(pMenu)->actions())
                texts << (pAction->isSeparator() ? QStringLiteral("-") : pAction->text());
            QTest::keyClick(pMenu, Qt::Key_Down);
            QTest::keyClick(pMenu, Qt::Key_Down);
            QTest::keyClick(pMenu, Qt::Key_Return);
        });
        QCOMPARE(m_prompts.TrackPopupMenu(cmd::FolderContextMenu, 50, 50), cmd::DeleteFolder);
        QCOMPARE(texts, QStringList({ "&New Folder...\tCtrl+W", "&Delete Folder\tCtrl+D", "R&ename Folder...\tCtrl+R",
                                      "&Export Folder...\tCtrl+E", "&Import Folder...\tCtrl+I", "-", "C&ut Folder\tCtrl+J",
                                      "C&opy Folder\tCtrl+K", "&Paste Folder\tCtrl+L" }));

        texts.clear();
        WhenPopup([&texts](QWidget* pMenu) {
            for (const QAction* pAction : static_cast<QMenu*>(pMenu)->actions())
                texts << pAction->text();
            QTest::keyClick(pMenu, Qt::Key_Escape);
        });
        QCOMPARE(m_prompts.TrackPopupMenu(cmd::NoteContextMenu, 50, 50), 0);
        QCOMPARE(texts, QStringList({ "&New Note\tShift+Return", "&Delete Note...\tF3", "&Move/Copy Note...\tF2" }));
    }

    void fileChoosersUseTheFilterAndAddTheExtension()
    {
        QCOMPARE(QtPrompts::NameFilters("Folder Files (*.fol)|*.fol|All Files (*.*)|*.*||"),
                 QStringList({ "Folder Files (*.fol)", "All Files (*)" }));
        QTemporaryDir dir;
        const QString typed = dir.filePath(QStringLiteral("export"));
        WhenModal([typed](QWidget* pDialog) {
            QCOMPARE(static_cast<QFileDialog*>(pDialog)->nameFilters(), QStringList({ "Folder Files (*.fol)", "All Files (*)" }));
            auto* pName = pDialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
            QVERIFY(pName);
            pName->setText(typed);
            QTest::keyClick(pName, Qt::Key_Return);
        });
        const auto path = m_prompts.ChooseSaveFile({ "Folder Files (*.fol)|*.fol|All Files (*.*)|*.*||", ".fol", true });
        QVERIFY(path);
        QCOMPARE(QString::fromStdString(*path), typed + QStringLiteral(".fol"));

        WhenModal([](QWidget* pDialog) { QTest::keyClick(pDialog, Qt::Key_Escape); });
        QVERIFY(!m_prompts.ChooseOpenFile({ "Folder Files (*.fol)|*.fol|All Files (*.*)|*.*||", ".fol", false }));
    }
};

QTEST_MAIN(QtDialogsTest)
#include "QtDialogsTest.moc"
