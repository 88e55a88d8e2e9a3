#include <algorithm>
#include <filesystem>

#include "CliCommands.h"
#include "doc/FolderPath.h"
#include "notes/CQuillboxEditView.h"

namespace {

// A folder to export, with its depth below the first one and its text as the editor has it.
struct Entry
{
    const Folder* pFolder;
    int depth;
    std::string text;
};

std::vector<Entry> Entries(HeadlessNotebook& nb, const Folder* pStart)
{
    std::vector<Entry> entries;
    for (const Folder* pFolder : FoldersInTreeOrder(nb.doc, pStart)) {
        // Below pStart, or below the top level when there is none.
        int depth = 0;
        if (pFolder != pStart) {
            for (const Folder* p = pFolder->m_pParent; p != pStart; p = p->m_pParent)
                ++depth;
            if (pStart)
                ++depth;
        }
        entries.push_back({ pFolder, depth, nb.TextOf(pFolder) });
    }
    return entries;
}

// Text with LF line breaks, as files on Linux have them; a lone CR stays.
std::string WithLineFeeds(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            continue;
        out += text[i];
    }
    if (!out.empty() && out.back() != '\n')
        out += '\n';
    return out;
}

// A folder's text cut into the text before its first note and its notes, each note as its
// header line and its body, by the header lines the editor recognises.
struct Note
{
    std::string header; // empty for the text before the first note
    std::string body;
};

std::vector<Note> Notes(const CQuillboxDoc& doc, std::string_view text)
{
    std::vector<Note> notes(1);
    while (!text.empty()) {
        const size_t lf = text.find('\n');
        std::string_view line = text.substr(0, lf == std::string_view::npos ? text.size() : lf + 1);
        text.remove_prefix(line.size());
        std::string_view bare = line;
        if (bare.ends_with('\n'))
            bare.remove_suffix(bare.ends_with("\r\n") ? 2 : 1);
        if (CQuillboxEditView::IsHeaderLine(bare, doc.GetSeparator()))
            notes.push_back({ std::string(bare), {} });
        else
            notes.back().body += line;
    }
    if (notes.front().body.empty())
        notes.erase(notes.begin());
    return notes;
}

std::string Text(const std::vector<Entry>& entries)
{
    std::string out;
    for (const Entry& entry : entries) {
        const std::string path = FolderPath(entry.pFolder);
        out += path + "\n" + std::string(path.size(), '=') + "\n" + WithLineFeeds(entry.text) + "\n";
    }
    return out;
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

// A body as a fenced block, its fence longer than any run of backticks in it.
std::string MarkdownBlock(std::string_view body)
{
    size_t longest = 0;
    for (size_t run = 0, i = 0; i < body.size(); ++i) {
        run = body[i] == '`' ? run + 1 : 0;
        longest = std::max(longest, run);
    }
    const std::string fence(std::max<size_t>(3, longest + 1), '`');
    return fence + "text\n" + WithLineFeeds(body) + fence + "\n\n";
}

std::string Markdown(const CQuillboxDoc& doc, const std::vector<Entry>& entries)
{
    std::string out;
    for (const Entry& entry : entries) {
        const std::string heading(std::min(entry.depth + 1, 6), '#');
        out += heading + " " + MarkdownInline(entry.pFolder->m_name) + "\n\n";
        for (const Note& note : Notes(doc, entry.text))
            out += MarkdownBlock(note.header.empty() ? note.body : note.header + "\n" + note.body);
    }
    return out;
}

std::string Html(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
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
    return out;
}

std::string HtmlPage(const CQuillboxDoc& doc, const std::vector<Entry>& entries, std::string title)
{
    // The page keeps the notebook's bytes, so it says the notebook's encoding; the title, a
    // file name, is turned into it where it can be.
    const bool bUtf8 = doc.GetEncoding().GetKind() == TextEncoding::Kind::Utf8;
    if (std::string legacy; !bUtf8 && TextEncoding::IsValidUtf8(title) && TextEncoding::Utf8ToCp1252(title, legacy))
        title = legacy;
    std::string out = "<!DOCTYPE html>\n<html>\n<head>\n<meta charset=\"";
    out += bUtf8 ? "utf-8" : "windows-1252";
    out += "\">\n<title>" + Html(title) + "</title>\n<style>\n"
           "body { font-family: sans-serif; max-width: 60em; margin: 1em auto; padding: 0 1em; }\n"
           "nav ul { list-style: none; padding-left: 1.2em; }\n"
           "section { border-top: 1px solid #aaa; margin-top: 1.5em; }\n"
           "h3 { font-family: monospace; font-size: 1em; }\n"
           "pre { white-space: pre-wrap; background: #f4f4f4; padding: 0.5em; }\n"
           "</style>\n</head>\n<body>\n<h1>" + Html(title) + "</h1>\n<nav>\n<h2>Contents</h2>\n";

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
        for (const Note& note : Notes(doc, entries[i].text)) {
            if (!note.header.empty())
                out += "<h3>" + Html(note.header) + "</h3>\n";
            if (note.body.find_first_not_of("\r\n") != std::string::npos)
                out += "<pre>" + Html(WithLineFeeds(note.body)) + "</pre>\n";
        }
        out += "</section>\n";
    }
    return out + "</body>\n</html>\n";
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
    std::string bytes;
    if (format == "text")
        bytes = Text(entries);
    else if (format == "markdown")
        bytes = Markdown(nb.doc, entries);
    else
        bytes = HtmlPage(nb.doc, entries, operand == "-" ? std::string("Quillbox notebook")
                                                         : std::filesystem::path(operand).filename().string());
    return WriteOutput(out, bytes) ? kOk : kFailed;
}
