// The passes that need no canvas: the silent walk, the pick and an undo snapshot.
#include "bench_designs.h"

#include "design_view.h"
#include "fixed_point.h"
#include "hit_test.h"
#include "trig.h"
#include "undo.h"
#include "walk.h"

#include <benchmark/benchmark.h>

#include <optional>
#include <vector>

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

// ---- The least a walk must do ---------------------------------------------------------------

/// A pen and its heading, fine pixels and quarter degrees.
struct Pen {
    int32_t x, y, heading;
};

/// Local offset (across, along), model units, turned to the heading and scaled: the walk's
/// formula, written out again so that this walk depends on nothing but the tables.
FinePoint Turned(int32_t heading, int32_t zoomScale, int32_t across, int32_t along) {
    const TrigTables& trig = Trig();
    const int h = fx::TrigIndex(heading);
    const int32_t ux = fx::Sub(fx::Shr(fx::Mul(across, trig.cos[h]), 15),
                               fx::Shr(fx::Mul(along, trig.sin[h]), 15));
    const int32_t uy = fx::Add(fx::Shr(fx::Mul(across, trig.sin[h]), 15),
                               fx::Shr(fx::Mul(along, trig.cos[h]), 15));
    return {fx::Shr(fx::Mul(ux, zoomScale), 8), fx::Shr(fx::Mul(uy, zoomScale), 8)};
}

FinePoint At(const Pen& pen, int32_t zoomScale, int32_t across, int32_t along) {
    const FinePoint offset = Turned(pen.heading, zoomScale, across, along);
    return {fx::Add(pen.x, offset.x), fx::Add(pen.y, offset.y)};
}

/// What a walk must leave behind: every section's end pen and marker point, every track's lane
/// totals.
struct WalkResults {
    std::vector<PenPose> ends;
    std::vector<FinePoint> markers;
    std::vector<int32_t> lanes;
};

/// Walks every track of `design` computing only end pens, marker points and lane totals, with
/// the same fixed-point steps as the walk but no curve traced: the floor under a silent pass.
void MinimalWalk(const Design& design, const PartLibrary& library, int32_t zoomScale, int32_t cx,
                 int32_t cy, WalkResults& results) {
    const TrigTables& trig = Trig();
    for (const Track& track : design.tracks) {
        if (track.inUse == 0) {
            continue;
        }
        Pen pen{fx::Add(fx::Shl8(cx), fx::Shr(fx::Mul(track.beginX, zoomScale), 8)),
                fx::Add(fx::Shl8(cy), fx::Shr(fx::Mul(track.beginY, zoomScale), 8)), track.angle};
        int32_t lanes[2] = {0, 0};
        int slot0 = 0;
        for (int i = 0; i < track.sectionCount; ++i) {
            const Part& part = library.parts[track.partIndex[i]];
            FinePoint marker;
            if (IsCurveKind(part.kind)) {
                const bool left = track.direction[i] == 'L';
                const int32_t across = part.width;
                const int32_t outer = part.radius;
                const int32_t inner = fx::Sub(part.radius, part.width);
                const int32_t r1 = left ? inner : outer;
                const int32_t r2 = left ? outer : inner;
                auto onArc = [&](int32_t r, int32_t theta) {
                    const int t = fx::TrigIndex(theta);
                    int32_t a = fx::Shr(fx::Mul(r, trig.cos[t]), 15);
                    a = left ? fx::Neg(a) : a;
                    return Turned(pen.heading, zoomScale, a, fx::Shr(fx::Mul(r, trig.sin[t]), 15));
                };
                const FinePoint far = At(pen, zoomScale, across, 0);
                const FinePoint start = onArc(r1, 0);
                const FinePoint end = onArc(r2, part.arc);
                marker = At(pen, zoomScale, across / 2, kCurveMarkerAlong);
                pen.x = fx::Add(fx::Sub(far.x, start.x), end.x);
                pen.y = fx::Add(fx::Sub(far.y, start.y), end.y);
                pen.heading = fx::TrigIndex(int64_t{pen.heading} + (left ? -part.arc : part.arc));
                lanes[slot0] += left ? part.laneLength1 : part.laneLength2;
                lanes[1 - slot0] += left ? part.laneLength2 : part.laneLength1;
            } else if (part.kind >= 1 && part.kind <= 11) {
                marker = At(pen, zoomScale, part.width / 2, part.length / 2);
                const FinePoint end = At(pen, zoomScale, 0, part.length);
                pen.x = end.x;
                pen.y = end.y;
                lanes[0] += part.length;
                lanes[1] += part.length;
                slot0 = part.kind == kKindLaneChange ? 1 - slot0 : slot0;
            } else {
                continue;
            }
            results.markers.push_back(marker);
            results.ends.push_back({pen.x, pen.y, pen.heading});
        }
        results.lanes.push_back(lanes[0]);
        results.lanes.push_back(lanes[1]);
    }
}

