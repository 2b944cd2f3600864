#include "geometry/hit_test.h"

#include "geometry/fixed_point.h"

namespace lapwerk {

void PickAt(Design& design, DesignView& view, int32_t px, int32_t py) {
    WalkState& walk = view.walk;
    walk.pickSection = kPickNothing;
    // Clamped rather than wrapped: a click far outside never comes back in on the other side.
    walk.pickPoint.x = fx::Clamp32(int64_t{px} * 256);
    walk.pickPoint.y = fx::Clamp32(int64_t{py} * 256);

    walk.drawEnabled = false;
    RedrawDesign(design, view);
    walk.drawEnabled = true;

    if (walk.pickSection == kPickNothing) {
        return;
    }
    const int32_t slot = walk.pickTrack;
    if (slot < 0 || slot >= kMaxTracks) {
        return;
    }
    design.currentTrack = slot;
    design.tracks[slot].selectedSection = walk.pickSection;
    RedrawDesign(design, view);
}

} // namespace lapwerk
