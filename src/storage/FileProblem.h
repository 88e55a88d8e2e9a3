#pragma once

#include <exception>
#include <string>
#include <utility>

// What went wrong with a file, as a value the core hands up; the front ends put it into words
// when they show it (words/ProblemWords.h), each naming the file its own way.
struct FileProblem
{
    // What was being done.
    enum class Action
    {
        None,
        Open,
        Save,
        Export,
        Import,
        WriteRecovery,   // `path` is the recovery folder
        MergeCopy,       // a file-sync tool's conflict copy, merged into its notebook
        SetHistoryLimit, // `path` is the history's folder or database
    };
    enum class Kind
    {
        None,
        System,   // the system's error `error`
        NoMemory, // the command ran out of memory
        Failure,  // any other exception; `detail` is what it says
        TooLarge, // larger than kMaxFileBytes
        // The path names something other than a regular file.
        Folder,
        Fifo,
        Socket,
        Device,
        NotAFile,
        ReadOnly,
        Busy,              // another program is saving the same file
        StaleTemporary,    // the temporary file `detail` a crashed save left cannot be removed: `error`
        ChangingTemporary, // the temporary file `detail` keeps changing
        AttributesUnread,  // `error`
        AttributeLost,     // the extended attribute `detail` cannot be kept: `error`
        FolderNotFlushed,  // written, but its folder could not be flushed: `error`
        Replaced,          // the file was replaced while being saved
        ChangedMeanwhile,  // another program changed the file since the writer read it: nothing was written
        DamagedInPlace,    // an in-place rewrite failed: `error`; the temporary file `detail` keeps the data
        NotANotebook,
        NotAFolderFile,
        NoFolderToExport,
        NotPrivate,       // the recovery folder `detail` belongs to another user, or others can write to it
        NoRecoveryFolder, // there is no home folder to keep recovery files in
        // What leaves a file read only in part. `detail`, when set, is the line expected next.
        EndsEarly,       // the file ends at `line`
        Damaged,         // `line` is not what the format has there
        UnreadableAfter, // reading failed after `line`: `error`
        TooLargeAfter,   // the file grew past kMaxFileBytes after `line`
        MissingLine,     // it has no line `detail`
        MissingFolder,   // it has no folder `detail`
    };

    Action action = Action::None;
    Kind kind = Kind::None;
    // The file as the file system names it: its bytes as they are, whatever their encoding.
    std::string path;
    int line = 0;
    int error = 0;
    std::string detail;
    // An import that stopped short kept nothing of the file.
    bool bNothingRead = false;

    explicit operator bool() const { return kind != Kind::None; }
    // The same problem, met while doing `doing` to the file at `file`.
    FileProblem During(Action doing, std::string file) const
    {
        FileProblem problem = *this;
        problem.action = doing;
        problem.path = std::move(file);
        return problem;
    }
};

// The kind and error of the system's last failure (errno).
FileProblem SystemProblem(int error);
// What an exception that ended a file command means: running out of memory, or what it says.
FileProblem ExceptionProblem(const std::exception& e);

// Runs a file command on `path`; an exception it throws (memory running out, mostly) becomes the
// result `failed` with its problem, so one file's trouble ends no program.
template <typename Result, typename Command>
Result RunGuarded(Command command, Result failed, FileProblem::Action action, const std::string& path)
{
    try {
        return command();
    } catch (const std::exception& e) {
        failed.problem = ExceptionProblem(e).During(action, path);
        return failed;
    }
}
