#include "storage/FileIdentity.h"

#include <algorithm>
#include <bit>
#include <cerrno>
#include <cstring>
#include <ctime>
#include <string_view>

#include <sys/stat.h>
#include <unistd.h>

#include "storage/FileAccess.h"

namespace {

// Coarser than any local or synced file system's modification times (FAT keeps 2 s).
constexpr int64_t kTimeResolutionNs = 2'000'000'000;

int64_t Nanoseconds(const timespec& time)
{
    return static_cast<int64_t>(time.tv_sec) * 1'000'000'000 + time.tv_nsec;
}

std::optional<uint64_t> HashFile(const std::string& path)
{
    FileReader file;
    FileProblem unread;
    if (!file.Open(path, unread))
        return std::nullopt;
    ContentHash hash;
    std::string buffer(size_t { 1 } << 20, '\0');
    for (size_t count = 1; count > 0;) {
        if (!file.Read(buffer.data(), buffer.size(), count, unread))
            return std::nullopt;
        hash.Add(std::string_view(buffer.data(), count));
    }
    return hash.Value();
}

uint64_t Round(uint64_t lane, uint64_t word)
{
    return std::rotl(lane + word * 0xC2B2AE3D27D4EB4F, 31) * 0x9E3779B185EBCA87;
}

} // namespace

void ContentHash::Mix(const char* step)
{
    for (size_t lane = 0; lane < 4; ++lane) {
        uint64_t word = 0;
        std::memcpy(&word, step + 8 * lane, 8);
        m_lanes[lane] = Round(m_lanes[lane], word);
    }
}

void ContentHash::Add(std::string_view bytes)
{
    // An empty text may have no bytes at all to point to.
    if (bytes.empty())
        return;
    m_size += bytes.size();
    if (m_nPending > 0) {
        const size_t taken = std::min(kStep - m_nPending, bytes.size());
        std::memcpy(m_pending + m_nPending, bytes.data(), taken);
        m_nPending += taken;
        bytes.remove_prefix(taken);
        if (m_nPending < kStep)
            return;
        Mix(m_pending);
        m_nPending = 0;
    }
    for (; bytes.size() >= kStep; bytes.remove_prefix(kStep))
        Mix(bytes.data());
    std::memcpy(m_pending, bytes.data(), bytes.size());
    m_nPending = bytes.size();
}

uint64_t ContentHash::Value() const
{
    uint64_t value = m_size;
    for (const uint64_t lane : m_lanes)
        value = Round(value, lane);
    for (size_t i = 0; i < m_nPending; ++i)
        value = Round(value, static_cast<unsigned char>(m_pending[i]));
    value ^= value >> 33;
    value *= 0xC2B2AE3D27D4EB4F;
    return value ^ (value >> 29);
}

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
