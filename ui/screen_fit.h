#pragma once

class QWidget;

namespace lapwerk {

/// Makes the top-level `window` no larger than its screen's free area, and moves it into that
/// area; a maximised or full-screen window is left as it is.
void FitIntoScreen(QWidget& window);

} // namespace lapwerk
