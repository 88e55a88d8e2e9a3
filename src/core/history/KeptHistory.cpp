#include "history/KeptHistory.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string_view>
#include <map>
#include <set>
#include <unordered_map>
#include <unordered_set>

#include "format/NoteText.h"
#include "format/NotebookWriter.h"
#include "model/FolderPath.h"

namespace {

constexpr uint64_t kMegabyte = uint64_t(1) << 20;

// A kept record's key: the key, a tab, the function; empty for a folder without one.
std::string KeyText(const std::optional<KeyAssignment>& key)
{
    return key ? key->key + '\t' + key->function : std::string();
}

std::optional<KeyAssignment> KeyOf(const std::string& text)
{
    const size_t tab = text.find('\t');
    if (tab == std::string::npos)
        return std::nullopt;
    return KeyAssignment { {}, text.substr(0, tab), text.substr(tab + 1) };
}

// The header as one line of numbers (date, time, text, delete prompt, encoding), then the
// selected folder's name.
std::string HeaderText(const NotebookHeader& header)
{
    char numbers[64];
    std::snprintf(numbers, sizeof numbers, "%d %d %d %d %d\n", header.date, header.time, header.text, header.promptDelete,
                  static_cast<int>(header.encoding));
    return numbers + header.selectedName;
}

bool ReadHeader(const std::string& text, NotebookHeader& header)
{
    int encoding = 0;
    int length = 0;
    if (std::sscanf(text.c_str(), "%d %d %d %d %d\n%n", &header.date, &header.time, &header.text, &header.promptDelete,
                    &encoding, &length)
            != 5
        || length == 0 || (encoding != int(TextEncoding::Kind::Utf8) && encoding != int(TextEncoding::Kind::Windows1252)))
        return false;
    header.encoding = static_cast<TextEncoding::Kind>(encoding);
    header.selectedName = text.substr(size_t(length));
    return true;
}

// Where a version's records and those of the version before it differ: the positions in each
// of the records the other lacks. The two lists agree at their start and end, cut first, so that
// a version that changed one folder costs that folder, not the notebook.
struct Delta
{
    // Where the two lists begin to differ: both hold the same records before it.
    size_t start = 0;
    std::vector<size_t> added;
    std::vector<size_t> removed;
};

Delta DeltaOf(const std::vector<int64_t>& ids, const std::vector<int64_t>& before)
{
    size_t start = 0;
    while (start < ids.size() && start < before.size() && ids[start] == before[start])
        ++start;
    size_t end = 0;
    while (end < ids.size() - start && end < before.size() - start && ids[ids.size() - 1 - end] == before[before.size() - 1 - end])
        ++end;
    const std::unordered_set<int64_t> had(before.begin() + std::ptrdiff_t(start), before.end() - std::ptrdiff_t(end));
    const std::unordered_set<int64_t> has(ids.begin() + std::ptrdiff_t(start), ids.end() - std::ptrdiff_t(end));
    Delta delta { start, {}, {} };
    for (size_t i = start; i < ids.size() - end; ++i) {
        if (!had.contains(ids[i]))
            delta.added.push_back(i);
    }
    for (size_t i = start; i < before.size() - end; ++i) {
        if (!has.contains(before[i]))
            delta.removed.push_back(i);
    }
    return delta;
}

std::vector<int64_t> IdsAt(const std::vector<int64_t>& ids, const std::vector<size_t>& positions)
{
    std::vector<int64_t> chosen;
    chosen.reserve(positions.size());
    for (const size_t i : positions)
        chosen.push_back(ids[i]);
    return chosen;
}

// The names and children of a version's records, in file order, for making their paths.
struct Outline
{
    std::vector<int64_t> ids;
    std::vector<const std::string*> names;
    std::vector<int> children;
};

// The outlines of the versions, each record's name and children fetched once.
class Outlines
{
public:
    explicit Outlines(HistoryStore& store)
        : m_store(store)
    {
    }

