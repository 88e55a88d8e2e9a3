#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "model/NotebookSnapshot.h"

// Notebooks written short, for the merge's tests and fuzz target, as in
// "Main<a:1,2|:loose>[Ideas{F4 Copy}<b:3>],Trash{F3 Move}". A folder is its name, then its key
// and function in braces, its notes in angle brackets and its children in square brackets, each
// when it has them. Notes are apart by '|'; "h:x,y" is the note headed "------ h ------" with
// the lines x and y, ":x" a note with no header line. Names and lines hold no ",:|<>[]{}".
struct SketchFolder
{
    std::string name;
    std::string key;
    std::string function;
    std::string text;
    std::vector<SketchFolder> children;
};

struct SketchNotebook
{
    std::vector<SketchFolder> top;
    std::string selected = "Main";
    int date = 1;
    int time = 0;
    int text = 1;
    int prompt = 1;
};

SketchNotebook ParseSketch(std::string_view sketch);
// The folders in the sketch's form (the preferences and selection are not in it).
std::string WriteSketch(const SketchNotebook& notebook);
NotebookSnapshot ToSnapshot(const SketchNotebook& notebook);
SketchNotebook FromSnapshot(const NotebookSnapshot& snapshot);
// A sketch's notebook as the file holds it.
std::string NotebookBytes(const NotebookSnapshot& snapshot);
// A note as the sketch writes "header:lines".
std::string SketchNote(const std::string& header, const std::vector<std::string>& lines);

// Picks a number below `bound` (which is at least 1): the randomness of generated notebooks and
// edits, from a seeded generator or from a fuzzer's bytes.
using Choose = std::function<uint32_t(uint32_t bound)>;

// Generated notebooks and edits. Every note made gets a header of its own, "------ nK ------",
// so that notes can be told apart by their header lines; edits never change a header.
class SketchEditor
{
public:
    explicit SketchEditor(Choose choose)
        : m_choose(std::move(choose))
    {
    }

    // Main with a few folders, some nested and some of one name, each with a few notes, and Trash.
    SketchNotebook Generate();
    // `count` edits as a user makes them: notes added, removed and changed, folders added,
    // removed, renamed and moved, keys given and taken, a preference changed, another folder
    // selected.
    void Edit(SketchNotebook& notebook, int count);

private:
    uint32_t Pick(uint32_t bound) { return bound == 0 ? 0 : m_choose(bound); }
    std::string NewNote();
    std::string NewName();

    Choose m_choose;
    int m_nextNote = 0;
};

// The merge's properties for base B and sides X and Y: merge(B, X, B) = X, merge(B, B, Y) = Y,
// merge(B, X, X) = X, and every note of X or Y (told by a header line held once on each side)
// is in merge(B, X, Y), counted in its written bytes, unless the other side removed it while
// this one left it as in B; one that only this side changed (the other left it as in B or
// removed it) is there as this side has it. An empty string when they hold, else what failed.
std::string CheckMergeProperties(const NotebookSnapshot& base, const NotebookSnapshot& x, const NotebookSnapshot& y);
