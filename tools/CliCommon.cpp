#include "CliCommon.h"

#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <memory>
#include <stdexcept>
#include <string_view>
#include <utility>
#include <vector>

#include "format/NotebookWriter.h"
#include "history/KeptHistory.h"
#include "storage/FileIdentity.h"
#include "model/FolderPath.h"
#include "storage/LockFile.h"
#include "storage/MemoryFile.h"
#include "disk/SaveCopy.h"
#include "words/ProblemWords.h"

namespace {

// Standard input, kept so that it can be read more than once.
std::unique_ptr<MemoryFile> CopyStandardInput()
{
    auto pCopy = std::make_unique<MemoryFile>("quillbox-cli-input", CliText("cannot keep standard input"));
    std::vector<char> buffer(size_t(1) << 20);
    for (;;) {
        const ssize_t got = ::read(STDIN_FILENO, buffer.data(), buffer.size());
        if (got == 0)
            break;
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            throw std::runtime_error(Fill(CliText("cannot read standard input: %1"), { std::strerror(errno) }));
        pCopy->Append({ buffer.data(), static_cast<size_t>(got) });
    }
    return pCopy;
}

std::unique_ptr<MemoryFile> g_pStdin;

// Messages name standard input by what it stands for.
std::string Shown(std::string message)
{
    if (!g_pStdin)
        return message;
    const std::string quoted = "\"" + g_pStdin->Path() + "\"";
    const std::string name = "(standard input)";
    for (size_t at = message.find(quoted); at != std::string::npos; at = message.find(quoted, at + name.size()))
        message.replace(at, quoted.size(), name);
    return message;
}

} // namespace

const std::string* Args::Value(const std::string& option) const
{
    const auto found = values.find(option);
    return found == values.end() ? nullptr : &found->second;
}

bool ParseArgs(const std::vector<std::string>& words, const CommandOptions& options, Args& args, std::string& error)
{
    const auto isFlag = [&](const std::string& w) { return std::find(options.flags.begin(), options.flags.end(), w) != options.flags.end(); };
    const auto isValued = [&](const std::string& w) { return std::find(options.valued.begin(), options.valued.end(), w) != options.valued.end(); };
    const auto isOptional = [&](const std::string& w) { return std::find(options.optional.begin(), options.optional.end(), w) != options.optional.end(); };
    bool bOperandsOnly = false;
    for (size_t i = 0; i < words.size(); ++i) {
        const std::string& word = words[i];
        if (bOperandsOnly || word == "-" || word.empty() || word[0] != '-') {
            args.operands.push_back(word);
            continue;
        }
        if (word == "--") {
            bOperandsOnly = true;
            continue;
        }
        if (word.starts_with("--")) {
            const size_t equals = word.find('=');
            const std::string name = word.substr(0, equals);
            if (equals != std::string::npos && (isValued(name) || isOptional(name))) {
                args.Set(name, word.substr(equals + 1));
            } else if (isOptional(word)) {
                args.Set(word, "");
            } else if (isValued(word)) {
                if (i + 1 == words.size()) {
                    error = Fill(CliText("%1 needs a value"), { word });
                    return false;
                }
                args.Set(word, words[++i]);
            } else if (isFlag(word)) {
                args.flags.insert(word);
            } else {
                error = Fill(CliText("unknown option %1"), { word });
                return false;
            }
            continue;
        }
        // Short options, as getopt reads them: flags given together ("-in"), and an option
        // that takes a value takes the rest of the word ("-ofile") or else the next word.
        for (size_t k = 1; k < word.size(); ++k) {
            const std::string option { '-', word[k] };
            if (isFlag(option)) {
                args.flags.insert(option);
                continue;
            }
            if (!isValued(option)) {
                error = k == 1 ? Fill(CliText("unknown option %1"), { word }) : Fill(CliText("unknown option %1 in %2"), { option, word });
                return false;
            }
            if (k + 1 < word.size()) {
                args.Set(option, word.substr(k + 1));
            } else if (i + 1 < words.size()) {
                args.Set(option, words[++i]);
            } else {
                error = Fill(CliText("%1 needs a value"), { option });
                return false;
            }
            break;
        }
    }
    return true;
}

void Error(const std::string& message)
{
    WriteError("quillbox-cli: " + Shown(message) + "\n", TextEncoding::Kind::Utf8);
}

std::string InputPath(const std::string& operand)
{
    if (operand != "-")
        return operand;
    if (!g_pStdin)
        g_pStdin = CopyStandardInput();
    return g_pStdin->Path();
}

ReadReport OpenBytes(HeadlessNotebook& nb, std::string_view bytes)
{
    MemoryFile file("quillbox-cli-notebook", CliText("cannot keep the notebook"));
    file.Append(bytes);
    return nb.doc.OnOpenDocument(file.Path());
}

