// Layout suggestions: every layout of a set of straights and quarter curves, and the best
// layouts the example inventory makes on a 3 x 2 m board in the default ten seconds.
#include "bench_designs.h"

#include "design_files.h"
#include "layout_suggest.h"

#include <benchmark/benchmark.h>

#include <cstring>

namespace lapwerk::bench {
namespace {

/// A library of a 350 mm straight and a quarter curve of 390 mm outer radius, 156 mm wide.
void QuarterCurveLibrary(PartLibrary& library) {
    std::memset(&library, 0, sizeof library);
    const Part straight{"S350", "Straight 350 mm", 1, 1572, 3528, 0, 0, 0, 0};
    const Part quarter{"Q390", "Curve 390 mm, 90 deg", 2, 1572, 0, 360, 3931, 4928, 3693};
    library.parts[0] = straight;
    library.parts[1] = quarter;
    library.count = 2;
}

void BM_SuggestUseAll(benchmark::State& state) {
    auto records = MakeBenchDesign(1, 0);
    QuarterCurveLibrary(*records->library);
    std::vector<int64_t> supply(kMaxParts, 0);
    supply[0] = state.range(0);
    supply[1] = state.range(1);
    SuggestOptions options;
    options.useAll = true;
    options.seconds = 600;
    SuggestResult result;
    for (auto _ : state) {
        result = SuggestLayouts(*records->design, *records->library, supply, options);
        benchmark::DoNotOptimize(result.layouts.data());
    }
    state.counters["layouts"] = static_cast<double>(result.layouts.size());
    state.counters["complete"] = result.outcome == SuggestOutcome::kComplete;
}

void BM_SuggestExampleInventory(benchmark::State& state) {
    auto records = MakeBenchDesign(1, 0);
    LoadInventory(*records->inventory, *records->library, LAPWERK_EXAMPLES "/sections.own");
    const std::vector<int64_t> supply =
        SuggestSupply(*records->design, *records->library, *records->inventory, false);
    SuggestOptions options;
    options.maxLayouts = 1000;
    int found = 0;
    for (auto _ : state) {
        found = 0;
        const SuggestResult result =
            SuggestLayouts(*records->design, *records->library, supply, options,
                           [&found](double, const SuggestedLayout* layout) {
                               found += layout != nullptr ? 1 : 0;
                               return true;
                           });
        benchmark::DoNotOptimize(result.layouts.data());
    }
    state.counters["layouts"] = found;
}

BENCHMARK(BM_SuggestUseAll)->Args({6, 10})->Args({8, 12})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SuggestExampleInventory)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace lapwerk::bench
