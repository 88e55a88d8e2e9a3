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

std::vector<int64_t> Without(const std::vector<int64_t>& ids, const std::vector<int64_t>& others)
{
    const std::unordered_set<int64_t> drop(others.begin(), others.end());
    std::vector<int64_t> rest;
    std::copy_if(ids.begin(), ids.end(), std::back_inserter(rest), [&drop](int64_t id) { return !drop.contains(id); });
    return rest;
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

// The names and children of the records the versions hold, fetched once each.
class Outlines
{
public:
    explicit Outlines(HistoryStore& store)
        : m_store(store)
    {
    }

    // The path of each record of `ids` (a version's, in file order) that `wanted` holds.
    std::unordered_map<int64_t, std::string> PathsOf(const std::vector<int64_t>& ids, const std::unordered_set<int64_t>& wanted)
    {
        std::vector<int64_t> missing;
        for (const int64_t id : ids) {
            if (!m_known.contains(id))
                missing.push_back(id);
        }
        const std::vector<HistoryContent::Record> fetched = m_store.Records(missing, false);
        for (size_t i = 0; i < fetched.size() && i < missing.size(); ++i)
            m_known.emplace(missing[i], std::make_pair(fetched[i].name, fetched[i].children));
        std::unordered_map<int64_t, std::string> paths;
        // The names above the record reached, with the children each has still to come.
        std::vector<std::pair<const std::string*, int>> above;
        for (const int64_t id : ids) {
            while (!above.empty() && above.back().second == 0)
                above.pop_back();
            const auto found = m_known.find(id);
            if (found == m_known.end())
                break;
            if (!above.empty())
                --above.back().second;
            if (wanted.contains(id)) {
                std::string path;
                for (const auto& [pName, left] : above)
                    path += EscapeFolderName(*pName) + '/';
                paths.emplace(id, path + EscapeFolderName(found->second.first));
            }
            above.emplace_back(&found->second.first, found->second.second);
        }
        return paths;
    }

private:
    HistoryStore& m_store;
    std::unordered_map<int64_t, std::pair<std::string, int>> m_known;
};

bool IsWithin(const std::string& path, const std::string& folder)
{
    return folder.empty() || path == folder || (path.size() > folder.size() && path.starts_with(folder) && path[folder.size()] == '/');
}

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

std::optional<NotebookSnapshot> FindCommonVersion(HistoryStore& store, const std::string& notebookPath,
                                                  const NotebookSnapshot& a, const NotebookSnapshot& b)
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
        for (const HistoryContent::Record& old : store.Records(Without(before, ids))) {
            for (const std::string_view note : SplitNotes(old.text))
                held[old.name].emplace(note);
        }
        bool bWrote = false;
        bool bInBoth = true;
        for (const HistoryContent::Record& record : store.Records(Without(ids, before))) {
            const auto old = held.find(record.name);
            for (const std::string_view note : SplitNotes(record.text)) {
                if (old != held.end() && old->second.contains(std::string(note)))
                    continue;
                bWrote = true;
                bInBoth = bInBoth && inA.Has(record.name, note) && inB.Has(record.name, note);
            }
        }
        if (bWrote && bInBoth)
            return LoadVersion(store, versions[runStart].id);
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
    std::vector<int64_t> ids = versions.empty() ? std::vector<int64_t>() : store.RecordIds(versions[0].id);
    for (size_t i = 0; i < versions.size(); ++i) {
        const std::vector<int64_t> before = i + 1 < versions.size() ? store.RecordIds(versions[i + 1].id) : std::vector<int64_t>();
        const std::vector<int64_t> addedIds = Without(ids, before);
        const std::vector<int64_t> removedIds = Without(before, ids);
        const auto addedPaths = outlines.PathsOf(ids, { addedIds.begin(), addedIds.end() });
        const auto removedPaths = outlines.PathsOf(before, { removedIds.begin(), removedIds.end() });
        // The notes of each changed folder, before and after, by path.
        std::map<std::string, std::pair<std::unordered_set<std::string>, std::unordered_set<std::string>>> notes;
        std::set<std::string> was, is;
        const auto gather = [&](const std::vector<int64_t>& changed, const auto& paths, auto& seen, bool bNew) {
            std::vector<int64_t> inFolder;
            for (const int64_t id : changed) {
                if (const auto path = paths.find(id); path != paths.end() && IsWithin(path->second, folder))
                    inFolder.push_back(id);
            }
            const std::vector<HistoryContent::Record> records = store.Records(inFolder);
            for (size_t k = 0; k < records.size() && k < inFolder.size(); ++k) {
                const std::string& path = paths.at(inFolder[k]);
                seen.insert(path);
                auto& side = bNew ? notes[path].second : notes[path].first;
                for (const std::string_view note : SplitNotes(records[k].text))
                    side.emplace(note);
            }
        };
        gather(removedIds, removedPaths, was, false);
        gather(addedIds, addedPaths, is, true);
        VersionChange change { versions[i] };
        for (const auto& [path, sides] : notes) {
            int added = 0, removed = 0;
            for (const std::string& note : sides.second)
                added += sides.first.contains(note) ? 0 : 1;
            for (const std::string& note : sides.first)
                removed += sides.second.contains(note) ? 0 : 1;
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
        ids = before;
    }
    return log;
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
