#include "storage/TextArena.h"

#include <algorithm>
#include <cstring>

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
    if (!m_pBlock || m_pBlock->Size() - m_used - m_length < bytes.size())
        Grow(bytes.size());
    const size_t at = m_used + m_length;
    m_pBlock->Prepare(at + bytes.size());
    std::memcpy(m_pBlock->Data() + at, bytes.data(), bytes.size());
    m_length += bytes.size();
}

SharedText TextArena::Take(bool bStoredAsIs)
{
    if (m_length == 0)
        return {};
    SharedText text(m_pBlock, std::string_view(m_pBlock->Data() + m_used, m_length), bStoredAsIs);
    m_used += m_length;
    m_length = 0;
    return text;
}

void TextArena::Grow(size_t more)
{
    const size_t needed = m_length + more;
    auto pBlock = std::make_shared<TextBlock>(std::max(m_nextSize, needed + needed / 2));
    m_nextSize = std::min(kLargestTextBlock, m_nextSize * 2);
    if (m_length > 0) {
        pBlock->Prepare(m_length);
        std::memcpy(pBlock->Data(), m_pBlock->Data() + m_used, m_length);
    }
    if (m_pBlock && m_pBlock.use_count() > 1)
        m_pBlock->Shrink(m_used);
    m_pBlock = std::move(pBlock);
    m_used = 0;
}
