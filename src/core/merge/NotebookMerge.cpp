#include "merge/NotebookMerge.h"

#include <algorithm>
#include <deque>
#include <map>
#include <optional>
#include <unordered_map>

#include "merge/FolderMatch.h"
#include "model/FolderPath.h"
#include "merge/SequenceMerge.h"

namespace {

using Record = NotebookSnapshot::Record;
using Source = MergeRegion::Source;
using Kind = MergeEvent::Kind;
constexpr int kRoot = RecordTree::kRoot;

// Appends a note or a line; one that did not end in a line break (the last of its text) gets
// one when another follows it.
void Append(std::string& out, std::string_view piece)
{
    if (!out.empty() && out.back() != '\n' && !piece.empty())
        out += "\r\n";
    out += piece;
}

void AppendAll(std::string& out, const std::vector<std::string_view>& pieces, size_t from, size_t to)
{
    for (size_t i = from; i < to; ++i)
        Append(out, pieces[i]);
}

// The key of a folder's record and its function, empty when it has none.
struct KeyFields
{
    std::string key;
    std::string function;

    static KeyFields Of(const Record& record)
    {
        return record.key ? KeyFields { record.key->key, record.key->function } : KeyFields {};
    }
};

// The three-way choice of one field: a change made on one side only is taken, as is one made
// alike on both; when both changed it differently, ours is taken and bConflict set.
template <typename T>
const T& Choose(const T& base, const T& ours, const T& theirs, bool& bConflict)
{
    if (ours == base)
        return theirs;
    if (theirs != base && theirs != ours)
        bConflict = true;
    return ours;
}

// A folder's texts merged note by note, and each note both sides changed line by line.
class TextMerge
{
public:
    // What happened to a note, to be told with its folder's path once that is known.
    struct NoteEvent
    {
        Kind kind;
        std::string header;
    };

    TextMerge(const MergeOptions& options, bool bUnion)
        : m_theirsLine(options.theirsLine)
        , m_bUnion(bUnion)
    {
    }

    SharedText Merge(const SharedText& base, const SharedText& ours, const SharedText& theirs, std::vector<NoteEvent>& events)
    {
        if (ours.View() == base.View() || ours.View() == theirs.View())
            return theirs.View() == base.View() || ours.View() == theirs.View() ? ours : theirs;
        if (theirs.View() == base.View())
            return ours;
        m_pEvents = &events;
        const std::vector<std::string_view> b = SplitNotes(base);
        const std::vector<std::string_view> o = SplitNotes(ours);
        const std::vector<std::string_view> t = SplitNotes(theirs);
        PieceNumbers numbering;
        const std::vector<int> bn = numbering.Of(b);
        const std::vector<int> on = numbering.Of(o);
        const std::vector<int> tn = numbering.Of(t);
        std::string out;
        out.reserve(std::max(ours.size(), theirs.size()));
        for (const MergeRegion& r : MergeSequences(bn, on, tn)) {
            switch (r.source) {
            case Source::Base:
                AppendAll(out, b, r.baseStart, r.baseEnd);
                break;
            case Source::Ours:
            case Source::Both:
                AppendAll(out, o, r.oursStart, r.oursEnd);
                break;
            case Source::Theirs:
                AppendAll(out, t, r.theirsStart, r.theirsEnd);
                break;
            case Source::Conflict:
                Resolve(out, { b.begin() + static_cast<ptrdiff_t>(r.baseStart), b.begin() + static_cast<ptrdiff_t>(r.baseEnd) },
                        { o.begin() + static_cast<ptrdiff_t>(r.oursStart), o.begin() + static_cast<ptrdiff_t>(r.oursEnd) },
                        { t.begin() + static_cast<ptrdiff_t>(r.theirsStart), t.begin() + static_cast<ptrdiff_t>(r.theirsEnd) });
                break;
            }
        }
        if (m_bUnion)
            out = KeepEachNoteOnce(out, o, t);
        return SharedText(std::move(out));
    }

private:
    // Notes both sides changed at one place.
    void Resolve(std::string& out, const std::vector<std::string_view>& b, const std::vector<std::string_view>& o,
                 const std::vector<std::string_view>& t)
    {
        if (b.empty()) {
            // Both added notes here: ours first, then those of theirs that ours did not add too.
            AppendAll(out, o, 0, o.size());
            std::unordered_map<std::string_view, int> added;
            for (const std::string_view note : o)
                ++added[note];
            for (const std::string_view note : t) {
                if (added[note]-- <= 0)
                    Append(out, note);
            }
            return;
        }
        const std::vector<int> oursOf = PairNotes(b, o);
        const std::vector<int> theirsOf = PairNotes(b, t);
        size_t oursDone = 0;
        size_t theirsDone = 0;
        for (size_t i = 0; i < b.size(); ++i) {
            const int oi = oursOf[i];
            const int ti = theirsOf[i];
            if (oi >= 0) {
                AppendAll(out, o, oursDone, static_cast<size_t>(oi));
                oursDone = static_cast<size_t>(oi) + 1;
            }
            if (ti >= 0) {
                AppendAll(out, t, theirsDone, static_cast<size_t>(ti));
                theirsDone = static_cast<size_t>(ti) + 1;
            }
            MergeNote(out, b[i], oi >= 0 ? std::optional(o[static_cast<size_t>(oi)]) : std::nullopt,
                      ti >= 0 ? std::optional(t[static_cast<size_t>(ti)]) : std::nullopt);
        }
        AppendAll(out, o, oursDone, o.size());
        AppendAll(out, t, theirsDone, t.size());
    }

