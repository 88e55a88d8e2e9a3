#pragma once

#include <optional>
#include <string>
#include <string_view>

// How a notebook's bytes are characters: UTF-8 when all of the notebook is valid UTF-8,
// otherwise Windows-1252, whose 256 bytes are all characters.
//
// The editor's form of a text is UTF-16 with '\n' for each CR LF. A byte the editor could not
// hold as itself (a lone CR or LF, the bytes of U+2029 or of the noncharacters U+FDD0 and
// U+FDD1, which the editor takes for structure, and bytes that are not UTF-8) becomes a
// stand-in character of its own, so Encode(Decode(bytes)) == bytes for any bytes at all.
class TextEncoding
{
public:
    enum class Kind
    {
        Utf8,
        Windows1252,
    };

    explicit TextEncoding(Kind kind = Kind::Utf8)
        : m_kind(kind)
    {
    }

    Kind GetKind() const { return m_kind; }
    void SetKind(Kind kind) { m_kind = kind; }

    std::u16string Decode(std::string_view bytes) const;
    // Decodes into `out`, which has room for DecodedSize(bytes) units.
    void DecodeTo(std::string_view bytes, char16_t* out) const;
    // '\n' and U+2029 (the editor's paragraph end) become CR LF. A character the code page
    // lacks becomes '?': CanHold tells beforehand.
    std::string Encode(std::u16string_view text) const;
    // The sizes Encode and Decode would give, for mapping offsets between the two forms.
    size_t EncodedSize(std::u16string_view text) const;
    size_t DecodedSize(std::string_view bytes) const;
    // True when every character of the text can be stored; line breaks always can.
    bool CanHold(std::u16string_view text) const;

    // The characters other programs are given for these bytes, as plain text: each line break
    // (CR LF) a '\n', every other byte the character it is in the notebook, a lone CR or LF,
    // U+2029, the noncharacters and U+10FF00 to U+10FFFF included. Bytes that are not UTF-8 in a
    // UTF-8 notebook are no character: each becomes U+FFFD.
    std::u16string ToPlainText(std::string_view bytes) const;
    // Plain text from another program as the UTF-8 bytes of a file holding it: '\n' and CR LF
    // are line breaks (CR LF), a lone CR stays a CR and every other character is itself. Halves
    // of surrogate pairs, which are no character, become U+FFFD; `replaced` counts them.
    static std::string PlainTextToUtf8(std::u16string_view text, size_t& replaced);

    // Bytes copied from a notebook with the encoding they are in, packed for the clipboard so
    // that another notebook, in this program or another, takes exactly them.
    struct Copied
    {
        Kind kind;
        std::string_view bytes;
    };
    static std::string Pack(Copied copied);
    // Nothing when `packed` is not what Pack makes.
    static std::optional<Copied> Unpack(std::string_view packed);

    // The text with each line feed that has no CR before it made a CR LF, the notebook's line
    // break.
    static std::string WithCrLf(std::string_view text);

    // Makes a folder name one line: each run of line breaks (CR, LF, vertical tab, form feed,
    // and in UTF-8 or a name that is valid UTF-8 the next-line, line and paragraph separators)
    // becomes one space, at the start and the end too, so nothing is dropped unseen. True when
    // the name changed.
    bool MakeOneLine(std::string& name) const;

    // Utf8 when the bytes are valid UTF-8.
    static Kind Detect(std::string_view bytes);
    static bool IsValidUtf8(std::string_view bytes);
    // The length of the UTF-8 sequence at bytes[i], with its character in `ch`; 0 when the
    // bytes there are not UTF-8 or the sequence is cut short by the end of `bytes`.
    static size_t ReadUtf8Char(std::string_view bytes, size_t i, char32_t& ch);
    static std::string Cp1252ToUtf8(std::string_view bytes);
    // False, leaving `out` unspecified, when the text holds a character Windows-1252 lacks.
    static bool Utf8ToCp1252(std::string_view bytes, std::string& out);

private:
    Kind m_kind;
};
