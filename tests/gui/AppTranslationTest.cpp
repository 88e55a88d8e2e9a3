// The window in other languages: the user's languages choose the catalogue; under the
// pseudo-translation every text of the menus, dialogs and messages, the merge's too, comes from
// it and fits its widget; a right-to-left language mirrors the window; no language changes a
// saved notebook or what a merge writes into one; and the window and quillbox-cli word the file
// problems, messages and merges alike.

#include <QAbstractButton>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QtTest>

#include <cerrno>
#include <clocale>

#include "AppTestSupport.h"
#include "CliWords.h"
#include "app/CRunTutorialDlg.h"
#include "platform/CommandIds.h"
#include "platform/SettingsStore.h"
#include "qt/CommandText.h"
#include "qt/HelpWindow.h"
#include "qt/QtPrompts.h"
#include "qt/RecoveryDialog.h"
#include "qt/TextCodec.h"
#include "qt/Translations.h"
#include "words/MergeWords.h"
#include "words/MessageWords.h"
#include "words/ProblemWords.h"

namespace {

// A text the pseudo-translation made: "[Ŝàvé ~~]", around whatever data it holds, right-to-left
// marks aside. A window title's "[*]" is Qt's placeholder for the modified mark.
bool IsPseudo(QString text)
{
    text.remove(QChar(0x200F)).remove(QStringLiteral("[*]"));
    text = text.trimmed();
    return text.isEmpty() || (text.startsWith(u'[') && text.endsWith(u']'));
}

// What the widget and its children show, and their names for screen readers, that did not come
// from the pseudo-translation or does not fit in its widget. Qt's own standard buttons have Qt's
// catalogues, and the notes, folder names and edited text are the user's.
QStringList Faults(QWidget* pTop)
{
    QStringList faults;
    const auto check = [&faults](const QString& text, const QObject* pWhere) {
        if (!IsPseudo(text))
            faults << QStringLiteral("untranslated in %1: %2").arg(pWhere->objectName(), text);
    };
    check(pTop->windowTitle(), pTop);
    QList<QWidget*> widgets = pTop->findChildren<QWidget*>();
    widgets.prepend(pTop);
    for (QWidget* pWidget : widgets) {
        if (!pWidget->isVisibleTo(pTop))
            continue;
        // What a screen reader says of it.
        check(pWidget->accessibleName(), pWidget);
        if (auto* pLabel = qobject_cast<QLabel*>(pWidget)) {
            if (pLabel->objectName() == QLatin1String("keysText") || pLabel->text().isEmpty())
                continue;
            check(pLabel->text(), pLabel);
            if (!pLabel->wordWrap()) {
                for (QString line : pLabel->text().split(u'\n')) {
                    // A mnemonic's '&' is not drawn.
                    if (pLabel->buddy())
                        line.replace(QRegularExpression(QStringLiteral("&(.)")), QStringLiteral("\\1"));
                    if (pLabel->fontMetrics().horizontalAdvance(line) > pLabel->contentsRect().width())
                        faults << QStringLiteral("clipped %1: %2").arg(pLabel->objectName(), line);
                }
            }
        } else if (auto* pButton = qobject_cast<QAbstractButton*>(pWidget)) {
            auto* pBox = qobject_cast<QDialogButtonBox*>(pButton->parentWidget());
            auto* pMessageBox = qobject_cast<QMessageBox*>(pTop);
            const bool bQtButton = (pBox && pBox->standardButton(pButton) != QDialogButtonBox::NoButton)
                || (pMessageBox && pMessageBox->standardButton(pButton) != QMessageBox::NoButton);
            if (pButton->text().isEmpty() || bQtButton)
                continue;
            check(pButton->text(), pButton);
            if (pButton->sizeHint().width() > pButton->width())
                faults << QStringLiteral("clipped %1: %2").arg(pButton->objectName(), pButton->text());
        } else if (auto* pGroup = qobject_cast<QGroupBox*>(pWidget)) {
            check(pGroup->title(), pGroup);
        } else if (auto* pTree = qobject_cast<QTreeWidget*>(pWidget)) {
            if (!pTree->isHeaderHidden()) {
                for (int column = 0; column < pTree->columnCount(); ++column)
                    check(pTree->headerItem()->text(column), pTree);
            }
        }
    }
    return faults;
}

// Every menu's title and items, with each item's status prompt and tooltip.
QStringList MenuFaults(const CMainFrame& frame)
{
    QStringList faults;
    for (const QAction* pMenuAction : frame.menuBar()->actions()) {
        if (!IsPseudo(pMenuAction->text()))
            faults << QStringLiteral("untranslated menu: %1").arg(pMenuAction->text());
        for (const QAction* pAction : pMenuAction->menu()->actions()) {
            if (pAction->isSeparator() || !pAction->isVisible())
                continue;
            for (const QString& text : { pAction->text().section(u'\t', 0, 0), pAction->statusTip(), pAction->toolTip() }) {
                if (!IsPseudo(text))
                    faults << QStringLiteral("untranslated in the menu %1: %2").arg(pMenuAction->text(), text);
            }
        }
    }
    return faults;
}

// The bytes of a notebook with a note and a folder made by keys, saved, in the language given.
QByteArray SavedBytes(const QString& language, const QString& path)
{
    InstallTranslations({ language });
    MemorySettings settings;
    AppWindow app(settings);
    CChildFrame* pChild = app.NewNotebook();
    if (!QTest::qWaitFor([&app] { return QApplication::focusWidget() == app.Tree(); }))
        return {};
    WhenModal([](QWidget* pDialog) {
        Find<QLineEdit>(pDialog, "inputText")->setText(QStringLiteral("Ideas"));
        Click(pDialog, "okButton");
    });
    QTest::keyClick(app.Tree(), Qt::Key_W, Qt::ControlModifier);
    QTest::keyClicks(app.Editor(), QStringLiteral("first words"));
    QTest::keyClick(app.Editor(), Qt::Key_Return, Qt::ShiftModifier);
    QTest::keyClicks(app.Editor(), QStringLiteral("second words"));
    if (!pChild->GetDocument().OnSaveDocument(path.toStdString()).ok)
        return {};
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Every sentence of src/words: each file problem in each action, each message and question.
QStringList EverySentence()
{
    QStringList sentences;
    FileProblem problem;
    problem.path = "/tmp/a.not";
    problem.line = 3;
    problem.error = EACCES;
    problem.detail = "End Folder";
    for (int action = 0; action <= int(FileProblem::Action::WriteRecovery); ++action) {
        for (int kind = 0; kind <= int(FileProblem::Kind::MissingFolder); ++kind) {
            for (const bool bNothingRead : { false, true }) {
                problem.action = FileProblem::Action(action);
                problem.kind = FileProblem::Kind(kind);
                problem.bNothingRead = bNothingRead;
                sentences << QString::fromStdString(DescribeProblem(problem));
            }
        }
    }
    for (int kind = 0; kind <= int(Message::Kind::Vanished); ++kind) {
        for (const char* detail : { "", "on host, process 7, user me" })
            sentences << QString::fromStdString(DescribeMessage({ Message::Kind(kind), detail, "a.not" }, "a.not"));
    }
    for (int kind = 0; kind <= int(Question::Kind::TrashConflictCopies); ++kind)
        sentences << QString::fromStdString(DescribeQuestion({ Question::Kind(kind), "a.not" }, "a.not"));
    for (const bool bVanished : { false, true })
        sentences << QString::fromStdString(DescribeSaveOver(bVanished, "a.not"));
    for (const char* path : { "", "a.not" })
        sentences << QString::fromStdString(DescribeSaveChanges(path));
    for (int kind = 0; kind <= int(MergeEvent::Kind::SettingKept); ++kind) {
        for (const char* detail : { "", "Ideas" }) {
            MergeEvent event;
            event.kind = MergeEvent::Kind(kind);
            event.detail = detail;
            sentences << QString::fromStdString(DescribeMergeEvent(event, ShownLabels(kWindowMergeLabels)));
        }
    }
    return sentences;
}

// The letters after '&' that repeat among `texts`: each item of a menu needs its own.
QStringList RepeatedMnemonics(const QStringList& texts)
{
    QStringList seen;
    QStringList repeated;
    for (const QString& text : texts) {
        const qsizetype at = text.indexOf(QRegularExpression(QStringLiteral("&[^&]")));
        if (at < 0)
            continue;
        const QString letter = text.mid(at + 1, 1).toLower();
        if (seen.contains(letter))
            repeated << text;
        seen << letter;
    }
    return repeated;
}

} // namespace

class AppTranslationTest : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { InstallTranslations({ QStringLiteral("en") }); }
    void theUsersLanguageChoosesTheCatalogue();
    void eachMenuItemHasAMnemonicOfItsOwnInGerman();
    void everyTextComesFromTheCatalogueAndFits();
    void aRightToLeftLanguageMirrorsTheWindow();
    void theHelpPagesComeInTheWindowsLanguage();
    void theMergesQuestionsAndListComeFromTheCatalogueAndFit();
    void noLanguageChangesTheSavedBytes();
    void theWindowAndQuillboxCliSayTheWordsAlike();
};

