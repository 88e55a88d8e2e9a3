#pragma once

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "storage/SharedText.h"
#include "storage/TextEncoding.h"

class CQuillboxDoc;
class Folder;
class LiteralFinder;

// What Find in Notebook and the command-line grep look for.
struct SearchQuery
{
    std::string pattern;
    bool bMatchCase = true;   // else letters match either case
    bool bWholeWords = false; // a match is preceded and followed by no word character
    bool bRegex = false;      // the pattern is a POSIX extended regular expression (grep -E)
    // How the pattern's and the notebook's bytes are characters: the letters and their cases,
    // the word characters, and what a regular expression's "." stands for.
    TextEncoding::Kind encoding = TextEncoding::Kind::Utf8;
};

// Why a query cannot run, for the front end to put into words with the pattern as it was given.
struct SearchProblem
{
    enum class Kind
    {
        None,
        EmptyPattern,
        MalformedRegex, // `reason` is the engine's word for what is wrong
        BackReference,  // `reason` is the back-reference as written, e.g. "\\1"
        WordBoundary,   // `reason` is the operator as written: "\\<", "\\>", "\\b" or "\\B"
    };
    Kind kind = Kind::None;
    std::string reason;

    explicit operator bool() const { return kind != Kind::None; }
};

// The words a user typed to search for as the notebook's bytes, or nothing when they hold a
// character the notebook's encoding lacks, which then no folder holds.
std::optional<std::string> SearchPatternBytes(const TextEncoding& encoding, std::u16string_view typed);

// The folders a search looks at, taken on the window's thread in the order the folder tree shows
// them: names copied, texts shared with the notebook (never changed in place), the selected
// folder's text as the editor holds it. Any thread may search it while the notebook changes.
struct SearchSnapshot
{
    static constexpr size_t kNoParent = static_cast<size_t>(-1);
    struct Entry
    {
        const Folder* pFolder = nullptr; // which folder it was: off the window's thread only compared
        size_t parent = kNoParent;       // the entry of its parent folder, when taken too
        std::string name;
        SharedText text;
    };
    std::vector<Entry> entries;
    std::string pathPrefix; // the path of the first entry's parent and a slash, or empty
    char separator = '-';   // the character of note header lines
    size_t bytes = 0;       // of every name and text

    // The folder path of an entry, as FolderPath gives it.
    std::string PathOf(size_t entry) const;
};

// pStart and its subtree, or every folder when pStart is null.
SearchSnapshot TakeSearchSnapshot(const CQuillboxDoc& doc, const Folder* pStart);

// One folder name or one line of a folder's text that matches. The views point into the
// snapshot searched and hold only while the search reports the hit.
struct SearchHit
{
    const Folder* pFolder = nullptr;
    size_t entry = 0;           // the folder's entry in the snapshot
    bool bInName = false;
    int line = -1;              // the line's number in the folder's text, from 0; -1 for the name
    std::string_view text;      // the line without its line break, or the folder's name
    std::string_view header;    // the header line of the note that holds the line, or empty
    std::vector<std::pair<size_t, size_t>> spans; // the matches in `text`: offset and length
};

// Searches the names and texts of a notebook's folders in time that grows with the text and
// never with what the pattern asks (RE2, which does not backtrack). Lines are looked at only
// where a match was found in a folder's whole text, or one of the rare strings that every
// match holds (LiteralFinder, which finds any number of them in one pass). A literal pattern is
// found without the regular expression engine when that is quicker and finds the same.
class NotebookSearch
{
public:
    explicit NotebookSearch(SearchQuery query);
    ~NotebookSearch();

    // Why the query cannot run (an empty or malformed pattern); none when it can.
    const SearchProblem& GetProblem() const { return m_problem; }

    // Calls onHit for every matching name and line of the snapshot's folders, in its order.
    // Calls onProgress with the bytes of names and texts searched so far after each folder and
    // each megabyte of a long text. Stops when either returns false. Returns the number of hits
    // reported.
    size_t Run(const SearchSnapshot& folders, const std::function<bool(const SearchHit&)>& onHit,
               const std::function<bool(size_t)>& onProgress = {}) const;
    // pStart and its subtree, or every folder when pStart is null, on the calling thread.
    size_t Run(const CQuillboxDoc& doc, const Folder* pStart, const std::function<bool(const SearchHit&)>& onHit) const;

    // The matches within one line; empty when there are none.
    std::vector<std::pair<size_t, size_t>> MatchLine(std::string_view line) const;

private:
    class Engine;

    // What leads a run to the lines that may hold a match: the finder's strings, until the lines
    // they lead to hold none so often that the engine alone is quicker.
    struct Lead
    {
        bool bFinder = false;
        size_t misses = 0; // lines the finder led to that held no match
    };
    // A place in [from, to) in the first line there that may hold a match, or npos. `to` is
    // the start of a line or the text's end.
    size_t FindCandidate(std::string_view text, size_t from, size_t to, const Lead& lead) const;
    bool IsWholeWord(std::string_view line, size_t start, size_t length) const;
    // The engine's matches in a line from `from` on, added to `spans`.
    void AddLineMatches(std::string_view line, size_t from, std::vector<std::pair<size_t, size_t>>& spans) const;
    // The first match from `from` in [from, to) of a text, [start, end), or none (start npos).
    struct TextMatch
    {
        size_t from = static_cast<size_t>(-1);
        size_t to = 0;
        size_t start = static_cast<size_t>(-1);
        size_t end = static_cast<size_t>(-1);
    };
    // Where the engine's matches in a text are its lines': the next line from `pos` before `to`
    // that holds a match, [start, end), and its matches, `pos` moved past it; false, `pos` moved
    // on, when there is none there. `pending` carries the match found past the line.
    bool FindLineInText(std::string_view text, size_t& pos, size_t to, TextMatch& pending, size_t& start, size_t& end,
                        std::vector<std::pair<size_t, size_t>>& spans) const;
    // Reports the matching lines of one folder's text; false when asked to stop.
    bool SearchText(const SearchSnapshot& folders, size_t entry, size_t& count, size_t& done, Lead& lead,
                    const std::function<bool(const SearchHit&)>& onHit,
                    const std::function<bool(size_t)>& onProgress) const;

    SearchQuery m_query;
    SearchProblem m_problem;
    std::string m_folded;                  // the literal pattern, case-folded unless bMatchCase
    std::unique_ptr<Engine> m_pEngine;     // null for a literal found without it
    // The literal pattern, or strings one of which every match holds; null when there are none.
    std::unique_ptr<LiteralFinder> m_pFinder;
    bool m_bFinderMatches = false; // the finder's strings are all the pattern matches

};

// Selects the folder of a hit in the tree (its text then moves into the editor) and, for a
// hit in the text, selects `length` bytes from `start` of the line in the editor.
void GoToSearchHit(CQuillboxDoc& doc, const Folder* pFolder, int line, size_t start, size_t length);
