#include "view_navigation.h"

#include "board.h"
#include "canvas.h"
#include "fixed_point.h"
#include "pass_canvas.h"
#include "walk.h"

#include <algorithm>
#include <cmath>
#include <optional>

namespace lapwerk {

namespace {

/// The scale of the walk that measures the extent: a pixel is 1/16 inch, 16 model units.
constexpr int32_t kExtentZoomScale = 4096;
constexpr int64_t kModelUnitsPerExtentPixel = 16;

/// A canvas that keeps only the box of the pixels that lines, polygons and ellipses reach.
class BoundsCanvas final : public Canvas {
public:
    void setPen(Rgb, int) override {}
    void setBrush(Rgb) override {}
    void moveTo(int32_t x, int32_t y) override { current_ = {x, y}; }
    void lineTo(int32_t x, int32_t y) override {
        add(current_);
        current_ = {x, y};
        add(current_);
    }
    void polygon(const PixelPoint (&corners)[4]) override {
        for (const PixelPoint& corner : corners) {
            add(corner);
        }
    }
    void fillRect(int32_t, int32_t, int32_t, int32_t) override {}
    void ellipse(int32_t left, int32_t top, int32_t right, int32_t bottom) override {
        add({left, top});
        add({right, bottom});
    }
    void textOut(int32_t, int32_t, const char*) override {}

    const std::optional<PixelBox>& box() const { return box_; }

private:
    void add(PixelPoint p) {
        if (!box_) {
            box_ = PixelBox{p.x, p.y, p.x, p.y};
            return;
        }
        box_->left = std::min(box_->left, p.x);
        box_->top = std::min(box_->top, p.y);
        box_->right = std::max(box_->right, p.x);
        box_->bottom = std::max(box_->bottom, p.y);
    }

    PixelPoint current_{0, 0};
    std::optional<PixelBox> box_;
};

/// Half of a board side, model units: 0 for a side of no usable size.
int64_t HalfBoardSide(float inches) {
    if (!std::isfinite(inches)) {
        return 0;
    }
    return std::llround(std::min(std::fabs(static_cast<long double>(inches)) * 128.0L, 2e9L));
}

/// The pixel of model coordinate `model` relative to the pixel of model 0, at `zoomScale`.
int64_t PixelOfModel(int64_t model, int32_t zoomScale) {
    return (model * zoomScale) >> 16;
}

/// The pans along one axis of `size` view pixels that keep content pixels [low, high] (relative
/// to the pixel of model 0) in view, or that show the content from one end to the other.
PanRange RangeOnAxis(int64_t low, int64_t high, int32_t size, int32_t pan) {
    // The view shows pixels pan - size / 2 to pan - size / 2 + size - 1.
    const int64_t half = size / 2;
    const int64_t firstEdgeInView = low + half;
    const int64_t lastEdgeInView = high - size + 1 + half;
    const int64_t lowest = std::min({firstEdgeInView, lastEdgeInView, int64_t{pan}});
    const int64_t highest = std::max({firstEdgeInView, lastEdgeInView, int64_t{pan}});
    return {fx::Clamp32(lowest), fx::Clamp32(highest)};
}

/// The pan along one axis that keeps the model point under view pixel `pixel` there.
int32_t PanKeepingAxis(int32_t pixel, int32_t size, int32_t pan, int32_t oldScale,
                       int32_t newScale) {
    const long double centre = static_cast<long double>(size / 2) - pan;
    // Measured from the middle of the pixel, so that zooming in and out again comes back.
    const long double at = pixel + 0.5L;
    const long double newCentre = at - (at - centre) * newScale / oldScale;
    return fx::Clamp32(int64_t{size / 2} - std::llround(newCentre));
}

/// Pixels of the fitted extent from its first to its last, relative to the pixel of model 0.
struct PixelSpan {
    int64_t first, last;
    int64_t length() const { return last - first + 1; }
};

PixelSpan SpanAt(int32_t low, int32_t high, int32_t zoomScale) {
    return {PixelOfModel(low, zoomScale), PixelOfModel(high, zoomScale)};
}

/// The pan along one axis of `size` pixels that puts the middle of `span` in the middle of the
/// part of the area after its first `inset` pixels.
int32_t CentringPan(const PixelSpan& span, int32_t size, int32_t inset) {
    const int64_t middle = (span.first + span.last) / 2;
    const int64_t uncoveredMiddle = inset + (int64_t{size} - inset) / 2;
    return fx::Clamp32(size / 2 - uncoveredMiddle + middle);
}

/// Remembers where the current track's selection is.
class SelectionObserver final : public WalkObserver {
public:
    explicit SelectionObserver(int selected) : selected_(selected) {}

    void trackBegun(int, const PenPose& begin) override { position_ = PositionOf(begin); }
    void sectionWalked(int, int section, const PenPose&, const std::optional<FinePoint>&,
                       const PenPose& end) override {
        if (section == selected_) {
            position_ = PositionOf(end);
        }
    }

    const std::optional<PlanePoint>& position() const { return position_; }

private:
    static PlanePoint PositionOf(const PenPose& pen) {
        return {static_cast<double>(pen.x), static_cast<double>(pen.y)};
    }

