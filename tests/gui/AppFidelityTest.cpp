// Every byte a notebook holds survives the window: shown, left, edited elsewhere in the
// folder, copied and pasted, and saved, the file holds what the headless program writes for
// the same steps.
#include <QClipboard>
#include <QFileDialog>
#include <QMimeData>
#include <QTemporaryDir>
#include <QtTest>

#include "AppTestSupport.h"
#include "qt/Translations.h"
#include "window/HeadlessNotebook.h"
#include "platform/Clock.h"
#include "support/ScriptedPrompts.h"
#include "platform/SettingsStore.h"

namespace {

// A file's bytes as the headless program's strings hold them.
std::string ReadText(const QString& path)
{
    return ReadAll(path).toStdString();
}

// A notebook whose Main and Other folders both hold `awkward` inside ordinary notes, or Other
// holds `other` when given.
std::string NotebookHolding(const std::string& awkward, const std::string& extra, const std::optional<std::string>& other = {})
{
    const auto record = [](const std::string& name, int children, const std::string& text) {
        return "Begin Folder\r\nFolder Name\r\n" + name + "\r\nAssigned Key\r\nNone\r\nNumber of Children\r\n"
            + std::to_string(children) + "\r\nFolder Text\r\n" + text + "End Folder\r\n";
    };
    const std::string text = "------ one\r\nbefore " + awkward + " after\r\n" + extra + "\r\n------ two\r\nlast\r\n";
    return "Begin Selected Folder\r\nMain\r\nEnd Selected Folder\r\n"
           "Begin New Note Preferences\r\nDate\r\n1\r\nTime\r\n0\r\nText\r\n1\r\nEnd New Note Preferences\r\n"
           "Begin Delete Folder Preferences\r\nPrompt\r\n1\r\nEnd Delete Folder Preferences\r\n"
           "Begin Folder Information\r\n"
        + record("Main", 1, text) + record("Other", 0, other.value_or(awkward) + "\r\n")
        + "Begin Folder\r\nFolder Name\r\nTrash\r\nAssigned Key\r\nF3\r\nAssigned Key Function\r\nMove\r\n"
          "Number of Children\r\n0\r\nFolder Text\r\nEnd Folder\r\nEnd Folder Information\r\n";
}

// What the headless program saves after opening `in` and typing `typed` at the end of Main.
std::string HeadlessSave(const QString& in, const QString& out, const std::string& typed)
{
    // Opening, typing and saving ask nothing: a prompt fails the test.
    HeadlessNotebookOf<ScriptedPrompts, SystemClock> nb;
    if (!nb.doc.OnOpenDocument(QFile::encodeName(in).toStdString()).Opened())
        return "(not read)";
    nb.edit.SetSel(-1, -1);
    for (const char ch : typed)
        nb.edit.TypeChar(ch);
    if (!nb.doc.OnSaveDocument(QFile::encodeName(out).toStdString()).ok)
        return "(not saved)";
    return ReadText(out);
}

// Where two files first differ, with the bytes around it, for a failure message.
QByteArray Difference(const std::string& actual, const std::string& expected)
{
    size_t at = 0;
    while (at < actual.size() && at < expected.size() && actual[at] == expected[at])
        ++at;
    const auto around = [at](const std::string& bytes) {
        const size_t from = at < 40 ? 0 : at - 40;
        return QByteArray::fromStdString(bytes.substr(from, 80)).toPercentEncoding(" -");
    };
    return "at byte " + QByteArray::number(qulonglong(at)) + ": " + around(actual) + " instead of " + around(expected);
}

// Main's text as other programs are given it when NotebookHolding's awkward bytes and extra
// line are these characters.
QString PlainMain(const QString& awkward, const QString& extra)
{
    return QStringLiteral("------ one\nbefore ") + awkward + QStringLiteral(" after\n") + extra + QStringLiteral("\n------ two\nlast\n");
}

#define COMPARE_BYTES(actual, expected)                                                             \
    do {                                                                                           \
        const std::string a = (actual);                                                            \
        const std::string e = (expected);                                                          \
        QVERIFY2(a == e, Difference(a, e).constData());                                            \
    } while (0)

} // namespace

