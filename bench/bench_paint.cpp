// The visible screen pass onto a 1920 x 1080 image through the QPainter canvas: the full design
// at the default zoom, zoomed in on one region of it, and a typical design.
#include "bench_designs.h"

#include "design_view.h"
#include "qpainter_canvas.h"
#include "view_navigation.h"

#include <QImage>
#include <QPainter>
#include <benchmark/benchmark.h>

namespace lapwerk::bench {
namespace {

/// Where the view looks: its zoom step and pan.
struct ViewPlace {
    int32_t zoom = kDefaultZoom;
    int32_t panX = 0;
    int32_t panY = 0;
};

void VisiblePass(benchmark::State& state, int tracks, int sections, ViewPlace place = {}) {
    auto records = MakeBenchDesign(tracks, sections);
    QImage image(kAreaWidth, kAreaHeight, QImage::Format_RGB32);
    DesignView view;
    view.library = records->library.get();
    view.areaWidth = kAreaWidth;
    view.areaHeight = kAreaHeight;
    view.zoom = place.zoom;
    view.panX = place.panX;
    view.panY = place.panY;
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

// Zoomed in on one region of the full design: the largest step, 2000 pixels right of the
// middle (about 300 inches), where some 30,000 polygons still lie in view.
void BM_VisiblePassZoomedIn(benchmark::State& state) {
    VisiblePass(state, 64, 2000, {kMaxZoomStep, 2000, 0});
}

// The same step on the middle, where the 64 tracks begin and lie thickest on top of each
// other: 155,000 polygons in view, more than half of those of the full pass.
void BM_VisiblePassZoomedInMiddle(benchmark::State& state) {
    VisiblePass(state, 64, 2000, {kMaxZoomStep, 0, 0});
}

BENCHMARK(BM_VisiblePassFull)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_VisiblePassZoomedIn)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_VisiblePassZoomedInMiddle)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_VisiblePassTypical)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace lapwerk::bench
