#include <algorithm>
#include <climits>
#include <string_view>
#include <vector>

#include "doc/CQuillboxDoc.h"
#include "storage/FileLines.h"
#include "format/NotebookFormat.h"
#include "format/NotebookWriter.h"
#include "model/NotebookNames.h"
#include "storage/TextArena.h"
#include "doc/DocViews.h"
#include "platform/EditControl.h"

namespace {

// A text read of at least this size shares the reader's memory instead of being copied: the
// bytes of its record around it, kept with it, are then a small share.
constexpr size_t kShareAtLeast = 1024;
// Lines that only a notebook or folder file holds; a file with none of them is no notebook.
constexpr std::string_view kFormatLines[] = {
    "Begin Selected Folder",        "End Selected Folder",       "Begin New Note Preferences",
    "End New Note Preferences",     "Begin Delete Folder Preferences",
    "End Delete Folder Preferences", "Begin Folder Information", "End Folder Information",
    "Begin Folder",                 "End Folder",
};

// A number as atoi reads it (leading blanks, a sign, digits; anything else ends it), held
// within the range of int.
int ParseNumber(std::string_view text)
{
    size_t i = text.find_first_not_of(" \t");
    if (i == std::string_view::npos)
        return 0;
    const bool bNegative = text[i] == '-';
    if (text[i] == '-' || text[i] == '+')
        ++i;
    long long value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
        value = std::min<long long>(value * 10 + (text[i] - '0'), INT_MAX + 1LL);
    value = bNegative ? -value : std::min<long long>(value, INT_MAX);
    return static_cast<int>(value);
}

struct FolderRecord
{
    std::string name;
    std::string key;
    std::string function;
    SharedText text;
    int children = 0;
    bool bNamed = false;
};

// Reads one record from its "Begin Folder" to its "End Folder". False when the input ends, or
// a line of another record turns up, before the record is whole; what was read is then in
// `record` (a folder whose name was read is worth keeping). A text not shared with the reader is
// gathered in `texts`.
bool ReadRecord(LineReader& in, FolderRecord& record, TextArena& texts)
{
    if (!in.FindLine("Begin Folder", kRecordOrEnd) || !in.FindLine("Folder Name", kRecordStops)
        || !in.ReadLine(record.name))
        return false;
    record.bNamed = true;
    std::string value;
    if (!in.FindLine("Assigned Key", kRecordStops) || !in.ReadLine(value))
        return false;
    if (value != "None") {
        std::string function;
        if (!in.FindLine("Assigned Key Function", kRecordStops) || !in.ReadLine(function))
            return false;
        record.key = value;
        record.function = function;
    }
    if (!in.FindLine("Number of Children", kRecordStops) || !in.ReadLine(value))
        return false;
    record.children = ParseNumber(value);
    if (!in.FindLine("Folder Text", kRecordStops))
        return false;
    // A text stored just as it reads (lines ending in CR LF, no ESC to take off) is one run of
    // the file, saved again as it stands. A large one shares the reader's memory; a small one is
    // copied, or the whole notebook would be kept for texts of a line each. Otherwise the text
    // is gathered: its runs, and the lines between them as they read.
    LineReader::Mark run = in.GetMark();
    bool bOneRun = true;
    std::string_view line;
    for (;;) {
        // Lines that can be neither the end of the text nor escaped are passed over at once.
        in.SkipCrLfLines(kTextStops);
        const LineReader::Mark start = in.GetMark();
        const bool bRead = in.ReadLine(line);
        if (!bRead || line == kEndFolder) {
            if (bOneRun && start.pos - run.pos >= kShareAtLeast) {
                record.text = in.Share(run, start, bRead);
            } else {
                texts.Append(in.Between(run, start));
                record.text = texts.Take(bRead && bOneRun);
            }
            return bRead;
        }
        const bool bEscaped = IsEndFolderLine(line, false);
        if (!bEscaped && in.Between(start, in.GetMark()).size() == line.size() + 2)
            continue;
        bOneRun = false;
        texts.Append(in.Between(run, start));
        if (bEscaped)
            line.remove_prefix(1);
        texts.Append(line);
        texts.Append("\r\n");
        run = in.GetMark();
    }
}

} // namespace

std::vector<NotebookSnapshot::Record> CQuillboxDoc::CollectRecords(Folder* pFolder, bool bWithKeys) const
{
    std::vector<NotebookSnapshot::Record> records;
    records.reserve(m_tree.GetFolders().size());
    WalkFolders(pFolder, [&](const Folder* p) {
        NotebookSnapshot::Record& record = records.emplace_back();
        for (const Folder* pChild = p->m_pFirstChild; pChild; pChild = pChild->m_pNext)
            ++record.children;
        record.name = p->m_name;
        if (bWithKeys && p->HasKey())
            record.key = *p->GetKey();
        record.text = GetFolderText(p);
    });
    return records;
}

