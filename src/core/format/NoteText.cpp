#include "format/NoteText.h"

#include <cstdio>

bool IsHeaderLine(std::string_view line, char chSeparator)
{
    const char pattern[] = { chSeparator, chSeparator, chSeparator, chSeparator, chSeparator, chSeparator };
    return line.substr(0, kHeaderScanChars).find(std::string_view(pattern, sizeof pattern)) != std::string_view::npos;
}

std::string MakeNoteHeader(char chSeparator, bool bText, bool bDate, bool bTime, const std::tm& now)
{
    const std::string separators(6, chSeparator);
    std::string line = separators;
    if (bText)
        line += " New Note ";
    // "%m/%d/%y " and "%I:%M%p " as in the C locale, whatever locale the program runs in.
    char buffer[32];
    if (bDate) {
        std::snprintf(buffer, sizeof buffer, "%02d/%02d/%02d ", now.tm_mon + 1, now.tm_mday, now.tm_year % 100);
        line += buffer;
    }
    if (bTime) {
        const int hour = now.tm_hour % 12 == 0 ? 12 : now.tm_hour % 12;
        std::snprintf(buffer, sizeof buffer, "%02d:%02d%s ", hour, now.tm_min, now.tm_hour < 12 ? "AM" : "PM");
        line += buffer;
    }
    return line + separators;
}

std::string_view WithoutBreak(std::string_view line)
{
    if (line.ends_with('\n'))
        line.remove_suffix(1);
    if (line.ends_with('\r'))
        line.remove_suffix(1);
    return line;
}

std::vector<std::string_view> SplitLines(std::string_view text)
{
    std::vector<std::string_view> lines;
    for (size_t pos = 0; pos < text.size();) {
        const size_t lf = text.find('\n', pos);
        const size_t end = lf == std::string_view::npos ? text.size() : lf + 1;
        lines.push_back(text.substr(pos, end - pos));
        pos = end;
    }
    return lines;
}

std::string_view FirstLine(std::string_view text)
{
    const size_t lf = text.find('\n');
    return WithoutBreak(text.substr(0, lf == std::string_view::npos ? text.size() : lf + 1));
}

std::vector<std::string_view> SplitNotes(std::string_view text, char chSeparator)
{
    std::vector<std::string_view> notes;
    size_t start = 0;
    for (size_t pos = 0; pos < text.size();) {
        const size_t lf = text.find('\n', pos);
        const size_t end = lf == std::string_view::npos ? text.size() : lf + 1;
        if (pos > start && IsHeaderLine(WithoutBreak(text.substr(pos, end - pos)), chSeparator)) {
            notes.push_back(text.substr(start, pos - start));
            start = pos;
        }
        pos = end;
    }
    if (start < text.size())
        notes.push_back(text.substr(start));
    return notes;
}

std::string_view NoteHeader(std::string_view note, char chSeparator)
{
    const std::string_view first = FirstLine(note);
    return IsHeaderLine(first, chSeparator) ? first : std::string_view();
}
