#include "NotebookGenerator.h"

#include <cstdio>
#include <vector>

#include "HeadlessNotebook.h"

std::optional<NotebookShape> ParseShape(const std::string& name)
{
    if (name == "balanced")
        return NotebookShape::Balanced;
    if (name == "deep")
        return NotebookShape::Deep;
    if (name == "wide")
        return NotebookShape::Wide;
    return std::nullopt;
}

namespace {

std::string NotesFor(int index)
{
    std::string text;
    for (int note = 1; note <= 3; ++note) {
        text += "------ New Note 12/0" + std::to_string(note) + "/97 ------\r\n";
        text += "Note " + std::to_string(note) + " of folder " + std::to_string(index) + ": a line of text of some length.\r\n";
        text += "A second line, and then an empty one.\r\n\r\n";
    }
    return text;
}

} // namespace

void GrowNotebook(HeadlessNotebook& nb, NotebookShape shape, int count)
{
    nb.doc.OnNewDocument();
    std::vector<Folder*> folders { nb.doc.FindFolderByName("Main") };
    folders.reserve(static_cast<size_t>(count) + 1);
    for (int i = 1; i <= count; ++i) {
        Folder* pParent = shape == NotebookShape::Wide ? folders.front()
                          : shape == NotebookShape::Deep ? folders.back()
                                                         : folders[(i - 1) / 10];
        nb.tree.SelectItem(pParent->GetItem());
        char name[32];
        std::snprintf(name, sizeof name, "Folder %06d", i);
        const bool bKeyed = i <= static_cast<int>(nb.doc.m_keyNames.size());
        nb.doc.AddFolder(false, name, NotesFor(i), true, bKeyed ? nb.doc.m_keyNames[i - 1] : std::string(),
                         i % 2 ? "Move" : "Copy");
        folders.push_back(nb.doc.m_pSelFolder);
    }
}
