#include "doc/RecoveryStore.h"

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <sstream>

#include <unistd.h>

#include "doc/FileLines.h"

namespace {

constexpr std::string_view kInfoSuffix = ".recovery";
constexpr std::string_view kNotebookSuffix = ".not";

// Lines: "time" (ms), "pid", "host", "user", the notebook file's "device inode size mtime(ns)" or
// "-", then the notebook's path as the rest of the file, so any byte a path may hold comes back.
std::string InfoText(const RecoveryEntry& entry)
{
    std::string file = "-";
    if (const std::optional<FileIdentity>& id = entry.notebookFile)
        file = std::to_string(id->device) + " " + std::to_string(id->inode) + " " + std::to_string(id->size) + " "
            + std::to_string(id->mtimeNs);
    return std::to_string(entry.savedAt) + "\n" + std::to_string(entry.writer.pid) + "\n" + entry.writer.host + "\n"
        + entry.writer.user + "\n" + file + "\n" + entry.notebookPath;
}

bool ParseFile(const std::string& line, std::optional<FileIdentity>& file)
{
    if (line == "-")
        return true;
    FileIdentity id;
    std::istringstream in(line);
    if (!(in >> id.device >> id.inode >> id.size >> id.mtimeNs) || !(in >> std::ws).eof())
        return false;
    file = id;
    return true;
}

bool ParseInfo(LineReader& in, RecoveryEntry& entry)
{
    std::string time, pid, file;
    if (!in.ReadLine(time) || !in.ReadLine(pid) || !in.ReadLine(entry.writer.host) || !in.ReadLine(entry.writer.user)
        || !in.ReadLine(file) || !ParseFile(file, entry.notebookFile))
        return false;
    char* end = nullptr;
    entry.savedAt = std::strtoll(time.c_str(), &end, 10);
    if (time.empty() || *end != '\0')
        return false;
    entry.writer.pid = std::strtol(pid.c_str(), &end, 10);
    if (pid.empty() || *end != '\0')
        return false;
    const LineReader::Mark rest = in.GetMark();
    entry.notebookPath = std::string(in.Data().substr(rest.pos));
    return true;
}

} // namespace

RecoveryStore::RecoveryStore(std::string dir)
    : m_strDir(std::move(dir))
{
}

std::string RecoveryStore::DefaultDir()
{
    std::string base;
    if (const char* state = std::getenv("XDG_STATE_HOME"); state && *state == '/')
        base = state;
    else if (const char* home = std::getenv("HOME"); home && *home)
        base = std::string(home) + "/.local/state";
    else
        base = "/tmp";
    return base + "/quillbox/recovery";
}

std::string RecoveryStore::InfoPath(const std::string& key) const
{
    return m_strDir + "/" + key + std::string(kInfoSuffix);
}

std::string RecoveryStore::NotebookPath(const std::string& key) const
{
    return m_strDir + "/" + key + std::string(kNotebookSuffix);
}

std::string RecoveryStore::NewKey() const
{
    static std::atomic<int> s_next { 0 };
    std::error_code ignored;
    for (;;) {
        const std::string key = std::to_string(::getpid()) + "-" + std::to_string(++s_next);
        if (!std::filesystem::exists(InfoPath(key), ignored) && !std::filesystem::exists(NotebookPath(key), ignored))
            return key;
    }
}

bool RecoveryStore::Write(RecoveryEntry entry, const ChunkProducer& notebook, FileProblem& problem) const
{
    std::error_code code;
    std::filesystem::create_directories(m_strDir, code);
    if (code) {
        problem = SystemProblem(code.value()).During(FileProblem::Action::WriteRecovery, m_strDir);
        return false;
    }
    std::filesystem::permissions(m_strDir, std::filesystem::perms::owner_all, code);
    const WriteResult written = WriteFileSafely(NotebookPath(entry.key), notebook);
    if (written.status != WriteResult::Status::Written) {
        problem = written.problem.During(FileProblem::Action::WriteRecovery, m_strDir);
        return false;
    }
    // Read after the state was taken: a save in between makes the state look newer than it is,
    // never older.
    if (!entry.notebookPath.empty())
        entry.notebookFile = ReadFileIdentity(entry.notebookPath, false);
    if (WriteFileSafely(InfoPath(entry.key), InfoText(entry), problem))
        return true;
    problem = problem.During(FileProblem::Action::WriteRecovery, m_strDir);
    return false;
}

void RecoveryStore::Remove(const std::string& key) const
{
    // The note first: a notebook file without it is never offered.
    ::unlink(InfoPath(key).c_str());
    ::unlink(NotebookPath(key).c_str());
}

std::vector<RecoveryEntry> RecoveryStore::List() const
{
    std::vector<RecoveryEntry> entries;
    std::error_code code;
    for (const auto& file : std::filesystem::directory_iterator(m_strDir, code)) {
        const std::string name = file.path().filename().string();
        if (!name.ends_with(kInfoSuffix))
            continue;
        RecoveryEntry entry;
        entry.key = name.substr(0, name.size() - kInfoSuffix.size());
        FileProblem unread;
        std::optional<LineReader> lines = ReadFileLines(file.path().string(), unread);
        std::error_code ignored;
        if (lines && ParseInfo(*lines, entry) && std::filesystem::exists(NotebookPath(entry.key), ignored))
            entries.push_back(std::move(entry));
    }
    std::stable_sort(entries.begin(), entries.end(),
                     [](const RecoveryEntry& a, const RecoveryEntry& b) { return a.savedAt > b.savedAt; });
    return entries;
}

bool IsSupersededBy(const RecoveryEntry& entry, const FileIdentity& file)
{
    constexpr int64_t kNsPerMs = 1'000'000;
    const bool bNoted = entry.notebookFile && entry.notebookFile->SameMetadata(file);
    return !bNoted && file.mtimeNs >= (entry.savedAt + 1) * kNsPerMs && file.mtimeNs <= file.takenNs;
}

bool IsOrphaned(const RecoveryEntry& entry, const std::function<bool(const std::string& key)>& isOwnLive)
{
    if (entry.writer == LockOwner::Self())
        return !isOwnLive(entry.key);
    return entry.writer.IsStale();
}
