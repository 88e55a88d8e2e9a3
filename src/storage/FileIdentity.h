#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// A hash of bytes handed over in pieces: the same bytes give the same value however they are cut,
// so a file is hashed while it is read or written instead of being read again for it.
class ContentHash
{
public:
    void Add(std::string_view bytes);
    uint64_t Value() const;

private:
    static constexpr size_t kStep = 32;
    void Mix(const char* step);

    uint64_t m_lanes[4] = { 0x9E3779B185EBCA87, 0xC2B2AE3D27D4EB4F, 0x165667B19E3779F9, 0x85EBCA77C2B2AE63 };
    char m_pending[kStep] {};
    size_t m_nPending = 0;
    uint64_t m_size = 0;
};

// What tells whether a notebook's file is still the one Quillbox read or wrote: where it lives
// (device and inode), what it looks like (size, modification time) and a hash of its bytes for
// the cases where the rest cannot tell.
struct FileIdentity
{
    uint64_t device = 0;
    uint64_t inode = 0;
    int64_t size = 0;
    int64_t mtimeNs = 0;
    // When the identity was taken: a file modified within the file system's time resolution of
    // that moment may change again without its time showing it.
    int64_t takenNs = 0;
    uint64_t hash = 0;

    // The same file, whatever name (symbolic or hard link) reached it.
    bool SameFile(const FileIdentity& other) const { return device == other.device && inode == other.inode; }
    // The same file, neither resized nor given a new modification time.
    bool SameMetadata(const FileIdentity& other) const
    {
        return SameFile(other) && size == other.size && mtimeNs == other.mtimeNs;
    }
};

// The identity of the file at `path`, symbolic links followed; nothing when it does not exist or
// cannot be read. With bHash its bytes are read and hashed.
std::optional<FileIdentity> ReadFileIdentity(const std::string& path, bool bHash = true);

enum class DiskChange
{
    None,
    Changed,
    Vanished,
};

// Whether the file at `path` still holds what `known` describes. A new time or inode over the
// same bytes (a touch, a copy of the same content) is no change, and `known` takes the new
// metadata so the bytes are not read again next time.
DiskChange CheckFile(const std::string& path, FileIdentity& known);
