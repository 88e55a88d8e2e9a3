#include <algorithm>
#include <iterator>
#include <memory>
#include <utility>

#include "CliCommands.h"
#include "model/FolderPath.h"
#include "format/NotebookCheck.h"
#include "search/NotebookSearch.h"
#include "storage/FileLines.h"
#include "words/ProblemWords.h"

namespace {

// grep's exit statuses.
constexpr int kMatched = 0;
constexpr int kNoMatch = 1;

} // namespace

int Tree(const Args& args)
{
    HeadlessNotebook nb;
    if (!Open(nb, args.operands[0], false))
        return kFailed;
    const bool bPaths = args.Has("--paths");
    const char end = args.Has("-z") ? '\0' : '\n';
    // Names come out as grep shows them, in UTF-8.
    TextOutput out(TextEncoding::Kind::Utf8);
    // Each entry: a list of sibling items, the position reached in it, and where the path of
    // its folders ends their parent's.
    struct Level
    {
        const std::vector<TreeItem>* pItems;
        size_t index;
        size_t pathSize;
    };
    std::vector<Level> stack { { &nb.tree.GetChildren(kNoItem), 0, 0 } };
    std::string path;
    while (!stack.empty()) {
        auto& [pItems, index, pathSize] = stack.back();
        if (index == pItems->size()) {
            stack.pop_back();
            continue;
        }
        const TreeItem item = (*pItems)[index++];
        const Folder* pFolder = nb.doc.GetFolderOfItem(item);
        std::string line;
        if (bPaths) {
            path.resize(pathSize);
            path += (pathSize > 0 ? "/" : "") + EscapeFolderName(pFolder->m_name);
            line = path;
        } else {
            line.assign(2 * (stack.size() - 1), ' ');
            line += pFolder->m_name;
            if (pFolder->HasKey())
                line += "  [" + pFolder->GetKey()->key + " " + pFolder->GetKey()->function + "]";
            if (pFolder == nb.doc.GetSelFolder())
                line += "  *";
        }
        out.Put(FromNotebook(nb, line) + end);
        const auto& children = nb.tree.GetChildren(item);
        if (!children.empty())
            stack.push_back({ &children, 0, path.size() });
    }
    out.End();
    return kOk;
}

int Cat(const Args& args)
{
    HeadlessNotebook nb;
    if (!Open(nb, args.operands[0], false))
        return kFailed;
    const Folder* pFolder = FindFolder(nb, args.operands[0], args.operands[1]);
    if (!pFolder)
        return kFailed;
    WriteText(nb.doc.GetFolderText(pFolder).View(), nb.doc.GetEncoding().GetKind());
    return kOk;
}

int Grep(const Args& args)
{
    HeadlessNotebook nb;
    if (!Open(nb, args.operands[0], false))
        return kTrouble;
    const NotebookSearch search({ ToNotebook(nb, args.operands[1]), !args.Has("-i"), args.Has("-w"), args.Has("-E"),
                                  nb.doc.GetEncoding().GetKind() });
    if (const SearchProblem& problem = search.GetProblem()) {
        // The pattern as typed, not in the notebook's bytes.
        const std::string& regex = args.operands[1];
        switch (problem.kind) {
        case SearchProblem::Kind::EmptyPattern:
            Error(CliText("The pattern is empty."));
            break;
        case SearchProblem::Kind::BackReference:
            Error(Fill(CliText("The regular expression \"%1\" uses the back-reference %2, which grep does not take: it "
                               "finds every match in one pass over the text."),
                       { regex, problem.reason }));
            break;
        case SearchProblem::Kind::WordBoundary:
            Error(Fill(CliText("The regular expression \"%1\" uses %2, which grep does not take; -w matches whole words."),
                       { regex, problem.reason }));
            break;
        default:
            Error(Fill(CliText("The regular expression \"%1\" is malformed: %2."), { regex, problem.reason }));
            break;
        }
        return kTrouble;
    }
    const Folder* pStart = nullptr;
    if (const std::string* pPath = args.Value("--path")) {
        pStart = FindFolder(nb, args.operands[0], *pPath);
        if (!pStart)
            return kTrouble;
    }
    const bool bNumbers = args.Has("-n");
    TextOutput out(TextEncoding::Kind::Utf8);
    const Folder* pPathOf = nullptr;
    std::string path;
    const size_t hits = search.Run(nb.doc, pStart, [&](const SearchHit& hit) {
        if (hit.pFolder != pPathOf) {
            pPathOf = hit.pFolder;
            path = FolderPath(hit.pFolder);
        }
        std::string line = path + "\t";
        line += hit.header;
        line += "\t";
        if (bNumbers)
            line += std::to_string(hit.line + 1) + "\t";
        line += hit.text;
        line += "\n";
        out.Put(FromNotebook(nb, line));
        return true;
    });
    out.End();
    return hits > 0 ? kMatched : kNoMatch;
}

