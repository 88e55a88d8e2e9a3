#include "support/NotebookSketch.h"

#include <map>
#include <stdexcept>

#include "format/NotebookWriter.h"
#include "merge/FolderMatch.h"
#include "merge/NotebookMerge.h"
#include "format/NoteText.h"

namespace {

constexpr std::string_view kStops = ",:|<>[]{}";
constexpr std::string_view kHeaderSides = "------ ";

class SketchParser
{
public:
    explicit SketchParser(std::string_view sketch)
        : m_sketch(sketch)
    {
    }

    SketchNotebook Notebook()
    {
        SketchNotebook notebook;
        do
            notebook.top.push_back(Folder());
        while (Take(','));
        if (m_at != m_sketch.size())
            throw std::invalid_argument("sketch: unexpected text at " + std::string(m_sketch.substr(m_at)));
        return notebook;
    }

private:
    bool Take(char ch)
    {
        if (m_at < m_sketch.size() && m_sketch[m_at] == ch) {
            ++m_at;
            return true;
        }
        return false;
    }
    void Expect(char ch)
    {
        if (!Take(ch))
            throw std::invalid_argument(std::string("sketch: expected ") + ch + " at " + std::string(m_sketch.substr(m_at)));
    }
    std::string Token(std::string_view stops = kStops)
    {
        const size_t end = std::min(m_sketch.find_first_of(stops, m_at), m_sketch.size());
        std::string token(m_sketch.substr(m_at, end - m_at));
        m_at = end;
        return token;
    }

    SketchFolder Folder()
    {
        SketchFolder folder;
        folder.name = Token();
        if (Take('{')) {
            folder.key = Token(" }");
            Expect(' ');
            folder.function = Token();
            Expect('}');
        }
        if (Take('<')) {
            while (!Take('>')) {
                const std::string header = Token();
                Expect(':');
                std::vector<std::string> lines;
                do
                    lines.push_back(Token());
                while (Take(','));
                if (lines.size() == 1 && lines.front().empty())
                    lines.clear();
                folder.text += SketchNote(header, lines);
                Take('|');
            }
        }
        if (Take('[')) {
            do
                folder.children.push_back(Folder());
            while (Take(','));
            Expect(']');
        }
        return folder;
    }

