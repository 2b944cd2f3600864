// Lap times of every track of a design, as the Lap Times window follows every edit.
#include "bench_designs.h"

#include "lap_times.h"

#include <benchmark/benchmark.h>

namespace lapwerk::bench {
namespace {

// Two closed ovals of 300 sections, each lane about 100 m long.
void BM_LapTimesTypicalOvals(benchmark::State& state) {
    const auto records = MakeOvals(2, 300);
    for (auto _ : state) {
        const std::vector<TrackLaps> laps =
            MeasureLapTimes(*records->design, *records->library, CarSettings{});
        benchmark::DoNotOptimize(laps.data());
    }
}

BENCHMARK(BM_LapTimesTypicalOvals)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace lapwerk::bench
