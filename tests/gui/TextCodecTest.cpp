#include <QApplication>
#include <QClipboard>
#include <QTest>

#include "QtNotebook.h"

namespace {

using Kind = TextEncoding::Kind;

} // namespace

// A notebook's encoding in the window: what the user types decides whether a Windows-1252
// notebook must turn to UTF-8, never its line breaks.
class TextCodecTest : public QObject
{
    Q_OBJECT

private slots:
    void lineBreaksAndCharactersCp1252HoldsKeepTheNotebookAsItIs()
    {
        auto nb = LegacyNotebook();
        QCOMPARE(nb->ItemOf("Caf\xE9")->text(0), QStringLiteral("Café"));
        TypeText(nb->edit, QStringLiteral("€5"));
        QTest::keyClick(nb->edit, Qt::Key_Return);
        QTest::keyClick(nb->edit, Qt::Key_Return, Qt::ShiftModifier);
        QApplication::clipboard()->setText(QStringLiteral("pasted\r\nlines\nde café\n"));
        nb->edit->paste();
        QCOMPARE(nb->doc.GetEncoding().GetKind(), Kind::Windows1252);
        QVERIFY(nb->edit->GetText().ends_with("\x80" "5\r\n------ New Note 12/06/97 ------\r\npasted\r\nlines\r\nde caf\xE9\r\n"));
        QCOMPARE(nb->doc.FindFolderByName("Trash")->m_text, std::string("d\xE9j\xE0"));
    }

    void typingWhatCp1252LacksTurnsTheWholeNotebookToUtf8()
    {
        auto nb = LegacyNotebook();
        TypeText(nb->edit, QStringLiteral("Ω"));
        QCOMPARE(nb->doc.GetEncoding().GetKind(), Kind::Utf8);
        QVERIFY(nb->doc.FindFolderByName("Caf\xC3\xA9"));
        QCOMPARE(nb->doc.FindFolderByName("Trash")->m_text, std::string("d\xC3\xA9j\xC3\xA0"));
        QCOMPARE(nb->tree->GetItemText(nb->doc.FindFolderByName("Caf\xC3\xA9")->m_hItem), std::string("Caf\xC3\xA9"));
        QCOMPARE(nb->ItemOf("Caf\xC3\xA9")->text(0), QStringLiteral("Café"));
        QVERIFY(nb->edit->GetText().ends_with("\xCE\xA9"));
        QVERIFY(nb->doc.IsModified());
    }

    void upgradeWhileBatchedConvertsTheHeldTextAndKeepsTheCaret()
    {
        auto nb = LegacyNotebook();
        nb->edit->BeginBatch();
        nb->edit->SetText("caf\xE9\r\nbar");
        nb->edit->SetSel(4, 4);
        QCOMPARE(nb->codec.Encode(QStringLiteral("Ω")), std::string("\xCE\xA9"));
        QCOMPARE(nb->edit->GetText(), std::string("caf\xC3\xA9\r\nbar"));
        long start = 0;
        long end = 0;
        nb->edit->GetSel(start, end);
        QCOMPARE(start, 5L);
        nb->edit->TypeChar('!');
        QCOMPARE(nb->edit->GetText(), std::string("caf\xC3\xA9!\r\nbar"));
        nb->edit->EndBatch();
    }

    void upgradeConvertsTheFolderClipboard()
    {
        auto nb = LegacyNotebook();
        nb->doc.OnCopyFolder();
        nb->doc.ConvertToUtf8();
        QCOMPARE(nb->doc.GetClipFolder()->m_name, std::string("Caf\xC3\xA9"));
    }

private:
    // A notebook read as Windows-1252: a folder "Café" on screen and "déjà" stored in Trash.
    static std::unique_ptr<QtNotebook> LegacyNotebook()
    {
        auto nb = QtNotebook::New();
        InBatch(*nb->edit, [&] {
            nb->doc.FindFolderByName("Trash")->m_text = "d\xE9j\xE0";
            nb->doc.AddFolder(false, "Caf\xE9", {}, true, {}, {});
            nb->doc.SetEncodingKind(Kind::Windows1252);
        });
        nb->edit->setFocus();
        nb->edit->moveCursor(QTextCursor::End);
        return nb;
    }
};

QTEST_MAIN(TextCodecTest)
#include "TextCodecTest.moc"