/// The same results as the silent walk reports them.
class ResultsObserver : public WalkObserver {
public:
    explicit ResultsObserver(WalkResults& results) : results_(results) {}
    void sectionWalked(int, int, const PenPose&, const std::optional<FinePoint>& marker,
                       const PenPose& end) override {
        if (marker) {
            results_.markers.push_back(*marker);
            results_.ends.push_back(end);
        }
    }
    void trackEnded(int, const PenPose&, const PenPose&, int32_t lane1, int32_t lane2) override {
        results_.lanes.push_back(lane1);
        results_.lanes.push_back(lane2);
    }

private:
    WalkResults& results_;
};

bool SameResults(const WalkResults& a, const WalkResults& b) {
    return a.ends == b.ends && a.markers == b.markers && a.lanes == b.lanes;
}

// The floor for BM_SilentWalkFull: the same design at the same scale and centre.
void BM_MinimalWalkFull(benchmark::State& state) {
    auto records = MakeBenchDesign(64, 2000);
    const int32_t scale = ScreenZoomScale(kDefaultZoom);
    WalkResults minimal;
    MinimalWalk(*records->design, *records->library, scale, kAreaWidth / 2, kAreaHeight / 2,
                minimal);
    WalkResults silent;
    ResultsObserver observer(silent);
    WalkDesignSilently(*records->design, *records->library, scale, kAreaWidth / 2, kAreaHeight / 2,
                       observer);
    if (!SameResults(minimal, silent)) {
        state.SkipWithError("the minimal walk does not reach what the silent walk reaches");
        return;
    }
    for (auto _ : state) {
        WalkResults results;
        results.ends.reserve(minimal.ends.size());
        results.markers.reserve(minimal.markers.size());
        MinimalWalk(*records->design, *records->library, scale, kAreaWidth / 2, kAreaHeight / 2,
                    results);
        benchmark::DoNotOptimize(results.lanes.data());
    }
    state.SetItemsProcessed(state.iterations() * 64 * 2000);
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

/// The long history of Keep Undo History on Save filled with 100 steps of the full design: the
/// time of those steps, and the memory the history holds.
void BM_LongHistoryFull(benchmark::State& state) {
    auto records = MakeBenchDesign(64, 2000);
    SetHistorySlots(*records->history, kLongUndoSlots);
    for (auto _ : state) {
        for (int step = 0; step < kLongUndoSlots - 1; ++step) {
            TakeSnapshot(*records->history, *records->design);
        }
        benchmark::ClobberMemory();
    }
    const std::vector<Design>& slots = records->history->slots;
    state.counters["history_MB"] =
        static_cast<double>(slots.capacity() * sizeof(Design)) / (1024.0 * 1024.0);
}

BENCHMARK(BM_SilentWalkFull)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MinimalWalkFull)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SilentWalkTypical)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PickFull)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SnapshotFull)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LongHistoryFull)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace lapwerk::bench
