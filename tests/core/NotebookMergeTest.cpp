#include <gtest/gtest.h>

#include <random>

#include "merge/NotebookMerge.h"
#include "support/NotebookSketch.h"

namespace {

using Kind = TextEncoding::Kind;

// Main's children in the sketch's form, with Main and Trash around them.
std::string InMain(const std::string& children)
{
    return "Main" + (children.empty() ? std::string() : "[" + children + "]") + ",Trash{F3 Move}";
}

NotebookSnapshot Notebook(const std::string& children, Kind encoding = Kind::Utf8)
{
    NotebookSnapshot snapshot = ToSnapshot(ParseSketch(InMain(children)));
    snapshot.encoding = encoding;
    return snapshot;
}

std::string EventName(MergeEvent::Kind kind)
{
    using K = MergeEvent::Kind;
    switch (kind) {
    case K::NoteKeptTwice: return "note kept twice";
    case K::NoteDeletedByOurs: return "note deleted by ours";
    case K::NoteDeletedByTheirs: return "note deleted by theirs";
    case K::FolderDeletedByOurs: return "folder deleted by ours";
    case K::FolderDeletedByTheirs: return "folder deleted by theirs";
    case K::FolderRenamedTwice: return "folder renamed twice";
    case K::FolderMovedTwice: return "folder moved twice";
    case K::NoCommonVersion: return "no common version";
    case K::KeyTaken: return "key taken";
    case K::KeyKept: return "key kept";
    case K::SettingKept: return "setting kept";
    }
    return "?";
}

// The events as "what path header detail", apart by "; ".
std::string Events(const MergeResult& result)
{
    std::string out;
    for (const MergeEvent& event : result.events) {
        if (!out.empty())
            out += "; ";
        out += EventName(event.kind) + " " + event.path;
        if (!event.header.empty())
            out += " " + event.header;
        if (!event.detail.empty())
            out += " (" + event.detail + ")";
    }
    return out;
}

const MergeOptions kOptions { "(theirs)" };

struct MergeCase
{
    const char* what;
    const char* base;
    const char* ours;
    const char* theirs;
    const char* merged;
    const char* events;
    Kind encodings[4] = { Kind::Utf8, Kind::Utf8, Kind::Utf8, Kind::Utf8 }; // base, ours, theirs, merged
};

constexpr Kind kU = Kind::Utf8;
constexpr Kind kW = Kind::Windows1252;

const MergeCase kCases[] = {
    { "both add notes to one folder", "A<a:1>", "A<a:1|b:2>", "A<a:1|c:3>", "A<a:1|b:2|c:3>", "" },
    { "both add the same note", "A<a:1>", "A<a:1|b:2>", "A<a:1|b:2>", "A<a:1|b:2>", "" },
    { "both add notes at the top of a folder", "A<a:1>", "A<b:2|a:1>", "A<c:3|a:1>", "A<b:2|c:3|a:1>", "" },
    { "a note edited against deleted", "A<a:1|b:2>", "A<a:1x|b:2>", "A<b:2>", "A<a:1x|b:2>",
      "note deleted by theirs Main/A ------ a ------" },
    { "a note deleted, unchanged on the other side", "A<a:1|b:2>", "A<b:2>", "A<a:1|b:2|c:3>", "A<b:2|c:3>", "" },
    { "one note edited on both sides, apart", "A<a:1,2,3>", "A<a:1x,2,3>", "A<a:1,2,3x>", "A<a:1x,2,3x>", "" },
    { "one note edited on both sides, in the same line", "A<a:1,2,3>", "A<a:1,2x,3>", "A<a:1,2y,3>",
      "A<a:1,2x,3|a:(theirs),1,2y,3>", "note kept twice Main/A ------ a ------" },
    { "one note edited on both sides, a line added right after lines the other rewrote", "A<a:1,2,3>", "A<a:1,2,2b,3>",
      "A<a:1,2x,3>", "A<a:1,2,2b,3|a:(theirs),1,2x,3>", "note kept twice Main/A ------ a ------" },
    { "what stands before the first note, edited on both sides", "A<:0|a:1>", "A<:0x|a:1>", "A<:0y|a:1>",
      "A<:0x|(theirs):0y|a:1>", "note kept twice Main/A" },
    { "notes edited on both sides, each in its own way", "A<a:1|b:2>", "A<a:1x|b:2>", "A<a:1|b:2x>", "A<a:1x|b:2x>", "" },
    { "notes of one header: one deleted, the other edited, against it edited", "A<h:1|h:2,3,4>", "A<h:1|h:2x,3,4>",
      "A<h:2,3,4y>", "A<h:2x,3,4y>", "" },
    { "a folder renamed against edited", "A<a:1>", "B<a:1>", "A<a:1x>", "B<a:1x>", "" },
    { "a folder renamed and edited against edited", "A<a:1|b:2|c:3>", "B<a:1|b:2|c:3|d:4>", "A<a:1x|b:2|c:3>",
      "B<a:1x|b:2|c:3|d:4>", "" },
    { "a folder renamed and its only note edited, against edited", "A<a:1,2,3>", "B<a:1x,2,3>", "A<a:1,2,3y>", "B<a:1x,2,3y>",
      "" },
    { "a folder renamed and most notes edited, against a note added", "A<a:1,2|b:3,4|c:5,6>", "B<a:1x,2|b:3x,4|c:5,6>",
      "A<a:1,2|b:3,4|c:5,6|d:7>", "B<a:1x,2|b:3x,4|c:5,6|d:7>", "" },
    { "a folder deleted and one little like it added, against edited", "A<a:1,2,3>", "B<b:1,4,5>", "A<a:1,2,3y>",
      "B<b:1,4,5>,A<a:1,2,3y>", "folder deleted by ours Main/A" },
    { "a folder renamed differently", "A<a:1>", "B<a:1>", "C<a:1>", "B<a:1>", "folder renamed twice Main/B (C)" },
    { "a folder moved against moved", "A<a:1>,P<p:1>,Q<q:1>", "P<p:1>[A<a:1>],Q<q:1>", "P<p:1>,Q<q:1>[A<a:1>]",
      "P<p:1>[A<a:1>],Q<q:1>", "folder moved twice Main/P/A (Main/Q)" },
    { "a folder moved against edited", "A<a:1>,P<p:1>", "P<p:1>[A<a:1>]", "A<a:1x>,P<p:1>", "P<p:1>[A<a:1x>]", "" },
    { "two moves that would put a folder inside itself", "A<a:1>,B<b:1>", "B<b:1>[A<a:1>]", "A<a:1>[B<b:1>]",
      "B<b:1>[A<a:1>]", "folder moved twice Main/B (Main/B/A)" },
    { "a folder deleted against changed", "A<a:1>,B<b:1>", "B<b:1>", "A<a:1x>,B<b:1>", "A<a:1x>,B<b:1>",
      "folder deleted by ours Main/A" },
    { "a folder deleted, unchanged on the other side", "A<a:1>,B<b:1>", "B<b:1>", "A<a:1>,B<b:1x>", "B<b:1x>", "" },
    { "a folder deleted holds one the other side added", "A<a:1>", "", "A<a:1>[New<n:1>]", "A<a:1>[New<n:1>]",
      "folder deleted by ours Main/A" },
    { "a folder both add at one path", "", "N<x:1>", "N<y:1>", "N<x:1|y:1>", "" },
    { "folders added on both sides", "A<a:1>", "A<a:1>,B<b:1>", "A<a:1>,C<c:1>", "A<a:1>,B<b:1>,C<c:1>", "" },
    { "keys colliding", "A<a:1>,B<b:1>", "A{F4 Move}<a:1>,B<b:1>", "A<a:1>,B{F4 Copy}<b:1>", "A{F4 Move}<a:1>,B<b:1>",
      "key taken Main/B (F4)" },
    { "a key moved on one side, another given it on the other", "A{F4 Move}<a:1>,B<b:1>,C<c:1>",
      "A<a:1>,B{F4 Move}<b:1>,C<c:1>", "A{F4 Move}<a:1>,B<b:1>,C{F4 Copy}<c:1>", "A<a:1>,B{F4 Move}<b:1>,C<c:1>",
      "key taken Main/C (F4)" },
    { "a key changed on one side, its function on the other", "A{F4 Move}<a:1>", "A{F4 Copy}<a:1>", "A{F5 Move}<a:1>",
      "A{F5 Copy}<a:1>", "" },
    { "a key changed differently", "A{F4 Move}<a:1>", "A{F6 Copy}<a:1>", "A{F5 Move}<a:1>", "A{F6 Copy}<a:1>",
      "key kept Main/A (F5)" },
    { "same-named siblings: one deleted, the other edited", "N<a:1>,N<b:2>", "N<b:2>", "N<a:1>,N<b:2x>", "N<b:2x>", "" },
    { "same-named siblings: each edited on one side", "N<a:1>,N<b:2>", "N<a:1x>,N<b:2>", "N<a:1>,N<b:2x>",
      "N<a:1x>,N<b:2x>", "" },
    { "same-named siblings keep their order", "N<a:1>,M<m:1>,N<b:2>", "N<a:1>,M<m:1x>,N<b:2>", "N<a:1>,M<m:1>,N<b:2>,N<c:3>",
      "N<a:1>,M<m:1x>,N<b:2>,N<c:3>", "" },
    { "a character Windows-1252 lacks makes the merge UTF-8", "A<a:caf\xe9>", "A<a:caf\xe9|b:2>", "A<a:caf\xc3\xa9|c:\xc4\x81>",
      "A<a:caf\xc3\xa9|b:2|c:\xc4\x81>", "", { kW, kW, kU, kU } },
    { "UTF-8 that Windows-1252 holds stays Windows-1252", "A<a:caf\xe9>", "A<a:caf\xe9|b:2>", "A<a:caf\xc3\xa9|c:\xe2\x82\xac>",
      "A<a:caf\xe9|b:2|c:\x80>", "", { kW, kW, kU, kW } },
};

TEST(NotebookMerge, CasesMergeAsTheRulesSay)
{
    for (const MergeCase& c : kCases) {
        const MergeResult result = MergeNotebooks(Notebook(c.base, c.encodings[0]), Notebook(c.ours, c.encodings[1]),
                                                  Notebook(c.theirs, c.encodings[2]), kOptions);
        EXPECT_EQ(WriteSketch(FromSnapshot(result.notebook)), InMain(c.merged)) << c.what;
        EXPECT_EQ(Events(result), c.events) << c.what;
        EXPECT_EQ(result.notebook.encoding, c.encodings[3]) << c.what;
        EXPECT_EQ(result.HasConflicts(), std::string(c.events).find("note") == 0 || std::string(c.events).find("folder") == 0)
            << c.what;
    }
}

TEST(NotebookMerge, PreferencesAndTheSelectionMergeFieldByField)
{
    SketchNotebook base = ParseSketch(InMain("A<a:1>,B<b:1>"));
    SketchNotebook ours = base;
    SketchNotebook theirs = base;
    ours.date = 0;
    ours.time = 1;
    theirs.time = 0;
    theirs.text = 0;
    theirs.prompt = 0;
    base.time = 2;
    theirs.selected = "B";
    const MergeResult result = MergeNotebooks(ToSnapshot(base), ToSnapshot(ours), ToSnapshot(theirs), kOptions);
    EXPECT_EQ(result.notebook.date, 0);
    EXPECT_EQ(result.notebook.time, 1);
    EXPECT_EQ(result.notebook.text, 0);
    EXPECT_EQ(result.notebook.promptDelete, 0);
    EXPECT_EQ(result.notebook.selectedName, "B");
    EXPECT_EQ(Events(result), "setting kept  (Time)");
    EXPECT_FALSE(result.HasConflicts());
}

struct UnionCase
{
    const char* what;
    const char* ours;
    const char* theirs;
    const char* merged;
    const char* events;
};

const UnionCase kUnionCases[] = {
    { "every folder and note of either, shared notes once", "X<a:1|b:2>", "X<a:1|c:3>,Y<y:1>", "X<a:1|b:2|c:3>,Y<y:1>", "" },
    { "a note edited in one copy is kept in both versions", "X<a:1>", "X<a:1x>", "X<a:1|a:1x>", "" },
    { "shared notes in another order come once", "X<a:1|b:2|c:3>", "X<c:3|a:1|b:2>", "X<c:3|a:1|b:2>", "" },
    { "a note twice in one copy stays twice", "X<a:1|a:1>", "X<a:1>", "X<a:1|a:1>", "" },
    { "a renamed folder is kept under both names", "X<a:1>", "Z<a:1>", "X<a:1>,Z<a:1>", "" },
    { "ours' key wins, and one key names one folder", "X{F4 Move}<a:1>,Y<y:1>", "X{F5 Move}<a:1>,Y{F4 Copy}<y:1>",
      "X{F4 Move}<a:1>,Y<y:1>", "" },
    { "a key each copy gives another folder", "X{F4 Move}<a:1>", "X<a:1>,Y{F4 Copy}<y:1>", "X{F4 Move}<a:1>,Y<y:1>",
      "key taken Main/Y (F4)" },
};

TEST(NotebookMerge, UnionKeepsEveryFolderAndNoteOfEitherCopy)
{
    for (const UnionCase& c : kUnionCases) {
        const MergeResult result = UnionNotebooks(Notebook(c.ours), Notebook(c.theirs), kOptions);
        EXPECT_EQ(WriteSketch(FromSnapshot(result.notebook)), InMain(c.merged)) << c.what;
        EXPECT_EQ(Events(result), c.events) << c.what;
        EXPECT_FALSE(result.HasConflicts()) << c.what;
    }
}

// Seeded edits of generated notebooks: merge(B, X, B) = X, merge(B, B, Y) = Y, merge(B, X, X) = X,
// and no note of X or Y lost unless the other side removed it unchanged.
TEST(NotebookMerge, PropertiesHoldOverGeneratedEdits)
{
    for (uint32_t seed = 1; seed <= 400; ++seed) {
        std::mt19937 random(seed);
        SketchEditor editor([&](uint32_t bound) { return static_cast<uint32_t>(random() % bound); });
        const SketchNotebook base = editor.Generate();
        SketchNotebook x = base;
        SketchNotebook y = base;
        editor.Edit(x, 1 + static_cast<int>(random() % 6));
        editor.Edit(y, 1 + static_cast<int>(random() % 6));
        const std::string failure = CheckMergeProperties(ToSnapshot(base), ToSnapshot(x), ToSnapshot(y));
        ASSERT_EQ(failure, "") << "seed " << seed;
    }
}

} // namespace
