#include "storage/TextEncoding.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace {

using Kind = TextEncoding::Kind;

// Windows-1252 bytes 0x80 to 0x9F. The five bytes the code page leaves unassigned keep their
// C1 control code, so every byte decodes to a character and encodes back to itself.
constexpr std::array<char16_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

// The stand-ins are U+10FF00 to U+10FFFF, one per byte value: in UTF-16 a fixed high
// surrogate and a low one that carries the byte.
constexpr char32_t kFirstStandIn = 0x10FF00;
constexpr char16_t kStandInHigh = 0xDBFF;
constexpr char16_t kStandInLow = 0xDF00;

constexpr char16_t kParagraphEnd = 0x2029;
constexpr char32_t kReplacement = 0xFFFD;

// The names that open packed copies, each with its line feed.
constexpr std::string_view kUtf8Name = "UTF-8\n";
constexpr std::string_view kCp1252Name = "Windows-1252\n";

bool IsStandInAt(std::u16string_view text, size_t i)
{
    return text[i] == kStandInHigh && i + 1 < text.size() && text[i + 1] >= kStandInLow;
}

// The Windows-1252 byte of a UTF-16 code unit, or -1 when the code page lacks it.
int Cp1252Byte(char32_t ch)
{
    if (ch < 0x80 || (ch >= 0xA0 && ch <= 0xFF))
        return static_cast<int>(ch);
    for (size_t i = 0; i < kHighControls.size(); ++i) {
        if (kHighControls[i] == ch)
            return static_cast<int>(0x80 + i);
    }
    return -1;
}

char32_t Cp1252Char(unsigned char byte)
{
    return byte >= 0x80 && byte < 0xA0 ? kHighControls[byte - 0x80] : byte;
}

// The length of the valid UTF-8 sequence starting at bytes[i], with its code point; 0 when
// the bytes there are not UTF-8.
size_t ReadUtf8(std::string_view bytes, size_t i, char32_t& cp)
{
    const auto lead = static_cast<unsigned char>(bytes[i]);
    if (lead < 0x80) {
        cp = lead;
        return 1;
    }
    size_t length;
    char32_t min;
    if ((lead & 0xE0) == 0xC0)
        length = 2, min = 0x80, cp = lead & 0x1F;
    else if ((lead & 0xF0) == 0xE0)
        length = 3, min = 0x800, cp = lead & 0x0F;
    else if ((lead & 0xF8) == 0xF0)
        length = 4, min = 0x10000, cp = lead & 0x07;
    else
        return 0;
    if (bytes.size() - i < length)
        return 0;
    for (size_t k = 1; k < length; ++k) {
        const auto follow = static_cast<unsigned char>(bytes[i + k]);
        if ((follow & 0xC0) != 0x80)
            return 0;
        cp = (cp << 6) | (follow & 0x3F);
    }
    // Overlong forms, surrogates and values beyond Unicode are not UTF-8.
    if (cp < min || (cp >= 0xD800 && cp <= 0xDFFF) || cp > 0x10FFFF)
        return 0;
    return length;
}

template <typename Out>
void PutUtf16(Out& out, char32_t cp)
{
    if (cp < 0x10000) {
        out.push_back(static_cast<char16_t>(cp));
        return;
    }
    cp -= 0x10000;
    out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
    out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
}

template <typename Out>
void PutUtf8(Out& out, char32_t cp)
{
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
}

template <typename Out>
void PutStandIns(Out& out, std::string_view bytes)
{
    for (const char byte : bytes) {
        out.push_back(kStandInHigh);
        out.push_back(static_cast<char16_t>(kStandInLow + static_cast<unsigned char>(byte)));
    }
}

// Characters the editor takes for its own structure, and the stand-ins' own range.
bool NeedsStandIn(char32_t cp)
{
    return cp == kParagraphEnd || cp == 0xFDD0 || cp == 0xFDD1 || cp >= kFirstStandIn;
}

// Counts what would be written, for the sizes without the strings.
template <typename Unit>
struct Counter
{
    size_t size = 0;
    void push_back(Unit) { ++size; }
};

// Writes through a pointer into room made beforehand.
template <typename Unit>
struct PointerSink
{
    Unit* p;
    void push_back(Unit unit) { *p++ = unit; }
};

template <typename Out>
void DecodeInto(Kind kind, std::string_view bytes, Out& out)
{
    for (size_t i = 0; i < bytes.size();) {
        const char byte = bytes[i];
        // Printable ASCII, most of any notebook, is itself in both encodings.
        if (byte >= 0x20 && byte < 0x7F) {
            out.push_back(static_cast<char16_t>(byte));
            ++i;
            continue;
        }
        if (byte == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') {
            out.push_back(u'\n');
            i += 2;
            continue;
        }
        if (byte == '\r' || byte == '\n') {
            PutStandIns(out, bytes.substr(i, 1));
            ++i;
            continue;
        }
        if (kind == Kind::Windows1252) {
            out.push_back(static_cast<char16_t>(Cp1252Char(static_cast<unsigned char>(byte))));
            ++i;
            continue;
        }
        char32_t cp = 0;
        const size_t length = ReadUtf8(bytes, i, cp);
        if (length == 0) {
            PutStandIns(out, bytes.substr(i, 1));
            ++i;
        } else {
            if (NeedsStandIn(cp))
                PutStandIns(out, bytes.substr(i, length));
            else
                PutUtf16(out, cp);
            i += length;
        }
    }
}

