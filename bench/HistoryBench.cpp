// The history's figures on a notebook: what keeping it first costs, what each of SAVES saves
// that change one folder adds (in bytes and milliseconds), the size of the store after them, the
// time to list the versions with what each changed, and the time to find the version two copies
// went on from and to read it. Prints one line of NAME=VALUE fields for bench/run.sh.
//
//   quillbox-history-bench NOTEBOOK SAVES STORE-DIR

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "format/NotebookReader.h"
#include "history/KeptHistory.h"

namespace {

double Since(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// The notebook with a note added to the folder at `index`, as a save after typing one makes it.
NotebookSnapshot WithNote(NotebookSnapshot notebook, size_t index, int n)
{
    NotebookSnapshot::Record& record = notebook.records[index];
    record.text = std::string(record.text.View()) + "------ New Note 12/09/26 ------\r\nnote " + std::to_string(n) + "\r\n";
    return notebook;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 4) {
        std::fprintf(stderr, "usage: quillbox-history-bench NOTEBOOK SAVES STORE-DIR\n");
        return 2;
    }
    const std::string path = argv[1];
    const int saves = std::atoi(argv[2]);
    NotebookSnapshot notebook;
    if (ReadNotebookSnapshot(path, std::tm {}, notebook).status != ReadReport::Status::Ok || notebook.records.size() < 3) {
        std::fprintf(stderr, "cannot read %s\n", path.c_str());
        return 1;
    }
    HistoryStore store(argv[3]);
    FileProblem problem;
    int64_t time = 1'800'000'000'000;
    auto start = std::chrono::steady_clock::now();
    if (!KeepVersion(store, path, notebook, time, HistoryKind::Read, problem)) {
        std::fprintf(stderr, "cannot keep a version: %s\n", problem.detail.c_str());
        return 1;
    }
    const double firstS = Since(start);
    const uint64_t firstBytes = store.SizeOnDisk();

    // Each save changes one folder, a different one each time, one second after the last.
    const size_t folders = notebook.records.size() - 2;
    NotebookSnapshot older;
    double keepS = 0;
    for (int n = 0; n < saves; ++n) {
        notebook = WithNote(std::move(notebook), 1 + size_t(n) * 7919 % folders, n);
        if (n == saves / 2)
            older = notebook;
        start = std::chrono::steady_clock::now();
        if (!KeepVersion(store, path, notebook, time += 1000, HistoryKind::Saved, problem)) {
            std::fprintf(stderr, "cannot keep a version: %s\n", problem.detail.c_str());
            return 1;
        }
        keepS += Since(start);
    }
    const uint64_t allBytes = store.SizeOnDisk();

    // As a window opens the History, or a command runs log: reading the store anew.
    HistoryStore reader(argv[3]);
    start = std::chrono::steady_clock::now();
    const size_t listed = VersionLog(reader, path).size();
    const double logS = Since(start);

    // A copy that went on from the version in the middle and changed a folder of its own.
    const NotebookSnapshot copy = WithNote(older, 2, -1);
    start = std::chrono::steady_clock::now();
    const std::optional<int64_t> base = CommonVersionId(store, path, notebook, copy);
    const double baseS = Since(start);
    start = std::chrono::steady_clock::now();
    const bool bFound = base && LoadVersion(store, *base).has_value();
    const double loadS = Since(start);

    std::printf("first_s=%.4f first_bytes=%llu saves=%d keep_ms=%.3f added_bytes=%llu store_bytes=%llu versions=%zu log_s=%.4f "
                "base_s=%.4f load_s=%.4f base_found=%d\n",
                firstS, static_cast<unsigned long long>(firstBytes), saves, saves ? keepS * 1000 / saves : 0.0,
                static_cast<unsigned long long>(saves ? (allBytes - firstBytes) / uint64_t(saves) : 0),
                static_cast<unsigned long long>(allBytes), listed, logS, baseS, loadS, bFound ? 1 : 0);
    return bFound ? 0 : 1;
}
