#include "doc/FileLines.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

LineReader::LineReader(std::string data)
    : m_data(std::move(data))
{
}

std::string_view LineReader::PeekLine(size_t& next) const
{
    const size_t lf = m_data.find('\n', m_pos);
    const size_t end = lf == std::string::npos ? m_data.size() : lf;
    next = lf == std::string::npos ? m_data.size() : lf + 1;
    std::string_view line(m_data.data() + m_pos, end - m_pos);
    if (!line.empty() && line.back() == '\r')
        line.remove_suffix(1);
    return line;
}

bool LineReader::ReadLine(std::string& line)
{
    std::string_view view;
    if (!ReadLine(view))
        return false;
    line = view;
    return true;
}

bool LineReader::ReadLine(std::string_view& line)
{
    if (AtEnd())
        return false;
    size_t next = 0;
    line = PeekLine(next);
    m_pos = next;
    ++m_line;
    return true;
}

void LineReader::ForgetRead()
{
    // A system call per record would cost more than the memory it gives back.
    constexpr size_t kStep = size_t(1) << 20;
    if (m_pos < m_forgotten + kStep)
        return;
    const auto page = static_cast<uintptr_t>(::sysconf(_SC_PAGESIZE));
    const auto base = reinterpret_cast<uintptr_t>(m_data.data());
    const uintptr_t from = (base + m_forgotten + page - 1) / page * page;
    const uintptr_t to = (base + m_pos) / page * page;
    // The pages read as zeros if touched again, which nothing does.
    if (to > from)
        ::madvise(reinterpret_cast<void*>(from), to - from, MADV_DONTNEED);
    m_forgotten = m_pos;
}

bool LineReader::FindLine(std::string_view keyword, std::span<const std::string_view> stops)
{
    while (!AtEnd()) {
        size_t next = 0;
        const std::string_view line = PeekLine(next);
        if (line != keyword && std::find(stops.begin(), stops.end(), line) != stops.end())
            return false;
        m_pos = next;
        ++m_line;
        if (line == keyword)
            return true;
    }
    return false;
}

int LineReader::SkipTo(std::span<const std::string_view> lines)
{
    while (!AtEnd()) {
        size_t next = 0;
        const auto found = std::find(lines.begin(), lines.end(), PeekLine(next));
        if (found != lines.end())
            return static_cast<int>(found - lines.begin());
        m_pos = next;
        ++m_line;
    }
    return -1;
}

std::string LineReader::WhereReadingStopped() const
{
    if (AtEnd())
        return "it ends early, at line " + std::to_string(m_line);
    return "it is damaged at line " + std::to_string(m_line + 1);
}

void LineReader::Rewind(Mark mark)
{
    m_pos = mark.pos;
    m_line = mark.line;
}

namespace {

std::string ErrnoText()
{
    return std::strerror(errno);
}

// Writes all of `data`, retrying short and interrupted writes.
bool WriteAll(int fd, std::string_view data)
{
    while (!data.empty()) {
        const ssize_t written = ::write(fd, data.data(), data.size());
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        data.remove_prefix(static_cast<size_t>(written));
    }
    return true;
}

// Opens a new, unused file beside `target` for writing. Created with mode 0666, so the umask
// gives a new notebook the user's default permissions.
int CreateTempBeside(const std::string& target, std::string& tempPath)
{
    const size_t slash = target.rfind('/');
    const std::string dir = slash == std::string::npos ? std::string() : target.substr(0, slash + 1);
    const std::string base = slash == std::string::npos ? target : target.substr(slash + 1);
    for (int attempt = 0;; ++attempt) {
        tempPath = dir + "." + base + ".save-" + std::to_string(::getpid()) + "-" + std::to_string(attempt);
        const int fd = ::open(tempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST || attempt == 100)
            return fd;
    }
}

void SyncDirectoryOf(const std::string& path)
{
    const size_t slash = path.rfind('/');
    const std::string dir = slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
    const int fd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

} // namespace

std::optional<LineReader> ReadFileLines(const std::string& path, std::string& message)
{
    auto fail = [&] {
        message = "Cannot open \"" + path + "\": " + ErrnoText() + ".";
        return std::nullopt;
    };
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return fail();
    std::string data;
    struct stat st {};
    // Read straight into the data, sized for the whole file and one byte more to see its end.
    size_t used = 0;
    const size_t size = ::fstat(fd, &st) == 0 && st.st_size > 0 ? static_cast<size_t>(st.st_size) + 1 : 65536;
    data.reserve(size);
    // Memory for a large file comes in large pages where the system allows: far fewer faults.
    const auto page = static_cast<uintptr_t>(::sysconf(_SC_PAGESIZE));
    const auto begin = (reinterpret_cast<uintptr_t>(data.data()) + page - 1) / page * page;
    const auto end = (reinterpret_cast<uintptr_t>(data.data()) + size) / page * page;
    if (end > begin)
        ::madvise(reinterpret_cast<void*>(begin), end - begin, MADV_HUGEPAGE);
    data.resize(size);
    for (;;) {
        if (used == data.size())
            data.resize(data.size() * 2);
        const ssize_t count = ::read(fd, data.data() + used, data.size() - used);
        if (count == 0)
            break;
        if (count < 0 && errno == EINTR)
            continue;
        if (count < 0) {
            fail();
            ::close(fd);
            return std::nullopt;
        }
        used += static_cast<size_t>(count);
    }
    ::close(fd);
    data.resize(used);
    return LineReader(std::move(data));
}

bool WriteFileSafely(const std::string& path, std::string_view data, std::string& error)
{
    return WriteFileSafely(path, [data](const ChunkSink& sink) { return sink(data); }, error);
}

bool WriteFileSafely(const std::string& path, const std::function<bool(const ChunkSink&)>& produce, std::string& error)
{
    std::string target = path;
    struct stat st {};
    if (::lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) {
        if (char* resolved = ::realpath(path.c_str(), nullptr)) {
            target = resolved;
            std::free(resolved);
        }
    }
    const bool bExists = ::stat(target.c_str(), &st) == 0;

    std::string tempPath;
    int fd = CreateTempBeside(target, tempPath);
    if (fd < 0) {
        error = ErrnoText();
        return false;
    }
    // Takes the reason before cleaning up, which may change errno.
    auto fail = [&] {
        error = ErrnoText();
        if (fd >= 0)
            ::close(fd);
        ::unlink(tempPath.c_str());
        return false;
    };
    if (bExists && ::fchmod(fd, st.st_mode & 07777) != 0)
        return fail();
    if (!produce([fd](std::string_view chunk) { return WriteAll(fd, chunk); }) || ::fsync(fd) != 0)
        return fail();
    const int closed = ::close(fd);
    fd = -1;
    if (closed != 0 || ::rename(tempPath.c_str(), target.c_str()) != 0)
        return fail();
    SyncDirectoryOf(target);
    return true;
}
