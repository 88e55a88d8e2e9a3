#include "storage/RecoveryStore.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <filesystem>

#include <unistd.h>

#include "storage/FileLines.h"
#include "storage/UserAccount.h"

namespace {

constexpr std::string_view kInfoSuffix = ".recovery";
constexpr std::string_view kNotebookSuffix = ".not";

// Lines: "time" (ms), "pid", "host", "user", "base N" naming the kept version the work went on
// from or "-" when none is known (earlier Quillboxes wrote "-" there and ignore it), then the
// notebook's path as the rest of the file, so any byte a path may hold comes back.
std::string InfoText(const RecoveryEntry& entry)
{
    const std::string base = entry.baseVersion > 0 ? "base " + std::to_string(entry.baseVersion) : "-";
    return std::to_string(entry.savedAt) + "\n" + std::to_string(entry.writer.pid) + "\n" + entry.writer.host + "\n"
        + entry.writer.user + "\n" + base + "\n" + entry.notebookPath;
}

bool ParseInfo(LineReader& in, RecoveryEntry& entry)
{
    std::string time, pid, base;
    if (!in.ReadLine(time) || !in.ReadLine(pid) || !in.ReadLine(entry.writer.host) || !in.ReadLine(entry.writer.user)
        || !in.ReadLine(base))
        return false;
    if (base.starts_with("base "))
        entry.baseVersion = std::strtoll(base.c_str() + 5, nullptr, 10);
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
    if (const char* state = std::getenv("XDG_STATE_HOME"); state && *state == '/') {
        base = state;
    } else {
        std::string home;
        if (const char* env = std::getenv("HOME"); env && *env == '/')
            home = env;
        else if (const std::optional<UserAccount> user = ThisUser(); user && user->home.starts_with('/'))
            home = user->home;
        if (home.empty())
            return {};
        base = home + "/.local/state";
    }
    return base + "/quillbox/recovery";
}

bool RecoveryStore::PrepareDir(FileProblem& problem) const
{
    if (m_strDir.empty()) {
        problem = FileProblem { .kind = FileProblem::Kind::NoRecoveryFolder };
        return false;
    }
    // The folders above the parent are the user's own (a state or home folder): a missing one
    // is made 0700, as a state folder should be. The parent and the folder are Quillbox's.
    const std::filesystem::path parent = std::filesystem::path(m_strDir).parent_path();
    return MakeFolders(parent.parent_path().string(), problem) && MakePrivateFolder(parent.string(), problem)
        && MakePrivateFolder(m_strDir, problem);
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

bool RecoveryStore::Write(const RecoveryEntry& entry, const ChunkProducer& notebook, FileProblem& problem) const
{
    if (PrepareDir(problem) && WritePrivateFile(NotebookPath(entry.key), notebook, problem)
        && WritePrivateFile(InfoPath(entry.key), [&](const ChunkSink& sink) { return sink(InfoText(entry)); }, problem))
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
    FileProblem refused;
    if (!PrepareDir(refused))
        return entries;
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

bool RecoveryStore::HoldsKeptBytes(const std::string& key, const std::string& path) const
{
    return SameFileBytes(NotebookPath(key), path);
}

bool IsOrphaned(const RecoveryEntry& entry, const std::function<bool(const std::string& key)>& isOwnLive)
{
    if (entry.writer == LockOwner::Self())
        return !isOwnLive(entry.key);
    return entry.writer.IsStale();
}
