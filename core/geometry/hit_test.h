#pragma once

#include "design.h"
#include "design_view.h"

#include <cstdint>

namespace lapwerk {

/// Picks the Track and Section under pixel (px, py) of the drawing area with a silent pass.
/// On a hit the Track becomes current with the picked Section selected (-1 for its begin
/// point), a second silent pass brings the pass results up to date and PickAt returns true:
/// the caller then shows the design with a visible pass. On a miss nothing changes. The result
/// is also left in view.walk.pickTrack and view.walk.pickSection (kPickNothing on a miss).
bool PickAt(Design& design, DesignView& view, int32_t px, int32_t py);

} // namespace lapwerk
