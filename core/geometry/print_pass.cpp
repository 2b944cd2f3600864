#include "print_pass.h"

#include "board.h"
#include "design_pass.h"
#include "fixed_point.h"

#include <algorithm>
#include <cmath>

namespace lapwerk {

namespace {

/// Above this scale (4096 printer pixels per inch) the board is too small for a page: model
/// lengths would no longer fit the 32-bit products of the walk.
constexpr int32_t kMaxPaperZoomScale = 1 << 20;

bool IsBoardSize(float size) {
    return std::isfinite(size) && size > 0.0f;
}

} // namespace

int32_t PaperZoomScale(const Design& design, PageSize page) {
    if (!IsBoardSize(design.boardX) || !IsBoardSize(design.boardY)) {
        return 0;
    }
    const float across = static_cast<float>(page.width) / design.boardX;
    const float down = static_cast<float>(page.height) / design.boardY;
    const float limiting = std::min(across, down);
    return fx::TruncToInt32(static_cast<long double>(limiting) * 0.95L * 256.0L);
}

std::string PrintHeaderText(const std::string& caption, const BoardTexts& boardTexts) {
    return caption + "       " + boardTexts.x + " x " + boardTexts.y + "         " + kPrintNotice;
}

void DrawPaperPass(Design& design, DesignView& view, Canvas& paper, int32_t zoomScale,
                   int32_t centreX, int32_t centreY) {
    // The paper pass must not leave its scale, pen or pick results behind: the next click on
    // the screen is read with the screen's.
    const WalkState screenWalk = view.walk;
    const int32_t current = design.currentTrack;
    design.currentTrack = -1;
    view.walk.drawEnabled = true;
    // Paper has no pixel ratio and nothing to clear.
    DrawDesignPass(design, view, {&paper, true, zoomScale, centreX, centreY, 2, 1, 0, 0});
    design.currentTrack = current;
    view.walk = screenWalk;
}

MaybeMessage PrintDesignPage(Design& design, DesignView& view, Canvas& printer, PageSize page,
                             const std::string& caption) {
    if (!IsBoardSize(design.boardX) || !IsBoardSize(design.boardY)) {
        return Message{"The board width and depth must be greater than 0 to print the design.",
                       "Error"};
    }
    const int32_t scale = PaperZoomScale(design, page);
    if (scale <= 0 || scale > kMaxPaperZoomScale) {
        return Message{"The board cannot be printed to scale on this page.", "Error"};
    }

    // The texts the board boxes show after any pass.
    const BoardTexts texts{FormatBoardSize(design.boardX, view.metric),
                           FormatBoardSize(design.boardY, view.metric)};
    printer.setBrush(kWhite);
    printer.textOut(20, 20, PrintHeaderText(caption, texts).c_str());

    DrawPaperPass(design, view, printer, scale, page.width / 2, page.height / 2);
    return std::nullopt;
}

} // namespace lapwerk
