#include "doc/FileIdentity.h"

#include <cerrno>
#include <ctime>
#include <functional>
#include <string_view>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Coarser than any local or synced file system's modification times (FAT keeps 2 s).
constexpr int64_t kTimeResolutionNs = 2'000'000'000;

int64_t Nanoseconds(const timespec& time)
{
    return static_cast<int64_t>(time.tv_sec) * 1'000'000'000 + time.tv_nsec;
}

std::optional<uint64_t> HashFile(const std::string& path)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return std::nullopt;
    uint64_t hash = 0;
    std::string buffer(size_t { 1 } << 20, '\0');
    for (;;) {
        const ssize_t count = ::read(fd, buffer.data(), buffer.size());
        if (count == 0)
            break;
        if (count < 0 && errno == EINTR)
            continue;
        if (count < 0) {
            ::close(fd);
            return std::nullopt;
        }
        hash = hash * 1'000'003 ^ std::hash<std::string_view>()(std::string_view(buffer.data(), static_cast<size_t>(count)));
    }
    ::close(fd);
    return hash;
}

} // namespace

std::optional<FileIdentity> ReadFileIdentity(const std::string& path, bool bHash)
{
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode))
        return std::nullopt;
    timespec now {};
    ::clock_gettime(CLOCK_REALTIME, &now);
    FileIdentity identity;
    identity.device = st.st_dev;
    identity.inode = st.st_ino;
    identity.size = st.st_size;
    identity.mtimeNs = Nanoseconds(st.st_mtim);
    identity.takenNs = Nanoseconds(now);
    if (bHash) {
        const std::optional<uint64_t> hash = HashFile(path);
        if (!hash)
            return std::nullopt;
        identity.hash = *hash;
    }
    return identity;
}

DiskChange CheckFile(const std::string& path, FileIdentity& known)
{
    const std::optional<FileIdentity> now = ReadFileIdentity(path, false);
    if (!now)
        return DiskChange::Vanished;
    const bool bTimeTells = known.takenNs - known.mtimeNs >= kTimeResolutionNs;
    if (now->SameMetadata(known) && bTimeTells)
        return DiskChange::None;
    if (now->size != known.size)
        return DiskChange::Changed;
    const std::optional<uint64_t> hash = HashFile(path);
    if (!hash)
        return DiskChange::Vanished;
    if (*hash != known.hash)
        return DiskChange::Changed;
    known = *now;
    known.hash = *hash;
    return DiskChange::None;
}