    // The outline of `ids`, taking from `near` (the next version's) what the two share at the
    // start and the end.
    Outline Of(std::vector<int64_t> ids, const Outline* pNear)
    {
        Outline outline { std::move(ids), {}, {} };
        const size_t count = outline.ids.size();
        outline.names.resize(count);
        outline.children.resize(count);
        size_t start = 0, end = 0;
        if (pNear) {
            const size_t nearCount = pNear->ids.size();
            while (start < count && start < nearCount && outline.ids[start] == pNear->ids[start])
                ++start;
            while (end < count - start && end < nearCount - start && outline.ids[count - 1 - end] == pNear->ids[nearCount - 1 - end])
                ++end;
            const auto from = [&](const auto& near, auto& own) {
                std::copy_n(near.begin(), start, own.begin());
                std::copy_n(near.end() - std::ptrdiff_t(end), end, own.end() - std::ptrdiff_t(end));
            };
            from(pNear->names, outline.names);
            from(pNear->children, outline.children);
        }
        std::vector<int64_t> missing;
        for (size_t i = start; i < count - end; ++i) {
            if (!m_known.contains(outline.ids[i]))
                missing.push_back(outline.ids[i]);
        }
        const std::vector<HistoryContent::Record> fetched = m_store.Records(missing, false);
        for (size_t i = 0; i < fetched.size() && i < missing.size(); ++i)
            m_known.emplace(missing[i], std::make_pair(fetched[i].name, fetched[i].children));
        for (size_t i = start; i < count - end; ++i) {
            const auto found = m_known.find(outline.ids[i]);
            if (found == m_known.end()) {
                // A record another Quillbox's thinning took meanwhile: the paths stop there.
                outline.ids.resize(i);
                outline.names.resize(i);
                outline.children.resize(i);
                break;
            }
            outline.names[i] = &found->second.first;
            outline.children[i] = found->second.second;
        }
        return outline;
    }

    // The names above a record, with the children each has still to come after it.
    using Above = std::vector<std::pair<const std::string*, int>>;

    // What is above the record at `position`, walking the outline from its start.
    static Above AboveAt(const Outline& outline, size_t position)
    {
        Above above;
        Walk(outline, 0, position, above, [](size_t, const Above&) {});
        return above;
    }

    // The path of the record at each of `positions` of the outline, none before `from`, with
    // `above` what is above the record at `from`.
    static std::unordered_map<size_t, std::string> Paths(const Outline& outline, const std::vector<size_t>& positions, size_t from,
                                                         Above above)
    {
        std::unordered_map<size_t, std::string> paths;
        if (positions.empty())
            return paths;
        const std::unordered_set<size_t> wanted(positions.begin(), positions.end());
        const size_t last = *std::max_element(positions.begin(), positions.end());
        Walk(outline, from, last + 1, above, [&](size_t i, const Above& names) {
            if (wanted.contains(i)) {
                std::string path;
                for (const auto& [pName, left] : names)
                    path += EscapeFolderName(*pName) + '/';
                paths.emplace(i, path + EscapeFolderName(*outline.names[i]));
            }
        });
        return paths;
    }

private:
    // Walks the records from `from` up to `to`, telling `visit` each with what is above it.
    template <typename Visit>
    static void Walk(const Outline& outline, size_t from, size_t to, Above& above, Visit&& visit)
    {
        for (size_t i = from; i < to && i < outline.ids.size(); ++i) {
            while (!above.empty() && above.back().second == 0)
                above.pop_back();
            if (!above.empty())
                --above.back().second;
            visit(i, above);
            above.emplace_back(outline.names[i], outline.children[i]);
        }
    }

    HistoryStore& m_store;
    std::unordered_map<int64_t, std::pair<std::string, int>> m_known;
};

bool IsWithin(const std::string& path, const std::string& folder)
{
    return folder.empty() || path == folder || (path.size() > folder.size() && path.starts_with(folder) && path[folder.size()] == '/');
}

// The notes of one copy's folders by the folders' names, split only as they are asked for.
class CopyNotes
{
public:
    explicit CopyNotes(const NotebookSnapshot& notebook)
        : m_notebook(notebook)
    {
        for (size_t i = 0; i < notebook.records.size(); ++i)
            m_byName[notebook.records[i].name].push_back(i);
    }

    // Whether a folder of that name holds the note.
    bool Has(const std::string& folder, std::string_view note)
    {
        auto [found, bNew] = m_notes.try_emplace(folder);
        if (bNew) {
            if (const auto records = m_byName.find(folder); records != m_byName.end()) {
                for (const size_t i : records->second) {
                    for (const std::string_view each : SplitNotes(m_notebook.records[i].text))
                        found->second.insert(each);
                }
            }
        }
        return found->second.contains(note);
    }

private:
    const NotebookSnapshot& m_notebook;
    std::unordered_map<std::string, std::vector<size_t>> m_byName;
    std::unordered_map<std::string, std::unordered_set<std::string_view>> m_notes;
};

} // namespace

