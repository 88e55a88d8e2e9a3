#include "format/NotebookCheck.h"

#include <algorithm>
#include <optional>
#include <string_view>
#include <utility>

#include "storage/FileLines.h"
#include "format/NotebookFormat.h"
#include "model/NotebookNames.h"

namespace {


// A number of children as the writer stores it: one to nine digits.
bool IsCount(std::string_view line)
{
    return !line.empty() && line.size() <= 9 && std::all_of(line.begin(), line.end(), [](char ch) { return ch >= '0' && ch <= '9'; });
}

// "End Folder" behind one or more ESC characters: how the writer stores such a line of a text.
bool IsEscapedEndFolder(std::string_view line)
{
    const size_t escapes = line.find_first_not_of(kEsc);
    return escapes != 0 && escapes != std::string_view::npos && line.substr(escapes) == kEndFolder;
}

// A line as a message quotes it: at most 40 bytes, control bytes shown as "?".
std::string Quote(std::string_view line)
{
    std::string out = "\"";
    for (char ch : line.substr(0, 40))
        out += static_cast<unsigned char>(ch) < 0x20 ? '?' : ch;
    return out + (line.size() > 40 ? "...\"" : "\"");
}

// How a message names a record: by the line of its "Begin Folder" and by its name when read.
std::string RecordAt(int beginLine, const std::string& name)
{
    return "the folder record of line " + std::to_string(beginLine) + (name.empty() ? "" : " (" + Quote(name) + ")");
}

class StrictReader
{
public:
    // With bHeadsAreText, a record's head inside a folder's text is read as text.
    StrictReader(std::string_view data, bool bHeadsAreText)
        : m_in(data)
        , m_bHeadsAreText(bHeadsAreText)
    {
    }

    std::vector<Damage> Check()
    {
        CheckPreferences();
        CheckRecords();
        return std::move(m_damages);
    }

    // Whether the records, read to "End Folder Information", are each counted once by the
    // numbers of children of the records before them, but for Main and Trash at the top level.
    bool CountsAgree() const { return m_bCountsAgree; }

private:
    enum class Value
    {
        None,
        Any,  // a name: any line
        Flag, // 0 or 1
    };

    void Add(int line, std::string what) { m_damages.push_back({ line, std::move(what) }); }
    // The end of the file is reported once, where it first cuts something short.
    void AddEnd(std::string what)
    {
        if (!std::exchange(m_bEnded, true))
            Add(m_in.LineNumber() + 1, std::move(what));
    }

    // Reads `keyword` as the next line; where another line stands there, finds the keyword
    // further on without passing `stops`, reporting the lines passed over. False when the
    // keyword is missing: the reading position is then back where it was.
    bool Expect(std::string_view keyword, std::span<const std::string_view> stops, const std::string& where)
    {
        const LineReader::Mark mark = m_in.GetMark();
        std::string line;
        if (!m_in.ReadLine(line)) {
            AddEnd("the file ends where \"" + std::string(keyword) + "\" should follow" + where);
            return false;
        }
        if (line == keyword)
            return true;
        m_in.Rewind(mark);
        if (m_in.FindLine(keyword, stops)) {
            const int first = mark.line + 1;
            const int last = m_in.LineNumber() - 1;
            Add(first, (first == last ? "the line " + Quote(line) + " does" : "lines " + std::to_string(first) + "-"
                                                                         + std::to_string(last) + " do")
                           + " not belong before \"" + std::string(keyword) + "\"" + where);
            return true;
        }
        m_in.Rewind(mark);
        Add(mark.line + 1, "\"" + std::string(keyword) + "\" is missing" + where + "; found " + Quote(line));
        return false;
    }

    // The value line after a keyword; false, reported, at the end of the file.
    bool ReadValue(std::string_view keyword, Value value, std::string& line)
    {
        if (!m_in.ReadLine(line)) {
            AddEnd("the file ends before the value of \"" + std::string(keyword) + "\"");
            return false;
        }
        if (value == Value::Flag && line != "0" && line != "1")
            Add(m_in.LineNumber(), "\"" + std::string(keyword) + "\" must be 0 or 1, not " + Quote(line));
        return true;
    }

