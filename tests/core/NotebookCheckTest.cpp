#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "NotebookFileTestFiles.h"
#include "format/NotebookCheck.h"

namespace {

// A notebook as Quillbox writes it: Main holding Ideas, then Trash with F3; line 20 begins
// Main's record, line 30 Ideas', line 40 Trash's, line 51 is "End Folder Information".
std::vector<std::string> SoundLines()
{
    return { "Begin Selected Folder", "Main", "End Selected Folder", "", "Begin New Note Preferences", "Date", "1",
             "Time", "0", "Text", "1", "End New Note Preferences", "", "Begin Delete Folder Preferences", "Prompt", "1",
             "End Delete Folder Preferences", "", "Begin Folder Information",
             "Begin Folder", "Folder Name", "Main", "Assigned Key", "None", "Number of Children", "1", "Folder Text",
             "main note", "End Folder",
             "Begin Folder", "Folder Name", "Ideas", "Assigned Key", "None", "Number of Children", "0", "Folder Text",
             "idea", "End Folder",
             "Begin Folder", "Folder Name", "Trash", "Assigned Key", "F3", "Assigned Key Function", "Move",
             "Number of Children", "0", "Folder Text", "End Folder", "End Folder Information" };
}

std::string Joined(const std::vector<std::string>& lines)
{
    std::string out;
    for (const std::string& line : lines)
        out += line + "\r\n";
    return out;
}

// Main holding A (which holds A1 and A2) and B, then Trash. The records of Main, A, A1, A2 and B
// begin at lines 20, 30, 40, 50 and 60, each ten lines long with one line of text, "text of"
// its name (its child count at the seventh line, its "End Folder" at the tenth); Trash's record
// is lines 70-80 and line 81 is "End Folder Information".
std::vector<std::string> TreeLines()
{
    std::vector<std::string> lines = SoundLines();
    lines.resize(19);
    const std::pair<std::string, std::string> records[] = { { "Main", "2" }, { "A", "2" }, { "A1", "0" }, { "A2", "0" }, { "B", "0" } };
    for (const auto& [name, children] : records)
        lines.insert(lines.end(), { "Begin Folder", "Folder Name", name, "Assigned Key", "None", "Number of Children", children,
                                    "Folder Text", "text of " + name, "End Folder" });
    lines.insert(lines.end(), { "Begin Folder", "Folder Name", "Trash", "Assigned Key", "F3", "Assigned Key Function", "Move",
                                "Number of Children", "0", "Folder Text", "End Folder", "End Folder Information" });
    return lines;
}

// The notebook that `data` opens to, folders, texts and all, or why it opens only in part.
std::string Opened(const std::string& data)
{
    TempDir dir;
    WriteBytes(dir.Path("notebook.not"), data);
    ScriptedNotebook nb;
    const ReadReport report = nb.doc.OnOpenDocument(dir.Path("notebook.not"));
    return report.status == ReadReport::Status::Ok ? nb.Describe() : "incomplete at line " + std::to_string(report.problem.line);
}

// Every damage as "line: what", one a line.
std::string Damages(const std::string& data)
{
    std::string out;
    for (const Damage& damage : CheckNotebook(data))
        out += std::to_string(damage.line) + ": " + damage.what + "\n";
    return out;
}

} // namespace

