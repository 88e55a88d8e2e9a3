#pragma once

#include <ctime>
#include <string>
#include <string_view>
#include <vector>

// How a folder's text is made of notes: each opened by a header line, which holds six separator
// characters in a row within its first 500 characters. The editor, the merge, the search and the
// exports all read notes by these rules.

// The character every notebook's note headers repeat.
inline constexpr char kNoteSeparator = '-';
// A header line is recognised within its first characters, this many.
inline constexpr size_t kHeaderScanChars = 500;

// True when a line (without its line break) opens a note.
bool IsHeaderLine(std::string_view line, char chSeparator = kNoteSeparator);

// The header line of a new note made at `now`: the separators, the words "New Note", the date and
// the time as the notebook's preferences ask, then the separators again.
std::string MakeNoteHeader(char chSeparator, bool bText, bool bDate, bool bTime, const std::tm& now);

// A line without its line break (CR LF, or a lone LF).
std::string_view WithoutBreak(std::string_view line);
// A text's lines, each with its line break; the last one may have none.
std::vector<std::string_view> SplitLines(std::string_view text);
// A text's first line without its line break.
std::string_view FirstLine(std::string_view text);

// A folder's text as its notes: each from a header line to the next, and what stands before the
// first header as a note of its own when it is not empty.
std::vector<std::string_view> SplitNotes(std::string_view text, char chSeparator = kNoteSeparator);
// A note's header line, or nothing for what stands before a folder's first note.
std::string_view NoteHeader(std::string_view note, char chSeparator = kNoteSeparator);