    void CheckPreferences()
    {
        struct Step
        {
            std::string_view keyword;
            Value value;
        };
        static constexpr Step kSteps[] = {
            { "Begin Selected Folder", Value::Any },
            { "End Selected Folder", Value::None },
            { "Begin New Note Preferences", Value::None },
            { "Date", Value::Flag },
            { "Time", Value::Flag },
            { "Text", Value::Flag },
            { "End New Note Preferences", Value::None },
            { "Begin Delete Folder Preferences", Value::None },
            { "Prompt", Value::Flag },
            { "End Delete Folder Preferences", Value::None },
            { "Begin Folder Information", Value::None },
        };
        for (const Step& step : kSteps) {
            if (step.keyword.starts_with("Begin"))
                SkipBlank();
            std::string value;
            if (Expect(step.keyword, kHeaderStops, {}) && step.value != Value::None)
                ReadValue(step.keyword, step.value, value);
        }
    }

    void SkipBlank()
    {
        LineReader::Mark mark = m_in.GetMark();
        std::string line;
        while (m_in.ReadLine(line) && line.empty())
            mark = m_in.GetMark();
        m_in.Rewind(mark);
    }

    // One record after its "Begin Folder" line; its number of children, or nothing when that
    // is unknown.
    std::optional<int> CheckRecord(int beginLine)
    {
        std::string name;
        const auto where = [&] { return " in " + RecordAt(beginLine, name); };
        if (!Expect("Folder Name", kRecordStops, where()) || !ReadValue("Folder Name", Value::Any, name))
            return SkipRecord();
        std::string key;
        if (!Expect("Assigned Key", kRecordStops, where()) || !ReadValue("Assigned Key", Value::Any, key))
            return SkipRecord();
        if (key != "None") {
            std::string function;
            if (!Expect("Assigned Key Function", kRecordStops, where()) || !ReadValue("Assigned Key Function", Value::Any, function))
                return SkipRecord();
            if (function != kMoveFunction && function != kCopyFunction)
                Add(m_in.LineNumber(), "a key's function must be Move or Copy, not " + Quote(function) + where());
        }
        std::string count;
        if (!Expect("Number of Children", kRecordStops, where()) || !ReadValue("Number of Children", Value::Any, count))
            return SkipRecord();
        const std::optional<int> children = IsCount(count) ? std::optional(std::stoi(count)) : std::nullopt;
        if (!children)
            Add(m_in.LineNumber(), "the number of children is " + Quote(count) + ", not a number" + where());
        if (Expect("Folder Text", kRecordStops, where()))
            CheckText(beginLine, name);
        else
            SkipRecord();
        return children;
    }

    // The text of the record of line `beginLine`, up to its "End Folder" line. A folder record
    // standing in it, or the end of the records where the file ends in it, is where that line
    // was lost: the text ends there, and what stands there is read next.
    void CheckText(int beginLine, const std::string& name)
    {
        const auto lost = [&](int line, const std::string& what) {
            m_damages.push_back({ line, what + ": an \"End Folder\" line may be missing before it", true });
        };
        std::optional<LineReader::Mark> endOfRecords;
        std::string_view line;
        for (;;) {
            // A line that begins with neither B nor E neither ends the text nor begins a record.
            m_in.SkipCrLfLines("BE");
            const LineReader::Mark mark = m_in.GetMark();
            if (!m_in.ReadLine(line))
                break;
            if (line == kEndFolder)
                return;
            if (line == "Begin Folder" && !m_bHeadsAreText) {
                std::string runName;
                if (IsLostRecord(runName)) {
                    lost(mark.line + 1, "a folder record (" + Quote(runName) + ") stands inside the text of " + RecordAt(beginLine, name));
                    m_in.Rewind(mark);
                    return;
                }
            } else if (line == kEndOfRecords && !endOfRecords) {
                endOfRecords = mark;
            }
        }
        if (endOfRecords) {
            lost(endOfRecords->line + 1, "\"End Folder Information\" stands inside the text of " + RecordAt(beginLine, name) + ", which runs to the end of the file");
            m_in.Rewind(*endOfRecords);
            return;
        }
        AddEnd("the file ends inside the text of " + RecordAt(beginLine, name));
    }

