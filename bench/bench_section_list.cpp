// Building the text of the track section list (F12) of the full design.
#include "bench_designs.h"

#include "section_list.h"

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

namespace lapwerk::bench {
namespace {

void BM_SectionListText(benchmark::State& state) {
    auto records = MakeBenchDesign(64, 2000);
    const DesignView view = ListedView(*records);
    size_t lines = 0;
    for (auto _ : state) {
        const std::vector<std::string> list =
            BuildSectionList(*records->design, *records->library, *records->inventory,
                             "untitled.tr2", view.boardTexts, view.metric);
        lines = list.size();
        benchmark::DoNotOptimize(list.data());
    }
    state.counters["lines"] = static_cast<double>(lines);
}

BENCHMARK(BM_SectionListText)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace lapwerk::bench
