#include "search/SearchSyntax.h"

#include <algorithm>
#include <array>
#include <bitset>
#include <iterator>
#include <limits>
#include <optional>
#include <vector>

#include <re2/re2.h>

#include "search/LiteralFinder.h"
#include "search/NotebookSearch.h"
#include "search/SearchReasons.h"

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

// The most times RE2 repeats anything, counts within counts multiplied.
constexpr long long kMaxRepeat = 1000;

// What is known of the strings a part of a pattern matches, for skipping text that cannot hold a
// match: all of them, when they are few (exact), or sets of strings one of which each match
// starts with, ends with, or holds. An empty set knows nothing, and none but an exact one holds
// "", which every text holds. Strings are folded as FoldTable folds the text.
using Strings = std::vector<std::string>; // sorted, without repeats
struct Literals
{
    bool bExact = false;
    Strings exact;
    Strings prefixes;
    Strings suffixes;
    Strings inner;

    static Literals Exact(Strings strings)
    {
        Literals literals;
        literals.bExact = true;
        literals.exact = std::move(strings);
        return literals;
    }
    static Literals Empty() { return Exact({ std::string() }); }
};

// Bounds that keep the sets quick to make: past them less is known, never anything false.
constexpr size_t kMaxProduct = 256;    // strings a concatenation makes of two sets
constexpr size_t kMaxStrings = 100000; // strings an alternation makes
constexpr size_t kMaxLength = 256;     // bytes of one string
constexpr size_t kMaxClass = 64;       // characters of a bracket expression taken as strings
constexpr size_t kMaxKept = 16;        // bytes of a string kept where not all is known: past them
                                       // a string hardly grows rarer

void Normalize(Strings& strings)
{
    std::sort(strings.begin(), strings.end());
    strings.erase(std::unique(strings.begin(), strings.end()), strings.end());
}

// A set with each string's first, or last, kMaxKept bytes: what each match starts, or ends,
// with still.
Strings Heads(Strings strings)
{
    for (std::string& string : strings) {
        if (string.size() > kMaxKept)
            string.resize(kMaxKept);
    }
    Normalize(strings);
    return strings;
}
Strings Tails(Strings strings)
{
    for (std::string& string : strings) {
        if (string.size() > kMaxKept)
            string.erase(0, string.size() - kMaxKept);
    }
    Normalize(strings);
    return strings;
}

// An inexact part with its sets kept short.
Literals Trimmed(Literals part)
{
    part.prefixes = Heads(std::move(part.prefixes));
    part.suffixes = Tails(std::move(part.suffixes));
    part.inner = Heads(std::move(part.inner));
    return part;
}

// A set as something each match holds: nothing is known from one that holds "".
Strings Known(const Strings& strings)
{
    return std::find(strings.begin(), strings.end(), std::string()) == strings.end() ? strings : Strings();
}

Strings PrefixesOf(const Literals& part) { return part.bExact ? Known(part.exact) : part.prefixes; }
Strings SuffixesOf(const Literals& part) { return part.bExact ? Known(part.exact) : part.suffixes; }
Strings InnerOf(const Literals& part) { return part.bExact ? Known(part.exact) : part.inner; }

// Every string of `a` followed by every string of `b`; nothing when too many or too long.
std::optional<Strings> Product(const Strings& a, const Strings& b)
{
    if (a.empty() || b.empty() || a.size() * b.size() > kMaxProduct)
        return std::nullopt;
    Strings out;
    out.reserve(a.size() * b.size());
    for (const std::string& left : a) {
        for (const std::string& right : b) {
            if (left.size() + right.size() > kMaxLength)
                return std::nullopt;
            out.push_back(left + right);
        }
    }
    Normalize(out);
    return out;
}

// How many places of a text a set is expected to be found at, per byte.
double Expected(const Strings& strings)
{
    double sum = 0;
    for (const std::string& string : strings) {
        double product = 1;
        for (char ch : string)
            product *= LiteralFinder::Frequency(static_cast<unsigned char>(ch));
        sum += product;
    }
    return sum;
}

