#include <gtest/gtest.h>

#include "storage/TerminalText.h"

namespace {

using Kind = TextEncoding::Kind;

// A terminal whose character set is ASCII, as in the C locale.
bool AsciiOnly(char32_t ch, std::string& out)
{
    if (ch > 0x7F)
        return false;
    out += static_cast<char>(ch);
    return true;
}

struct Case
{
    Kind kind;
    bool bAscii;
    std::string bytes;
    std::string shown;
};

} // namespace

TEST(TerminalText, ControlsAreVisibleAndCharactersShowInTheTerminalsCharacterSet)
{
    const Case cases[] = {
        { Kind::Utf8, false, "title \x1B]0;pwned\x07 clear \x1B[2J", "title ^[]0;pwned^G clear ^[[2J" },
        { Kind::Utf8, false, "tab\tline\r\nlone\rCR\nDEL\x7F NUL" + std::string(1, '\0'), "tab\tline\r\nlone^MCR\nDEL^? NUL^@" },
        { Kind::Utf8, false, "C1 \xC2\x9B" "2J caf\xC3\xA9 \xF0\x9F\x98\x80", "C1 \\u009B2J caf\xC3\xA9 \xF0\x9F\x98\x80" },
        { Kind::Utf8, false, "rlo \xE2\x80\xAE" "cod.exe lri \xE2\x81\xA6 pdi \xE2\x81\xA9 ls \xE2\x80\xA8 ps \xE2\x80\xA9 lrm \xE2\x80\x8E",
          "rlo \\u202Ecod.exe lri \\u2066 pdi \\u2069 ls \\u2028 ps \\u2029 lrm \xE2\x80\x8E" },
        { Kind::Utf8, false, "not UTF-8 \xE9 \xE2\x82", "not UTF-8 \\xE9 \\xE2\\x82" },
        { Kind::Utf8, true, "caf\xC3\xA9 \xF0\x9F\x98\x80 \xC2\x9B", "caf\\u00E9 \\U0001F600 \\u009B" },
        { Kind::Windows1252, false, "caf\xE9 \x80 \x81 \x1B", "caf\xC3\xA9 \xE2\x82\xAC \\u0081 ^[" },
        { Kind::Windows1252, true, "caf\xE9 \x80", "caf\\u00E9 \\u20AC" },
    };
    for (const Case& c : cases) {
        TerminalText terminal(c.kind, c.bAscii ? TerminalText::CharWriter(AsciiOnly) : TerminalText::CharWriter());
        std::string shown = terminal.Show(c.bytes);
        EXPECT_EQ(shown + terminal.Finish(), c.shown) << c.bytes;
        // Cut anywhere, the pieces show alike.
        for (size_t cut = 0; cut <= c.bytes.size(); ++cut) {
            TerminalText pieces(c.kind, c.bAscii ? TerminalText::CharWriter(AsciiOnly) : TerminalText::CharWriter());
            shown = pieces.Show(c.bytes.substr(0, cut));
            shown += pieces.Show(c.bytes.substr(cut));
            EXPECT_EQ(shown + pieces.Finish(), c.shown) << c.bytes << " cut at " << cut;
        }
    }
}
