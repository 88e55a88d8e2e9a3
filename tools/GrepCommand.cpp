#include <charconv>
#include <cstdint>
#include <cstdlib>
#include <deque>
#include <string_view>
#include <utility>
#include <vector>

#include "CliCommands.h"
#include "CliJson.h"
#include "search/NotebookSearch.h"
#include "words/SearchWords.h"
#include "format/NoteText.h"

namespace {

// grep's exit statuses.
constexpr int kMatched = 0;
constexpr int kNoMatch = 1;

// GNU grep's colours: matches bold red, file names magenta, line numbers green, separators cyan.
// A folder's path is a place in the notebook, as a file name is one on disk; the note's header
// is cyan.
constexpr std::string_view kMatchColour = "\x1B[01;31m";
constexpr std::string_view kPlaceColour = "\x1B[35m";
constexpr std::string_view kHeaderColour = "\x1B[36m";
constexpr std::string_view kNumberColour = "\x1B[32m";
constexpr std::string_view kSeparatorColour = "\x1B[36m";
constexpr std::string_view kNoColour = "\x1B[m";

using Spans = std::vector<std::pair<size_t, size_t>>;

struct GrepOptions
{
    enum class Report
    {
        Lines,
        Count, // -c
        Files, // -l
        Quiet, // -q
    };
    Report report = Report::Lines;
    bool bInvert = false;
    bool bWholeLines = false;
    bool bOnlyMatching = false;
    bool bNumbers = false;
    bool bColour = false;
    bool bJson = false;
    bool bFileNames = false; // several notebooks: each line begins with its file
    size_t maxCount = SIZE_MAX;
    size_t before = 0;
    size_t after = 0;

    bool HasContext() const { return before > 0 || after > 0; }
};

// The value of -m, -A, -B or -C into `count`; false, after saying why, for one that is no number.
bool ReadCount(const Args& args, const std::string& option, size_t& count)
{
    const std::string* pValue = args.Value(option);
    if (!pValue)
        return true;
    const char* const pEnd = pValue->data() + pValue->size();
    const auto [pStop, error] = std::from_chars(pValue->data(), pEnd, count);
    if (error == std::errc::result_out_of_range && pStop == pEnd) {
        count = SIZE_MAX;
        return true;
    }
    if (pValue->empty() || error != std::errc() || pStop != pEnd) {
        Error(Fill(CliText("grep: %1 takes a number of lines, not \"%2\"; see quillbox-cli help grep"), { option, *pValue }));
        return false;
    }
    return true;
}

// --color's WHEN into bColour; false, after saying why, for a WHEN it does not know.
bool ReadColour(const Args& args, bool& bColour)
{
    const std::string* pWhen = args.Value("--color");
    const std::string when = pWhen && !pWhen->empty() ? *pWhen : "auto";
    if (when == "always" || when == "never") {
        bColour = when == "always";
        return true;
    }
    if (when != "auto") {
        Error(Fill(CliText("grep: --color takes always, never or auto, not \"%1\"; see quillbox-cli help grep"), { when }));
        return false;
    }
    // As no-color.org asks: a NO_COLOR that is set and not empty turns colour off.
    const char* pNoColour = std::getenv("NO_COLOR");
    const char* pTerm = std::getenv("TERM");
    bColour = IsTerminal(Stream::Out) && !(pNoColour && *pNoColour) && !(pTerm && std::string_view(pTerm) == "dumb");
    return true;
}

// The options of grep's command line; false, after saying why, when they do not go together.
bool ReadOptions(const Args& args, GrepOptions& options)
{
    options.bInvert = args.Has("-v");
    options.bWholeLines = args.Has("-x");
    options.bOnlyMatching = args.Has("-o");
    options.bNumbers = args.Has("-n");
    options.bJson = args.Has("--json");
    options.report = args.Has("-q")   ? GrepOptions::Report::Quiet
                     : args.Has("-l") ? GrepOptions::Report::Files
                     : args.Has("-c") ? GrepOptions::Report::Count
                                      : GrepOptions::Report::Lines;
    if (options.bJson && (args.Has("-c") || args.Has("-l") || args.Has("-o"))) {
        Error(CliText("grep: --json writes every selected line with its matches, so it takes no -c, -l or -o; see "
                      "quillbox-cli help grep"));
        return false;
    }
    size_t context = 0;
    if (!ReadCount(args, "-m", options.maxCount) || !ReadCount(args, "-C", context) || !ReadColour(args, options.bColour))
        return false;
    options.before = context;
    options.after = context;
    if (!ReadCount(args, "-B", options.before) || !ReadCount(args, "-A", options.after))
        return false;
    // As in grep, only lines printed whole have context.
    if (options.report != GrepOptions::Report::Lines || options.bOnlyMatching)
        options.before = options.after = 0;
    options.bFileNames = args.operands.size() > 2;
    return true;
}

// Says why a pattern cannot be searched for; `pattern` as typed, not in a notebook's bytes.
void SayProblem(const SearchProblem& problem, const std::string& pattern)
{
    Error(DescribeSearchProblem(problem, pattern));
}

// With -x only a match of the whole line counts. The first match is the leftmost and, of those
// that start there, the longest: the whole line when any match is.
Spans Kept(const GrepOptions& options, std::string_view text, const Spans& spans)
{
    if (!options.bWholeLines)
        return spans;
    if (!spans.empty() && spans.front() == std::pair<size_t, size_t>(0, text.size()))
        return { spans.front() };
    return {};
}

// Where the lines go and how they look, across every notebook of one command: "--" stands
// between groups of context that do not follow on, in one notebook or from one to the next.
class GrepOutput
{
public:
    GrepOutput(const GrepOptions& options, TextOutput& out)
        : m_options(options)
        , m_out(out)
    {
    }

