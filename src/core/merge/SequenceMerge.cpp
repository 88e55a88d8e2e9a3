#include "merge/SequenceMerge.h"

#include <algorithm>
#include <cstdint>

namespace {

// Past this many insertions and deletions the search stops: its memory grows with their square
// (8 MB at this bound).
constexpr ptrdiff_t kMaxEdits = 1000;

// Myers' greedy search for the fewest insertions and deletions that turn a into b, which share
// neither their first nor their last item. Appends the changes, their positions offset by `at`
// and `otherAt`; false when more than kMaxEdits are needed.
bool Myers(std::span<const int> a, std::span<const int> b, size_t at, size_t otherAt, std::vector<SequenceChange>& out)
{
    const auto n = static_cast<ptrdiff_t>(a.size());
    const auto m = static_cast<ptrdiff_t>(b.size());
    const ptrdiff_t most = std::min(n + m, kMaxEdits);
    // v[k + most]: the furthest x reached on diagonal k (x - y == k). Each round's values are
    // kept, diagonals -d..d, to walk the path back.
    std::vector<ptrdiff_t> v(static_cast<size_t>(2 * most + 3), 0);
    std::vector<std::vector<ptrdiff_t>> rounds;
    const auto V = [&](ptrdiff_t k) -> ptrdiff_t& { return v[static_cast<size_t>(k + most + 1)]; };
    ptrdiff_t found = -1;
    for (ptrdiff_t d = 0; d <= most && found < 0; ++d) {
        rounds.emplace_back(v.begin() + (most + 1 - d), v.begin() + (most + 2 + d));
        for (ptrdiff_t k = -d; k <= d; k += 2) {
            ptrdiff_t x = k == -d || (k != d && V(k - 1) < V(k + 1)) ? V(k + 1) : V(k - 1) + 1;
            ptrdiff_t y = x - k;
            while (x < n && y < m && a[static_cast<size_t>(x)] == b[static_cast<size_t>(y)]) {
                ++x;
                ++y;
            }
            V(k) = x;
            if (x >= n && y >= m) {
                found = d;
                break;
            }
        }
    }
    if (found < 0)
        return false;
    // Back from the end: each round took one step off a diagonal, then followed it.
    std::vector<SequenceChange> changes;
    ptrdiff_t x = n;
    ptrdiff_t y = m;
    for (ptrdiff_t d = found; d > 0; --d) {
        const std::vector<ptrdiff_t>& round = rounds[static_cast<size_t>(d)];
        const auto R = [&](ptrdiff_t k) { return round[static_cast<size_t>(k + d)]; };
        const ptrdiff_t k = x - y;
        const ptrdiff_t prevK = k == -d || (k != d && R(k - 1) < R(k + 1)) ? k + 1 : k - 1;
        const ptrdiff_t prevX = R(prevK);
        const ptrdiff_t prevY = prevX - prevK;
        while (x > prevX && y > prevY) {
            --x;
            --y;
        }
        // The step: a deletion of a[x - 1] or an insertion of b[y - 1], joined to the change
        // after it when nothing equal lies between.
        const size_t baseAt = at + static_cast<size_t>(x == prevX ? x : x - 1);
        const size_t otherPos = otherAt + static_cast<size_t>(x == prevX ? y - 1 : y);
        SequenceChange step { baseAt, at + static_cast<size_t>(x), otherPos, otherAt + static_cast<size_t>(y) };
        if (!changes.empty() && changes.back().baseStart == step.baseEnd && changes.back().otherStart == step.otherEnd) {
            changes.back().baseStart = step.baseStart;
            changes.back().otherStart = step.otherStart;
        } else {
            changes.push_back(step);
        }
        x = prevX;
        y = prevY;
    }
    out.insert(out.end(), changes.rbegin(), changes.rend());
    return true;
}

} // namespace

std::vector<SequenceChange> DiffSequences(std::span<const int> base, std::span<const int> other)
{
    size_t head = 0;
    while (head < base.size() && head < other.size() && base[head] == other[head])
        ++head;
    size_t tail = 0;
    while (tail < base.size() - head && tail < other.size() - head
           && base[base.size() - 1 - tail] == other[other.size() - 1 - tail])
        ++tail;
    std::vector<SequenceChange> changes;
    const std::span<const int> a = base.subspan(head, base.size() - head - tail);
    const std::span<const int> b = other.subspan(head, other.size() - head - tail);
    if (a.empty() && b.empty())
        return changes;
    if (!Myers(a, b, head, head, changes))
        changes.push_back({ head, head + a.size(), head, head + b.size() });
    return changes;
}

