#include "hit_test.h"

#include "fixed_point.h"

namespace lapwerk {

bool PickAt(Design& design, DesignView& view, int32_t px, int32_t py) {
    WalkState& walk = view.walk;
    walk.pickSection = kPickNothing;
    // Clamped rather than wrapped: a click far outside never comes back in on the other side.
    const int64_t finePerPixel = int64_t{256} * ScreenPixelRatio(view);
    walk.pickPoint.x = fx::Clamp32(px * finePerPixel);
    walk.pickPoint.y = fx::Clamp32(py * finePerPixel);

    RedrawDesign(design, view, nullptr);

    if (walk.pickSection == kPickNothing) {
        return false;
    }
    const int32_t slot = walk.pickTrack;
    if (slot < 0 || slot >= kMaxTracks) {
        return false;
    }
    design.currentTrack = slot;
    design.tracks[slot].selectedSection = walk.pickSection;
    // The lane lengths, split mark and board texts of the design with its new selection.
    RedrawDesign(design, view, nullptr);
    return true;
}

} // namespace lapwerk