    void MergeNote(std::string& out, std::string_view base, std::optional<std::string_view> ours, std::optional<std::string_view> theirs)
    {
        const bool bOursChanged = ours != base;
        const bool bTheirsChanged = theirs != base;
        if (!bOursChanged || !bTheirsChanged || ours == theirs) {
            // One side's change, or a change made alike, or a deletion of an unchanged note.
            const std::optional<std::string_view> kept = bOursChanged ? ours : theirs;
            if (kept)
                Append(out, *kept);
            return;
        }
        if (!ours || !theirs) {
            const std::string_view kept = ours ? *ours : *theirs;
            Append(out, kept);
            m_pEvents->push_back({ ours ? Kind::NoteDeletedByTheirs : Kind::NoteDeletedByOurs, std::string(NoteHeader(kept)) });
            return;
        }
        const std::vector<std::string_view> b = SplitLines(base);
        const std::vector<std::string_view> o = SplitLines(*ours);
        const std::vector<std::string_view> t = SplitLines(*theirs);
        PieceNumbers numbering;
        const std::vector<MergeRegion> regions
            = MergeSequences(numbering.Of(b), numbering.Of(o), numbering.Of(t), TouchingChanges::Conflict);
        if (std::any_of(regions.begin(), regions.end(), [](const MergeRegion& r) { return r.source == Source::Conflict; })) {
            Append(out, *ours);
            AppendMarked(out, *theirs);
            m_pEvents->push_back({ Kind::NoteKeptTwice, std::string(NoteHeader(*ours)) });
            return;
        }
        std::string note;
        for (const MergeRegion& r : regions) {
            if (r.source == Source::Base)
                AppendAll(note, b, r.baseStart, r.baseEnd);
            else if (r.source == Source::Theirs)
                AppendAll(note, t, r.theirsStart, r.theirsEnd);
            else
                AppendAll(note, o, r.oursStart, r.oursEnd);
        }
        Append(out, note);
    }

    // Theirs' version of a note both changed differently, its second line saying so.
    void AppendMarked(std::string& out, std::string_view note)
    {
        std::string marked;
        if (NoteHeader(note).empty()) {
            marked = "------ " + m_theirsLine + " ------\r\n";
            Append(marked, note);
        } else {
            const size_t lf = note.find('\n');
            marked = note.substr(0, lf == std::string_view::npos ? note.size() : lf + 1);
            Append(marked, m_theirsLine + "\r\n");
            if (lf != std::string_view::npos)
                marked += note.substr(lf + 1);
        }
        Append(out, marked);
    }

