#include "doc/NotebookSearch.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include <locale.h>
#include <regex.h>

#include "doc/CQuillboxDoc.h"
#include "doc/FolderPath.h"
#include "notes/CQuillboxEditView.h"
#include "platform/EditControl.h"
#include "tree/CQuillboxTreeView.h"

namespace {

constexpr size_t npos = std::string_view::npos;

bool IsWordByte(unsigned char ch)
{
    return ch >= 0x80 || ch == '_' || (ch >= '0' && ch <= '9') || ((ch | 0x20) >= 'a' && (ch | 0x20) <= 'z');
}

// The line of `text` that holds offset `pos`: its start, and its end before the line break.
std::pair<size_t, size_t> LineAround(std::string_view text, size_t pos)
{
    const void* pBreak = pos == 0 ? nullptr : ::memrchr(text.data(), '\n', pos);
    const size_t start = pBreak ? static_cast<const char*>(pBreak) - text.data() + 1 : 0;
    size_t end = text.find('\n', pos);
    if (end == npos)
        return { start, text.size() };
    if (end > start && text[end - 1] == '\r')
        --end;
    return { start, end };
}

// The lower-case form of a byte that is an upper-case letter, or 0: ASCII's letters, and in
// Windows-1252 also its accented letters and Š, Œ, Ž and Ÿ.
unsigned char LowerOf(unsigned char ch, TextEncoding::Kind encoding)
{
    if (ch >= 'A' && ch <= 'Z')
        return ch | 0x20;
    if (encoding != TextEncoding::Kind::Windows1252)
        return 0;
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

// Makes the calling thread use a locale while it lives.
class LocaleScope
{
public:
    explicit LocaleScope(locale_t locale)
        : m_previous(uselocale(locale))
    {
    }
    ~LocaleScope() { uselocale(m_previous); }
    LocaleScope(const LocaleScope&) = delete;
    LocaleScope& operator=(const LocaleScope&) = delete;

private:
    locale_t m_previous;
};

} // namespace

// A POSIX extended regular expression of the C library, compiled and run in the C locale for a
// Windows-1252 notebook (a character is a byte) and in C.UTF-8 for a UTF-8 one, whatever the
// user's locale. It is compiled for text of many lines, which one call searches at once.
class NotebookSearch::Regex
{
public:
    Regex(const std::string& pattern, bool bIgnoreCase, TextEncoding::Kind encoding, SearchProblem& problem)
    {
        if (encoding == TextEncoding::Kind::Utf8)
            m_locale = newlocale(LC_ALL_MASK, "C.UTF-8", nullptr);
        if (!m_locale)
            m_locale = newlocale(LC_ALL_MASK, "C", nullptr);
        const LocaleScope scope(m_locale);
        const int code = regcomp(&m_regex, pattern.c_str(), REG_EXTENDED | REG_NEWLINE | (bIgnoreCase ? REG_ICASE : 0));
        if (code != 0) {
            char reason[256];
            regerror(code, &m_regex, reason, sizeof reason);
            problem = { SearchProblem::Kind::MalformedRegex, reason };
            return;
        }
        m_bCompiled = true;
    }

    ~Regex()
    {
        if (m_bCompiled)
            regfree(&m_regex);
        if (m_locale)
            freelocale(m_locale);
    }

    Regex(const Regex&) = delete;
    Regex& operator=(const Regex&) = delete;

