#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "storage/TextEncoding.h"

// Text shown on a terminal so that what a notebook holds cannot drive it: a terminal takes
// control characters, and the escape sequences they open, as commands (to set its title, clear
// the screen, write the clipboard). Every character is written in the terminal's character set
// as itself, except:
// - tab and line feed, and a CR before a line feed, which are themselves;
// - the other controls of U+0000 to U+001F, and DEL, in caret notation as `cat -v` shows them:
//   ESC as ^[, NUL as ^@, a lone CR as ^M, DEL as ^?;
// - the controls U+0080 to U+009F, the bidirectional embeddings, overrides and isolates
//   (U+202A to U+202E, U+2066 to U+2069), which reorder what follows on the line, the line and
//   paragraph separators U+2028 and U+2029, and any character the terminal's character set
//   lacks, as \u0085 (\U0001F600 beyond U+FFFF);
// - in UTF-8 text, each byte that is not part of a character as \xE9.
class TerminalText
{
public:
    // Appends a character in the terminal's character set; false when the set lacks it.
    using CharWriter = std::function<bool(char32_t ch, std::string& out)>;

    // Shows text in the encoding `kind` on a terminal whose character set `writer` writes; on a
    // UTF-8 terminal when there is no writer.
    explicit TerminalText(TextEncoding::Kind kind, CharWriter writer = {});

    // The next bytes as shown. A character or a CR LF cut at the end of them waits for the
    // bytes that follow.
    std::string Show(std::string_view bytes);
    // What still waits, shown as it is: called after the last bytes.
    std::string Finish();

private:
    void ShowChar(char32_t ch, std::string_view utf8, std::string& out) const;

    TextEncoding::Kind m_kind;
    CharWriter m_writer;
    std::string m_waiting;
};
