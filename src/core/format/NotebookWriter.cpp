#include "format/NotebookWriter.h"

#include <algorithm>

#include "format/NotebookFormat.h"
#include "storage/FileLines.h"

namespace {

// A file is written in pieces of about this size.
constexpr size_t kWriteChunk = size_t(1) << 20;

void AppendLine(std::string& out, std::string_view line)
{
    out += line;
    out += "\r\n";
}

// A name is one line of the file whatever it holds, or the records after it would be lost.
void AppendName(std::string& out, std::string name)
{
    std::replace_if(name.begin(), name.end(), [](char c) { return c == '\r' || c == '\n'; }, ' ');
    AppendLine(out, name);
}

// A folder's text as lines. The CR of each CR LF goes with the line break; every other byte,
// a lone CR included, is kept. A line that would read as the end of the text gains an ESC.
void AppendText(std::string& out, const SharedText& shared)
{
    const std::string_view text = shared;
    if (shared.IsStoredAsIs()) {
        out += text;
        return;
    }
    // Lines stored as written (ending in CR LF, beginning with neither byte of kTextStops) are
    // copied a run at a time.
    size_t run = 0;
    size_t pos = 0;
    int lines = 0;
    while ((pos = PassCrLfLines(text, pos, kTextStops, lines)) < text.size()) {
        const size_t lf = text.find('\n', pos);
        out.append(text.substr(run, pos - run));
        std::string_view line = text.substr(pos, lf == std::string_view::npos ? lf : lf - pos);
        if (lf != std::string_view::npos && !line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (IsEndFolderLine(line, true))
            out += kEsc;
        AppendLine(out, line);
        pos = lf == std::string_view::npos ? text.size() : lf + 1;
        run = pos;
    }
    out.append(text.substr(run, pos - run));
}

} // namespace

bool AppendRecords(const std::vector<NotebookSnapshot::Record>& records, std::string& out, const ChunkSink* pSink)
{
    for (const NotebookSnapshot::Record& record : records) {
        out += "Begin Folder\r\nFolder Name\r\n";
        AppendName(out, record.name);
        if (record.key) {
            out += "Assigned Key\r\n";
            AppendLine(out, record.key->key);
            out += "Assigned Key Function\r\n";
            AppendLine(out, record.key->function);
        } else {
            out += "Assigned Key\r\nNone\r\n";
        }
        out += "Number of Children\r\n";
        AppendLine(out, std::to_string(record.children));
        out += "Folder Text\r\n";
        AppendText(out, record.text);
        out += "End Folder\r\n";
        if (pSink && out.size() >= kWriteChunk) {
            if (!(*pSink)(out))
                return false;
            out.clear();
        }
    }
    return true;
}

bool WriteNotebook(const NotebookSnapshot& notebook, const ChunkSink& sink)
{
    std::string out;
    out.reserve(2 * kWriteChunk);
    out += "Begin Selected Folder\r\n";
    AppendName(out, notebook.selectedName);
    out += "End Selected Folder\r\n\r\n";
    out += "Begin New Note Preferences\r\n";
    out += "Date\r\n" + std::to_string(notebook.date) + "\r\n";
    out += "Time\r\n" + std::to_string(notebook.time) + "\r\n";
    out += "Text\r\n" + std::to_string(notebook.text) + "\r\n";
    out += "End New Note Preferences\r\n\r\n";
    out += "Begin Delete Folder Preferences\r\n";
    out += "Prompt\r\n" + std::to_string(notebook.promptDelete) + "\r\n";
    out += "End Delete Folder Preferences\r\n\r\n";
    out += "Begin Folder Information\r\n";
    if (!AppendRecords(notebook.records, out, &sink))
        return false;
    out += "End Folder Information\r\n";
    return sink(out);
}

