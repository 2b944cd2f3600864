#pragma once

#include "canvas.h"
#include "design.h"
#include "design_view.h"

#include <cstdint>

namespace lapwerk {

/// What tells a screen pass from a printer pass.
struct PassTarget {
    Canvas* canvas;    ///< where the pass draws; nullptr draws nothing
    bool onPaper;      ///< printer pass: no clearing, no ruler or grid, fine curve steps
    int32_t zoomScale; ///< output scale of the pass
    int32_t centreX;   ///< view centre, output pixels
    int32_t centreY;
    int penWidth;       ///< pen width of board outline and tracks, view pixels
    int32_t pixelRatio; ///< output pixels per view pixel
    int32_t width;      ///< the area a screen pass clears, output pixels
    int32_t height;
};

/// One pass of the design view on `target`: sets the scale, clears the area and draws ruler and
/// grid on screen, then the board outline and every track in use in slot order, writing lane
/// lengths, split mark, pick result and board texts as it goes.
void DrawDesignPass(Design& design, DesignView& view, const PassTarget& target);

} // namespace lapwerk
