#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "storage/LockFile.h"
#include "storage/FileAccess.h"

// One notebook's unsaved state kept for recovery: "KEY.not" holds the notebook as a save would
// write it, "KEY.recovery" says whose it is.
struct RecoveryEntry
{
    std::string key;
    // The notebook's file; empty for a notebook never saved.
    std::string notebookPath;
    // When the state was taken, in milliseconds since 1970.
    int64_t savedAt = 0;
    // The program that wrote it.
    LockOwner writer;
    // The kept version of the notebook's file the work went on from; 0 when not known.
    int64_t baseVersion = 0;
};

// The folder of recovery files, $XDG_STATE_HOME/quillbox/recovery (~/.local/state/... without
// it). Every write replaces its files atomically, the notebook before the note of whose it is.
//
// The files hold what the user typed, so the folder is the user's alone: made 0700 (its parent
// too, where Quillbox makes it) and its files 0600 whatever the umask, and checked before every
// write and list. A folder that another user owns, or that others can write to (and so could
// have put files in), is refused; one of the user's own that others can only read is made
// private.
class RecoveryStore
{
public:
    explicit RecoveryStore(std::string dir);
    // The folder under $XDG_STATE_HOME, else under $HOME/.local/state, else under the home the
    // password database gives; empty when there is no home at all, which leaves no recovery.
    static std::string DefaultDir();

    const std::string& Dir() const { return m_strDir; }
    // A key no entry in the folder has; keys begin with the process id, so programs running at
    // the same time never share one.
    std::string NewKey() const;
    // Writes the entry with the notebook the producer makes; false, with `problem` saying why,
    // when it could not (the folder refused among the reasons).
    bool Write(const RecoveryEntry& entry, const ChunkProducer& notebook, FileProblem& problem) const;
    void Remove(const std::string& key) const;
    // The entries whose notebook file is there too, newest first; none from a refused folder.
    std::vector<RecoveryEntry> List() const;
    std::string NotebookPath(const std::string& key) const;
    // Whether the file at `path` holds exactly the notebook kept under `key`.
    bool HoldsKeptBytes(const std::string& key, const std::string& path) const;
    // Makes the folder where it is missing and checks it is the user's alone; false, with
    // `problem` saying why, when it is not.
    bool PrepareDir(FileProblem& problem) const;

private:
    std::string InfoPath(const std::string& key) const;

    std::string m_strDir;
};

// An entry no running program looks after: its writer is gone, or it is this process's and
// `isOwnLive` says no window of it keeps that key.
bool IsOrphaned(const RecoveryEntry& entry, const std::function<bool(const std::string& key)>& isOwnLive);