    // The notebook whose lines come next, and the name it is given by.
    void SetNotebook(const HeadlessNotebook& nb, std::string_view file)
    {
        m_pNotebook = &nb;
        m_file = file;
        m_bNewNotebook = true;
    }
    // The folder whose lines come next, by its place in the search and its path.
    void SetFolder(size_t entry, std::string path)
    {
        m_entry = entry;
        m_path = std::move(path);
    }

    // A folder's name (number 0) or one of its lines (from 1), selected or around one.
    void PutLine(int number, std::string_view header, std::string_view text, const Spans& spans, bool bSelected)
    {
        if (m_options.HasContext() && !m_options.bJson) {
            if (m_bPrinted && (m_bNewNotebook || m_entry != m_lastEntry || number != m_lastNumber + 1)) {
                PutUtf8("--", kSeparatorColour);
                m_out.Put("\n");
            }
            m_bPrinted = true;
            m_bNewNotebook = false;
            m_lastEntry = m_entry;
            m_lastNumber = number;
        }
        if (m_options.bJson) {
            PutJson(number, header, text, spans, bSelected);
            return;
        }
        if (m_options.bOnlyMatching) {
            for (const auto& [start, length] : spans) {
                if (length == 0)
                    continue;
                PutPlace(number, header, bSelected);
                PutNotebook(text.substr(start, length), kMatchColour);
                m_out.Put("\n");
            }
            return;
        }
        PutPlace(number, header, bSelected);
        static const Spans kUnmarked;
        size_t at = 0;
        for (const auto& [start, length] : m_options.bColour ? spans : kUnmarked) {
            PutNotebook(text.substr(at, start - at), {});
            PutNotebook(text.substr(start, length), kMatchColour);
            at = start + length;
        }
        PutNotebook(text.substr(at), {});
        m_out.Put("\n");
    }

    // -c's count for the notebook, and -l's name of one that holds a selected line.
    void PutCount(size_t count)
    {
        if (m_options.bFileNames) {
            PutUtf8(m_file, kPlaceColour);
            m_out.Put("\t");
        }
        m_out.Put(std::to_string(count) + "\n");
    }
    void PutFile()
    {
        PutUtf8(m_file, kPlaceColour);
        m_out.Put("\n");
    }

private:
    // The file, the folder's path, the note's header and the line's number, each followed by a
    // tab; a line around a selected one has a "-" after its number, as grep marks it.
    void PutPlace(int number, std::string_view header, bool bSelected)
    {
        if (m_options.bFileNames) {
            PutUtf8(m_file, kPlaceColour);
            m_out.Put("\t");
        }
        PutNotebook(m_path, kPlaceColour);
        m_out.Put("\t");
        PutNotebook(header, kHeaderColour);
        m_out.Put("\t");
        if (m_options.bNumbers) {
            PutUtf8(std::to_string(number), kNumberColour);
            if (!bSelected)
                PutUtf8("-", kSeparatorColour);
            m_out.Put("\t");
        }
    }

    void PutJson(int number, std::string_view header, std::string_view text, const Spans& spans, bool bSelected)
    {
        std::string submatches;
        for (const auto& [start, length] : spans) {
            JsonObject submatch;
            submatch.Data("match", text.substr(start, length))
                .Number("start", static_cast<long long>(start))
                .Number("end", static_cast<long long>(start + length));
            submatches += (submatches.empty() ? "" : ",") + submatch.Text();
        }
        const bool bUtf8 = m_pNotebook->doc.GetEncoding().GetKind() == TextEncoding::Kind::Utf8;
        JsonObject line;
        line.String("type", bSelected ? "match" : "context")
            .Data("file", m_file)
            .String("encoding", bUtf8 ? "UTF-8" : "windows-1252")
            .Data("path", m_path)
            .Data("header", header)
            .Number("line_number", number)
            .Data("text", text)
            .Json("submatches", "[" + submatches + "]");
        m_out.Put(line.Text() + "\n");
    }

