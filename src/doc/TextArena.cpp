#include "doc/TextArena.h"

#include <algorithm>
#include <cstring>
#include <new>

#include <sys/mman.h>
#include <unistd.h>

namespace {

constexpr size_t kFirstBlock = size_t(64) << 10;
constexpr size_t kLargestBlock = size_t(8) << 20;

} // namespace

// Memory mapped for the texts alone, so that giving back the unused end of the last block and
// the whole block when its texts are gone returns pages to the system at once.
struct TextArena::Block
{
    explicit Block(size_t wanted)
        : size(wanted)
    {
        void* p = ::mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_POPULATE, -1, 0);
        if (p == MAP_FAILED)
            throw std::bad_alloc();
        data = static_cast<char*>(p);
    }
    ~Block() { ::munmap(data, size); }
    Block(const Block&) = delete;
    Block& operator=(const Block&) = delete;

    // Gives back the pages past the first `used` bytes.
    void Shrink(size_t used)
    {
        const size_t page = static_cast<size_t>(::sysconf(_SC_PAGESIZE));
        const size_t kept = std::max(page, (used + page - 1) / page * page);
        if (kept < size && ::mremap(data, size, kept, 0) != MAP_FAILED)
            size = kept;
    }

    char* data = nullptr;
    size_t size = 0;
};

TextArena::TextArena()
    : m_nextSize(kFirstBlock)
{
}

TextArena::~TextArena()
{
    // The texts taken keep the last block; what no text uses goes back now.
    if (m_pBlock && m_pBlock.use_count() > 1)
        m_pBlock->Shrink(m_used);
}

void TextArena::Append(std::string_view bytes)
{
    if (bytes.empty())
        return;
    if (!m_pBlock || m_pBlock->size - m_used - m_length < bytes.size())
        Grow(bytes.size());
    std::memcpy(m_pBlock->data + m_used + m_length, bytes.data(), bytes.size());
    m_length += bytes.size();
}

SharedText TextArena::Take(bool bStoredAsIs)
{
    if (m_length == 0)
        return {};
    SharedText text(m_pBlock, std::string_view(m_pBlock->data + m_used, m_length), bStoredAsIs);
    m_used += m_length;
    m_length = 0;
    return text;
}

void TextArena::Grow(size_t more)
{
    const size_t needed = m_length + more;
    auto pBlock = std::make_shared<Block>(std::max(m_nextSize, needed + needed / 2));
    m_nextSize = std::min(kLargestBlock, m_nextSize * 2);
    if (m_length > 0)
        std::memcpy(pBlock->data, m_pBlock->data + m_used, m_length);
    if (m_pBlock && m_pBlock.use_count() > 1)
        m_pBlock->Shrink(m_used);
    m_pBlock = std::move(pBlock);
    m_used = 0;
}
