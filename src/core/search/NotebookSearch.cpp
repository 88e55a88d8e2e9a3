#include "search/NotebookSearch.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <tuple>
#include <unordered_map>

#include <re2/re2.h>

#include "doc/CQuillboxDoc.h"
#include "doc/DocViews.h"
#include "format/NoteText.h"
#include "model/FolderPath.h"
#include "search/LiteralFinder.h"
#include "search/SearchReasons.h"
#include "search/SearchSyntax.h"
#include "platform/EditControl.h"

namespace {

constexpr size_t npos = std::string_view::npos;
// How much of a long text is searched between two reports of progress.
constexpr size_t kProgressStep = 1 << 20;
// What a compiled pattern may take for its program and the states of its automata, which are
// made as a search needs them: RE2's own 8 MB, more for a long pattern. Where they would take
// more, RE2 falls back to a search whose time is multiplied by the pattern's size: thousands of
// words would take minutes. A short pattern whose automaton would need too many states keeps
// the 8 MB, so that it goes to that search soon rather than making states for long.
int64_t EngineMemory(const std::string& pattern)
{
    constexpr int64_t kLeast = int64_t { 8 } << 20;
    constexpr int64_t kMost = int64_t { 256 } << 20;
    constexpr int64_t kPerByte = 2048;
    return std::clamp(kPerByte * static_cast<int64_t>(pattern.size()), kLeast, kMost);
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

// The engine's word for what is wrong with a pattern.
std::string Reason(RE2::ErrorCode code)
{
    switch (code) {
    case RE2::ErrorMissingParen:
    case RE2::ErrorUnexpectedParen:
        return kUnmatchedParen;
    case RE2::ErrorMissingBracket:
        return kUnmatchedBracket;
    case RE2::ErrorBadCharRange:
        return kInvalidRangeEnd;
    case RE2::ErrorBadCharClass:
        return kInvalidClassName;
    case RE2::ErrorRepeatSize:
        return kInvalidCount;
    case RE2::ErrorRepeatArgument:
    case RE2::ErrorRepeatOp:
        return kInvalidPreceding;
    case RE2::ErrorTrailingBackslash:
        return kTrailingBackslash;
    case RE2::ErrorBadUTF8:
        return kInvalidUtf8;
    case RE2::ErrorPatternTooLarge:
        return kTooBig;
    default:
        return kInvalidRegex;
    }
}

// In UTF-8 some letters have case partners of another length, which a byte's case cannot
// give: K and k the Kelvin sign, S and s the long s, and letters beyond ASCII. (Bytes that are
// not UTF-8 are looked for as they are.)
bool FoldsBeyondBytes(const SearchQuery& query)
{
    return !query.bMatchCase && query.encoding == TextEncoding::Kind::Utf8 && TextEncoding::IsValidUtf8(query.pattern)
           && std::any_of(query.pattern.begin(), query.pattern.end(), [](char ch) {
                  return static_cast<unsigned char>(ch) >= 0x80 || (ch | 0x20) == 'k' || (ch | 0x20) == 's';
              });
}

} // namespace

// The pattern compiled by RE2 twice: for finding a match anywhere in a folder's text, and for
// the matches within one line. RE2 reads Windows-1252 as Latin-1, byte for byte; the pattern
// then carries the code page's own letters and cases (search_syntax).
class NotebookSearch::Engine
{
public:
    Engine(const SearchQuery& query, SearchProblem& problem)
        : m_encoding(query.encoding)
        , m_bWholeWords(query.bWholeWords)
    {
        RE2::Options options;
        options.set_encoding(query.encoding == TextEncoding::Kind::Utf8 ? RE2::Options::EncodingUTF8
                                                                        : RE2::Options::EncodingLatin1);
        options.set_longest_match(true);
        options.set_log_errors(false);
        options.set_case_sensitive(query.bMatchCase || query.encoding != TextEncoding::Kind::Utf8);
        for (const auto scope : { search_syntax::Scope::WholeText, search_syntax::Scope::Line }) {
            const std::string pattern = search_syntax::ToEnginePattern(query, scope, problem);
            if (problem)
                return;
            options.set_max_mem(EngineMemory(pattern));
            auto pRegex = std::make_unique<RE2>(pattern, options);
            if (!pRegex->ok()) {
                problem = { SearchProblem::Kind::MalformedRegex, Reason(pRegex->error_code()) };
                return;
            }
            (scope == search_syntax::Scope::Line ? m_pLine : m_pText) = std::move(pRegex);
        }
        // Where the pattern is the same for a whole text as for a line (no "$", no whole words)
        // and matches no empty string, the matches found in the text are the lines' own.
        m_bTextSpans = m_pText->pattern() == m_pLine->pattern() && !m_pLine->Match("", 0, 0, RE2::ANCHOR_BOTH, nullptr, 0);
    }