    std::string_view m_sketch;
    size_t m_at = 0;
};

std::string NotesSketch(std::string_view text)
{
    std::string out;
    for (const std::string_view note : SplitNotes(text)) {
        if (!out.empty())
            out += '|';
        std::vector<std::string_view> lines = SplitLines(note);
        std::string header;
        if (!NoteHeader(note).empty()) {
            header = std::string(WithoutBreak(lines.front()));
            if (header.starts_with(kHeaderSides) && header.ends_with(" ------") && header.size() >= 2 * kHeaderSides.size())
                header = header.substr(kHeaderSides.size(), header.size() - 2 * kHeaderSides.size());
            lines.erase(lines.begin());
        }
        out += header + ":";
        for (size_t i = 0; i < lines.size(); ++i)
            out += (i ? "," : "") + std::string(WithoutBreak(lines[i]));
    }
    return out;
}

void WriteFolder(const SketchFolder& folder, std::string& out)
{
    out += folder.name;
    if (!folder.key.empty())
        out += "{" + folder.key + " " + folder.function + "}";
    if (!folder.text.empty())
        out += "<" + NotesSketch(folder.text) + ">";
    if (!folder.children.empty()) {
        out += '[';
        for (size_t i = 0; i < folder.children.size(); ++i) {
            if (i)
                out += ',';
            WriteFolder(folder.children[i], out);
        }
        out += ']';
    }
}

void AddRecords(const SketchFolder& folder, std::vector<NotebookSnapshot::Record>& records)
{
    NotebookSnapshot::Record& record = records.emplace_back();
    record.name = folder.name;
    if (!folder.key.empty())
        record.key = KeyAssignment { {}, folder.key, folder.function };
    record.children = static_cast<int>(folder.children.size());
    record.text = folder.text;
    for (const SketchFolder& child : folder.children)
        AddRecords(child, records);
}

SketchFolder FolderOf(const RecordTree& tree, int folder)
{
    const NotebookSnapshot::Record& record = tree.At(folder);
    SketchFolder out { record.name, record.key ? record.key->key : "", record.key ? record.key->function : "",
                       std::string(record.text.View()), {} };
    for (const int child : tree.Children(folder))
        out.children.push_back(FolderOf(tree, child));
    return out;
}

// A folder with its parent's list and its place there.
struct Place
{
    SketchFolder* pFolder;
    std::vector<SketchFolder>* pSiblings;
    size_t index;
    bool bTop;
};

void CollectPlaces(std::vector<SketchFolder>& siblings, bool bTop, std::vector<Place>& out)
{
    for (size_t i = 0; i < siblings.size(); ++i) {
        out.push_back({ &siblings[i], &siblings, i, bTop });
        CollectPlaces(siblings[i].children, false, out);
    }
}

std::vector<Place> Places(SketchNotebook& notebook)
{
    std::vector<Place> places;
    CollectPlaces(notebook.top, true, places);
    return places;
}

std::string JoinNotes(const std::vector<std::string>& notes)
{
    std::string text;
    for (const std::string& note : notes)
        text += note;
    return text;
}

// Every line that is a note's header (the editor's rule), with how often it comes.
std::map<std::string, int> HeaderCounts(const std::string& bytes)
{
    std::map<std::string, int> counts;
    for (const std::string_view line : SplitLines(bytes)) {
        const std::string_view bare = WithoutBreak(line);
        if (IsHeaderLine(bare))
            ++counts[std::string(bare)];
    }
    return counts;
}

// Each note of a notebook by its header line.
std::map<std::string, std::string> NotesByHeader(const NotebookSnapshot& notebook)
{
    std::map<std::string, std::string> notes;
    for (const NotebookSnapshot::Record& record : notebook.records) {
        for (const std::string_view note : SplitNotes(record.text))
            notes[std::string(NoteHeader(note))] = note;
    }
    return notes;
}

// A note of `side` missing from the merged bytes, or a change it made that the merge lost
// although `other` left that note as the base had it or removed it.
std::string LostNote(const NotebookSnapshot& base, const NotebookSnapshot& side, const NotebookSnapshot& other,
                     const std::string& mergedBytes, const char* sideName)
{
    const std::map<std::string, int> merged = HeaderCounts(mergedBytes);
    const std::map<std::string, std::string> otherNotes = NotesByHeader(other);
    const std::map<std::string, int> baseCounts = HeaderCounts(NotebookBytes(base));
    const std::map<std::string, int> otherCounts = HeaderCounts(NotebookBytes(other));
    const std::map<std::string, std::string> baseNotes = NotesByHeader(base);
    const std::map<std::string, std::string> sideNotes = NotesByHeader(side);
    const auto count = [](const std::map<std::string, int>& counts, const std::string& header) {
        const auto it = counts.find(header);
        return it == counts.end() ? 0 : it->second;
    };
    const auto noteOf = [](const std::map<std::string, std::string>& notes, const std::string& header) {
        const auto it = notes.find(header);
        return it == notes.end() ? std::string() : it->second;
    };
    for (const auto& [header, n] : HeaderCounts(NotebookBytes(side))) {
        if (n != 1)
            continue;
        if (count(merged, header) > 0) {
            const std::string mine = noteOf(sideNotes, header);
            const std::string was = noteOf(baseNotes, header);
            const std::string others = noteOf(otherNotes, header);
            if (mine != was && (others == was || others.empty()) && mergedBytes.find(mine) == std::string::npos)
                return std::string("the change ") + sideName + " made to the note \"" + header + "\" is lost";
            continue;
        }
        const bool bRemovedUnchanged = count(baseCounts, header) == 1 && count(otherCounts, header) == 0
            && baseNotes.count(header) && sideNotes.count(header) && baseNotes.at(header) == sideNotes.at(header);
        if (!bRemovedUnchanged)
            return std::string("the note \"") + header + "\" of " + sideName + " is lost";
    }
    return {};
}

} // namespace

std::string SketchNote(const std::string& header, const std::vector<std::string>& lines)
{
    std::string note = header.empty() ? std::string() : std::string(kHeaderSides) + header + " ------\r\n";
    for (const std::string& line : lines)
        note += line + "\r\n";
    return note;
}