// Roughly the nanoseconds a byte of text takes when a set is looked for first: each place found
// costs a look at its line with the engine, and many strings are found more slowly than one.
double Cost(const Strings& strings)
{
    constexpr double kLineLook = 200;
    if (strings.empty())
        return std::numeric_limits<double>::infinity();
    return Expected(strings) * kLineLook + (strings.size() == 1 ? 0.1 : strings.size() <= 16 ? 0.3 : 1.0);
}

Strings* Rarest(std::initializer_list<Strings*> sets)
{
    Strings* pBest = *sets.begin();
    for (Strings* pSet : sets) {
        if (Cost(*pSet) < Cost(*pBest))
            pBest = pSet;
    }
    return pBest;
}

// The rarest of the sets and a part's prefixes and suffixes, taken from where it is no longer
// needed.
Strings TakeRarest(Strings& prefixes, Strings& suffixes, std::initializer_list<Strings*> others)
{
    Strings* pBest = Rarest({ &prefixes, &suffixes });
    for (Strings* pSet : others) {
        if (Cost(*pSet) < Cost(*pBest))
            pBest = pSet;
    }
    return pBest == &prefixes || pBest == &suffixes ? *pBest : std::move(*pBest);
}

Literals Concat(Literals a, const Literals& b)
{
    if (a.bExact && b.bExact) {
        if (std::optional<Strings> product = Product(a.exact, b.exact))
            return Literals::Exact(std::move(*product));
    }
    Literals out;
    Strings across = Product(SuffixesOf(a), PrefixesOf(b)).value_or(Strings());
    if (a.bExact) {
        const std::optional<Strings> longer = Product(a.exact, PrefixesOf(b));
        out.prefixes = Known(longer ? *longer : a.exact);
    } else {
        out.prefixes = std::move(a.prefixes);
    }
    if (b.bExact) {
        const std::optional<Strings> longer = Product(SuffixesOf(a), b.exact);
        out.suffixes = Known(longer ? *longer : b.exact);
    } else {
        out.suffixes = b.suffixes;
    }
    Strings inA = a.bExact ? Known(a.exact) : std::move(a.inner);
    Strings inB = InnerOf(b);
    out.inner = TakeRarest(out.prefixes, out.suffixes, { &inA, &inB, &across });
    return Trimmed(std::move(out));
}

// The union of sets each of which a match of one alternative holds; nothing unless all do.
Strings UnionOf(const std::vector<Literals>& parts, Strings (*of)(const Literals&))
{
    Strings out;
    for (const Literals& part : parts) {
        const Strings strings = of(part);
        if (strings.empty() || out.size() + strings.size() > kMaxStrings)
            return {};
        out.insert(out.end(), strings.begin(), strings.end());
    }
    Normalize(out);
    return out;
}

Strings ExactOf(const Literals& part) { return part.exact; }

Literals Alternate(const std::vector<Literals>& parts)
{
    if (parts.size() == 1)
        return parts.front();
    if (std::all_of(parts.begin(), parts.end(), [](const Literals& part) { return part.bExact; })) {
        Strings all = UnionOf(parts, ExactOf);
        if (!all.empty())
            return Literals::Exact(std::move(all));
    }
    Literals out;
    out.prefixes = UnionOf(parts, PrefixesOf);
    out.suffixes = UnionOf(parts, SuffixesOf);
    Strings inner = UnionOf(parts, InnerOf);
    out.inner = TakeRarest(out.prefixes, out.suffixes, { &inner });
    return Trimmed(std::move(out));
}