bool CQuillboxDoc::ReadFolder(LineReader& in, bool bTopLevel, Folder*& pLastTop,
                              const std::function<std::string(std::string_view)>& convert)
{
    // The folders whose children are being read, innermost last, each with the number of
    // children still to come and the last child read. A stack instead of recursion, so depth
    // costs no call stack.
    struct Level
    {
        Folder* pFolder;
        int remaining;
        Folder* pLastChild;
    };
    std::vector<Level> parents;
    Folder* const pOuter = bTopLevel ? nullptr : m_pSelFolder;
    Folder* pOuterLast = pOuter ? m_tree.LastChild(pOuter) : nullptr;
    TextArena texts;
    do {
        Folder* pParent = pOuter;
        Folder** ppPrev = pOuter ? &pOuterLast : &pLastTop;
        if (!parents.empty()) {
            pParent = parents.back().pFolder;
            --parents.back().remaining;
            ppPrev = &parents.back().pLastChild;
        }
        FolderRecord record;
        const bool bWhole = ReadRecord(in, record, texts);
        // What is read is never read again: the reader leaves it behind as it reads on.
        in.ForgetRead();
        Folder* pFolder = nullptr;
        if (record.bNamed) {
            if (convert) {
                record.name = convert(record.name);
                record.text = convert(record.text.View());
            }
            m_encoding.MakeOneLine(record.name);
            if (IsSpecialName(record.name)) {
                pParent = nullptr;
                ppPrev = &pLastTop;
            }
            pFolder = m_tree.Link(pParent, *ppPrev, std::move(record.name), std::move(record.text), record.key, record.function);
            *ppPrev = pFolder;
        }
        if (!bWhole)
            return false;
        if (record.children > 0)
            parents.push_back({ pFolder, record.children, nullptr });
        while (!parents.empty() && parents.back().remaining == 0)
            parents.pop_back();
    } while (!parents.empty());
    return true;
}

SaveResult CQuillboxDoc::OnSaveDocument(const std::string& pathName, bool bReplaceReadOnly, const ReplaceCheck& unchanged)
{
    const SaveResult result = RunGuarded([&] { return SaveNotebook(pathName, bReplaceReadOnly, unchanged); },
                                         SaveResult { false }, FileProblem::Action::Save, pathName);
    if (result.ok)
        Tell(DocEvent::Saved);
    return result;
}

ReadReport CQuillboxDoc::OnOpenDocument(const std::string& pathName)
{
    const ReadReport report = RunGuarded([&] { return OpenNotebook(pathName); }, ReadReport { ReadReport::Status::CannotOpen },
                                         FileProblem::Action::Open, pathName);
    if (report.Opened())
        Tell(DocEvent::Read);
    return report;
}

NotebookSnapshot CQuillboxDoc::TakeSnapshot() const
{
    NotebookSnapshot snapshot;
    snapshot.selectedName = m_pSelFolder ? m_pSelFolder->m_name : std::string();
    snapshot.date = m_bDate;
    snapshot.time = m_bTime;
    snapshot.text = m_bText;
    snapshot.promptDelete = m_bPromptDelete;
    snapshot.records = CollectRecords(m_tree.GetRoot(), true);
    snapshot.encoding = m_encoding.GetKind();
    return snapshot;
}

SaveResult CQuillboxDoc::SaveNotebook(const std::string& pathName, bool bReplaceReadOnly, const ReplaceCheck& unchanged)
{
    // Written a piece at a time, so a notebook's text is never held twice.
    const NotebookSnapshot snapshot = TakeSnapshot();
    ContentHash hash;
    const auto produce = [&](const ChunkSink& sink) {
        return WriteNotebook(snapshot, [&](std::string_view chunk) {
            if (m_bHashFile)
                hash.Add(chunk);
            return sink(chunk);
        });
    };
    const WriteResult written = WriteFileSafely(pathName, produce, bReplaceReadOnly, unchanged);
    if (written.status != WriteResult::Status::Written)
        return { false, written.problem.During(FileProblem::Action::Save, pathName),
                 written.status == WriteResult::Status::ReadOnly };
    m_fileHash = m_bHashFile ? std::optional(hash.Value()) : std::nullopt;
    SetPathName(pathName);
    SetModifiedFlag(false);
    return {};
}

