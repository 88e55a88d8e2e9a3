#include "storage/VersionStore.h"

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <vector>

#include "storage/FileIdentity.h"
#include "storage/RecoveryStore.h"

namespace {

constexpr std::string_view kSuffix = ".not";

} // namespace

VersionStore::VersionStore(std::string dir, uint64_t maxBytes)
    : m_strDir(std::move(dir))
    , m_maxBytes(maxBytes)
{
}

std::string VersionStore::DefaultDir()
{
    const std::string recovery = RecoveryStore::DefaultDir();
    return recovery.empty() ? std::string() : std::filesystem::path(recovery).parent_path().string() + "/versions";
}

std::string VersionStore::PathFor(const std::string& notebookPath) const
{
    ContentHash hash;
    hash.Add(notebookPath);
    char name[32];
    std::snprintf(name, sizeof name, "%016llx", static_cast<unsigned long long>(hash.Value()));
    return m_strDir + "/" + name + std::string(kSuffix);
}

bool VersionStore::Keep(const std::string& notebookPath, const ChunkProducer& notebook, FileProblem& problem) const
{
    if (m_strDir.empty()) {
        problem = FileProblem { .kind = FileProblem::Kind::NoRecoveryFolder };
        return false;
    }
    // Made as the recovery folder is: the state folders above it the user's own, it private.
    const std::filesystem::path parent = std::filesystem::path(m_strDir).parent_path();
    const std::string path = PathFor(notebookPath);
    if (!MakeFolders(parent.parent_path().string(), problem) || !MakePrivateFolder(parent.string(), problem)
        || !MakePrivateFolder(m_strDir, problem) || !WritePrivateFile(path, notebook, problem))
        return false;
    Trim(path);
    return true;
}

std::optional<std::string> VersionStore::Kept(const std::string& notebookPath) const
{
    if (m_strDir.empty())
        return std::nullopt;
    std::string path = PathFor(notebookPath);
    std::error_code code;
    if (!std::filesystem::is_regular_file(path, code))
        return std::nullopt;
    return path;
}

void VersionStore::Trim(const std::string& keep) const
{
    struct Version
    {
        std::filesystem::path path;
        std::filesystem::file_time_type time;
        uint64_t size;
    };
    std::vector<Version> versions;
    uint64_t total = 0;
    std::error_code code;
    for (const auto& file : std::filesystem::directory_iterator(m_strDir, code)) {
        std::error_code ignored;
        if (!file.is_regular_file(ignored) || file.path().extension() != kSuffix)
            continue;
        const uint64_t size = file.file_size(ignored);
        total += size;
        if (file.path() != keep)
            versions.push_back({ file.path(), file.last_write_time(ignored), size });
    }
    std::sort(versions.begin(), versions.end(), [](const Version& a, const Version& b) { return a.time < b.time; });
    for (const Version& version : versions) {
        if (total <= m_maxBytes)
            break;
        if (::unlink(version.path.c_str()) == 0)
            total -= version.size;
    }
}