// A part repeated from `least` to `most` times (most < 0: without end).
Literals RepeatOf(const Literals& part, int least, int most)
{
    if (most == 0)
        return Literals::Empty();
    // RE2 refuses more.
    if (least > kMaxRepeat)
        return Literals();
    if (least == 0) {
        if (most != 1 || !part.bExact)
            return Literals();
        Strings strings = part.exact;
        strings.emplace_back();
        Normalize(strings);
        return Literals::Exact(std::move(strings));
    }
    // The part `least` times, as far as it stays exact; the rest is known from its ends.
    Literals power = part;
    int times = 1;
    for (; times < least && power.bExact; ++times) {
        std::optional<Strings> product = Product(power.exact, part.exact);
        if (!product)
            break;
        power.exact = std::move(*product);
    }
    if (times == least && most == least)
        return power;
    Literals out;
    out.prefixes = PrefixesOf(power);
    out.suffixes = SuffixesOf(power);
    Strings inner = InnerOf(power);
    Strings across = least >= 2 ? Product(SuffixesOf(part), PrefixesOf(part)).value_or(Strings()) : Strings();
    out.inner = TakeRarest(out.prefixes, out.suffixes, { &inner, &across });
    return Trimmed(std::move(out));
}
// The most a pattern grows by writing out the repetitions of a repetition.
constexpr size_t kMaxExpansion = size_t { 1 } << 20;

// Reads one pattern of GNU grep -E's dialect (no line feeds) and writes it in RE2's syntax.
class Translator
{
public:
    Translator(const SearchQuery& query, Scope scope, std::string_view pattern, SearchProblem& problem)
        : m_encoding(query.encoding)
        , m_bFoldBytes(!query.bMatchCase && query.encoding == Kind::Windows1252)
        , m_bFoldAscii(!query.bMatchCase && query.encoding == Kind::Utf8)
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

    // Whether the pattern holds an anchor, which its strings know nothing of.
    bool IsAnchored() const { return m_bAnchored; }

    // What the pattern translated is known to match.
    Literals Found()
    {
        Flush();
        Level& top = m_levels.front();
        top.alternatives.push_back(top.sequence);
        return Alternate(top.alternatives);
    }

private:
    std::string_view CharAt(size_t pos) const { return m_pattern.substr(pos, CharLength(m_encoding, m_pattern, pos)); }

    // Ends the atom a repetition would repeat: it joins what its group matches. Past a bound on
    // the joins that know less than all, what follows is not looked at: what the group starts
    // with and holds stays true.
    void Flush()
    {
        Level& level = m_levels.back();
        if (!level.atom)
            return;
        if (!level.sequence.bExact || !level.atom->bExact) {
            constexpr size_t kMaxInexactJoins = 1024;
            if (m_inexactJoins < kMaxInexactJoins) {
                ++m_inexactJoins;
                level.sequence = Concat(std::move(level.sequence), *level.atom);
            } else if (level.sequence.bExact || !level.sequence.suffixes.empty()) {
                Literals& sequence = level.sequence;
                if (sequence.bExact) {
                    sequence.prefixes = Known(sequence.exact);
                    sequence.inner = sequence.prefixes;
                    sequence.exact.clear();
                    sequence.bExact = false;
                }
                sequence.suffixes.clear();
            }
        } else {
            level.sequence = Concat(std::move(level.sequence), *level.atom);
        }
        level.atom.reset();
        level.product = std::max(level.product, m_atomProduct);
        m_atomProduct = 1;
    }
    // Starts an atom, which a repetition may follow.
    void Atom(const std::string& text, Literals literals)
    {
        Flush();
        m_atomStart = m_out.size();
        m_bRepeated = false;
        m_out += text;
        m_levels.back().atom = std::move(literals);
    }
    // Ends what no repetition may follow: a repetition sign there is dropped.
    void NoAtom(const std::string& text)
    {
        Flush();
        m_atomStart = npos;
        m_out += text;
    }
    // `least` to `most` times (most < 0: without end), written as `sign`.
    void Repeat(const std::string& sign, int least, int most)
    {
        Level& level = m_levels.back();
        level.atom = RepeatOf(*level.atom, least, most);
        // RE2 takes one repetition a time: "a**" and "a+?" repeat the repeated atom.
        if (m_bRepeated)
            m_out.insert(m_atomStart, "(?:").append(")");
        m_bRepeated = true;
        // RE2 refuses counts whose product within one another passes its limit, as in
        // "(x{100}){100}", though each is within it: the outer one is written out.
        const long long count = most < 0 ? least : most;
        if (count <= 1) {
            m_out += sign;
            return;
        }
        if (m_atomProduct > 1 && m_atomProduct * count > kMaxRepeat && count <= kMaxRepeat && (most < 0 || least <= most)) {
            WriteOut(least, most);
            return;
        }
        m_atomProduct = static_cast<int>(std::min(m_atomProduct * count, kMaxRepeat + 1));
        m_out += sign;
    }
    // The atom `least` times and then, up to `most`, optionally once more each time.
    void WriteOut(int least, int most)
    {
        const std::string atom = "(?:" + m_out.substr(m_atomStart) + ")";
        const size_t copies = static_cast<size_t>(most < 0 ? least + 1 : most);
        if (atom.size() * copies > kMaxExpansion) {
            m_problem = { SearchProblem::Kind::MalformedRegex, kTooBig };
            return;
        }
        m_out.resize(m_atomStart);
        for (int i = 0; i < least; ++i)
            m_out += atom;
        if (most < 0)
            m_out += atom + "*";
        for (int i = least; i < most; ++i)
            m_out += atom + "?";
    }

