#pragma once

class QSize;
class QWidget;

namespace lapwerk {

/// What the window system's frame adds to `window`'s size, as far as it is known before the
/// window shows: a title bar and borders.
QSize FrameRoom(const QWidget& window);

/// Makes the top-level `window` no larger than its screen's free area, and moves it into that
/// area; a maximised or full-screen window is left as it is.
void FitIntoScreen(QWidget& window);

} // namespace lapwerk
