#include "merge/FolderMatch.h"

#include <algorithm>
#include <deque>
#include <functional>
#include <optional>
#include <unordered_map>

#include "model/FolderPath.h"
#include "merge/SequenceMerge.h"

namespace {

// At least this share of a folder's notes must be found in another for the two to be one folder
// renamed or moved.
constexpr double kSameFolderShare = 0.5;
// The most folders a folder without a match is compared with by its notes.
constexpr size_t kMostCandidates = 64;
// Among siblings of one name, notes are compared only in groups this small.
constexpr size_t kMostComparedSiblings = 64;
// More than this share of a folder's lines must be found in another for the two to be one folder
// renamed or moved and edited too.
constexpr double kAlikeShare = 0.5;
// Notes of one header are compared by their lines only in groups this small.
constexpr size_t kMostComparedNotes = 64;

using Hashes = std::vector<size_t>;

// The hashes of pieces of text, sorted.
Hashes SortedHashes(const std::vector<std::string_view>& pieces)
{
    Hashes hashes;
    hashes.reserve(pieces.size());
    for (const std::string_view piece : pieces)
        hashes.push_back(std::hash<std::string_view>()(piece));
    std::sort(hashes.begin(), hashes.end());
    return hashes;
}

// A text's lines without their line breaks, but for blank ones, which tell no two texts apart.
std::vector<std::string_view> FilledLines(std::string_view text)
{
    std::vector<std::string_view> lines;
    for (const std::string_view line : SplitLines(text)) {
        const std::string_view bare = WithoutBreak(line);
        if (bare.find_first_not_of(" \t") != std::string_view::npos)
            lines.push_back(bare);
    }
    return lines;
}

// The share of the longer of two sorted lists that both hold, each item as often as both hold it.
double ShareInCommon(const Hashes& a, const Hashes& b)
{
    if (a.empty() || b.empty())
        return 0;
    size_t common = 0;
    for (size_t i = 0, j = 0; i < a.size() && j < b.size();) {
        if (a[i] == b[j]) {
            ++common;
            ++i;
            ++j;
        } else if (a[i] < b[j]) {
            ++i;
        } else {
            ++j;
        }
    }
    return static_cast<double>(common) / static_cast<double>(std::max(a.size(), b.size()));
}

class Matcher
{
public:
    Matcher(const RecordTree& base, const RecordTree& other, FolderMatching& matching)
        : m_base(base)
        , m_other(other)
        , m_matching(matching)
        , m_baseNotes(static_cast<size_t>(base.Size()))
        , m_otherNotes(static_cast<size_t>(other.Size()))
        , m_baseLines(static_cast<size_t>(base.Size()))
        , m_otherLines(static_cast<size_t>(other.Size()))
    {
    }

    void ByPath()
    {
        MatchChildren(RecordTree::kRoot, RecordTree::kRoot);
        for (; m_done < m_pending.size(); ++m_done)
            MatchChildren(m_pending[m_done].first, m_pending[m_done].second);
    }

    // One round; false when it found nothing more. Folders alike only in their lines are
    // looked for last, among those that nothing surer matched.
    bool ByContent()
    {
        const size_t before = m_pending.size();
        ByUniqueText();
        ByNotesInCommon();
        ByPath();
        ByLinesInCommon();
        ByPath();
        return m_pending.size() > before;
    }

private:
    std::string_view Name(const RecordTree& tree, int folder) const { return tree.At(folder).name; }
    std::string_view Text(const RecordTree& tree, int folder) const { return tree.At(folder).text.View(); }

    void Link(int b, int x)
    {
        m_matching.otherOf[static_cast<size_t>(b)] = x;
        m_matching.baseOf[static_cast<size_t>(x)] = b;
        m_pending.emplace_back(b, x);
    }
    bool BaseFree(int b) const { return m_matching.otherOf[static_cast<size_t>(b)] < 0; }
    bool OtherFree(int x) const { return m_matching.baseOf[static_cast<size_t>(x)] < 0; }

    using Cache = std::vector<std::optional<Hashes>>;

    // The sorted hashes of a folder's notes, or of its lines; kept once made.
    const Hashes& NoteHashes(const RecordTree& tree, Cache& cache, int folder)
    {
        std::optional<Hashes>& hashes = cache[static_cast<size_t>(folder)];
        if (!hashes)
            hashes = SortedHashes(SplitNotes(Text(tree, folder)));
        return *hashes;
    }
    const Hashes& LineHashes(const RecordTree& tree, Cache& cache, int folder)
    {
        std::optional<Hashes>& hashes = cache[static_cast<size_t>(folder)];
        if (!hashes)
            hashes = SortedHashes(FilledLines(Text(tree, folder)));
        return *hashes;
    }

