#include "NoteMarks.h"
#include "NotebookFixture.h"
#include "platform/CommandIds.h"

namespace {

const std::string kHeader = "------ New Note 12/06/97 ------\r\n";

// The note FindNoteAtCursor gives for a marked editor text, shown as a selection, or "none".
std::string NoteAt(Notebook& nb, const std::string& marked)
{
    LoadMarked(nb.edit, marked);
    long start = -1;
    long end = -1;
    if (!nb.editView.FindNoteAtCursor(start, end))
        return "none";
    nb.edit.SetSel(start, end);
    return Marked(nb.edit);
}

std::vector<int> HeaderLinesOf(Notebook& nb, const std::string& text)
{
    nb.edit.SetText(text);
    nb.editView.ScanHeaderLines();
    return nb.editView.m_headerLines;
}

// The editor after New Note on a marked text.
std::string AfterNewNote(Notebook& nb, const std::string& marked)
{
    LoadMarked(nb.edit, marked);
    nb.editView.InsertNoteHeader();
    return Marked(nb.edit);
}

} // namespace

TEST(NoteHeader, FollowsThePreferencesAndTheClock)
{
    struct Case
    {
        int bText, bDate, bTime;
        FixedClock clock;
        std::string header;
    };
    const Case cases[] = {
        { 1, 1, 0, { 1997, 12, 6, 15, 53 }, "------ New Note 12/06/97 ------" },
        { 1, 1, 1, { 1997, 12, 6, 15, 53 }, "------ New Note 12/06/97 03:53PM ------" },
        { 0, 1, 1, { 1997, 12, 6, 15, 53 }, "------12/06/97 03:53PM ------" },
        { 1, 0, 0, { 1997, 12, 6, 15, 53 }, "------ New Note ------" },
        { 0, 0, 0, { 1997, 12, 6, 15, 53 }, "------------" },
        { 0, 0, 1, { 1997, 12, 6, 9, 5 }, "------09:05AM ------" },
        { 0, 0, 1, { 1997, 12, 6, 0, 7 }, "------12:07AM ------" },
        { 0, 0, 1, { 1997, 12, 6, 12, 30 }, "------12:30PM ------" },
        { 0, 1, 0, { 2005, 1, 2, 12, 0 }, "------01/02/05 ------" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.header);
        auto nb = Notebook::New();
        nb->doc.SetNoteHeaderPrefs(c.bText, c.bDate, c.bTime);
        nb->clock = c.clock;
        EXPECT_EQ(AfterNewNote(*nb, "|"), c.header + "\r\n|");
    }
}

TEST(NoteHeader, StartsOnALineOfItsOwn)
{
    auto nb = Notebook::New();
    // Mid-line: the rest of the line follows the header.
    EXPECT_EQ(AfterNewNote(*nb, "ab|cd"), "ab\r\n" + kHeader + "|cd");
    // An empty line takes the header as it is.
    EXPECT_EQ(AfterNewNote(*nb, "x\r\n|\r\ny"), "x\r\n" + kHeader + "|\r\ny");
    // At the start of a non-empty line an empty line stays above the header.
    EXPECT_EQ(AfterNewNote(*nb, "x\r\n|yz"), "x\r\n\r\n" + kHeader + "|yz");
    // A selection is replaced by the first typed character.
    EXPECT_EQ(AfterNewNote(*nb, "a[bc]d"), "a\r\n" + kHeader + "|d");
    EXPECT_EQ(AfterNewNote(*nb, "x\r\n[yz]"), "x\r\n" + kHeader + "|");
    // An empty folder gets the header on line 0.
    EXPECT_EQ(AfterNewNote(*nb, "|"), kHeader + "|");
    EXPECT_EQ(nb->editView.m_bShiftDown, false);
}

TEST(NoteHeader, NewNoteCommandTypesAtTheCaret)
{
    auto nb = Notebook::New();
    LoadMarked(nb->edit, kHeader + "one|\r\n" + kHeader + "two\r\n");
    nb->doc.SetModifiedFlag(false);
    EXPECT_TRUE(nb->editView.OnCommand(cmd::NewNote));
    EXPECT_EQ(Marked(nb->edit), kHeader + "one\r\n" + kHeader + "|\r\n" + kHeader + "two\r\n");
    EXPECT_TRUE(nb->doc.IsModified());
    EXPECT_PROMPTS_DONE(*nb);
}

TEST(NoteLayout, HeaderLinesAreSixSeparatorsAnywhereInTheFirst500Characters)
{
    auto nb = Notebook::New();
    EXPECT_EQ(HeaderLinesOf(*nb, "intro\r\n"
                                 "------ A\r\n"
                                 "see ------ here\r\n"
                                 "-----five\r\n"
                                 "a-----b-----c\r\n"
                                 "------------\r\n"
                                 "end------"),
              (std::vector<int> { 1, 2, 5, 6 }));

    const std::string tail(100, 'y');
    EXPECT_EQ(HeaderLinesOf(*nb, std::string(494, 'x') + "------" + tail + "\r\n"     // ends at 500
                                     + std::string(495, 'x') + "------" + tail + "\r\n" // straddles 500
                                     + std::string(600, 'x') + "------" + "\r\n"),      // beyond 500
              (std::vector<int> { 0 }));

    EXPECT_EQ(HeaderLinesOf(*nb, ""), (std::vector<int> {}));
}

TEST(NoteLayout, NoteRunsFromItsHeaderLineToTheNextHeaderLine)
{
    auto nb = Notebook::New();
    const std::string text = "intro\r\n------ A\r\nbody a\r\n------ B\r\nbody b\r\n\r\n\r\n";
    // Above the first header, and a folder without headers: no note.
    EXPECT_EQ(NoteAt(*nb, "in|tro\r\n------ A\r\n"), "none");
    EXPECT_EQ(NoteAt(*nb, "|"), "none");
    EXPECT_EQ(NoteAt(*nb, "plain|\r\ntext\r\n"), "none");
    // On a header line, at its start or inside it.
    EXPECT_EQ(NoteAt(*nb, "intro\r\n|------ A\r\nbody a\r\n------ B\r\n"),
              "intro\r\n[------ A\r\nbody a\r\n]------ B\r\n");
    EXPECT_EQ(NoteAt(*nb, "intro\r\n------ A\r\nbody a\r\n--|---- B\r\n"),
              "intro\r\n------ A\r\nbody a\r\n[------ B\r\n]");
    // The last note runs to the end, trailing line breaks included.
    EXPECT_EQ(NoteAt(*nb, "intro\r\n------ A\r\nbody a\r\n------ B\r\nbo|dy b\r\n\r\n\r\n"),
              "intro\r\n------ A\r\nbody a\r\n[------ B\r\nbody b\r\n\r\n\r\n]");
    EXPECT_EQ(NoteAt(*nb, text + "|"), "intro\r\n------ A\r\nbody a\r\n[------ B\r\nbody b\r\n\r\n\r\n]");
    // The start of the selection decides.
    EXPECT_EQ(NoteAt(*nb, "intro\r\n------ A\r\nbo[dy a\r\n------ B\r\nbo]dy b\r\n"),
              "intro\r\n[------ A\r\nbody a\r\n]------ B\r\nbody b\r\n");
    // A header in the middle of a body line splits the note there.
    EXPECT_EQ(NoteAt(*nb, "------ A\r\nsee ------ |here\r\nmore\r\n"), "------ A\r\n[see ------ here\r\nmore\r\n]");
}
