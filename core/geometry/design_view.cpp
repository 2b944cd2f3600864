#include "design_view.h"

#include "board.h"
#include "design_pass.h"
#include "fixed_point.h"
#include "pass_canvas.h"
#include "walk.h"

#include <algorithm>
#include <cmath>

namespace lapwerk {

int32_t ScreenZoomScale(int32_t zoom) {
    return fx::Add(fx::Mul(64, zoom), 128);
}

int32_t ScreenPixelRatio(const DesignView& view) {
    return std::clamp<int32_t>(view.pixelRatio, 1, kMaxPixelRatio);
}

namespace {

/// Where a screen pass draws model point (0, 0) along one axis, device pixels.
int32_t ScreenCentre(int32_t areaSize, int32_t pan, int32_t ratio) {
    return fx::Clamp32((int64_t{areaSize / 2} - pan) * ratio);
}

/// The zoomScale and pixel ratio of the last pass, or before any pass those the next screen
/// pass will use.
struct PassScale {
    int32_t zoomScale;
    int32_t pixelRatio;
};

PassScale LastPassScale(const DesignView& view) {
    if (view.walk.zoomScale != 0) {
        return {view.walk.zoomScale, std::max<int32_t>(view.walk.pixelRatio, 1)};
    }
    const int32_t ratio = ScreenPixelRatio(view);
    return {fx::Mul(ScreenZoomScale(view.zoom), ratio), ratio};
}

/// Sets the current Track's begin point from a device position of the last pass.
void DeviceToModel(Design& design, const DesignView& view, long double x, long double y) {
    const int slot = design.currentTrack;
    if (slot < 0 || slot >= kMaxTracks) {
        return;
    }
    const PassScale scale = LastPassScale(view);
    if (scale.zoomScale == 0) {
        return;
    }
    // The exact half of the area, not the integer half of the forward transform.
    auto toModel = [&](long double device, int32_t size, int32_t pan) {
        const long double fromCentre = device - scale.pixelRatio * (size * 0.5L - pan);
        const int64_t fine = static_cast<int64_t>(std::trunc(fromCentre * 256.0L));
        return fx::Clamp32(fine * 256 / scale.zoomScale);
    };
    Track& track = design.tracks[slot];
    track.beginX = toModel(x, view.areaWidth, view.panX);
    track.beginY = toModel(y, view.areaHeight, view.panY);
}

} // namespace

void DrawDesignPass(Design& design, DesignView& view, const PassTarget& target) {
    design.zoom = view.zoom;
    WalkState& walk = view.walk;
    walk.zoomScale = target.zoomScale;
    walk.pixelRatio = target.pixelRatio;
    walk.onPaper = target.onPaper;

    PassCanvas canvas(walk.drawEnabled ? target.canvas : nullptr, target.pixelRatio);
    canvas.setPen(kWhite, target.penWidth);
    canvas.setBrush(kWhite);

    const int32_t cx = target.centreX;
    const int32_t cy = target.centreY;
    if (!target.onPaper) {
        const int32_t w = target.width;
        const int32_t h = target.height;
        const int32_t corner = design.ruler != 0 ? kRulerStripPixels * target.pixelRatio : 0;
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

ScreenPlacement PlaceScreen(const DesignView& view) {
    const int32_t ratio = ScreenPixelRatio(view);
    return {fx::Mul(ScreenZoomScale(view.zoom), ratio),
            ScreenCentre(view.areaWidth, view.panX, ratio),
            ScreenCentre(view.areaHeight, view.panY, ratio), ratio};
}

void RedrawDesign(Design& design, DesignView& view, Canvas* screen) {
    const ScreenPlacement place = PlaceScreen(view);
    const PassTarget target{screen,
                            false,
                            place.zoomScale,
                            place.centreX,
                            place.centreY,
                            1,
                            place.pixelRatio,
                            fx::Clamp32(int64_t{view.areaWidth} * place.pixelRatio),
                            fx::Clamp32(int64_t{view.areaHeight} * place.pixelRatio)};
    DrawDesignPass(design, view, target);
}

void ScreenToModel(Design& design, const DesignView& view, int32_t px, int32_t py) {
    const int32_t ratio = LastPassScale(view).pixelRatio;
    DeviceToModel(design, view, static_cast<long double>(px) * ratio,
                  static_cast<long double>(py) * ratio);
}

void DevicePointToModel(Design& design, const DesignView& view, int32_t x, int32_t y) {
    DeviceToModel(design, view, x, y);
}

} // namespace lapwerk