    // Whether the "Begin Folder" line just read in a text begins a folder record that the text
    // swallowed: the keyword lines of a record's head follow it in the writer's order, and the
    // text goes on to a bare "End Folder" line, or to the end of the file, before an escaped
    // one. A whole record quoted in a note ends in an escaped "End Folder", as the writer
    // stores such a line of a text; a lone "Begin Folder" line in a note is text as well.
    // The reading position is left after the "Begin Folder" line.
    bool IsLostRecord(std::string& name)
    {
        const LineReader::Mark after = m_in.GetMark();
        std::string_view line;
        const auto next = [&](std::string_view keyword) { return m_in.ReadLine(line) && line == keyword; };
        bool bHead = next("Folder Name") && m_in.ReadLine(line);
        if (bHead) {
            name = line;
            bHead = next("Assigned Key") && m_in.ReadLine(line);
        }
        if (bHead && line != "None")
            bHead = next("Assigned Key Function") && m_in.ReadLine(line);
        bHead = bHead && next("Number of Children") && m_in.ReadLine(line) && IsCount(line) && next("Folder Text");
        // The "End Folder" line the text reaches is found once for all the heads before it.
        if (bHead && m_in.GetMark().pos >= m_textEnd) {
            for (;;) {
                m_in.SkipCrLfLines("E\x1b");
                m_textEnd = m_in.GetMark().pos;
                if (!m_in.ReadLine(line) || line == kEndFolder) {
                    m_bQuoted = false;
                    break;
                }
                if (IsEscapedEndFolder(line)) {
                    m_bQuoted = true;
                    break;
                }
            }
        }
        m_in.Rewind(after);
        return bHead && !m_bQuoted;
    }

    // Passes over the rest of a broken record up to its "End Folder"; a following record or
    // the end of the records is left to be read. Returns no number of children, for a record
    // broken before it.
    std::nullopt_t SkipRecord()
    {
        if (m_in.SkipTo(kRecordStops) == 1) {
            std::string line;
            m_in.ReadLine(line);
        }
        return std::nullopt;
    }

    void CheckRecords()
    {
        // The records whose children are being read, innermost last: line and the number of
        // children still to come.
        struct Parent
        {
            int line;
            int remaining;
        };
        std::vector<Parent> parents;
        int junkStart = 0;
        const auto endJunk = [&] {
            if (junkStart > 0) {
                const int last = m_in.LineNumber() - 1;
                Add(junkStart, junkStart == last ? "this line belongs to no folder record"
                                                 : "lines " + std::to_string(junkStart) + "-" + std::to_string(last) + " belong to no folder record");
            }
            junkStart = 0;
        };
        bool bMain = false;
        bool bTrash = false;
        // After a record whose number of children is unknown, where the records belong is too.
        bool bCountsKnown = true;
        // Records named Main or Trash that a number of children counts: the reader puts them at
        // the top level all the same, so the counts move the records after them.
        std::vector<Damage> specialChildren;
        bool bLeftOver = false;
        std::string line;
        for (;;) {
            if (!m_in.ReadLine(line)) {
                endJunk();
                AddEnd("the file ends before \"End Folder Information\"");
                break;
            }
            const int lineNumber = m_in.LineNumber();
            if (line == "End Folder Information") {
                endJunk();
                for (const Parent& parent : parents) {
                    // A record whose last child still waits for its own children lacks none.
                    if (parent.remaining > 0)
                        Add(parent.line, "the folder record of this line lacks " + std::to_string(parent.remaining) + " of its children");
                }
                // A count too large is told once: by the children a record lacks, or else by
                // the records named Main or Trash that filled its place.
                if (parents.empty() && bCountsKnown)
                    m_damages.insert(m_damages.end(), specialChildren.begin(), specialChildren.end());
                m_bCountsAgree = bCountsKnown && parents.empty() && specialChildren.empty() && !bLeftOver;
                if (!bMain || !bTrash)
                    Add(lineNumber, std::string("the notebook has no \"") + (bMain ? kTrashName : kMainName) + "\" folder");
                break;
            }
            if (line != "Begin Folder") {
                if (junkStart == 0)
                    junkStart = lineNumber;
                continue;
            }
            endJunk();
            // A record named Main or Trash is read back at the top level wherever it stands.
            const LineReader::Mark nameMark = m_in.GetMark();
            std::string nameLine;
            if (m_in.ReadLine(nameLine) && nameLine == "Folder Name" && m_in.ReadLine(nameLine)) {
                bMain = bMain || nameLine == kMainName;
                bTrash = bTrash || nameLine == kTrashName;
                // Any other record at the top level is a child that no number of children
                // counted: the reader keeps it there, away from its parent.
                bLeftOver = bLeftOver || (parents.empty() && !IsSpecialName(nameLine));
                if (parents.empty() && bCountsKnown && !IsSpecialName(nameLine))
                    Add(lineNumber, "the folder record of this line (" + Quote(nameLine)
                                        + ") is no folder's child, and only \"Main\" and \"Trash\" stand at the top level:"
                                          " a number of children before it may be too small");
                if (!parents.empty() && IsSpecialName(nameLine))
                    specialChildren.push_back({ lineNumber, "the folder record of this line (" + Quote(nameLine)
                                                                + ") is counted among the children of the folder record of line "
                                                                + std::to_string(parents.back().line) + ", but " + Quote(nameLine)
                                                                + " is read at the top level: a number of children before it may be too large" });
            }
            m_in.Rewind(nameMark);
            if (!parents.empty())
                --parents.back().remaining;
            const std::optional<int> children = CheckRecord(lineNumber);
            bCountsKnown = bCountsKnown && children;
            if (children && *children > 0)
                parents.push_back({ lineNumber, *children });
            while (!parents.empty() && parents.back().remaining == 0)
                parents.pop_back();
        }
        std::string rest;
        while (m_in.ReadLine(rest)) {
            if (!rest.empty()) {
                Add(m_in.LineNumber(), "lines follow \"End Folder Information\"");
                break;
            }
        }
    }