    // Without a base, a note both copies hold can come out twice where they hold it at
    // different places: each is kept as often as the copy that holds it most often holds it.
    static std::string KeepEachNoteOnce(const std::string& merged, const std::vector<std::string_view>& o,
                                        const std::vector<std::string_view>& t)
    {
        std::unordered_map<std::string_view, int> ours;
        std::unordered_map<std::string_view, int> theirs;
        for (const std::string_view note : o)
            ++ours[note];
        for (const std::string_view note : t)
            ++theirs[note];
        std::unordered_map<std::string_view, int> kept;
        std::string out;
        for (const std::string_view note : SplitNotes(merged)) {
            const auto oi = ours.find(note);
            const auto ti = theirs.find(note);
            const int most = std::max(oi == ours.end() ? 0 : oi->second, ti == theirs.end() ? 0 : ti->second);
            if (most == 0 || kept[note]++ < most)
                Append(out, note);
        }
        return out;
    }

    std::string m_theirsLine;
    bool m_bUnion;
    std::vector<NoteEvent>* m_pEvents = nullptr;
};

// One folder of the merged notebook.
struct Merged
{
    std::string name;
    KeyFields key;
    SharedText text;
    int parent = kRoot;
    bool bParentFromTheirs = false;
    bool bKept = true;
    // The folder on each side, -1 where that side has none.
    int base = -1;
    int ours = -1;
    int theirs = -1;
    std::vector<TextMerge::NoteEvent> noteEvents;
};

// The merged notebook in Windows-1252 when it holds nothing that code page lacks; false, leaving
// it in UTF-8, otherwise.
bool ToCp1252(NotebookSnapshot& notebook, std::vector<MergeEvent>& events)
{
    NotebookSnapshot converted = notebook;
    std::string out;
    const auto convert = [&out](const std::string& from, std::string& to) {
        if (!TextEncoding::Utf8ToCp1252(from, out))
            return false;
        to = out;
        return true;
    };
    if (!convert(notebook.selectedName, converted.selectedName))
        return false;
    for (Record& record : converted.records) {
        std::string text;
        if (!convert(record.name, record.name) || !convert(std::string(record.text.View()), text))
            return false;
        record.text = std::move(text);
    }
    std::vector<MergeEvent> convertedEvents = events;
    for (MergeEvent& event : convertedEvents) {
        if (!convert(event.path, event.path) || !convert(event.header, event.header) || !convert(event.detail, event.detail))
            return false;
    }
    converted.encoding = TextEncoding::Kind::Windows1252;
    notebook = std::move(converted);
    events = std::move(convertedEvents);
    return true;
}

class NotebookMerger
{
public:
    NotebookMerger(const NotebookSnapshot& base, const NotebookSnapshot& ours, const NotebookSnapshot& theirs,
                   const MergeOptions& options, bool bUnion)
        : m_base(InUtf8(base, m_baseCopy))
        , m_ours(InUtf8(ours, m_oursCopy))
        , m_theirs(InUtf8(theirs, m_theirsCopy))
        , m_bWasCp1252(ours.encoding == TextEncoding::Kind::Windows1252 || theirs.encoding == TextEncoding::Kind::Windows1252)
        , m_baseTree(m_base.records)
        , m_oursTree(m_ours.records)
        , m_theirsTree(m_theirs.records)
        , m_oursMatch(MatchFolders(m_baseTree, m_oursTree, !bUnion))
        , m_theirsMatch(MatchFolders(m_baseTree, m_theirsTree, !bUnion))
        , m_text(options, bUnion)
    {
    }

    MergeResult Run()
    {
        MakeFolders();
        MergeFolders();
        BreakCycles();
        KeepHoldersOfKept();
        KeepKeysApart();
        MergeResult result;
        result.notebook = Write(result.events);
        MergeSettings(result);
        if (m_bWasCp1252 && ToCp1252(result.notebook, result.events))
            return result;
        result.notebook.encoding = TextEncoding::Kind::Utf8;
        return result;
    }

private:
    int BaseCount() const { return m_baseTree.Size(); }
    // The merged folder a side's folder is.
    int FromOurs(int o) const
    {
        const int b = m_oursMatch.baseOf[static_cast<size_t>(o)];
        return b >= 0 ? b : BaseCount() + o;
    }
    int FromTheirs(int t) const
    {
        const int b = m_theirsMatch.baseOf[static_cast<size_t>(t)];
        return b >= 0 ? b : m_theirsAdded[static_cast<size_t>(t)];
    }
    int OursParent(int o) const { return m_oursTree.Parent(o) == kRoot ? kRoot : FromOurs(m_oursTree.Parent(o)); }
    int TheirsParent(int t) const { return m_theirsTree.Parent(t) == kRoot ? kRoot : FromTheirs(m_theirsTree.Parent(t)); }