std::optional<std::string> CutSaveCopy(const std::string& operand)
{
    return operand == "-" ? std::nullopt : FindSaveCopy(operand);
}

bool SameFile(const std::string& a, const std::string& b)
{
    struct stat sa {};
    struct stat sb {};
    return ::stat(a.c_str(), &sa) == 0 && ::stat(b.c_str(), &sb) == 0 && sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

bool Open(HeadlessNotebook& nb, const std::string& operand, bool bForWriting)
{
    // The file may be cut short, and the copy be the notebook as last saved.
    if (const std::optional<std::string> copy = CutSaveCopy(operand)) {
        Error(Fill(CliText("a save of \"%1\" was cut off and left a complete copy of the notebook in \"%2\"; the file "
                           "may be cut short, so nothing was read. Open the notebook in Quillbox to choose between them, "
                           "or move the copy away."),
                   { operand, *copy }));
        return false;
    }
    const ReadReport report = nb.doc.OnOpenDocument(InputPath(operand));
    const std::string message = DescribeProblem(report.problem);
    if (!report.Opened()) {
        Error(message);
        return false;
    }
    if (report.status == ReadReport::Status::Incomplete) {
        if (bForWriting) {
            Error(Fill(CliText("%1 Nothing was written; \"quillbox-cli check --repair\" saves what can be read."), { message }));
            return false;
        }
        Error(Fill(CliText("warning: %1"), { message }));
    }
    return true;
}

namespace {

// How long a command waits while another writes the same notebook.
constexpr auto kWriterWait = std::chrono::seconds(10);
// How many times a change is made again to a notebook other programs keep replacing.
constexpr int kChangeAttempts = 5;

// Takes the writer's lock of the notebook file `path`; false, after saying why, while a window
// has the notebook open (unless bForce) or another command writes it for too long.
bool LockForWriting(WriteLock& lock, const std::string& path, bool bForce)
{
    if (!bForce) {
        const LockHolders holders = LockFile::HoldersOf(path);
        if (holders.Any()) {
            std::string who;
            if (!holders.owners.empty()) {
                const LockOwner& owner = holders.owners.front();
                who = " (" + DescribeLockOwner(owner) + ")";
            }
            Error(Fill(CliText("\"%1\" is open in Quillbox%2; nothing was written, so that the window's work is not lost. "
                               "Close it there, or give --force to write it all the same."),
                       { path, who }));
            return false;
        }
        // Another machine's name cannot be checked from here, and one that ended stays behind
        // wherever a sync tool copied the lock file: it is mentioned, never obeyed.
        if (!holders.elsewhere.empty())
            Error(Fill(CliText("note: \"%1\" may be open in Quillbox on another machine that shares its folder (%2), which "
                               "cannot be checked from here; writing it all the same."),
                       { path, DescribeLockOwner(holders.elsewhere.front()) }));
    }
    FileProblem problem;
    if (!lock.Take(path, kWriterWait, problem)) {
        Error(Fill(CliText("\"%1\" is being written by another program; nothing was written. Try again in a moment."), { path }));
        return false;
    }
    // Saving would remove the copy, which may be all that is left of the last save.
    if (const std::optional<std::string> copy = FindSaveCopy(path)) {
        Error(Fill(CliText("a save of \"%1\" was cut off and left a complete copy of the notebook in \"%2\"; nothing was "
                           "written, so that neither is lost. Open the notebook in Quillbox to choose between them, or "
                           "move the copy away."),
                   { path, *copy }));
        return false;
    }
    return true;
}

} // namespace

bool Save(HeadlessNotebook& nb, const std::string& operand, bool bForce)
{
    if (operand == "-") {
        TextOutput out(nb.doc.GetEncoding().GetKind());
        WriteNotebook(nb.doc.TakeSnapshot(), out.Sink());
        out.End();
        return true;
    }
    WriteLock lock;
    if (!LockForWriting(lock, operand, bForce))
        return false;
    const SaveResult result = nb.doc.OnSaveDocument(operand);
    if (!result.ok)
        Error(DescribeProblem(result.problem));
    return result.ok;
}

int RewriteNotebook(const std::string& operand, bool bForce, const RewriteAttempt& attempt)
{
    WriteLock lock;
    if (!LockForWriting(lock, operand, bForce))
        return kFailed;
    for (int round = 1;; ++round) {
        // The file as it is before it is read: a replacement while it is read shows as a change.
        std::optional<FileIdentity> known = ReadFileIdentity(operand, false);
        const auto unchanged = [&known](const std::string& target) {
            return known && CheckFile(target, *known) == DiskChange::None;
        };
        const std::optional<SaveResult> result = attempt(known, unchanged);
        if (!result)
            return kFailed;
        if (result->ok)
            return kOk;
        if (result->problem.kind != FileProblem::Kind::ChangedMeanwhile || round == kChangeAttempts) {
            Error(DescribeProblem(result->problem));
            return kFailed;
        }
    }
}

HistoryStore& History()
{
    static HistoryStore store(HistoryStore::DefaultDir());
    return store;
}

void KeepVersionOf(const std::string& operand, const NotebookSnapshot& notebook, HistoryKind kind)
{
    if (operand == "-")
        return;
    const auto now = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::system_clock::now().time_since_epoch());
    FileProblem ignored;
    KeepVersion(History(), operand, notebook, now.count(), kind, ignored);
}

