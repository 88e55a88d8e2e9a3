#include "storage/LockFile.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <thread>
#include <utility>

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include "storage/FileAccess.h"
#include "storage/UserAccount.h"

namespace {

using Clock = std::chrono::steady_clock;

// The lock file's bytes, as its header describes.
constexpr off_t kOpenByte = 0;
constexpr off_t kWriteByte = 1;
constexpr off_t kNamesByte = 2;
constexpr off_t kAllBytes = 3;
// The list of names is rewritten in a moment; a holder that stops for longer is not waited for.
constexpr auto kNamesWait = std::chrono::seconds(2);
constexpr auto kRetryEvery = std::chrono::milliseconds(20);
// The lock file is small; anything beyond this is not a list of names.
constexpr size_t kMostNamesBytes = 64 * 1024;

bool SetLock(int fd, short type, off_t start, off_t length)
{
    struct flock lock {};
    lock.l_type = type;
    lock.l_whence = SEEK_SET;
    lock.l_start = start;
    lock.l_len = length;
    for (;;) {
        if (::fcntl(fd, F_OFD_SETLK, &lock) == 0)
            return true;
        if (errno != EINTR)
            return false;
    }
}

// Sets a lock, trying again for a while when another program holds a conflicting one.
bool SetLockWaiting(int fd, short type, off_t start, off_t length, Clock::time_point deadline)
{
    for (;;) {
        if (SetLock(fd, type, start, length))
            return true;
        if ((errno != EAGAIN && errno != EACCES) || Clock::now() >= deadline)
            return false;
        std::this_thread::sleep_for(kRetryEvery);
    }
}

// Whether another open file description, of this program or another, holds a lock on these
// bytes; nothing where the file system keeps no locks.
std::optional<bool> LockedElsewhere(int fd, off_t start, off_t length)
{
    struct flock lock {};
    lock.l_type = F_WRLCK;
    lock.l_whence = SEEK_SET;
    lock.l_start = start;
    lock.l_len = length;
    if (::fcntl(fd, F_OFD_GETLK, &lock) != 0)
        return std::nullopt;
    return lock.l_type != F_UNLCK;
}

// Another open file description holds a lock on these bytes, as far as the file system tells.
bool IsLockedElsewhere(int fd, off_t start, off_t length)
{
    return LockedElsewhere(fd, start, length).value_or(false);
}

// Whether the open file `fd` is still the one named `path`: a program that removed the lock
// file between our opening and our locking it leaves us a file nobody else will look at.
bool StillNamed(int fd, const std::string& path)
{
    struct stat opened {}, named {};
    return ::fstat(fd, &opened) == 0 && ::lstat(path.c_str(), &named) == 0 && opened.st_ino == named.st_ino
        && opened.st_dev == named.st_dev;
}

// Opens the lock file and takes a lock on it, opening it again when it was removed meanwhile.
// -1 when there is no lock file to open, or the lock cannot be had before `deadline` (errno
// then says why).
int OpenAndLock(const std::string& path, short type, off_t start, Clock::time_point deadline, bool& bWritable)
{
    for (;;) {
        const int fd = OpenLockFile(path, true, bWritable);
        if (fd < 0)
            return -1;
        if (type == F_WRLCK && !bWritable) {
            ::close(fd);
            errno = EACCES;
            return -1;
        }
        if (!SetLockWaiting(fd, type, start, 1, deadline)) {
            const int error = errno;
            ::close(fd);
            errno = error;
            return -1;
        }
        if (StillNamed(fd, path))
            return fd;
        ::close(fd);
    }
}

std::string OwnerText(const LockOwner& owner)
{
    return owner.host + "\n" + std::to_string(owner.pid) + "\n" + owner.user + "\n";
}

// The names in the lock file: groups of three lines, host, process id and user. A Quillbox of
// before several holders were kept wrote one group; a group without its user still counts.
std::vector<LockOwner> ReadOwners(int fd)
{
    std::string text(kMostNamesBytes, '\0');
    ssize_t size = -1;
    while ((size = ::pread(fd, text.data(), text.size(), 0)) < 0 && errno == EINTR) {
    }
    text.resize(size > 0 ? static_cast<size_t>(size) : 0);
    std::vector<std::string> lines;
    for (size_t at = 0; at < text.size();) {
        const size_t end = std::min(text.find('\n', at), text.size());
        lines.push_back(text.substr(at, end - at));
        at = end + 1;
    }
    std::vector<LockOwner> owners;
    for (size_t i = 0; i + 1 < lines.size(); i += 3) {
        LockOwner owner;
        owner.host = lines[i];
        char* end = nullptr;
        owner.pid = std::strtol(lines[i + 1].c_str(), &end, 10);
        if (owner.host.empty() || lines[i + 1].empty() || *end != '\0' || owner.pid <= 0)
            break;
        if (i + 2 < lines.size())
            owner.user = lines[i + 2];
        owners.push_back(std::move(owner));
    }
    return owners;
}

bool WriteOwners(int fd, const std::vector<LockOwner>& owners)
{
    std::string text;
    for (const LockOwner& owner : owners)
        text += OwnerText(owner);
    for (size_t done = 0; done < text.size();) {
        const ssize_t written = ::pwrite(fd, text.data() + done, text.size() - done, static_cast<off_t>(done));
        if (written < 0 && errno == EINTR)
            continue;
        if (written < 0)
            return false;
        done += static_cast<size_t>(written);
    }
    return ::ftruncate(fd, static_cast<off_t>(text.size())) == 0;
}

// The names in the lock file `fd` that still stand for a holder: this machine's while its process
// lives and a claim on byte 0 is held, since each holder claims it before it writes its name and
// until it has taken the name away (where the file system keeps no locks, the names are all there
// is); another machine's always, as nothing here can tell whether it ended.
std::vector<LockOwner> StandingOwners(int fd, std::vector<LockOwner> owners)
{
    const bool bClaimed = LockedElsewhere(fd, kOpenByte, 1).value_or(true);
    const std::string host = LockOwner::Self().host;
    std::erase_if(owners, [&](const LockOwner& owner) { return owner.host == host && (!bClaimed || owner.IsStale()); });
    return owners;
}

// The holders that the standing names `owners` tell of: this machine's, and the others'.
void NameHolders(const std::vector<LockOwner>& owners, LockHolders& holders)
{
    const std::string host = LockOwner::Self().host;
    holders.owners.clear();
    holders.elsewhere.clear();
    for (const LockOwner& owner : owners)
        (owner.host == host ? holders.owners : holders.elsewhere).push_back(owner);
}

// Rewrites the list of names under its own lock; false when the list could not be had.
template <typename Change>
bool ChangeOwners(int fd, Change change)
{
    if (!SetLockWaiting(fd, F_WRLCK, kNamesByte, 1, Clock::now() + kNamesWait))
        return false;
    std::vector<LockOwner> owners = ReadOwners(fd);
    change(owners);
    const bool bWritten = WriteOwners(fd, owners);
    SetLock(fd, F_UNLCK, kNamesByte, 1);
    return bWritten;
}

// Closes a lock file, removing it first when this program holds every byte of it (no other
// claim, no writer) and it names nobody.
void CloseLockFile(int fd, const std::string& path)
{
    if (SetLock(fd, F_WRLCK, 0, kAllBytes) && ReadOwners(fd).empty() && StillNamed(fd, path))
        ::unlink(path.c_str());
    ::close(fd);
}

} // namespace

