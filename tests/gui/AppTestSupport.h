#pragma once

#include <QApplication>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <functional>
#include <memory>

#include "app/CChildFrame.h"
#include "app/CMainFrame.h"

// A file's bytes, or none when it cannot be read.
inline QByteArray ReadAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Replaces a file's bytes, failing the test when they cannot all be written.
inline void WriteAll(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(bytes), bytes.size());
}

// The new notebook of the test data with `main` as Main's notes, lines apart by "\n".
inline QByteArray NotebookWith(QByteArray main)
{
    return ReadAll(QStringLiteral(QUILLBOX_TEST_DATA "/new-notebook.not"))
        .replace("------ New Note 12/06/97 ------\r\n", main.replace("\n", "\r\n"));
}

// Runs `answer` on the next modal dialog as soon as it is up; the test then waits in that
// dialog's exec. Chain a further WhenModal inside an answer for a dialog that follows it. A test
// that expects no dialog deletes the returned watch when it is done.
inline QPointer<QTimer> WhenModal(std::function<void(QWidget*)> answer)
{
    auto* pTimer = new QTimer;
    pTimer->setInterval(10);
    QObject::connect(pTimer, &QTimer::timeout, pTimer, [pTimer, answer] {
        QWidget* pModal = QApplication::activeModalWidget();
        if (!pModal || !pModal->isVisible())
            return;
        pTimer->stop();
        pTimer->deleteLater();
        answer(pModal);
    });
    pTimer->start();
    return pTimer;
}

// Fails the test when any dialog comes up before the watch is deleted, and closes it.
inline QPointer<QTimer> FailOnAnyPrompt()
{
    return WhenModal([](QWidget* pDialog) {
        const QString name = pDialog->objectName();
        qobject_cast<QDialog*>(pDialog)->reject();
        QFAIL(qPrintable(QStringLiteral("a dialog came up: ") + name));
    });
}

// The dialog as a T; any other dialog is closed and fails the test, and null comes back.
template <class T>
T* ExpectDialog(QWidget* pDialog)
{
    auto* pExpected = qobject_cast<T*>(pDialog);
    if (!pExpected) {
        const QString name = pDialog->objectName();
        qobject_cast<QDialog*>(pDialog)->reject();
        QTest::qFail(qPrintable(QStringLiteral("another dialog came up: ") + name), __FILE__, __LINE__);
    }
    return pExpected;
}

// Answers the next modal dialog, which must be a message box, with `button`; returns where
// its text will be put ("<objectName>" of any other dialog, which is cancelled instead).
inline std::shared_ptr<QString> AnswerMessageBox(QMessageBox::StandardButton button)
{
    auto pSeen = std::make_shared<QString>();
    WhenModal([pSeen, button](QWidget* pDialog) {
        if (auto* pBox = qobject_cast<QMessageBox*>(pDialog)) {
            *pSeen = pBox->windowTitle() + u':' + pBox->text();
            pBox->button(button)->click();
        } else {
            *pSeen = u'<' + pDialog->objectName() + u'>';
            qobject_cast<QDialog*>(pDialog)->reject();
        }
    });
    return pSeen;
}

// Saves a picture of a dialog under the build directory as dialogs/NAME.png, to look at.
inline void GrabAs(QWidget* pDialog, const QString& name)
{
    QDir(QStringLiteral(QUILLBOX_BUILD_DIR)).mkpath(QStringLiteral("dialogs"));
    pDialog->grab().save(QStringLiteral(QUILLBOX_BUILD_DIR "/dialogs/") + name + QStringLiteral(".png"));
}

template <class T>
T* Find(const QObject* pParent, const char* objectName)
{
    return pParent->findChild<T*>(QString::fromLatin1(objectName));
}

// Names a file in a shown file chooser as the user types it: QFileDialog::selectFile leaves
// the name field alone once that has the focus.
inline void TypeFileName(QFileDialog* pChooser, const QString& path)
{
    auto* pName = Find<QLineEdit>(pChooser, "fileNameEdit");
    QVERIFY(pName);
    pName->setText(path);
}

inline void Click(const QWidget* pParent, const char* buttonName)
{
    auto* pButton = Find<QPushButton>(pParent, buttonName);
    QVERIFY2(pButton, buttonName);
    QTest::mouseClick(pButton, Qt::LeftButton);
}

