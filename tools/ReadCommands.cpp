#include <algorithm>
#include <iterator>
#include <memory>
#include <utility>

#include "CliCommands.h"
#include "CliJson.h"
#include "format/NotebookCheck.h"
#include "model/FolderPath.h"
#include "storage/FileLines.h"
#include "words/ProblemWords.h"

int Tree(const Args& args)
{
    const bool bPaths = args.Has("--paths");
    const bool bJson = args.Has("--json");
    if (bJson && (bPaths || args.Has("-z"))) {
        Error(CliText("tree: --json gives each folder's path and name, so it takes no --paths or -z; see quillbox-cli help tree"));
        return kUsage;
    }
    HeadlessNotebook nb;
    if (!Open(nb, args.operands[0], false))
        return kFailed;
    const char end = args.Has("-z") ? '\0' : '\n';
    const bool bUtf8 = nb.doc.GetEncoding().GetKind() == TextEncoding::Kind::Utf8;
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
        path.resize(pathSize);
        path += (pathSize > 0 ? "/" : "") + EscapeFolderName(pFolder->m_name);
        if (bJson) {
            // The notebook's own bytes, a folder a line.
            JsonObject folder;
            folder.Data("path", path).Data("name", pFolder->m_name).Number("depth", static_cast<long long>(stack.size() - 1));
            if (pFolder->HasKey())
                folder.Data("key", pFolder->GetKey()->key).Data("function", pFolder->GetKey()->function);
            else
                folder.Null("key").Null("function");
            folder.Bool("selected", pFolder == nb.doc.GetSelFolder()).String("encoding", bUtf8 ? "UTF-8" : "windows-1252");
            out.Put(folder.Text() + "\n");
        } else {
            std::string line = path;
            if (!bPaths) {
                line.assign(2 * (stack.size() - 1), ' ');
                line += pFolder->m_name;
                if (pFolder->HasKey())
                    line += "  [" + pFolder->GetKey()->key + " " + pFolder->GetKey()->function + "]";
                if (pFolder == nb.doc.GetSelFolder())
                    line += "  *";
            }
            out.Put(FromNotebook(nb, line) + end);
        }
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
    const std::optional<std::string> copy = CutSaveCopy(operand);
    if (copy)
        say(shownName + ": " + Fill(CliText("a save was cut off and left a complete copy of the notebook in \"%1\""), { *copy }) + "\n");
    else if (damages.empty())
        say(shownName + ": no damage found\n");
    if (!pOut)
        return damages.empty() && !copy ? kClean : kDamaged;

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
