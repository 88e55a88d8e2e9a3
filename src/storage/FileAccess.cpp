#include "storage/FileAccess.h"

#include <algorithm>
#include <cerrno>
#include <optional>
#include <utility>
#include <vector>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

namespace {

using Kind = FileProblem::Kind;

FileProblem Problem(Kind kind, std::string detail = {}, int error = 0)
{
    return { .kind = kind, .error = error, .detail = std::move(detail) };
}

// Why a file of this kind is neither read nor replaced; none for a regular file.
Kind NotAFile(mode_t mode)
{
    return S_ISREG(mode)                 ? Kind::None
        : S_ISDIR(mode)                  ? Kind::Folder
        : S_ISFIFO(mode)                 ? Kind::Fifo
        : S_ISSOCK(mode)                 ? Kind::Socket
        : S_ISCHR(mode) || S_ISBLK(mode) ? Kind::Device
                                         : Kind::NotAFile;
}

// Closes a descriptor when it goes out of scope.
class Descriptor
{
public:
    explicit Descriptor(int fd = -1)
        : m_fd(fd)
    {
    }
    ~Descriptor()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;

    int Get() const { return m_fd; }
    int Release() { return std::exchange(m_fd, -1); }
    void Reset(int fd)
    {
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = fd;
    }

private:
    int m_fd;
};

// Writes all of `data` from `offset` on, retrying short and interrupted writes.
bool WriteAll(int fd, std::string_view data, off_t offset = 0)
{
    while (!data.empty()) {
        const ssize_t written = ::pwrite(fd, data.data(), data.size(), offset);
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        data.remove_prefix(static_cast<size_t>(written));
        offset += written;
    }
    return true;
}

// Writes the produced data to the descriptor from its start; `size` receives its length.
bool WriteProduced(int fd, const ChunkProducer& produce, off_t& size)
{
    size = 0;
    return produce([fd, &size](std::string_view chunk) {
        if (!WriteAll(fd, chunk, size))
            return false;
        // The disk starts on each piece while the next is made, so the flush at the end finds
        // little left to write.
        ::sync_file_range(fd, size, static_cast<off_t>(chunk.size()), SYNC_FILE_RANGE_WRITE);
        size += static_cast<off_t>(chunk.size());
        return true;
    });
}

// Copies the first `size` bytes of one file to another, from the start of each.
bool CopyContent(int from, int to, off_t size)
{
    std::string buffer(size_t(1) << 20, '\0');
    for (off_t at = 0; at < size;) {
        const ssize_t got = ::pread(from, buffer.data(), static_cast<size_t>(std::min<off_t>(static_cast<off_t>(buffer.size()), size - at)), at);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0 || !WriteAll(to, std::string_view(buffer.data(), static_cast<size_t>(got)), at))
            return false;
        at += got;
    }
    return true;
}

