#pragma once

#include "canvas.h"
#include "design.h"
#include "part_library.h"
#include "walk_state.h"

#include <cstdint>
#include <string>

namespace lapwerk {

inline constexpr int kDefaultZoom = 13;

/// The board-size texts that a pass writes for the two board boxes ("%5.2f", metres or inches).
struct BoardTexts {
    std::string x;
    std::string y;
};

/// A walk state before any pass: drawing enabled, nothing picked.
inline WalkState InitialWalkState() {
    WalkState walk{};
    walk.drawEnabled = true;
    walk.pickSection = kPickNothing;
    return walk;
}

/// Everything a screen pass reads besides the Design, and what it leaves behind.
/// The drawing area is a widget of its own: its top-left corner is pixel (0, 0) and click
/// positions are given in its pixels.
struct DesignView {
    const PartLibrary* library = nullptr; ///< the part library Sections refer to
    int32_t areaWidth = 0;                ///< drawing area width, pixels
    int32_t areaHeight = 0;               ///< drawing area height, pixels
    int32_t zoom = kDefaultZoom;          ///< zoom bar position 1..24
    bool metric = true;                   ///< the Metric check mark
    WalkState walk = InitialWalkState();  ///< shared walk state; holds the last pass's results
    BoardTexts boardTexts;                ///< board-size texts written by the last pass
};

/// Screen zoomScale for a zoom step: 64 x zoom + 128.
int32_t ScreenZoomScale(int32_t zoom);

/// The full screen pass: copies view.zoom into the Design, clears the area, draws ruler, grid,
/// board and every track in use on `screen` (the drawing area's canvas; nullptr for a silent
/// pass), and recomputes lane lengths, split mark and board texts. Draws only while
/// view.walk.drawEnabled is set.
void RedrawDesign(Design& design, DesignView& view, Canvas* screen);

/// Sets the current Track's begin point from a click at pixel (px, py) of the drawing area,
/// using the zoomScale of the last pass.
void ScreenToModel(Design& design, const DesignView& view, int32_t px, int32_t py);

} // namespace lapwerk