ReadReport CQuillboxDoc::OpenNotebook(const std::string& pathName)
{
    using Status = ReadReport::Status;
    using Kind = FileProblem::Kind;
    FileProblem problem;
    std::optional<LineReader> lines = StreamFileLines(pathName, problem);
    if (!lines)
        return { Status::CannotOpen, problem };
    LineReader& in = *lines;
    if (m_bHashFile)
        in.HashWhileReading();
    if (in.SkipTo(kFormatLines) < 0) {
        // A file that could not be read to its end may be a notebook all the same.
        const FileProblem stopped = in.WhereReadingStopped();
        if (stopped.kind == Kind::UnreadableAfter || stopped.kind == Kind::TooLargeAfter) {
            const FileProblem cause = stopped.kind == Kind::TooLargeAfter ? FileProblem { .kind = Kind::TooLarge }
                                                                          : SystemProblem(stopped.error);
            return { Status::CannotOpen, cause.During(FileProblem::Action::Open, pathName) };
        }
        return { Status::NotANotebook, FileProblem { .kind = Kind::NotANotebook }.During(FileProblem::Action::Open, pathName) };
    }
    in.Rewind({});
    // Whether the notebook is UTF-8 is known once all of it is read. Names become one line
    // meanwhile as in a Windows-1252 notebook, which gives the same names for a UTF-8 one.
    const TextEncoding::Kind kindBefore = m_encoding.GetKind();
    m_encoding.SetKind(TextEncoding::Kind::Windows1252);

    // The first thing found wrong; the file is then reported incomplete.
    auto note = [&](FileProblem found) {
        if (!problem)
            problem = std::move(found);
    };
    // A missing keyword is noted and the search goes back to where it began, so the keywords
    // after it can still be found.
    auto find = [&](std::string_view keyword) {
        const LineReader::Mark mark = in.GetMark();
        if (in.FindLine(keyword, kHeaderStops))
            return true;
        note(in.AtEnd() ? in.WhereReadingStopped() : FileProblem { .kind = Kind::MissingLine, .detail = std::string(keyword) });
        in.Rewind(mark);
        return false;
    };
    auto value = [&](std::string_view keyword, std::string& line) {
        if (!find(keyword))
            return false;
        if (in.ReadLine(line))
            return true;
        note(in.WhereReadingStopped());
        return false;
    };
    auto preference = [&](std::string_view keyword, int& member) {
        if (std::string line; value(keyword, line))
            member = ParseNumber(line);
    };

    std::string selectedName;
    const bool bHaveSelected = value("Begin Selected Folder", selectedName);
    m_encoding.MakeOneLine(selectedName);
    find("End Selected Folder");
    find("Begin New Note Preferences");
    preference("Date", m_bDate);
    preference("Time", m_bTime);
    preference("Text", m_bText);
    find("End New Note Preferences");
    find("Begin Delete Folder Preferences");
    preference("Prompt", m_bPromptDelete);
    find("End Delete Folder Preferences");
    find("Begin Folder Information");

    // Every top-level record up to "End Folder Information", each as a top-level folder.
    const size_t firstNew = m_tree.GetFolders().size();
    Folder* pLastTop = m_tree.LastChild(nullptr);
    for (;;) {
        const int found = in.SkipTo(kRecordOrEnd);
        if (found < 0) {
            FileProblem stopped = in.WhereReadingStopped();
            stopped.detail = "End Folder Information";
            note(stopped);
        }
        if (found != 0)
            break;
        if (!ReadFolder(in, true, pLastTop)) {
            note(in.WhereReadingStopped());
            break;
        }
    }
    Folder* pLastRead = m_tree.GetFolders().size() > firstNew ? m_tree.GetFolders().back() : nullptr;
    m_encoding.SetKind(kindBefore);
    SetEncodingKind(in.IsAllUtf8() ? TextEncoding::Kind::Utf8 : TextEncoding::Kind::Windows1252);
    ShowNewFolders(firstNew);

    if (!FindFolderByName(kTrashName)) {
        note({ .kind = Kind::MissingFolder, .detail = kTrashName });
        AddFolder(true, kTrashName, {}, true, kTrashKey, kMoveFunction);
    }
    if (!FindFolderByName(kMainName)) {
        note({ .kind = Kind::MissingFolder, .detail = kMainName });
        AddFolder(true, kMainName, {}, true, {}, {});
    }

    Folder* pSelect = bHaveSelected ? FindFolderByName(selectedName) : nullptr;
    if (!pSelect)
        pSelect = pLastRead;
    if (pSelect)
        m_pTreeView->GetTreeCtrl().SelectItem(pSelect->m_hItem);
    m_pTreeView->FocusEditor(true);
    UpdateKeySummary();
    if (problem) {
        // What was read opens as an unsaved, untitled notebook: a plain Save must not write
        // the shortened notebook over the file it came from.
        SetPathName({});
        SetModifiedFlag(true);
        return { Status::Incomplete, problem.During(FileProblem::Action::Open, pathName) };
    }
    m_fileHash = m_bHashFile ? std::optional(in.FileHash()) : std::nullopt;
    SetPathName(pathName);
    SetModifiedFlag(false);
    return {};
}
