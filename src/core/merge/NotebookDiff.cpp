#include "merge/NotebookDiff.h"

#include <optional>

#include "merge/FolderMatch.h"
#include "merge/SequenceMerge.h"

namespace {

using Kind = NotebookChange::Kind;

NotebookChange NoteChange(Kind kind, const std::string& path, std::string_view older, std::string_view newer)
{
    NotebookChange change { kind, path, {}, std::string(NoteHeader(kind == Kind::NoteRemoved ? older : newer)), {} };
    const std::vector<std::string_view> a = SplitLines(older);
    const std::vector<std::string_view> b = SplitLines(newer);
    PieceNumbers numbering;
    for (const SequenceChange& c : DiffSequences(numbering.Of(a), numbering.Of(b))) {
        for (size_t i = c.baseStart; i < c.baseEnd; ++i)
            change.lines.push_back("-" + std::string(WithoutBreak(a[i])));
        for (size_t i = c.otherStart; i < c.otherEnd; ++i)
            change.lines.push_back("+" + std::string(WithoutBreak(b[i])));
    }
    return change;
}

void DiffNotes(const std::string& path, std::string_view older, std::string_view newer, std::vector<NotebookChange>& out)
{
    if (older == newer)
        return;
    const std::vector<std::string_view> a = SplitNotes(older);
    const std::vector<std::string_view> b = SplitNotes(newer);
    PieceNumbers numbering;
    for (const SequenceChange& c : DiffSequences(numbering.Of(a), numbering.Of(b))) {
        const std::vector<std::string_view> gone(a.begin() + static_cast<ptrdiff_t>(c.baseStart), a.begin() + static_cast<ptrdiff_t>(c.baseEnd));
        const std::vector<std::string_view> came(b.begin() + static_cast<ptrdiff_t>(c.otherStart), b.begin() + static_cast<ptrdiff_t>(c.otherEnd));
        const std::vector<int> pairs = PairNotes(gone, came);
        size_t next = 0;
        for (size_t i = 0; i < gone.size(); ++i) {
            if (pairs[i] < 0) {
                out.push_back(NoteChange(Kind::NoteRemoved, path, gone[i], {}));
                continue;
            }
            for (; next < static_cast<size_t>(pairs[i]); ++next)
                out.push_back(NoteChange(Kind::NoteAdded, path, {}, came[next]));
            out.push_back(NoteChange(Kind::NoteChanged, path, gone[i], came[next++]));
        }
        for (; next < came.size(); ++next)
            out.push_back(NoteChange(Kind::NoteAdded, path, {}, came[next]));
    }
}

} // namespace

std::vector<NotebookChange> DiffNotebooks(const NotebookSnapshot& older, const NotebookSnapshot& newer)
{
    std::optional<NotebookSnapshot> olderCopy;
    std::optional<NotebookSnapshot> newerCopy;
    const RecordTree a(InUtf8(older, olderCopy).records);
    const RecordTree b(InUtf8(newer, newerCopy).records);
    const FolderMatching match = MatchFolders(a, b);
    std::vector<NotebookChange> changes;
    // A path is made only for a folder a change names, so that deep nesting costs no path of
    // every folder.
    for (int folder = 0; folder < b.Size(); ++folder) {
        const int was = match.baseOf[static_cast<size_t>(folder)];
        if (was < 0) {
            const std::string path = b.Path(folder);
            changes.push_back({ Kind::FolderAdded, path, {}, {}, {} });
            DiffNotes(path, {}, b.At(folder).text, changes);
            continue;
        }
        const int parent = b.Parent(folder);
        const int parentWas = parent == RecordTree::kRoot ? RecordTree::kRoot : match.baseOf[static_cast<size_t>(parent)];
        const bool bMoved = parentWas != a.Parent(was);
        const bool bRenamed = a.At(was).name != b.At(folder).name;
        if (!bMoved && !bRenamed && a.At(was).text.View() == b.At(folder).text.View())
            continue;
        const std::string path = b.Path(folder);
        if (bMoved)
            changes.push_back({ Kind::FolderMoved, path, a.Path(was), {}, {} });
        else if (bRenamed)
            changes.push_back({ Kind::FolderRenamed, path, a.Path(was), {}, {} });
        DiffNotes(path, a.At(was).text, b.At(folder).text, changes);
    }
    for (int folder = 0; folder < a.Size(); ++folder) {
        if (match.otherOf[static_cast<size_t>(folder)] >= 0)
            continue;
        const std::string path = a.Path(folder);
        changes.push_back({ Kind::FolderRemoved, path, {}, {}, {} });
        DiffNotes(path, a.At(folder).text, {}, changes);
    }
    return changes;
}
