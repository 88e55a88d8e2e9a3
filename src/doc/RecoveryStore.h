#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "doc/LockFile.h"

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
};

// The folder of recovery files, $XDG_STATE_HOME/quillbox/recovery (~/.local/state/... without
// it). Every write replaces its files atomically, the notebook before the note of whose it is.
class RecoveryStore
{
public:
    explicit RecoveryStore(std::string dir);
    static std::string DefaultDir();

    const std::string& Dir() const { return m_strDir; }
    // A key no entry in the folder has; keys begin with the process id, so programs running at
    // the same time never share one.
    std::string NewKey() const;
    bool Write(const RecoveryEntry& entry, std::string_view notebookBytes, std::string& error) const;
    void Remove(const std::string& key) const;
    // The entries whose notebook file is there too, newest first.
    std::vector<RecoveryEntry> List() const;
    std::string NotebookPath(const std::string& key) const;

private:
    std::string InfoPath(const std::string& key) const;

    std::string m_strDir;
};

// An entry no running program looks after: its writer is gone, or it is this process's and
// `isOwnLive` says no window of it keeps that key.
bool IsOrphaned(const RecoveryEntry& entry, const std::function<bool(const std::string& key)>& isOwnLive);
