#pragma once

#include <QCursor>

namespace lapwerk {

/// Which way the small arrow of a curve cursor bends.
enum class CurveCursorSide { Left, Right };

/// The 32 x 32 monochrome curve cursors "CRLEFT" and "CRRIGHT": the arrow pointer with, below
/// and to the right of its tip, a small arrow that rises and bends left or right. The hot spot
/// is the top-left pixel.
QCursor CurveCursor(CurveCursorSide side);

/// The cursor's picture as 32 x 32 pixels: 0 transparent, 1 white, 2 black.
QImage CurveCursorPixels(CurveCursorSide side);

} // namespace lapwerk
