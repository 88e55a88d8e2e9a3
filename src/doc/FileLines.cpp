#include "doc/FileLines.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <cstdint>
#include <new>
#include <stdexcept>

#ifdef __SSE2__
#include <emmintrin.h>
#endif
#include <sys/mman.h>
#include <unistd.h>

#include "doc/TextEncoding.h"

namespace {

// A file is read this much at a time.
constexpr size_t kReadStep = size_t(1) << 20;

// How many bytes at the end of `bytes` begin a UTF-8 sequence that they do not finish.
size_t UnfinishedSequence(std::string_view bytes)
{
    for (size_t back = 1; back <= std::min<size_t>(3, bytes.size()); ++back) {
        const auto byte = static_cast<unsigned char>(bytes[bytes.size() - back]);
        if ((byte & 0xC0) == 0x80)
            continue;
        const size_t length = byte >= 0xF0 ? 4 : byte >= 0xE0 ? 3 : byte >= 0xC0 ? 2 : 1;
        return length > back ? back : 0;
    }
    return 0;
}

} // namespace

LineReader::LineReader(std::string data)
    : m_data(std::move(data))
    , m_held(m_data.size())
{
}

LineReader::LineReader(std::unique_ptr<FileReader> pFile)
    : m_pFile(std::move(pFile))
    , m_bStream(true)
{
}

void LineReader::ReadMore() const
{
    // What is forgotten goes; what is held stays where it is in the data.
    const size_t drop = std::min(m_forgotten, m_checked) - m_base;
    if (drop >= kReadStep) {
        std::memmove(m_data.data(), m_data.data() + drop, m_held - drop);
        m_held -= drop;
        m_base += drop;
    }
    // The room read into is kept from piece to piece.
    if (m_data.size() < m_held + kReadStep)
        m_data.resize(m_held + kReadStep);
    size_t count = 0;
    if (m_pFile->Read(m_data.data() + m_held, kReadStep, count, m_readProblem)) {
        if (m_bHash)
            m_hash.Add(std::string_view(m_data.data() + m_held, count));
        m_held += count;
    }
    else
        count = 0;
    if (count == 0)
        m_pFile.reset();
    CheckUtf8(!m_pFile);
}

void LineReader::CheckUtf8(bool bAll) const
{
    std::string_view unchecked = Held().substr(m_checked - m_base);
    if (!bAll)
        unchecked.remove_suffix(UnfinishedSequence(unchecked));
    m_bUtf8 = m_bUtf8 && TextEncoding::IsValidUtf8(unchecked);
    m_checked += unchecked.size();
}

void LineReader::Fill() const
{
    if (m_lineFor == m_pos)
        return;
    size_t from = m_pos - m_base;
    for (;;) {
        const size_t lf = Held().find('\n', from);
        if (lf != std::string::npos || !m_pFile) {
            m_lineFor = m_pos;
            m_lineEnd = lf == std::string::npos ? std::string::npos : m_base + lf;
            return;
        }
        // Only the bytes read next are searched again.
        const size_t searched = m_base + m_held;
        ReadMore();
        from = searched - m_base;
    }
}

bool LineReader::AtEnd() const
{
    Fill();
    return m_pos >= m_base + m_held;
}

size_t PassCrLfLines(std::string_view held, size_t start, std::string_view leads, int& lines)
{
    const auto isLead = [&](size_t pos) {
        return pos < held.size() && std::find(leads.begin(), leads.end(), held[pos]) != leads.end();
    };
    // Passes over the line ending at the line feed `lf`; false when that line, or the next one
    // by its first byte, stops the pass.
    const auto pass = [&](size_t lf) {
        if (lf == start || held[lf - 1] != '\r')
            return false;
        ++lines;
        start = lf + 1;
        return !isLead(start);
    };
    if (isLead(start))
        return start;
    size_t from = start;
#ifdef __SSE2__
    const __m128i lineFeeds = _mm_set1_epi8('\n');
    const auto lineFeedsAt = [&](size_t pos) -> uint64_t {
        const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(held.data() + pos));
        return static_cast<uint16_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(block, lineFeeds)));
    };
    for (; from + 64 <= held.size(); from += 64) {
        uint64_t mask = lineFeedsAt(from) | lineFeedsAt(from + 16) << 16 | lineFeedsAt(from + 32) << 32
            | lineFeedsAt(from + 48) << 48;
        for (; mask != 0; mask &= mask - 1) {
            if (!pass(from + std::countr_zero(mask)))
                return start;
        }
    }
#endif
    for (size_t lf = held.find('\n', from); lf != std::string_view::npos; lf = held.find('\n', start)) {
        if (!pass(lf))
            return start;
    }
    return start;
}

bool LineReader::IsAllUtf8()
{
    while (m_pFile)
        ReadMore();
    CheckUtf8(true);
    return m_bUtf8;
}

std::string_view LineReader::PeekLine(size_t& next) const
{
    Fill();
    const size_t end = m_lineEnd == std::string::npos ? m_base + m_held : m_lineEnd;
    next = m_lineEnd == std::string::npos ? end : end + 1;
    std::string_view line(m_data.data() + (m_pos - m_base), end - m_pos);
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
    // A file read piece by piece drops what is forgotten as it reads the next piece.
    if (m_bStream) {
        m_forgotten = m_pos;
        return;
    }
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

void LineReader::SkipCrLfLines(std::string_view leads)
{
    while (!AtEnd() && m_lineEnd != std::string::npos) {
        const size_t start = m_pos - m_base;
        const size_t stop = PassCrLfLines(Held(), start, leads, m_line);
        m_pos = m_base + stop;
        // Stopped before a line held whole: that line is the one to read next, and where it
        // ends is known now.
        const size_t lf = stop < m_held ? Held().find('\n', stop) : std::string_view::npos;
        if (lf != std::string_view::npos) {
            m_lineFor = m_pos;
            m_lineEnd = m_base + lf;
            return;
        }
    }
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

FileProblem LineReader::WhereReadingStopped() const
{
    using Kind = FileProblem::Kind;
    if (!AtEnd())
        return { .kind = Kind::Damaged, .line = m_line + 1 };
    if (!m_readProblem)
        return { .kind = Kind::EndsEarly, .line = m_line };
    return { .kind = m_readProblem.kind == Kind::TooLarge ? Kind::TooLargeAfter : Kind::UnreadableAfter,
             .line = m_line,
             .error = m_readProblem.error };
}

void LineReader::Rewind(Mark mark)
{
    m_pos = mark.pos;
    m_line = mark.line;
}

std::optional<LineReader> ReadFileLines(const std::string& path, FileProblem& problem)
{
    std::string data;
    if (!ReadWholeFile(path, data, problem)) {
        problem = problem.During(FileProblem::Action::Open, path);
        return std::nullopt;
    }
    return LineReader(std::move(data));
}

std::optional<LineReader> StreamFileLines(const std::string& path, FileProblem& problem)
{
    auto pFile = std::make_unique<FileReader>();
    if (!pFile->Open(path, problem)) {
        problem = problem.During(FileProblem::Action::Open, path);
        return std::nullopt;
    }
    return LineReader(std::move(pFile));
}
