#include "search/SearchSyntax.h"

#include <array>
#include <bitset>
#include <iterator>
#include <vector>

#include <re2/re2.h>

#include "search/NotebookSearch.h"

namespace search_syntax {
namespace {

using Kind = TextEncoding::Kind;
using ByteSet = std::bitset<256>;
constexpr size_t npos = std::string_view::npos;

// The POSIX character classes in RE2's syntax for UTF-8 text, as the C library's UTF-8 locale
// draws them. None holds a line feed, which no match may cross. A Windows-1252 byte belongs to
// a class when the character it stands for does.
struct NamedClass
{
    std::string_view name;
    std::string_view utf8;
};
constexpr NamedClass kClasses[] = {
    { "alpha", "\\p{L}" },
    { "digit", "0-9" },
    { "alnum", "\\p{L}\\p{Nd}" },
    { "upper", "\\p{Lu}" },
    { "lower", "\\p{Ll}" },
    { "space", "\\t\\x0B\\f\\r\\p{Zs}\\x{2028}\\x{2029}" },
    { "blank", "\\t\\p{Zs}" },
    { "punct", "\\p{M}\\p{Nl}\\p{No}\\p{P}\\p{S}" },
    { "graph", "\\p{L}\\p{M}\\p{N}\\p{P}\\p{S}" },
    { "print", "\\p{L}\\p{M}\\p{N}\\p{P}\\p{S}\\p{Zs}" },
    { "cntrl", "\\x00-\\x09\\x0B-\\x1F\\x7F-\\x{9F}" },
    { "xdigit", "0-9A-Fa-f" },
};
constexpr size_t kSpaceClass = 5;
constexpr std::string_view kWordClass = "\\p{L}\\p{Nd}_";

// A one-character RE2 class in UTF-8, for telling characters apart.
RE2 NewClassTest(std::string_view body)
{
    RE2::Options options;
    options.set_log_errors(false);
    return RE2("[" + std::string(body) + "]", options);
}

const RE2& Utf8WordTest()
{
    static const RE2 test = NewClassTest(kWordClass);
    return test;
}

// Each Windows-1252 byte's classes, its word characters and its pairs of letter cases.
struct Cp1252Tables
{
    std::array<ByteSet, std::size(kClasses)> classes;
    ByteSet word;
    std::array<unsigned char, 256> otherCase {};

    Cp1252Tables()
    {
        const auto bytesIn = [](std::string_view body) {
            const RE2 test = NewClassTest(body);
            ByteSet set;
            for (int byte = 0; byte < 256; ++byte) {
                const char ch = static_cast<char>(byte);
                set[byte] = RE2::FullMatch(TextEncoding::Cp1252ToUtf8(std::string_view(&ch, 1)), test);
            }
            return set;
        };
        for (size_t i = 0; i < std::size(kClasses); ++i)
            classes[i] = bytesIn(kClasses[i].utf8);
        word = bytesIn(kWordClass);
        for (int byte = 0; byte < 256; ++byte) {
            if (const unsigned char lower = Cp1252LowerOf(static_cast<unsigned char>(byte))) {
                otherCase[byte] = lower;
                otherCase[lower] = static_cast<unsigned char>(byte);
            }
        }
    }
};

const Cp1252Tables& Cp1252()
{
    static const Cp1252Tables tables;
    return tables;
}

// The length of the character that begins at `pos`: a byte in Windows-1252; in UTF-8 a whole
// sequence, or one byte of one that is not valid.
size_t CharLength(Kind encoding, std::string_view text, size_t pos)
{
    const auto lead = static_cast<unsigned char>(text[pos]);
    if (encoding != Kind::Utf8 || lead < 0xC0)
        return 1;
    const size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2;
    for (size_t i = 1; i < length; ++i) {
        if (pos + i >= text.size() || (static_cast<unsigned char>(text[pos + i]) & 0xC0) != 0x80)
            return 1;
    }
    return length;
}

std::string Hex(unsigned byte)
{
    constexpr char kDigits[] = "0123456789ABCDEF";
    return std::string("\\x{") + kDigits[byte >> 4] + kDigits[byte & 15] + "}";
}

// One character of the pattern as itself in RE2's syntax, inside a class or out of one.
std::string Literal(Kind encoding, std::string_view ch)
{
    const auto byte = static_cast<unsigned char>(ch[0]);
    if (ch.size() > 1 || (encoding == Kind::Utf8 && byte >= 0x80))
        return std::string(ch);
    if (byte < 0x20 || byte >= 0x7F)
        return Hex(byte);
    if ((byte | 0x20) >= 'a' && (byte | 0x20) <= 'z')
        return std::string(ch);
    if (byte >= '0' && byte <= '9')
        return std::string(ch);
    return std::string("\\") + static_cast<char>(byte);
}

// A set of Windows-1252 bytes as an RE2 class.
std::string ByteClass(const ByteSet& set)
{
    if (set.none())
        return "[^\\x00-\\x{FF}]";
    std::string out = "[";
    for (unsigned byte = 0; byte < 256;) {
        if (!set[byte]) {
            ++byte;
            continue;
        }
        unsigned last = byte;
        while (last + 1 < 256 && set[last + 1])
            ++last;
        out += Hex(byte);
        if (last > byte)
            out += "-" + Hex(last);
        byte = last + 1;
    }
    return out + "]";
}

// Reads one pattern of GNU grep -E's dialect (no line feeds) and writes it in RE2's syntax.
class Translator
{
public:
    Translator(const SearchQuery& query, Scope scope, std::string_view pattern, SearchProblem& problem)
        : m_encoding(query.encoding)
        , m_bFoldBytes(!query.bMatchCase && query.encoding == Kind::Windows1252)
        , m_scope(scope)
        , m_pattern(pattern)
        , m_problem(problem)
    {
    }

