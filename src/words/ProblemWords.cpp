#include "words/ProblemWords.h"

#include <cstring>

#include "storage/FileAccess.h"

namespace {

using Kind = FileProblem::Kind;
using Action = FileProblem::Action;

std::string Shown(const PathShower& show, const std::string& path)
{
    return show ? show(path) : path;
}

// What leaves a file read only in part.
bool IsReadInPart(Kind kind)
{
    switch (kind) {
    case Kind::EndsEarly:
    case Kind::Damaged:
    case Kind::UnreadableAfter:
    case Kind::TooLargeAfter:
    case Kind::MissingLine:
    case Kind::MissingFolder:
        return true;
    default:
        return false;
    }
}

std::string TooLargeText()
{
    return std::string("it is larger than ") + kMaxFileSizeText + ", the most Quillbox reads";
}

} // namespace

std::string DescribeReason(const FileProblem& problem, const PathShower& show)
{
    const std::string system = std::strerror(problem.error);
    const std::string line = std::to_string(problem.line);
    const std::string before = problem.detail.empty() ? "" : ", before \"" + problem.detail + "\"";
    switch (problem.kind) {
    case Kind::None:
        return {};
    case Kind::System:
        return system;
    case Kind::NoMemory:
        return "there is not enough memory";
    case Kind::Failure:
        return problem.detail;
    case Kind::TooLarge:
        return TooLargeText();
    case Kind::Folder:
        return "it is a folder, not a file";
    case Kind::Fifo:
        return "it is a FIFO (named pipe), not a file";
    case Kind::Socket:
        return "it is a socket, not a file";
    case Kind::Device:
        return "it is a device, not a file";
    case Kind::NotAFile:
        return "it is not a file";
    case Kind::ReadOnly:
        return "it is read-only";
    case Kind::Busy:
        return "another program is saving it at this moment";
    case Kind::StaleTemporary:
        return "cannot remove the old temporary file " + Shown(show, problem.detail) + ": " + system;
    case Kind::ChangingTemporary:
        return "its temporary file " + Shown(show, problem.detail) + " keeps changing";
    case Kind::AttributesUnread:
        return "cannot read its extended attributes: " + system;
    case Kind::AttributeLost:
        return "cannot keep its extended attribute " + problem.detail + ": " + system;
    case Kind::FolderNotFlushed:
        return "the file was written, but its folder could not be flushed to disk: " + system;
    case Kind::Replaced:
        return "it was replaced while being saved";
    case Kind::ChangedMeanwhile:
        return "another program changed it in the meantime, so nothing was written";
    case Kind::DamagedInPlace:
        return system + "; the file may be damaged, and the complete data is kept in " + Shown(show, problem.detail);
    case Kind::NotANotebook:
        return "it is not a Quillbox notebook";
    case Kind::NotAFolderFile:
        return "it has no \"Begin Folder Information\" line";
    case Kind::NoFolderToExport:
        return "there is no folder to export";
    case Kind::NotPrivate:
        return Shown(show, problem.detail) + " belongs to another user or others can write to it, so it is not private";
    case Kind::NoRecoveryFolder:
        return "there is no home folder to keep it in (neither HOME nor XDG_STATE_HOME is set, and the system names none)";
    case Kind::EndsEarly:
        return "it ends early, at line " + line + before;
    case Kind::Damaged:
        return "it is damaged at line " + line + before;
    case Kind::UnreadableAfter:
        return "it cannot be read after line " + line + ": " + system + before;
    case Kind::TooLargeAfter:
        return "it cannot be read after line " + line + ": " + TooLargeText() + before;
    case Kind::MissingLine:
        return "it has no \"" + problem.detail + "\" line";
    case Kind::MissingFolder:
        return "it has no \"" + problem.detail + "\" folder";
    }
    return {};
}

std::string DescribeProblem(const FileProblem& problem, const PathShower& show)
{
    const std::string file = "\"" + Shown(show, problem.path) + "\"";
    const std::string reason = DescribeReason(problem, show);
    switch (problem.kind) {
    case Kind::None:
        return {};
    case Kind::NotANotebook:
        return file + " is not a Quillbox notebook.";
    case Kind::NotAFolderFile:
        return file + " is not a folder file: " + reason + ".";
    case Kind::NoFolderToExport:
        return "There is no folder to export.";
    default:
        break;
    }
    if (IsReadInPart(problem.kind)) {
        if (problem.action != Action::Import)
            return "The notebook file " + file + " was incomplete: " + reason
                + ". Quillbox opened what it could read as an untitled notebook; the file itself is left as it is.";
        if (problem.bNothingRead)
            return "The folder file " + file + " holds no folder: " + reason + ". Nothing was imported.";
        return "The folder file " + file + " was incomplete: " + reason + ". The folders read before that point were imported.";
    }
    switch (problem.action) {
    case Action::Save:
        return "Cannot save " + file + ": " + reason + ".";
    case Action::Export:
        return "Cannot export the folder to " + file + ": " + reason + ".";
    case Action::Import:
        return "Cannot import " + file + ": " + reason + ".";
    case Action::WriteRecovery:
        if (problem.path.empty())
            return "Cannot keep unsaved work for recovery: " + reason + ".";
        return "Cannot write the recovery file in " + Shown(show, problem.path) + ": " + reason + ".";
    case Action::None:
    case Action::Open:
        break;
    }
    return "Cannot open " + file + ": " + reason + ".";
}