    // One merged folder for each base folder, each folder ours added, and each folder theirs
    // added, but for those both added at one path, which are one.
    void MakeFolders()
    {
        const int oursCount = m_oursTree.Size();
        m_folders.resize(static_cast<size_t>(BaseCount() + oursCount));
        for (int b = 0; b < BaseCount(); ++b) {
            Merged& f = m_folders[static_cast<size_t>(b)];
            f.base = b;
            f.ours = m_oursMatch.otherOf[static_cast<size_t>(b)];
            f.theirs = m_theirsMatch.otherOf[static_cast<size_t>(b)];
        }
        std::map<std::pair<int, std::string_view>, std::deque<int>> oursAdded;
        for (int o = 0; o < oursCount; ++o) {
            if (m_oursMatch.baseOf[static_cast<size_t>(o)] < 0) {
                m_folders[static_cast<size_t>(BaseCount() + o)].ours = o;
                oursAdded[{ OursParent(o), m_oursTree.At(o).name }].push_back(BaseCount() + o);
            }
        }
        // The records run parents first, so a folder's parent is placed before it.
        m_theirsAdded.assign(static_cast<size_t>(m_theirsTree.Size()), -1);
        for (int t = 0; t < m_theirsTree.Size(); ++t) {
            if (m_theirsMatch.baseOf[static_cast<size_t>(t)] >= 0)
                continue;
            std::deque<int>& same = oursAdded[{ TheirsParent(t), m_theirsTree.At(t).name }];
            if (!same.empty()) {
                m_theirsAdded[static_cast<size_t>(t)] = same.front();
                same.pop_front();
            } else {
                m_theirsAdded[static_cast<size_t>(t)] = static_cast<int>(m_folders.size());
                m_folders.emplace_back();
            }
            m_folders[static_cast<size_t>(m_theirsAdded[static_cast<size_t>(t)])].theirs = t;
        }
    }

