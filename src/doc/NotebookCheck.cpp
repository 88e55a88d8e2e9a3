#include "doc/NotebookCheck.h"

#include <algorithm>
#include <string_view>
#include <utility>

#include "doc/FileLines.h"
#include "doc/NotebookNames.h"

namespace {

constexpr std::string_view kRecordStops[] = { "Begin Folder", "End Folder", "End Folder Information" };
constexpr std::string_view kHeaderStops[] = { "Begin Folder Information", "Begin Folder" };

// A line as a message quotes it: at most 40 bytes, control bytes shown as "?".
std::string Quote(std::string_view line)
{
    std::string out = "\"";
    for (char ch : line.substr(0, 40))
        out += static_cast<unsigned char>(ch) < 0x20 ? '?' : ch;
    return out + (line.size() > 40 ? "...\"" : "\"");
}

class StrictReader
{
public:
    explicit StrictReader(std::string_view data)
        : m_in(data)
    {
    }

    std::vector<Damage> Check()
    {
        CheckPreferences();
        CheckRecords();
        return std::move(m_damages);
    }

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

    // One record after its "Begin Folder" line; its number of children, or 0 when unknown.
    int CheckRecord(int beginLine)
    {
        std::string name;
        const auto where = [&] {
            return " in the folder record of line " + std::to_string(beginLine) + (name.empty() ? "" : " (" + Quote(name) + ")");
        };
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
        int children = 0;
        if (count.empty() || count.size() > 9 || !std::all_of(count.begin(), count.end(), [](char ch) { return ch >= '0' && ch <= '9'; }))
            Add(m_in.LineNumber(), "the number of children is " + Quote(count) + ", not a number" + where());
        else
            children = std::stoi(count);
        if (!Expect("Folder Text", kRecordStops, where()))
            return SkipRecord() + children;
        std::string line;
        while (m_in.ReadLine(line)) {
            if (line == "End Folder")
                return children;
        }
        AddEnd("the file ends inside the text of the folder record of line " + std::to_string(beginLine)
               + (name.empty() ? "" : " (" + Quote(name) + ")"));
        return children;
    }

    // Passes over the rest of a broken record up to its "End Folder"; a following record or
    // the end of the records is left to be read.
    int SkipRecord()
    {
        if (m_in.SkipTo(kRecordStops) == 1) {
            std::string line;
            m_in.ReadLine(line);
        }
        return 0;
    }

    void CheckRecords()
    {
        // The records whose children are being read, innermost last: line, name and the number
        // of children still to come.
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
                for (const Parent& parent : parents)
                    Add(parent.line, "the folder record of this line lacks " + std::to_string(parent.remaining) + " of its children");
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
            }
            m_in.Rewind(nameMark);
            if (!parents.empty())
                --parents.back().remaining;
            const int children = CheckRecord(lineNumber);
            if (children > 0)
                parents.push_back({ lineNumber, children });
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
    std::vector<Damage> m_damages;
    bool m_bEnded = false;
};

} // namespace

std::vector<Damage> CheckNotebook(std::string_view data)
{
    const bool bCut = !data.empty() && data.back() != '\n';
    const int lines = static_cast<int>(std::count(data.begin(), data.end(), '\n')) + (bCut ? 1 : 0);
    std::vector<Damage> damages = StrictReader(data).Check();
    if (bCut)
        damages.push_back({ lines, "the last line has no line break: the file may be cut short" });
    std::stable_sort(damages.begin(), damages.end(), [](const Damage& a, const Damage& b) { return a.line < b.line; });
    return damages;
}
