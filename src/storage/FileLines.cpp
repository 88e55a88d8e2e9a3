#include "storage/FileLines.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <cstdint>
#include <stdexcept>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

#include "storage/TextEncoding.h"

namespace {

// A file is read this much at a time: little enough for the passes over each piece to find it
// in the cache.
constexpr size_t kReadStep = size_t(256) << 10;

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

LineReader::LineReader(std::string_view data)
    : m_pBlock(std::make_shared<TextBlock>(data.size()))
    , m_held(data.size())
    , m_bWhole(true)
{
    m_pBlock->Prepare(m_held);
    std::memcpy(m_pBlock->Data(), data.data(), data.size());
}

LineReader::LineReader(std::unique_ptr<FileReader> pFile, bool bWhole)
    : m_pFile(std::move(pFile))
    , m_bWhole(bWhole)
{
}

void LineReader::NewBlock() const
{
    const size_t keep = std::min(m_forgotten, m_checked) - m_base;
    const size_t kept = m_held - keep;
    const size_t read = m_base + m_held;
    const auto fileSize = static_cast<size_t>(m_pFile->Size());
    // Room for the rest of the file as it was when opened and a byte to find its end, or for
    // a piece more of a file that has grown since.
    size_t size = kept + (fileSize >= read ? fileSize - read + 1 : kReadStep);
    if (!m_bWhole)
        size = std::min(size, std::max(kLargestTextBlock, 2 * kept + kReadStep));
    auto pBlock = std::make_shared<TextBlock>(size);
    pBlock->Prepare(kept);
    if (kept > 0)
        std::memcpy(pBlock->Data(), m_pBlock->Data() + keep, kept);
    // What is forgotten stays behind for the texts that share it.
    if (m_pBlock && m_pBlock.use_count() > 1)
        m_pBlock->Shrink(keep);
    m_pBlock = std::move(pBlock);
    m_base += keep;
    m_held = kept;
}

void LineReader::ReadMore() const
{
    if (!m_pBlock || m_held == m_pBlock->Size())
        NewBlock();
    const size_t wanted = std::min(kReadStep, m_pBlock->Size() - m_held);
    m_pBlock->Prepare(m_held + wanted);
    size_t count = 0;
    if (m_pFile->Read(m_pBlock->Data() + m_held, wanted, count, m_readProblem)) {
        if (m_bHash)
            m_hash.Add(std::string_view(m_pBlock->Data() + m_held, count));
        m_held += count;
    }
    else
        count = 0;
    if (count == 0) {
        m_pFile.reset();
        // Nothing more comes into the block; the texts to come share what it holds.
        m_pBlock->Shrink(m_held);
    }
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
    std::array<bool, 256> isLeadByte {};
    for (const char byte : leads)
        isLeadByte[static_cast<unsigned char>(byte)] = true;
    const auto isLead = [&](size_t pos) {
        return pos < held.size() && isLeadByte[static_cast<unsigned char>(held[pos])];
    };
    // Counted here rather than in `lines`, which every byte read might otherwise alias.
    int passed = 0;
    // Passes over the line ending at the line feed `lf`; false when that line, or the next one
    // by its first byte, stops the pass.
    const auto pass = [&](size_t lf) {
        if (lf == start || held[lf - 1] != '\r')
            return false;
        ++passed;
        start = lf + 1;
        return !isLead(start);
    };
    const auto passAll = [&] {
        if (isLead(start))
            return;
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
                    return;
            }
        }
#endif
        for (size_t lf = held.find('\n', from); lf != std::string_view::npos; lf = held.find('\n', start)) {
            if (!pass(lf))
                return;
        }
    };
    passAll();
    lines += passed;
    return start;
}

const FileProblem& LineReader::ReadToEnd()
{
    while (m_pFile)
        ReadMore();
    return m_readProblem;
}

bool LineReader::IsAllUtf8()
{
    ReadToEnd();
    CheckUtf8(true);
    return m_bUtf8;
}

std::string_view LineReader::PeekLine(size_t& next) const
{
    Fill();
    const size_t end = m_lineEnd == std::string::npos ? m_base + m_held : m_lineEnd;
    next = m_lineEnd == std::string::npos ? end : end + 1;
    std::string_view line(Held().data() + (m_pos - m_base), end - m_pos);
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

std::string_view LineReader::Data()
{
    if (!m_bWhole)
        throw std::logic_error("the whole data asked of a line reader that streams");
    ReadToEnd();
    return Held();
}

FileProblem LineReader::WhereReadingStopped() const
{
    using Kind = FileProblem::Kind;
    if (!AtEnd())
        return { .kind = Kind::Damaged, .line = m_line + 1 };
    if (!m_readProblem)
        return { .kind = Kind::EndsEarly, .line = m_line };
    if (m_readProblem.kind == Kind::Failure)
        return m_readProblem;
    return { .kind = m_readProblem.kind == Kind::TooLarge ? Kind::TooLargeAfter : Kind::UnreadableAfter,
             .line = m_line,
             .error = m_readProblem.error };
}

bool LineReader::Rewind(Mark mark)
{
    if (mark.pos < m_forgotten) {
        m_readProblem = { .kind = FileProblem::Kind::Failure, .line = m_line,
                          .detail = "the reader was sent back to line " + std::to_string(mark.line + 1)
                              + ", which it had already let go" };
        m_pFile.reset();
        m_pos = m_base + m_held;
        return false;
    }
    m_pos = mark.pos;
    m_line = mark.line;
    return true;
}

namespace {

std::optional<LineReader> OpenFileLines(const std::string& path, bool bWhole, FileProblem& problem)
{
    auto pFile = std::make_unique<FileReader>();
    if (!pFile->Open(path, problem)) {
        problem = problem.During(FileProblem::Action::Open, path);
        return std::nullopt;
    }
    return LineReader(std::move(pFile), bWhole);
}

} // namespace

std::optional<LineReader> ReadFileLines(const std::string& path, FileProblem& problem)
{
    std::optional<LineReader> lines = OpenFileLines(path, true, problem);
    if (!lines)
        return std::nullopt;
    if (const FileProblem& stopped = lines->ReadToEnd()) {
        problem = stopped.During(FileProblem::Action::Open, path);
        return std::nullopt;
    }
    return lines;
}

std::optional<LineReader> StreamFileLines(const std::string& path, FileProblem& problem)
{
    return OpenFileLines(path, false, problem);
}