    int selected_;
    std::optional<PlanePoint> position_;
};

} // namespace

std::optional<ModelBox> TracksExtent(const Design& design, const PartLibrary& library) {
    BoundsCanvas bounds;
    PassCanvas canvas(&bounds);
    WalkState state = InitialWalkState();
    state.zoomScale = kExtentZoomScale;
    state.segments = true;
    state.pickPoint = {INT32_MIN, INT32_MIN};
    WalkPass pass{state, &library, canvas, 0, 0, nullptr};
    for (int slot = 0; slot < kMaxTracks; ++slot) {
        if (design.tracks[slot].inUse != 0) {
            WalkTrack(pass, design.tracks[slot], slot, false);
        }
    }
    const std::optional<PixelBox>& box = bounds.box();
    if (!box) {
        return std::nullopt;
    }
    return ModelBox{fx::Clamp32(box->left * kModelUnitsPerExtentPixel),
                    fx::Clamp32(box->top * kModelUnitsPerExtentPixel),
                    fx::Clamp32((box->right + int64_t{1}) * kModelUnitsPerExtentPixel),
                    fx::Clamp32((box->bottom + int64_t{1}) * kModelUnitsPerExtentPixel)};
}

ModelBox DesignExtent(const Design& design, const PartLibrary& library) {
    const auto halfX = static_cast<int32_t>(HalfBoardSide(design.boardX));
    const auto halfY = static_cast<int32_t>(HalfBoardSide(design.boardY));
    ModelBox extent{-halfX, -halfY, halfX, halfY};
    if (const std::optional<ModelBox> tracks = TracksExtent(design, library)) {
        extent = {std::min(extent.left, tracks->left), std::min(extent.top, tracks->top),
                  std::max(extent.right, tracks->right), std::max(extent.bottom, tracks->bottom)};
    }
    return extent;
}

PanRanges ScrollRanges(const ModelBox& extent, const DesignView& view) {
    const int32_t scale = ScreenZoomScale(std::clamp(view.zoom, kMinZoomStep, kMaxZoomStep));
    const PixelSpan x = SpanAt(extent.left, extent.right, scale);
    const PixelSpan y = SpanAt(extent.top, extent.bottom, scale);
    return {RangeOnAxis(x.first - kPanMarginPixels, x.last + kPanMarginPixels, view.areaWidth,
                        view.panX),
            RangeOnAxis(y.first - kPanMarginPixels, y.last + kPanMarginPixels, view.areaHeight,
                        view.panY)};
}

PanOffset PanKeepingPoint(const DesignView& view, int32_t newZoom, int32_t px, int32_t py) {
    const int32_t oldScale = ScreenZoomScale(std::clamp(view.zoom, kMinZoomStep, kMaxZoomStep));
    const int32_t newScale = ScreenZoomScale(std::clamp(newZoom, kMinZoomStep, kMaxZoomStep));
    return {PanKeepingAxis(px, view.areaWidth, view.panX, oldScale, newScale),
            PanKeepingAxis(py, view.areaHeight, view.panY, oldScale, newScale)};
}

ViewFit FitExtent(const ModelBox& extent, int32_t width, int32_t height, int32_t inset) {
    const int64_t roomX = int64_t{width} - inset - 2 * kFitMarginPixels;
    const int64_t roomY = int64_t{height} - inset - 2 * kFitMarginPixels;
    int32_t zoom = kMinZoomStep;
    for (int32_t step = kMaxZoomStep; step > kMinZoomStep; --step) {
        const int32_t scale = ScreenZoomScale(step);
        if (SpanAt(extent.left, extent.right, scale).length() <= roomX &&
            SpanAt(extent.top, extent.bottom, scale).length() <= roomY) {
            zoom = step;
            break;
        }
    }
    const int32_t scale = ScreenZoomScale(zoom);
    return {zoom,
            {CentringPan(SpanAt(extent.left, extent.right, scale), width, inset),
             CentringPan(SpanAt(extent.top, extent.bottom, scale), height, inset)}};
}

ViewFit ZoomToFit(const Design& design, const PartLibrary& library, int32_t width, int32_t height) {
    const int32_t inset = design.ruler != 0 ? kRulerStripPixels : 0;
    return FitExtent(DesignExtent(design, library), width, height, inset);
}

PlanePoint ViewPixelOfModel(const DesignView& view, PlanePoint model) {
    const ScreenPlacement place = PlaceScreen(view);
    const double ratio = place.pixelRatio;
    return {(place.centreX + model.x * place.zoomScale / 65536.0) / ratio,
            (place.centreY + model.y * place.zoomScale / 65536.0) / ratio};
}

PlanePoint ModelOfViewPixel(const DesignView& view, PlanePoint pixel) {
    const ScreenPlacement place = PlaceScreen(view);
    const double ratio = place.pixelRatio;
    return {(pixel.x * ratio - place.centreX) * 65536.0 / place.zoomScale,
            (pixel.y * ratio - place.centreY) * 65536.0 / place.zoomScale};
}

std::optional<PlanePoint> SelectionPosition(const Design& design, const PartLibrary& library) {
    const int slot = design.currentTrack;
    if (slot < 0 || slot >= kMaxTracks || design.tracks[slot].inUse == 0) {
        return std::nullopt;
    }
    // At this scale a fine pixel of the walk is a model unit.
    constexpr int32_t kModelScale = 256;
    SelectionObserver observer(design.tracks[slot].selectedSection);
    WalkDesignSilently(design, library, kModelScale, 0, 0, observer, slot);
    return observer.position();
}

PanOffset PanCentring(const DesignView& view, const ModelBox& extent, int32_t inset) {
    const int32_t scale = ScreenZoomScale(std::clamp(view.zoom, kMinZoomStep, kMaxZoomStep));
    return {CentringPan(SpanAt(extent.left, extent.right, scale), view.areaWidth, inset),
            CentringPan(SpanAt(extent.top, extent.bottom, scale), view.areaHeight, inset)};
}

} // namespace lapwerk