std::string HistoryKey(const std::string& notebookPath)
{
    std::error_code code;
    const std::filesystem::path full = std::filesystem::weakly_canonical(std::filesystem::absolute(notebookPath, code), code);
    return code ? notebookPath : full.string();
}

HistoryContent ToHistory(const NotebookSnapshot& notebook)
{
    HistoryContent content;
    content.header = HeaderText(notebook);
    content.records.reserve(notebook.records.size());
    for (const NotebookSnapshot::Record& record : notebook.records)
        content.records.push_back({ record.name, KeyText(record.key), record.children, record.text });
    return content;
}

std::optional<NotebookSnapshot> FromHistory(const HistoryContent& content)
{
    NotebookSnapshot notebook;
    if (!ReadHeader(content.header, notebook))
        return std::nullopt;
    notebook.records.reserve(content.records.size());
    for (const HistoryContent::Record& record : content.records)
        notebook.records.push_back({ record.name, KeyOf(record.key), record.children, record.text });
    return notebook;
}

std::optional<int64_t> KeepVersion(HistoryStore& store, const std::string& notebookPath, const NotebookSnapshot& notebook,
                                   int64_t time, HistoryKind kind, FileProblem& problem)
{
    return store.Keep(HistoryKey(notebookPath), ToHistory(notebook), time, kind, problem);
}

std::optional<NotebookSnapshot> LoadVersion(HistoryStore& store, int64_t id)
{
    const std::optional<HistoryContent> content = store.Load(id);
    return content ? FromHistory(*content) : std::nullopt;
}

std::optional<int> ReadHistoryLimit(HistoryStore& store, FileProblem& problem)
{
    const std::optional<uint64_t> maxBytes = store.MaxBytes(problem);
    if (!maxBytes)
        return std::nullopt;
    return static_cast<int>(std::min<uint64_t>((*maxBytes + kMegabyte - 1) / kMegabyte, kMostHistoryMegabytes));
}

bool SetHistoryLimit(HistoryStore& store, int megabytes, FileProblem& problem)
{
    return store.SetMaxBytes(static_cast<uint64_t>(megabytes) * kMegabyte, problem);
}

std::optional<NotebookSnapshot> FindCommonVersion(HistoryStore& store, const std::string& notebookPath,
                                                  const NotebookSnapshot& a, const NotebookSnapshot& b)
{
    const std::optional<int64_t> id = CommonVersionId(store, notebookPath, a, b);
    return id ? LoadVersion(store, *id) : std::nullopt;
}

std::optional<int64_t> CommonVersionId(HistoryStore& store, const std::string& notebookPath, const NotebookSnapshot& a,
                                       const NotebookSnapshot& b)
{
    const std::vector<HistoryVersion> versions = store.List(HistoryKey(notebookPath));
    CopyNotes inA(a);
    CopyNotes inB(b);
    // A version that wrote no note anew (it deleted, moved or re-keyed) is as good a start as the
    // one before it, and newer: the newest of such a run is the one taken.
    size_t runStart = 0;
    std::vector<int64_t> ids = versions.empty() ? std::vector<int64_t>() : store.RecordIds(versions[0].id);
    for (size_t i = 0; i < versions.size(); ++i) {
        const std::vector<int64_t> before = i + 1 < versions.size() ? store.RecordIds(versions[i + 1].id) : std::vector<int64_t>();
        // The notes each folder held before this version, by the folder's name.
        std::unordered_map<std::string, std::unordered_set<std::string>> held;
        const Delta delta = DeltaOf(ids, before);
        for (const HistoryContent::Record& old : store.Records(IdsAt(before, delta.removed))) {
            for (const std::string_view note : SplitNotes(old.text))
                held[old.name].emplace(note);
        }
        bool bWrote = false;
        bool bInBoth = true;
        for (const HistoryContent::Record& record : store.Records(IdsAt(ids, delta.added))) {
            const auto old = held.find(record.name);
            for (const std::string_view note : SplitNotes(record.text)) {
                if (old != held.end() && old->second.contains(std::string(note)))
                    continue;
                bWrote = true;
                bInBoth = bInBoth && inA.Has(record.name, note) && inB.Has(record.name, note);
            }
        }
        if (bWrote && bInBoth)
            return versions[runStart].id;
        if (bWrote)
            runStart = i + 1;
        ids = before;
    }
    return std::nullopt;
}

