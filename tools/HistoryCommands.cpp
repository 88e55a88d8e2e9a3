#include <algorithm>
#include <charconv>
#include <cstdlib>
#include <ctime>

#include "CliCommands.h"
#include "format/NotebookWriter.h"
#include "history/KeptHistory.h"
#include "model/FolderPath.h"
#include "words/HistoryWords.h"
#include "words/ProblemWords.h"

namespace {

std::string LocalTime(int64_t ms)
{
    const std::time_t seconds = static_cast<std::time_t>(ms / 1000);
    std::tm local {};
    ::localtime_r(&seconds, &local);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &local);
    return text;
}

// The version VERSION names among the kept versions of the notebook FILE names; nothing, said,
// when it is not one of them.
std::optional<NotebookSnapshot> KeptVersionOf(const std::string& operand, const std::string& number)
{
    char* end = nullptr;
    const long long id = std::strtoll(number.c_str(), &end, 10);
    const std::optional<std::string> notebook = id > 0 && *end == '\0' ? History().NotebookOf(id) : std::nullopt;
    std::optional<NotebookSnapshot> version;
    if (notebook && *notebook == HistoryKey(operand))
        version = LoadVersion(History(), id);
    if (!version)
        Error(Fill(CliText("%1 has no kept version %2; quillbox-cli log %1 lists them."), { operand, number }));
    return version;
}

// The record of the version's folder that PATH names; nothing, said, when it has none.
std::optional<size_t> FolderOf(const NotebookSnapshot& version, const Args& args)
{
    const std::vector<std::string> paths = RecordPaths(version);
    std::string path;
    for (const std::string& name : SplitFolderPath(ToNotebook(version.encoding, args.operands[2])))
        path += (path.empty() ? "" : "/") + EscapeFolderName(name);
    const auto found = std::find(paths.begin(), paths.end(), path);
    if (found == paths.end()) {
        Error(Fill(CliText("version %1 of %2 has no folder %3."), { args.operands[1], args.operands[0], args.operands[2] }));
        return std::nullopt;
    }
    return size_t(found - paths.begin());
}

} // namespace

int Log(const Args& args)
{
    const std::string& operand = args.operands[0];
    const std::string folder = args.operands.size() > 1 ? args.operands[1] : std::string();
    // The path typed names the folder as the newest version spells it.
    const std::vector<HistoryVersion> versions = folder.empty() ? std::vector<HistoryVersion>() : History().List(HistoryKey(operand));
    const std::vector<VersionChange> log = VersionLog(
        History(), operand, versions.empty() ? folder : ToNotebook(EncodingOf(versions[0]), folder));
    if (log.empty()) {
        Error(folder.empty() ? Fill(CliText("no version of %1 is kept."), { operand })
                             : Fill(CliText("no kept version of %1 changed %2."), { operand, folder }));
        return kFailed;
    }
    TextOutput out(TextEncoding::Kind::Utf8);
    for (const VersionChange& change : log)
        out.Put(std::to_string(change.version.id) + "\t" + LocalTime(change.version.time) + "\t" + change.version.host + "\t"
                + DescribeHistoryKind(change.version.kind) + "\t" + DescribeVersionChange(change) + "\n");
    out.End();
    return kOk;
}

int Show(const Args& args)
{
    const std::string& operand = args.operands[0];
    const std::optional<NotebookSnapshot> version = KeptVersionOf(operand, args.operands[1]);
    if (!version)
        return kFailed;
    if (args.operands.size() < 3) {
        TextOutput out(version->encoding);
        const bool bWritten = WriteNotebook(*version, out.Sink());
        out.End();
        return bWritten ? kOk : kFailed;
    }
    const std::optional<size_t> folder = FolderOf(*version, args);
    if (!folder)
        return kFailed;
    WriteText(version->records[*folder].text, version->encoding);
    return kOk;
}

int Restore(const Args& args)
{
    const std::string& operand = args.operands[0];
    const std::optional<NotebookSnapshot> version = KeptVersionOf(operand, args.operands[1]);
    if (!version)
        return kFailed;
    // The whole notebook: the version replaces it, and what it replaces is kept as a version.
    if (args.operands.size() < 3) {
        return RewriteNotebook(operand, args.Has("--force"), [&](std::optional<FileIdentity>& known, const ReplaceCheck& unchanged)
                                                                  -> std::optional<SaveResult> {
            HeadlessNotebook nb;
            nb.doc.SetHashFile(true);
            if (!Open(nb, operand, true))
                return std::nullopt;
            KeepVersionOf(operand, nb.doc.TakeSnapshot(), HistoryKind::Read);
            if (known && nb.doc.GetFileHash())
                known->hash = *nb.doc.GetFileHash();
            return SaveSnapshot(operand, *version, unchanged, HistoryKind::Saved);
        });
    }
    // A folder: it comes back with its subtree beside what is there now, which stays.
    const std::optional<size_t> folder = FolderOf(*version, args);
    if (!folder)
        return kFailed;
    const std::string path = RecordPaths(*version)[*folder];
    const std::string folderFile = FolderFileOf(*version, *folder);
    return ChangeNotebook(operand, args.Has("--force"), [&](HeadlessNotebook& nb) {
        Folder* pSelected = nb.doc.GetSelFolder();
        const ReadReport report = nb.doc.RestoreFolder(folderFile, path, operand);
        if (report.status != ReadReport::Status::Ok) {
            Error(DescribeProblem(report.problem));
            return false;
        }
        if (pSelected)
            Select(nb, pSelected);
        return true;
    });
}

int HistoryLimit(const Args& args)
{
    FileProblem problem;
    if (args.operands.empty()) {
        const std::optional<int> megabytes = ReadHistoryLimit(History(), problem);
        if (!megabytes) {
            Error(DescribeProblem(problem));
            return kFailed;
        }
        Write(std::to_string(*megabytes) + "\n");
        return kOk;
    }
    const std::string& given = args.operands[0];
    int megabytes = 0;
    const auto [end, error] = std::from_chars(given.data(), given.data() + given.size(), megabytes);
    if (error != std::errc() || end != given.data() + given.size() || megabytes < kLeastHistoryMegabytes
        || megabytes > kMostHistoryMegabytes) {
        Error(Fill(CliText("history-limit takes a number of megabytes from %1 to %2, not \"%3\"; see quillbox-cli help history-limit"),
                   { std::to_string(kLeastHistoryMegabytes), std::to_string(kMostHistoryMegabytes), given }));
        return kUsage;
    }
    if (!SetHistoryLimit(History(), megabytes, problem)) {
        Error(DescribeProblem(problem));
        return kFailed;
    }
    return kOk;
}
