#include <algorithm>
#include <filesystem>

#include "CliCommands.h"
#include "model/FolderPath.h"
#include "format/NoteText.h"

namespace {

// A folder to export, with its depth below the first one.
struct Entry
{
    const Folder* pFolder;
    int depth;
};

std::vector<Entry> Entries(HeadlessNotebook& nb, const Folder* pStart)
{
    std::vector<Entry> entries;
    for (const Folder* pFolder : FoldersInTreeOrder(nb.doc.GetFolderTree(), pStart)) {
        // Below pStart, or below the top level when there is none.
        int depth = 0;
        if (pFolder != pStart) {
            for (const Folder* p = pFolder->m_pParent; p != pStart; p = p->m_pParent)
                ++depth;
            if (pStart)
                ++depth;
        }
        entries.push_back({ pFolder, depth });
    }
    return entries;
}

// The export is made a folder at a time and handed on in pieces of about this size, so that
// it never holds more than one folder's text beside the notebook.
constexpr size_t kPiece = size_t(1) << 20;

// Output made a folder at a time: what is appended goes to the sink once it has grown large.
class Pieces
{
public:
    explicit Pieces(const ChunkSink& sink)
        : m_sink(sink)
    {
    }
    std::string& Out() { return m_out; }
    // Hands on what was made when it is large, or when bLast; false when the sink refused.
    bool Flush(bool bLast = false)
    {
        if (m_out.size() < kPiece && !bLast)
            return true;
        const bool bTaken = m_sink(m_out);
        m_out.clear();
        return bTaken;
    }

private:
    const ChunkSink& m_sink;
    std::string m_out;
};

// Appends text with LF line breaks, as files on Linux have them; a lone CR stays.
void AppendWithLineFeeds(std::string& out, std::string_view text)
{
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            continue;
        out += text[i];
    }
    if (!text.empty() && out.back() != '\n')
        out += '\n';
}

// A folder's text cut into the text before its first note and its notes, each note as its
// header line and its body.
struct Note
{
    std::string_view header; // empty for the text before the first note
    std::string_view body;
};

std::vector<Note> Notes(const CQuillboxDoc& doc, std::string_view text)
{
    std::vector<Note> notes;
    for (const std::string_view note : SplitNotes(text, doc.GetSeparator())) {
        const std::string_view header = NoteHeader(note, doc.GetSeparator());
        const size_t lf = note.find('\n');
        notes.push_back({ header, header.empty() ? note : note.substr(lf == std::string_view::npos ? note.size() : lf + 1) });
    }
    return notes;
}

bool Text(HeadlessNotebook& nb, const std::vector<Entry>& entries, const ChunkSink& sink)
{
    Pieces pieces(sink);
    for (const Entry& entry : entries) {
        const std::string path = FolderPath(entry.pFolder);
        std::string& out = pieces.Out();
        out += path + "\n" + std::string(path.size(), '=') + "\n";
        AppendWithLineFeeds(out, nb.doc.GetFolderText(entry.pFolder));
        out += "\n";
        if (!pieces.Flush())
            return false;
    }
    return pieces.Flush(true);
}

// Characters that mean something in a Markdown heading are taken literally.
std::string MarkdownInline(std::string_view text)
{
    std::string out;
    for (char ch : text) {
        if (std::string_view("\\`*_[]<>#!|&~").find(ch) != std::string_view::npos)
            out += '\\';
        out += ch;
    }
    return out;
}

// A note as a fenced block, its fence longer than any run of backticks in it.
void AppendMarkdownBlock(std::string& out, const Note& note)
{
    size_t longest = 0;
    for (const std::string_view part : { note.header, note.body }) {
        for (size_t run = 0, i = 0; i < part.size(); ++i) {
            run = part[i] == '`' ? run + 1 : 0;
            longest = std::max(longest, run);
        }
    }
    const std::string fence(std::max<size_t>(3, longest + 1), '`');
    out += fence + "text\n";
    if (!note.header.empty()) {
        out += note.header;
        out += '\n';
    }
    AppendWithLineFeeds(out, note.body);
    out += fence + "\n\n";
}