SketchNotebook ParseSketch(std::string_view sketch)
{
    return SketchParser(sketch).Notebook();
}

std::string WriteSketch(const SketchNotebook& notebook)
{
    std::string out;
    for (size_t i = 0; i < notebook.top.size(); ++i) {
        if (i)
            out += ',';
        WriteFolder(notebook.top[i], out);
    }
    return out;
}

NotebookSnapshot ToSnapshot(const SketchNotebook& notebook)
{
    NotebookSnapshot snapshot;
    snapshot.selectedName = notebook.selected;
    snapshot.date = notebook.date;
    snapshot.time = notebook.time;
    snapshot.text = notebook.text;
    snapshot.promptDelete = notebook.prompt;
    for (const SketchFolder& folder : notebook.top)
        AddRecords(folder, snapshot.records);
    return snapshot;
}

SketchNotebook FromSnapshot(const NotebookSnapshot& snapshot)
{
    SketchNotebook notebook;
    const RecordTree tree(snapshot.records);
    for (const int folder : tree.Children(RecordTree::kRoot))
        notebook.top.push_back(FolderOf(tree, folder));
    notebook.selected = snapshot.selectedName;
    notebook.date = snapshot.date;
    notebook.time = snapshot.time;
    notebook.text = snapshot.text;
    notebook.prompt = snapshot.promptDelete;
    return notebook;
}

std::string NotebookBytes(const NotebookSnapshot& snapshot)
{
    std::string bytes;
    WriteNotebook(snapshot, [&](std::string_view chunk) {
        bytes += chunk;
        return true;
    });
    return bytes;
}

std::string SketchEditor::NewNote()
{
    const int number = m_nextNote++;
    std::vector<std::string> lines;
    for (uint32_t i = 0, count = 1 + Pick(3); i < count; ++i)
        lines.push_back("w" + std::to_string(number) + "." + std::to_string(i));
    return SketchNote("n" + std::to_string(number), lines);
}

std::string SketchEditor::NewName()
{
    static const char* const kNames[] = { "A", "B", "C", "Notes", "Ideas" };
    return kNames[Pick(5)];
}

SketchNotebook SketchEditor::Generate()
{
    SketchNotebook notebook;
    notebook.top.push_back({ "Main", {}, {}, NewNote(), {} });
    for (uint32_t i = 0, count = 2 + Pick(6); i < count; ++i) {
        std::vector<Place> places = Places(notebook);
        SketchFolder& parent = *places[Pick(static_cast<uint32_t>(places.size()))].pFolder;
        SketchFolder folder { NewName(), {}, {}, {}, {} };
        for (uint32_t n = 0, notes = Pick(4); n < notes; ++n)
            folder.text += NewNote();
        parent.children.push_back(std::move(folder));
    }
    notebook.top.push_back({ "Trash", "F3", "Move", Pick(2) ? NewNote() : std::string(), {} });
    return notebook;
}

