#include "bench_designs.h"

#include "design_files.h"

#include <cstring>

namespace lapwerk::bench {

std::unique_ptr<BenchRecords> MakeBenchDesign(int tracks, int sections) {
    auto records = std::make_unique<BenchRecords>();
    std::memset(records->library.get(), 0, sizeof(PartLibrary));
    std::memset(records->design.get(), 0, sizeof(Design));
    LoadPartLibrary(*records->library, LAPWERK_EXAMPLES "/parts.def");

    Design& design = *records->design;
    design.boardX = 118.11f; // 3 m x 2 m
    design.boardY = 78.74f;
    design.segments = 1;
    design.filledIn = 1;
    design.ruler = 1;
    design.grid = 1;
    SetDesignFileName(design, kUntitledName);
    NewDesign(design, *records->history);
    design.tracks[0].inUse = 0;

    // A fixed mix: mostly straights and curves, now and then a decorated piece; curves turn
    // right twice as often as left so that tracks wind without closing exactly.
    const int count = records->library->count;
    const char* mix[] = {"C151", "C154", "C152", "C179", "C168", "C156", "C174a", "C157",
                         "C176", "C178", "C182", "C277", "C183", "C184", "C190",  "C160"};
    int mixIndex[16];
    for (int i = 0; i < 16; ++i) {
        mixIndex[i] = FindPartByNumber(*records->library, mix[i]);
        if (mixIndex[i] < 0) {
            mixIndex[i] = count > 0 ? i % count : 0;
        }
    }
    for (int t = 0; t < tracks; ++t) {
        const int slot = AllocateTrack(design);
        Track& track = design.tracks[slot];
        track.beginX = (t % 8 - 4) * 3000;
        track.beginY = (t / 8 - 4) * 2000;
        track.angle = (t * 90) % kFullTurn;
        track.sectionCount = sections;
        for (int s = 0; s < sections; ++s) {
            track.partIndex[s] = static_cast<uint8_t>(mixIndex[(s * 7 + t) % 16]);
            track.direction[s] = (s + t) % 3 == 0 ? 'L' : 'R';
        }
        track.selectedSection = sections / 2;
        design.currentTrack = slot;
    }
    design.changed = 0;
    ResetHistory(*records->history, design);
    return records;
}

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

DesignView ListedView(const BenchRecords& records) {
    DesignView view;
    view.library = records.library.get();
    RedrawDesign(*records.design, view, nullptr);
    return view;
}

} // namespace lapwerk::bench
