#include "format/NotebookReader.h"

#include <algorithm>
#include <climits>

#include "format/NoteText.h"
#include "format/NotebookFormat.h"
#include "model/NotebookNames.h"
#include "storage/FileLines.h"
#include "storage/TextArena.h"

namespace {

using Record = NotebookContents::Record;

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
// `record`. A text not shared with the reader is gathered in `texts`.
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

bool HasFolder(const std::vector<Record>& records, std::string_view name)
{
    return std::any_of(records.begin(), records.end(), [name](const Record& r) { return r.name == name; });
}

// Makes sure of what every opened notebook holds: a new note's header in each folder with no
// text but the Trash, and the Trash then Main, added at the top level when missing; selects the
// folder the header named, else the last one read. The first folder found missing is the problem.
std::optional<FileProblem> Complete(NotebookContents& contents, const std::tm& now, bool bNamedSelection)
{
    std::vector<Record>& records = contents.records;
    const size_t read = records.size();
    const SharedText header
        = MakeNoteHeader(kNoteSeparator, contents.text, contents.date, contents.time, now) + "\r\n";
    for (Record& record : records) {
        if (record.text.empty() && record.name != kTrashName)
            record.text = header;
    }
    std::optional<FileProblem> missing;
    if (!HasFolder(records, kTrashName)) {
        missing = FileProblem { .kind = FileProblem::Kind::MissingFolder, .detail = kTrashName };
        records.push_back({ NotebookContents::kTopLevel, kTrashName, KeyAssignment { {}, kTrashKey, kMoveFunction }, {} });
    }
    if (!HasFolder(records, kMainName)) {
        if (!missing)
            missing = FileProblem { .kind = FileProblem::Kind::MissingFolder, .detail = kMainName };
        records.push_back({ NotebookContents::kTopLevel, kMainName, std::nullopt, header });
    }
    const auto named = std::find_if(records.begin(), records.end(),
                                    [&](const Record& r) { return r.name == contents.selectedName; });
    if (bNamedSelection && named != records.end())
        contents.selected = static_cast<size_t>(named - records.begin());
    else
        contents.selected = (read > 0 ? read : records.size()) - 1;
    return missing;
}

} // namespace

bool ReadRecordTree(LineReader& in, size_t outer, const TextEncoding& names, const TextConverter& convert,
                    std::vector<Record>& records)
{
    // The records whose children are being read, innermost last, each with the number of
    // children still to come. A stack instead of recursion, so depth costs no call stack.
    struct Level
    {
        size_t index;
        int remaining;
    };
    std::vector<Level> parents;
    TextArena texts;
    do {
        size_t parent = outer;
        if (!parents.empty()) {
            parent = parents.back().index;
            --parents.back().remaining;
        }
        FolderRecord record;
        const bool bWhole = ReadRecord(in, record, texts);
        // What is read is never read again: the reader leaves it behind as it reads on.
        in.ForgetRead();
        if (record.bNamed) {
            if (convert) {
                record.name = convert(record.name);
                record.text = convert(record.text.View());
            }
            names.MakeOneLine(record.name);
            if (IsSpecialName(record.name))
                parent = NotebookContents::kTopLevel;
            std::optional<KeyAssignment> key;
            if (!record.key.empty())
                key = KeyAssignment { {}, std::move(record.key), std::move(record.function) };
            records.push_back({ parent, std::move(record.name), std::move(key), std::move(record.text) });
        }
        if (!bWhole)
            return false;
        if (record.children > 0)
            parents.push_back({ records.size() - 1, record.children });
        while (!parents.empty() && parents.back().remaining == 0)
            parents.pop_back();
    } while (!parents.empty());
    return true;
}