// Markdown has six levels of heading. Below the sixth a level-six heading names the folders
// from the one at the sixth level down, so that the depth stays in sight.
constexpr int kHeadingLevels = 6;

bool Markdown(HeadlessNotebook& nb, const std::vector<Entry>& entries, const ChunkSink& sink)
{
    Pieces pieces(sink);
    // The path of names from the sixth level down, and where each level's name ends in it.
    std::string deepPath;
    std::vector<size_t> deepEnds;
    for (const Entry& entry : entries) {
        std::string& out = pieces.Out();
        const int level = entry.depth + 1;
        if (level >= kHeadingLevels) {
            deepEnds.resize(static_cast<size_t>(level - kHeadingLevels));
            deepPath.resize(deepEnds.empty() ? 0 : deepEnds.back());
            deepPath += (level == kHeadingLevels ? "" : "/") + EscapeFolderName(entry.pFolder->m_name);
            deepEnds.push_back(deepPath.size());
        }
        out += std::string(std::min(level, kHeadingLevels), '#') + " ";
        out += MarkdownInline(level > kHeadingLevels ? std::string_view(deepPath) : std::string_view(entry.pFolder->m_name));
        out += "\n\n";
        const SharedText text = nb.doc.GetFolderText(entry.pFolder);
        for (const Note& note : Notes(nb.doc, text))
            AppendMarkdownBlock(out, note);
        if (!pieces.Flush())
            return false;
    }
    return pieces.Flush(true);
}

void AppendHtml(std::string& out, std::string_view text)
{
    for (char ch : text) {
        switch (ch) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        case '\'': out += "&#39;"; break;
        default: out += ch;
        }
    }
}

std::string Html(std::string_view text)
{
    std::string out;
    AppendHtml(out, text);
    return out;
}

// A file name, read as UTF-8, for a page in the encoding `kind`: a byte that is not UTF-8
// becomes U+FFFD, and a character Windows-1252 lacks a character reference.
std::string HtmlTitle(std::string_view name, TextEncoding::Kind kind)
{
    std::string out;
    for (size_t i = 0; i < name.size();) {
        char32_t ch = 0;
        const size_t length = TextEncoding::ReadUtf8Char(name, i, ch);
        const std::string_view utf8 = length > 0 ? name.substr(i, length) : "\xEF\xBF\xBD";
        if (length == 0)
            ch = 0xFFFD;
        i += std::max<size_t>(length, 1);
        std::string legacy;
        if (kind == TextEncoding::Kind::Utf8)
            AppendHtml(out, utf8);
        else if (TextEncoding::Utf8ToCp1252(utf8, legacy))
            AppendHtml(out, legacy);
        else
            out += "&#" + std::to_string(static_cast<unsigned>(ch)) + ";";
    }
    return out;
}

