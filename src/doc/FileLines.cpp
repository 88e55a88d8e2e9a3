#include "doc/FileLines.h"

#include <algorithm>
#include <cstdint>
#include <new>
#include <stdexcept>

#include <sys/mman.h>
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

std::optional<LineReader> ReadFileLines(const std::string& path, std::string& message)
{
    std::string data;
    std::string reason;
    if (!ReadWholeFile(path, data, reason)) {
        message = "Cannot open \"" + path + "\": " + reason + ".";
        return std::nullopt;
    }
    return LineReader(std::move(data));
}

std::string ExceptionReason(const std::exception& e)
{
    if (dynamic_cast<const std::bad_alloc*>(&e) || dynamic_cast<const std::length_error*>(&e))
        return "there is not enough memory";
    return e.what();
}
