#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "storage/FileProblem.h"

// The largest file Quillbox reads: twenty times a very large notebook, and far from what would
// exhaust the memory of a desktop machine once the notebook is built from it.
constexpr int64_t kMaxFileBytes = int64_t(1) << 30;
constexpr const char* kMaxFileSizeText = "1 GiB";

// A regular file read from its start a piece at a time.
class FileReader
{
public:
    FileReader() = default;
    ~FileReader();
    FileReader(const FileReader&) = delete;
    FileReader& operator=(const FileReader&) = delete;

    // False when the file cannot be read: the path is missing or unreadable, names something
    // other than a regular file (a folder, FIFO, device or socket, checked without ever waiting
    // on it), or the file is larger than kMaxFileBytes; `problem` then says why (its kind and
    // error only).
    bool Open(const std::string& path, FileProblem& problem);
    // The size of the file when it was opened.
    int64_t Size() const { return m_size; }
    // Reads the next bytes, at most `size`, into `buffer`; `count` is 0 at the end of the file.
    // False on an error, or once the file has grown past kMaxFileBytes, with `problem`.
    bool Read(char* buffer, size_t size, size_t& count, FileProblem& problem);

private:
    int m_fd = -1;
    int64_t m_size = 0;
    int64_t m_read = 0;
};

struct [[nodiscard]] WriteResult
{
    enum class Status
    {
        Written,
        ReadOnly, // the target is a read-only file: nothing was written
        Failed,
    };
    Status status = Status::Written;
    FileProblem problem; // why it failed: its kind, error and detail only
};

// Replaces the file at `path` with `data` without ever leaving a half-written file:
// - symbolic links are followed to the final file, which is created when the last link dangles;
// - a folder, FIFO, socket or device is never replaced, and a read-only file only when
//   `bReplaceReadOnly` is set;
// - the data goes to the target's one temporary file (".NAME.quillbox-save" beside it, made
//   afresh in place of any a crashed save left), is flushed to disk and renamed over the target, keeping its
//   mode, owner and group where permitted, and extended attributes (ACLs among them);
// - a file with further hard links is rewritten in place, after the temporary file holds a
//   flushed copy of `data`, so that every name keeps sharing the content;
// - the folder is flushed too, and a failure to do so is reported.
// On failure the old file is untouched and no temporary file is left, except when an in-place
// rewrite fails part way: the temporary file then keeps the complete data and the problem says so.
WriteResult WriteFileSafely(const std::string& path, std::string_view data, bool bReplaceReadOnly = false);

// Takes the pieces of a file's data in order; false when one could not be written.
using ChunkSink = std::function<bool(std::string_view chunk)>;
// Makes a file's data piece by piece, handing each to the sink; false as soon as the sink is.
using ChunkProducer = std::function<bool(const ChunkSink&)>;
// Says, just before the new data replaces the file at `target` (the path with its links
// followed), whether the file is still as the writer last knew it; false stops the save with
// nothing replaced (Kind::ChangedMeanwhile).
using ReplaceCheck = std::function<bool(const std::string& target)>;
// As above with the data made piece by piece, so a large file is never held whole, and with the
// writer's check that nobody changed the file since it read it.
WriteResult WriteFileSafely(const std::string& path, const ChunkProducer& produce, bool bReplaceReadOnly = false,
                            const ReplaceCheck& unchanged = {});

// As above, for a file that is never read-only: false on any failure, with `problem` saying why
// (its kind, error and detail only).
bool WriteFileSafely(const std::string& path, std::string_view data, FileProblem& problem);
// As above, for the program's own files that hold what the user typed: made 0600 whatever the
// umask, and never written through a symbolic link (one in its place is refused).
bool WritePrivateFile(const std::string& path, const ChunkProducer& produce, FileProblem& problem);

// The hidden file ".NAME" + `suffix` beside the file NAME at `path`: where Quillbox keeps what
// belongs to one file (its save's temporary file, its lock file).
std::string PathBeside(const std::string& path, std::string_view suffix);
// The last name of a path: "name.not" of "dir/name.not".
std::string FileNameOf(std::string_view path);
// The temporary file a save of the file at `path` writes first (".NAME.quillbox-save" beside
// the file its links lead to). A save that was cut leaves it behind: before the file was
// replaced when it is incomplete, and complete when the save was cut while it replaced the
// file (an in-place rewrite of a hard-linked file writes the complete copy first). Empty for a
// loop of links.
std::string SaveCopyPath(const std::string& path);
// A save is writing that temporary file now (it holds it locked).
bool IsBeingSaved(const std::string& copyPath);
// Whether two files hold the same bytes; false when either cannot be read.
bool SameFileBytes(const std::string& a, const std::string& b);
// The lock file at `path` opened, made when there is none and bCreate is set: writable where the
// system allows, else only for reading (a lock file another user made). -1 when there is none to
// open or it is not a regular file; a symbolic link in its place is never followed.
int OpenLockFile(const std::string& path, bool bCreate, bool& bWritable);
// A regular file opened for reading only so that it can be locked; -1 when it cannot be.
int OpenToLock(const std::string& path);
// Makes the folder where it is missing, 0700, and checks the one there is the user's alone: a
// folder (not a link to one), owned by the user, that nobody else can write to (and so could
// have put files in); one that others can only read is made private. False, with `problem`
// (NotPrivate, or the system's error), when it is not.
bool MakePrivateFolder(const std::string& dir, FileProblem& problem);
// Makes the folder and those above it where they are missing, each 0700.
bool MakeFolders(const std::string& dir, FileProblem& problem);

// The last bytes of the file at `path`, at most `size` of them; nothing when it cannot be read.
std::optional<std::string> ReadFileTail(const std::string& path, size_t size);
