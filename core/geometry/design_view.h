#pragma once

#include "canvas.h"
#include "design.h"
#include "part_library.h"
#include "walk_state.h"

#include <cstdint>
#include <string>

namespace lapwerk {

inline constexpr int kDefaultZoom = 13;

/// The largest device pixel ratio a screen pass draws at.
inline constexpr int32_t kMaxPixelRatio = 4;

/// The board-size texts that a pass writes for the two board boxes ("%5.2f", metres or inches).
struct BoardTexts {
    std::string x;
    std::string y;
};

/// A walk state before any pass: drawing enabled, nothing picked.
inline WalkState InitialWalkState() {
    WalkState walk{};
    walk.drawEnabled = true;
    walk.pixelRatio = 1;
    walk.pickSection = kPickNothing;
    return walk;
}

/// Everything a screen pass reads besides the Design, and what it leaves behind.
/// The drawing area is a widget of its own: its top-left corner is pixel (0, 0) and click
/// positions are given in its pixels, the view pixels. On a screen of device pixel ratio R
/// the pass draws R x R device pixels for each view pixel, at R times the zoomScale.
struct DesignView {
    const PartLibrary* library = nullptr; ///< the part library Sections refer to
    int32_t areaWidth = 0;                ///< drawing area width, view pixels
    int32_t areaHeight = 0;               ///< drawing area height, view pixels
    int32_t zoom = kDefaultZoom;          ///< zoom bar position 1..24
    /// The pan, view pixels: how far the view has moved right and down from where model point
    /// (0, 0) lies in the middle of the area. That point is drawn at (areaWidth / 2 - panX,
    /// areaHeight / 2 - panY). Not part of the design.
    int32_t panX = 0;
    int32_t panY = 0;
    int32_t pixelRatio = 1;              ///< device pixels per view pixel, 1..kMaxPixelRatio
    bool metric = true;                  ///< the Metric check mark
    WalkState walk = InitialWalkState(); ///< shared walk state; holds the last pass's results
    BoardTexts boardTexts;               ///< board-size texts written by the last pass
};

/// Screen zoomScale for a zoom step: 64 x zoom + 128.
int32_t ScreenZoomScale(int32_t zoom);

/// The device pixel ratio a screen pass of `view` draws at: view.pixelRatio within 1 and
/// kMaxPixelRatio.
int32_t ScreenPixelRatio(const DesignView& view);

/// Where a screen pass of `view` draws, in device pixels: its zoomScale, the pixel of model
/// point (0, 0) where the pan puts it, and the pixel ratio. Drawing laid over the pass's
/// picture (an overlay) places itself with these.
struct ScreenPlacement {
    int32_t zoomScale;
    int32_t centreX, centreY;
    int32_t pixelRatio;
};
ScreenPlacement PlaceScreen(const DesignView& view);

/// The full screen pass: copies view.zoom into the Design, clears the area, draws ruler, grid,
/// board and every track in use on `screen` (the drawing area's canvas, in device pixels;
/// nullptr for a silent pass), and recomputes lane lengths, split mark and board texts. Draws
/// only while view.walk.drawEnabled is set.
void RedrawDesign(Design& design, DesignView& view, Canvas* screen);

/// Sets the current Track's begin point from a click at view pixel (px, py) of the drawing
/// area, using the zoomScale of the last pass and the view's pan.
void ScreenToModel(Design& design, const DesignView& view, int32_t px, int32_t py);

/// Sets the current Track's begin point from device pixel (x, y) of the last pass, such as the
/// pixel of the split mark it recorded.
void DevicePointToModel(Design& design, const DesignView& view, int32_t x, int32_t y);

} // namespace lapwerk
