#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "doc/NotebookCheck.h"

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