LockOwner LockOwner::Self()
{
    LockOwner self;
    char host[HOST_NAME_MAX + 1] = {};
    if (::gethostname(host, sizeof host - 1) == 0)
        self.host = host;
    self.pid = static_cast<long>(::getpid());
    const std::optional<UserAccount> user = ThisUser();
    self.user = user && !user->name.empty() ? user->name : std::to_string(::geteuid());
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
    return PathBeside(target, ".lock");
}

LockHolders LockFile::Acquire(const std::string& notebookPath)
{
    LockHolders holders;
    const bool bAgain = notebookPath == m_strNotebook && !m_strPath.empty();
    if (!bAgain) {
        Release();
        m_strNotebook = notebookPath;
        m_strPath = PathFor(notebookPath);
    }

    // The notebook's own file, which a save may have replaced by a new one.
    const int fileFd = OpenToLock(notebookPath);
    if (fileFd >= 0) {
        holders.bHeld = !bAgain && IsLockedElsewhere(fileFd, kOpenByte, 1);
        SetLock(fileFd, F_RDLCK, kOpenByte, 1);
    }
    if (m_fileFd >= 0)
        ::close(m_fileFd);
    m_fileFd = fileFd;
    if (bAgain)
        return {};

    bool bWritable = false;
    for (;;) {
        const int fd = OpenLockFile(m_strPath, true, bWritable);
        if (fd < 0)
            return holders;
        const bool bHeldHere = IsLockedElsewhere(fd, kOpenByte, 1);
        // Only a program removing the file holds byte 0 exclusively, and only for a moment.
        if (!SetLockWaiting(fd, F_RDLCK, kOpenByte, 1, Clock::now() + kNamesWait)) {
            // A file system without locks, or a remover that stopped: the names still tell.
            holders.bHeld = holders.bHeld || bHeldHere;
            NameHolders(StandingOwners(fd, ReadOwners(fd)), holders);
            ::close(fd);
            return holders;
        }
        if (!StillNamed(fd, m_strPath)) {
            ::close(fd);
            continue;
        }
        m_fd = fd;
        holders.bHeld = holders.bHeld || bHeldHere;
        const LockOwner self = LockOwner::Self();
        const auto addSelf = [&](std::vector<LockOwner>& owners) {
            owners = StandingOwners(m_fd, std::move(owners));
            NameHolders(owners, holders);
            std::erase(holders.owners, self);
            if (std::find(owners.begin(), owners.end(), self) == owners.end())
                owners.push_back(self);
        };
        if (!bWritable || !ChangeOwners(m_fd, addSelf))
            NameHolders(StandingOwners(m_fd, ReadOwners(m_fd)), holders);
        return holders;
    }
}