void AppTranslationTest::theUsersLanguageChoosesTheCatalogue()
{
    const struct
    {
        QStringList languages;
        QString chosen;
    } cases[] = {
        { { QStringLiteral("de-DE") }, QStringLiteral("de") },
        { { QStringLiteral("de_AT"), QStringLiteral("en") }, QStringLiteral("de") },
        { { QStringLiteral("en-US"), QStringLiteral("de") }, QStringLiteral("en") },
        { { QStringLiteral("xx"), QStringLiteral("de") }, QStringLiteral("de") },
        { { QStringLiteral("xx-YY") }, QStringLiteral("en") },
        { {}, QStringLiteral("en") },
    };
    for (const auto& c : cases) {
        InstallTranslations(c.languages);
        QCOMPARE(InstalledLanguage(), c.chosen);
    }
    InstallTranslations({ QStringLiteral("de") });
    // The menus name the keys as Qt's own German catalogue does.
    QCOMPARE(CommandMenuText(cmd::FileSave, true), QStringLiteral("S&peichern\tStrg+S"));
    // The words of src/words follow the window's catalogue.
    QCOMPARE(QString::fromStdString(DescribeSaveChanges("a.not")), QStringLiteral("Änderungen an a.not speichern?"));
}

void AppTranslationTest::eachMenuItemHasAMnemonicOfItsOwnInGerman()
{
    InstallTranslations({ QStringLiteral("de") });
    MemorySettings settings;
    AppWindow app(settings);
    app.NewNotebook();
    QStringList titles;
    for (const QAction* pMenuAction : app.frame.menuBar()->actions()) {
        titles << pMenuAction->text();
        QStringList items;
        for (const QAction* pAction : pMenuAction->menu()->actions())
            items << pAction->text();
        QVERIFY2(RepeatedMnemonics(items).isEmpty(), qPrintable(RepeatedMnemonics(items).join(u',')));
    }
    QVERIFY2(RepeatedMnemonics(titles).isEmpty(), qPrintable(RepeatedMnemonics(titles).join(u',')));
}

