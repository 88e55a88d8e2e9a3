#pragma once

#include <array>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "doc/TextEncoding.h"

class CQuillboxDoc;
class Folder;

// What Find in Notebook and the command-line grep look for.
struct SearchQuery
{
    std::string pattern;
    bool bMatchCase = true;   // else letters match either case
    bool bWholeWords = false; // a match neither starts nor ends inside a word
    bool bRegex = false;      // the pattern is a POSIX extended regular expression
    // How the pattern's and the notebook's bytes are characters: the letters that have two
    // cases, and what a regular expression's "." stands for.
    TextEncoding::Kind encoding = TextEncoding::Kind::Utf8;
};

// Why a query cannot run, for the front end to put into words with the pattern as it was given.
struct SearchProblem
{
    enum class Kind
    {
        None,
        EmptyPattern,
        MalformedRegex, // `reason` is the C library's word for what is wrong
    };
    Kind kind = Kind::None;
    std::string reason;

    explicit operator bool() const { return kind != Kind::None; }
};

// One folder name or one line of a folder's text that matches. The views point into the
// notebook and hold only while the search reports the hit.
struct SearchHit
{
    const Folder* pFolder = nullptr;
    bool bInName = false;
    int line = -1;              // the line's number in the folder's text, from 0; -1 for the name
    std::string_view text;      // the line without its line break, or the folder's name
    std::string_view header;    // the header line of the note that holds the line, or empty
    std::vector<std::pair<size_t, size_t>> spans; // the matches in `text`: offset and length
};

// Searches the names and texts of a notebook's folders. Words are runs of ASCII letters,
// digits, underscores and non-ASCII bytes. A literal pattern is found without the regular
// expression engine, except a pattern with non-ASCII letters in any case in a UTF-8 notebook,
// whose case variants the C library's UTF-8 locale knows.
class NotebookSearch
{
public:
    explicit NotebookSearch(SearchQuery query);
    ~NotebookSearch();

    // Why the query cannot run (an empty or malformed pattern); none when it can.
    const SearchProblem& GetProblem() const { return m_problem; }

    // Calls onHit for every matching name and line of pStart and its subtree, or of every
    // folder when pStart is null, in the order the folder tree shows them (the selected
    // folder's text as the editor holds it). Stops when onHit returns false. Returns the
    // number of hits reported.
    size_t Run(const CQuillboxDoc& doc, const Folder* pStart, const std::function<bool(const SearchHit&)>& onHit) const;

    // The matches within one line; empty when there are none.
    std::vector<std::pair<size_t, size_t>> MatchLine(std::string_view line) const;

private:
    class Regex;

    // The first place at or after `from` where the literal pattern may start, or npos.
    size_t FindLiteral(std::string_view text, size_t from) const;
    // The start of the first line at or after `from` that may hold a match, or npos.
    size_t FindCandidate(std::string_view text, size_t from) const;
    bool IsWholeWord(std::string_view line, size_t start, size_t length) const;
    // Reports the matching lines of one folder's text; false when onHit asked to stop.
    bool SearchText(const CQuillboxDoc& doc, const Folder* pFolder, std::string_view text, size_t& count,
                    const std::function<bool(const SearchHit&)>& onHit) const;

    SearchQuery m_query;
    SearchProblem m_problem;
    std::string m_folded;                  // the literal pattern, case-folded unless bMatchCase
    std::array<unsigned char, 256> m_fold; // byte to its folded form
    std::array<unsigned char, 256> m_other; // folded byte to the other case's byte, or itself
    std::unique_ptr<Regex> m_pRegex;
    bool m_bLineByLine = false; // the regular expression must be tried on each line alone
};

// Selects the folder of a hit in the tree (its text then moves into the editor) and, for a
// hit in the text, selects `length` bytes from `start` of the line in the editor.
void GoToSearchHit(CQuillboxDoc& doc, const Folder* pFolder, int line, size_t start, size_t length);
