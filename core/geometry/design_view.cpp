#include "design_view.h"

#include "board.h"
#include "design_pass.h"
#include "fixed_point.h"
#include "pass_canvas.h"
#include "walk.h"

#include <cmath>

namespace lapwerk {

int32_t ScreenZoomScale(int32_t zoom) {
    return fx::Add(fx::Mul(64, zoom), 128);
}

void DrawDesignPass(Design& design, DesignView& view, const PassTarget& target) {
    design.zoom = view.zoom;
    WalkState& walk = view.walk;
    walk.zoomScale = target.zoomScale;
    walk.onPaper = target.onPaper;

    PassCanvas canvas(walk.drawEnabled ? target.canvas : nullptr);
    canvas.setPen(kWhite, target.penWidth);
    canvas.setBrush(kWhite);

    const int32_t cx = target.centreX;
    const int32_t cy = target.centreY;
    if (!target.onPaper) {
        const int32_t w = view.areaWidth;
        const int32_t h = view.areaHeight;
        const int32_t corner = design.ruler != 0 ? 15 : 0;
        canvas.fillRect(corner, corner, w, h);
        const float spacing = RulerSpacingPixels(walk.zoomScale, view.metric);
        if (canvas.drawing() && design.ruler != 0) {
            DrawRuler(canvas, w, h, cx, cy, spacing);
        }
        if (canvas.drawing() && design.grid != 0) {
            DrawGrid(canvas, w, h, cx, cy, spacing);
        }
    }
    if (canvas.drawing()) {
        DrawBoardOutline(canvas, design.boardX, design.boardY, walk.zoomScale, cx, cy);
    }
    view.boardTexts.x = FormatBoardSize(design.boardX, view.metric);
    view.boardTexts.y = FormatBoardSize(design.boardY, view.metric);

    walk.segments = design.segments != 0;
    walk.filledIn = design.filledIn != 0;
    WalkPass pass{walk, view.library, canvas, cx, cy, nullptr};
    for (int slot = 0; slot < kMaxTracks; ++slot) {
        if (design.tracks[slot].inUse != 0) {
            DrawTrack(pass, design, slot, slot == design.currentTrack);
        }
    }
}

void RedrawDesign(Design& design, DesignView& view, Canvas* screen) {
    const PassTarget target{
        screen, false, ScreenZoomScale(view.zoom), view.areaWidth / 2, view.areaHeight / 2, 1};
    DrawDesignPass(design, view, target);
}

void ScreenToModel(Design& design, const DesignView& view, int32_t px, int32_t py) {
    const int slot = design.currentTrack;
    if (slot < 0 || slot >= kMaxTracks) {
        return;
    }
    int32_t scale = view.walk.zoomScale;
    if (scale == 0) {
        // No pass has run yet: the scale the next screen pass will use.
        scale = ScreenZoomScale(view.zoom);
    }
    if (scale == 0) {
        return;
    }
    // The exact half of the area, not the integer half of the forward transform.
    auto toModel = [scale](int32_t pixel, int32_t size) {
        const long double fromCentre = static_cast<long double>(pixel) - size * 0.5L;
        const int64_t fine = static_cast<int64_t>(std::trunc(fromCentre * 256.0L));
        return fx::Clamp32(fine * 256 / scale);
    };
    Track& track = design.tracks[slot];
    track.beginX = toModel(px, view.areaWidth);
    track.beginY = toModel(py, view.areaHeight);
}

} // namespace lapwerk
