// The passes that need no canvas: the silent walk, the pick and an undo snapshot.
#include "bench_designs.h"

#include "design_view.h"
#include "hit_test.h"
#include "undo.h"

#include <benchmark/benchmark.h>

namespace lapwerk::bench {
namespace {

DesignView SilentView(const BenchRecords& records) {
    DesignView view;
    view.library = records.library.get();
    view.areaWidth = kAreaWidth;
    view.areaHeight = kAreaHeight;
    return view;
}

void SilentWalk(benchmark::State& state, int tracks, int sections) {
    auto records = MakeBenchDesign(tracks, sections);
    DesignView view = SilentView(*records);
    for (auto _ : state) {
        RedrawDesign(*records->design, view, nullptr);
        benchmark::DoNotOptimize(records->design->tracks[0].lane1Length);
    }
    state.SetItemsProcessed(state.iterations() * tracks * sections);
}

void BM_SilentWalkFull(benchmark::State& state) {
    SilentWalk(state, 64, 2000);
}
void BM_SilentWalkTypical(benchmark::State& state) {
    SilentWalk(state, 2, 300);
}

// A click on the view centre of the full design: the silent pick pass, and on a hit the
// silent pass that brings the results up to date.
void BM_PickFull(benchmark::State& state) {
    auto records = MakeBenchDesign(64, 2000);
    DesignView view = SilentView(*records);
    RedrawDesign(*records->design, view, nullptr);
    for (auto _ : state) {
        PickAt(*records->design, view, kAreaWidth / 2, kAreaHeight / 2);
        benchmark::DoNotOptimize(view.walk.pickSection);
    }
    state.counters["hit"] = view.walk.pickSection != kPickNothing ? 1 : 0;
}

void BM_SnapshotFull(benchmark::State& state) {
    auto records = MakeBenchDesign(64, 2000);
    for (auto _ : state) {
        TakeSnapshot(*records->history, *records->design);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(sizeof(Design)));
}

BENCHMARK(BM_SilentWalkFull)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SilentWalkTypical)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PickFull)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SnapshotFull)->Unit(benchmark::kMicrosecond);

} // namespace
} // namespace lapwerk::bench
