// The closing search on the example oval and part library: a track that needs the full number
// of pieces, and one that no sequence of that many pieces closes.
#include "bench_designs.h"

#include "close_search.h"
#include "design_files.h"

#include <benchmark/benchmark.h>

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

BENCHMARK(BM_CloseSearchNeedsAllPieces)->Arg(6)->Arg(8)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CloseSearchPieceTooMany)->Arg(6)->Arg(8)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace lapwerk::bench
