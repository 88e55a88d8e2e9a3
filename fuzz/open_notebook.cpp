// Opens any bytes as a notebook. A notebook that opens must survive saving and reading back:
// what was saved reads back as it opened, and saving that again gives the same bytes.

#include "FuzzNotebook.h"
#include "words/ProblemWords.h"

namespace {

// Saves nb to `path` and returns the bytes written.
std::string SaveAndRead(FuzzNotebook& nb, const std::string& path)
{
    const SaveResult result = nb.doc.OnSaveDocument(path);
    Expect(result.ok, "a notebook that opened cannot be saved", DescribeProblem(result.problem));
    return FuzzFiles::Read(path);
}

// Opens a file that Quillbox saved: it must open whole, describing as `expected`.
void ReopenSaved(FuzzNotebook& nb, const std::string& path, const std::string& expected)
{
    const ReadReport report = nb.doc.OnOpenDocument(path);
    Expect(report.status == ReadReport::Status::Ok, "a saved notebook does not open whole", DescribeProblem(report.problem));
    ExpectNoPrompts(nb);
    Expect(nb.Describe() == expected, "a saved notebook reads back different",
           "expected:\n" + expected + "read back:\n" + nb.Describe());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const FuzzFiles& files = FuzzFiles::Get();
    FuzzNotebook first;
    if (!first.doc.OnOpenDocument(files.Input(data, size)).Opened())
        return 0;
    ExpectNoPrompts(first);
    const std::string expected = first.Describe();
    const std::string firstSave = SaveAndRead(first, files.Path("first.not"));

    FuzzNotebook second;
    ReopenSaved(second, files.Path("first.not"), expected);
    Expect(SaveAndRead(second, files.Path("second.not")) == firstSave, "the second save differs from the first");
    return 0;
}
