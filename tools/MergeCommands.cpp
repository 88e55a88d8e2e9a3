#include <ctime>
#include <filesystem>

#include "CliCommands.h"
#include "format/NotebookWriter.h"
#include "CliWords.h"
#include "merge/NotebookDiff.h"
#include "history/KeptHistory.h"
#include "merge/DiskMerge.h"
#include "merge/NotebookMerge.h"
#include "format/NotebookReader.h"
#include "words/MergeWords.h"

namespace {

// The moment every notebook of one command is read at, so that an empty folder gets the same
// new note's header in each.
std::tm Now()
{
    const std::time_t now = std::time(nullptr);
    std::tm local {};
    localtime_r(&now, &local);
    return local;
}

// Reads a notebook for merging or comparing; false, after saying why, when it cannot be read
// whole: a notebook read only in part would merge as if its missing folders were deleted.
// git gives /dev/null for the side of a diff where the file does not exist: a notebook with no
// folders.
bool ReadNotebook(const std::string& operand, const std::tm& now, NotebookSnapshot& snapshot, uint64_t* pHash = nullptr)
{
    if (operand == "/dev/null") {
        snapshot = {};
        return true;
    }
    const ReadReport report = ReadNotebookSnapshot(InputPath(operand), now, snapshot, pHash);
    if (!report.Opened()) {
        Error(DescribeProblem(report.problem));
        return false;
    }
    if (report.status == ReadReport::Status::Incomplete) {
        Error(Fill(CliText("%1 Nothing was done; \"quillbox-cli check --repair\" saves what can be read."),
                   { DescribeProblem(report.problem) }));
        return false;
    }
    return true;
}

// A file that holds nothing, which no notebook is.
bool IsEmptyFile(const std::string& operand)
{
    std::error_code error;
    const std::string path = InputPath(operand);
    return operand != "-" && std::filesystem::is_regular_file(path, error) && std::filesystem::file_size(path, error) == 0;
}

std::string InUtf8(const NotebookSnapshot& notebook, const std::string& bytes)
{
    return notebook.encoding == TextEncoding::Kind::Windows1252 ? TextEncoding::Cp1252ToUtf8(bytes) : bytes;
}

// The merge's events on standard error, one line each: the folder's path, the note's header and
// what happened, apart by tabs. Only what happened is in the user's language: the fields and the
// "conflict: " that begins a conflict's third are the same in every language, for scripts.
void ReportEvents(const MergeResult& result, const MergeLabels& labels)
{
    for (const MergeEvent& event : result.events) {
        MergeEvent described = event;
        described.detail = InUtf8(result.notebook, event.detail);
        WriteError(InUtf8(result.notebook, event.path) + "\t" + InUtf8(result.notebook, event.header) + "\t"
                       + (event.IsConflict() ? "conflict: " : "") + DescribeMergeEvent(described, labels) + "\n",
                   TextEncoding::Kind::Utf8);
    }
}

} // namespace