void AppTranslationTest::everyTextComesFromTheCatalogueAndFits()
{
    InstallTranslations({ QStringLiteral("en_XA") });
    QCOMPARE(InstalledLanguage(), QStringLiteral("en_XA"));
    MemorySettings settings;
    AppWindow app(settings);
    app.NewNotebook();
    QTRY_COMPARE(QApplication::focusWidget(), app.Tree());
    QStringList faults = Faults(&app.frame) + MenuFaults(app.frame);
    GrabAs(&app.frame, QStringLiteral("pseudo-main"));

    // Each dialog a command opens, checked while it is up and then cancelled.
    const int commands[] = { cmd::NewFolder,         cmd::AssignKeys, cmd::NoteHeaderPrefs, cmd::DeleteFolderPrefs,
                             cmd::HistoryPrefs,      cmd::About,      cmd::FindInNotebook };
    for (const int id : commands) {
        bool bShown = false;
        WhenModal([&faults, &bShown, id](QWidget* pDialog) {
            bShown = true;
            faults << Faults(pDialog);
            GrabAs(pDialog, QStringLiteral("pseudo-%1").arg(pDialog->objectName()));
            qobject_cast<QDialog*>(pDialog)->reject();
        });
        app.frame.OnCommand(id);
        QVERIFY2(bShown, qPrintable(QStringLiteral("no dialog for command %1").arg(id)));
    }
    // A message: Import Folder with the Trash selected.
    QTest::keyClick(app.Tree(), Qt::Key_Down);
    QCOMPARE(app.Tree()->currentItem()->text(0), QStringLiteral("Trash"));
    bool bTold = false;
    WhenModal([&faults, &bTold](QWidget* pMessage) {
        bTold = true;
        faults << Faults(pMessage);
        GrabAs(pMessage, QStringLiteral("pseudo-message"));
        qobject_cast<QDialog*>(pMessage)->reject();
    });
    app.frame.OnCommand(cmd::ImportFolder);
    QVERIFY(bTold);

    // The windows that stay open beside the notebook.
    // The folder tree's menu, by a right click.
    QStringList popup;
    QTimer::singleShot(0, [&popup] {
        if (!QTest::qWaitFor([] { return QApplication::activePopupWidget() != nullptr; }))
            return;
        for (const QAction* pAction : QApplication::activePopupWidget()->actions())
            popup << pAction->text().section(u'\t', 0, 0);
        QApplication::activePopupWidget()->close();
    });
    const QRect trash = app.Tree()->visualItemRect(app.Tree()->currentItem());
    QTest::mouseClick(app.Tree()->viewport(), Qt::RightButton, {}, trash.center());
    QVERIFY(!popup.isEmpty());
    for (const QString& text : popup) {
        if (!IsPseudo(text))
            faults << QStringLiteral("untranslated in the folder menu: %1").arg(text);
    }

    // Move/Copy Note's folder list, on a note typed in the editor.
    QTest::keyClick(app.Tree(), Qt::Key_F6);
    QTest::keyClicks(app.Editor(), QStringLiteral("words"));
    bool bChosen = false;
    WhenModal([&faults, &bChosen](QWidget* pDialog) {
        bChosen = true;
        faults << Faults(pDialog);
        GrabAs(pDialog, QStringLiteral("pseudo-%1").arg(pDialog->objectName()));
        qobject_cast<QDialog*>(pDialog)->reject();
    });
    QTest::keyClick(app.Editor(), Qt::Key_F2);
    QVERIFY(bChosen);

    // The dialogs of the program's start: the tutorial's offer and the recovery of unsaved work.
    for (QDialog* pDialog : std::initializer_list<QDialog*> {
             new CRunTutorialDlg(&app.frame), new RecoveryDialog({ KeptWork { "/tmp/a.not", 0, {} } }, &app.frame) }) {
        pDialog->show();
        QVERIFY(QTest::qWaitForWindowExposed(pDialog));
        faults << Faults(pDialog);
        GrabAs(pDialog, QStringLiteral("pseudo-%1").arg(pDialog->objectName()));
        delete pDialog;
    }

    app.frame.OnCommand(cmd::EditFind);
    app.frame.OnCommand(cmd::HelpTopics);
    for (const char* name : { "findDialog", "helpWindow" }) {
        auto* pWindow = app.frame.findChild<QWidget*>(QString::fromLatin1(name));
        QVERIFY2(pWindow && pWindow->isVisible(), name);
        faults << Faults(pWindow);
        GrabAs(pWindow, QStringLiteral("pseudo-%1").arg(QString::fromLatin1(name)));
        pWindow->close();
    }
    // The questions and messages about files, as the prompts put them.
    TextCodec codec;
    QtPrompts prompts(&app.frame, codec);
    const KeptWork work { "/tmp/a.not", 0, {} };
    const std::function<void()> asks[] = {
        [&] { prompts.AskSaveOver("/tmp/a.not", false); },
        [&] { prompts.AskSaveOver("/tmp/a.not", true); },
        [&] { prompts.ConfirmDiscard(work); },
        [&] { prompts.AskUseSaveCopy("/tmp/a.not", "/tmp/.a.not.quillbox-save"); },
        [&] { prompts.Ask({ Question::Kind::DeleteFolder, "Ideas" }); },
        [&] { prompts.Tell({ Message::Kind::OpenElsewhere, {}, "/tmp/a.not", LockOwner { "host", 7, "me" } }); },
        [&] { prompts.Tell({ Message::Kind::MayBeOpenElsewhere, {}, "/tmp/a.not", LockOwner { "host", 7, "me" } }); },
        [&] { prompts.ReportProblem(FileProblem { FileProblem::Action::Save, FileProblem::Kind::ReadOnly, "/tmp/a.not" }); },
    };
    for (const auto& ask : asks) {
        bool bAsked = false;
        WhenModal([&faults, &bAsked](QWidget* pBox) {
            bAsked = true;
            faults << Faults(pBox);
            qobject_cast<QDialog*>(pBox)->reject();
        });
        ask();
        QVERIFY(bAsked);
    }

    // Closing the modified notebook asks whether to save it.
    bool bAsked = false;
    WhenModal([&faults, &bAsked](QWidget* pQuestion) {
        bAsked = true;
        faults << Faults(pQuestion);
        GrabAs(pQuestion, QStringLiteral("pseudo-%1").arg(pQuestion->objectName()));
        qobject_cast<QMessageBox*>(pQuestion)->button(QMessageBox::Cancel)->click();
    });
    app.frame.OnCommand(cmd::FileClose);
    QVERIFY(bAsked);
    QVERIFY2(faults.isEmpty(), qPrintable(faults.join(u'\n')));
}