    // The strings, folded, that one character of the pattern matches; none when unknown.
    Strings CharStrings(std::string_view ch) const
    {
        const auto byte = static_cast<unsigned char>(ch[0]);
        if (m_bFoldAscii) {
            if (ch.size() > 1 || byte >= 0x80)
                return {};
            const unsigned char lower = Cp1252LowerOf(byte);
            Strings strings { std::string(1, static_cast<char>(lower ? lower : byte)) };
            // The Kelvin sign and the long s.
            if (strings.front() == "k")
                strings.emplace_back("\xE2\x84\xAA");
            if (strings.front() == "s")
                strings.emplace_back("\xC5\xBF");
            Normalize(strings);
            return strings;
        }
        if (m_bFoldBytes && Cp1252LowerOf(byte))
            return { std::string(1, static_cast<char>(Cp1252LowerOf(byte))) };
        return { std::string(ch) };
    }
    Literals CharLiterals(std::string_view ch) const
    {
        Strings strings = CharStrings(ch);
        return strings.empty() ? Literals() : Literals::Exact(std::move(strings));
    }

    void LiteralAtom(std::string_view ch)
    {
        const auto byte = static_cast<unsigned char>(ch[0]);
        if (m_bFoldBytes && Cp1252().otherCase[byte])
            Atom("[" + Hex(byte) + Hex(Cp1252().otherCase[byte]) + "]", CharLiterals(ch));
        else
            Atom(Literal(m_encoding, ch), CharLiterals(ch));
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
        case '(': {
            const size_t start = m_out.size();
            NoAtom("(?:");
            m_levels.emplace_back().outStart = start;
            ++m_pos;
            return;
        }
        case ')': {
            // An unmatched parenthesis stands for itself, as in GNU grep.
            if (m_levels.size() == 1)
                break;
            Flush();
            Level group = std::move(m_levels.back());
            m_levels.pop_back();
            group.alternatives.push_back(group.sequence);
            m_out += ")";
            m_atomStart = group.outStart;
            m_bRepeated = false;
            m_levels.back().atom = Alternate(group.alternatives);
            m_atomProduct = group.product;
            ++m_pos;
            return;
        }
        case '|': {
            Flush();
            Level& level = m_levels.back();
            level.alternatives.push_back(level.sequence);
            level.sequence = Literals::Empty();
            NoAtom("|");
            ++m_pos;
            return;
        }
        case '^':
            NoAtom("^");
            m_bAnchored = true;
            ++m_pos;
            return;
        case '$':
            NoAtom(EndOfLine());
            m_bAnchored = true;
            ++m_pos;
            return;
        case '.':
            Atom("[^\\n]", Literals());
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
                Repeat(std::string(1, ch), ch == '+' ? 1 : 0, ch == '?' ? 1 : -1);
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
        // Past a million, any count is too large for RE2, which says so.
        const auto number = [](const std::string& count) {
            long long n = 0;
            for (char ch : count)
                n = std::min(n * 10 + (ch - '0'), 1000000LL);
            return static_cast<int>(n);
        };
        if (m_atomStart != npos)
            Repeat("{" + (least.empty() ? std::string("0") : least) + (bComma ? "," : "") + (bComma ? most : "") + "}",
                   number(least), bComma && most.empty() ? -1 : number(most));
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
            Atom(EscapedClass(letter), Literals());
            return;
        case '`':
            NoAtom("^");
            m_bAnchored = true;
            return;
        case '\'':
            NoAtom(EndOfLine());
            m_bAnchored = true;
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
                m_problem = { SearchProblem::Kind::MalformedRegex, kUnmatchedBracket };
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
                m_problem = { SearchProblem::Kind::MalformedRegex, kInvalidClassName };
                return false;
            }
            if (name.empty() || CharLength(m_encoding, name, 0) != name.size()) {
                m_problem = { SearchProblem::Kind::MalformedRegex, kInvalidCollation };
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
        Strings strings;  // the members as strings in a UTF-8 notebook, while known
        bool bKnown = !bNegated;
        for (bool bFirst = true;; bFirst = false) {
            if (pos >= m_pattern.size()) {
                m_problem = { SearchProblem::Kind::MalformedRegex, kUnmatchedBracket };
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
                    m_problem = { SearchProblem::Kind::MalformedRegex, kInvalidRangeEnd };
                    return;
                }
            }
            if (from.named >= 0) {
                utf8 += kClasses[static_cast<size_t>(from.named)].utf8;
                bytes |= Cp1252().classes[static_cast<size_t>(from.named)];
                bKnown = false;
            } else if (m_encoding == Kind::Utf8) {
                // RE2 reports a range whose ends are the wrong way round.
                utf8 += Literal(m_encoding, from.ch);
                if (to.ch != from.ch)
                    utf8 += "-" + Literal(m_encoding, to.ch);
                AddMembers(from.ch, to.ch, strings, bKnown);
            } else {
                for (unsigned byte = static_cast<unsigned char>(from.ch[0]); byte <= static_cast<unsigned char>(to.ch[0]); ++byte)
                    bytes.set(byte);
            }
        }
        m_pos = pos + 1;
        if (m_encoding == Kind::Utf8) {
            Normalize(strings);
            Atom(std::string(bNegated ? "[^" : "[") + utf8 + (bNegated ? "\\n]" : "]"),
                 bKnown && !strings.empty() ? Literals::Exact(std::move(strings)) : Literals());
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
        if (bytes.count() <= kMaxClass) {
            for (unsigned byte = 0; byte < 256; ++byte) {
                if (bytes[byte])
                    strings.push_back(CharStrings(std::string(1, static_cast<char>(byte))).front());
            }
        }
        Normalize(strings);
        Atom(ByteClass(bytes), strings.empty() ? Literals() : Literals::Exact(std::move(strings)));
    }

