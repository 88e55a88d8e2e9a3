// Imports any bytes as a folder file into a new notebook. A folder that imports must survive
// exporting and importing back: it reads back alike, and exporting it again gives the same
// bytes.

#include <optional>

#include "FuzzNotebook.h"
#include "words/ProblemWords.h"

namespace {

// Imports `path` into a new notebook; exports the imported folder to `out` and returns the
// description of the imported folder, or nothing when the file did not import.
std::optional<std::string> ImportAndExport(FuzzNotebook& nb, const std::string& path, const std::string& out, bool bSaved)
{
    nb.doc.OnNewDocument();
    const size_t countBefore = nb.doc.GetFolders().size();
    const ReadReport report = nb.doc.ImportFolder(path);
    ExpectNoPrompts(nb);
    if (bSaved)
        Expect(report.status == ReadReport::Status::Ok, "an exported folder does not import whole", DescribeProblem(report.problem));
    if (!report.Opened())
        return std::nullopt;
    Expect(nb.doc.GetFolders().size() > countBefore, "an import reported as done added no folder", DescribeProblem(report.problem));
    const Folder* pImported = nb.doc.GetFolders()[countBefore];
    nb.tree.SelectItem(pImported->m_hItem);
    const SaveResult result = nb.doc.ExportFolder(out);
    Expect(result.ok, "an imported folder cannot be exported", DescribeProblem(result.problem));
    return nb.DescribeFolder(pImported);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const FuzzFiles& files = FuzzFiles::Get();
    FuzzNotebook first;
    if (!ImportAndExport(first, files.Input(data, size), files.Path("first.fol"), false))
        return 0;

    // The first export drops any keys the input had; from then on the folder stays the same.
    FuzzNotebook second;
    const std::string exported = *ImportAndExport(second, files.Path("first.fol"), files.Path("second.fol"), true);
    FuzzNotebook third;
    const std::string again = *ImportAndExport(third, files.Path("second.fol"), files.Path("third.fol"), true);
    Expect(again == exported, "an exported folder reads back different", "first:\n" + exported + "\nthen:\n" + again);
    Expect(FuzzFiles::Read(files.Path("second.fol")) == FuzzFiles::Read(files.Path("first.fol")),
           "the second export differs from the first");
    return 0;
}
