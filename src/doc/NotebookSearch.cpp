#include "doc/NotebookSearch.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

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

} // namespace

NotebookSearch::NotebookSearch(SearchQuery query)
    : m_query(std::move(query))
{
    if (m_query.pattern.empty()) {
        m_error = "The pattern is empty.";
        return;
    }
    if (m_query.bRegex) {
        auto flags = std::regex::extended | std::regex::optimize;
        if (!m_query.bMatchCase)
            flags |= std::regex::icase;
        try {
            m_pRegex = std::make_unique<std::regex>(m_query.pattern, flags);
        } catch (const std::regex_error& e) {
            m_error = "The regular expression \"" + m_query.pattern + "\" is malformed: " + e.what() + ".";
        }
        return;
    }
    for (size_t ch = 0; ch < m_fold.size(); ++ch)
        m_fold[ch] = static_cast<unsigned char>(!m_query.bMatchCase && ch >= 'A' && ch <= 'Z' ? ch | 0x20 : ch);
    for (char ch : m_query.pattern)
        m_folded += static_cast<char>(m_fold[static_cast<unsigned char>(ch)]);
}

size_t NotebookSearch::FindLiteral(std::string_view text, size_t from) const
{
    const size_t length = m_folded.size();
    if (from > text.size() || text.size() - from < length)
        return npos;
    // Sixteen starting places at a time are tested on their first and last bytes; only where
    // both agree are the bytes between compared. A pattern's letters are folded to lower case,
    // and a byte folds to a lower-case letter exactly when the byte with 0x20 set equals it.
    // With the case to match, a candidate's other case fails the comparison of all bytes.
    using Block = unsigned char __attribute__((vector_size(16)));
    const auto* pText = reinterpret_cast<const unsigned char*>(text.data());
    const auto* pPattern = reinterpret_cast<const unsigned char*>(m_folded.data());
    const auto isLower = [](unsigned char ch) { return ch >= 'a' && ch <= 'z'; };
    const unsigned char first = pPattern[0];
    const unsigned char last = pPattern[length - 1];
    const unsigned char firstCase = isLower(first) ? 0x20 : 0;
    const unsigned char lastCase = isLower(last) ? 0x20 : 0;
    const Block firstBytes = Block {} + first;
    const Block lastBytes = Block {} + last;
    const Block firstFold = Block {} + firstCase;
    const Block lastFold = Block {} + lastCase;
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
        const auto both = ((firsts | firstFold) == firstBytes) & ((lasts | lastFold) == lastBytes);
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
    if (!m_error.empty())
        return spans;
    if (m_pRegex) {
        const std::cregex_iterator end;
        for (std::cregex_iterator it(line.data(), line.data() + line.size(), *m_pRegex); it != end; ++it) {
            const auto start = static_cast<size_t>(it->position());
            const auto length = static_cast<size_t>(it->length());
            if (IsWholeWord(line, start, length))
                spans.emplace_back(start, length);
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
        // A literal pattern is found in the whole text; the lines between are not looked at.
        const size_t candidate = m_pRegex ? pos : FindLiteral(text, pos);
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
            if (CQuillboxEditView::IsHeaderLine(candidateHeader, doc.m_chSeparator)) {
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
    if (!m_error.empty())
        return count;
    // The selected folder's notes live in the editor.
    const std::string editorText =
        doc.m_pSelFolder && doc.GetEditView() ? doc.GetEditView()->GetEditCtrl().GetText() : std::string();
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
        const std::string_view text = pFolder == doc.m_pSelFolder && doc.GetEditView() ? editorText : pFolder->m_text;
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
