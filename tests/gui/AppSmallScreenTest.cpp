// Every window the program opens fits a small screen in every language it ships (English, German
// and the pseudo-translations): CTest runs this on a screen of 1280 by 900 pixels at a scale of 2,
// 640 by 450. A window's least size and the size it opens at are within the screen, every control
// is inside it and no text is cut short. The pictures are kept as dialogs/fit-LANGUAGE-NAME.png.
#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QGroupBox>
#include <QMainWindow>
#include <QScreen>
#include <QTemporaryDir>
#include <QtTest>

#include "AppTestSupport.h"
#include "app/CRunTutorialDlg.h"
#include "history/CHistoryDlg.h"
#include "platform/CommandIds.h"
#include "platform/SettingsStore.h"
#include "qt/HistoryDialog.h"
#include "qt/QtPrompts.h"
#include "qt/RecoveryDialog.h"
#include "qt/TextCodec.h"
#include "qt/Translations.h"
#include "support/NotebookSketch.h"

namespace {

constexpr QSize kScreen(640, 450);

const QStringList kLanguages { QStringLiteral("en"), QStringLiteral("de"), QStringLiteral("en_XA"), QStringLiteral("ar_XB") };

// Whether the widget lies in the scrolled part of a list, a browser or any other scroll area.
bool IsScrolled(const QWidget* pWidget, const QWidget* pWindow)
{
    for (const QWidget* p = pWidget->parentWidget(); p && p != pWindow; p = p->parentWidget()) {
        const auto* pArea = qobject_cast<const QAbstractScrollArea*>(p->parentWidget());
        if (pArea && pArea->viewport() == p)
            return true;
    }
    return false;
}

// What of a window does not fit: its least size, the size it opened at (unless the window
// manager sizes it, as the main window), a control outside it or a text cut short.
QStringList FitFaults(QWidget* pWindow, bool bOpenedSize)
{
    QStringList faults;
    const QString name = pWindow->objectName();
    // A message box makes its size fixed, whatever its layout would take.
    const bool bFixed = pWindow->minimumSize() == pWindow->maximumSize();
    const QSize least = bFixed ? pWindow->minimumSize() : pWindow->minimumSizeHint().expandedTo(pWindow->minimumSize());
    if (least.width() > kScreen.width() || least.height() > kScreen.height())
        faults << QStringLiteral("%1 needs at least %2x%3").arg(name).arg(least.width()).arg(least.height());
    const QRect screen = pWindow->screen()->availableGeometry();
    const QRect frame = pWindow->frameGeometry();
    if (bOpenedSize && !screen.contains(frame))
        faults << QStringLiteral("%1 opens at %2x%3+%4+%5").arg(name).arg(frame.width()).arg(frame.height()).arg(frame.x()).arg(frame.y());
    for (QWidget* pWidget : pWindow->findChildren<QWidget*>()) {
        if (pWidget->isWindow() || !pWidget->isVisibleTo(pWindow) || IsScrolled(pWidget, pWindow))
            continue;
        const QString where = QStringLiteral("%1/%2").arg(name, pWidget->objectName());
        if (!pWindow->rect().contains(QRect(pWidget->mapTo(pWindow, QPoint()), pWidget->size())))
            faults << QStringLiteral("%1 is outside the window").arg(where);
        QString cut;
        if (auto* pLabel = qobject_cast<QLabel*>(pWidget); pLabel && !pLabel->text().isEmpty()) {
            // The longest line, or the longest word of a label that wraps, and all of its lines.
            if (pLabel->minimumSizeHint().width() > pLabel->width()
                || (pLabel->wordWrap() && pLabel->heightForWidth(pLabel->width()) > pLabel->height()))
                cut = pLabel->text();
        } else if (auto* pButton = qobject_cast<QAbstractButton*>(pWidget); pButton && !pButton->text().isEmpty()) {
            if (pButton->sizeHint().width() > pButton->width())
                cut = pButton->text();
        } else if (auto* pGroup = qobject_cast<QGroupBox*>(pWidget)) {
            if (pGroup->minimumSizeHint().width() > pGroup->width())
                cut = pGroup->title();
        }
        if (!cut.isEmpty())
            faults << QStringLiteral("%1 cuts \"%2\" short").arg(where, cut);
    }
    return faults;
}

// Opens one window, or a few alike, and hands each to `look` while it is up.
using Look = std::function<void(QWidget*)>;
using Opener = std::function<void(AppWindow&, const Look&)>;

// The modal dialog a command shows, cancelled once looked at.
Opener ByCommand(int id)
{
    return [id](AppWindow& app, const Look& look) {
        bool bShown = false;
        QPointer<QTimer> watch = WhenModal([&](QWidget* pDialog) {
            bShown = true;
            look(pDialog);
            qobject_cast<QDialog*>(pDialog)->reject();
        });
        app.frame.OnCommand(id);
        QCoreApplication::processEvents();
        if (bShown)
            return;
        // A window of its own beside the notebook.
        delete watch;
        for (QWidget* pWindow : QApplication::topLevelWidgets()) {
            if (pWindow != &app.frame && pWindow->isVisible() && (qobject_cast<QDialog*>(pWindow) || qobject_cast<QMainWindow*>(pWindow))) {
                bShown = true;
                look(pWindow);
                pWindow->close();
            }
        }
        QVERIFY2(bShown, qPrintable(QStringLiteral("no window for command %1").arg(id)));
    };
}

// A window made by the test, as the program makes it, shown.
template <class Make>
Opener Made(Make make)
{
    return [make](AppWindow& app, const Look& look) {
        std::unique_ptr<QWidget> pWindow(make(&app.frame));
        pWindow->show();
        QVERIFY(QTest::qWaitForWindowExposed(pWindow.get()));
        look(pWindow.get());
    };
}

// The message boxes of the prompts: every question and message, each with a long file name.
void EveryMessageBox(AppWindow& app, const Look& look)
{
    TextCodec codec;
    QtPrompts prompts(&app.frame, codec);
    const std::string path = "/home/someone/Documents/Notebooks/the notebook of the whole family.not";
    const KeptWork work { path, 1700000000000, 1690000000000 };
    std::vector<std::function<void()>> asks = {
        [&] { prompts.AskSaveOver(path, false); },
        [&] { prompts.AskSaveOver(path, true); },
        [&] { prompts.AskSaveChanges(path); },
        [&] { prompts.ConfirmDiscard(work); },
        [&] { prompts.AskUseSaveCopy(path, "/home/someone/Documents/Notebooks/.the notebook.not.quillbox-save"); },
        [&] { prompts.ReportProblem(FileProblem { FileProblem::Action::Save, FileProblem::Kind::ReadOnly, path }); },
    };
    for (int kind = 0; kind <= int(Question::Kind::TrashConflictCopies); ++kind)
        asks.push_back([&, kind] { prompts.Ask({ Question::Kind(kind), path }); });
    for (int kind = 0; kind <= int(Message::Kind::Vanished); ++kind)
        asks.push_back([&, kind] { prompts.Tell({ Message::Kind(kind), "on host, process 7, user someone", path }); });
    for (size_t i = 0; i < asks.size(); ++i) {
        bool bAsked = false;
        WhenModal([&](QWidget* pBox) {
            bAsked = true;
            pBox->setObjectName(QStringLiteral("%1-%2").arg(pBox->objectName()).arg(i));
            look(pBox);
            qobject_cast<QDialog*>(pBox)->reject();
        });
        asks[i]();
        QVERIFY(bAsked);
    }
}

// Save's question about another program's change, the merge's list, and the questions about
// a file-sync tool's conflict copies.
void MergeWindows(AppWindow& app, const Look& look)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("a.not"));
    WriteAll(path, NotebookWith("------ one ------\nfirst\n"));
    CChildFrame* pChild = OpenAndType(app, path, QStringLiteral(" mine"));
    QVERIFY(pChild);
    WriteAll(path, NotebookWith("------ one ------\nfirst theirs\n"));
    bool bAsked = false;
    WhenModal([&](QWidget* pQuestion) {
        bAsked = true;
        look(pQuestion);
        Click(pQuestion, "mergeButton");
    });
    app.frame.OnCommand(cmd::FileSave);
    QVERIFY(bAsked);
    QDialog* pList = nullptr;
    QTRY_VERIFY((pList = app.frame.ActiveChild()->findChild<QDialog*>(QStringLiteral("mergeEventsDialog"))) && pList->isVisible());
    look(pList);
    pList->close();

    const QString other = dir.filePath(QStringLiteral("b.not"));
    WriteAll(other, NotebookWith("------ desk ------\nfrom the desktop\n"));
    WriteAll(dir.filePath(QStringLiteral("b.sync-conflict-20240102-030405-LAPTOP.not")), NotebookWith("------ lap ------\nfrom the laptop\n"));
    int asked = 0;
    WhenModal([&](QWidget* pFirst) {
        ++asked;
        look(pFirst);
        WhenModal([&](QWidget* pSecond) {
            ++asked;
            pSecond->setObjectName(QStringLiteral("trashCopiesQuestion"));
            look(pSecond);
            qobject_cast<QMessageBox*>(pSecond)->button(QMessageBox::No)->click();
        });
        qobject_cast<QMessageBox*>(pFirst)->button(QMessageBox::Yes)->click();
    });
    QVERIFY(app.frame.OpenNotebook(other));
    QCOMPARE(asked, 2);
    for (QDialog* pDialog : app.frame.findChildren<QDialog*>(QStringLiteral("mergeEventsDialog"))) {
        if (pDialog->isVisible()) {
            pDialog->setObjectName(QStringLiteral("copiesMergeEventsDialog"));
            look(pDialog);
        }
    }
}

