#include "screen_fit.h"

#include <QScreen>
#include <QStyle>
#include <QWidget>

#include <algorithm>

namespace lapwerk {

QSize FrameRoom(const QWidget& window) {
    const QStyle* style = window.style();
    const int border = style->pixelMetric(QStyle::PM_DefaultFrameWidth);
    return {2 * border, style->pixelMetric(QStyle::PM_TitleBarHeight) + 2 * border};
}

void FitIntoScreen(QWidget& window) {
    if (window.isMaximized() || window.isFullScreen() || window.screen() == nullptr) {
        return;
    }
    const QRect room = window.screen()->availableGeometry();
    const QSize frame = FrameRoom(window);
    const QSize fitting = window.size().boundedTo(room.size() - frame);
    if (fitting != window.size()) {
        window.resize(fitting);
    }
    const QPoint inside(
        std::clamp(window.x(), room.left(),
                   std::max(room.left(), room.right() - frame.width() - window.width())),
        std::clamp(window.y(), room.top(),
                   std::max(room.top(), room.bottom() - frame.height() - window.height())));
    if (inside != window.pos() && !room.contains(window.frameGeometry())) {
        window.move(inside);
    }
}

} // namespace lapwerk
