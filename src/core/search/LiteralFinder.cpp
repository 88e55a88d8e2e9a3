#include "search/LiteralFinder.h"

#include <algorithm>
#include <cstring>
#include <deque>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

constexpr size_t npos = std::string_view::npos;
// More distinct rare bytes than this make each block's test slower than the automaton.
constexpr size_t kMaxRareBytes = 3;
constexpr size_t kMaxRareStrings = 16;
// The automaton's table stays under 32 MB.
constexpr size_t kMaxEntries = size_t { 1 } << 23;
constexpr std::uint32_t kAccept = std::uint32_t { 1 } << 31;
constexpr std::uint32_t kNone = ~std::uint32_t { 0 };

using Block = unsigned char __attribute__((vector_size(16)));

Block Load(const unsigned char* p)
{
    Block block;
    std::memcpy(&block, p, sizeof block);
    return block;
}

// Bit k set where byte k of the block is set.
unsigned MaskOf(Block block)
{
#if defined(__SSE2__)
    __m128i lanes;
    std::memcpy(&lanes, &block, sizeof lanes);
    return static_cast<unsigned>(_mm_movemask_epi8(lanes));
#else
    unsigned mask = 0;
    for (unsigned k = 0; k < sizeof(Block); ++k)
        mask |= block[k] ? 1u << k : 0u;
    return mask;
#endif
}

// Lanes holding a byte that folds to `folded`, given the other byte that folds to it.
Block Equal(Block bytes, unsigned char folded, unsigned char other)
{
    return (bytes == (Block {} + folded)) | (bytes == (Block {} + other));
}

} // namespace

double LiteralFinder::Frequency(unsigned char folded)
{
    // English letters by how often they are written, as parts of a hundred.
    static constexpr double kLetters[26] = { 8.2, 1.5, 2.8, 4.3, 12.7, 2.2, 2.0, 6.1, 7.0, 0.15, 0.77, 4.0, 2.4,
                                             6.7, 7.5,  1.9, 0.1, 6.0,  6.3, 9.1, 2.8, 1.0, 2.4, 0.15, 2.0, 0.07 };
    if (folded >= 'a' && folded <= 'z')
        return kLetters[folded - 'a'] * 0.008;
    if (folded >= 'A' && folded <= 'Z')
        return kLetters[folded - 'A'] * 0.0008;
    if (folded == ' ')
        return 0.15;
    if (folded == '\r' || folded == '\n' || folded == '.' || folded == ',')
        return 0.015;
    if (folded >= '0' && folded <= '9')
        return 0.004;
    if (folded > ' ' && folded < 0x7F)
        return 0.002;
    if (folded >= 0x80)
        return 0.002;
    return 0.0001;
}

LiteralFinder::LiteralFinder(std::vector<std::string> strings, const FoldTable& fold)
    : m_strings(std::move(strings))
    , m_fold(fold)
{
    std::sort(m_strings.begin(), m_strings.end());
    m_strings.erase(std::unique(m_strings.begin(), m_strings.end()), m_strings.end());
    for (const std::string& string : m_strings)
        m_longest = std::max(m_longest, string.size());
    for (size_t byte = 0; byte < m_other.size(); ++byte)
        m_other[byte] = static_cast<unsigned char>(byte);
    for (size_t byte = 0; byte < m_fold.size(); ++byte) {
        if (m_fold[byte] != byte)
            m_other[m_fold[byte]] = static_cast<unsigned char>(byte);
    }
    // The offset of a string's rarest byte; among equals the one nearest `near`.
    const auto rarest = [](const std::string& string, size_t skip, size_t near) {
        size_t best = npos;
        for (size_t i = 0; i < string.size(); ++i) {
            if (i == skip)
                continue;
            const double frequency = Frequency(static_cast<unsigned char>(string[i]));
            const auto distance = [near](size_t at) { return at > near ? at - near : near - at; };
            if (best == npos || frequency < Frequency(static_cast<unsigned char>(string[best]))
                || (frequency == Frequency(static_cast<unsigned char>(string[best])) && distance(i) < distance(best)))
                best = i;
        }
        return best;
    };
    if (m_strings.size() == 1) {
        m_rare1 = rarest(m_strings.front(), npos, 0);
        m_rare2 = m_strings.front().size() > 1 ? rarest(m_strings.front(), m_rare1, m_rare1) : m_rare1;
        if (m_rare2 < m_rare1)
            std::swap(m_rare1, m_rare2);
        return;
    }
    if (m_strings.size() <= kMaxRareStrings) {
        for (const std::string& string : m_strings) {
            const size_t offset = rarest(string, npos, 0);
            m_rareOffsets.push_back(offset);
            const auto byte = static_cast<unsigned char>(string[offset]);
            if (std::find(m_rareBytes.begin(), m_rareBytes.end(), byte) == m_rareBytes.end())
                m_rareBytes.push_back(byte);
        }
        if (m_rareBytes.size() <= kMaxRareBytes)
            return;
        m_rareOffsets.clear();
        m_rareBytes.clear();
    }
    BuildAutomaton();
}