struct Window
{
    const char* tag;
    Opener open;
};

const std::vector<Window>& Windows()
{
    static const std::vector<Window> windows = {
        { "main window", [](AppWindow& app, const Look& look) { look(&app.frame); } },
        { "open", ByCommand(cmd::FileOpen) },
        { "save as", ByCommand(cmd::FileSaveAs) },
        { "print setup", ByCommand(cmd::PrintSetup) },
        { "print folder", ByCommand(cmd::PrintFolder) },
        { "about", ByCommand(cmd::About) },
        { "find", ByCommand(cmd::EditFind) },
        { "find in notebook", ByCommand(cmd::FindInNotebook) },
        { "move/copy note", ByCommand(cmd::MoveCopyNote) },
        { "new folder", ByCommand(cmd::NewFolder) },
        { "rename folder", ByCommand(cmd::RenameFolder) },
        { "delete folder", ByCommand(cmd::DeleteFolder) },
        { "export folder", ByCommand(cmd::ExportFolder) },
        { "import folder", ByCommand(cmd::ImportFolder) },
        { "assign keys", ByCommand(cmd::AssignKeys) },
        { "note header", ByCommand(cmd::NoteHeaderPrefs) },
        { "delete folder preferences", ByCommand(cmd::DeleteFolderPrefs) },
        { "history size", ByCommand(cmd::HistoryPrefs) },
        { "help", ByCommand(cmd::HelpTopics) },
        { "close unsaved", ByCommand(cmd::FileClose) },
        { "tutorial offer", Made([](QWidget* pParent) { return new CRunTutorialDlg(pParent); }) },
        { "recovery", Made([](QWidget* pParent) {
              return new RecoveryDialog({ KeptWork { "/home/someone/Documents/the notebook of the whole family.not", 1700000000000,
                                                     1690000000000 },
                                          KeptWork { "", 1700000000000, {} },
                                          KeptWork { "/tmp/gone.not", 1700000000000, {} } },
                                        pParent);
          }) },
        { "history", Made([](QWidget* pParent) {
              // A version that changed a folder of a long path, which holds one note.
              static CHistoryDlg dlg(
                  [](const std::string&) {
                      VersionChange change { { 1, 1700000000000, "the-family-laptop", HistoryKind::Saved } };
                      change.notesAdded = 1;
                      change.foldersChanged = { "Main/The ideas of the whole family" };
                      return std::vector<VersionChange> { change };
                  },
                  [](int64_t) { return std::optional<NotebookSnapshot>(ToSnapshot(ParseSketch("Main<a:1>,Trash{F3 Move}"))); },
                  "Main", NotebookSnapshot());
              return new HistoryDialog(dlg, pParent);
          }) },
        { "messages", EveryMessageBox },
        { "merge", MergeWindows },
    };
    return windows;
}

} // namespace

