#pragma once

#include "canvas.h"
#include "design.h"
#include "design_view.h"
#include "message.h"

#include <cstdint>
#include <string>

namespace lapwerk {

/// The fixed notice that ends the printed header line.
inline constexpr const char* kPrintNotice = "Printed with Lapwerk, a slot-car track designer";

/// Size of the printable area of a page, in printer pixels.
struct PageSize {
    int32_t width;
    int32_t height;
};

/// Printer zoomScale: trunc(0.95 x 256 x min(page width / boardX, page height / boardY)).
int32_t PaperZoomScale(const Design& design, PageSize page);

/// The header line of a printed design: caption, seven blanks, the board texts joined by
/// " x ", nine blanks and the notice.
std::string PrintHeaderText(const std::string& caption, const BoardTexts& boardTexts);

/// The printer pass of the design onto `paper` at `zoomScale` with model point (0, 0) at output
/// pixel (centreX, centreY), with no current track and pen width 2. Puts back what a pass
/// changes that the screen relies on: the current track and the whole walk state.
void DrawPaperPass(Design& design, DesignView& view, Canvas& paper, int32_t zoomScale,
                   int32_t centreX, int32_t centreY);

/// Prints the design on one page: header line at (20, 20), then the printer pass with no
/// current track (the current track is put back afterwards). Refuses with a message, drawing
/// nothing, when the board width or depth is 0 or less.
MaybeMessage PrintDesignPage(Design& design, DesignView& view, Canvas& printer, PageSize page,
                             const std::string& caption);

} // namespace lapwerk