    std::string Translate()
    {
        while (m_pos < m_pattern.size() && !m_problem)
            Next();
        return m_out;
    }

private:
    std::string_view CharAt(size_t pos) const { return m_pattern.substr(pos, CharLength(m_encoding, m_pattern, pos)); }

    // Starts an atom, which a repetition may follow.
    void Atom(const std::string& text)
    {
        m_atomStart = m_out.size();
        m_bRepeated = false;
        m_out += text;
    }
    // Ends what no repetition may follow: a repetition sign there is dropped.
    void NoAtom(const std::string& text)
    {
        m_atomStart = npos;
        m_out += text;
    }
    void Repeat(const std::string& sign)
    {
        // RE2 takes one repetition a time: "a**" and "a+?" repeat the repeated atom.
        if (m_bRepeated)
            m_out.insert(m_atomStart, "(?:").append(")");
        m_bRepeated = true;
        m_out += sign;
    }

    void LiteralAtom(std::string_view ch)
    {
        const auto byte = static_cast<unsigned char>(ch[0]);
        if (m_bFoldBytes && Cp1252().otherCase[byte])
            Atom("[" + Hex(byte) + Hex(Cp1252().otherCase[byte]) + "]");
        else
            Atom(Literal(m_encoding, ch));
    }

    // A class named by a letter after a backslash, \w \W \s \S.
    std::string EscapedClass(char letter) const
    {
        const bool bNegated = letter == 'W' || letter == 'S';
        const bool bWord = letter == 'w' || letter == 'W';
        if (m_encoding == Kind::Utf8)
            return std::string(bNegated ? "[^" : "[") + std::string(bWord ? kWordClass : kClasses[kSpaceClass].utf8)
                   + (bNegated ? "\\n]" : "]");
        ByteSet set = bWord ? Cp1252().word : Cp1252().classes[kSpaceClass];
        if (bNegated)
            set.flip();
        set.reset('\n');
        return ByteClass(set);
    }

    void Next()
    {
        const char ch = m_pattern[m_pos];
        switch (ch) {
        case '(':
            m_groups.push_back(m_out.size());
            NoAtom("(?:");
            ++m_pos;
            return;
        case ')':
            // An unmatched parenthesis stands for itself, as in GNU grep.
            if (m_groups.empty())
                break;
            m_out += ")";
            m_atomStart = m_groups.back();
            m_bRepeated = false;
            m_groups.pop_back();
            ++m_pos;
            return;
        case '|':
            NoAtom("|");
            ++m_pos;
            return;
        case '^':
            NoAtom("^");
            ++m_pos;
            return;
        case '$':
            NoAtom(EndOfLine());
            ++m_pos;
            return;
        case '.':
            Atom("[^\\n]");
            ++m_pos;
            return;
        case '[':
            Bracket();
            return;
        case '\\':
            Escape();
            return;
        case '*':
        case '+':
        case '?':
            // With nothing to repeat, as at the start, a repetition is dropped, as GNU grep
            // drops it.
            if (m_atomStart != npos)
                Repeat(std::string(1, ch));
            ++m_pos;
            return;
        case '{':
            if (!Interval())
                break;
            return;
        default:
            break;
        }
        const std::string_view literal = CharAt(m_pos);
        LiteralAtom(literal);
        m_pos += literal.size();
    }

    std::string EndOfLine() const { return m_scope == Scope::WholeText ? "(?:\\r?$)" : "$"; }

