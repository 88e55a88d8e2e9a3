#pragma once

#include <cstddef>
#include <span>
#include <string_view>
#include <unordered_map>
#include <vector>

// Differences and three-way merges of sequences whose items are numbers: equal numbers are equal
// items (lines, notes or folders, each numbered by its content or identity beforehand).

// Numbers pieces of text for the functions below: equal pieces get equal numbers. The pieces
// must outlive it.
class PieceNumbers
{
public:
    int Of(std::string_view piece) { return m_numbers.try_emplace(piece, static_cast<int>(m_numbers.size())).first->second; }
    std::vector<int> Of(const std::vector<std::string_view>& pieces)
    {
        std::vector<int> numbers;
        numbers.reserve(pieces.size());
        for (const std::string_view piece : pieces)
            numbers.push_back(Of(piece));
        return numbers;
    }

private:
    std::unordered_map<std::string_view, int> m_numbers;
};

// One change: the items [baseStart, baseEnd) of the base become [otherStart, otherEnd) of the
// other sequence. An insertion has baseStart == baseEnd, a deletion otherStart == otherEnd.
struct SequenceChange
{
    size_t baseStart = 0;
    size_t baseEnd = 0;
    size_t otherStart = 0;
    size_t otherEnd = 0;
};

// The changes that turn `base` into `other`, in order and apart from one another, as few as
// Myers' algorithm finds; past a thousand insertions and deletions, the whole stretch between the common
// beginning and end is one change.
std::vector<SequenceChange> DiffSequences(std::span<const int> base, std::span<const int> other);

// One stretch of a three-way merge, with its range in each sequence.
struct MergeRegion
{
    enum class Source
    {
        Base,     // neither side changed it
        Ours,     // only ours changed it
        Theirs,   // only theirs changed it
        Both,     // both changed it alike
        Conflict, // both changed it, differently
    };
    Source source = Source::Base;
    size_t baseStart = 0;
    size_t baseEnd = 0;
    size_t oursStart = 0;
    size_t oursEnd = 0;
    size_t theirsStart = 0;
    size_t theirsEnd = 0;
};

// Whether a change of one side that ends where the other's begins conflicts with it. Notes and
// folders added beside what the other side changed stand apart; the lines of one text touch, as
// GNU diff3 and git merge-file take them: a line added right after lines the other side rewrote
// would make a text neither side wrote.
enum class TouchingChanges
{
    Apart,
    Conflict,
};

// The merge of the changes each side made to `base`, as consecutive regions. Changes conflict
// when the stretches of the base they replace overlap, when both insert at one place, or as
// `touching` says when they touch.
std::vector<MergeRegion> MergeSequences(std::span<const int> base, std::span<const int> ours, std::span<const int> theirs,
                                        TouchingChanges touching = TouchingChanges::Apart);
