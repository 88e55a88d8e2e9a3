#pragma once

#include <optional>
#include <string>

// Who holds a notebook's lock file: a Quillbox on `host`, run by `user` as process `pid`.
struct LockOwner
{
    std::string host;
    long pid = 0;
    std::string user;

    // This program's own process.
    static LockOwner Self();
    // Its process is gone: it ran on this host and no process has its id any more. A lock from
    // another host is never stale, since its process cannot be seen from here.
    bool IsStale() const;
    bool operator==(const LockOwner&) const = default;
};

// The lock file ".NAME.lock" beside a notebook NAME, which tells other Quillboxes, on this
// machine or another one sharing the folder, that the notebook is open. Released when destroyed.
class LockFile
{
public:
    LockFile() = default;
    ~LockFile() { Release(); }
    LockFile(const LockFile&) = delete;
    LockFile& operator=(const LockFile&) = delete;

    // Takes the lock of the notebook at `notebookPath` (a stale lock is taken over). Returns the
    // owner of a live lock held by another Quillbox, which keeps it; nothing otherwise. A folder
    // where no lock can be written is no obstacle.
    std::optional<LockOwner> Acquire(const std::string& notebookPath);
    // Removes the lock file if it is still this program's.
    void Release();

    static std::string PathFor(const std::string& notebookPath);

private:
    std::string m_strPath;
};