template <typename Out>
void EncodeInto(Kind kind, std::u16string_view text, Out& out)
{
    for (size_t i = 0; i < text.size(); ++i) {
        const char16_t unit = text[i];
        if (unit < 0x80 && unit != u'\n') {
            out.push_back(static_cast<char>(unit));
            continue;
        }
        if (unit == u'\n' || unit == kParagraphEnd) {
            out.push_back('\r');
            out.push_back('\n');
            continue;
        }
        if (IsStandInAt(text, i)) {
            out.push_back(static_cast<char>(text[++i] - kStandInLow));
            continue;
        }
        char32_t cp = unit;
        if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF)
            cp = 0x10000 + ((unit - 0xD800) << 10) + (text[++i] - 0xDC00);
        else if (unit >= 0xD800 && unit <= 0xDFFF)
            cp = 0xFFFD; // half of a pair, cut off by a partial read
        if (kind == Kind::Utf8) {
            PutUtf8(out, cp);
        } else {
            const int mapped = Cp1252Byte(cp);
            out.push_back(mapped < 0 ? '?' : static_cast<char>(mapped));
        }
    }
}

} // namespace

std::u16string TextEncoding::Decode(std::string_view bytes) const
{
    std::u16string text;
    text.reserve(bytes.size());
    DecodeInto(m_kind, bytes, text);
    return text;
}

void TextEncoding::DecodeTo(std::string_view bytes, char16_t* out) const
{
    PointerSink<char16_t> sink { out };
    DecodeInto(m_kind, bytes, sink);
}

std::string TextEncoding::Encode(std::u16string_view text) const
{
    // No unit takes more than three bytes: a line break two, a pair of units four.
    std::string bytes(3 * text.size(), '\0');
    PointerSink<char> sink { bytes.data() };
    EncodeInto(m_kind, text, sink);
    bytes.resize(static_cast<size_t>(sink.p - bytes.data()));
    return bytes;
}

size_t TextEncoding::EncodedSize(std::u16string_view text) const
{
    Counter<char> counter;
    EncodeInto(m_kind, text, counter);
    return counter.size;
}

size_t TextEncoding::DecodedSize(std::string_view bytes) const
{
    Counter<char16_t> counter;
    DecodeInto(m_kind, bytes, counter);
    return counter.size;
}

bool TextEncoding::CanHold(std::u16string_view text) const
{
    if (m_kind == Kind::Utf8)
        return true;
    for (size_t i = 0; i < text.size(); ++i) {
        if (IsStandInAt(text, i)) {
            ++i;
            continue;
        }
        if (text[i] != u'\n' && text[i] != kParagraphEnd && Cp1252Byte(text[i]) < 0)
            return false;
    }
    return true;
}

std::u16string TextEncoding::ToPlainText(std::string_view bytes) const
{
    std::u16string text;
    text.reserve(bytes.size());
    for (size_t i = 0; i < bytes.size();) {
        const auto byte = static_cast<unsigned char>(bytes[i]);
        if (byte == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') {
            text.push_back(u'\n');
            i += 2;
        } else if (m_kind == Kind::Windows1252 || byte < 0x80) {
            text.push_back(static_cast<char16_t>(Cp1252Char(byte)));
            ++i;
        } else {
            char32_t cp = 0;
            const size_t length = ReadUtf8(bytes, i, cp);
            PutUtf16(text, length == 0 ? kReplacement : cp);
            i += std::max<size_t>(length, 1);
        }
    }
    return text;
}

std::string TextEncoding::PlainTextToUtf8(std::u16string_view text, size_t& replaced)
{
    std::string bytes;
    bytes.reserve(text.size());
    replaced = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        const char16_t unit = text[i];
        if (unit == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
            continue; // the line feed that follows makes the line break
        if (unit == u'\n') {
            bytes += "\r\n";
            continue;
        }
        char32_t cp = unit;
        if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
            cp = 0x10000 + ((unit - 0xD800) << 10) + (text[++i] - 0xDC00);
        } else if (unit >= 0xD800 && unit <= 0xDFFF) {
            cp = kReplacement;
            ++replaced;
        }
        PutUtf8(bytes, cp);
    }
    return bytes;
}

std::string TextEncoding::Pack(Copied copied)
{
    std::string packed(copied.kind == Kind::Utf8 ? kUtf8Name : kCp1252Name);
    packed += copied.bytes;
    return packed;
}

