#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// Finds where any of a set of strings occurs in a text, comparing each byte of the text as a
// table folds it (to ignore case), in one pass and without the regular expression engine: one
// string by two of its rarest bytes, sixteen places at a time; a few strings whose rarest bytes
// are few by those bytes; more by an Aho-Corasick automaton, whose time grows with the text and
// never with the number of strings.
class LiteralFinder
{
public:
    using FoldTable = std::array<unsigned char, 256>;

    // `strings` are given folded, none empty, and each folded byte stands for at most two bytes of
    // the text. Holds no automaton, and finds nothing, when they are too many for its table (see
    // IsUsable).
    LiteralFinder(std::vector<std::string> strings, const FoldTable& fold);

    // False when the strings were too large to be searched for this way.
    bool IsUsable() const { return m_bUsable; }

    // The start of an occurrence in [from, to), or npos: of one string the first; of more, one
    // in the first line that holds one (the strings hold no line feed).
    size_t Find(std::string_view text, size_t from, size_t to) const;
    // The first occurrence in [from, to) and, of those starting there, the longest: its start
    // and length, or npos.
    std::pair<size_t, size_t> FindLongest(std::string_view text, size_t from, size_t to) const;

    // How often a folded byte is expected in a notebook's text, for choosing the rarest bytes and
    // the strings to look for: the fraction of bytes it makes up, roughly.
    static double Frequency(unsigned char folded);

private:
    size_t FindOne(std::string_view text, size_t from) const;
    size_t FindByRareBytes(std::string_view text, size_t from) const;
    size_t FindAutomaton(std::string_view text, size_t from) const;
    bool MatchesAt(std::string_view text, size_t at, const std::string& string) const;
    // The length of the longest string that occurs at `at`, or 0.
    size_t LongestAt(std::string_view text, size_t at) const;
    void BuildAutomaton();

    std::vector<std::string> m_strings;
    FoldTable m_fold;
    FoldTable m_other; // folded byte to the other byte that folds to it, or itself
    bool m_bUsable = true;
    size_t m_longest = 0; // the longest string's length

    // One string: the offsets of its two rarest bytes.
    size_t m_rare1 = 0;
    size_t m_rare2 = 0;

    // A few strings: the offset of each one's rarest byte, and the bytes found there.
    std::vector<size_t> m_rareOffsets;
    std::vector<unsigned char> m_rareBytes; // folded, at most kMaxRareBytes

    // The automaton: for each state (counted in rows of m_classes entries) and class of byte the
    // next state's row, with kAccept set where some string ends; the length of one of them.
    std::array<std::uint32_t, 256> m_classOf {}; // a text byte's class
    std::uint32_t m_classes = 0;
    std::vector<std::uint32_t> m_next;
    std::vector<std::uint32_t> m_acceptLength; // per state
    std::vector<std::uint32_t> m_ownLength;    // per state: of the string that ends there, or 0
    std::vector<std::uint32_t> m_depth;        // per state: the length of its string
};
