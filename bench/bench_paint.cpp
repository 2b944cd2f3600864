// The visible screen pass onto a 1920 x 1080 image through the QPainter canvas.
#include "bench_designs.h"

#include "design_view.h"
#include "qpainter_canvas.h"

#include <QImage>
#include <QPainter>
#include <benchmark/benchmark.h>

namespace lapwerk::bench {
namespace {

void VisiblePass(benchmark::State& state, int tracks, int sections) {
    auto records = MakeBenchDesign(tracks, sections);
    QImage image(kAreaWidth, kAreaHeight, QImage::Format_RGB32);
    DesignView view;
    view.library = records->library.get();
    view.areaWidth = kAreaWidth;
    view.areaHeight = kAreaHeight;
    for (auto _ : state) {
        QPainter painter(&image);
        QPainterCanvas canvas(painter);
        RedrawDesign(*records->design, view, &canvas);
        canvas.flush();
        painter.end();
        benchmark::DoNotOptimize(image.constBits());
    }
    state.SetItemsProcessed(state.iterations() * tracks * sections);
}

void BM_VisiblePassFull(benchmark::State& state) {
    VisiblePass(state, 64, 2000);
}
void BM_VisiblePassTypical(benchmark::State& state) {
    VisiblePass(state, 2, 300);
}

BENCHMARK(BM_VisiblePassFull)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_VisiblePassTypical)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace lapwerk::bench