    // The characters from `first` to `last` of a UTF-8 bracket expression as strings, while
    // they are few and known.
    void AddMembers(std::string_view first, std::string_view last, Strings& strings, bool& bKnown) const
    {
        const auto low = static_cast<unsigned char>(first[0]);
        const auto high = static_cast<unsigned char>(last[0]);
        if (first == last) {
            const Strings members = CharStrings(first);
            strings.insert(strings.end(), members.begin(), members.end());
            bKnown = bKnown && !members.empty();
        } else if (first.size() > 1 || last.size() > 1 || high >= 0x80 || high < low) {
            bKnown = false;
        } else {
            for (unsigned byte = low; byte <= high; ++byte) {
                const Strings members = CharStrings(std::string(1, static_cast<char>(byte)));
                strings.insert(strings.end(), members.begin(), members.end());
            }
        }
        bKnown = bKnown && strings.size() <= kMaxClass;
    }

    const Kind m_encoding;
    const bool m_bFoldBytes; // Windows-1252 without matching case: each letter stands for both
    const bool m_bFoldAscii; // UTF-8 without matching case, which RE2 folds
    const Scope m_scope;
    const std::string_view m_pattern;
    SearchProblem& m_problem;
    size_t m_pos = 0;
    std::string m_out;
    size_t m_atomStart = npos; // where the atom a repetition would repeat begins in m_out
    bool m_bRepeated = false;  // that atom is repeated already
    int m_atomProduct = 1;     // the product of the counts within that atom, RE2's way
    bool m_bAnchored = false;
    size_t m_inexactJoins = 0;
    // The pattern, and each group open at m_pos within it.
    struct Level
    {
        size_t outStart = 0; // where the group begins in m_out
        std::vector<Literals> alternatives;
        Literals sequence = Literals::Empty();
        std::optional<Literals> atom; // the atom a repetition would repeat, not yet in `sequence`
        int product = 1;              // the largest product of counts within
    };
    std::vector<Level> m_levels = std::vector<Level>(1);
};

