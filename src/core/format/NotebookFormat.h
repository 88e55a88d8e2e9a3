#pragma once

#include <algorithm>
#include <string_view>

// The keyword lines that the reader, the writer and the strict check of notebook and folder
// files share; the README's "The notebook file" describes the format.

inline constexpr std::string_view kEndFolder = "End Folder";
inline constexpr std::string_view kEndOfRecords = "End Folder Information";
// A text line that reads "End Folder" behind ESC characters is stored behind one more.
inline constexpr char kEsc = '\x1b';

// Lines that start a record, or end the records, inside a notebook or folder file.
inline constexpr std::string_view kRecordOrEnd[] = { "Begin Folder", kEndOfRecords };
// A keyword search inside a record gives up at a line that belongs to another record.
inline constexpr std::string_view kRecordStops[] = { "Begin Folder", kEndFolder, kEndOfRecords };
// A search for a header keyword does not run on into the folder records.
inline constexpr std::string_view kHeaderStops[] = { "Begin Folder Information", "Begin Folder" };

// The first bytes of the lines that end a folder's text or are escaped in it.
inline constexpr std::string_view kTextStops = "E\x1b";

// "End Folder" behind one or more ESC characters, or without when bBare is set.
inline bool IsEndFolderLine(std::string_view line, bool bBare)
{
    const size_t escapes = std::min(line.find_first_not_of(kEsc), line.size());
    return (bBare || escapes > 0) && line.substr(escapes) == kEndFolder;
}