TEST(NotebookCheck, ListsEveryDepartureWithItsLine)
{
    struct Case
    {
        const char* what;
        std::function<void(std::vector<std::string>&)> damage;
        std::string found;
    };
    using Lines = std::vector<std::string>;
    const auto at = [](int line) { return static_cast<std::ptrdiff_t>(line - 1); };
    const Case cases[] = {
        { "sound", [](Lines&) {}, "" },
        { "bad flag", [](Lines& l) { l[6] = "yes"; }, "7: \"Date\" must be 0 or 1, not \"yes\"\n" },
        { "missing child", [](Lines& l) { l[25] = "3"; }, "20: the folder record of this line lacks 1 of its children\n" },
        { "bad count", [](Lines& l) { l[25] = "x"; },
          "26: the number of children is \"x\", not a number in the folder record of line 20 (\"Main\")\n" },
        { "bad function", [](Lines& l) { l[45] = "Paste"; },
          "46: a key's function must be Move or Copy, not \"Paste\" in the folder record of line 40 (\"Trash\")\n" },
        { "no Trash", [&](Lines& l) { l.erase(l.begin() + at(40), l.begin() + at(51)); },
          "40: the notebook has no \"Trash\" folder\n" },
        { "stray line", [&](Lines& l) { l.insert(l.begin() + at(30), "stray"); },
          "30: this line belongs to no folder record\n" },
        { "missing keyword, the rest read on", [&](Lines& l) { l.erase(l.begin() + at(25), l.begin() + at(27)); l[6] = "2"; },
          "7: \"Date\" must be 0 or 1, not \"2\"\n"
          "25: \"Number of Children\" is missing in the folder record of line 20 (\"Main\"); found \"Folder Text\"\n" },
        { "junk in the preferences", [&](Lines& l) { l.insert(l.begin() + at(8), { "junk", "more" }); },
          "8: lines 8-9 do not belong before \"Time\"\n" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Lines lines = SoundLines();
        c.damage(lines);
        EXPECT_EQ(Damages(Joined(lines)), c.found);
    }
    // Cut short inside a folder's text: said once, with the missing line break.
    const std::string whole = Joined(SoundLines());
    EXPECT_EQ(Damages(whole.substr(0, whole.find("idea\r\n") + 4)),
              "38: the last line has no line break: the file may be cut short\n"
              "39: the file ends inside the text of the folder record of line 30 (\"Ideas\")\n");
}

TEST(NotebookCheck, FindsRecordsMovedByALostEndFolderOrAWrongCountAndMendsALostEndFolder)
{
    struct Case
    {
        const char* what;
        std::function<void(std::vector<std::string>&)> damage;
        std::string found;
        // Every damage found is a lost "End Folder" line, and the mended notebook opens as the
        // sound one does.
        bool bMended;
    };
    using Lines = std::vector<std::string>;
    const auto at = [](int line) { return static_cast<std::ptrdiff_t>(line - 1); };
    const std::string maybe = ": an \"End Folder\" line may be missing before it\n";
    const Case cases[] = {
        // The reader alone takes A2 for text of A1, and B for the second child of A.
        { "lost in a folder without children", [&](Lines& l) { l.erase(l.begin() + at(49)); },
          "49: a folder record (\"A2\") stands inside the text of the folder record of line 40 (\"A1\")" + maybe, true },
        { "lost in a folder with children", [&](Lines& l) { l.erase(l.begin() + at(39)); },
          "39: a folder record (\"A1\") stands inside the text of the folder record of line 30 (\"A\")" + maybe, true },
        { "lost before the end of the records", [&](Lines& l) { l.erase(l.begin() + at(80)); },
          "80: \"End Folder Information\" stands inside the text of the folder record of line 70 (\"Trash\"), which runs to "
          "the end of the file" + maybe,
          true },
        { "lost in a notebook damaged elsewhere too", [&](Lines& l) { l.erase(l.begin() + at(49)); l[6] = "yes"; },
          "7: \"Date\" must be 0 or 1, not \"yes\"\n"
          "49: a folder record (\"A2\") stands inside the text of the folder record of line 40 (\"A1\")" + maybe, false },
        { "child count too large", [&](Lines& l) { l[at(36)] = "3"; },
          "70: the folder record of this line (\"Trash\") is counted among the children of the folder record of line 20, but "
          "\"Trash\" is read at the top level: a number of children before it may be too large\n",
          false },
        { "child count too large at the end", [&](Lines& l) { l[at(66)] = "1"; l.erase(l.begin() + at(70), l.begin() + at(81)); },
          "60: the folder record of this line lacks 1 of its children\n70: the notebook has no \"Trash\" folder\n", false },
        { "child count too small", [&](Lines& l) { l[at(36)] = "1"; },
          "60: the folder record of this line (\"B\") is no folder's child, and only \"Main\" and \"Trash\" stand at the top "
          "level: a number of children before it may be too small\n",
          false },
        { "record keywords in a note", [&](Lines& l) {
              l[at(48)] = "Begin Folder";
              l.insert(l.begin() + at(49), { "Begin Folder", "Folder Name", "A2", "Assigned Key", "None", "Number of Children" });
          },
          "", true },
        { "a whole record quoted in a note", [&](Lines& l) {
              l.insert(l.begin() + at(49), { "Begin Folder", "Folder Name", "Q", "Assigned Key", "None", "Number of Children", "0",
                                             "Folder Text", "quoted", "\x1b" "End Folder" });
          },
          "", true },
        { "a record's head without its End Folder in a note", [&](Lines& l) {
              l.insert(l.begin() + at(49), { "Begin Folder", "Folder Name", "Q", "Assigned Key", "None", "Number of Children", "0",
                                             "Folder Text", "copied" });
          },
          "", true },
    };
    const std::string sound = Opened(Joined(TreeLines()));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Lines lines = TreeLines();
        c.damage(lines);
        const std::string data = Joined(lines);
        const std::vector<Damage> damages = CheckNotebook(data);
        EXPECT_EQ(Damages(data), c.found);
        EXPECT_EQ(std::all_of(damages.begin(), damages.end(), [](const Damage& d) { return d.bLostEndFolder; }), c.bMended);
        if (c.bMended && !damages.empty()) {
            const std::string mended = MendNotebook(data, damages);
            EXPECT_EQ(Damages(mended), "");
            EXPECT_EQ(Opened(mended), sound);
        }
    }
}