    void MergeFolders()
    {
        static const Record kNone;
        for (size_t id = 0; id < m_folders.size(); ++id) {
            Merged& f = m_folders[id];
            // A side without the folder takes no part; a folder new to both sides has an empty base.
            const Record& base = f.base >= 0 ? m_baseTree.At(f.base) : kNone;
            const int baseParent = f.base >= 0 ? m_baseTree.Parent(f.base) : kRoot;
            const bool bInBase = f.base >= 0;
            const Record& ours = f.ours >= 0 ? m_oursTree.At(f.ours) : base;
            const Record& theirs = f.theirs >= 0 ? m_theirsTree.At(f.theirs) : base;
            if (f.ours < 0 && f.theirs < 0) {
                f.name = base.name;
                f.key = KeyFields::Of(base);
                f.text = base.text;
                f.parent = baseParent;
                f.bKept = false;
                continue;
            }
            if (!bInBase && (f.ours < 0 || f.theirs < 0)) {
                // Added on one side only.
                const Record& added = f.ours >= 0 ? ours : theirs;
                f.name = added.name;
                f.key = KeyFields::Of(added);
                f.text = added.text;
                f.parent = f.ours >= 0 ? OursParent(f.ours) : TheirsParent(f.theirs);
                f.bParentFromTheirs = f.ours < 0;
                continue;
            }
            bool bRenamed = false;
            f.name = Choose(base.name, ours.name, theirs.name, bRenamed);
            if (bRenamed)
                AddEvent(static_cast<int>(id), Kind::FolderRenamedTwice, {}, theirs.name);
            const int oursParent = f.ours >= 0 ? OursParent(f.ours) : baseParent;
            const int theirsParent = f.theirs >= 0 ? TheirsParent(f.theirs) : baseParent;
            bool bMoved = false;
            f.parent = bInBase ? Choose(baseParent, oursParent, theirsParent, bMoved) : oursParent;
            f.bParentFromTheirs = f.parent != oursParent;
            if (bMoved)
                m_movedTwice.emplace_back(static_cast<int>(id), theirsParent);
            const KeyFields baseKey = KeyFields::Of(base);
            const KeyFields oursKey = KeyFields::Of(ours);
            const KeyFields theirsKey = KeyFields::Of(theirs);
            bool bKeyConflict = false;
            f.key.key = Choose(baseKey.key, oursKey.key, theirsKey.key, bKeyConflict);
            f.key.function = Choose(baseKey.function, oursKey.function, theirsKey.function, bKeyConflict);
            if (f.key.key.empty())
                f.key.function.clear();
            if (bKeyConflict)
                AddEvent(static_cast<int>(id), Kind::KeyKept, {}, theirsKey.key);
            f.text = m_text.Merge(base.text, ours.text, theirs.text, f.noteEvents);
            if (bInBase && (f.ours < 0 || f.theirs < 0)) {
                // Deleted on one side: kept only when the other changed it.
                const int remainingParent = f.ours >= 0 ? oursParent : theirsParent;
                const Record& remaining = f.ours >= 0 ? ours : theirs;
                const bool bChanged = remaining.name != base.name || remainingParent != baseParent
                    || remaining.text.View() != base.text.View() || KeyFields::Of(remaining).key != baseKey.key
                    || KeyFields::Of(remaining).function != baseKey.function;
                f.bKept = bChanged;
                if (bChanged)
                    AddEvent(static_cast<int>(id), f.ours < 0 ? Kind::FolderDeletedByOurs : Kind::FolderDeletedByTheirs);
            }
        }
    }

    // Two moves, each on one side, can put a folder under itself: such a move of theirs gives
    // way to where ours has the folder.
    void BreakCycles()
    {
        std::vector<char> state(m_folders.size(), 0); // 0 unseen, 1 on the walk, 2 known sound
        std::vector<char> reverted(m_folders.size(), 0);
        for (size_t start = 0; start < m_folders.size(); ++start) {
            std::vector<int> walk;
            int at = static_cast<int>(start);
            while (at != kRoot && state[static_cast<size_t>(at)] == 0) {
                state[static_cast<size_t>(at)] = 1;
                walk.push_back(at);
                at = m_folders[static_cast<size_t>(at)].parent;
            }
            if (at != kRoot && state[static_cast<size_t>(at)] == 1) {
                const auto cycle = std::find(walk.begin(), walk.end(), at);
                auto pick = std::find_if(cycle, walk.end(), [&](int id) {
                    return m_folders[static_cast<size_t>(id)].bParentFromTheirs && !reverted[static_cast<size_t>(id)];
                });
                if (pick == walk.end())
                    pick = cycle;
                Merged& f = m_folders[static_cast<size_t>(*pick)];
                const int theirsParent = f.parent;
                if (reverted[static_cast<size_t>(*pick)] || f.ours < 0)
                    f.parent = kRoot;
                else
                    f.parent = OursParent(f.ours);
                f.bParentFromTheirs = false;
                reverted[static_cast<size_t>(*pick)] = 1;
                m_movedTwice.emplace_back(*pick, theirsParent);
                for (const int id : walk)
                    state[static_cast<size_t>(id)] = 0;
                start = static_cast<size_t>(-1);
                continue;
            }
            for (const int id : walk)
                state[static_cast<size_t>(id)] = 2;
        }
    }

    // A folder deleted on one side stays when what the other side keeps lies in it.
    void KeepHoldersOfKept()
    {
        for (size_t id = 0; id < m_folders.size(); ++id) {
            if (!m_folders[id].bKept)
                continue;
            for (int up = m_folders[id].parent; up != kRoot && !m_folders[static_cast<size_t>(up)].bKept;
                 up = m_folders[static_cast<size_t>(up)].parent) {
                Merged& holder = m_folders[static_cast<size_t>(up)];
                holder.bKept = true;
                AddEvent(up, holder.ours < 0 ? Kind::FolderDeletedByOurs : Kind::FolderDeletedByTheirs);
            }
        }
    }

