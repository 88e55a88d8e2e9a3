#pragma once

#include <cstddef>

// The size blocks grow to, but for a single text or record larger than that: large enough that
// a big notebook takes few, small enough that one left behind for a text keeps little else.
inline constexpr size_t kLargestTextBlock = size_t(8) << 20;

// Memory mapped for folder texts: the blocks a notebook is read into, which its larger texts then
// share, and the blocks smaller texts are gathered in. Taking memory a large block at a time
// costs no allocation per text and few page faults. A block lives while whatever fills it or any
// text in it does, and its pages go back to the system at once when it goes.
class TextBlock
{
public:
    // Throws std::bad_alloc when the memory cannot be had.
    explicit TextBlock(size_t size);
    ~TextBlock();
    TextBlock(const TextBlock&) = delete;
    TextBlock& operator=(const TextBlock&) = delete;

    char* Data() const { return m_pData; }
    size_t Size() const { return m_size; }
    // Makes the memory up to `end` ready to be written, a large page at a time.
    void Prepare(size_t end);
    // Gives back the pages past the first `used` bytes.
    void Shrink(size_t used);

private:
    char* m_pData = nullptr;
    size_t m_size = 0;
    // The memory before this offset has its pages.
    size_t m_prepared = 0;
};