void LiteralFinder::BuildAutomaton()
{
    // The classes: one for each folded byte the strings hold, one (0) for every other byte.
    std::array<std::uint32_t, 256> classOfFolded {};
    size_t total = 0;
    for (const std::string& string : m_strings) {
        total += string.size();
        for (char ch : string) {
            auto& cls = classOfFolded[static_cast<unsigned char>(ch)];
            if (cls == 0)
                cls = ++m_classes;
        }
    }
    ++m_classes;
    if ((total + 1) * m_classes > kMaxEntries) {
        m_bUsable = false;
        return;
    }
    for (size_t byte = 0; byte < m_classOf.size(); ++byte)
        m_classOf[byte] = classOfFolded[m_fold[byte]];

    // The trie of the strings, then each state's missing moves taken from its longest proper
    // suffix that is a state too, breadth first so that state is complete already.
    std::vector<std::uint32_t> next(m_classes, kNone);
    m_acceptLength.assign(1, 0);
    m_depth.assign(1, 0);
    for (const std::string& string : m_strings) {
        std::uint32_t state = 0;
        for (char ch : string) {
            std::uint32_t& target = next[state * m_classes + classOfFolded[static_cast<unsigned char>(ch)]];
            if (target == kNone) {
                target = static_cast<std::uint32_t>(m_acceptLength.size());
                m_acceptLength.push_back(0);
                m_depth.push_back(m_depth[state] + 1);
                next.resize(next.size() + m_classes, kNone);
            }
            state = next[state * m_classes + classOfFolded[static_cast<unsigned char>(ch)]];
        }
        m_acceptLength[state] = static_cast<std::uint32_t>(string.size());
    }
    m_ownLength = m_acceptLength;
    std::vector<std::uint32_t> failure(m_acceptLength.size(), 0);
    std::deque<std::uint32_t> queue;
    for (std::uint32_t cls = 0; cls < m_classes; ++cls) {
        std::uint32_t& target = next[cls];
        if (target == kNone)
            target = 0;
        else
            queue.push_back(target);
    }
    while (!queue.empty()) {
        const std::uint32_t state = queue.front();
        queue.pop_front();
        if (m_acceptLength[state] == 0)
            m_acceptLength[state] = m_acceptLength[failure[state]];
        for (std::uint32_t cls = 0; cls < m_classes; ++cls) {
            std::uint32_t& target = next[state * m_classes + cls];
            const std::uint32_t fallback = next[failure[state] * m_classes + cls];
            if (target == kNone) {
                target = fallback;
            } else {
                failure[target] = fallback;
                queue.push_back(target);
            }
        }
    }
    m_next.resize(next.size());
    for (size_t i = 0; i < next.size(); ++i)
        m_next[i] = next[i] * m_classes | (m_acceptLength[next[i]] ? kAccept : 0);
}

bool LiteralFinder::MatchesAt(std::string_view text, size_t at, const std::string& string) const
{
    if (at + string.size() > text.size())
        return false;
    for (size_t j = 0; j < string.size(); ++j) {
        if (m_fold[static_cast<unsigned char>(text[at + j])] != static_cast<unsigned char>(string[j]))
            return false;
    }
    return true;
}

size_t LiteralFinder::LongestAt(std::string_view text, size_t at) const
{
    if (m_next.empty()) {
        size_t longest = 0;
        for (const std::string& string : m_strings) {
            if (string.size() > longest && MatchesAt(text, at, string))
                longest = string.size();
        }
        return longest;
    }
    // Down the trie: a move of the automaton that makes its string no longer by one leaves it.
    const auto* pText = reinterpret_cast<const unsigned char*>(text.data());
    std::uint32_t state = 0;
    size_t longest = 0;
    for (size_t i = at; i < text.size(); ++i) {
        const std::uint32_t target = (m_next[state * m_classes + m_classOf[pText[i]]] & ~kAccept) / m_classes;
        if (m_depth[target] != m_depth[state] + 1)
            break;
        state = target;
        if (m_ownLength[state])
            longest = m_ownLength[state];
    }
    return longest;
}

