#include "doc/LockFile.h"

#include <cerrno>
#include <climits>
#include <cstdlib>

#include <fcntl.h>
#include <pwd.h>
#include <signal.h>
#include <unistd.h>

#include "doc/FileLines.h"

namespace {

std::string Describe(const LockOwner& owner)
{
    return owner.host + "\n" + std::to_string(owner.pid) + "\n" + owner.user + "\n";
}

std::optional<LockOwner> ReadOwner(const std::string& path)
{
    FileProblem ignored;
    std::optional<LineReader> lines = ReadFileLines(path, ignored);
    if (!lines)
        return std::nullopt;
    LockOwner owner;
    std::string pid;
    if (!lines->ReadLine(owner.host) || !lines->ReadLine(pid) || owner.host.empty())
        return std::nullopt;
    lines->ReadLine(owner.user);
    char* end = nullptr;
    owner.pid = std::strtol(pid.c_str(), &end, 10);
    if (pid.empty() || *end != '\0' || owner.pid <= 0)
        return std::nullopt;
    return owner;
}

} // namespace

LockOwner LockOwner::Self()
{
    LockOwner self;
    char host[HOST_NAME_MAX + 1] = {};
    if (::gethostname(host, sizeof host - 1) == 0)
        self.host = host;
    self.pid = static_cast<long>(::getpid());
    if (const passwd* pUser = ::getpwuid(::geteuid()))
        self.user = pUser->pw_name;
    else
        self.user = std::to_string(::geteuid());
    return self;
}

bool LockOwner::IsStale() const
{
    return host == Self().host && ::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH;
}

std::string LockFile::PathFor(const std::string& notebookPath)
{
    std::string target = notebookPath;
    if (char* resolved = ::realpath(notebookPath.c_str(), nullptr)) {
        target = resolved;
        std::free(resolved);
    }
    const size_t slash = target.rfind('/');
    const std::string dir = slash == std::string::npos ? std::string() : target.substr(0, slash + 1);
    return dir + "." + target.substr(slash == std::string::npos ? 0 : slash + 1) + ".lock";
}

std::optional<LockOwner> LockFile::Acquire(const std::string& notebookPath)
{
    Release();
    const std::string path = PathFor(notebookPath);
    const LockOwner self = LockOwner::Self();
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd >= 0) {
        const std::string text = Describe(self);
        const bool bWritten = ::write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size());
        ::close(fd);
        if (bWritten)
            m_strPath = path;
        else
            ::unlink(path.c_str());
        return std::nullopt;
    }
    if (errno != EEXIST)
        return std::nullopt;
    const std::optional<LockOwner> owner = ReadOwner(path);
    if (owner && *owner != self && !owner->IsStale())
        return owner;
    FileProblem ignored;
    if (WriteFileSafely(path, Describe(self), ignored))
        m_strPath = path;
    return std::nullopt;
}

void LockFile::Release()
{
    if (m_strPath.empty())
        return;
    if (ReadOwner(m_strPath) == LockOwner::Self())
        ::unlink(m_strPath.c_str());
    m_strPath.clear();
}
