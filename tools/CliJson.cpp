#include "CliJson.h"

#include "storage/TextEncoding.h"

namespace {

// A UTF-16 code unit as \uXXXX.
void AppendEscape(std::string& out, char32_t unit)
{
    static constexpr char kHex[] = "0123456789ABCDEF";
    out += "\\u";
    for (int shift = 12; shift >= 0; shift -= 4)
        out += kHex[(unit >> shift) & 0xF];
}

// Valid UTF-8 as a JSON string.
std::string Quoted(std::string_view utf8)
{
    std::string out = "\"";
    for (size_t i = 0; i < utf8.size();) {
        char32_t ch = 0;
        const size_t length = TextEncoding::ReadUtf8Char(utf8, i, ch);
        i += length > 0 ? length : 1;
        if (ch == '"' || ch == '\\') {
            out += '\\';
            out += static_cast<char>(ch);
        } else if (ch == '\n') {
            out += "\\n";
        } else if (ch == '\t') {
            out += "\\t";
        } else if (ch >= 0x20 && ch < 0x7F) {
            out += static_cast<char>(ch);
        } else if (ch > 0xFFFF) {
            AppendEscape(out, 0xD800 + ((ch - 0x10000) >> 10));
            AppendEscape(out, 0xDC00 + ((ch - 0x10000) & 0x3FF));
        } else {
            AppendEscape(out, ch);
        }
    }
    return out + "\"";
}

std::string Base64(std::string_view bytes)
{
    static constexpr char kDigits[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    out.reserve((bytes.size() + 2) / 3 * 4);
    for (size_t i = 0; i < bytes.size(); i += 3) {
        const size_t left = bytes.size() - i;
        unsigned group = static_cast<unsigned char>(bytes[i]) << 16;
        if (left > 1)
            group |= static_cast<unsigned char>(bytes[i + 1]) << 8;
        if (left > 2)
            group |= static_cast<unsigned char>(bytes[i + 2]);
        out += kDigits[(group >> 18) & 63];
        out += kDigits[(group >> 12) & 63];
        out += left > 1 ? kDigits[(group >> 6) & 63] : '=';
        out += left > 2 ? kDigits[group & 63] : '=';
    }
    return out;
}

} // namespace

JsonObject& JsonObject::Key(std::string_view key)
{
    m_members += m_members.empty() ? "" : ",";
    m_members += Quoted(key);
    m_members += ':';
    return *this;
}

JsonObject& JsonObject::String(std::string_view key, std::string_view utf8)
{
    Key(key);
    m_members += Quoted(utf8);
    return *this;
}

JsonObject& JsonObject::Data(std::string_view key, std::string_view bytes)
{
    Key(key);
    if (TextEncoding::IsValidUtf8(bytes))
        m_members += "{\"text\":" + Quoted(bytes) + "}";
    else
        m_members += "{\"bytes\":\"" + Base64(bytes) + "\"}";
    return *this;
}

JsonObject& JsonObject::Number(std::string_view key, long long value)
{
    Key(key);
    m_members += std::to_string(value);
    return *this;
}

JsonObject& JsonObject::Bool(std::string_view key, bool bValue)
{
    Key(key);
    m_members += bValue ? "true" : "false";
    return *this;
}

JsonObject& JsonObject::Null(std::string_view key)
{
    Key(key);
    m_members += "null";
    return *this;
}

JsonObject& JsonObject::Json(std::string_view key, std::string_view json)
{
    Key(key);
    m_members += json;
    return *this;
}

std::string JsonObject::Text() const
{
    return "{" + m_members + "}";
}