ReadReport ReadNotebookFile(const std::string& path, const std::tm& now, NotebookContents& contents, bool bHash)
{
    using Status = ReadReport::Status;
    using Kind = FileProblem::Kind;
    FileProblem problem;
    std::optional<LineReader> lines = StreamFileLines(path, problem);
    if (!lines)
        return { Status::CannotOpen, problem };
    LineReader& in = *lines;
    if (bHash)
        in.HashWhileReading();
    if (in.SkipTo(kFormatLines) < 0) {
        // A file that could not be read to its end may be a notebook all the same.
        const FileProblem stopped = in.WhereReadingStopped();
        if (stopped.kind == Kind::UnreadableAfter || stopped.kind == Kind::TooLargeAfter) {
            const FileProblem cause = stopped.kind == Kind::TooLargeAfter ? FileProblem { .kind = Kind::TooLarge }
                                                                          : SystemProblem(stopped.error);
            return { Status::CannotOpen, cause.During(FileProblem::Action::Open, path) };
        }
        return { Status::NotANotebook, FileProblem { .kind = Kind::NotANotebook }.During(FileProblem::Action::Open, path) };
    }
    in.Rewind({});
    // Whether the notebook is UTF-8 is known once all of it is read. Names become one line
    // meanwhile as in a Windows-1252 notebook, which gives the same names for a UTF-8 one.
    const TextEncoding names(TextEncoding::Kind::Windows1252);

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
    names.MakeOneLine(selectedName);
    contents.selectedName = std::move(selectedName);
    find("End Selected Folder");
    find("Begin New Note Preferences");
    preference("Date", contents.date);
    preference("Time", contents.time);
    preference("Text", contents.text);
    find("End New Note Preferences");
    find("Begin Delete Folder Preferences");
    preference("Prompt", contents.promptDelete);
    find("End Delete Folder Preferences");
    find("Begin Folder Information");

    // Every top-level record up to "End Folder Information", each as a top-level folder.
    for (;;) {
        const int found = in.SkipTo(kRecordOrEnd);
        if (found < 0) {
            FileProblem stopped = in.WhereReadingStopped();
            stopped.detail = "End Folder Information";
            note(stopped);
        }
        if (found != 0)
            break;
        if (!ReadRecordTree(in, NotebookContents::kTopLevel, names, {}, contents.records)) {
            note(in.WhereReadingStopped());
            break;
        }
    }
    contents.encoding = in.IsAllUtf8() ? TextEncoding::Kind::Utf8 : TextEncoding::Kind::Windows1252;
    if (std::optional<FileProblem> missing = Complete(contents, now, bHaveSelected))
        note(std::move(*missing));
    if (problem)
        return { Status::Incomplete, problem.During(FileProblem::Action::Open, path) };
    if (bHash)
        contents.hash = in.FileHash();
    return {};
}

NotebookSnapshot NotebookContents::ToSnapshot() const
{
    constexpr size_t kNone = SIZE_MAX;
    // Each record's children in the file's order, linked as first child and next sibling.
    std::vector<size_t> firstChild(records.size(), kNone);
    std::vector<size_t> lastChild(records.size(), kNone);
    std::vector<size_t> next(records.size(), kNone);
    std::vector<int> children(records.size(), 0);
    size_t firstTop = kNone;
    size_t lastTop = kNone;
    for (size_t i = 0; i < records.size(); ++i) {
        const size_t parent = records[i].parent;
        const bool bTop = parent == kTopLevel || parent == kOuter;
        size_t& first = bTop ? firstTop : firstChild[parent];
        size_t& last = bTop ? lastTop : lastChild[parent];
        (last == kNone ? first : next[last]) = i;
        last = i;
        if (!bTop)
            ++children[parent];
    }
    NotebookSnapshot snapshot;
    static_cast<NotebookHeader&>(snapshot) = *this;
    snapshot.selectedName = records.empty() ? std::string() : records[selected].name;
    snapshot.records.reserve(records.size());
    // Pre-order without recursion: the sibling to go on with after each subtree is stacked.
    std::vector<size_t> resume;
    for (size_t i = firstTop; i != kNone;) {
        const Record& record = records[i];
        snapshot.records.push_back({ record.name, record.key, children[i], record.text });
        if (firstChild[i] != kNone) {
            resume.push_back(next[i]);
            i = firstChild[i];
            continue;
        }
        i = next[i];
        while (i == kNone && !resume.empty()) {
            i = resume.back();
            resume.pop_back();
        }
    }
    return snapshot;
}

NotebookContents NotebookContents::FromSnapshot(const NotebookSnapshot& snapshot, const std::tm& now)
{
    NotebookContents contents;
    static_cast<NotebookHeader&>(contents) = snapshot;
    contents.records.reserve(snapshot.records.size());
    struct Level
    {
        size_t index;
        int remaining;
    };
    std::vector<Level> parents;
    for (const NotebookSnapshot::Record& record : snapshot.records) {
        size_t parent = kTopLevel;
        if (!parents.empty()) {
            parent = parents.back().index;
            --parents.back().remaining;
        }
        contents.records.push_back({ IsSpecialName(record.name) ? kTopLevel : parent, record.name, record.key, record.text });
        if (record.children > 0)
            parents.push_back({ contents.records.size() - 1, record.children });
        while (!parents.empty() && parents.back().remaining == 0)
            parents.pop_back();
    }
    // Whole records hold both folders; what a merge could still lack is made sure of all the same.
    Complete(contents, now, true);
    return contents;
}

ReadReport ReadNotebookSnapshot(const std::string& path, const std::tm& now, NotebookSnapshot& snapshot, uint64_t* pHash)
{
    NotebookContents contents;
    const ReadReport report = ReadNotebookFile(path, now, contents, pHash != nullptr);
    if (report.Opened()) {
        snapshot = contents.ToSnapshot();
        if (pHash && contents.hash)
            *pHash = *contents.hash;
    }
    return report;
}
