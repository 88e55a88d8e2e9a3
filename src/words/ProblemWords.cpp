#include "words/ProblemWords.h"

#include <cstring>

#include "storage/FileAccess.h"
#include "words/Translate.h"

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
    return Fill(Tr("ProblemWords", "it is larger than %1, the most Quillbox reads"), { kMaxFileSizeText });
}

} // namespace

std::string DescribeReason(const FileProblem& problem, const PathShower& show)
{
    const std::string system = std::strerror(problem.error);
    const std::string line = std::to_string(problem.line);
    // Where reading stopped, and before which text when the reader knows it.
    const auto stopped = [&](const char* text, const std::string& why = {}) {
        if (problem.detail.empty())
            return Fill(Tr("ProblemWords", text), { line, why });
        return Fill(Tr("ProblemWords", "%1, before \"%2\""), { Fill(Tr("ProblemWords", text), { line, why }), problem.detail });
    };
    switch (problem.kind) {
    case Kind::None:
        return {};
    case Kind::System:
        return system;
    case Kind::NoMemory:
        return Tr("ProblemWords", "there is not enough memory");
    case Kind::Failure:
        return problem.detail;
    case Kind::TooLarge:
        return TooLargeText();
    case Kind::Folder:
        return Tr("ProblemWords", "it is a folder, not a file");
    case Kind::Fifo:
        return Tr("ProblemWords", "it is a FIFO (named pipe), not a file");
    case Kind::Socket:
        return Tr("ProblemWords", "it is a socket, not a file");
    case Kind::Device:
        return Tr("ProblemWords", "it is a device, not a file");
    case Kind::NotAFile:
        return Tr("ProblemWords", "it is not a file");
    case Kind::ReadOnly:
        return Tr("ProblemWords", "it is read-only");
    case Kind::Busy:
        return Tr("ProblemWords", "another program is saving it at this moment");
    case Kind::StaleTemporary:
        return Fill(Tr("ProblemWords", "cannot remove the old temporary file %1: %2"), { Shown(show, problem.detail), system });
    case Kind::ChangingTemporary:
        return Fill(Tr("ProblemWords", "its temporary file %1 keeps changing"), { Shown(show, problem.detail) });
    case Kind::AttributesUnread:
        return Fill(Tr("ProblemWords", "cannot read its extended attributes: %1"), { system });
    case Kind::AttributeLost:
        return Fill(Tr("ProblemWords", "cannot keep its extended attribute %1: %2"), { problem.detail, system });
    case Kind::FolderNotFlushed:
        return Fill(Tr("ProblemWords", "the file was written, but its folder could not be flushed to disk: %1"), { system });
    case Kind::Replaced:
        return Tr("ProblemWords", "it was replaced while being saved");
    case Kind::ChangedMeanwhile:
        return Tr("ProblemWords", "another program changed it in the meantime, so nothing was written");
    case Kind::DamagedInPlace:
        return Fill(Tr("ProblemWords", "%1; the file may be damaged, and the complete data is kept in %2"), { system, Shown(show, problem.detail) });
    case Kind::NotANotebook:
        return Tr("ProblemWords", "it is not a Quillbox notebook");
    case Kind::NotAFolderFile:
        return Tr("ProblemWords", "it has no \"Begin Folder Information\" line");
    case Kind::NoFolderToExport:
        return Tr("ProblemWords", "there is no folder to export");
    case Kind::NotPrivate:
        return Fill(Tr("ProblemWords", "%1 belongs to another user or others can write to it, so it is not private"), { Shown(show, problem.detail) });
    case Kind::NoRecoveryFolder:
        return Tr("ProblemWords", "there is no home folder to keep it in (neither HOME nor XDG_STATE_HOME is set, and the system names none)");
    case Kind::EndsEarly:
        return stopped(QB_TRANSLATE_NOOP("ProblemWords", "it ends early, at line %1"));
    case Kind::Damaged:
        return stopped(QB_TRANSLATE_NOOP("ProblemWords", "it is damaged at line %1"));
    case Kind::UnreadableAfter:
        return stopped(QB_TRANSLATE_NOOP("ProblemWords", "it cannot be read after line %1: %2"), system);
    case Kind::TooLargeAfter:
        return stopped(QB_TRANSLATE_NOOP("ProblemWords", "it cannot be read after line %1: %2"), TooLargeText());
    case Kind::MissingLine:
        return Fill(Tr("ProblemWords", "it has no \"%1\" line"), { problem.detail });
    case Kind::MissingFolder:
        return Fill(Tr("ProblemWords", "it has no \"%1\" folder"), { problem.detail });
    }
    return {};
}

std::string DescribeProblem(const FileProblem& problem, const PathShower& show)
{
    const std::string file = Shown(show, problem.path);
    const std::string reason = DescribeReason(problem, show);
    switch (problem.kind) {
    case Kind::None:
        return {};
    case Kind::NotANotebook:
        return Fill(Tr("ProblemWords", "\"%1\" is not a Quillbox notebook."), { file });
    case Kind::NotAFolderFile:
        return Fill(Tr("ProblemWords", "\"%1\" is not a folder file: %2."), { file, reason });
    case Kind::NoFolderToExport:
        return Tr("ProblemWords", "There is no folder to export.");
    default:
        break;
    }
    if (IsReadInPart(problem.kind)) {
        if (problem.action == Action::MergeCopy)
            return Fill(Tr("ProblemWords", "The conflict copy \"%1\" was incomplete: %2. What could be read of it was merged in "
                                           "keeping every note of either; the copy itself is left as it is."),
                        { file, reason });
        if (problem.action != Action::Import)
            return Fill(Tr("ProblemWords", "The notebook file \"%1\" was incomplete: %2. Quillbox opened what it could read as an untitled "
                          "notebook; the file itself is left as it is."),
                        { file, reason });
        if (problem.bNothingRead)
            return Fill(Tr("ProblemWords", "The folder file \"%1\" holds no folder: %2. Nothing was imported."), { file, reason });
        return Fill(Tr("ProblemWords", "The folder file \"%1\" was incomplete: %2. The folders read before that point were imported."),
                    { file, reason });
    }
    switch (problem.action) {
    case Action::Save:
        return Fill(Tr("ProblemWords", "Cannot save \"%1\": %2."), { file, reason });
    case Action::Export:
        return Fill(Tr("ProblemWords", "Cannot export the folder to \"%1\": %2."), { file, reason });
    case Action::Import:
        return Fill(Tr("ProblemWords", "Cannot import \"%1\": %2."), { file, reason });
    case Action::WriteRecovery:
        if (problem.path.empty())
            return Fill(Tr("ProblemWords", "Cannot keep unsaved work for recovery: %1."), { reason });
        return Fill(Tr("ProblemWords", "Cannot write the recovery file in %1: %2."), { file, reason });
    case Action::MergeCopy:
        return Fill(Tr("ProblemWords", "Cannot merge the conflict copy \"%1\": %2. It is left as it is."), { file, reason });
    case Action::SetHistoryLimit:
        return Fill(Tr("ProblemWords", "Cannot set the limit of the history in %1: %2."), { file, reason });
    case Action::None:
    case Action::Open:
        break;
    }
    return Fill(Tr("ProblemWords", "Cannot open \"%1\": %2."), { file, reason });
}
