#include "storage/MemoryFile.h"

#include <sys/mman.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>

MemoryFile::MemoryFile(const char* name, std::string failure)
    : m_failure(std::move(failure))
{
    m_fd = ::memfd_create(name, MFD_CLOEXEC);
    if (m_fd < 0)
        throw std::runtime_error(m_failure + ": " + std::strerror(errno));
    m_path = "/proc/self/fd/" + std::to_string(m_fd);
}

MemoryFile::~MemoryFile()
{
    ::close(m_fd);
}

void MemoryFile::Append(std::string_view bytes)
{
    for (size_t done = 0; done < bytes.size();) {
        const ssize_t put = ::write(m_fd, bytes.data() + done, bytes.size() - done);
        if (put < 0 && errno == EINTR)
            continue;
        if (put < 0)
            throw std::runtime_error(m_failure + ": " + std::strerror(errno));
        done += static_cast<size_t>(put);
    }
}