void LockFile::Release()
{
    if (m_fd >= 0) {
        ChangeOwners(m_fd, [](std::vector<LockOwner>& owners) {
            const auto self = std::find(owners.begin(), owners.end(), LockOwner::Self());
            if (self != owners.end())
                owners.erase(self);
        });
        CloseLockFile(m_fd, m_strPath);
        m_fd = -1;
    }
    if (m_fileFd >= 0) {
        ::close(m_fileFd);
        m_fileFd = -1;
    }
    m_strNotebook.clear();
    m_strPath.clear();
}

LockHolders LockFile::HoldersOf(const std::string& notebookPath)
{
    LockHolders holders;
    if (const int fileFd = OpenToLock(notebookPath); fileFd >= 0) {
        holders.bHeld = IsLockedElsewhere(fileFd, kOpenByte, 1);
        ::close(fileFd);
    }
    bool bWritable = false;
    const int fd = OpenLockFile(PathFor(notebookPath), false, bWritable);
    if (fd >= 0) {
        const bool bHeldHere = IsLockedElsewhere(fd, kOpenByte, 1);
        holders.bHeld = holders.bHeld || bHeldHere;
        NameHolders(StandingOwners(fd, ReadOwners(fd)), holders);
    }
    if (fd >= 0)
        ::close(fd);
    return holders;
}

WriteLock::WriteLock(WriteLock&& other) noexcept
    : m_strPath(std::move(other.m_strPath))
    , m_fd(std::exchange(other.m_fd, -1))
{
}

WriteLock& WriteLock::operator=(WriteLock&& other) noexcept
{
    if (this != &other) {
        Release();
        m_strPath = std::move(other.m_strPath);
        m_fd = std::exchange(other.m_fd, -1);
    }
    return *this;
}

bool WriteLock::Take(const std::string& notebookPath, std::chrono::milliseconds wait, FileProblem& problem)
{
    Release();
    const std::string path = LockFile::PathFor(notebookPath);
    bool bWritable = false;
    const int fd = OpenAndLock(path, F_WRLCK, kWriteByte, Clock::now() + wait, bWritable);
    if (fd >= 0) {
        m_fd = fd;
        m_strPath = path;
        return true;
    }
    // Busy only when another writer holds the lock; a lock file that cannot be made or written
    // leaves no lock to take.
    if (!bWritable || (errno != EAGAIN && errno != EACCES))
        return true;
    problem = FileProblem { .kind = FileProblem::Kind::Busy };
    return false;
}

void WriteLock::Release()
{
    if (m_fd < 0)
        return;
    CloseLockFile(m_fd, m_strPath);
    m_fd = -1;
    m_strPath.clear();
}