    // The first match in `text` that starts at or after `from`: its offset and length, or npos.
    // What comes before `from` counts for anchors and word boundaries.
    std::pair<size_t, size_t> Find(std::string_view text, size_t from) const
    {
        const LocaleScope scope(m_locale);
        regmatch_t match;
        match.rm_so = static_cast<regoff_t>(from);
        match.rm_eo = static_cast<regoff_t>(text.size());
        if (regexec(&m_regex, text.data() ? text.data() : "", 1, &match, REG_STARTEND) != 0)
            return { npos, 0 };
        return { static_cast<size_t>(match.rm_so), static_cast<size_t>(match.rm_eo - match.rm_so) };
    }

private:
    locale_t m_locale = nullptr;
    regex_t m_regex;
    bool m_bCompiled = false;
};

NotebookSearch::NotebookSearch(SearchQuery query)
    : m_query(std::move(query))
{
    if (m_query.pattern.empty()) {
        m_problem.kind = SearchProblem::Kind::EmptyPattern;
        return;
    }
    const bool bIgnoreCase = !m_query.bMatchCase;
    if (m_query.bRegex) {
        m_pRegex = std::make_unique<Regex>(m_query.pattern, bIgnoreCase, m_query.encoding, m_problem);
        // A line's end is before its CR LF, which a search of many lines cannot see.
        m_bLineByLine = m_query.pattern.find('$') != std::string::npos;
        return;
    }
    const bool bAscii = std::all_of(m_query.pattern.begin(), m_query.pattern.end(),
                                    [](char ch) { return static_cast<unsigned char>(ch) < 0x80; });
    if (bIgnoreCase && !bAscii && m_query.encoding == TextEncoding::Kind::Utf8) {
        std::string escaped;
        for (char ch : m_query.pattern) {
            if (std::string_view(".[]()*+?{}|^$\\").find(ch) != npos)
                escaped += '\\';
            escaped += ch;
        }
        m_pRegex = std::make_unique<Regex>(escaped, true, m_query.encoding, m_problem);
        return;
    }
    for (size_t ch = 0; ch < m_fold.size(); ++ch) {
        m_fold[ch] = static_cast<unsigned char>(ch);
        m_other[ch] = static_cast<unsigned char>(ch);
    }
    for (size_t ch = 0; bIgnoreCase && ch < m_fold.size(); ++ch) {
        if (const unsigned char lower = LowerOf(static_cast<unsigned char>(ch), m_query.encoding)) {
            m_fold[ch] = lower;
            m_other[lower] = static_cast<unsigned char>(ch);
        }
    }
    for (char ch : m_query.pattern)
        m_folded += static_cast<char>(m_fold[static_cast<unsigned char>(ch)]);
}

NotebookSearch::~NotebookSearch() = default;

size_t NotebookSearch::FindLiteral(std::string_view text, size_t from) const
{
    const size_t length = m_folded.size();
    if (from > text.size() || text.size() - from < length)
        return npos;
    // Sixteen starting places at a time are tested on their first and last bytes, in either
    // case; only where both agree are the bytes between compared.
    using Block = unsigned char __attribute__((vector_size(16)));
    const auto* pText = reinterpret_cast<const unsigned char*>(text.data());
    const auto* pPattern = reinterpret_cast<const unsigned char*>(m_folded.data());
    const unsigned char first = pPattern[0];
    const unsigned char last = pPattern[length - 1];
    const Block firstBytes = Block {} + first;
    const Block lastBytes = Block {} + last;
    const Block firstOthers = Block {} + m_other[first];
    const Block lastOthers = Block {} + m_other[last];
    const auto matchesAt = [&](size_t i) {
        for (size_t j = 0; j < length; ++j) {
            if (m_fold[pText[i + j]] != pPattern[j])
                return false;
        }
        return true;
    };
    size_t i = from;
    for (; i + length - 1 + sizeof(Block) <= text.size(); i += sizeof(Block)) {
        Block firsts;
        Block lasts;
        std::memcpy(&firsts, pText + i, sizeof firsts);
        std::memcpy(&lasts, pText + i + length - 1, sizeof lasts);
        const auto both = ((firsts == firstBytes) | (firsts == firstOthers)) & ((lasts == lastBytes) | (lasts == lastOthers));
        std::uint64_t halves[2];
        std::memcpy(halves, &both, sizeof halves);
        if ((halves[0] | halves[1]) == 0)
            continue;
        for (size_t k = 0; k < sizeof(Block); ++k) {
            if (both[k] && matchesAt(i + k))
                return i + k;
        }
    }
    for (; i + length <= text.size(); ++i) {
        if (matchesAt(i))
            return i;
    }
    return npos;
}

size_t NotebookSearch::FindCandidate(std::string_view text, size_t from) const
{
    if (!m_pRegex)
        return FindLiteral(text, from);
    return m_bLineByLine ? from : m_pRegex->Find(text, from).first;
}

bool NotebookSearch::IsWholeWord(std::string_view line, size_t start, size_t length) const
{
    if (!m_query.bWholeWords)
        return true;
    const auto byte = [&line](size_t i) { return static_cast<unsigned char>(line[i]); };
    const size_t end = start + length;
    if (length > 0 && IsWordByte(byte(start)) && start > 0 && IsWordByte(byte(start - 1)))
        return false;
    return length == 0 || !IsWordByte(byte(end - 1)) || end == line.size() || !IsWordByte(byte(end));
}

std::vector<std::pair<size_t, size_t>> NotebookSearch::MatchLine(std::string_view line) const
{
    std::vector<std::pair<size_t, size_t>> spans;
    if (m_problem)
        return spans;
    if (m_pRegex) {
        for (size_t from = 0; from <= line.size();) {
            const auto [start, length] = m_pRegex->Find(line, from);
            if (start == npos)
                break;
            if (IsWholeWord(line, start, length))
                spans.emplace_back(start, length);
            from = start + length;
            // After an empty match the next one starts a character further on.
            if (length == 0) {
                do
                    ++from;
                while (m_query.encoding == TextEncoding::Kind::Utf8 && from < line.size()
                       && (static_cast<unsigned char>(line[from]) & 0xC0) == 0x80);
            }
        }
        return spans;
    }
    for (size_t pos = FindLiteral(line, 0); pos != npos; pos = FindLiteral(line, pos + 1)) {
        if (IsWholeWord(line, pos, m_folded.size())) {
            spans.emplace_back(pos, m_folded.size());
            pos += m_folded.size() - 1;
        }
    }
    return spans;
}

bool NotebookSearch::SearchText(const CQuillboxDoc& doc, const Folder* pFolder, std::string_view text, size_t& count,
                                const std::function<bool(const SearchHit&)>& onHit) const
{
    SearchHit hit;
    hit.pFolder = pFolder;
    int line = 0;
    size_t counted = 0;
    // The start of the last line whose note was found, and that note's header: the search for
    // a header goes back no further than the previous hit's line.
    size_t lastHitLine = npos;
    std::string_view lastHeader;
    size_t pos = 0;
    while (pos < text.size()) {
        // The pattern is found in the whole text; the lines between are not looked at.
        const size_t candidate = FindCandidate(text, pos);
        if (candidate == npos)
            break;
        const auto [start, end] = LineAround(text, candidate);
        const size_t lineFeed = text.find('\n', end);
        pos = lineFeed == npos ? text.size() : lineFeed + 1;
        hit.text = text.substr(start, end - start);
        hit.spans = MatchLine(hit.text);
        if (hit.spans.empty())
            continue;

        line += static_cast<int>(std::count(text.begin() + static_cast<std::ptrdiff_t>(counted),
                                            text.begin() + static_cast<std::ptrdiff_t>(start), '\n'));
        counted = start;
        hit.line = line;
        std::string_view header;
        for (size_t at = start;;) {
            const auto [headerStart, headerEnd] = LineAround(text, at);
            if (headerStart == lastHitLine) {
                header = lastHeader;
                break;
            }
            const std::string_view candidateHeader = text.substr(headerStart, headerEnd - headerStart);
            if (CQuillboxEditView::IsHeaderLine(candidateHeader, doc.GetSeparator())) {
                header = candidateHeader;
                break;
            }
            if (headerStart == 0)
                break;
            at = headerStart - 1;
        }
        lastHitLine = start;
        lastHeader = header;
        hit.header = header;
        ++count;
        if (!onHit(hit))
            return false;
    }
    return true;
}

size_t NotebookSearch::Run(const CQuillboxDoc& doc, const Folder* pStart,
                           const std::function<bool(const SearchHit&)>& onHit) const
{
    size_t count = 0;
    if (m_problem)
        return count;
    // The selected folder's notes live in the editor.
    const std::string editorText =
        doc.GetSelFolder() && doc.GetEditView() ? doc.GetEditView()->GetEditCtrl().GetText() : std::string();
    for (const Folder* pFolder : FoldersInTreeOrder(doc, pStart)) {
        SearchHit nameHit;
        nameHit.spans = MatchLine(pFolder->m_name);
        if (!nameHit.spans.empty()) {
            nameHit.pFolder = pFolder;
            nameHit.bInName = true;
            nameHit.text = pFolder->m_name;
            ++count;
            if (!onHit(nameHit))
                return count;
        }
        const std::string_view text = pFolder == doc.GetSelFolder() && doc.GetEditView() ? editorText : pFolder->m_text.View();
        if (!SearchText(doc, pFolder, text, count, onHit))
            return count;
    }
    return count;
}

void GoToSearchHit(CQuillboxDoc& doc, const Folder* pFolder, int line, size_t start, size_t length)
{
    doc.GetTreeView()->GetTreeCtrl().SelectItem(pFolder->m_hItem);
    EditControl& edit = doc.GetEditView()->GetEditCtrl();
    if (line < 0 || line >= edit.GetLineCount())
        return;
    const long lineStart = edit.LineIndex(line);
    const long lineLength = edit.LineLength(lineStart);
    const long from = lineStart + std::min(static_cast<long>(start), lineLength);
    const long to = lineStart + std::min(static_cast<long>(start + length), lineLength);
    edit.SetSel(from, to);
}
