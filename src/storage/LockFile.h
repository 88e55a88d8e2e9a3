#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <vector>

#include "storage/FileProblem.h"

// Who holds a notebook open: a Quillbox on `host`, run by `user` as process `pid`.
struct LockOwner
{
    std::string host;
    long pid = 0;
    std::string user;

    // This program's own process.
    static LockOwner Self();
    // Its process is gone: it ran on this host and no process has its id any more. A process of
    // another host cannot be seen from here and is never taken as gone.
    bool IsStale() const;
    bool operator==(const LockOwner&) const = default;
};

// The others that hold a notebook open, as far as the locks and the lock file tell.
struct LockHolders
{
    // A program on this machine holds the notebook's file or its lock file open.
    bool bHeld = false;
    // The Quillboxes of this machine the lock file names whose process lives, while a claim on
    // the lock file is held. Empty when only a lock tells, as for a name by hard link in another
    // folder.
    std::vector<LockOwner> owners;
    // The Quillboxes of other machines sharing the folder that the lock file names. None of them
    // holds the notebook here: their claims cannot be checked from here, and a sync tool copies
    // the name of one that ended along with the lock file.
    std::vector<LockOwner> elsewhere;

    bool Any() const { return bHeld || !owners.empty(); }
};

// The claims on a notebook that every Quillbox and quillbox-cli makes, tied to the file:
//
//   ".NAME.lock" beside the notebook (symbolic links followed): the names of the programs that
//   have it open, one "host / pid / user" group of lines each, and three one-byte locks on it
//   (open file description locks, which the system drops when a program ends however it ends):
//     byte 0  shared, by each window that has the notebook open;
//     byte 1  exclusive, by whoever reads, changes and replaces the notebook: one writer at a time;
//     byte 2  exclusive, for the moment the list of names is rewritten.
//   The notebook's own file: byte 0 shared by each window that has it open, so that a window on a
//   name by hard link in another folder sees the claim.
//
// The lock file is never replaced, only rewritten in place, since the locks belong to its inode,
// and removed only by a program that holds every byte of it, so no holder's claim goes with it.
// A folder where no lock file can be made is no obstacle: the locks that can be taken are.
class LockFile
{
public:
    LockFile() = default;
    ~LockFile() { Release(); }
    LockFile(const LockFile&) = delete;
    LockFile& operator=(const LockFile&) = delete;

    // Claims the notebook at `notebookPath` as open in this program; returns the others that
    // hold it open. Claiming the same notebook again (after a save replaced its file) takes the
    // lock on the new file and reports no one.
    LockHolders Acquire(const std::string& notebookPath);
    // Drops this program's claim; the lock file goes when nobody else has one.
    void Release();

    // The programs that hold the notebook at `notebookPath` open, this program's own claims
    // through other LockFile objects included.
    static LockHolders HoldersOf(const std::string& notebookPath);
    static std::string PathFor(const std::string& notebookPath);

private:
    std::string m_strNotebook;
    std::string m_strPath;
    int m_fd = -1;
    int m_fileFd = -1;
};

// One writer of a notebook at a time: held from reading the notebook to replacing it.
class WriteLock
{
public:
    WriteLock() = default;
    ~WriteLock() { Release(); }
    WriteLock(WriteLock&& other) noexcept;
    WriteLock& operator=(WriteLock&& other) noexcept;

    // Takes the writer's lock of the notebook at `notebookPath`, waiting up to `wait` while
    // another program writes it. False, with `problem` (Busy, or the system's error), when it
    // could not; true also where no lock file can be made, which leaves nothing to take.
    bool Take(const std::string& notebookPath, std::chrono::milliseconds wait, FileProblem& problem);
    void Release();

private:
    std::string m_strPath;
    int m_fd = -1;
};