bool HtmlPage(HeadlessNotebook& nb, const std::vector<Entry>& entries, std::string_view name, const ChunkSink& sink)
{
    // The page keeps the notebook's bytes, so it says the notebook's encoding.
    const TextEncoding::Kind kind = nb.doc.GetEncoding().GetKind();
    const std::string title = HtmlTitle(name, kind);
    Pieces pieces(sink);
    std::string& out = pieces.Out();
    out += "<!DOCTYPE html>\n<html>\n<head>\n<meta charset=\"";
    out += kind == TextEncoding::Kind::Utf8 ? "utf-8" : "windows-1252";
    out += "\">\n<title>" + title + "</title>\n<style>\n"
           "body { font-family: sans-serif; max-width: 60em; margin: 1em auto; padding: 0 1em; }\n"
           "nav ul { list-style: none; padding-left: 1.2em; }\n"
           "section { border-top: 1px solid #aaa; margin-top: 1.5em; }\n"
           "h3 { font-family: monospace; font-size: 1em; }\n"
           "pre { white-space: pre-wrap; background: #f4f4f4; padding: 0.5em; }\n"
           "</style>\n</head>\n<body>\n<h1>" + title + "</h1>\n<nav>\n<h2>Contents</h2>\n";

    // The contents as nested lists, a folder's children in a list inside its item. Depth
    // grows by one at most from one folder to the next.
    int open = 0;
    for (size_t i = 0; i < entries.size(); ++i) {
        const int depth = entries[i].depth + 1;
        if (depth > open) {
            out += "<ul>\n";
            open = depth;
        } else {
            out += "</li>\n";
            for (; open > depth; --open)
                out += "</ul>\n</li>\n";
        }
        out += "<li><a href=\"#f" + std::to_string(i + 1) + "\">" + Html(entries[i].pFolder->m_name) + "</a>";
        if (!pieces.Flush())
            return false;
    }
    if (open > 0)
        out += "</li>\n";
    for (; open > 1; --open)
        out += "</ul>\n</li>\n";
    if (open > 0)
        out += "</ul>\n";
    out += "</nav>\n";

    for (size_t i = 0; i < entries.size(); ++i) {
        out += "<section id=\"f" + std::to_string(i + 1) + "\">\n<h2 title=\"" + Html(FolderPath(entries[i].pFolder)) + "\">"
               + Html(entries[i].pFolder->m_name) + "</h2>\n";
        const SharedText text = nb.doc.GetFolderText(entries[i].pFolder);
        for (const Note& note : Notes(nb.doc, text)) {
            if (!note.header.empty())
                out += "<h3>" + Html(note.header) + "</h3>\n";
            if (note.body.find_first_not_of("\r\n") != std::string_view::npos) {
                std::string body;
                AppendWithLineFeeds(body, note.body);
                out += "<pre>";
                AppendHtml(out, body);
                out += "</pre>\n";
            }
        }
        out += "</section>\n";
        if (!pieces.Flush())
            return false;
    }
    out += "</body>\n</html>\n";
    return pieces.Flush(true);
}

} // namespace

int Export(const Args& args)
{
    const std::string* pFormat = args.Value("--format");
    const std::string format = pFormat ? *pFormat : std::string();
    if (format != "text" && format != "markdown" && format != "html" && format != "fol") {
        Error(format.empty() ? CliText("export needs --format text, markdown, html or fol.")
                             : Fill(CliText("unknown format \"%1\": use text, markdown, html or fol."), { format }));
        return kUsage;
    }
    const std::string& operand = args.operands[0];
    const std::string* pOut = args.Value("-o");
    const std::string out = pOut ? *pOut : "-";
    if (out != "-" && SameFile(out, InputPath(operand))) {
        Error(Fill(CliText("-o would write over the notebook \"%1\" itself; name another file."), { operand }));
        return kUsage;
    }
    HeadlessNotebook nb;
    if (!Open(nb, operand, false))
        return kFailed;
    const Folder* pStart = nullptr;
    if (args.operands.size() == 2) {
        pStart = FindFolder(nb, operand, args.operands[1]);
        if (!pStart)
            return kFailed;
    }
    if (format == "fol") {
        if (!pStart) {
            Error(CliText("--format fol exports one folder with its subtree: name its PATH."));
            return kUsage;
        }
        Select(nb, pStart);
        return ExportSelected(nb, out) ? kOk : kFailed;
    }
    const std::vector<Entry> entries = Entries(nb, pStart);
    const std::string name = operand == "-" ? std::string("Quillbox notebook") : std::filesystem::path(operand).filename().string();
    const auto produce = [&](const ChunkSink& sink) {
        if (format == "text")
            return Text(nb, entries, sink);
        if (format == "markdown")
            return Markdown(nb, entries, sink);
        return HtmlPage(nb, entries, name, sink);
    };
    return WriteOutput(out, nb.doc.GetEncoding().GetKind(), produce) ? kOk : kFailed;
}
