#include <benchmark/benchmark.h>

#include <unistd.h>

#include <filesystem>
#include <map>
#include <memory>
#include <stdexcept>

#include "CliNotebook.h"
#include "format/NotebookWriter.h"
#include "NotebookGenerator.h"
#include "words/ProblemWords.h"

namespace {

constexpr int kFolders = 10000;

// The benchmark's files, in a directory removed when the program ends.
class BenchFiles
{
public:
    BenchFiles()
        : m_dir(std::filesystem::temp_directory_path() / ("quillbox-bench-" + std::to_string(::getpid())))
    {
        std::filesystem::create_directories(m_dir);
    }
    ~BenchFiles() { std::filesystem::remove_all(m_dir); }

    std::string Path(const std::string& name) const { return (m_dir / name).string(); }

    // A saved notebook of `count` folders of the shape, generated on first use.
    const std::string& Notebook(NotebookShape shape, int count)
    {
        auto& path = m_notebooks[{ shape, count }];
        if (path.empty()) {
            path = Path("generated-" + std::to_string(static_cast<int>(shape)) + "-" + std::to_string(count) + ".not");
            HeadlessNotebook nb;
            GrowNotebook(nb, shape, count);
            if (!nb.doc.OnSaveDocument(path).ok)
                throw std::runtime_error("cannot write the benchmark's notebook " + path);
        }
        return path;
    }

private:
    std::filesystem::path m_dir;
    std::map<std::pair<NotebookShape, int>, std::string> m_notebooks;
};

BenchFiles& Files()
{
    static BenchFiles files;
    return files;
}

void ReportSize(benchmark::State& state, const std::string& path)
{
    state.SetItemsProcessed(state.iterations() * state.range(0));
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(std::filesystem::file_size(path)));
}

// Opening a notebook file into a fresh document, closing included.
void OpenNotebook(benchmark::State& state, NotebookShape shape)
{
    const std::string& path = Files().Notebook(shape, static_cast<int>(state.range(0)));
    for (auto _ : state) {
        HeadlessNotebook nb;
        const ReadReport report = nb.doc.OnOpenDocument(path);
        if (report.status != ReadReport::Status::Ok)
            state.SkipWithError(DescribeProblem(report.problem).c_str());
    }
    ReportSize(state, path);
}

// Saving an open notebook: records written, flushed to disk and renamed into place.
void SaveNotebook(benchmark::State& state, NotebookShape shape)
{
    HeadlessNotebook nb;
    if (!nb.doc.OnOpenDocument(Files().Notebook(shape, static_cast<int>(state.range(0)))).Opened())
        state.SkipWithError("the notebook could not be read");
    const std::string path = Files().Path("saved.not");
    for (auto _ : state) {
        const SaveResult result = nb.doc.OnSaveDocument(path);
        if (!result.ok)
            state.SkipWithError(DescribeProblem(result.problem).c_str());
    }
    ReportSize(state, path);
}

// Only the notebook's bytes in memory, without the file system: what a recovery file costs the
// writer thread.
void WriteRecords(benchmark::State& state, NotebookShape shape)
{
    const std::string& path = Files().Notebook(shape, static_cast<int>(state.range(0)));
    HeadlessNotebook nb;
    if (!nb.doc.OnOpenDocument(path).Opened())
        state.SkipWithError("the notebook could not be read");
    const NotebookSnapshot snapshot = nb.doc.TakeSnapshot();
    for (auto _ : state) {
        std::string out;
        WriteNotebook(snapshot, [&out](std::string_view chunk) {
            out += chunk;
            return true;
        });
        benchmark::DoNotOptimize(out.data());
    }
    ReportSize(state, path);
}

// The notebook's state taken for a recovery file: what the window pays before the writer thread
// makes the bytes.
void TakeSnapshot(benchmark::State& state, NotebookShape shape)
{
    HeadlessNotebook nb;
    if (!nb.doc.OnOpenDocument(Files().Notebook(shape, static_cast<int>(state.range(0)))).Opened())
        state.SkipWithError("the notebook could not be read");
    for (auto _ : state) {
        const NotebookSnapshot snapshot = nb.doc.TakeSnapshot();
        benchmark::DoNotOptimize(snapshot.records.data());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

} // namespace

BENCHMARK_CAPTURE(OpenNotebook, balanced, NotebookShape::Balanced)->Arg(kFolders)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(OpenNotebook, deep, NotebookShape::Deep)->Arg(kFolders)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(SaveNotebook, balanced, NotebookShape::Balanced)->Arg(kFolders)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(SaveNotebook, deep, NotebookShape::Deep)->Arg(kFolders)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(WriteRecords, balanced, NotebookShape::Balanced)->Arg(kFolders)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(WriteRecords, deep, NotebookShape::Deep)->Arg(kFolders)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(TakeSnapshot, balanced, NotebookShape::Balanced)->Arg(kFolders)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(TakeSnapshot, deep, NotebookShape::Deep)->Arg(kFolders)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