    // One key names one folder: where the merge gave a key to folders that no side gave it to
    // together, the folders ours gave it to keep it.
    void KeepKeysApart()
    {
        std::map<std::string, std::vector<int>> holders;
        for (size_t id = 0; id < m_folders.size(); ++id) {
            if (m_folders[id].bKept && !m_folders[id].key.key.empty())
                holders[m_folders[id].key.key].push_back(static_cast<int>(id));
        }
        for (const auto& holder : holders) {
            const std::string& key = holder.first;
            const std::vector<int>& folders = holder.second;
            if (folders.size() < 2)
                continue;
            const auto holdsIn = [&](const RecordTree& tree, int side) {
                return side >= 0 && tree.At(side).key && tree.At(side).key->key == key;
            };
            std::vector<int> ours;
            std::vector<int> theirs;
            for (const int id : folders) {
                const Merged& f = m_folders[static_cast<size_t>(id)];
                if (holdsIn(m_oursTree, f.ours))
                    ours.push_back(id);
                if (holdsIn(m_theirsTree, f.theirs))
                    theirs.push_back(id);
            }
            if (ours == folders || theirs == folders)
                continue;
            const std::vector<int>& keep = ours.empty() ? theirs : ours;
            for (const int id : folders) {
                if (std::find(keep.begin(), keep.end(), id) != keep.end())
                    continue;
                m_folders[static_cast<size_t>(id)].key = {};
                AddEvent(id, Kind::KeyTaken, {}, key);
            }
        }
    }

    // The children of each folder in the order the three sides' orders merge to.
    std::vector<std::vector<int>> OrderChildren() const
    {
        std::vector<std::vector<int>> children(m_folders.size() + 1);
        for (size_t id = 0; id < m_folders.size(); ++id) {
            if (m_folders[id].bKept)
                children[static_cast<size_t>(m_folders[id].parent + 1)].push_back(static_cast<int>(id));
        }
        std::vector<char> placed(m_folders.size(), 0);
        for (int parent = kRoot; parent < static_cast<int>(m_folders.size()); ++parent) {
            std::vector<int>& list = children[static_cast<size_t>(parent + 1)];
            if (list.size() < 2)
                continue;
            const Merged* pParent = parent == kRoot ? nullptr : &m_folders[static_cast<size_t>(parent)];
            const auto sideOrder = [&](const RecordTree& tree, int side, bool bExists, auto toMerged) {
                std::vector<int> order;
                if (!bExists)
                    return order;
                for (const int child : tree.Children(side))
                    order.push_back(toMerged(child));
                return order;
            };
            const std::vector<int> base = sideOrder(m_baseTree, pParent ? pParent->base : kRoot, !pParent || pParent->base >= 0,
                                                    [](int b) { return b; });
            const std::vector<int> ours = sideOrder(m_oursTree, pParent ? pParent->ours : kRoot, !pParent || pParent->ours >= 0,
                                                    [this](int o) { return FromOurs(o); });
            const std::vector<int> theirs = sideOrder(m_theirsTree, pParent ? pParent->theirs : kRoot,
                                                      !pParent || pParent->theirs >= 0, [this](int t) { return FromTheirs(t); });
            std::vector<int> merged;
            merged.reserve(list.size());
            const auto take = [&](const std::vector<int>& from, size_t start, size_t end, auto wanted) {
                for (size_t i = start; i < end; ++i) {
                    const int id = from[i];
                    const Merged& f = m_folders[static_cast<size_t>(id)];
                    if (f.bKept && f.parent == parent && !placed[static_cast<size_t>(id)] && wanted(f)) {
                        placed[static_cast<size_t>(id)] = 1;
                        merged.push_back(id);
                    }
                }
            };
            const auto any = [](const Merged&) { return true; };
            // A folder one side deleted and the merge keeps stays where the base had it.
            const auto goneFromOurs = [](const Merged& f) { return f.ours < 0; };
            const auto goneFromTheirs = [](const Merged& f) { return f.theirs < 0; };
            const auto goneFromEither = [](const Merged& f) { return f.ours < 0 || f.theirs < 0; };
            for (const MergeRegion& r : MergeSequences(base, ours, theirs)) {
                if (r.source == Source::Base) {
                    take(base, r.baseStart, r.baseEnd, any);
                } else if (r.source == Source::Theirs) {
                    take(theirs, r.theirsStart, r.theirsEnd, any);
                    take(base, r.baseStart, r.baseEnd, goneFromTheirs);
                } else if (r.source == Source::Conflict) {
                    take(ours, r.oursStart, r.oursEnd, any);
                    take(theirs, r.theirsStart, r.theirsEnd, any);
                    take(base, r.baseStart, r.baseEnd, goneFromEither);
                } else {
                    take(ours, r.oursStart, r.oursEnd, any);
                    take(base, r.baseStart, r.baseEnd, goneFromOurs);
                }
            }
            // Folders moved here from elsewhere by one side and placed by no order above.
            take(list, 0, list.size(), any);
            list = std::move(merged);
        }
        return children;
    }

