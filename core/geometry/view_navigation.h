#pragma once

#include "design.h"
#include "design_view.h"
#include "part_library.h"

#include <cstdint>
#include <optional>

// Moving the view over a design: how far the design reaches, how far the view may pan, the pan
// that keeps a point under the pointer while zooming, and the zoom step and pan that fit the
// whole design. The view's pan, zoom and area are those of DesignView.

namespace lapwerk {

/// The zoom bar's range of steps.
inline constexpr int32_t kMinZoomStep = 1;
inline constexpr int32_t kMaxZoomStep = 24;

/// A rectangle in model units, all four edges included.
struct ModelBox {
    int32_t left, top, right, bottom;
    friend bool operator==(const ModelBox&, const ModelBox&) = default;
};

/// The box, model units, that holds model point (0, 0), the board outline around it and
/// everything drawn of every track in use, traced with the screen's curve steps to 1/16 of an
/// inch.
ModelBox DesignExtent(const Design& design, const PartLibrary& library);

/// A pan, view pixels (DesignView::panX and panY).
struct PanOffset {
    int32_t x, y;
    friend bool operator==(const PanOffset&, const PanOffset&) = default;
};

/// The pans a scroll bar offers along one axis, view pixels, both ends included.
struct PanRange {
    int32_t minimum, maximum;
    friend bool operator==(const PanRange&, const PanRange&) = default;
};

/// The scroll ranges of both axes.
struct PanRanges {
    PanRange x, y;
};

/// Room that the scroll ranges leave around the extent, view pixels.
inline constexpr int32_t kPanMarginPixels = 64;

/// The pans at view.zoom between which the area shows `extent` with kPanMarginPixels around
/// it: from its left (top) edge in view to its right (bottom) edge in view when it is larger
/// than the area, or every pan that keeps it whole in view when it is smaller. Each range also
/// holds the view's present pan, so that setting it never moves the view. A scroll bar's value
/// is the pan and its page step the area's width or height.
PanRanges ScrollRanges(const ModelBox& extent, const DesignView& view);

/// The pan that keeps the model point under view pixel (px, py) there, to the nearest pixel,
/// when the view's zoom step changes from view.zoom to `newZoom`.
PanOffset PanKeepingPoint(const DesignView& view, int32_t newZoom, int32_t px, int32_t py);

/// A zoom step with the pan that goes with it.
struct ViewFit {
    int32_t zoom;
    PanOffset pan;
    friend bool operator==(const ViewFit&, const ViewFit&) = default;
};

/// Pixels that a fitted extent keeps from each side of the area.
inline constexpr int32_t kFitMarginPixels = 8;

/// The largest zoom step at which `extent` fits into a `width` x `height` view pixel area whose
/// left and top `inset` pixels are covered (by the ruler strips), keeping kFitMarginPixels from
/// each side, and the pan that centres it in the rest; step 1, centred, when it fits at none.
ViewFit FitExtent(const ModelBox& extent, int32_t width, int32_t height, int32_t inset);

/// Zoom to Fit: FitExtent of the design's extent in a `width` x `height` area, less the ruler
/// strips while the Design's ruler is on.
ViewFit ZoomToFit(const Design& design, const PartLibrary& library, int32_t width, int32_t height);

/// A point in model units or in view pixels, as the function that gives it says.
struct PlanePoint {
    double x, y;
    friend bool operator==(const PlanePoint&, const PlanePoint&) = default;
};

/// Where model point `model` is drawn: view pixels from the area's top-left corner, outside
/// the area when it is out of view.
PlanePoint ViewPixelOfModel(const DesignView& view, PlanePoint model);

/// The model point drawn at view pixel `pixel`.
PlanePoint ModelOfViewPixel(const DesignView& view, PlanePoint pixel);

/// Where the work goes on, model units: the end of the current track's selected section, or
/// its begin point while no section is selected; nothing without a current track in use.
std::optional<PlanePoint> SelectionPosition(const Design& design, const PartLibrary& library);

/// The box, model units, of everything drawn of the tracks in use; nothing without one.
std::optional<ModelBox> TracksExtent(const Design& design, const PartLibrary& library);

/// The pan at view.zoom that puts the middle of `extent` in the middle of the area less its
/// left and top `inset` pixels (the ruler strips).
PanOffset PanCentring(const DesignView& view, const ModelBox& extent, int32_t inset);

} // namespace lapwerk
