#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "storage/TextEncoding.h"

struct SearchProblem;
struct SearchQuery;

// How a search's pattern becomes a pattern of RE2, an engine whose time grows with the text and
// never with what the pattern asks of it (no backtracking), and what a word is.
//
// A word character is a letter or digit of the notebook's encoding, or an underscore: in UTF-8
// the characters Unicode calls letters (L) and decimal digits (Nd), in Windows-1252 the bytes
// that are such characters there (é, Š, ž, ...). Punctuation such as « », “ ” and — never is.
namespace search_syntax {

// Where a pattern is looked for: within one line, or anywhere in a folder's text, whose lines
// end in CR LF. In a whole text "$" also matches before a line's CR, taking the CR into the
// match; each line found that way is searched again alone.
enum class Scope
{
    Line,
    WholeText,
};

// The query's pattern (a POSIX extended regular expression as GNU grep -E reads it, or a literal)
// in RE2's syntax, to be compiled in the query's encoding (UTF-8, or Latin-1 for Windows-1252)
// and with RE2's own case folding in a UTF-8 notebook that ignores case. No match runs over a
// line break. In Scope::Line with whole words the match is group 1, bounded on either side by the
// line's start or end or a character that is not a word character. Empty, with `problem` set,
// when the pattern cannot be taken.
std::string ToEnginePattern(const SearchQuery& query, Scope scope, SearchProblem& problem);

// How a text's bytes are compared with RequiredStrings: each byte as this table folds it. Without
// Match case that is its lower case, in UTF-8 for ASCII's letters only.
std::array<unsigned char, 256> FoldTable(const SearchQuery& query);

// Strings, folded by FoldTable, one of which every match of the query's pattern holds within its
// line, chosen to be rare in a notebook's text; empty when none are known that are rare enough
// to look for before the engine. A line without any of them holds no match. `bAll` is set when
// they are all the strings the pattern matches and it has no anchor: then they are given
// whatever their rarity.
std::vector<std::string> RequiredStrings(const SearchQuery& query, bool& bAll);

// Whether the character that begins at `pos`, or that ends at `pos`, is a word character; false
// at the line's end or start.
bool IsWordCharAt(TextEncoding::Kind encoding, std::string_view line, size_t pos);
bool IsWordCharBefore(TextEncoding::Kind encoding, std::string_view line, size_t pos);

// The lower-case byte of a Windows-1252 upper-case letter, or 0: ASCII's letters, the accented
// letters and Š, Œ, Ž and Ÿ.
unsigned char Cp1252LowerOf(unsigned char byte);

} // namespace search_syntax