class AppFidelityTest : public QObject
{
    Q_OBJECT

private slots:
    // The window as the program shows it: with the English catalogue and its plural forms.
    void initTestCase() { InstallTranslations({ QStringLiteral("en") }); }
    void awkwardBytesSurviveShowingEditingAndSaving_data();
    void awkwardBytesSurviveShowingEditingAndSaving();
    void copyGivesTheCharactersAndPasteTakesBackTheBytes_data();
    void copyGivesTheCharactersAndPasteTakesBackTheBytes();
    void anotherProgramsTextIsHeldAsAFileWouldHoldIt();
    void aCopiedNoteMakesClosingAsk();
    void contextMenuImportTakesTheNotebooksEncoding();
    void messagesNameFilesAsTheFileSystemDoesOverAWindows1252Notebook();
};

void AppFidelityTest::awkwardBytesSurviveShowingEditingAndSaving_data()
{
    QTest::addColumn<QByteArray>("awkward");
    QTest::addColumn<QByteArray>("extra");
    const std::pair<const char*, std::string> sequences[] = {
        { "lone CR", "a\rb" },
        { "CR before CR LF", "a\r" },
        { "line separator", "a\xE2\x80\xA8" "b" },
        { "paragraph separator", "a\xE2\x80\xA9" "b" },
        { "noncharacters", "\xEF\xB7\x90\xEF\xB7\x91\xEF\xBF\xBF" },
        { "byte-order mark", "\xEF\xBB\xBF" "bom" },
        { "NUL", std::string("a\0b", 3) },
        { "stand-in range", "\xF4\x8F\xBC\x8D" },
        // Shown in pieces, which must neither part an accent or a surrogate pair from its
        // character nor reach the file.
        { "a line too long to lay out whole", [] {
             std::string line;
             while (line.size() < 96000)
                 line += "e\xCC\x81\xF0\x9F\x98\x80x";
             return line;
         }() },
    };
    // Each once in a UTF-8 notebook and once in one made Windows-1252 by another note.
    for (const auto& [name, bytes] : sequences) {
        QTest::newRow((std::string(name) + ", UTF-8").c_str()) << QByteArray::fromStdString(bytes) << QByteArray("caf\xC3\xA9");
        QTest::newRow((std::string(name) + ", Windows-1252").c_str()) << QByteArray::fromStdString(bytes) << QByteArray("caf\xE9");
    }
    QTest::newRow("bytes that are not UTF-8") << QByteArray("\xC0\xAF \xED\xA0\x80 \xE2\x82") << QByteArray("\xFF");
}

void AppFidelityTest::awkwardBytesSurviveShowingEditingAndSaving()
{
    QFETCH(QByteArray, awkward);
    QFETCH(QByteArray, extra);
    QTemporaryDir dir;
    const QString original = dir.filePath(QStringLiteral("original.not"));
    const QString path = dir.filePath(QStringLiteral("awkward.not"));
    WriteAll(original, QByteArray::fromStdString(NotebookHolding(awkward.toStdString(), extra.toStdString())));
    QVERIFY(QFile::copy(original, path));
    const std::string resaved = HeadlessSave(original, dir.filePath(QStringLiteral("resaved.not")), {});
    const std::string typed = HeadlessSave(original, dir.filePath(QStringLiteral("typed.not")), "typed");

    MemorySettings settings;
    AppWindow app(settings);
    CChildFrame* pChild = app.frame.OpenNotebook(path);
    QVERIFY(pChild);
    ClickFolder(app.Tree(), QStringLiteral("Other"));
    ClickFolder(app.Tree(), QStringLiteral("Main"));
    QVERIFY(!pChild->GetDocument().IsModified());
    MenuAction(app.frame, QStringLiteral("&File"), QStringLiteral("&Save"))->trigger();
    COMPARE_BYTES(ReadText(path), resaved);

    // An edit elsewhere in the folder leaves the awkward bytes as they were.
    QTest::keyClick(app.Editor(), Qt::Key_End, Qt::ControlModifier);
    QTest::keyClicks(app.Editor(), QStringLiteral("typed"));
    MenuAction(app.frame, QStringLiteral("&File"), QStringLiteral("&Save"))->trigger();
    COMPARE_BYTES(ReadText(path), typed);
}

