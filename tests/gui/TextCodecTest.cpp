#include <QTest>

#include "QtNotebook.h"

// Decoding and encoding a notebook's bytes, and turning a Windows-1252 notebook into UTF-8
// when it must hold a character that code page lacks.
class TextCodecTest : public QObject
{
    Q_OBJECT

private slots:
    void utf8RoundTripsEveryKindOfCharacter()
    {
        QtNotebook nb;
        const std::string bytes = "plain \xC3\xA9t\xC3\xA9 \xE2\x82\xAC \xF0\x9D\x84\x9E\r\n";
        QCOMPARE(nb.codec.Decode(bytes), QStringLiteral("plain été € 𝄞\r\n"));
        QCOMPARE(nb.codec.Encode(nb.codec.Decode(bytes)), bytes);
    }

    void cp1252RoundTripsEveryByte()
    {
        QtNotebook nb;
        nb.codec.SetEncoding(TextCodec::Encoding::Windows1252);
        std::string bytes;
        for (int b = 0; b < 256; ++b)
            bytes += static_cast<char>(b);
        const QString text = nb.codec.Decode(bytes);
        QCOMPARE(text.size(), 256);
        QCOMPARE(text.at(0x80), QChar(0x20AC));
        QCOMPARE(text.at(0x81), QChar(0x0081));
        QCOMPARE(text.at(0x9F), QChar(0x0178));
        QCOMPARE(text.at(0xE9), QChar(0x00E9));
        QVERIFY(nb.codec.CanEncode(text));
        QCOMPARE(nb.codec.Encode(text), bytes);
        QCOMPARE(nb.codec.GetEncoding(), TextCodec::Encoding::Windows1252);
    }

    void validUtf8IsTold()
    {
        QVERIFY(TextCodec::IsValidUtf8("abc \xC3\xA9 \xF4\x8F\xBF\xBF"));
        QVERIFY(!TextCodec::IsValidUtf8("caf\xE9"));
        QVERIFY(!TextCodec::IsValidUtf8("\xC0\xAF"));         // overlong '/'
        QVERIFY(!TextCodec::IsValidUtf8("\xED\xA0\x80"));     // a surrogate
        QVERIFY(!TextCodec::IsValidUtf8("\xF4\x90\x80\x80")); // beyond U+10FFFF
        QVERIFY(!TextCodec::IsValidUtf8("\xE2\x82"));         // cut short
    }

    void detectLooksAtNamesTextsAndTheEditor()
    {
        auto nb = QtNotebook::New();
        QCOMPARE(TextCodec::Detect(nb->doc), TextCodec::Encoding::Utf8);
        {
            EditBatch batch(*nb->edit);
            nb->doc.AddFolder(false, "Caf\xE9", {}, true, {}, {});
            QCOMPARE(TextCodec::Detect(nb->doc), TextCodec::Encoding::Windows1252);
        }
        auto other = QtNotebook::New();
        EditBatch batch(*other->edit);
        other->edit->SetText("na\xEFve");
        QCOMPARE(TextCodec::Detect(other->doc), TextCodec::Encoding::Windows1252);
    }

    void encodingSwitchRedecodesTheTreeFromItsBytes()
    {
        auto nb = QtNotebook::New();
        {
            EditBatch batch(*nb->edit);
            nb->doc.AddFolder(false, "Caf\xE9", {}, true, {}, {});
            nb->codec.SetEncoding(TextCodec::Encoding::Windows1252);
        }
        QCOMPARE(nb->ItemOf("Caf\xE9")->text(0), QStringLiteral("Café"));
        QCOMPARE(nb->tree->GetItemText(nb->doc.FindFolderByName("Caf\xE9")->GetItem()), std::string("Caf\xE9"));
    }

    void typingWhatCp1252HoldsKeepsTheNotebookAsItIs()
    {
        auto nb = LegacyNotebook();
        TypeText(nb->edit, QStringLiteral("€5"));
        QCOMPARE(nb->codec.GetEncoding(), TextCodec::Encoding::Windows1252);
        QVERIFY(nb->edit->GetText().ends_with("\x80" "5"));
        QCOMPARE(nb->doc.FindFolderByName("Trash")->m_text, std::string("d\xE9j\xE0"));
    }

    void typingWhatCp1252LacksTurnsTheWholeNotebookToUtf8()
    {
        auto nb = LegacyNotebook();
        TypeText(nb->edit, QStringLiteral("Ω"));
        QCOMPARE(nb->codec.GetEncoding(), TextCodec::Encoding::Utf8);
        QVERIFY(nb->doc.FindFolderByName("Caf\xC3\xA9"));
        QCOMPARE(nb->doc.FindFolderByName("Trash")->m_text, std::string("d\xC3\xA9j\xC3\xA0"));
        QCOMPARE(nb->tree->GetItemText(nb->doc.FindFolderByName("Caf\xC3\xA9")->GetItem()), std::string("Caf\xC3\xA9"));
        QVERIFY(nb->edit->GetText().ends_with("\xCE\xA9"));
        QCOMPARE(TextCodec::Detect(nb->doc), TextCodec::Encoding::Utf8);
    }

    void upgradeWhileBatchedConvertsTheHeldTextAndKeepsTheCaret()
    {
        auto nb = LegacyNotebook();
        EditBatch batch(*nb->edit);
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
    }

    void upgradeConvertsTheFolderClipboard()
    {
        auto nb = LegacyNotebook();
        auto* pClip = new Folder;
        pClip->m_name = "R\xE9sum\xE9";
        nb->doc.m_pClipFolder = pClip;
        nb->codec.UpgradeToUtf8();
        QCOMPARE(nb->doc.m_pClipFolder->m_name, std::string("R\xC3\xA9sum\xC3\xA9"));
    }

private:
    // A notebook read as Windows-1252: a folder "Café" on screen and "déjà" stored in Trash.
    static std::unique_ptr<QtNotebook> LegacyNotebook()
    {
        auto nb = QtNotebook::New();
        {
            EditBatch batch(*nb->edit);
            nb->doc.FindFolderByName("Trash")->m_text = "d\xE9j\xE0";
            nb->doc.AddFolder(false, "Caf\xE9", {}, true, {}, {});
            nb->codec.SetEncoding(TextCodec::Detect(nb->doc));
        }
        nb->edit->setFocus();
        nb->edit->moveCursor(QTextCursor::End);
        return nb;
    }
};

QTEST_MAIN(TextCodecTest)
#include "TextCodecTest.moc"