void SketchEditor::Edit(SketchNotebook& notebook, int count)
{
    for (int edit = 0; edit < count; ++edit) {
        std::vector<Place> places = Places(notebook);
        Place place = places[Pick(static_cast<uint32_t>(places.size()))];
        SketchFolder& folder = *place.pFolder;
        std::vector<std::string> notes;
        for (const std::string_view note : SplitNotes(folder.text))
            notes.emplace_back(note);
        switch (Pick(10)) {
        case 0: // a note added
            notes.insert(notes.begin() + Pick(static_cast<uint32_t>(notes.size() + 1)), NewNote());
            folder.text = JoinNotes(notes);
            break;
        case 1: // a note removed
            if (!notes.empty()) {
                notes.erase(notes.begin() + Pick(static_cast<uint32_t>(notes.size())));
                folder.text = JoinNotes(notes);
            }
            break;
        case 2: { // a note's line changed, added or removed; its header stays
            if (notes.empty())
                break;
            std::string& note = notes[Pick(static_cast<uint32_t>(notes.size()))];
            std::vector<std::string> lines;
            for (const std::string_view line : SplitLines(note))
                lines.emplace_back(line);
            const size_t first = NoteHeader(note).empty() ? 0 : 1;
            const size_t at = first + Pick(static_cast<uint32_t>(lines.size() - first + 1));
            const std::string word = "e" + std::to_string(m_nextNote++);
            switch (Pick(3)) {
            case 0:
                if (at < lines.size()) {
                    lines[at].insert(lines[at].ends_with("\r\n") ? lines[at].size() - 2 : lines[at].size(), " " + word);
                    break;
                }
                [[fallthrough]];
            case 1:
                lines.insert(lines.begin() + static_cast<ptrdiff_t>(at), word + "\r\n");
                break;
            default:
                if (at < lines.size())
                    lines.erase(lines.begin() + static_cast<ptrdiff_t>(at));
                break;
            }
            note = JoinNotes(lines);
            folder.text = JoinNotes(notes);
            break;
        }
        case 3: // a folder added
            if (folder.name != "Trash") {
                SketchFolder added { NewName(), {}, {}, NewNote(), {} };
                folder.children.insert(folder.children.begin() + Pick(static_cast<uint32_t>(folder.children.size() + 1)), std::move(added));
            }
            break;
        case 4: // a folder removed
            if (!place.bTop)
                place.pSiblings->erase(place.pSiblings->begin() + static_cast<ptrdiff_t>(place.index));
            break;
        case 5: // a folder renamed
            if (!place.bTop)
                folder.name = NewName();
            break;
        case 6: { // a folder moved under another
            if (place.bTop)
                break;
            SketchFolder moved = std::move(folder);
            place.pSiblings->erase(place.pSiblings->begin() + static_cast<ptrdiff_t>(place.index));
            std::vector<Place> targets;
            for (const Place& target : Places(notebook)) {
                if (target.pFolder->name != "Trash" || !target.bTop)
                    targets.push_back(target);
            }
            std::vector<SketchFolder>& children = targets[Pick(static_cast<uint32_t>(targets.size()))].pFolder->children;
            children.insert(children.begin() + Pick(static_cast<uint32_t>(children.size() + 1)), std::move(moved));
            break;
        }
        case 7: // a key given or taken
            if (!place.bTop) {
                static const char* const kKeys[] = { "", "F4", "F5" };
                folder.key = kKeys[Pick(3)];
                folder.function = folder.key.empty() ? "" : Pick(2) ? "Move" : "Copy";
            }
            break;
        case 8: { // a preference changed
            int* const prefs[] = { &notebook.date, &notebook.time, &notebook.text, &notebook.prompt };
            int& pref = *prefs[Pick(4)];
            pref = 1 - pref;
            break;
        }
        default:
            notebook.selected = folder.name;
            break;
        }
    }
}

std::string CheckMergeProperties(const NotebookSnapshot& base, const NotebookSnapshot& x, const NotebookSnapshot& y)
{
    const MergeOptions options { "(theirs)" };
    const auto same = [&](const NotebookSnapshot& merged, const NotebookSnapshot& expected, const char* what) {
        if (NotebookBytes(merged) == NotebookBytes(expected))
            return std::string();
        return std::string(what) + " differs:\n  base   " + WriteSketch(FromSnapshot(base)) + "\n  merged "
            + WriteSketch(FromSnapshot(merged)) + "\n  wanted " + WriteSketch(FromSnapshot(expected));
    };
    std::string failure = same(MergeNotebooks(base, x, base, options).notebook, x, "merge(B, X, B)");
    if (failure.empty())
        failure = same(MergeNotebooks(base, base, y, options).notebook, y, "merge(B, B, Y)");
    if (failure.empty())
        failure = same(MergeNotebooks(base, x, x, options).notebook, x, "merge(B, X, X)");
    if (!failure.empty())
        return failure;
    const MergeResult merged = MergeNotebooks(base, x, y, options);
    const std::string bytes = NotebookBytes(merged.notebook);
    failure = LostNote(base, x, y, bytes, "X");
    if (failure.empty())
        failure = LostNote(base, y, x, bytes, "Y");
    if (failure.empty())
        return {};
    return failure + ":\n  base   " + WriteSketch(FromSnapshot(base)) + "\n  X      " + WriteSketch(FromSnapshot(x))
        + "\n  Y      " + WriteSketch(FromSnapshot(y)) + "\n  merged " + WriteSketch(FromSnapshot(merged.notebook));
}