class AppSmallScreenTest : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { InstallTranslations({ QStringLiteral("en") }); }
    void everyWindowFitsInEveryLanguage_data();
    void everyWindowFitsInEveryLanguage();
};

void AppSmallScreenTest::everyWindowFitsInEveryLanguage_data()
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<int>("window");
    for (const QString& language : kLanguages) {
        for (size_t i = 0; i < Windows().size(); ++i)
            QTest::addRow("%s, %s", qPrintable(language), Windows()[i].tag) << language << static_cast<int>(i);
    }
}

void AppSmallScreenTest::everyWindowFitsInEveryLanguage()
{
    QFETCH(QString, language);
    QFETCH(int, window);
    InstallTranslations({ language });
    QCOMPARE(InstalledLanguage(), language);
    MemorySettings settings;
    AppWindow app(settings);
    QCOMPARE(app.frame.screen()->availableGeometry().size(), kScreen);
    // A notebook with a folder of a long name, a note in it and the editor at work on it.
    CChildFrame* pChild = app.NewNotebook();
    pChild->GetDocument().AddFolder(false, "The ideas of the whole family", "", true, "F4", "Move");
    QCoreApplication::processEvents();
    pChild->ActivatePane(CChildFrame::Pane::Editor);
    QTest::keyClicks(app.Editor(), QStringLiteral("A note"));

    QStringList faults;
    int looked = 0;
    Windows()[static_cast<size_t>(window)].open(app, [&](QWidget* pWindow) {
        ++looked;
        faults << FitFaults(pWindow, pWindow != &app.frame);
        GrabAs(pWindow, QStringLiteral("fit-%1-%2").arg(language, pWindow->objectName()));
    });
    QVERIFY(looked > 0);
    QVERIFY2(faults.isEmpty(), qPrintable(faults.join(u'\n')));
}

QTEST_MAIN(AppSmallScreenTest)
#include "AppSmallScreenTest.moc"