std::string NonWordClass(Kind encoding)
{
    if (encoding == Kind::Utf8)
        return "[^" + std::string(kWordClass) + "]";
    return ByteClass(~Cp1252().word);
}

// The query's pattern as an extended regular expression, and its lines: patterns of their own,
// any of which may match.
std::vector<std::string> PatternLines(const SearchQuery& query)
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
    std::vector<std::string> lines;
    for (size_t pos = 0; pos <= pattern.size();) {
        size_t end = query.bRegex ? pattern.find('\n', pos) : npos;
        if (end == npos)
            end = pattern.size();
        lines.push_back(pattern.substr(pos, end - pos));
        pos = end + 1;
    }
    return lines;
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
    std::vector<std::string> alternatives;
    for (const std::string& line : PatternLines(query)) {
        alternatives.push_back(Translator(query, scope, line, problem).Translate());
        if (problem)
            return {};
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

std::array<unsigned char, 256> FoldTable(const SearchQuery& query)
{
    std::array<unsigned char, 256> fold;
    for (size_t ch = 0; ch < fold.size(); ++ch) {
        fold[ch] = static_cast<unsigned char>(ch);
        const unsigned char lower = Cp1252LowerOf(static_cast<unsigned char>(ch));
        if (!query.bMatchCase && lower && (ch < 0x80 || query.encoding == Kind::Windows1252))
            fold[ch] = lower;
    }
    return fold;
}

std::vector<std::string> RequiredStrings(const SearchQuery& query, bool& bAll)
{
    bAll = false;
    // Strings found on most lines: the engine alone is as quick. Where they lead to lines
    // without a match too often, the search leaves them.
    constexpr double kEngineCost = 2;
    SearchProblem problem;
    std::vector<Literals> alternatives;
    bool bAnchored = false;
    for (const std::string& line : PatternLines(query)) {
        Translator translator(query, Scope::Line, line, problem);
        translator.Translate();
        if (problem)
            return {};
        alternatives.push_back(translator.Found());
        bAnchored = bAnchored || translator.IsAnchored();
    }
    const Literals found = Alternate(alternatives);
    const auto holdsLineFeed = [](const Strings& strings) {
        return std::any_of(strings.begin(), strings.end(), [](const std::string& string) { return string.find('\n') != npos; });
    };
    if (found.bExact && !bAnchored && !Known(found.exact).empty() && !holdsLineFeed(found.exact)) {
        bAll = true;
        return found.exact;
    }
    Strings inner = InnerOf(found);
    Strings prefixes = PrefixesOf(found);
    Strings suffixes = SuffixesOf(found);
    Strings strings = std::move(*Rarest({ &inner, &prefixes, &suffixes }));
    if (Cost(strings) > kEngineCost || holdsLineFeed(strings))
        return {};
    return strings;
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
