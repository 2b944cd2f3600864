// The track section list window (F12) of the full design: its text box filled with the report
// and shown, painted once.
#include "bench_designs.h"

#include "list_form.h"
#include "section_list.h"

#include <QApplication>
#include <QPixmap>
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

namespace lapwerk::bench {
namespace {

void BM_SectionListWindow(benchmark::State& state) {
    auto records = MakeBenchDesign(64, 2000);
    const DesignView view = ListedView(*records);
    const std::vector<std::string> lines =
        BuildSectionList(*records->design, *records->library, *records->inventory, "untitled.tr2",
                         view.boardTexts, view.metric);
    TListForm form;
    for (auto _ : state) {
        form.setReportLines(lines);
        form.show();
        QApplication::processEvents();
        const QPixmap shown = form.grab();
        benchmark::DoNotOptimize(shown.cacheKey());
        state.PauseTiming();
        form.hide();
        form.setReportLines({});
        QApplication::processEvents();
        state.ResumeTiming();
    }
    state.counters["lines"] = static_cast<double>(lines.size());
}

BENCHMARK(BM_SectionListWindow)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
} // namespace lapwerk::bench