void AppFidelityTest::copyGivesTheCharactersAndPasteTakesBackTheBytes_data()
{
    QTest::addColumn<QByteArray>("awkward");
    QTest::addColumn<QByteArray>("extra");
    QTest::addColumn<QString>("plain");
    // A lone CR, the line and paragraph separators, noncharacters, a character of the
    // stand-ins' range and a no-break space; then bytes that are not UTF-8 and high bytes.
    QTest::newRow("UTF-8") << QByteArray("a\rb \xE2\x80\xA8 \xE2\x80\xA9 \xEF\xB7\x90\xEF\xB7\x91 \xF4\x8F\xBC\x8D \xC2\xA0")
                           << QByteArray("caf\xC3\xA9")
                           << PlainMain(QString::fromUtf16(u"a\rb \u2028 \u2029 \uFDD0\uFDD1 \U0010FF0D \u00A0"), QStringLiteral("café"));
    QTest::newRow("Windows-1252") << QByteArray("a\rb \xC0\xAF \x81 \x80 \xA0") << QByteArray("caf\xE9")
                                  << PlainMain(QString::fromUtf16(u"a\rb \u00C0\u00AF \u0081 \u20AC \u00A0"), QStringLiteral("café"));
}

void AppFidelityTest::copyGivesTheCharactersAndPasteTakesBackTheBytes()
{
    QFETCH(QByteArray, awkward);
    QFETCH(QByteArray, extra);
    QFETCH(QString, plain);
    QTemporaryDir dir;
    const QString original = dir.filePath(QStringLiteral("original.not"));
    const QString path = dir.filePath(QStringLiteral("awkward.not"));
    WriteAll(original, QByteArray::fromStdString(NotebookHolding(awkward.toStdString(), extra.toStdString())));
    QVERIFY(QFile::copy(original, path));
    const std::string resaved = HeadlessSave(original, dir.filePath(QStringLiteral("resaved.not")), {});

    MemorySettings settings;
    AppWindow app(settings);
    CChildFrame* pChild = app.frame.OpenNotebook(path);
    QVERIFY(pChild);
    const TextEncoding::Kind kind = pChild->GetDocument().GetEncoding().GetKind();
    ClickFolder(app.Tree(), QStringLiteral("Other"));
    ClickFolder(app.Tree(), QStringLiteral("Main"));
    QPointer<QTimer> pUnexpected = FailOnAnyPrompt();
    QAction* pSave = MenuAction(app.frame, QStringLiteral("&File"), QStringLiteral("&Save"));

    // Other programs get the characters the notebook holds: no stand-ins, no rich text.
    app.Editor()->selectAll();
    QTest::keyClick(app.Editor(), Qt::Key_C, Qt::ControlModifier);
    const QMimeData* pCopied = QGuiApplication::clipboard()->mimeData();
    QVERIFY(pCopied);
    QCOMPARE(pCopied->formats(), QStringList({ QStringLiteral("text/plain"), QStringLiteral("application/x-quillbox-text") }));
    QCOMPARE(pCopied->text(), plain);

    // Cut and pasted inside Quillbox, the bytes come back exactly.
    QTest::keyClick(app.Editor(), Qt::Key_X, Qt::ControlModifier);
    QCOMPARE(app.Editor()->toPlainText(), QString());
    QCOMPARE(QGuiApplication::clipboard()->mimeData()->text(), plain);
    QTest::keyClick(app.Editor(), Qt::Key_V, Qt::ControlModifier);
    pSave->trigger();
    COMPARE_BYTES(ReadText(path), resaved);

    // The same characters from another program are stored as a file holding them reads.
    app.Editor()->selectAll();
    QTest::keyClick(app.Editor(), Qt::Key_Delete);
    pSave->trigger();
    QVERIFY(ReadText(path) != resaved);
    auto* pOther = new QMimeData;
    pOther->setText(plain);
    QGuiApplication::clipboard()->setMimeData(pOther);
    QTest::keyClick(app.Editor(), Qt::Key_V, Qt::ControlModifier);
    pSave->trigger();
    COMPARE_BYTES(ReadText(path), resaved);
    QCOMPARE(pChild->GetDocument().GetEncoding().GetKind(), kind);
    delete pUnexpected;
}

