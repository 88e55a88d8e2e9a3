#include "NotebookFileTestFiles.h"

#include "dialogs/CInputDlg.h"
#include "storage/TextEncoding.h"

#include <vector>

namespace {

using Kind = TextEncoding::Kind;
using Status = ReadReport::Status;

// Byte sequences that an editor holding characters could lose or change.
const std::vector<std::string> kAwkwardBytes = {
    "lone\rCR",
    "CR before\r\r\nCR LF",
    "bare\nLF",
    "line\xE2\x80\xA8separator",
    "paragraph\xE2\x80\xA9separator",
    "nonchars \xEF\xB7\x90 \xEF\xB7\x91 \xEF\xBF\xBE",
    "\xEF\xBB\xBFleading byte-order mark",
    std::string("N\0L", 3),
    "not UTF-8: caf\xE9 \xC0\xAF \xED\xA0\x80 \xF4\x90\x80\x80 \xE2\x82",
    "the stand-ins' own range: \xF4\x8F\xBC\x8D",
    "Windows-1252 high bytes: \x80\x81\x8D\x9F\xA0\xFF",
};

} // namespace

TEST(TextEncoding, EveryByteSequenceComesBackFromTheEditorsFormInBothEncodings)
{
    for (const Kind kind : { Kind::Utf8, Kind::Windows1252 }) {
        const TextEncoding encoding(kind);
        for (const std::string& bytes : kAwkwardBytes) {
            const std::u16string text = encoding.Decode(bytes);
            EXPECT_EQ(encoding.Encode(text), bytes) << bytes;
            EXPECT_EQ(encoding.DecodedSize(bytes), text.size()) << bytes;
            EXPECT_EQ(encoding.EncodedSize(text), bytes.size()) << bytes;
            std::u16string direct(text.size(), u'?');
            encoding.DecodeTo(bytes, direct.data());
            EXPECT_EQ(direct, text);
            // The editor's own structure characters never appear: only its line breaks.
            EXPECT_EQ(text.find_first_of(u"\r\u2029\uFDD0\uFDD1"), std::u16string::npos) << bytes;
        }
    }
}

TEST(TextEncoding, DetectFindsOneOddSequenceAnywhereInLongAsciiText)
{
    // Long plain text is checked a block at a time: a sequence at any place within or across
    // the blocks still decides.
    const std::pair<std::string, Kind> kSequences[] = {
        { "\xC3\xA9", Kind::Utf8 },        { "\xF0\x9D\x84\x9E", Kind::Utf8 },
        { "\xE9", Kind::Windows1252 },      { "\xE2\x82", Kind::Windows1252 },
        { "\xC0\xAF", Kind::Windows1252 }, { "\xF4\x90\x80\x80", Kind::Windows1252 },
    };
    for (const auto& [sequence, kind] : kSequences) {
        for (size_t at = 0; at <= 100; ++at) {
            const std::string bytes = std::string(at, 'a') + sequence + std::string(100 - at, 'b');
            EXPECT_EQ(TextEncoding::Detect(bytes), kind) << at;
            EXPECT_EQ(TextEncoding::Detect(bytes.substr(0, at + sequence.size() - 1)),
                      sequence.size() == 1 ? Kind::Utf8 : Kind::Windows1252)
                << at;
        }
    }
}

TEST(TextEncoding, LineBreaksAndCharactersDecodeAsThemselves)
{
    EXPECT_EQ(TextEncoding(Kind::Utf8).Decode("a\r\nb \xC3\xA9 \xF0\x9D\x84\x9E \xEF\xBB\xBF"), u"a\nb é 𝄞 \uFEFF");
    EXPECT_EQ(TextEncoding(Kind::Windows1252).Decode("caf\xE9 \x80\r\n"), u"café €\n");
    // The editor's paragraph end is a line break too.
    EXPECT_EQ(TextEncoding(Kind::Utf8).Encode(u"a\u2029b\nc"), "a\r\nb\r\nc");
    EXPECT_EQ(TextEncoding(Kind::Windows1252).Encode(u"é€Ω"), "\xE9\x80?");
}

TEST(TextEncoding, Windows1252HoldsLineBreaksAndItsOwnCharactersOnly)
{
    const TextEncoding cp1252(Kind::Windows1252);
    EXPECT_TRUE(cp1252.CanHold(u"Return\n, paragraph\u2029, é € \u0081"));
    EXPECT_TRUE(cp1252.CanHold(cp1252.Decode("lone\rCR")));
    EXPECT_FALSE(cp1252.CanHold(u"Ω"));
    EXPECT_FALSE(cp1252.CanHold(u"soft\u2028break"));
    EXPECT_TRUE(TextEncoding(Kind::Utf8).CanHold(u"Ω 𝄞"));

    std::string out;
    EXPECT_TRUE(TextEncoding::Utf8ToCp1252("caf\xC3\xA9 \xE2\x82\xAC \xC2\x81", out));
    EXPECT_EQ(out, "caf\xE9 \x80 \x81");
    EXPECT_EQ(TextEncoding::Cp1252ToUtf8(out), "caf\xC3\xA9 \xE2\x82\xAC \xC2\x81");
    EXPECT_FALSE(TextEncoding::Utf8ToCp1252("\xCE\xA9", out));
    EXPECT_FALSE(TextEncoding::Utf8ToCp1252("\xC2\x80", out)); // a C1 control the code page lacks
}