int Check(const Args& args)
{
    constexpr int kClean = 0;
    constexpr int kDamaged = 1;
    const std::string& operand = args.operands[0];
    const std::string path = InputPath(operand);
    const std::string* pOut = args.Value("--repair");
    if (pOut && *pOut != "-" && SameFile(*pOut, path)) {
        Error(Fill(CliText("--repair would write over \"%1\" itself; name another file."), { operand }));
        return kTrouble;
    }
    auto pNotebook = std::make_unique<HeadlessNotebook>();
    const ReadReport opened = pNotebook->doc.OnOpenDocument(path);
    if (!opened.Opened()) {
        Error(DescribeProblem(opened.problem));
        return kTrouble;
    }
    FileProblem unread;
    std::optional<LineReader> file = ReadFileLines(path, unread);
    if (!file) {
        Error(DescribeProblem(unread));
        return kTrouble;
    }
    std::string data(file->Data());
    file.reset();
    const std::vector<Damage> damages = CheckNotebook(data);
    // A notebook repaired to standard output has it to itself: the report goes to standard error.
    const bool bReportToStderr = pOut && *pOut == "-";
    // What the report says of the notebook is in its encoding, the rest in UTF-8.
    const TextEncoding::Kind kind = pNotebook->doc.GetEncoding().GetKind();
    const auto say = [bReportToStderr](const std::string& line, TextEncoding::Kind shownKind = TextEncoding::Kind::Utf8) {
        if (bReportToStderr)
            WriteError(line, shownKind);
        else
            WriteText(line, shownKind);
    };
    const std::string shownName = operand == "-" ? std::string("(standard input)") : operand;
    for (const Damage& damage : damages) {
        say(shownName + ":" + std::to_string(damage.line) + ": ");
        say(damage.what + "\n", kind);
    }
    if (damages.empty())
        say(shownName + ": no damage found\n");
    if (!pOut)
        return damages.empty() ? kClean : kDamaged;

    // Where a text lost its "End Folder" line, the line is put back and the notebook read
    // again, so that the folders after it stay under their own parents.
    if (std::any_of(damages.begin(), damages.end(), [](const Damage& damage) { return damage.bLostEndFolder; })) {
        const std::string mended = MendNotebook(data, damages);
        data = {};
        pNotebook.reset();
        pNotebook = std::make_unique<HeadlessNotebook>();
        const ReadReport reopened = OpenBytes(*pNotebook, mended);
        if (!reopened.Opened()) {
            Error(DescribeProblem(reopened.problem));
            return kTrouble;
        }
    }
    if (!Save(*pNotebook, *pOut, args.Has("--force")))
        return kTrouble;
    if (damages.empty())
        return kClean;
    // Any other damage the document read as it reads a damaged notebook, keeping what it
    // could: something there may be missing or misplaced, so it is not rebuilt.
    std::vector<int> lines;
    for (const Damage& damage : damages) {
        if (!damage.bLostEndFolder && (lines.empty() || lines.back() != damage.line))
            lines.push_back(damage.line);
    }
    const std::string repaired = shownName + ": repaired into " + (*pOut == "-" ? std::string("(standard output)") : *pOut);
    if (lines.empty()) {
        say(repaired + "; every damage was rebuilt\n");
        return kClean;
    }
    std::string where;
    for (const int line : lines)
        where += (where.empty() ? "" : ", ") + std::to_string(line);
    say(repaired + " as far as it could be read; the damage at line" + (lines.size() > 1 ? "s " : " ") + where
        + " could not be rebuilt\n");
    return kDamaged;
}