void AppFidelityTest::anotherProgramsTextIsHeldAsAFileWouldHoldIt()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("legacy.not"));
    WriteAll(path, QByteArray::fromStdString(NotebookHolding("plain", "caf\xE9")));
    // Windows-1252 lacks the separators and the noncharacter: the notebook turns to UTF-8. An
    // unpaired surrogate is no character at all: U+FFFD stands for it, and the user is told.
    const QString pasted = QString::fromUtf16(u"x\ry \u2028 \u2029 \uFDD0 ") + QChar(0xD800) + QStringLiteral(" z");
    const QString expectedFile = dir.filePath(QStringLiteral("expected.not"));
    WriteAll(expectedFile, QByteArray::fromStdString(NotebookHolding("x\ry \xE2\x80\xA8 \xE2\x80\xA9 \xEF\xB7\x90 \xEF\xBF\xBD z", "caf\xC3\xA9", "plain")));
    const std::string expected = HeadlessSave(expectedFile, dir.filePath(QStringLiteral("resaved.not")), {});

    MemorySettings settings;
    AppWindow app(settings);
    CChildFrame* pChild = app.frame.OpenNotebook(path);
    QVERIFY(pChild);
    QCOMPARE(pChild->GetDocument().GetEncoding().GetKind(), TextEncoding::Kind::Windows1252);
    ClickFolder(app.Tree(), QStringLiteral("Main"));
    app.Editor()->moveCursor(QTextCursor::Start);
    QVERIFY(app.Editor()->find(QStringLiteral("plain")));
    auto* pOther = new QMimeData;
    pOther->setText(pasted);
    QGuiApplication::clipboard()->setMimeData(pOther);
    QString told;
    WhenModal([&](QWidget* pDialog) {
        GrabAs(pDialog, QStringLiteral("pasteReplacedMessage"));
        auto* pBox = qobject_cast<QMessageBox*>(pDialog);
        QVERIFY(pBox);
        told = pBox->text();
        pBox->button(QMessageBox::Ok)->click();
    });
    QTest::keyClick(app.Editor(), Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(told, QStringLiteral("The pasted text held an unpaired UTF-16 surrogate, which is no character and cannot be "
                                  "stored; it was pasted as the replacement character U+FFFD."));
    QCOMPARE(pChild->GetDocument().GetEncoding().GetKind(), TextEncoding::Kind::Utf8);

    QPointer<QTimer> pUnexpected = FailOnAnyPrompt();
    MenuAction(app.frame, QStringLiteral("&File"), QStringLiteral("&Save"))->trigger();
    delete pUnexpected;
    COMPARE_BYTES(ReadText(path), expected);
}

void AppFidelityTest::aCopiedNoteMakesClosingAsk()
{
    MemorySettings settings;
    AppWindow app(settings);
    CChildFrame* pChild = app.NewNotebook();
    CQuillboxDoc& doc = pChild->GetDocument();
    doc.FindFolderByName("Trash")->SetKey("F4", "Copy");
    doc.SetModifiedFlag(false);
    QTest::keyClick(app.Tree(), Qt::Key_F6);
    QTest::keyClick(app.Editor(), Qt::Key_F4);
    QCOMPARE(doc.FindFolderByName("Trash")->m_text, "------ New Note " + QDate::currentDate().toString(QStringLiteral("MM/dd/yy")).toStdString() + " ------\r\n");

    const auto question = AnswerMessageBox(QMessageBox::Cancel);
    MenuAction(app.frame, QStringLiteral("&File"), QStringLiteral("&Close"))->trigger();
    QCOMPARE(*question, QStringLiteral("Quillbox:Save changes to Untitled?"));
    QCOMPARE(app.frame.Children().size(), 1);
}