TEST(TextEncoding, OtherProgramsGetTheCharactersAndGiveBackWhatAFileWouldHold)
{
    // Out: what the notebook holds, line breaks as line feeds; bytes that are not UTF-8 (here
    // half a sequence, as a selection of part of the editor's stand-ins gives) as U+FFFD.
    const std::string held = "a\rb\r\nc\n \xE2\x80\xA8 \xE2\x80\xA9 \xEF\xB7\x90\xEF\xB7\x91 \xF4\x8F\xBC\x8D \xC0\xAF\xE2\x80";
    EXPECT_EQ(TextEncoding(Kind::Utf8).ToPlainText(held), u"a\rb\nc\n \u2028 \u2029 \uFDD0\uFDD1 \U0010FF0D \uFFFD\uFFFD\uFFFD\uFFFD");
    EXPECT_EQ(TextEncoding(Kind::Windows1252).ToPlainText("caf\xE9 \x80\x81\r\xC0\xAF\r\n"), u"caf\u00E9 \u20AC\u0081\r\u00C0\u00AF\n");

    // In: the bytes a file would hold, which read back and come from the editor unchanged.
    size_t replaced = 99;
    const std::string bytes = TextEncoding::PlainTextToUtf8(u"a\rb\r\nc\n \u2028 \u2029 \uFDD0\uFDD1 \U0010FF0D \uFFFD", replaced);
    EXPECT_EQ(bytes, "a\rb\r\nc\r\n \xE2\x80\xA8 \xE2\x80\xA9 \xEF\xB7\x90\xEF\xB7\x91 \xF4\x8F\xBC\x8D \xEF\xBF\xBD");
    EXPECT_EQ(replaced, 0u);
    const TextEncoding utf8(Kind::Utf8);
    EXPECT_EQ(utf8.Encode(utf8.Decode(bytes)), bytes);
    // Halves of surrogate pairs are no characters.
    const std::u16string halves = { u'x', 0xD800, u'y', 0xDC00, 0xDBFF };
    EXPECT_EQ(TextEncoding::PlainTextToUtf8(halves, replaced), "x\xEF\xBF\xBDy\xEF\xBF\xBD\xEF\xBF\xBD");
    EXPECT_EQ(replaced, 3u);

    // Between notebooks the bytes travel with their encoding.
    for (const Kind kind : { Kind::Utf8, Kind::Windows1252 }) {
        const std::string packed = TextEncoding::Pack({ kind, held });
        const auto copied = TextEncoding::Unpack(packed);
        ASSERT_TRUE(copied);
        EXPECT_EQ(copied->kind, kind);
        EXPECT_EQ(copied->bytes, held);
    }
    EXPECT_FALSE(TextEncoding::Unpack("plain text"));
}

TEST(TextEncoding, FolderNamesBecomeOneLine)
{
    struct Case
    {
        Kind kind;
        std::string name;
        std::string oneLine;
    };
    std::vector<Case> cases = {
        { Kind::Utf8, "plain", "plain" },
        { Kind::Utf8, "a\nEnd Folder", "a End Folder" },
        { Kind::Utf8, "a\vb\fc\rd", "a b c d" },
        { Kind::Utf8, "a\xE2\x80\xA8" "b\xE2\x80\xA9" "c\xC2\x85" "d", "a b c d" },
        // A run of breaks of any kinds is one space; spaces typed beside a break stay.
        { Kind::Utf8, "a\r\n\xE2\x80\xA8\v\xC2\x85" "b", "a b" },
        { Kind::Utf8, "a \n b", "a   b" },
        { Kind::Utf8, "\r\n", " " },
        // In Windows-1252 those bytes are characters: "a€¨b…".
        { Kind::Windows1252, "a\xE2\x80\xA8" "b\x85", "a\xE2\x80\xA8" "b\x85" },
        { Kind::Windows1252, "\x85" "a\x85", "\x85" "a\x85" },
    };
    // Every kind of break, in either encoding, is one rule: a space where it stood, at the
    // ends as inside. A name that is valid UTF-8 is read as UTF-8 in a Windows-1252 notebook
    // too, as it is once the notebook turns to UTF-8.
    for (const std::string brk : { "\r\n", "\r", "\n", "\v", "\f", "\xC2\x85", "\xE2\x80\xA8", "\xE2\x80\xA9" }) {
        for (const Kind kind : { Kind::Utf8, Kind::Windows1252 }) {
            cases.push_back({ kind, brk + "Ideas" + brk + brk + "x" + brk, " Ideas x " });
            cases.push_back({ kind, "Ideas" + brk, "Ideas " });
        }
    }
    for (const std::string brk : { "\r\n", "\r", "\n", "\v", "\f" })
        cases.push_back({ Kind::Windows1252, "Caf\xE9" + brk, "Caf\xE9 " });
    for (const Case& c : cases) {
        std::string name = c.name;
        EXPECT_EQ(TextEncoding(c.kind).MakeOneLine(name), c.name != c.oneLine) << c.name;
        EXPECT_EQ(name, c.oneLine) << c.name;
    }
}

