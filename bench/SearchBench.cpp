#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>

#include "CliNotebook.h"
#include "search/NotebookSearch.h"
#include "words/ProblemWords.h"

// Find in Notebook on a large notebook, which QUILLBOX_SEARCH_NOTEBOOK names, e.g. the corpus of
//   python3 gen_corpus.py --folders 10000 --mb 50 --seed 1 --out /tmp/corpus --name large
// The window lists at most kListed hits, so it stops searching there.

namespace {

constexpr size_t kListed = 1000;

HeadlessNotebook* Notebook(benchmark::State& state)
{
    static std::unique_ptr<HeadlessNotebook> pNotebook;
    static std::string error;
    if (!pNotebook && error.empty()) {
        const char* path = std::getenv("QUILLBOX_SEARCH_NOTEBOOK");
        if (!path) {
            error = "set QUILLBOX_SEARCH_NOTEBOOK to a large notebook";
        } else {
            pNotebook = std::make_unique<HeadlessNotebook>();
            const ReadReport report = pNotebook->doc.OnOpenDocument(path);
            if (report.status != ReadReport::Status::Ok) {
                error = DescribeProblem(report.problem);
                pNotebook.reset();
            }
        }
    }
    if (!pNotebook)
        state.SkipWithError(error.c_str());
    return pNotebook.get();
}

void Search(benchmark::State& state, SearchQuery query, size_t limit)
{
    HeadlessNotebook* pNotebook = Notebook(state);
    if (!pNotebook)
        return;
    const NotebookSearch search(query);
    size_t hits = 0;
    for (auto _ : state) {
        hits = 0;
        search.Run(pNotebook->doc, nullptr, [&hits, limit](const SearchHit&) { return ++hits < limit; });
    }
    state.counters["hits"] = static_cast<double>(hits);
}

} // namespace

// A word found nowhere: every byte of every folder is looked at.
BENCHMARK_CAPTURE(Search, absent_any_case, SearchQuery { "quillboxzz", false }, SIZE_MAX)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Search, absent_match_case, SearchQuery { "quillboxzz", true }, SIZE_MAX)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Search, absent_whole_word, SearchQuery { "quillboxzz", false, true }, SIZE_MAX)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Search, short_absent_any_case, SearchQuery { "qx", false }, SIZE_MAX)->Unit(benchmark::kMillisecond);
// A rare word, every hit counted.
BENCHMARK_CAPTURE(Search, rare_word, SearchQuery { "zejigo", false, true }, SIZE_MAX)->Unit(benchmark::kMillisecond);
// Words on most lines: the window stops at the hits it lists; the command line reports all.
BENCHMARK_CAPTURE(Search, common_listed, SearchQuery { "an", false }, kListed)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Search, common_all, SearchQuery { "an", false }, SIZE_MAX)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Search, header_all, SearchQuery { "New Note", true }, SIZE_MAX)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Search, regex_rare, SearchQuery { "zej[a-z]+o", false, false, true }, SIZE_MAX)->Unit(benchmark::kMillisecond);
// Patterns a backtracking engine takes minutes over on this notebook: one pass each.
BENCHMARK_CAPTURE(Search, hostile_nested_stars, SearchQuery { "(.*)(.*)zz$", true, false, true }, SIZE_MAX)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Search, hostile_repeated_group, SearchQuery { "([a-z]+ ){5}x", true, false, true }, SIZE_MAX)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