void AppFidelityTest::contextMenuImportTakesTheNotebooksEncoding()
{
    QTemporaryDir dir;
    const QString folderFile = dir.filePath(QStringLiteral("legacy.fol"));
    WriteAll(folderFile, "Begin Folder Information\r\nBegin Folder\r\nFolder Name\r\nR\xE9sum\xE9\r\nAssigned Key\r\n"
                         "None\r\nNumber of Children\r\n0\r\nFolder Text\r\ncaf\xE9\r\nEnd Folder\r\nEnd Folder Information\r\n");
    MemorySettings settings;
    AppWindow app(settings);
    CChildFrame* pChild = app.NewNotebook();

    // The folder tree's context menu, answered by a click on Import Folder, then the chooser.
    QTimer::singleShot(0, [&] {
        QVERIFY(QTest::qWaitFor([] { return QApplication::activePopupWidget() != nullptr; }));
        auto* pMenu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        QVERIFY(pMenu);
        for (QAction* pAction : pMenu->actions()) {
            if (pAction->text().startsWith(QStringLiteral("&Import Folder...")))
                QTest::mouseClick(pMenu, Qt::LeftButton, {}, pMenu->actionGeometry(pAction).center());
        }
    });
    WhenModal([&](QWidget* pDialog) {
        auto* pChooser = qobject_cast<QFileDialog*>(pDialog);
        QVERIFY(pChooser);
        TypeFileName(pChooser, folderFile);
        static_cast<QDialog*>(pChooser)->accept();
    });
    QTest::mouseClick(app.Tree()->viewport(), Qt::RightButton, {}, QPoint(5, 5));

    QTRY_COMPARE(TreeDump(app.Tree()->invisibleRootItem()), QStringLiteral("Main[Résumé],Trash"));
    QCOMPARE(app.Editor()->toPlainText(), QStringLiteral("café\n"));
    ClickFolder(app.Tree(), QStringLiteral("Main"));
    const Folder* pImported = pChild->GetDocument().FindFolderByName("R\xC3\xA9sum\xC3\xA9");
    QVERIFY(pImported);
    QCOMPARE(pImported->m_text, std::string("caf\xC3\xA9\r\n"));
    QCOMPARE(pChild->GetDocument().GetEncoding().GetKind(), TextEncoding::Kind::Utf8);
}

void AppFidelityTest::messagesNameFilesAsTheFileSystemDoesOverAWindows1252Notebook()
{
    QTemporaryDir dir;
    const QString legacy = dir.filePath(QStringLiteral("legacy.not"));
    WriteAll(legacy, QByteArray::fromStdString(NotebookHolding("plain", "caf\xE9")));
    const QString missing = dir.filePath(QStringLiteral("Über.not"));
    const QString notAFolderFile = dir.filePath(QStringLiteral("Über.fol"));
    WriteAll(notAFolderFile, "Über\r\n");
    MemorySettings settings;
    AppWindow app(settings);
    QVERIFY(app.frame.OpenNotebook(legacy));
    QCOMPARE(app.frame.ActiveChild()->GetDocument().GetEncoding().GetKind(), TextEncoding::Kind::Windows1252);

    auto pSeen = AnswerMessageBox(QMessageBox::Ok);
    QVERIFY(!app.frame.OpenNotebook(missing));
    QCOMPARE(*pSeen, QStringLiteral("Quillbox:Cannot open \"%1\": No such file or directory.").arg(missing));

    // Import Folder reports through the notebook's own prompts, which show its text as Windows-1252.
    WhenModal([&](QWidget* pDialog) {
        auto* pChooser = qobject_cast<QFileDialog*>(pDialog);
        QVERIFY(pChooser);
        TypeFileName(pChooser, notAFolderFile);
        pSeen = AnswerMessageBox(QMessageBox::Ok);
        static_cast<QDialog*>(pChooser)->accept();
    });
    QTest::keyClick(app.Tree(), Qt::Key_I, Qt::ControlModifier);
    QTRY_COMPARE(*pSeen, QStringLiteral("Quillbox:\"%1\" is not a folder file: it has no \"Begin Folder Information\" line.")
                             .arg(notAFolderFile));
}

QTEST_MAIN(AppFidelityTest)
#include "AppFidelityTest.moc"
