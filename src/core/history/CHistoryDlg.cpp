#include "history/CHistoryDlg.h"

#include <algorithm>
#include <unordered_set>

#include "format/NoteText.h"
#include "search/LiteralFinder.h"
#include "search/NotebookSearch.h"
#include "search/SearchSyntax.h"

CHistoryDlg::CHistoryDlg(Log log, Loader load, std::string selectedPath, NotebookSnapshot now)
    : m_log(std::move(log))
    , m_load(std::move(load))
    , m_strSelectedPath(std::move(selectedPath))
    , m_now(std::move(now))
{
    ListVersions();
}

void CHistoryDlg::ListVersions()
{
    m_versions = m_log(m_bFolderOnly ? m_strSelectedPath : std::string());
    Find(std::u16string(m_typed));
}

void CHistoryDlg::SetFolderOnly(bool bOnly)
{
    if (bOnly == m_bFolderOnly || (bOnly && !CanShowFolderOnly()))
        return;
    m_bFolderOnly = bOnly;
    ListVersions();
}

void CHistoryDlg::Find(std::u16string_view typed)
{
    m_typed = typed;
    m_found.clear();
    m_shown.clear();
    if (typed.empty()) {
        for (size_t i = 0; i < m_versions.size(); ++i)
            m_shown.push_back(i);
    } else if (const std::optional<std::string> bytes = SearchPatternBytes(TextEncoding(m_now.encoding), typed)) {
        FindLost(*bytes);
    }
    m_version.reset();
    m_paths.clear();
    m_nFolder.reset();
    m_note.reset();
    if (!m_shown.empty())
        SelectVersion(m_shown[0]);
}

void CHistoryDlg::FindLost(const std::string& bytes)
{
    const std::array<unsigned char, 256> fold
        = search_syntax::FoldTable({ .pattern = bytes, .bMatchCase = false, .encoding = m_now.encoding });
    std::string folded = bytes;
    for (char& ch : folded)
        ch = char(fold[static_cast<unsigned char>(ch)]);
    const LiteralFinder finder({ folded }, fold);
    const auto holds = [&](std::string_view text) { return finder.Find(text, 0, text.size()) != std::string_view::npos; };
    std::unordered_set<std::string_view> notesNow;
    for (const NotebookSnapshot::Record& record : m_now.records) {
        for (const std::string_view note : SplitNotes(record.text))
            notesNow.insert(note);
    }
    const std::vector<std::string> pathsNow = RecordPaths(m_now);
    const std::unordered_set<std::string_view> foldersNow(pathsNow.begin(), pathsNow.end());
    // What a version took away, the one before it (listed next) still held.
    for (size_t i = 0; i + 1 < m_versions.size(); ++i) {
        const VersionChange& change = m_versions[i];
        for (const std::string& path : change.foldersRemoved) {
            if (!foldersNow.contains(path) && holds(path))
                m_found.push_back({ i + 1, path, {} });
        }
        for (const auto& [path, note] : change.notesGone) {
            if (!notesNow.contains(note) && holds(note))
                m_found.push_back({ i + 1, path, note });
        }
        if (!m_found.empty() && (m_shown.empty() || m_shown.back() != i + 1) && m_found.back().version == i + 1)
            m_shown.push_back(i + 1);
    }
}

void CHistoryDlg::SelectVersion(size_t index)
{
    if (index >= m_versions.size())
        return;
    m_nVersion = index;
    m_version = m_load(m_versions[index].version.id);
    m_paths = m_version ? RecordPaths(*m_version) : std::vector<std::string>();
    m_nFolder.reset();
    m_note.reset();
    if (m_paths.empty())
        return;
    const auto lost = std::find_if(m_found.begin(), m_found.end(), [&](const Lost& each) { return each.version == index; });
    const std::string& path = lost == m_found.end() ? m_strSelectedPath : lost->path;
    const auto found = std::find(m_paths.begin(), m_paths.end(), path);
    SelectFolder(found == m_paths.end() ? 0 : size_t(found - m_paths.begin()));
    if (lost != m_found.end() && !lost->note.empty()) {
        if (const size_t at = FolderText().find(lost->note); at != std::string_view::npos)
            SelectNoteAt(at);
    }
}

void CHistoryDlg::SelectFolder(size_t index)
{
    if (index >= m_paths.size())
        return;
    m_nFolder = index;
    m_note.reset();
    SelectNoteAt(0);
}

std::string_view CHistoryDlg::FolderText() const
{
    return m_nFolder ? m_version->records[*m_nFolder].text.View() : std::string_view();
}

TextEncoding::Kind CHistoryDlg::Encoding() const
{
    return m_version ? m_version->encoding : TextEncoding::Kind::Utf8;
}

std::vector<CHistoryDlg::Span> CHistoryDlg::NoteSpans() const
{
    const std::string_view text = FolderText();
    std::vector<Span> spans;
    size_t line = 0;
    size_t counted = 0;
    for (const std::string_view note : SplitNotes(text)) {
        const size_t offset = size_t(note.data() - text.data());
        line += size_t(std::count(text.begin() + std::ptrdiff_t(counted), text.begin() + std::ptrdiff_t(offset), '\n'));
        counted = offset;
        spans.push_back({ offset, line, note.size() });
    }
    return spans;
}

void CHistoryDlg::SelectNoteAt(size_t offset)
{
    for (const Span& span : NoteSpans()) {
        if (span.offset > offset)
            break;
        m_note = span;
    }
}

void CHistoryDlg::SelectNoteAtLine(size_t line)
{
    for (const Span& span : NoteSpans()) {
        if (span.line > line)
            break;
        m_note = span;
    }
}

std::optional<size_t> CHistoryDlg::SelectedNoteLine() const
{
    return m_note ? std::optional<size_t>(m_note->line) : std::nullopt;
}

std::string CHistoryDlg::RestoreText() const
{
    return m_nFolder ? FolderFileOf(*m_version, *m_nFolder) : std::string();
}

std::string CHistoryDlg::RestorePath() const
{
    return m_nFolder ? m_paths[*m_nFolder] : std::string();
}

std::string_view CHistoryDlg::RestoreNoteText() const
{
    return m_note ? FolderText().substr(m_note->offset, m_note->size) : std::string_view();
}

std::string CHistoryDlg::RestoreNoteFolder() const
{
    if (!m_note)
        return {};
    NotebookSnapshot alone;
    alone.encoding = m_version->encoding;
    NotebookSnapshot::Record record = m_version->records[*m_nFolder];
    record.children = 0;
    record.text = SharedText(std::string(RestoreNoteText()));
    alone.records.push_back(std::move(record));
    return FolderFileOf(alone, 0);
}