std::vector<MergeRegion> MergeSequences(std::span<const int> base, std::span<const int> ours, std::span<const int> theirs,
                                        TouchingChanges touching)
{
    using Source = MergeRegion::Source;
    const std::vector<SequenceChange> oursChanges = DiffSequences(base, ours);
    const std::vector<SequenceChange> theirsChanges = DiffSequences(base, theirs);
    std::vector<MergeRegion> regions;
    // How far each side's positions run ahead of the base's, after the changes taken so far.
    ptrdiff_t oursShift = 0;
    ptrdiff_t theirsShift = 0;
    size_t done = 0;
    size_t i = 0;
    size_t j = 0;
    const auto shifted = [](size_t pos, ptrdiff_t shift) { return static_cast<size_t>(static_cast<ptrdiff_t>(pos) + shift); };
    const auto growth = [](const SequenceChange& c) {
        return static_cast<ptrdiff_t>(c.otherEnd - c.otherStart) - static_cast<ptrdiff_t>(c.baseEnd - c.baseStart);
    };
    while (i < oursChanges.size() || j < theirsChanges.size()) {
        // In base order; of two at one place, an insertion first, since it goes before the other.
        const auto before = [](const SequenceChange& a, const SequenceChange& b) {
            return a.baseStart < b.baseStart || (a.baseStart == b.baseStart && (a.baseStart == a.baseEnd || b.baseStart != b.baseEnd));
        };
        const bool bOursFirst = j == theirsChanges.size() || (i < oursChanges.size() && before(oursChanges[i], theirsChanges[j]));
        const SequenceChange& first = bOursFirst ? oursChanges[i] : theirsChanges[j];
        if (done < first.baseStart)
            regions.push_back({ Source::Base, done, first.baseStart, shifted(done, oursShift), shifted(first.baseStart, oursShift),
                                shifted(done, theirsShift), shifted(first.baseStart, theirsShift) });
        // The group: changes of either side that overlap it, taken in as it grows.
        size_t start = first.baseStart;
        size_t end = first.baseEnd;
        const size_t oursFrom = i;
        const size_t theirsFrom = j;
        ptrdiff_t oursGrowth = 0;
        ptrdiff_t theirsGrowth = 0;
        const auto overlaps = [&](const SequenceChange& c) {
            if (c.baseStart == c.baseEnd && start == end)
                return c.baseStart == start;
            if (touching == TouchingChanges::Conflict)
                return c.baseStart <= end && start <= c.baseEnd;
            return c.baseStart < end && start < c.baseEnd;
        };
        (bOursFirst ? oursGrowth : theirsGrowth) += growth(first);
        (bOursFirst ? i : j)++;
        for (bool bGrew = true; bGrew;) {
            bGrew = false;
            if (i < oursChanges.size() && overlaps(oursChanges[i])) {
                end = std::max(end, oursChanges[i].baseEnd);
                oursGrowth += growth(oursChanges[i++]);
                bGrew = true;
            }
            if (j < theirsChanges.size() && overlaps(theirsChanges[j])) {
                end = std::max(end, theirsChanges[j].baseEnd);
                theirsGrowth += growth(theirsChanges[j++]);
                bGrew = true;
            }
        }
        MergeRegion region { Source::Conflict, start, end, shifted(start, oursShift), shifted(end, oursShift + oursGrowth),
                             shifted(start, theirsShift), shifted(end, theirsShift + theirsGrowth) };
        const bool bOurs = i > oursFrom;
        const bool bTheirs = j > theirsFrom;
        if (!bTheirs)
            region.source = Source::Ours;
        else if (!bOurs)
            region.source = Source::Theirs;
        else if (std::equal(ours.begin() + static_cast<ptrdiff_t>(region.oursStart), ours.begin() + static_cast<ptrdiff_t>(region.oursEnd),
                            theirs.begin() + static_cast<ptrdiff_t>(region.theirsStart),
                            theirs.begin() + static_cast<ptrdiff_t>(region.theirsEnd)))
            region.source = Source::Both;
        regions.push_back(region);
        oursShift += oursGrowth;
        theirsShift += theirsGrowth;
        done = end;
    }
    if (done < base.size())
        regions.push_back({ Source::Base, done, base.size(), shifted(done, oursShift), shifted(base.size(), oursShift),
                            shifted(done, theirsShift), shifted(base.size(), theirsShift) });
    return regions;
}
