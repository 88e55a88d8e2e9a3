#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "storage/FileAccess.h"

// The last version of each notebook Quillbox read or saved, kept as the common base of a later
// merge with a conflict copy that a file-sync tool leaves beside the notebook. One file a
// notebook, named by a hash of the notebook's path, in $XDG_STATE_HOME/quillbox/versions beside
// the recovery folder and private as that is; once they pass `maxBytes` together, the oldest
// go first.
class VersionStore
{
public:
    static constexpr uint64_t kDefaultMaxBytes = uint64_t(512) << 20;

    explicit VersionStore(std::string dir, uint64_t maxBytes = kDefaultMaxBytes);
    // Beside RecoveryStore::DefaultDir(); empty when there is no home at all.
    static std::string DefaultDir();

    // Keeps the notebook the producer makes as the version of the notebook at `notebookPath`;
    // false, with `problem` saying why, when it could not.
    bool Keep(const std::string& notebookPath, const ChunkProducer& notebook, FileProblem& problem) const;
    // The file that holds the notebook's kept version, when there is one.
    std::optional<std::string> Kept(const std::string& notebookPath) const;

private:
    std::string PathFor(const std::string& notebookPath) const;
    // Removes the oldest versions but `keep` while all of them pass the bound.
    void Trim(const std::string& keep) const;

    std::string m_strDir;
    uint64_t m_maxBytes;
};