    // The share of the larger folder's notes the two have in common.
    double NotesInCommon(int b, int x)
    {
        return ShareInCommon(NoteHashes(m_base, m_baseNotes, b), NoteHashes(m_other, m_otherNotes, x));
    }

    // The unmatched children of two matched folders, by name; among siblings of one name, those
    // with the same text first, then those with the most notes in common, then in order.
    void MatchChildren(int bParent, int xParent)
    {
        struct Group
        {
            std::vector<int> bases;
            std::vector<int> others;
        };
        std::unordered_map<std::string_view, Group> groups;
        std::vector<std::string_view> names;
        for (const int b : m_base.Children(bParent)) {
            if (BaseFree(b))
                groups[Name(m_base, b)].bases.push_back(b);
        }
        for (const int x : m_other.Children(xParent)) {
            if (!OtherFree(x))
                continue;
            Group& group = groups[Name(m_other, x)];
            if (group.others.empty())
                names.push_back(Name(m_other, x));
            group.others.push_back(x);
        }
        for (const std::string_view name : names) {
            Group& group = groups[name];
            if (group.bases.size() == 1 && group.others.size() == 1)
                Link(group.bases.front(), group.others.front());
            else if (!group.bases.empty())
                MatchNamesakes(group.bases, group.others);
        }
    }

    void MatchNamesakes(const std::vector<int>& bases, const std::vector<int>& others)
    {
        std::unordered_map<std::string_view, std::vector<int>> byText;
        for (auto it = bases.rbegin(); it != bases.rend(); ++it)
            byText[Text(m_base, *it)].push_back(*it);
        for (const int x : others) {
            const auto found = byText.find(Text(m_other, x));
            if (found == byText.end() || found->second.empty())
                continue;
            Link(found->second.back(), x);
            found->second.pop_back();
        }
        if (bases.size() <= kMostComparedSiblings && others.size() <= kMostComparedSiblings) {
            for (const int x : others) {
                if (!OtherFree(x))
                    continue;
                int best = -1;
                double bestShare = 0;
                for (const int b : bases) {
                    if (!BaseFree(b))
                        continue;
                    const double share = NotesInCommon(b, x);
                    if (share > bestShare) {
                        best = b;
                        bestShare = share;
                    }
                }
                if (best >= 0)
                    Link(best, x);
            }
        }
        auto b = bases.begin();
        for (const int x : others) {
            if (!OtherFree(x))
                continue;
            while (b != bases.end() && !BaseFree(*b))
                ++b;
            if (b == bases.end())
                break;
            Link(*b++, x);
        }
    }

    // A text that one unmatched folder on each side holds, and no other unmatched folder.
    void ByUniqueText()
    {
        std::unordered_map<std::string_view, std::pair<int, int>> texts; // text: base folder, other folder (-2 when not alone)
        for (int b = 0; b < m_base.Size(); ++b) {
            if (!BaseFree(b))
                continue;
            auto [it, bNew] = texts.try_emplace(Text(m_base, b), b, -1);
            if (!bNew)
                it->second.first = -2;
        }
        for (int x = 0; x < m_other.Size(); ++x) {
            if (!OtherFree(x))
                continue;
            const auto it = texts.find(Text(m_other, x));
            if (it != texts.end())
                it->second.second = it->second.second == -1 ? x : -2;
        }
        for (int x = 0; x < m_other.Size(); ++x) {
            if (!OtherFree(x))
                continue;
            const auto it = texts.find(Text(m_other, x));
            if (it != texts.end() && it->second.first >= 0 && it->second.second == x)
                Link(it->second.first, x);
        }
    }

    // An unmatched folder and an unmatched base folder of the same name, or under the folder
    // its parent is, with at least half their notes in common.
    void ByNotesInCommon()
    {
        std::unordered_map<std::string_view, std::vector<int>> byName;
        std::unordered_map<int, std::vector<int>> byParent;
        for (int b = 0; b < m_base.Size(); ++b) {
            if (BaseFree(b)) {
                byName[Name(m_base, b)].push_back(b);
                byParent[m_base.Parent(b)].push_back(b);
            }
        }
        // Of each list only the first few are looked at, so that no folder costs more than a
        // few comparisons however many share its name or parent.
        const auto look = [&](const std::vector<int>& list, int x, int& best, double& bestShare) {
            for (size_t i = 0; i < list.size() && i < kMostCandidates; ++i) {
                const int b = list[i];
                if (!BaseFree(b))
                    continue;
                const double share = NotesInCommon(b, x);
                if (share >= bestShare) {
                    best = b;
                    bestShare = share;
                }
            }
        };
        for (int x = 0; x < m_other.Size(); ++x) {
            if (!OtherFree(x))
                continue;
            int best = -1;
            double bestShare = kSameFolderShare;
            if (const auto it = byName.find(Name(m_other, x)); it != byName.end())
                look(it->second, x, best, bestShare);
            const int parent = m_other.Parent(x);
            const int baseParent = parent == RecordTree::kRoot ? RecordTree::kRoot : m_matching.baseOf[static_cast<size_t>(parent)];
            if (parent == RecordTree::kRoot || baseParent >= 0) {
                if (const auto it = byParent.find(baseParent); it != byParent.end())
                    look(it->second, x, best, bestShare);
            }
            if (best >= 0)
                Link(best, x);
        }
    }

