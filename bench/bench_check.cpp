// The layout check after an edit: the benchmark designs, which are tangles of overlapping
// sections, and designs of the same size that can be built, side by side ovals.
#include "bench_designs.h"

#include "layout_check.h"

#include <benchmark/benchmark.h>

namespace lapwerk::bench {
namespace {

/// `tracks` ovals of `sections` sections side by side, each of two long runs of straights
/// (C151) joined by half circles of four C154, on a board that holds them all.
std::unique_ptr<BenchRecords> MakeOvals(int tracks, int sections) {
    auto records = MakeBenchDesign(tracks, sections);
    const PartLibrary& library = *records->library;
    const auto straight = static_cast<uint8_t>(FindPartByNumber(library, "C151"));
    const auto curve = static_cast<uint8_t>(FindPartByNumber(library, "C154"));
    const int run = (sections - 8) / 2;
    int slot = 0;
    for (Track& track : records->design->tracks) {
        if (track.inUse == 0) {
            continue;
        }
        track.angle = kHeadingNorth;
        track.beginX = slot++ * 8000;
        track.beginY = 0;
        track.sectionCount = 0;
        for (int half = 0; half < 2; ++half) {
            for (int s = 0; s < run; ++s) {
                track.partIndex[track.sectionCount] = straight;
                track.direction[track.sectionCount++] = 'L';
            }
            for (int s = 0; s < 4; ++s) {
                track.partIndex[track.sectionCount] = curve;
                track.direction[track.sectionCount++] = 'R';
            }
        }
    }
    records->design->boardX = records->design->boardY = 1e5f;
    return records;
}

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
