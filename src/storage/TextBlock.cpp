#include "storage/TextBlock.h"

#include <algorithm>
#include <cstdint>
#include <new>

#include <sys/mman.h>
#include <unistd.h>

namespace {

// Blocks this large ask for pages of this size where the system has them: a few faults for a
// whole notebook instead of one per small page, which is most of what reading it costs.
constexpr size_t kLargePage = size_t(2) << 20;

size_t RoundUp(size_t size, size_t step)
{
    return (size + step - 1) / step * step;
}

} // namespace

TextBlock::TextBlock(size_t size)
{
    if (size < kLargePage) {
        // A small block has its pages at once.
        m_size = RoundUp(std::max<size_t>(size, 1), static_cast<size_t>(::sysconf(_SC_PAGESIZE)));
        void* p = ::mmap(nullptr, m_size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_POPULATE, -1, 0);
        if (p == MAP_FAILED)
            throw std::bad_alloc();
        m_pData = static_cast<char*>(p);
        m_prepared = m_size;
        return;
    }
    // Large pages must lie on their own boundaries: map a page more and trim both ends.
    m_size = RoundUp(size, kLargePage);
    void* p = ::mmap(nullptr, m_size + kLargePage, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (p == MAP_FAILED)
        throw std::bad_alloc();
    const auto mapped = reinterpret_cast<uintptr_t>(p);
    const uintptr_t start = RoundUp(mapped, kLargePage);
    if (start > mapped)
        ::munmap(p, start - mapped);
    if (mapped + kLargePage > start)
        ::munmap(reinterpret_cast<void*>(start + m_size), mapped + kLargePage - start);
    m_pData = reinterpret_cast<char*>(start);
    ::madvise(m_pData, m_size, MADV_HUGEPAGE);
}

TextBlock::~TextBlock()
{
    ::munmap(m_pData, m_size);
}

void TextBlock::Prepare(size_t end)
{
    if (end <= m_prepared)
        return;
    // Pages handed over just before they are written are still in the cache when they are.
    const size_t to = std::min(m_size, RoundUp(end, kLargePage));
    if (::madvise(m_pData + m_prepared, to - m_prepared, MADV_POPULATE_WRITE) != 0)
        m_prepared = m_size; // an older system: the pages come as they are first written
    else
        m_prepared = to;
}

void TextBlock::Shrink(size_t used)
{
    const size_t kept = RoundUp(std::max<size_t>(used, 1), static_cast<size_t>(::sysconf(_SC_PAGESIZE)));
    if (kept < m_size && ::mremap(m_pData, m_size, kept, 0) != MAP_FAILED) {
        m_size = kept;
        m_prepared = std::min(m_prepared, kept);
    }
}
