#include "NotebookGenerator.h"

#include <cstdio>
#include <string_view>
#include <vector>

#include "CliNotebook.h"
#include "notes/CQuillboxEditView.h"

std::optional<NotebookShape> ParseShape(const std::string& name)
{
    if (name == "balanced")
        return NotebookShape::Balanced;
    if (name == "deep")
        return NotebookShape::Deep;
    if (name == "wide")
        return NotebookShape::Wide;
    if (name == "bigfolder")
        return NotebookShape::BigFolder;
    if (name == "longline")
        return NotebookShape::LongLine;
    if (name == "longwords")
        return NotebookShape::LongWords;
    return std::nullopt;
}

namespace {

std::string Note(int note, int index)
{
    return "------ New Note 12/" + std::to_string(10 + note % 19) + "/97 ------\r\n" + "Note "
           + std::to_string(note) + " of folder " + std::to_string(index) + ": a line of text of some length.\r\n"
           + "A second line, and then an empty one.\r\n\r\n";
}

std::string NotesFor(int index, int notes)
{
    std::string text;
    for (int note = 1; note <= notes; ++note)
        text += Note(note, index);
    return text;
}

// `count` notes that together come close to the editor's limit.
std::string BigText(int count)
{
    const size_t target = CQuillboxEditView::kTextLimit - CQuillboxEditView::kTextLimit / 100;
    const size_t perNote = count > 0 ? target / static_cast<size_t>(count) : 0;
    std::string text;
    text.reserve(target);
    for (int note = 1; note <= count; ++note) {
        std::string one = Note(note, 1);
        one.resize(one.size() - 4); // the closing line break and the empty line
        while (one.size() + 4 < perNote)
            one += " more words";
        text += one + "\r\n\r\n";
    }
    return text;
}

// One line of `bytes` bytes of Greek letters, two bytes each, without a space: a pasted blob
// that the editor can wrap nowhere but anywhere, and short enough in characters to type in.
// With `bWords`, a space after every seven letters: a paragraph of words that long.
std::string LongLine(int bytes, bool bWords)
{
    static constexpr std::string_view kLetters[] = { "\xCE\xB1", "\xCE\xB2", "\xCE\xB3", "\xCE\xB4", "\xCE\xB5" };
    std::string text;
    text.reserve(static_cast<size_t>(bytes) + 2);
    for (size_t i = 0; text.size() + 2 <= static_cast<size_t>(bytes); ++i)
        text += bWords && i % 8 == 7 ? std::string_view(" ") : kLetters[i % 5];
    return text + "\r\n";
}

} // namespace

void GrowNotebook(HeadlessNotebook& nb, NotebookShape shape, int count, const GrowOptions& options)
{
    nb.doc.OnNewDocument();
    Folder* pMain = nb.doc.FindFolderByName("Main");
    if (shape == NotebookShape::BigFolder || shape == NotebookShape::LongLine || shape == NotebookShape::LongWords) {
        const std::string big = shape == NotebookShape::BigFolder ? BigText(count) : LongLine(count, shape == NotebookShape::LongWords);
        nb.doc.AddFolder(false, "Big", big, true, {}, {});
        nb.tree.SelectItem(pMain->m_hItem);
        nb.doc.AddFolder(false, "Small", NotesFor(1, 3), true, {}, {});
        return;
    }
    std::vector<Folder*> folders { pMain };
    folders.reserve(static_cast<size_t>(count) + 1);
    const auto& keys = nb.doc.GetKeyNames();
    for (int i = 1; i <= count; ++i) {
        Folder* pParent = shape == NotebookShape::Wide ? folders.front()
                          : shape == NotebookShape::Deep ? folders.back()
                                                         : folders[(i - 1) / 10];
        nb.tree.SelectItem(pParent->m_hItem);
        char name[32];
        std::snprintf(name, sizeof name, "Folder %06d", options.bDescending ? count + 1 - i : i);
        nb.doc.AddFolder(false, name, NotesFor(i, options.notesPerFolder), true, {}, {});
        Folder* pNew = nb.doc.GetSelFolder();
        // Keys are set on the folder itself: the key summary need not follow each one here.
        if (i <= static_cast<int>(keys.size()) || options.bEveryKeyed)
            pNew->SetKey(keys[(i - 1) % keys.size()], i % 2 ? "Move" : "Copy");
        folders.push_back(pNew);
    }
    if (options.mainBytes > 0) {
        std::string text;
        text.reserve(options.mainBytes + 256);
        for (int note = 1; text.size() < options.mainBytes; ++note)
            text += Note(note, 0);
        Folder* pLast = nb.doc.GetSelFolder();
        nb.tree.SelectItem(pMain->m_hItem);
        nb.edit.SetText(text);
        nb.tree.SelectItem(pLast->m_hItem);
    }
    nb.doc.UpdateKeySummary();
}