    LineReader m_in;
    const bool m_bHeadsAreText;
    std::vector<Damage> m_damages;
    bool m_bEnded = false;
    bool m_bCountsAgree = false;
    // Where the text last looked into by IsLostRecord meets its first "End Folder" line, bare
    // or escaped (or where the file ends), and whether that line is escaped.
    size_t m_textEnd = 0;
    bool m_bQuoted = false;
};

// The damage a strict reading finds, and whether its numbers of children agree.
struct Reading
{
    std::vector<Damage> damages;
    bool bCountsAgree = false;
};

// Reads `data` strictly; the reader's copy of the notebook goes when it returns.
Reading ReadStrictly(std::string_view data, bool bHeadsAreText)
{
    StrictReader reader(data, bHeadsAreText);
    std::vector<Damage> damages = reader.Check();
    return { std::move(damages), reader.CountsAgree() };
}

} // namespace

std::vector<Damage> CheckNotebook(std::string_view data)
{
    const bool bCut = !data.empty() && data.back() != '\n';
    const int lines = static_cast<int>(std::count(data.begin(), data.end(), '\n')) + (bCut ? 1 : 0);
    Reading reading = ReadStrictly(data, false);
    // A note may hold a record's head copied without its "End Folder" line, which reads as a
    // record its text swallowed. Where the numbers of children agree only when such heads are
    // read as text, text they are.
    if (!reading.bCountsAgree
        && std::any_of(reading.damages.begin(), reading.damages.end(), [](const Damage& damage) { return damage.bLostEndFolder; })) {
        Reading asText = ReadStrictly(data, true);
        if (asText.bCountsAgree)
            reading = std::move(asText);
    }
    std::vector<Damage> damages = std::move(reading.damages);
    if (bCut)
        damages.push_back({ lines, "the last line has no line break: the file may be cut short" });
    std::stable_sort(damages.begin(), damages.end(), [](const Damage& a, const Damage& b) { return a.line < b.line; });
    return damages;
}

std::string MendNotebook(std::string_view data, std::span<const Damage> damages)
{
    const std::string_view endLine = "End Folder\r\n";
    const auto lost = std::count_if(damages.begin(), damages.end(), [](const Damage& damage) { return damage.bLostEndFolder; });
    std::string out;
    out.reserve(data.size() + static_cast<size_t>(lost) * endLine.size());
    size_t copied = 0;
    size_t lineStart = 0;
    int line = 1;
    for (const Damage& damage : damages) {
        if (!damage.bLostEndFolder)
            continue;
        for (size_t lf = 0; line < damage.line && (lf = data.find('\n', lineStart)) != std::string_view::npos; ++line)
            lineStart = lf + 1;
        out.append(data.substr(copied, lineStart - copied));
        out += endLine;
        copied = lineStart;
    }
    out.append(data.substr(copied));
    return out;
}
