#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "doc/FileIdentity.h"
#include "doc/LockFile.h"
#include "platform/FileAccess.h"

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
    // The notebook's file as it was just after the state was taken; nothing when there was none.
    std::optional<FileIdentity> notebookFile;
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
    // Writes the entry with the notebook the producer makes, noting the notebook file as it is now;
    // false, with `problem` saying why, when it could not.
    bool Write(RecoveryEntry entry, const ChunkProducer& notebook, FileProblem& problem) const;
    void Remove(const std::string& key) const;
    // The entries whose notebook file is there too, newest first.
    std::vector<RecoveryEntry> List() const;
    std::string NotebookPath(const std::string& key) const;

private:
    std::string InfoPath(const std::string& key) const;

    std::string m_strDir;
};

// Whether the notebook's file, now `file`, was saved after the state in `entry` was taken, which
// makes the state not worth offering. Both must tell it: the file is no longer the one noted when
// the state was written (a comparison on the file system's own clock), and its modification time
// falls after the millisecond the state was taken yet not after the moment `file` was taken (a
// file dated in the future comes from a clock that cannot be compared with this one). In doubt,
// false.
bool IsSupersededBy(const RecoveryEntry& entry, const FileIdentity& file);

// An entry no running program looks after: its writer is gone, or it is this process's and
// `isOwnLive` says no window of it keeps that key.
bool IsOrphaned(const RecoveryEntry& entry, const std::function<bool(const std::string& key)>& isOwnLive);