    // An unmatched folder and an unmatched base folder that hold more than kAlikeShare of the
    // larger one's lines in common, wherever each is: a folder renamed or moved whose notes were
    // edited too.
    // The most alike pairs are matched first. Only base folders that share a line with the
    // folder are compared with it, and of those the few that share the most.
    void ByLinesInCommon()
    {
        std::unordered_map<size_t, std::vector<int>> holders;
        for (int b = 0; b < m_base.Size(); ++b) {
            if (!BaseFree(b))
                continue;
            const Hashes& lines = LineHashes(m_base, m_baseLines, b);
            for (size_t i = 0; i < lines.size(); ++i) {
                if (i == 0 || lines[i] != lines[i - 1])
                    holders[lines[i]].push_back(b);
            }
        }
        if (holders.empty())
            return;
        struct Alike
        {
            double share;
            int x;
            int b;
        };
        std::vector<Alike> found;
        std::unordered_map<int, size_t> shared;
        std::vector<std::pair<int, size_t>> ranked;
        for (int x = 0; x < m_other.Size(); ++x) {
            if (!OtherFree(x))
                continue;
            const Hashes& lines = LineHashes(m_other, m_otherLines, x);
            shared.clear();
            for (size_t i = 0; i < lines.size(); ++i) {
                if (i > 0 && lines[i] == lines[i - 1])
                    continue;
                // A line many folders hold tells none of them apart.
                const auto it = holders.find(lines[i]);
                if (it != holders.end() && it->second.size() <= kMostCandidates) {
                    for (const int b : it->second)
                        ++shared[b];
                }
            }
            ranked.assign(shared.begin(), shared.end());
            std::sort(ranked.begin(), ranked.end(), [](const auto& a, const auto& b) {
                return a.second > b.second || (a.second == b.second && a.first < b.first);
            });
            for (size_t i = 0; i < ranked.size() && i < kMostCandidates; ++i) {
                const int b = ranked[i].first;
                const double share = ShareInCommon(LineHashes(m_base, m_baseLines, b), lines);
                if (share > kAlikeShare)
                    found.push_back({ share, x, b });
            }
        }
        std::sort(found.begin(), found.end(), [](const Alike& a, const Alike& b) {
            return a.share > b.share || (a.share == b.share && (a.x < b.x || (a.x == b.x && a.b < b.b)));
        });
        for (const Alike& alike : found) {
            if (BaseFree(alike.b) && OtherFree(alike.x))
                Link(alike.b, alike.x);
        }
    }

    const RecordTree& m_base;
    const RecordTree& m_other;
    FolderMatching& m_matching;
    Cache m_baseNotes;
    Cache m_otherNotes;
    Cache m_baseLines;
    Cache m_otherLines;
    // Matched pairs whose children are still to be matched from m_done on.
    std::vector<std::pair<int, int>> m_pending;
    size_t m_done = 0;
};

// Pairs the notes `bs` of `base` with the notes `ss` of `side`, all of one header, by giving each
// pair the number `next`, counted on: each note with one of the same text, in order, then each
// with the one it has the most lines in common with, in order where too many are left to
// compare. Notes of one header are one note edited, however little of it is left.
void PairOneHeader(const std::vector<std::string_view>& base, const std::vector<size_t>& bs,
                   const std::vector<std::string_view>& side, const std::vector<size_t>& ss, std::vector<int>& bn,
                   std::vector<int>& sn, int& next)
{
    const auto pair = [&](size_t b, size_t s) {
        bn[b] = next;
        sn[s] = next++;
    };
    if (bs.size() == 1 && ss.size() == 1) {
        pair(bs.front(), ss.front());
        return;
    }
    std::unordered_map<std::string_view, std::deque<size_t>> byText;
    for (const size_t s : ss)
        byText[side[s]].push_back(s);
    std::vector<size_t> bases;
    for (const size_t b : bs) {
        const auto it = byText.find(base[b]);
        if (it != byText.end() && !it->second.empty()) {
            pair(b, it->second.front());
            it->second.pop_front();
        } else {
            bases.push_back(b);
        }
    }
    std::vector<size_t> sides;
    for (const size_t s : ss) {
        if (sn[s] < 0)
            sides.push_back(s);
    }
    if (bases.empty() || sides.empty())
        return;
    if (bases.size() > kMostComparedNotes || sides.size() > kMostComparedNotes) {
        for (size_t k = 0; k < bases.size() && k < sides.size(); ++k)
            pair(bases[k], sides[k]);
        return;
    }
    std::vector<Hashes> sideLines;
    for (const size_t s : sides)
        sideLines.push_back(SortedHashes(FilledLines(side[s])));
    struct Alike
    {
        double share;
        size_t b;
        size_t s;
    };
    std::vector<Alike> alike;
    for (const size_t b : bases) {
        const Hashes lines = SortedHashes(FilledLines(base[b]));
        for (size_t k = 0; k < sides.size(); ++k)
            alike.push_back({ ShareInCommon(lines, sideLines[k]), b, sides[k] });
    }
    std::stable_sort(alike.begin(), alike.end(), [](const Alike& a, const Alike& b) { return a.share > b.share; });
    for (const Alike& a : alike) {
        if (bn[a.b] < 0 && sn[a.s] < 0)
            pair(a.b, a.s);
    }
}

} // namespace