// "dir/" for "dir/name", "" for a bare name.
std::string DirectoryPart(const std::string& path)
{
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

// The file that `path` finally names: symbolic links are followed, a dangling last link gives
// the path it points to. False only for a loop of links or an unreadable link.
bool FollowLinks(const std::string& path, std::string& target, FileProblem& problem)
{
    target = path;
    for (int hops = 0;; ++hops) {
        struct stat st {};
        if (::lstat(target.c_str(), &st) != 0 || !S_ISLNK(st.st_mode))
            return true;
        if (hops == 40) {
            problem = SystemProblem(ELOOP);
            return false;
        }
        std::vector<char> link(static_cast<size_t>(st.st_size) + 256);
        const ssize_t length = ::readlink(target.c_str(), link.data(), link.size());
        if (length < 0 || static_cast<size_t>(length) == link.size()) {
            problem = length < 0 ? SystemProblem(errno) : SystemProblem(ENAMETOOLONG);
            return false;
        }
        const std::string next(link.data(), static_cast<size_t>(length));
        target = next.starts_with('/') ? next : DirectoryPart(target) + next;
    }
}

// A file the user has not allowed to be written: no write permission bit at all, or none that
// applies to this user.
bool IsReadOnly(const std::string& target, const struct stat& st)
{
    return (st.st_mode & 0222) == 0 || ::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0;
}

// Whether the open file `fd` is still the one named `path`.
bool StillNamed(int fd, const std::string& path)
{
    struct stat opened {}, named {};
    return ::fstat(fd, &opened) == 0 && ::lstat(path.c_str(), &named) == 0 && opened.st_ino == named.st_ino
        && opened.st_dev == named.st_dev;
}

std::string TemporaryPathOf(const std::string& target)
{
    return PathBeside(target, ".quillbox-save");
}

// Creates the target's one temporary file, removing what a crashed save left under its name.
// A save holds a lock on its temporary file and is the only one to rename or remove it, so
// two saves of one file never share it: the second is refused while the first runs.
int CreateTemporary(const std::string& tempPath, FileProblem& problem)
{
    for (int attempt = 0; attempt < 8; ++attempt) {
        Descriptor fd(::open(tempPath.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
        if (fd.Get() >= 0) {
            if (::flock(fd.Get(), LOCK_EX | LOCK_NB) != 0) {
                problem = Problem(Kind::Busy);
                return -1;
            }
            if (StillNamed(fd.Get(), tempPath))
                return fd.Release();
            continue;
        }
        if (errno != EEXIST) {
            problem = SystemProblem(errno);
            return -1;
        }
        const Descriptor old(::open(tempPath.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
        if (old.Get() >= 0 && ::flock(old.Get(), LOCK_EX | LOCK_NB) != 0) {
            problem = Problem(Kind::Busy);
            return -1;
        }
        if ((old.Get() < 0 || StillNamed(old.Get(), tempPath)) && ::unlink(tempPath.c_str()) != 0 && errno != ENOENT) {
            problem = Problem(Kind::StaleTemporary, tempPath, errno);
            return -1;
        }
    }
    problem = Problem(Kind::ChangingTemporary, tempPath);
    return -1;
}

bool IsAttributeKept(const std::string& name)
{
    // Other namespaces (security, trusted) need privileges the user may not have: best effort.
    return name.starts_with("user.") || name.starts_with("system.posix_acl_");
}

// Copies every extended attribute of `source` (ACLs included) to the open file `fd`.
bool CopyAttributes(const std::string& source, int fd, FileProblem& problem)
{
    std::vector<char> names;
    for (;;) {
        const ssize_t size = ::listxattr(source.c_str(), nullptr, 0);
        if (size < 0) {
            if (errno == ENOTSUP)
                return true;
            problem = Problem(Kind::AttributesUnread, {}, errno);
            return false;
        }
        names.resize(static_cast<size_t>(size));
        const ssize_t got = ::listxattr(source.c_str(), names.data(), names.size());
        if (got >= 0) {
            names.resize(static_cast<size_t>(got));
            break;
        }
        if (errno != ERANGE) {
            problem = Problem(Kind::AttributesUnread, {}, errno);
            return false;
        }
    }
    std::vector<char> value;
    for (size_t at = 0; at < names.size();) {
        const std::string name(names.data() + at);
        at += name.size() + 1;
        ssize_t size = ::getxattr(source.c_str(), name.c_str(), nullptr, 0);
        if (size >= 0) {
            value.resize(static_cast<size_t>(size));
            size = ::getxattr(source.c_str(), name.c_str(), value.data(), value.size());
        }
        if (size >= 0 && ::fsetxattr(fd, name.c_str(), value.data(), static_cast<size_t>(size), 0) == 0)
            continue;
        if (IsAttributeKept(name)) {
            problem = Problem(Kind::AttributeLost, name, errno);
            return false;
        }
    }
    return true;
}

// Gives the new file the old one's owner and group where the system permits, then its mode
// (after the owner, whose change clears set-user-ID bits) and extended attributes. Where the
// file cannot keep its group, the group's rights go: they were given to that group, not to the
// one the new file has.
bool CopyFileAttributes(const std::string& target, const struct stat& st, int fd, FileProblem& problem)
{
    mode_t mode = st.st_mode & 07777;
    if (::fchown(fd, st.st_uid, st.st_gid) != 0 && ::fchown(fd, static_cast<uid_t>(-1), st.st_gid) != 0)
        mode &= ~static_cast<mode_t>(S_IRWXG | S_ISGID);
    if (::fchmod(fd, mode) != 0) {
        problem = SystemProblem(errno);
        return false;
    }
    return CopyAttributes(target, fd, problem);
}

bool SyncDirectoryOf(const std::string& path, FileProblem& problem)
{
    const std::string dir = DirectoryPart(path);
    const Descriptor fd(::open(dir.empty() ? "." : dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (fd.Get() >= 0 && ::fsync(fd.Get()) == 0)
        return true;
    problem = Problem(Kind::FolderNotFlushed, {}, errno);
    return false;
}

bool Fail(WriteResult& result, FileProblem problem)
{
    result.status = WriteResult::Status::Failed;
    result.problem = std::move(problem);
    return false;
}

// Rewrites the target in place, so every hard link keeps the new content. The temporary file
// already holds the data, flushed; space is reserved first, so a full disk stops the rewrite
// before it changes a byte.
bool RewriteInPlace(const std::string& target, const struct stat& st, int tempFd, const std::string& tempPath,
                    const ChunkProducer& produce, const ReplaceCheck& unchanged, WriteResult& result, bool& bKeepTemporary)
{
    off_t size = 0;
    if (!WriteProduced(tempFd, produce, size) || ::fsync(tempFd) != 0)
        return Fail(result, SystemProblem(errno));
    if (unchanged && !unchanged(target))
        return Fail(result, Problem(Kind::ChangedMeanwhile));
    const Descriptor fd(::open(target.c_str(), O_WRONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    struct stat opened {};
    if (fd.Get() < 0 || ::fstat(fd.Get(), &opened) != 0)
        return Fail(result, SystemProblem(errno));
    if (opened.st_ino != st.st_ino || opened.st_dev != st.st_dev)
        return Fail(result, Problem(Kind::Replaced));
    if (size > 0 && ::fallocate(fd.Get(), FALLOC_FL_KEEP_SIZE, 0, size) != 0 && errno != EOPNOTSUPP)
        return Fail(result, SystemProblem(errno));
    if (!CopyContent(tempFd, fd.Get(), size) || ::ftruncate(fd.Get(), size) != 0 || ::fsync(fd.Get()) != 0) {
        bKeepTemporary = true;
        return Fail(result, Problem(Kind::DamagedInPlace, tempPath, errno));
    }
    return true;
}

bool ReplaceByRename(const std::string& target, const struct stat* pOld, int tempFd, const std::string& tempPath,
                     const ChunkProducer& produce, const ReplaceCheck& unchanged, WriteResult& result, bool& bKeepTemporary)
{
    FileProblem problem;
    if (pOld && !CopyFileAttributes(target, *pOld, tempFd, problem))
        return Fail(result, problem);
    off_t size = 0;
    if (!WriteProduced(tempFd, produce, size) || ::fsync(tempFd) != 0)
        return Fail(result, SystemProblem(errno));
    if (unchanged && !unchanged(target))
        return Fail(result, Problem(Kind::ChangedMeanwhile));
    if (::rename(tempPath.c_str(), target.c_str()) != 0)
        return Fail(result, SystemProblem(errno));
    // The name is free now, and may already be another save's.
    bKeepTemporary = true;
    return SyncDirectoryOf(target, problem) || Fail(result, problem);
}

} // namespace

std::string FileNameOf(std::string_view path)
{
    const size_t slash = path.rfind('/');
    return std::string(path.substr(slash == std::string_view::npos ? 0 : slash + 1));
}

std::string PathBeside(const std::string& path, std::string_view suffix)
{
    return DirectoryPart(path) + "." + FileNameOf(path) + std::string(suffix);
}

FileReader::~FileReader()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

bool FileReader::Open(const std::string& path, FileProblem& problem)
{
    // Without O_NONBLOCK, opening a FIFO would wait for a writer.
    Descriptor fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    struct stat st {};
    if (fd.Get() < 0 || ::fstat(fd.Get(), &st) != 0) {
        problem = SystemProblem(errno);
        return false;
    }
    if (const Kind kind = NotAFile(st.st_mode); kind != Kind::None) {
        problem = Problem(kind);
        return false;
    }
    if (st.st_size > kMaxFileBytes) {
        problem = Problem(Kind::TooLarge);
        return false;
    }
    m_fd = fd.Release();
    m_size = st.st_size;
    return true;
}

bool FileReader::Read(char* buffer, size_t size, size_t& count, FileProblem& problem)
{
    for (;;) {
        const ssize_t got = ::read(m_fd, buffer, size);
        if (got >= 0) {
            count = static_cast<size_t>(got);
            break;
        }
        if (errno != EINTR) {
            problem = SystemProblem(errno);
            return false;
        }
    }
    m_read += static_cast<int64_t>(count);
    // A file that grows while it is read is read on to its end, within the limit.
    if (m_read > kMaxFileBytes) {
        problem = Problem(Kind::TooLarge);
        return false;
    }
    return true;
}

WriteResult WriteFileSafely(const std::string& path, std::string_view data, bool bReplaceReadOnly)
{
    return WriteFileSafely(path, [data](const ChunkSink& sink) { return sink(data); }, bReplaceReadOnly);
}

namespace {

struct WriteOptions
{
    bool bReplaceReadOnly = false;
    // The program's own file, for the user's eyes alone: 0600, and never through a link.
    bool bPrivate = false;
    ReplaceCheck unchanged;
};

WriteResult WriteFile(const std::string& path, const ChunkProducer& produce, const WriteOptions& options)
{
    WriteResult result;
    std::string target = path;
    if (!options.bPrivate && !FollowLinks(path, target, result.problem)) {
        result.status = WriteResult::Status::Failed;
        return result;
    }
    struct stat st {};
    const bool bExists = ::lstat(target.c_str(), &st) == 0;
    if (!bExists && errno != ENOENT) {
        Fail(result, SystemProblem(errno));
        return result;
    }
    if (bExists) {
        if (const Kind kind = NotAFile(st.st_mode); kind != Kind::None) {
            Fail(result, Problem(kind));
            return result;
        }
        if (!options.bReplaceReadOnly && !options.bPrivate && IsReadOnly(target, st)) {
            result.status = WriteResult::Status::ReadOnly;
            result.problem = Problem(Kind::ReadOnly);
            return result;
        }
    }

    const std::string tempPath = TemporaryPathOf(target);
    Descriptor tempFd(CreateTemporary(tempPath, result.problem));
    if (tempFd.Get() < 0) {
        result.status = WriteResult::Status::Failed;
        return result;
    }
    bool bKeepTemporary = false;
    if (options.bPrivate) {
        if (::fchmod(tempFd.Get(), 0600) == 0)
            ReplaceByRename(target, nullptr, tempFd.Get(), tempPath, produce, options.unchanged, result, bKeepTemporary);
        else
            Fail(result, SystemProblem(errno));
    } else if (bExists && st.st_nlink > 1) {
        RewriteInPlace(target, st, tempFd.Get(), tempPath, produce, options.unchanged, result, bKeepTemporary);
    } else {
        ReplaceByRename(target, bExists ? &st : nullptr, tempFd.Get(), tempPath, produce, options.unchanged, result,
                        bKeepTemporary);
    }
    // Removed while still locked, so no other save is using the name.
    if (!bKeepTemporary)
        ::unlink(tempPath.c_str());
    return result;
}

} // namespace

WriteResult WriteFileSafely(const std::string& path, const ChunkProducer& produce, bool bReplaceReadOnly,
                            const ReplaceCheck& unchanged)
{
    return WriteFile(path, produce, { .bReplaceReadOnly = bReplaceReadOnly, .unchanged = unchanged });
}

bool WritePrivateFile(const std::string& path, const ChunkProducer& produce, FileProblem& problem)
{
    WriteResult result = WriteFile(path, produce, { .bPrivate = true });
    problem = std::move(result.problem);
    return result.status == WriteResult::Status::Written;
}

bool WriteFileSafely(const std::string& path, std::string_view data, FileProblem& problem)
{
    WriteResult result = WriteFileSafely(path, data);
    problem = std::move(result.problem);
    return result.status == WriteResult::Status::Written;
}

std::string SaveCopyPath(const std::string& path)
{
    std::string target;
    FileProblem ignored;
    return FollowLinks(path, target, ignored) ? TemporaryPathOf(target) : std::string();
}

bool IsBeingSaved(const std::string& copyPath)
{
    const Descriptor fd(::open(copyPath.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    return fd.Get() >= 0 && ::flock(fd.Get(), LOCK_SH | LOCK_NB) != 0 && errno == EWOULDBLOCK;
}

namespace {

// Fills `buffer` from the file as far as it goes; the number of bytes read, or nothing when
// reading failed.
std::optional<size_t> ReadFull(FileReader& file, std::string& buffer)
{
    size_t filled = 0;
    FileProblem unread;
    for (size_t got = 1; filled < buffer.size() && got > 0; filled += got) {
        if (!file.Read(buffer.data() + filled, buffer.size() - filled, got, unread))
            return std::nullopt;
    }
    return filled;
}

} // namespace

bool SameFileBytes(const std::string& a, const std::string& b)
{
    FileReader first, second;
    FileProblem unread;
    if (!first.Open(a, unread) || !second.Open(b, unread) || first.Size() != second.Size())
        return false;
    std::string one(size_t(1) << 20, '\0'), two(one.size(), '\0');
    for (;;) {
        const std::optional<size_t> got = ReadFull(first, one);
        const std::optional<size_t> other = ReadFull(second, two);
        if (!got || got != other || std::string_view(one.data(), *got) != std::string_view(two.data(), *got))
            return false;
        if (*got < one.size())
            return true;
    }
}

std::optional<std::string> ReadFileTail(const std::string& path, size_t size)
{
    const Descriptor fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    struct stat st {};
    if (fd.Get() < 0 || ::fstat(fd.Get(), &st) != 0 || !S_ISREG(st.st_mode))
        return std::nullopt;
    std::string tail(static_cast<size_t>(std::min<off_t>(st.st_size, static_cast<off_t>(size))), '\0');
    const off_t at = st.st_size - static_cast<off_t>(tail.size());
    for (size_t done = 0; done < tail.size();) {
        const ssize_t got = ::pread(fd.Get(), tail.data() + done, tail.size() - done, at + static_cast<off_t>(done));
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            return std::nullopt;
        done += static_cast<size_t>(got);
    }
    return tail;
}

int OpenLockFile(const std::string& path, bool bCreate, bool& bWritable)
{
    constexpr int kFlags = O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC;
    bWritable = true;
    Descriptor fd(::open(path.c_str(), O_RDWR | (bCreate ? O_CREAT : 0) | kFlags, 0644));
    if (fd.Get() < 0 && (errno == EACCES || errno == EROFS || errno == EPERM)) {
        bWritable = false;
        fd.Reset(::open(path.c_str(), O_RDONLY | kFlags));
    }
    struct stat st {};
    if (fd.Get() < 0 || ::fstat(fd.Get(), &st) != 0 || !S_ISREG(st.st_mode))
        return -1;
    return fd.Release();
}

int OpenToLock(const std::string& path)
{
    Descriptor fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    struct stat st {};
    if (fd.Get() < 0 || ::fstat(fd.Get(), &st) != 0 || !S_ISREG(st.st_mode))
        return -1;
    return fd.Release();
}

bool MakePrivateFolder(const std::string& dir, FileProblem& problem)
{
    if (::mkdir(dir.c_str(), 0700) != 0 && errno != EEXIST) {
        problem = SystemProblem(errno);
        return false;
    }
    const Descriptor fd(::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    if (fd.Get() < 0) {
        problem = errno == ELOOP || errno == ENOTDIR ? Problem(Kind::NotPrivate, dir) : SystemProblem(errno);
        return false;
    }
    struct stat st {};
    const bool bPrivate = ::fstat(fd.Get(), &st) == 0 && st.st_uid == ::geteuid() && (st.st_mode & (S_IWGRP | S_IWOTH)) == 0;
    if (!bPrivate) {
        problem = Problem(Kind::NotPrivate, dir);
        return false;
    }
    if ((st.st_mode & 077) != 0 && ::fchmod(fd.Get(), 0700) != 0) {
        problem = SystemProblem(errno);
        return false;
    }
    return true;
}

bool MakeFolders(const std::string& dir, FileProblem& problem)
{
    std::string made;
    for (size_t at = 0; at != std::string::npos && at < dir.size();) {
        const size_t slash = dir.find('/', at + 1);
        made = dir.substr(0, slash);
        at = slash;
        if (!made.empty() && ::mkdir(made.c_str(), 0700) != 0 && errno != EEXIST) {
            problem = SystemProblem(errno);
            return false;
        }
    }
    return true;
}
