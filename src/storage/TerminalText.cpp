#include "storage/TerminalText.h"

#include <cstdio>
#include <utility>

namespace {

void AppendEscape(std::string& out, const char* format, unsigned value)
{
    char buffer[16];
    const int length = std::snprintf(buffer, sizeof buffer, format, value);
    out.append(buffer, static_cast<size_t>(length));
}

// Whether the bytes at the end of `text`, from `i`, can still become one UTF-8 character.
bool IsCutUtf8(std::string_view text, size_t i)
{
    const auto lead = static_cast<unsigned char>(text[i]);
    const size_t length = (lead & 0xE0) == 0xC0 ? 2 : (lead & 0xF0) == 0xE0 ? 3 : (lead & 0xF8) == 0xF0 ? 4 : 0;
    if (text.size() - i >= length)
        return false;
    for (size_t k = i + 1; k < text.size(); ++k) {
        if ((static_cast<unsigned char>(text[k]) & 0xC0) != 0x80)
            return false;
    }
    return true;
}

// What a terminal lays text out by rather than shows: a bidirectional control turns the rest of
// the line around (a path or a header could read as another), a separator breaks it.
bool IsLayoutControl(char32_t ch)
{
    return (ch >= 0x202A && ch <= 0x202E) || (ch >= 0x2066 && ch <= 0x2069) || ch == 0x2028 || ch == 0x2029;
}

} // namespace

TerminalText::TerminalText(TextEncoding::Kind kind, CharWriter writer)
    : m_kind(kind)
    , m_writer(std::move(writer))
{
}

std::string TerminalText::Show(std::string_view bytes)
{
    // Every Windows-1252 byte is a character: in UTF-8 nothing is cut but a CR LF.
    std::string text = std::exchange(m_waiting, {});
    if (m_kind == TextEncoding::Kind::Windows1252)
        text += TextEncoding::Cp1252ToUtf8(bytes);
    else
        text += bytes;
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size();) {
        if (text[i] == '\r' && i + 1 == text.size()) {
            m_waiting.assign(1, '\r');
            break;
        }
        if (text[i] == '\r' && text[i + 1] == '\n') {
            out += "\r\n";
            i += 2;
            continue;
        }
        char32_t ch = 0;
        const size_t length = TextEncoding::ReadUtf8Char(text, i, ch);
        if (length > 0) {
            ShowChar(ch, std::string_view(text).substr(i, length), out);
            i += length;
        } else if (IsCutUtf8(text, i)) {
            m_waiting = text.substr(i);
            break;
        } else {
            AppendEscape(out, "\\x%02X", static_cast<unsigned char>(text[i]));
            ++i;
        }
    }
    return out;
}

std::string TerminalText::Finish()
{
    std::string out;
    for (const char byte : std::exchange(m_waiting, {})) {
        if (byte == '\r')
            out += "^M";
        else
            AppendEscape(out, "\\x%02X", static_cast<unsigned char>(byte));
    }
    return out;
}

void TerminalText::ShowChar(char32_t ch, std::string_view utf8, std::string& out) const
{
    if (ch == '\t' || ch == '\n') {
        out += static_cast<char>(ch);
    } else if (ch < 0x20 || ch == 0x7F) {
        out += '^';
        out += static_cast<char>(ch ^ 0x40);
    } else if ((ch >= 0x80 && ch < 0xA0) || IsLayoutControl(ch)) {
        AppendEscape(out, "\\u%04X", ch);
    } else if (!m_writer) {
        out += utf8;
    } else if (!m_writer(ch, out)) {
        AppendEscape(out, ch > 0xFFFF ? "\\U%08X" : "\\u%04X", ch);
    }
}