    // The notebook's bytes, in UTF-8 as grep prints them.
    void PutNotebook(std::string_view bytes, std::string_view colour)
    {
        PutUtf8(FromNotebook(*m_pNotebook, bytes), colour);
    }
    void PutUtf8(std::string_view text, std::string_view colour)
    {
        if (text.empty())
            return;
        if (!m_options.bColour || colour.empty()) {
            m_out.Put(text);
            return;
        }
        m_out.PutEscape(colour);
        m_out.Put(text);
        m_out.PutEscape(kNoColour);
    }

    const GrepOptions& m_options;
    TextOutput& m_out;
    const HeadlessNotebook* m_pNotebook = nullptr;
    std::string m_file;
    size_t m_entry = 0;
    std::string m_path;
    bool m_bPrinted = false;
    bool m_bNewNotebook = false;
    size_t m_lastEntry = 0;
    int m_lastNumber = 0;
};

// The search of one notebook's folders, selecting lines as the options ask.
class NotebookGrep
{
public:
    NotebookGrep(const GrepOptions& options, const NotebookSearch& search, GrepOutput& output)
        : m_options(options)
        , m_search(search)
        , m_output(output)
    {
    }

    // Returns the number of lines selected.
    size_t Run(const SearchSnapshot& folders)
    {
        if (m_options.maxCount == 0)
            return 0;
        if (m_options.bInvert || m_options.HasContext())
            RunLines(folders);
        else
            RunHits(folders);
        return m_selected;
    }

private:
    // Every line printed is a match: the engine's hits are all there is to it.
    void RunHits(const SearchSnapshot& folders)
    {
        size_t folder = SIZE_MAX;
        m_search.Run(folders, [&](const SearchHit& hit) {
            const Spans spans = Kept(m_options, hit.text, hit.spans);
            if (spans.empty())
                return true;
            ++m_selected;
            if (m_options.report == GrepOptions::Report::Lines) {
                if (hit.entry != folder) {
                    folder = hit.entry;
                    m_output.SetFolder(folder, folders.PathOf(folder));
                }
                m_output.PutLine(hit.bInName ? 0 : hit.line + 1, hit.header, hit.text, spans, true);
            }
            return m_selected < m_options.maxCount && m_options.report != GrepOptions::Report::Files
                   && m_options.report != GrepOptions::Report::Quiet;
        });
    }

    // Lines that do not match, or stand around a match, are wanted too: each folder's name and
    // lines are gone through in order, with the engine's hits in the folder.
    void RunLines(const SearchSnapshot& folders)
    {
        struct Hit
        {
            int line;
            Spans spans;
        };
        for (size_t entry = 0; entry < folders.entries.size() && !Done(); ++entry) {
            SearchSnapshot folder;
            folder.separator = folders.separator;
            folder.entries.push_back(folders.entries[entry]);
            folder.entries.back().parent = SearchSnapshot::kNoParent;
            Spans nameSpans;
            std::vector<Hit> hits;
            m_search.Run(folder, [&](const SearchHit& hit) {
                Spans spans = Kept(m_options, hit.text, hit.spans);
                if (spans.empty())
                    return true;
                if (hit.bInName)
                    nameSpans = std::move(spans);
                else
                    hits.push_back({ hit.line, std::move(spans) });
                return true;
            });
            m_output.SetFolder(entry, folders.PathOf(entry));
            m_before.clear();
            m_afterLeft = 0;
            const SearchSnapshot::Entry& found = folder.entries.back();
            // The name is no note's line: it has no context and is none.
            Offer({ 0, {}, found.name, nameSpans, -1 }, !nameSpans.empty());
            const std::string_view text = found.text;
            std::string_view header;
            long note = 0;
            auto nextHit = hits.begin();
            for (size_t pos = 0, line = 0; pos < text.size() && !Done(); ++line) {
                // A line ends before its line feed, and before a CR that precedes it.
                const size_t lineFeed = text.find('\n', pos);
                size_t end = lineFeed == std::string_view::npos ? text.size() : lineFeed;
                if (lineFeed != std::string_view::npos && end > pos && text[end - 1] == '\r')
                    --end;
                const std::string_view lineText = text.substr(pos, end - pos);
                pos = lineFeed == std::string_view::npos ? text.size() : lineFeed + 1;
                if (IsHeaderLine(lineText, folders.separator)) {
                    header = lineText;
                    ++note;
                }
                const bool bMatched = nextHit != hits.end() && nextHit->line == static_cast<int>(line);
                Offer({ static_cast<int>(line) + 1, header, lineText, bMatched ? nextHit->spans : Spans(), note }, bMatched);
                if (bMatched)
                    ++nextHit;
            }
        }
    }