RecordTree::RecordTree(const std::vector<NotebookSnapshot::Record>& records)
    : m_pRecords(&records)
    , m_parents(records.size(), kRoot)
    , m_children(records.size() + 1)
{
    // The folders whose children come next, each with how many are still to come.
    std::vector<std::pair<int, int>> open;
    for (size_t i = 0; i < records.size(); ++i) {
        const int folder = static_cast<int>(i);
        const int parent = open.empty() ? kRoot : open.back().first;
        if (!open.empty())
            --open.back().second;
        m_parents[i] = parent;
        m_children[static_cast<size_t>(parent + 1)].push_back(folder);
        if (records[i].children > 0)
            open.emplace_back(folder, records[i].children);
        while (!open.empty() && open.back().second <= 0)
            open.pop_back();
    }
}

std::string RecordTree::Path(int folder) const
{
    return JoinFolderPath(
        folder, kRoot, [this](int f) -> const std::string& { return At(f).name; }, [this](int f) { return Parent(f); });
}

FolderMatching MatchFolders(const RecordTree& base, const RecordTree& other, bool bByContent)
{
    FolderMatching matching { std::vector<int>(static_cast<size_t>(other.Size()), -1),
                              std::vector<int>(static_cast<size_t>(base.Size()), -1) };
    Matcher matcher(base, other, matching);
    matcher.ByPath();
    // Each round can find the folders inside those the round before found.
    for (int round = 0; bByContent && round < 4 && matcher.ByContent(); ++round) {
    }
    return matching;
}

std::vector<int> PairNotes(const std::vector<std::string_view>& base, const std::vector<std::string_view>& side)
{
    // Notes of one header, paired by content, share a number; every other note has its own, so
    // that the diff below keeps the pairs that stand in the same order on both sides. What
    // stands before a folder's first note has no header: it pairs with the other side's.
    std::unordered_map<std::string_view, std::pair<std::vector<size_t>, std::vector<size_t>>> byHeader;
    for (size_t i = 0; i < base.size(); ++i)
        byHeader[NoteHeader(base[i])].first.push_back(i);
    for (size_t j = 0; j < side.size(); ++j)
        byHeader[NoteHeader(side[j])].second.push_back(j);
    std::vector<int> bn(base.size(), -1);
    std::vector<int> sn(side.size(), -1);
    int next = 0;
    for (const auto& [header, group] : byHeader)
        PairOneHeader(base, group.first, side, group.second, bn, sn, next);
    for (int& n : bn)
        n = n < 0 ? next++ : n;
    for (int& n : sn)
        n = n < 0 ? next++ : n;
    std::vector<int> pairs(base.size(), -1);
    size_t i = 0;
    size_t j = 0;
    const auto pairUpTo = [&](size_t end) {
        for (; i < end; ++i, ++j)
            pairs[i] = static_cast<int>(j);
    };
    for (const SequenceChange& c : DiffSequences(bn, sn)) {
        pairUpTo(c.baseStart);
        i = c.baseEnd;
        j = c.otherEnd;
    }
    pairUpTo(base.size());
    return pairs;
}

const NotebookSnapshot& InUtf8(const NotebookSnapshot& notebook, std::optional<NotebookSnapshot>& copy)
{
    if (notebook.encoding == TextEncoding::Kind::Utf8)
        return notebook;
    copy = notebook;
    copy->encoding = TextEncoding::Kind::Utf8;
    copy->selectedName = TextEncoding::Cp1252ToUtf8(copy->selectedName);
    for (NotebookSnapshot::Record& record : copy->records) {
        record.name = TextEncoding::Cp1252ToUtf8(record.name);
        record.text = TextEncoding::Cp1252ToUtf8(record.text.View());
    }
    return *copy;
}
