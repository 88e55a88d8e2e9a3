#include "merge/DiskMerge.h"

#include "format/NotebookReader.h"

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