    // "{n}", "{n,}", "{,m}" or "{n,m}", dropped when there is nothing to repeat; anything else
    // leaves "{" a literal.
    bool Interval()
    {
        size_t pos = m_pos + 1;
        const auto digits = [&] {
            const size_t from = pos;
            while (pos < m_pattern.size() && m_pattern[pos] >= '0' && m_pattern[pos] <= '9')
                ++pos;
            return std::string(m_pattern.substr(from, pos - from));
        };
        const std::string least = digits();
        const bool bComma = pos < m_pattern.size() && m_pattern[pos] == ',';
        std::string most = least;
        if (bComma) {
            ++pos;
            most = digits();
        }
        if (pos >= m_pattern.size() || m_pattern[pos] != '}' || (least.empty() && !bComma))
            return false;
        if (m_atomStart != npos)
            Repeat("{" + (least.empty() ? std::string("0") : least) + (bComma ? "," : "") + (bComma ? most : "") + "}");
        m_pos = pos + 1;
        return true;
    }

    void Escape()
    {
        if (m_pos + 1 >= m_pattern.size()) {
            // RE2 reports the trailing backslash.
            m_out += "\\";
            ++m_pos;
            return;
        }
        const std::string_view escaped = CharAt(m_pos + 1);
        const char letter = escaped[0];
        if (letter >= '1' && letter <= '9') {
            m_problem = { SearchProblem::Kind::BackReference, std::string("\\") + letter };
            return;
        }
        if (letter == '<' || letter == '>' || letter == 'b' || letter == 'B') {
            m_problem = { SearchProblem::Kind::WordBoundary, std::string("\\") + letter };
            return;
        }
        m_pos += 1 + escaped.size();
        switch (letter) {
        case 'w':
        case 'W':
        case 's':
        case 'S':
            Atom(EscapedClass(letter));
            return;
        case '`':
            NoAtom("^");
            return;
        case '\'':
            NoAtom(EndOfLine());
            return;
        default:
            LiteralAtom(escaped);
            return;
        }
    }

    // One element of a bracket expression: a character, a class, or a collating element or
    // equivalence class of one character. False, with the problem set, when malformed.
    struct Element
    {
        std::string_view ch;
        int named = -1; // the index of a class in kClasses
    };
    bool ReadElement(size_t& pos, Element& element)
    {
        if (m_pattern[pos] == '[' && pos + 1 < m_pattern.size()
            && (m_pattern[pos + 1] == ':' || m_pattern[pos + 1] == '.' || m_pattern[pos + 1] == '=')) {
            const char kind = m_pattern[pos + 1];
            const size_t end = m_pattern.find(std::string { kind, ']' }, pos + 2);
            if (end == npos) {
                m_problem = { SearchProblem::Kind::MalformedRegex, "Unmatched [, [^, [:, [., or [=" };
                return false;
            }
            const std::string_view name = m_pattern.substr(pos + 2, end - pos - 2);
            pos = end + 2;
            if (kind == ':') {
                for (size_t i = 0; i < std::size(kClasses); ++i) {
                    if (kClasses[i].name == name) {
                        element.named = static_cast<int>(i);
                        return true;
                    }
                }
                m_problem = { SearchProblem::Kind::MalformedRegex, "Invalid character class name" };
                return false;
            }
            if (name.empty() || CharLength(m_encoding, name, 0) != name.size()) {
                m_problem = { SearchProblem::Kind::MalformedRegex, "Invalid collation character" };
                return false;
            }
            element.ch = name;
            return true;
        }
        element.ch = CharAt(pos);
        pos += element.ch.size();
        return true;
    }

    // A bracket expression: a backslash is itself there, "]" first is a member, and a class
    // names characters of the notebook's encoding.
    void Bracket()
    {
        size_t pos = m_pos + 1;
        const bool bNegated = pos < m_pattern.size() && m_pattern[pos] == '^';
        if (bNegated)
            ++pos;
        std::string utf8; // the members in RE2's syntax, for a UTF-8 notebook
        ByteSet bytes;    // the members, for a Windows-1252 one
        for (bool bFirst = true;; bFirst = false) {
            if (pos >= m_pattern.size()) {
                m_problem = { SearchProblem::Kind::MalformedRegex, "Unmatched [, [^, [:, [., or [=" };
                return;
            }
            if (m_pattern[pos] == ']' && !bFirst)
                break;
            Element from;
            if (!ReadElement(pos, from))
                return;
            Element to = from;
            if (from.named < 0 && pos + 1 < m_pattern.size() && m_pattern[pos] == '-' && m_pattern[pos + 1] != ']') {
                ++pos;
                if (!ReadElement(pos, to))
                    return;
                const auto first = static_cast<unsigned char>(from.ch[0]);
                const auto last = static_cast<unsigned char>(to.ch.empty() ? 0 : to.ch[0]);
                if (to.named >= 0 || (m_encoding != Kind::Utf8 && last < first)) {
                    m_problem = { SearchProblem::Kind::MalformedRegex, "Invalid range end" };
                    return;
                }
            }
            if (from.named >= 0) {
                utf8 += kClasses[static_cast<size_t>(from.named)].utf8;
                bytes |= Cp1252().classes[static_cast<size_t>(from.named)];
            } else if (m_encoding == Kind::Utf8) {
                // RE2 reports a range whose ends are the wrong way round.
                utf8 += Literal(m_encoding, from.ch);
                if (to.ch != from.ch)
                    utf8 += "-" + Literal(m_encoding, to.ch);
            } else {
                for (unsigned byte = static_cast<unsigned char>(from.ch[0]); byte <= static_cast<unsigned char>(to.ch[0]); ++byte)
                    bytes.set(byte);
            }
        }
        m_pos = pos + 1;
        if (m_encoding == Kind::Utf8) {
            Atom(std::string(bNegated ? "[^" : "[") + utf8 + (bNegated ? "\\n]" : "]"));
            return;
        }
        if (m_bFoldBytes) {
            for (unsigned byte = 0; byte < 256; ++byte) {
                if (bytes[byte] && Cp1252().otherCase[byte])
                    bytes.set(Cp1252().otherCase[byte]);
            }
        }
        if (bNegated)
            bytes.flip();
        bytes.reset('\n');
        Atom(ByteClass(bytes));
    }