TEST(NotebookEncoding, ImportTurnsAFolderFileIntoTheNotebooksEncoding)
{
    // A UTF-8 and a Windows-1252 file holding the same name and text.
    const auto folderFile = [](const std::string& name, const std::string& text) {
        return CrLf({ "Begin Folder Information", "Begin Folder", "Folder Name", name, "Assigned Key", "None",
                      "Number of Children", "0", "Folder Text", text, "End Folder", "End Folder Information" });
    };
    struct Case
    {
        Kind notebook;
        std::string name;
        std::string text;
        Kind after;
        std::string importedName;
        std::string importedText;
    };
    const Case cases[] = {
        { Kind::Utf8, "R\xC3\xA9sum\xC3\xA9", "caf\xC3\xA9", Kind::Utf8, "R\xC3\xA9sum\xC3\xA9", "caf\xC3\xA9\r\n" },
        { Kind::Utf8, "R\xE9sum\xE9", "caf\xE9", Kind::Utf8, "R\xC3\xA9sum\xC3\xA9", "caf\xC3\xA9\r\n" },
        { Kind::Windows1252, "R\xC3\xA9sum\xC3\xA9", "caf\xC3\xA9", Kind::Windows1252, "R\xE9sum\xE9", "caf\xE9\r\n" },
        { Kind::Windows1252, "R\xE9sum\xE9", "caf\xE9", Kind::Windows1252, "R\xE9sum\xE9", "caf\xE9\r\n" },
        // Omega has no Windows-1252 byte: the notebook turns to UTF-8, its own folders too.
        { Kind::Windows1252, "\xCE\xA9", "caf\xC3\xA9", Kind::Utf8, "\xCE\xA9", "caf\xC3\xA9\r\n" },
    };
    for (const Case& c : cases) {
        TempDir dir;
        auto nb = Notebook::New();
        nb->Select("Main");
        nb->doc.AddFolder(false, "d\xE9j\xE0", "old \xE9\r\n", true, {}, {});
        nb->doc.SetEncodingKind(Kind::Windows1252);
        if (c.notebook == Kind::Utf8)
            nb->doc.ConvertToUtf8();
        WriteBytes(dir.Path("in.fol"), folderFile(c.name, c.text));
        EXPECT_EQ(nb->doc.ImportFolder(dir.Path("in.fol")).status, Status::Ok) << c.name;

        EXPECT_EQ(nb->doc.GetEncoding().GetKind(), c.after) << c.name;
        const Folder* pImported = nb->doc.GetSelFolder();
        EXPECT_EQ(pImported->m_name, c.importedName);
        EXPECT_EQ(nb->TextOf(pImported->m_name), c.importedText);
        EXPECT_EQ(nb->tree.GetItemText(pImported->m_hItem), c.importedName);
        // The notebook's own folder keeps its characters in the notebook's encoding.
        const bool bUtf8 = c.after == Kind::Utf8;
        EXPECT_NE(nb->doc.FindFolderByName(bUtf8 ? "d\xC3\xA9j\xC3\xA0" : "d\xE9j\xE0"), nullptr) << c.name;
    }
}