    bool HasTextSpans() const { return m_bTextSpans; }

    // The first match in [from, to) of a folder's text: its start and end, or npos.
    std::pair<size_t, size_t> FindSpanInText(std::string_view text, size_t from, size_t to) const
    {
        re2::StringPiece match;
        if (!m_pText->Match(text, from, to, RE2::UNANCHORED, &match, 1))
            return { npos, npos };
        const auto start = static_cast<size_t>(match.data() - text.data());
        return { start, start + match.size() };
    }

    // The start of the first match in [from, to) of a folder's text, or npos.
    size_t FindInText(std::string_view text, size_t from, size_t to) const
    {
        re2::StringPiece match;
        if (!m_pText->Match(text, from, to, RE2::UNANCHORED, &match, 1))
            return npos;
        return static_cast<size_t>(match.data() - text.data());
    }

    // The first match in a line that starts at or after `from`: its offset and length, or npos.
    // What comes before `from` counts for anchors and word boundaries.
    std::pair<size_t, size_t> FindInLine(std::string_view line, size_t from) const
    {
        re2::StringPiece match[2];
        if (!m_bWholeWords) {
            if (!m_pLine->Match(line, from, line.size(), RE2::UNANCHORED, match, 1))
                return { npos, 0 };
            return { static_cast<size_t>(match[0].data() - line.data()), match[0].size() };
        }
        // The match of whole words takes the character before the word with it: the one before
        // `from` may be it.
        size_t at = from;
        if (at > 0) {
            --at;
            while (m_encoding == TextEncoding::Kind::Utf8 && at > 0 && (static_cast<unsigned char>(line[at]) & 0xC0) == 0x80)
                --at;
        }
        for (;;) {
            if (!m_pLine->Match(line, at, line.size(), RE2::UNANCHORED, match, 2))
                return { npos, 0 };
            const auto start = static_cast<size_t>(match[1].data() - line.data());
            if (start >= from)
                return { start, match[1].size() };
            // A match at the line's start, before `from`: look from `from` itself.
            at = from;
        }
    }

private:
    TextEncoding::Kind m_encoding;
    bool m_bWholeWords;
    bool m_bTextSpans = false;
    std::unique_ptr<RE2> m_pText;
    std::unique_ptr<RE2> m_pLine;
};

std::optional<std::string> SearchPatternBytes(const TextEncoding& encoding, std::u16string_view typed)
{
    if (!encoding.CanHold(typed))
        return std::nullopt;
    return encoding.Encode(typed);
}

std::string SearchSnapshot::PathOf(size_t entry) const
{
    return pathPrefix
           + JoinFolderPath(
               entry, kNoParent, [this](size_t at) -> const std::string& { return entries[at].name; },
               [this](size_t at) { return entries[at].parent; });
}

SearchSnapshot TakeSearchSnapshot(const CQuillboxDoc& doc, const Folder* pStart)
{
    SearchSnapshot snapshot;
    snapshot.separator = doc.GetSeparator();
    const std::vector<const Folder*> order = FoldersInTreeOrder(doc.GetFolderTree(), pStart);
    if (!order.empty() && order.front()->m_pParent)
        snapshot.pathPrefix = FolderPath(order.front()->m_pParent) + "/";
    std::unordered_map<const Folder*, size_t> entryOf;
    entryOf.reserve(order.size());
    snapshot.entries.reserve(order.size());
    for (const Folder* pFolder : order) {
        SearchSnapshot::Entry& entry = snapshot.entries.emplace_back();
        entry.pFolder = pFolder;
        if (const auto it = entryOf.find(pFolder->m_pParent); it != entryOf.end())
            entry.parent = it->second;
        entry.name = pFolder->m_name;
        entry.text = doc.GetFolderText(pFolder);
        snapshot.bytes += entry.name.size() + entry.text.size();
        entryOf.emplace(pFolder, snapshot.entries.size() - 1);
    }
    return snapshot;
}

NotebookSearch::NotebookSearch(SearchQuery query)
    : m_query(std::move(query))
{
    if (m_query.pattern.empty()) {
        m_problem.kind = SearchProblem::Kind::EmptyPattern;
        return;
    }
    const std::array<unsigned char, 256> fold = search_syntax::FoldTable(m_query);
    if (m_query.bRegex || FoldsBeyondBytes(m_query)) {
        m_pEngine = std::make_unique<Engine>(m_query, m_problem);
        if (m_problem)
            return;
        bool bAll = false;
        std::vector<std::string> required = search_syntax::RequiredStrings(m_query, bAll);
        if (!required.empty())
            m_pFinder = std::make_unique<LiteralFinder>(std::move(required), fold);
        if (m_pFinder && !m_pFinder->IsUsable())
            m_pFinder.reset();
        // RE2's matches of a pattern that matches only these strings are the finder's: the
        // first and longest, one after the other.
        m_bFinderMatches = m_pFinder && bAll && !m_query.bWholeWords;
        return;
    }
    for (char ch : m_query.pattern)
        m_folded += static_cast<char>(fold[static_cast<unsigned char>(ch)]);
    m_pFinder = std::make_unique<LiteralFinder>(std::vector<std::string> { m_folded }, fold);
}

NotebookSearch::~NotebookSearch() = default;

size_t NotebookSearch::FindCandidate(std::string_view text, size_t from, size_t to, const Lead& lead) const
{
    // Every match holds one of the finder's strings within its line: a line without one is
    // passed over.
    return lead.bFinder ? m_pFinder->Find(text, from, to) : m_pEngine->FindInText(text, from, to);
}

bool NotebookSearch::IsWholeWord(std::string_view line, size_t start, size_t length) const
{
    return !m_query.bWholeWords
           || (!search_syntax::IsWordCharBefore(m_query.encoding, line, start)
               && !search_syntax::IsWordCharAt(m_query.encoding, line, start + length));
}

std::vector<std::pair<size_t, size_t>> NotebookSearch::MatchLine(std::string_view line) const
{
    std::vector<std::pair<size_t, size_t>> spans;
    if (m_problem)
        return spans;
    if (m_bFinderMatches) {
        for (size_t from = 0;;) {
            const auto [start, length] = m_pFinder->FindLongest(line, from, line.size());
            if (start == npos)
                break;
            spans.emplace_back(start, length);
            from = start + length;
        }
        return spans;
    }
    if (m_pEngine) {
        AddLineMatches(line, 0, spans);
        return spans;
    }
    for (size_t pos = m_pFinder->Find(line, 0, line.size()); pos != npos; pos = m_pFinder->Find(line, pos + 1, line.size())) {
        if (IsWholeWord(line, pos, m_folded.size())) {
            spans.emplace_back(pos, m_folded.size());
            pos += m_folded.size() - 1;
        }
    }
    return spans;
}

void NotebookSearch::AddLineMatches(std::string_view line, size_t from, std::vector<std::pair<size_t, size_t>>& spans) const
{
    while (from <= line.size()) {
        // A match after the first holds one of the finder's strings after the one before.
        if (!spans.empty() && m_pFinder && m_pFinder->Find(line, from, line.size()) == npos)
            break;
        const auto [start, length] = m_pEngine->FindInLine(line, from);
        if (start == npos)
            break;
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
}

bool NotebookSearch::FindLineInText(std::string_view text, size_t& pos, size_t to, TextMatch& pending, size_t& start,
                                    size_t& end, std::vector<std::pair<size_t, size_t>>& spans) const
{
    TextMatch match;
    if (pending.from <= pos && (pending.start == npos ? pos < pending.to : pos <= pending.start)) {
        match = pending;
    } else {
        std::tie(match.start, match.end) = m_pEngine->FindSpanInText(text, pos, to);
        match.from = pos;
        match.to = to;
    }
    if (match.start == npos) {
        pos = match.to;
        return false;
    }
    std::tie(start, end) = LineAround(text, match.start);
    const size_t lineFeed = text.find('\n', end);
    pos = lineFeed == npos ? text.size() : lineFeed + 1;
    spans.clear();
    pending = {};
    // A match that takes in the line's CR, or more, is the line's only where the line alone
    // shows it so.
    if (match.end > end) {
        AddLineMatches(text.substr(start, end - start), 0, spans);
        return !spans.empty();
    }
    for (;;) {
        spans.emplace_back(match.start - start, match.end - match.start);
        // The next match in the text is the line's next, or the first of a later line, which
        // the next call takes up.
        TextMatch next;
        std::tie(next.start, next.end) = m_pEngine->FindSpanInText(text, match.end, match.to);
        next.from = match.end;
        next.to = match.to;
        if (next.start == npos || next.start >= pos) {
            pending = next;
            return true;
        }
        if (next.end > end) {
            AddLineMatches(text.substr(start, end - start), match.end - start, spans);
            return true;
        }
        match = next;
    }
}

bool NotebookSearch::SearchText(const SearchSnapshot& folders, size_t entry, size_t& count, size_t& done, Lead& lead,
                                const std::function<bool(const SearchHit&)>& onHit,
                                const std::function<bool(size_t)>& onProgress) const
{
    const std::string_view text = folders.entries[entry].text;
    SearchHit hit;
    hit.pFolder = folders.entries[entry].pFolder;
    hit.entry = entry;
    int line = 0;
    size_t counted = 0;
    // The start of the last line whose note was found, and that note's header: the search for
    // a header goes back no further than the previous hit's line.
    size_t lastHitLine = npos;
    std::string_view lastHeader;
    size_t pos = 0;
    size_t nextReport = kProgressStep;
    TextMatch pending;
    while (pos < text.size()) {
        if (pos >= nextReport) {
            if (onProgress && !onProgress(done + pos))
                return false;
            nextReport = pos + kProgressStep;
        }
        // The pattern is found in the whole text, a megabyte or so at a time up to a line's
        // start; the lines between are not looked at.
        size_t to = text.size();
        if (to - pos > kProgressStep) {
            const size_t lineFeed = text.find('\n', pos + kProgressStep);
            to = lineFeed == npos ? text.size() : lineFeed + 1;
        }
        size_t start = npos;
        size_t end = npos;
        if (!lead.bFinder && m_pEngine->HasTextSpans()) {
            if (!FindLineInText(text, pos, to, pending, start, end, hit.spans))
                continue;
        } else {
            const size_t candidate = FindCandidate(text, pos, to, lead);
            if (candidate == npos) {
                pos = to;
                continue;
            }
            std::tie(start, end) = LineAround(text, candidate);
            const size_t lineFeed = text.find('\n', end);
            pos = lineFeed == npos ? text.size() : lineFeed + 1;
            hit.spans = MatchLine(text.substr(start, end - start));
            if (hit.spans.empty()) {
                // Looking at a line costs about what the engine takes over a few hundred bytes.
                constexpr size_t kMissesTried = 1000;
                constexpr size_t kBytesPerMiss = 256;
                if (lead.bFinder && m_pEngine && ++lead.misses >= kMissesTried && lead.misses * kBytesPerMiss > done + pos)
                    lead.bFinder = false;
                continue;
            }
        }
        hit.text = text.substr(start, end - start);

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
            if (IsHeaderLine(candidateHeader, folders.separator)) {
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
    done += text.size();
    return true;
}

size_t NotebookSearch::Run(const SearchSnapshot& folders, const std::function<bool(const SearchHit&)>& onHit,
                           const std::function<bool(size_t)>& onProgress) const
{
    size_t count = 0;
    if (m_problem)
        return count;
    size_t done = 0;
    Lead lead;
    lead.bFinder = m_pFinder != nullptr;
    for (size_t entry = 0; entry < folders.entries.size(); ++entry) {
        const SearchSnapshot::Entry& folder = folders.entries[entry];
        SearchHit nameHit;
        nameHit.spans = MatchLine(folder.name);
        if (!nameHit.spans.empty()) {
            nameHit.pFolder = folder.pFolder;
            nameHit.entry = entry;
            nameHit.bInName = true;
            nameHit.text = folder.name;
            ++count;
            if (!onHit(nameHit))
                return count;
        }
        done += folder.name.size();
        if (!SearchText(folders, entry, count, done, lead, onHit, onProgress) || (onProgress && !onProgress(done)))
            return count;
    }
    return count;
}

size_t NotebookSearch::Run(const CQuillboxDoc& doc, const Folder* pStart,
                           const std::function<bool(const SearchHit&)>& onHit) const
{
    return Run(TakeSearchSnapshot(doc, pStart), onHit);
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