void AppTranslationTest::aRightToLeftLanguageMirrorsTheWindow()
{
    InstallTranslations({ QStringLiteral("ar_XB") });
    QCOMPARE(QGuiApplication::layoutDirection(), Qt::RightToLeft);
    MemorySettings settings;
    AppWindow app(settings);
    app.NewNotebook();
    QTRY_COMPARE(QApplication::focusWidget(), app.Tree());
    QCOMPARE(app.frame.layoutDirection(), Qt::RightToLeft);
    // Mirrored: the folder tree, on the right of the notes from left to right, stands on their left.
    QVERIFY(app.Tree()->mapTo(&app.frame, QPoint()).x() < app.Editor()->mapTo(&app.frame, QPoint()).x());
    GrabAs(&app.frame, QStringLiteral("rtl-main"));
    InstallTranslations({ QStringLiteral("en") });
    QCOMPARE(QGuiApplication::layoutDirection(), Qt::LeftToRight);
}

void AppTranslationTest::theHelpPagesComeInTheWindowsLanguage()
{
    const struct
    {
        const char* language;
        int command;
        const char* page;
        const char* words;
    } cases[] = {
        { "de", cmd::HelpTopics, "de/index.html", "Die Tasten im Überblick" },
        { "de_AT", cmd::Tutorial, "de/tutorial.html", "Einführung: Ihr erstes Notizbuch" },
        { "en", cmd::HelpTopics, "index.html", "Keyboard summary" },
        // A language without pages of its own has the English.
        { "en_XA", cmd::Tutorial, "tutorial.html", "Tutorial: your first notebook" },
    };
    const QString folder = HelpWindow::PagesFolder();
    QVERIFY(!folder.isEmpty());
    for (const auto& c : cases) {
        InstallTranslations({ QString::fromLatin1(c.language) });
        MemorySettings settings;
        AppWindow app(settings);
        app.NewNotebook();
        app.frame.OnCommand(c.command);
        HelpWindow& help = app.frame.GetHelp();
        QVERIFY(help.isVisible());
        QCOMPARE(help.GetBrowser().source().toLocalFile(), folder + u'/' + QString::fromLatin1(c.page));
        QVERIFY2(help.GetBrowser().toPlainText().contains(QString::fromUtf8(c.words)), c.language);
        help.close();
    }
    // Every English page is in German too, and every page a German one links to is there.
    const QDir english(folder);
    const QDir german(folder + QStringLiteral("/de"));
    const QStringList pages = english.entryList({ QStringLiteral("*.html") });
    QCOMPARE(german.entryList({ QStringLiteral("*.html") }), pages);
    const QRegularExpression link(QStringLiteral("href=\"([^\"#:]+)"));
    for (const QString& page : pages) {
        const QString html = QString::fromUtf8(ReadAll(german.filePath(page)));
        for (const QRegularExpressionMatch& match : link.globalMatch(html))
            QVERIFY2(QFileInfo::exists(german.filePath(match.captured(1))), qPrintable(page + u' ' + match.captured(1)));
    }
}

