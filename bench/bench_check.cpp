// The layout check after an edit: the benchmark designs, which are tangles of overlapping
// sections, and designs of the same size that can be built, side by side ovals.
#include "bench_designs.h"

#include "layout_check.h"

#include <benchmark/benchmark.h>

namespace lapwerk::bench {
namespace {

void Check(benchmark::State& state, const BenchRecords& records) {
    LayoutCheck check;
    for (auto _ : state) {
        check = CheckLayout(*records.design, *records.library);
        benchmark::DoNotOptimize(check.findings.data());
    }
    state.counters["findings"] = static_cast<double>(check.findings.size());
    state.counters["collisions"] = check.collisions;
    state.counters["crossings"] = check.crossings;
    state.counters["offBoard"] = check.offBoard;
}

void BM_LayoutCheckTypical(benchmark::State& state) {
    Check(state, *MakeBenchDesign(2, 300));
}

void BM_LayoutCheckFull(benchmark::State& state) {
    Check(state, *MakeBenchDesign(64, 2000));
}

void BM_LayoutCheckTypicalOvals(benchmark::State& state) {
    Check(state, *MakeOvals(2, 300));
}

void BM_LayoutCheckFullOvals(benchmark::State& state) {
    Check(state, *MakeOvals(64, 2000));
}

BENCHMARK(BM_LayoutCheckTypical)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LayoutCheckFull)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LayoutCheckTypicalOvals)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LayoutCheckFullOvals)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace lapwerk::bench