int Merge(const Args& args)
{
    // git shows a merge driver's standard error on the user's terminal as it is: what the
    // notebooks and the labels hold is shown there as on a terminal, wherever it goes.
    ShowAsOnTerminal(Stream::Err);
    const bool bUnion = args.Has("--union");
    const size_t count = bUnion ? 2 : 3;
    if (args.operands.size() != count) {
        Error(Fill(CliText("%1 takes %2 notebooks, not %3; see quillbox-cli --help"),
                   { bUnion ? "merge --union" : "merge", std::to_string(count), std::to_string(args.operands.size()) }));
        return kUsage;
    }
    MergeLabels labels;
    const auto found = args.allValues.find("-L");
    if (found != args.allValues.end()) {
        if (found->second.size() > 2) {
            Error(CliText("merge takes at most two -L labels: ours, then theirs; see quillbox-cli --help"));
            return kUsage;
        }
        labels.ours = found->second[0];
        if (found->second.size() == 2)
            labels.theirs = found->second[1];
    }
    const std::string& ours = args.operands[count - 2];
    const std::string* pOut = args.Value("-o");
    const std::string target = pOut ? *pOut : ours;
    if (target == "-" && ours == "-") {
        Error(CliText("without -o the merge replaces OURS, which cannot be standard input."));
        return kUsage;
    }
    const std::tm now = Now();
    NotebookSnapshot base;
    NotebookSnapshot theirs;
    // Both branches added the notebook: git gives an empty file for the version they share. The
    // history of the notebook --notebook names may hold the version both went on from; without
    // one the two are merged as a union, which is a conflict, so that git stops.
    const bool bNoBase = bUnion || IsEmptyFile(args.operands[0]);
    const std::string* pNotebook = args.Value("--notebook");
    const BaseFinder findBase = [&](const NotebookSnapshot& mine, const NotebookSnapshot& other) {
        return pNotebook ? FindCommonVersion(History(), *pNotebook, mine, other) : std::nullopt;
    };
    if ((!bNoBase && !ReadNotebook(args.operands[0], now, base)) || !ReadNotebook(args.operands[count - 1], now, theirs))
        return kTrouble;

    const MergeOptions options { TheirsVersionLine(labels) };
    MergeResult result;
    // Ours is read under the writer's lock when the merge replaces it.
    const auto merge = [&](uint64_t* pHash) {
        NotebookSnapshot mine;
        if (!ReadNotebook(ours, now, mine, pHash))
            return false;
        if (!pOut)
            KeepVersionOf(ours, mine, HistoryKind::Read);
        result = bUnion    ? UnionNotebooks(mine, theirs, options)
            : bNoBase ? MergeFromBase(findBase, mine, theirs, options)
                      : MergeNotebooks(base, mine, theirs, options);
        return true;
    };
    int status = kOk;
    if (target == "-") {
        if (!merge(nullptr))
            return kTrouble;
        TextOutput out(result.notebook.encoding);
        status = WriteNotebook(result.notebook, out.Sink()) ? kOk : kFailed;
        out.End();
    } else {
        status = RewriteNotebook(target, args.Has("--force"), [&](std::optional<FileIdentity>& known, const ReplaceCheck& unchanged)
                                                                   -> std::optional<SaveResult> {
            uint64_t hash = 0;
            if (!merge(pOut ? nullptr : &hash))
                return std::nullopt;
            if (known)
                known->hash = hash;
            return SaveSnapshot(target, result.notebook, pOut ? ReplaceCheck() : unchanged,
                                pOut ? std::nullopt : std::optional(HistoryKind::Merged));
        });
    }
    if (status != kOk)
        return kTrouble;
    ReportEvents(result, labels);
    return result.HasConflicts() ? kFailed : kOk;
}

int Diff(const Args& args)
{
    // git's diff driver command: PATH OLD-FILE OLD-HEX OLD-MODE NEW-FILE NEW-HEX NEW-MODE, or PATH
    // alone for a path left unmerged, which git's own diff names so and goes on.
    if (args.operands.size() == 1) {
        ShowAsOnTerminal(Stream::Out);
        WriteText("* Unmerged path " + args.operands[0] + "\n", TextEncoding::Kind::Utf8);
        return kOk;
    }
    const bool bFromGit = args.operands.size() == 7;
    if (args.operands.size() != 2 && !bFromGit) {
        Error(Fill(CliText("diff takes 2 notebooks (or git's 7 arguments), not %1; see quillbox-cli --help"),
                   { std::to_string(args.operands.size()) }));
        return kUsage;
    }
    const std::string& older = args.operands[bFromGit ? 1 : 0];
    const std::string& newer = args.operands[bFromGit ? 4 : 1];
    const std::tm now = Now();
    NotebookSnapshot a;
    NotebookSnapshot b;
    if (!ReadNotebook(older, now, a) || !ReadNotebook(newer, now, b))
        return kTrouble;
    const std::vector<NotebookChange> changes = DiffNotebooks(a, b);
    // git shows its diff driver's output in its pager or on the terminal: there it is shown as on
    // a terminal wherever it goes.
    if (bFromGit)
        ShowAsOnTerminal(Stream::Out);
    TextOutput out(TextEncoding::Kind::Utf8);
    if (bFromGit)
        out.Put("quillbox diff a/" + args.operands[0] + " b/" + args.operands[0] + "\n");
    for (const NotebookChange& change : changes) {
        std::string line = DescribeChangeKind(change.kind) + ": ";
        if (!change.oldPath.empty())
            line += change.oldPath + " -> ";
        line += change.path;
        if (!change.header.empty())
            line += "\t" + change.header;
        out.Put(line + "\n");
        for (const std::string& changed : change.lines)
            out.Put("    " + changed + "\n");
    }
    out.End();
    // As diff: 1 when the notebooks differ; git's diff driver must end with 0 to go on.
    return changes.empty() || bFromGit ? kOk : kFailed;
}