void AppTranslationTest::theMergesQuestionsAndListComeFromTheCatalogueAndFit()
{
    // In German too, for a look at it and at what the merge writes into the notebook.
    for (const QString& language : { QStringLiteral("en_XA"), QStringLiteral("de") }) {
        InstallTranslations({ language });
        const bool bPseudo = language == QStringLiteral("en_XA");
        QStringList faults;
        const auto look = [&faults, bPseudo, language](QWidget* pDialog, const char* name) {
            if (bPseudo)
                faults << Faults(pDialog);
            GrabAs(pDialog, QStringLiteral("%1-%2").arg(language, QLatin1String(name)));
        };
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("a.not"));
        WriteAll(path, NotebookWith("------ one ------\nfirst\n"));
        MemorySettings settings;
        AppWindow app(settings);
        CChildFrame* pChild = OpenAndType(app, path, QStringLiteral(" mine"));
        QVERIFY(pChild);
        WriteAll(path, NotebookWith("------ one ------\nfirst theirs\n"));

        // Save's question offers Merge; the merge lists the note both changed.
        bool bAsked = false;
        WhenModal([&](QWidget* pQuestion) {
            bAsked = true;
            look(pQuestion, "saveMergeQuestion");
            Click(pQuestion, "mergeButton");
        });
        app.frame.OnCommand(cmd::FileSave);
        QVERIFY(bAsked);
        // The list comes once the merged window is up.
        QDialog* pList = nullptr;
        QTRY_VERIFY((pList = app.frame.ActiveChild()->findChild<QDialog*>(QStringLiteral("mergeEventsDialog"))) && pList->isVisible());
        look(pList, "mergeEventsDialog");
        pList->close();
        // What the merge wrote into the notebook is the same in every language.
        QVERIFY2(app.Editor()->toPlainText().contains(QStringLiteral("\n(both changed this note: this version is from the file on "
                                                                     "disk, the one above from this window)\n")),
                 qPrintable(app.Editor()->toPlainText()));

        // A file-sync tool's conflict copy beside a notebook as it opens: both questions, kept.
        const QString other = dir.filePath(QStringLiteral("b.not"));
        WriteAll(other, NotebookWith("------ desk ------\nfrom the desktop\n"));
        WriteAll(dir.filePath(QStringLiteral("b.sync-conflict-20240102-030405-LAPTOP.not")),
                 NotebookWith("------ lap ------\nfrom the laptop\n"));
        int asked = 0;
        WhenModal([&](QWidget* pFirst) {
            ++asked;
            look(pFirst, "mergeCopiesQuestion");
            WhenModal([&](QWidget* pSecond) {
                ++asked;
                look(pSecond, "trashCopiesQuestion");
                qobject_cast<QMessageBox*>(pSecond)->button(QMessageBox::No)->click();
            });
            qobject_cast<QMessageBox*>(pFirst)->button(QMessageBox::Yes)->click();
        });
        QVERIFY(app.frame.OpenNotebook(other));
        QCOMPARE(asked, 2);
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(u'\n')));
    }
}

