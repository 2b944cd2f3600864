// The closing search on the example oval and part library: a track that needs the full number
// of pieces, and one that no sequence of that many pieces closes; and on a large library of 180
// parts of many lengths, radii and arcs.
#include "bench_designs.h"

#include "close_search.h"
#include "design_files.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>

namespace lapwerk::bench {
namespace {

/// The example oval with its last `removed` sections taken off and the example inventory.
std::unique_ptr<BenchRecords> ExampleOval(int removed) {
    auto records = std::make_unique<BenchRecords>();
    std::memset(records->design.get(), 0, sizeof(Design));
    LoadPartLibrary(*records->library, LAPWERK_EXAMPLES "/parts.def");
    LoadInventory(*records->inventory, *records->library, LAPWERK_EXAMPLES "/sections.own");
    SetDesignFileName(*records->design, LAPWERK_EXAMPLES "/oval.tr2");
    AdoptDesign(*records->design, *records->history,
                LoadDesignFile(LAPWERK_EXAMPLES "/oval.tr2", *records->library, *records->design));
    records->design->tracks[0].sectionCount -= removed;
    return records;
}

void Search(benchmark::State& state, const BenchRecords& records) {
    const CloseSearchOptions options{static_cast<int>(state.range(0)), PieceChoice::kAnyPieces, 5};
    CloseSearchResult result{};
    for (auto _ : state) {
        result =
            FindClosingPieces(*records.design, *records.library, *records.inventory, 0, options);
        benchmark::DoNotOptimize(result.proposals.data());
    }
    state.counters["proposals"] = static_cast<double>(result.proposals.size());
    state.counters["pieces"] =
        result.proposals.empty() ? 0 : static_cast<double>(result.proposals[0].pieces.size());
}

// Without its last K sections (K - 4 straights and four curves) the oval closes with no fewer
// than K pieces.
void BM_CloseSearchNeedsAllPieces(benchmark::State& state) {
    Search(state, *ExampleOval(static_cast<int>(state.range(0))));
}

// With a quarter straight (87.5 mm) appended the oval overshoots its begin point at the right
// heading: taking it off closes it, and appending alone takes a loop of more than eight pieces,
// so every search runs to its end.
void BM_CloseSearchPieceTooMany(benchmark::State& state) {
    auto records = ExampleOval(0);
    Track& oval = records->design->tracks[0];
    oval.partIndex[oval.sectionCount] =
        static_cast<uint8_t>(FindPartByNumber(*records->library, "C153"));
    oval.direction[oval.sectionCount++] = 'L';
    Search(state, *records);
}

/// 30 straights of 50 to 340 mm and 150 curves: radii of 250 to 700 mm by 50 mm, arcs of 15 to
/// 57 degrees by 3 degrees, all 156 mm wide.
void AddLargeLibrary(PartLibrary& library) {
    constexpr double kUnitsPerMm = 256 / 25.4;
    auto add = [&](int32_t kind, double length, int32_t arc, double radius) {
        Part& part = library.parts[library.count];
        std::snprintf(part.number, sizeof part.number, "P%d", library.count);
        std::snprintf(part.name, sizeof part.name, "Part %d", library.count);
        part.kind = kind;
        part.width = static_cast<int32_t>(156 * kUnitsPerMm);
        part.length = static_cast<int32_t>(length * kUnitsPerMm);
        part.arc = arc;
        part.radius = static_cast<int32_t>(radius * kUnitsPerMm);
        const double middle = (radius - 78) * kUnitsPerMm * arc * 3.14159265358979 / 720;
        part.laneLength1 = part.laneLength2 = static_cast<int32_t>(middle);
        ++library.count;
    };
    for (int i = 0; i < 30; ++i) {
        add(kKindStraight, 50 + 10 * i, 0, 0);
    }
    for (int r = 0; r < 10; ++r) {
        for (int a = 0; a < 15; ++a) {
            add(kKindCurve, 0, 60 + 12 * a, 250 + 50 * r);
        }
    }
}

// On the large library, a straight and half a circle of four 45-degree curves: the search
// looks at every sequence of up to K of its 330 moves.
void BM_CloseSearchLargeLibrary(benchmark::State& state) {
    auto records = std::make_unique<BenchRecords>();
    std::memset(records->design.get(), 0, sizeof(Design));
    std::memset(records->library.get(), 0, sizeof(PartLibrary));
    AddLargeLibrary(*records->library);
    EmptyDesign(*records->design);
    Track& track = records->design->tracks[0];
    const int straight = 25;
    const int curve = 30 + 5 * 15 + 10; // radius 500 mm, 45 degrees
    for (const int part : {straight, curve, curve, curve, curve}) {
        track.partIndex[track.sectionCount] = static_cast<uint8_t>(part);
        track.direction[track.sectionCount++] = 'R';
    }
    Search(state, *records);
}

BENCHMARK(BM_CloseSearchNeedsAllPieces)->Arg(6)->Arg(8)->Arg(10)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CloseSearchPieceTooMany)->Arg(6)->Arg(8)->Arg(10)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CloseSearchLargeLibrary)->Arg(4)->Arg(6)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace lapwerk::bench