// Selects the line of a dialog's list box that reads `text`, as a click would.
inline void ChooseLine(const QWidget* pDialog, const char* listName, const QString& text)
{
    auto* pList = Find<QListWidget>(pDialog, listName);
    QVERIFY2(pList, listName);
    const QList<QListWidgetItem*> found = pList->findItems(text, Qt::MatchExactly);
    QVERIFY2(found.size() == 1, qPrintable(text));
    pList->setCurrentItem(found.first());
}

// Puts the caret in the editor by a click on a folder, as a user starts writing.
inline void ClickFolder(QTreeWidget* pTree, const QString& name)
{
    const QList<QTreeWidgetItem*> found = pTree->findItems(name, Qt::MatchExactly | Qt::MatchRecursive);
    QCOMPARE(found.size(), 1);
    QTest::mouseClick(pTree->viewport(), Qt::LeftButton, {}, pTree->visualItemRect(found.first()).center());
}

// The folder tree as "Main[Ideas],Trash": names in the order shown, children in brackets.
inline QString TreeDump(const QTreeWidgetItem* pParent)
{
    QStringList parts;
    for (int i = 0; i < pParent->childCount(); ++i) {
        const QTreeWidgetItem* pItem = pParent->child(i);
        parts << pItem->text(0) + (pItem->childCount() ? QStringLiteral("[%1]").arg(TreeDump(pItem)) : QString());
    }
    return parts.join(u',');
}

// The header line a new note gets today with the default preferences.
inline QString TodaysHeader()
{
    return QStringLiteral("------ New Note %1 ------").arg(QDate::currentDate().toString(QStringLiteral("MM/dd/yy")));
}

// Menu item texts, separators as "-", joined by "|".
inline QString MenuTexts(const QMenu* pMenu)
{
    QStringList texts;
    for (const QAction* pAction : pMenu->actions()) {
        if (pAction->isVisible())
            texts << (pAction->isSeparator() ? QStringLiteral("-") : pAction->text());
    }
    return texts.join(u'|');
}

inline QMenu* MenuOf(const CMainFrame& frame, const QString& title)
{
    for (QAction* pAction : frame.menuBar()->actions()) {
        if (pAction->text() == title)
            return pAction->menu();
    }
    return nullptr;
}

// The action of a menu item by its text without the shortcut.
inline QAction* MenuAction(const CMainFrame& frame, const QString& menuTitle, const QString& itemText)
{
    QMenu* pMenu = MenuOf(frame, menuTitle);
    if (!pMenu)
        return nullptr;
    for (QAction* pAction : pMenu->actions()) {
        if (pAction->text().section(u'\t', 0, 0) == itemText)
            return pAction;
    }
    return nullptr;
}

// The main frame on screen and active, with one new notebook in it.
struct AppWindow
{
    explicit AppWindow(SettingsStore& settings)
        : frame(settings)
    {
        frame.show();
        frame.activateWindow();
        if (!QTest::qWaitForWindowActive(&frame))
            qWarning("the main frame did not become active");
    }

    CChildFrame* NewNotebook()
    {
        CChildFrame* pChild = frame.NewNotebook();
        QCoreApplication::processEvents();
        return pChild;
    }

    QPlainTextEdit* Editor() const { return Find<QPlainTextEdit>(frame.ActiveChild(), "noteEditor"); }
    QTreeWidget* Tree() const { return Find<QTreeWidget>(frame.ActiveChild(), "folderTree"); }
    QString KeysText() const { return Find<QLabel>(&frame, "keysText")->text(); }

    CMainFrame frame;
};

// Opens the notebook at `path` and types `typed` at the end of the line below its first, from
// the editor, as the user would; null when it did not open.
inline CChildFrame* OpenAndType(AppWindow& app, const QString& path, const QString& typed)
{
    CChildFrame* pChild = app.frame.OpenNotebook(path);
    if (!pChild)
        return nullptr;
    pChild->ActivatePane(CChildFrame::Pane::Editor);
    QTest::keyClick(app.Editor(), Qt::Key_Home, Qt::ControlModifier);
    QTest::keyClick(app.Editor(), Qt::Key_Down);
    QTest::keyClick(app.Editor(), Qt::Key_End);
    QTest::keyClicks(app.Editor(), typed);
    return pChild;
}