std::optional<TextEncoding::Copied> TextEncoding::Unpack(std::string_view packed)
{
    if (packed.starts_with(kUtf8Name))
        return Copied { Kind::Utf8, packed.substr(kUtf8Name.size()) };
    if (packed.starts_with(kCp1252Name))
        return Copied { Kind::Windows1252, packed.substr(kCp1252Name.size()) };
    return std::nullopt;
}

bool TextEncoding::MakeOneLine(std::string& name) const
{
    static constexpr std::string_view kBreaks[] = { "\r", "\n", "\v", "\f" };
    static constexpr std::string_view kUtf8Breaks[] = { "\xC2\x85", "\xE2\x80\xA8", "\xE2\x80\xA9" };
    // Most names hold none of the bytes that can begin a break.
    if (name.find_first_of("\r\n\v\f\xC2\xE2") == std::string::npos)
        return false;
    // A name that is valid UTF-8 breaks there in a Windows-1252 notebook too: the notebook is
    // read as UTF-8 once a save has dropped the lines that made the file invalid UTF-8, and the
    // name must read back as it was.
    const bool bUtf8Breaks = m_kind == Kind::Utf8 || Detect(name) == Kind::Utf8;
    const auto breakAt = [bUtf8Breaks](std::string_view rest) -> size_t {
        for (const std::string_view brk : kBreaks) {
            if (rest.starts_with(brk))
                return brk.size();
        }
        if (bUtf8Breaks) {
            for (const std::string_view brk : kUtf8Breaks) {
                if (rest.starts_with(brk))
                    return brk.size();
            }
        }
        return 0;
    };
    // A break at either end becomes a space as well: the name prompt shows every break as a
    // space, and the name keeps what the prompt showed.
    std::string line;
    bool bChanged = false;
    bool bInRun = false;
    for (size_t i = 0; i < name.size();) {
        if (const size_t length = breakAt(std::string_view(name).substr(i))) {
            if (!bInRun)
                line += ' ';
            bChanged = true;
            bInRun = true;
            i += length;
            continue;
        }
        bInRun = false;
        line += name[i++];
    }
    if (bChanged)
        name = std::move(line);
    return bChanged;
}

TextEncoding::Kind TextEncoding::Detect(std::string_view bytes)
{
    return IsValidUtf8(bytes) ? Kind::Utf8 : Kind::Windows1252;
}

bool TextEncoding::IsValidUtf8(std::string_view bytes)
{
    // Plain ASCII is most of any notebook: a block of it is skipped at once; a block holding
    // other bytes is decoded.
    constexpr size_t kBlock = 64;
    const auto isAscii = [&](size_t at) {
#ifdef __SSE2__
        const auto part = [&](size_t offset) {
            return _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes.data() + at + offset));
        };
        return _mm_movemask_epi8(_mm_or_si128(_mm_or_si128(part(0), part(16)), _mm_or_si128(part(32), part(48)))) == 0;
#else
        uint64_t words[kBlock / 8];
        std::memcpy(words, bytes.data() + at, kBlock);
        uint64_t all = 0;
        for (const uint64_t word : words)
            all |= word;
        return (all & 0x8080808080808080) == 0;
#endif
    };
    char32_t cp = 0;
    for (size_t i = 0; i < bytes.size();) {
        if (bytes.size() - i >= kBlock && isAscii(i)) {
            i += kBlock;
            continue;
        }
        for (const size_t end = std::min(i + kBlock, bytes.size()); i < end;) {
            if (static_cast<unsigned char>(bytes[i]) < 0x80) {
                ++i;
                continue;
            }
            const size_t length = ReadUtf8(bytes, i, cp);
            if (length == 0)
                return false;
            i += length;
        }
    }
    return true;
}

std::string TextEncoding::Cp1252ToUtf8(std::string_view bytes)
{
    std::string out;
    out.reserve(bytes.size());
    for (const char byte : bytes)
        PutUtf8(out, Cp1252Char(static_cast<unsigned char>(byte)));
    return out;
}

size_t TextEncoding::ReadUtf8Char(std::string_view bytes, size_t i, char32_t& ch)
{
    return ReadUtf8(bytes, i, ch);
}

bool TextEncoding::Utf8ToCp1252(std::string_view bytes, std::string& out)
{
    out.clear();
    out.reserve(bytes.size());
    char32_t cp = 0;
    for (size_t i = 0; i < bytes.size();) {
        const size_t length = ReadUtf8(bytes, i, cp);
        const int mapped = length == 0 ? -1 : Cp1252Byte(cp);
        if (mapped < 0)
            return false;
        out.push_back(static_cast<char>(mapped));
        i += length;
    }
    return true;
}

std::string TextEncoding::WithCrLf(std::string_view text)
{
    std::string out;
    out.reserve(text.size() + text.size() / 16);
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r'))
            out += '\r';
        out += text[i];
    }
    return out;
}
