#include "doc/DiskMerge.h"

#include "doc/FolderMatch.h"
#include "doc/FolderPath.h"
#include "doc/NotebookRead.h"
#include "doc/NotebookSearch.h"

DiskMerge MergeWithDisk(const std::optional<NotebookSnapshot>& base, const NotebookSnapshot& ours, const std::string& path,
                        const std::tm& moment, const MergeOptions& options)
{
    DiskMerge result;
    uint64_t hash = 0;
    result.report = ReadNotebookSnapshot(path, moment, result.disk, &hash);
    if (result.report.status != ReadReport::Status::Ok)
        return result;
    result.diskHash = hash;
    result.merged = base ? MergeNotebooks(*base, ours, result.disk, options) : UnionNotebooks(ours, result.disk, options);
    return result;
}

bool GoToMergeEvent(CQuillboxDoc& doc, const MergeEvent& event)
{
    const Folder* pFolder = FindFolderByPath(doc, event.path);
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