TEST(NotebookEncoding, TakenTextComesInTheNotebooksEncoding)
{
    struct Case
    {
        Kind notebook;
        std::string bytes;
        Kind kind;
        std::string taken;
        Kind after;
    };
    const Case cases[] = {
        { Kind::Utf8, "caf\xE9\r", Kind::Windows1252, "caf\xC3\xA9\r", Kind::Utf8 },
        { Kind::Utf8, "\xC0\xAF", Kind::Utf8, "\xC0\xAF", Kind::Utf8 },
        { Kind::Windows1252, "caf\xC3\xA9\r", Kind::Utf8, "caf\xE9\r", Kind::Windows1252 },
        { Kind::Windows1252, "\xC0\xAF", Kind::Windows1252, "\xC0\xAF", Kind::Windows1252 },
        // U+2029 has no Windows-1252 byte: the notebook turns to UTF-8 first.
        { Kind::Windows1252, "\xE2\x80\xA9", Kind::Utf8, "\xE2\x80\xA9", Kind::Utf8 },
    };
    for (const Case& c : cases) {
        auto nb = Notebook::New();
        nb->doc.FindFolderByName("Trash")->m_text = "d\xE9j\xE0";
        nb->doc.SetEncodingKind(Kind::Windows1252);
        if (c.notebook == Kind::Utf8)
            nb->doc.ConvertToUtf8();
        EXPECT_EQ(nb->doc.TakeText(c.bytes, c.kind), c.taken) << c.bytes;
        EXPECT_EQ(nb->doc.GetEncoding().GetKind(), c.after) << c.bytes;
        EXPECT_EQ(nb->doc.FindFolderByName("Trash")->m_text, c.after == Kind::Utf8 ? "d\xC3\xA9j\xC3\xA0" : "d\xE9j\xE0");
    }
}

TEST(NotebookEncoding, OpenReadsTheFileOneWayAndNamesAreOneLine)
{
    TempDir dir;
    const std::string path = dir.Path("n.not");
    // A name line holding a lone CR, and Windows-1252 text.
    WriteBytes(path, CrLf({ "Begin Selected Folder", "a\rb", "End Selected Folder", "Begin Folder Information",
                            "Begin Folder", "Folder Name", "Main", "Assigned Key", "None", "Number of Children", "1",
                            "Folder Text", "caf\xE9", "End Folder", "Begin Folder", "Folder Name", "a\rb",
                            "Assigned Key", "None", "Number of Children", "0", "Folder Text", "x", "End Folder",
                            "End Folder Information" }));
    auto nb = std::make_unique<Notebook>();
    EXPECT_EQ(nb->doc.OnOpenDocument(path).status, Status::Incomplete); // no Trash
    EXPECT_EQ(nb->doc.GetEncoding().GetKind(), Kind::Windows1252);
    ASSERT_NE(nb->doc.GetSelFolder(), nullptr);
    EXPECT_EQ(nb->doc.GetSelFolder()->m_name, "a b");
    EXPECT_EQ(nb->tree.Dump(true), "Main[a b*],Trash");
}

TEST(NotebookEncoding, ALargeNotebookIsUtf8OnlyWhenEveryByteOfItIs)
{
    // The file is read a piece at a time, and pieces end inside characters.
    TempDir dir;
    const std::string path = dir.Path("n.not");
    std::string euros;
    for (int i = 0; i < 1'500'000; ++i)
        euros += "\xE2\x82\xAC";
    const std::pair<std::string, std::string> kTails[] = { { "x", "" }, { "caf\xE9", "" }, { "x", "after \xE9" } };
    for (const auto& [lastText, afterRecords] : kTails) {
        WriteBytes(path, CrLf({ "Begin Selected Folder", "Main", "End Selected Folder", "Begin Folder Information",
                                "Begin Folder", "Folder Name", "Main", "Assigned Key", "None", "Number of Children",
                                "1", "Folder Text", euros, "End Folder", "Begin Folder", "Folder Name", "Last",
                                "Assigned Key", "None", "Number of Children", "0", "Folder Text", lastText,
                                "End Folder", "End Folder Information", afterRecords }));
        auto nb = std::make_unique<Notebook>();
        EXPECT_EQ(nb->doc.OnOpenDocument(path).status, Status::Incomplete); // no Trash
        const bool bUtf8 = lastText == "x" && afterRecords.empty();
        EXPECT_EQ(nb->doc.GetEncoding().GetKind(), bUtf8 ? Kind::Utf8 : Kind::Windows1252) << lastText << afterRecords;
        EXPECT_EQ(nb->TextOf("Main"), euros + "\r\n");
        EXPECT_EQ(nb->TextOf("Last"), lastText + "\r\n");
    }
}

TEST(NotebookEncoding, APastedNameWithLineBreaksIsShownAgainAsOneLine)
{
    auto nb = Notebook::New();
    nb->Select("Main");
    nb->prompts.ExpectInput([](CInputDlg& dlg) {
        dlg.m_strText = "Ideas\r\nEnd Folder";
        return true;
    });
    nb->prompts.ExpectMessage("A folder name is one line: its line breaks were replaced by spaces.");
    nb->prompts.ExpectInput([](CInputDlg& dlg) {
        EXPECT_EQ(dlg.m_strText, "Ideas End Folder");
        return true;
    });
    nb->doc.OnNewFolder();
    EXPECT_EQ(nb->tree.Dump(true), "Main[Ideas End Folder*],Trash");
    EXPECT_PROMPTS_DONE(*nb);
}