std::vector<VersionChange> VersionLog(HistoryStore& store, const std::string& notebookPath, const std::string& folderPath)
{
    const std::vector<HistoryVersion> versions = store.List(HistoryKey(notebookPath));
    std::string folder;
    for (const std::string& name : SplitFolderPath(folderPath))
        folder += (folder.empty() ? "" : "/") + EscapeFolderName(name);
    Outlines outlines(store);
    std::vector<VersionChange> log;
    Outline outline = versions.empty() ? Outline() : outlines.Of(store.RecordIds(versions[0].id), nullptr);
    for (size_t i = 0; i < versions.size(); ++i) {
        if (i + 1 == versions.size()) {
            if (folder.empty())
                log.push_back({ versions[i], EncodingOf(versions[i]), outline.ids.size() });
            break;
        }
        Outline before = outlines.Of(store.RecordIds(versions[i + 1].id), &outline);
        const Delta delta = DeltaOf(outline.ids, before.ids);
        // The notes of each changed folder, before and after, by path.
        std::map<std::string, std::pair<std::unordered_set<std::string>, std::unordered_set<std::string>>> notes;
        std::set<std::string> was, is;
        // Both hold the same records up to where they differ: what is above that point is walked once.
        const Outlines::Above above = Outlines::AboveAt(outline, delta.start);
        const auto gather = [&](const Outline& side, const std::vector<size_t>& changed, std::set<std::string>& seen, bool bNew) {
            const auto paths = Outlines::Paths(side, changed, delta.start, above);
            std::vector<size_t> inFolder;
            for (const size_t position : changed) {
                if (const auto path = paths.find(position); path != paths.end() && IsWithin(path->second, folder))
                    inFolder.push_back(position);
            }
            const std::vector<HistoryContent::Record> records = store.Records(IdsAt(side.ids, inFolder));
            for (size_t k = 0; k < records.size() && k < inFolder.size(); ++k) {
                const std::string& path = paths.at(inFolder[k]);
                seen.insert(path);
                auto& kept = bNew ? notes[path].second : notes[path].first;
                for (const std::string_view note : SplitNotes(records[k].text))
                    kept.emplace(note);
            }
        };
        gather(before, delta.removed, was, false);
        gather(outline, delta.added, is, true);
        VersionChange change { versions[i], EncodingOf(versions[i]) };
        for (const auto& [path, sides] : notes) {
            int added = 0, removed = 0;
            for (const std::string& note : sides.second)
                added += sides.first.contains(note) ? 0 : 1;
            for (const std::string& note : sides.first) {
                if (!sides.second.contains(note)) {
                    ++removed;
                    change.notesGone.emplace_back(path, note);
                }
            }
            change.notesAdded += added;
            change.notesRemoved += removed;
            if (!was.contains(path))
                change.foldersAdded.push_back(path);
            else if (!is.contains(path))
                change.foldersRemoved.push_back(path);
            else if (added + removed > 0)
                change.foldersChanged.push_back(path);
        }
        const bool bChanged = !change.foldersAdded.empty() || !change.foldersRemoved.empty() || !change.foldersChanged.empty();
        if (bChanged || folder.empty())
            log.push_back(std::move(change));
        outline = std::move(before);
    }
    return log;
}

TextEncoding::Kind EncodingOf(const HistoryVersion& version)
{
    NotebookHeader header;
    return ReadHeader(version.header, header) ? header.encoding : TextEncoding::Kind::Utf8;
}

std::vector<std::string> RecordPaths(const NotebookSnapshot& notebook)
{
    std::vector<std::string> paths;
    paths.reserve(notebook.records.size());
    // The paths above the record reached, with the children each has still to come.
    std::vector<std::pair<std::string, int>> above;
    for (const NotebookSnapshot::Record& record : notebook.records) {
        while (!above.empty() && above.back().second == 0)
            above.pop_back();
        std::string path = above.empty() ? EscapeFolderName(record.name) : above.back().first + '/' + EscapeFolderName(record.name);
        if (!above.empty())
            --above.back().second;
        paths.push_back(path);
        above.emplace_back(std::move(path), record.children);
    }
    return paths;
}

std::string FolderFileOf(const NotebookSnapshot& notebook, size_t index)
{
    size_t end = index + 1;
    for (int left = notebook.records[index].children; left > 0 && end < notebook.records.size(); ++end)
        left += notebook.records[end].children - 1;
    const std::vector<NotebookSnapshot::Record> records(notebook.records.begin() + std::ptrdiff_t(index),
                                                        notebook.records.begin() + std::ptrdiff_t(end));
    std::string out = "Begin Folder Information\r\n";
    AppendRecords(records, out, nullptr);
    return out + "End Folder Information\r\n";
}
