#include "merge/DiskMerge.h"

#include <algorithm>

#include "format/NotebookReader.h"

bool SameNotebook(const NotebookSnapshot& a, const NotebookSnapshot& b)
{
    const auto sameRecord = [](const NotebookSnapshot::Record& x, const NotebookSnapshot::Record& y) {
        return x.name == y.name && x.children == y.children && x.text.View() == y.text.View()
            && x.key.has_value() == y.key.has_value() && (!x.key || (x.key->key == y.key->key && x.key->function == y.key->function));
    };
    return a.encoding == b.encoding && a.records.size() == b.records.size()
        && std::equal(a.records.begin(), a.records.end(), b.records.begin(), sameRecord);
}

MergeResult MergeFromBase(const BaseFinder& findBase, const NotebookSnapshot& ours, const NotebookSnapshot& theirs,
                          const MergeOptions& options)
{
    if (const std::optional<NotebookSnapshot> base = findBase ? findBase(ours, theirs) : std::nullopt)
        return MergeNotebooks(*base, ours, theirs, options);
    MergeResult result = UnionNotebooks(ours, theirs, options);
    result.events.insert(result.events.begin(), MergeEvent { MergeEvent::Kind::NoCommonVersion });
    return result;
}

DiskMerge MergeWithDisk(const BaseFinder& findBase, const NotebookSnapshot& ours, const std::string& path, const std::tm& moment,
                        const MergeOptions& options)
{
    DiskMerge result;
    uint64_t hash = 0;
    result.report = ReadNotebookSnapshot(path, moment, result.disk, &hash);
    if (result.report.status != ReadReport::Status::Ok)
        return result;
    result.diskHash = hash;
    result.merged = MergeFromBase(findBase, ours, result.disk, options);
    return result;
}
