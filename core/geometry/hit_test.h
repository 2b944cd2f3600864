#pragma once

#include "geometry/design_view.h"
#include "model/design.h"

#include <cstdint>

namespace lapwerk {

/// Picks the Track and Section under pixel (px, py) of the drawing area with a silent pass.
/// On a hit the Track becomes current with the picked Section selected (-1 for its begin
/// point) and a visible pass follows; on a miss nothing changes. The result is also left in
/// view.walk.pickTrack and view.walk.pickSection (kPickNothing on a miss).
void PickAt(Design& design, DesignView& view, int32_t px, int32_t py);

} // namespace lapwerk