    NotebookSnapshot Write(std::vector<MergeEvent>& events)
    {
        NotebookSnapshot out;
        const std::vector<std::vector<int>> children = OrderChildren();
        // Each folder's parent as written; a path is made only for a folder an event names, so
        // that deep nesting costs no path of every folder.
        std::vector<int> parents(m_folders.size(), kRoot);
        const auto pathOf = [&](int id) {
            return JoinFolderPath(
                id, kRoot, [&](int f) -> const std::string& { return m_folders[static_cast<size_t>(f)].name; },
                [&](int f) { return parents[static_cast<size_t>(f)]; });
        };
        // Pre-order, without recursion: the folders still to write, last first.
        std::vector<int> stack;
        const std::vector<int>& top = children[0];
        for (auto it = top.rbegin(); it != top.rend(); ++it)
            stack.push_back(*it);
        while (!stack.empty()) {
            const int id = stack.back();
            stack.pop_back();
            const Merged& f = m_folders[static_cast<size_t>(id)];
            const std::vector<int>& mine = children[static_cast<size_t>(id + 1)];
            Record& record = out.records.emplace_back();
            record.name = f.name;
            if (!f.key.key.empty())
                record.key = KeyAssignment { {}, f.key.key, f.key.function };
            record.children = static_cast<int>(mine.size());
            record.text = f.text;
            for (auto it = mine.rbegin(); it != mine.rend(); ++it) {
                parents[static_cast<size_t>(*it)] = id;
                stack.push_back(*it);
            }
        }
        // Events in the order of the merged folders, each folder's own before its notes'.
        std::vector<std::pair<int, MergeEvent>> ordered = m_events;
        for (size_t id = 0; id < m_folders.size(); ++id) {
            for (const TextMerge::NoteEvent& note : m_folders[id].noteEvents) {
                if (m_folders[id].bKept)
                    ordered.push_back({ static_cast<int>(id), { note.kind, {}, note.header, {} } });
            }
        }
        for (const auto& [id, theirsParent] : m_movedTwice)
            ordered.push_back({ id, { Kind::FolderMovedTwice, {}, {}, theirsParent == kRoot ? std::string() : pathOf(theirsParent) } });
        std::stable_sort(ordered.begin(), ordered.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
        for (auto& [id, event] : ordered) {
            event.path = pathOf(id);
            events.push_back(std::move(event));
        }
        return out;
    }

    void MergeSettings(MergeResult& result) const
    {
        NotebookSnapshot& out = result.notebook;
        const auto setting = [&](int NotebookSnapshot::*member, const char* keyword) {
            bool bConflict = false;
            out.*member = Choose(m_base.*member, m_ours.*member, m_theirs.*member, bConflict);
            if (bConflict)
                result.events.push_back({ Kind::SettingKept, {}, {}, keyword });
        };
        setting(&NotebookSnapshot::date, "Date");
        setting(&NotebookSnapshot::time, "Time");
        setting(&NotebookSnapshot::text, "Text");
        setting(&NotebookSnapshot::promptDelete, "Prompt");
        bool bIgnored = false;
        out.selectedName = Choose(m_base.selectedName, m_ours.selectedName, m_theirs.selectedName, bIgnored);
    }

    void AddEvent(int id, Kind kind, std::string header = {}, std::string detail = {})
    {
        m_events.push_back({ id, { kind, {}, std::move(header), std::move(detail) } });
    }

    // Merged in UTF-8, converted when needed.
    std::optional<NotebookSnapshot> m_baseCopy;
    std::optional<NotebookSnapshot> m_oursCopy;
    std::optional<NotebookSnapshot> m_theirsCopy;
    const NotebookSnapshot& m_base;
    const NotebookSnapshot& m_ours;
    const NotebookSnapshot& m_theirs;
    const bool m_bWasCp1252;
    const RecordTree m_baseTree;
    const RecordTree m_oursTree;
    const RecordTree m_theirsTree;
    const FolderMatching m_oursMatch;
    const FolderMatching m_theirsMatch;
    TextMerge m_text;
    // Merged folders: the base's by their number, then ours' added ones at BaseCount() + their
    // number in ours, then theirs' added ones; m_theirsAdded gives each of those its merged folder.
    std::vector<Merged> m_folders;
    std::vector<int> m_theirsAdded;
    // Events about folders, by merged folder; folders moved differently, with theirs' parent.
    std::vector<std::pair<int, MergeEvent>> m_events;
    std::vector<std::pair<int, int>> m_movedTwice;
};

// What two copies with no common base both hold: the folders at the same paths, with the notes
// both hold (in ours' order), the keys and preferences of theirs (so that ours wins where they
// differ).
NotebookSnapshot CommonBase(const NotebookSnapshot& ours, const NotebookSnapshot& theirs)
{
    const RecordTree oursTree(ours.records);
    const RecordTree theirsTree(theirs.records);
    const FolderMatching match = MatchFolders(oursTree, theirsTree, false);
    NotebookSnapshot base = theirs;
    base.records.clear();
    // Path matching goes from the top down: a matched folder's parent is matched too.
    std::vector<int> recordOf(ours.records.size(), -1);
    for (int o = 0; o < oursTree.Size(); ++o) {
        const int t = match.otherOf[static_cast<size_t>(o)];
        if (t < 0)
            continue;
        recordOf[static_cast<size_t>(o)] = static_cast<int>(base.records.size());
        if (oursTree.Parent(o) != kRoot)
            ++base.records[static_cast<size_t>(recordOf[static_cast<size_t>(oursTree.Parent(o))])].children;
        Record& record = base.records.emplace_back();
        record.name = oursTree.At(o).name;
        record.key = theirsTree.At(t).key;
        const std::vector<std::string_view> on = SplitNotes(oursTree.At(o).text);
        const std::vector<std::string_view> tn = SplitNotes(theirsTree.At(t).text);
        PieceNumbers numbering;
        const std::vector<int> oi = numbering.Of(on);
        std::string common;
        size_t done = 0;
        for (const SequenceChange& c : DiffSequences(oi, numbering.Of(tn))) {
            AppendAll(common, on, done, c.baseStart);
            done = c.baseEnd;
        }
        AppendAll(common, on, done, on.size());
        record.text = std::move(common);
    }
    return base;
}

} // namespace

bool MergeResult::HasConflicts() const
{
    return std::any_of(events.begin(), events.end(), [](const MergeEvent& e) { return e.IsConflict(); });
}

MergeResult MergeNotebooks(const NotebookSnapshot& base, const NotebookSnapshot& ours, const NotebookSnapshot& theirs,
                           const MergeOptions& options)
{
    return NotebookMerger(base, ours, theirs, options, false).Run();
}

MergeResult UnionNotebooks(const NotebookSnapshot& ours, const NotebookSnapshot& theirs, const MergeOptions& options)
{
    std::optional<NotebookSnapshot> oursCopy;
    std::optional<NotebookSnapshot> theirsCopy;
    NotebookSnapshot base = CommonBase(InUtf8(ours, oursCopy), InUtf8(theirs, theirsCopy));
    base.encoding = TextEncoding::Kind::Utf8;
    return NotebookMerger(base, ours, theirs, options, true).Run();
}