void AppTranslationTest::noLanguageChangesTheSavedBytes()
{
    QTemporaryDir dir;
    const QByteArray english = SavedBytes(QStringLiteral("en"), dir.filePath(QStringLiteral("en.not")));
    const QByteArray german = SavedBytes(QStringLiteral("de"), dir.filePath(QStringLiteral("de.not")));
    QCOMPARE(InstalledLanguage(), QStringLiteral("de"));
    for (const char* part : { "Folder Name\r\nIdeas\r\n", "------ New Note ", "second words", "Assigned Key Function\r\nMove" })
        QVERIFY2(english.contains(part), part);
    QCOMPARE(german, english);
}

void AppTranslationTest::theWindowAndQuillboxCliSayTheWordsAlike()
{
    // quillbox-cli's German through gettext, which reads LANGUAGE in any locale but C.
    qputenv("LANGUAGE", "de");
    qputenv("LC_ALL", "C.UTF-8");
    InitCliWords();
    const QStringList cli = EverySentence();
    InstallTranslations({ QStringLiteral("de") });
    const QStringList window = EverySentence();
    qunsetenv("LANGUAGE");
    qunsetenv("LC_ALL");
    std::setlocale(LC_MESSAGES, "");
    QVERIFY(window.contains(QStringLiteral("„/tmp/a.not“ kann nicht gespeichert werden: sie ist schreibgeschützt.")));
    QCOMPARE(cli, window);
}

QTEST_MAIN(AppTranslationTest)
#include "AppTranslationTest.moc"