    const Kind m_encoding;
    const bool m_bFoldBytes; // Windows-1252 without matching case: each letter stands for both
    const Scope m_scope;
    const std::string_view m_pattern;
    SearchProblem& m_problem;
    size_t m_pos = 0;
    std::string m_out;
    size_t m_atomStart = npos; // where the atom a repetition would repeat begins in m_out
    bool m_bRepeated = false;  // that atom is repeated already
    std::vector<size_t> m_groups;
};

std::string NonWordClass(Kind encoding)
{
    if (encoding == Kind::Utf8)
        return "[^" + std::string(kWordClass) + "]";
    return ByteClass(~Cp1252().word);
}

} // namespace

unsigned char Cp1252LowerOf(unsigned char ch)
{
    if (ch >= 'A' && ch <= 'Z')
        return ch | 0x20;
    if (ch >= 0xC0 && ch <= 0xDE && ch != 0xD7)
        return ch | 0x20;
    switch (ch) {
    case 0x8A: // Š
    case 0x8C: // Œ
    case 0x8E: // Ž
        return ch + 0x10;
    case 0x9F: // Ÿ
        return 0xFF;
    default:
        return 0;
    }
}

std::string ToEnginePattern(const SearchQuery& query, Scope scope, SearchProblem& problem)
{
    // A literal is a regular expression with its special characters escaped; a line feed, which
    // no line holds, stays one.
    std::string pattern;
    if (query.bRegex) {
        pattern = query.pattern;
    } else {
        for (char ch : query.pattern) {
            if (std::string_view(".[]()*+?{}|^$\\").find(ch) != npos)
                pattern += '\\';
            pattern += ch;
        }
    }
    // Lines of a regular expression are patterns of their own, any of which may match.
    std::vector<std::string> alternatives;
    for (size_t pos = 0; pos <= pattern.size();) {
        size_t end = query.bRegex ? pattern.find('\n', pos) : npos;
        if (end == npos)
            end = pattern.size();
        alternatives.push_back(Translator(query, scope, std::string_view(pattern).substr(pos, end - pos), problem).Translate());
        if (problem)
            return {};
        pos = end + 1;
    }
    std::string out = "(?m)";
    if (scope == Scope::Line && query.bWholeWords)
        out += "(?:^|" + NonWordClass(query.encoding) + ")(";
    for (const std::string& alternative : alternatives) {
        if (alternatives.size() > 1)
            out += (&alternative == &alternatives.front() ? "(?:" : "|(?:") + alternative + ")";
        else
            out += alternative;
    }
    if (scope == Scope::Line && query.bWholeWords)
        out += ")(?:" + NonWordClass(query.encoding) + "|$)";
    return out;
}

bool IsWordCharAt(Kind encoding, std::string_view line, size_t pos)
{
    if (pos >= line.size())
        return false;
    const auto byte = static_cast<unsigned char>(line[pos]);
    if (encoding == Kind::Windows1252)
        return Cp1252().word[byte];
    if (byte < 0x80)
        return Cp1252().word[byte];
    return RE2::FullMatch(line.substr(pos, CharLength(encoding, line, pos)), Utf8WordTest());
}

bool IsWordCharBefore(Kind encoding, std::string_view line, size_t pos)
{
    if (pos == 0 || pos > line.size())
        return false;
    size_t start = pos - 1;
    if (encoding == Kind::Utf8) {
        // Back over continuation bytes to the start of the character.
        while (start > 0 && pos - start < 4 && (static_cast<unsigned char>(line[start]) & 0xC0) == 0x80)
            --start;
        if (start + CharLength(encoding, line, start) != pos)
            start = pos - 1;
    }
    return IsWordCharAt(encoding, line, start);
}

} // namespace search_syntax