    struct Line
    {
        int number;
        std::string_view header;
        std::string_view text;
        Spans spans;
        long note; // context stays within the note that holds the selected line
    };

    // The next line: selected, printed around a selected one, or kept in case one follows.
    void Offer(Line line, bool bMatched)
    {
        if (m_afterLeft > 0 && line.note != m_afterNote)
            m_afterLeft = 0;
        if (!m_before.empty() && m_before.back().note != line.note)
            m_before.clear();
        if (bMatched != m_options.bInvert && m_selected < m_options.maxCount) {
            ++m_selected;
            if (m_options.report == GrepOptions::Report::Files || m_options.report == GrepOptions::Report::Quiet)
                m_bStopped = true;
            if (m_options.report != GrepOptions::Report::Lines)
                return;
            for (const Line& before : m_before)
                m_output.PutLine(before.number, before.header, before.text, before.spans, false);
            m_before.clear();
            m_output.PutLine(line.number, line.header, line.text, line.spans, true);
            m_afterLeft = m_options.after;
            m_afterNote = line.note;
            return;
        }
        if (m_afterLeft > 0) {
            --m_afterLeft;
            m_output.PutLine(line.number, line.header, line.text, line.spans, false);
            return;
        }
        if (m_options.before > 0) {
            m_before.push_back(std::move(line));
            if (m_before.size() > m_options.before)
                m_before.pop_front();
        }
    }

    // Once -m's count is reached, only the context after the last selected line is left.
    bool Done() const { return m_bStopped || (m_selected >= m_options.maxCount && m_afterLeft == 0); }

    const GrepOptions& m_options;
    const NotebookSearch& m_search;
    GrepOutput& m_output;
    size_t m_selected = 0;
    bool m_bStopped = false;
    std::deque<Line> m_before;
    size_t m_afterLeft = 0;
    long m_afterNote = 0;
};

} // namespace

int Grep(const Args& args)
{
    GrepOptions options;
    if (!ReadOptions(args, options))
        return kUsage;
    const std::string& pattern = args.operands.back();
    // A pattern that cannot be searched for is said once, before any notebook is read. (Bytes
    // that are not UTF-8 may be a Windows-1252 notebook's: only the notebook can tell.)
    if (TextEncoding::IsValidUtf8(pattern)) {
        if (const NotebookSearch check({ pattern, !args.Has("-i"), args.Has("-w"), args.Has("-E") }); check.GetProblem()) {
            SayProblem(check.GetProblem(), pattern);
            return kTrouble;
        }
    }
    TextOutput out(TextEncoding::Kind::Utf8);
    GrepOutput output(options, out);
    bool bSelected = false;
    bool bTrouble = false;
    for (size_t file = 0; file + 1 < args.operands.size(); ++file) {
        const std::string& operand = args.operands[file];
        HeadlessNotebook nb;
        if (!Open(nb, operand, false)) {
            bTrouble = true;
            continue;
        }
        const NotebookSearch search({ ToNotebook(nb, pattern), !args.Has("-i"), args.Has("-w"), args.Has("-E"),
                                      nb.doc.GetEncoding().GetKind() });
        if (search.GetProblem()) {
            out.End();
            SayProblem(search.GetProblem(), pattern);
            return kTrouble;
        }
        const Folder* pStart = nullptr;
        if (const std::string* pPath = args.Value("--path")) {
            pStart = FindFolder(nb, operand, *pPath);
            if (!pStart) {
                bTrouble = true;
                continue;
            }
        }
        output.SetNotebook(nb, operand == "-" ? std::string_view("(standard input)") : std::string_view(operand));
        NotebookGrep grep(options, search, output);
        const size_t selected = grep.Run(TakeSearchSnapshot(nb.doc, pStart));
        bSelected = bSelected || selected > 0;
        // As grep -q: a selected line is the answer, whatever may go wrong after it.
        if (selected > 0 && options.report == GrepOptions::Report::Quiet) {
            out.End();
            return kMatched;
        }
        if (options.report == GrepOptions::Report::Count)
            output.PutCount(selected);
        else if (options.report == GrepOptions::Report::Files && selected > 0)
            output.PutFile();
    }
    out.End();
    return bTrouble ? kTrouble : bSelected ? kMatched : kNoMatch;
}
