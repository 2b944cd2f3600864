#pragma once

#include "design.h"
#include "design_view.h"
#include "inventory.h"
#include "part_library.h"
#include "undo.h"

#include <memory>

namespace lapwerk::bench {

/// The records of one benchmark, on the heap (an undo ring holds ten Designs).
struct BenchRecords {
    std::unique_ptr<PartLibrary> library = std::make_unique<PartLibrary>();
    std::unique_ptr<Design> design = std::make_unique<Design>();
    std::unique_ptr<UndoRing> history = std::make_unique<UndoRing>();
    std::unique_ptr<Inventory> inventory = std::make_unique<Inventory>();
};

/// The example part library with a design of `tracks` tracks of `sections` mixed sections
/// each (straights, curves both ways, lane changes and the decorated kinds), every drawing
/// toggle on, the last track current with its middle section selected.
std::unique_ptr<BenchRecords> MakeBenchDesign(int tracks, int sections);

/// The benchmark design's records with `tracks` closed ovals of `sections` sections side by
/// side in place of its tracks, each of two long runs of straights (C151) joined by half
/// circles of four C154, on a board that holds them all.
std::unique_ptr<BenchRecords> MakeOvals(int tracks, int sections);

/// A view of `records`' design after one silent pass, which gives the lane lengths and board
/// texts the section list shows.
DesignView ListedView(const BenchRecords& records);

inline constexpr int kAreaWidth = 1920;
inline constexpr int kAreaHeight = 1080;

} // namespace lapwerk::bench