SaveResult SaveSnapshot(const std::string& target, const NotebookSnapshot& notebook, const ReplaceCheck& unchanged,
                        std::optional<HistoryKind> keep)
{
    const WriteResult written
        = WriteFileSafely(target, [&](const ChunkSink& sink) { return WriteNotebook(notebook, sink); }, false, unchanged);
    if (written.status != WriteResult::Status::Written)
        return SaveResult { false, written.problem.During(FileProblem::Action::Save, target) };
    if (keep)
        KeepVersionOf(target, notebook, *keep);
    return SaveResult {};
}

int ChangeNotebook(const std::string& operand, bool bForce, const std::function<bool(HeadlessNotebook&)>& change)
{
    if (operand == "-") {
        HeadlessNotebook nb;
        return Open(nb, operand, true) && change(nb) && Save(nb, operand, bForce) ? kOk : kFailed;
    }
    return RewriteNotebook(operand, bForce, [&](std::optional<FileIdentity>& known, const ReplaceCheck& unchanged) -> std::optional<SaveResult> {
        HeadlessNotebook nb;
        nb.doc.SetHashFile(true);
        if (!Open(nb, operand, true))
            return std::nullopt;
        // As it was before the change, which another program may have written.
        KeepVersionOf(operand, nb.doc.TakeSnapshot(), HistoryKind::Read);
        if (!change(nb))
            return std::nullopt;
        if (known && nb.doc.GetFileHash())
            known->hash = *nb.doc.GetFileHash();
        SaveResult saved = nb.doc.OnSaveDocument(operand, false, unchanged);
        if (saved.ok)
            KeepVersionOf(operand, nb.doc.TakeSnapshot(), HistoryKind::Saved);
        return saved;
    });
}

bool ExportSelected(HeadlessNotebook& nb, const std::string& operand)
{
    if (operand == "-") {
        TextOutput out(nb.doc.GetEncoding().GetKind());
        nb.doc.WriteFolderFileText(out.Sink());
        out.End();
        return true;
    }
    const SaveResult result = nb.doc.ExportFolder(operand);
    if (!result.ok)
        Error(DescribeProblem(result.problem));
    return result.ok;
}

bool WriteOutput(const std::string& operand, TextEncoding::Kind kind, const ChunkProducer& produce)
{
    if (operand == "-") {
        TextOutput out(kind);
        produce(out.Sink());
        out.End();
        return true;
    }
    const WriteResult result = WriteFileSafely(operand, produce);
    if (result.status == WriteResult::Status::Written)
        return true;
    Error(Fill(CliText("cannot write \"%1\": %2."), { operand, DescribeReason(result.problem) }));
    return false;
}

std::string ToNotebook(TextEncoding::Kind encoding, const std::string& words)
{
    std::string bytes;
    if (encoding == TextEncoding::Kind::Windows1252 && TextEncoding::IsValidUtf8(words) && TextEncoding::Utf8ToCp1252(words, bytes))
        return bytes;
    return words;
}

std::string ToNotebook(const HeadlessNotebook& nb, const std::string& words)
{
    return ToNotebook(nb.doc.GetEncoding().GetKind(), words);
}

std::string FromNotebook(const HeadlessNotebook& nb, std::string_view bytes)
{
    if (nb.doc.GetEncoding().GetKind() == TextEncoding::Kind::Windows1252)
        return TextEncoding::Cp1252ToUtf8(bytes);
    return std::string(bytes);
}

Folder* FindFolder(HeadlessNotebook& nb, const std::string& operand, const std::string& path)
{
    Folder* pFolder = FindFolderByPath(nb.doc.GetFolderTree(), ToNotebook(nb, path));
    if (!pFolder)
        Error(Fill(CliText("\"%1\" has no folder \"%2\"."), { InputPath(operand), path }));
    return pFolder;
}

void Select(HeadlessNotebook& nb, const Folder* pFolder)
{
    nb.tree.SelectItem(pFolder->m_hItem);
}