std::pair<size_t, size_t> LiteralFinder::FindLongest(std::string_view text, size_t from, size_t to) const
{
    text = text.substr(0, std::min(to, text.size()));
    const size_t found = Find(text, from, text.size());
    if (found == npos)
        return { npos, 0 };
    // An occurrence that starts earlier ends no earlier than the one found, or has its rarest
    // byte no earlier: it starts less than the longest string's length before it.
    for (size_t at = std::max(from, found + 1 > m_longest ? found + 1 - m_longest : 0);; ++at) {
        if (const size_t length = LongestAt(text, at))
            return { at, length };
    }
}

size_t LiteralFinder::Find(std::string_view text, size_t from, size_t to) const
{
    // An occurrence that runs past `to` is not in the range.
    text = text.substr(0, std::min(to, text.size()));
    if (!m_bUsable || from >= text.size())
        return npos;
    if (m_strings.size() == 1)
        return FindOne(text, from);
    if (!m_rareBytes.empty())
        return FindByRareBytes(text, from);
    return FindAutomaton(text, from);
}

size_t LiteralFinder::FindOne(std::string_view text, size_t from) const
{
    // Sixteen starting places at a time are tested on the string's two rarest bytes, in either
    // case; only where both agree are the other bytes compared.
    const std::string& string = m_strings.front();
    const auto* pText = reinterpret_cast<const unsigned char*>(text.data());
    const auto first = static_cast<unsigned char>(string[m_rare1]);
    const auto second = static_cast<unsigned char>(string[m_rare2]);
    size_t i = from;
    for (; i + m_rare2 + sizeof(Block) <= text.size(); i += sizeof(Block)) {
        unsigned mask = MaskOf(Equal(Load(pText + i + m_rare1), first, m_other[first])
                               & Equal(Load(pText + i + m_rare2), second, m_other[second]));
        for (; mask != 0; mask &= mask - 1) {
            const size_t at = i + static_cast<size_t>(__builtin_ctz(mask));
            if (MatchesAt(text, at, string))
                return at;
        }
    }
    for (; i + string.size() <= text.size(); ++i) {
        if (MatchesAt(text, i, string))
            return i;
    }
    return npos;
}

size_t LiteralFinder::FindByRareBytes(std::string_view text, size_t from) const
{
    // Each place that holds one of the strings' rarest bytes is tested for the strings whose
    // rarest byte it is, in the order of those places: an occurrence in an earlier line has
    // its rarest byte earlier.
    const auto* pText = reinterpret_cast<const unsigned char*>(text.data());
    const auto tryAt = [&](size_t at) {
        const unsigned char byte = m_fold[pText[at]];
        for (size_t s = 0; s < m_strings.size(); ++s) {
            const std::string& string = m_strings[s];
            if (static_cast<unsigned char>(string[m_rareOffsets[s]]) != byte || at < from + m_rareOffsets[s])
                continue;
            if (MatchesAt(text, at - m_rareOffsets[s], string))
                return at - m_rareOffsets[s];
        }
        return npos;
    };
    size_t i = from;
    for (; i + sizeof(Block) <= text.size(); i += sizeof(Block)) {
        const Block bytes = Load(pText + i);
        Block any = Block {};
        for (unsigned char rare : m_rareBytes)
            any |= Equal(bytes, rare, m_other[rare]);
        for (unsigned mask = MaskOf(any); mask != 0; mask &= mask - 1) {
            if (const size_t at = tryAt(i + static_cast<size_t>(__builtin_ctz(mask))); at != npos)
                return at;
        }
    }
    for (; i < text.size(); ++i) {
        if (std::find(m_rareBytes.begin(), m_rareBytes.end(), m_fold[pText[i]]) == m_rareBytes.end())
            continue;
        if (const size_t at = tryAt(i); at != npos)
            return at;
    }
    return npos;
}

size_t LiteralFinder::FindAutomaton(std::string_view text, size_t from) const
{
    const auto* pText = reinterpret_cast<const unsigned char*>(text.data());
    std::uint32_t row = 0;
    for (size_t i = from; i < text.size(); ++i) {
        const std::uint32_t entry = m_next[row + m_classOf[pText[i]]];
        if (entry & kAccept) {
            row = entry & ~kAccept;
            return i + 1 - m_acceptLength[row / m_classes];
        }
        row = entry;
    }
    return npos;
}
