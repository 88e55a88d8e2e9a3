#pragma once

#include <cstddef>
#include <memory>
#include <string_view>

#include "storage/SharedText.h"
#include "storage/TextBlock.h"

// Gathers small texts, and texts put together from pieces, into blocks that they share: one
// allocation per block instead of one per text. A block lives while any text in it does.
class TextArena
{
public:
    TextArena() = default;
    ~TextArena();
    TextArena(const TextArena&) = delete;
    TextArena& operator=(const TextArena&) = delete;

    // Adds bytes to the end of the text being gathered.
    void Append(std::string_view bytes);
    // The text gathered since the last call, which begins the next one; bStoredAsIs as for
    // SharedText.
    SharedText Take(bool bStoredAsIs = false);

private:
    // Moves the text being gathered to a new block with room for `more` bytes after it.
    void Grow(size_t more);

    std::shared_ptr<TextBlock> m_pBlock;
    // The texts taken fill the block up to m_used; the text being gathered follows them.
    size_t m_used = 0;
    size_t m_length = 0;
    // The size of the next block; blocks grow with the notebook up to a limit.
    size_t m_nextSize = size_t(64) << 10;
};
