#include "window/GoToMergeEvent.h"

#include "format/NoteText.h"
#include "model/FolderPath.h"
#include "search/NotebookSearch.h"

bool GoToMergeEvent(CQuillboxDoc& doc, const MergeEvent& event)
{
    const Folder* pFolder = FindFolderByPath(doc.GetFolderTree(), event.path);
    if (!pFolder)
        return false;
    int line = -1;
    if (!event.header.empty()) {
        const SharedText text = doc.GetFolderText(pFolder);
        const std::vector<std::string_view> lines = SplitLines(text.View());
        for (size_t i = 0; i < lines.size() && line < 0; ++i) {
            if (FirstLine(lines[i]) == event.header)
                line = static_cast<int>(i);
        }
    }
    GoToSearchHit(doc, pFolder, line, 0, line < 0 ? 0 : event.header.size());
    return true;
}
