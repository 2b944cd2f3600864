#include "tool_window.h"

#include "screen_fit.h"

#include <QKeySequence>
#include <QMainWindow>
#include <QScreen>
#include <QSettings>
#include <QShortcut>
#include <QWidget>

#include <algorithm>

namespace lapwerk {

namespace {

/// Marks a tool window that has been shown once: from then on it stays where it was left.
constexpr const char* kPlacedProperty = "lapwerkPlaced";

/// The top of what `owner` shows below its menu and toolbars, in screen pixels.
int TopOfWork(const QWidget& owner) {
    const auto* main = qobject_cast<const QMainWindow*>(&owner);
    const QWidget* work = main ? main->centralWidget() : nullptr;
    return work ? work->mapToGlobal(QPoint(0, 0)).y() : owner.frameGeometry().top();
}

/// Where `window` first stands: right of its main window's frame where the free area has
/// room, else left of it, both level with the main window's top; else inside the main window
/// at its right edge, below the menu and toolbars.
QPoint FirstPlace(const QWidget& window) {
    const QWidget* owner = window.parentWidget() ? window.parentWidget()->window() : nullptr;
    if (owner == nullptr || owner->screen() == nullptr) {
        return window.pos();
    }
    const QRect room = owner->screen()->availableGeometry();
    const QRect main = owner->frameGeometry();
    const int width = window.frameGeometry().width();
    const int top = std::max(room.top(), main.top());
    if (main.right() + width < room.right()) {
        return {main.right() + 1, top};
    }
    if (main.left() - width >= room.left()) {
        return {main.left() - width, top};
    }
    return {std::max(room.left(), main.right() + 1 - width), TopOfWork(*owner)};
}

} // namespace

void MakeToolWindow(QWidget& window, Qt::WindowFlags extra) {
    window.setWindowFlags(Qt::Tool | extra);
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), &window);
    escape->setContext(Qt::WindowShortcut);
    QObject::connect(escape, &QShortcut::activated, &window, &QWidget::close);
}

namespace {

QString PlaceKey(const QWidget& window) {
    return QStringLiteral("ToolWindows/") + window.objectName();
}

} // namespace

void RestoreToolWindowPlaces(QSettings& store, const QList<QWidget*>& windows) {
    for (QWidget* window : windows) {
        const QVariant place = store.value(PlaceKey(*window));
        if (place.typeId() == QMetaType::QByteArray &&
            window->restoreGeometry(place.toByteArray())) {
            window->setProperty(kPlacedProperty, true);
        }
    }
}

void SaveToolWindowPlaces(QSettings& store, const QList<QWidget*>& windows) {
    for (const QWidget* window : windows) {
        if (window->property(kPlacedProperty).toBool()) {
            store.setValue(PlaceKey(*window), window->saveGeometry());
        }
    }
}

void ShowToolWindow(QWidget& window) {
    if (!window.property(kPlacedProperty).toBool()) {
        const QPoint at = FirstPlace(window);
        window.move(at);
        window.setProperty(kPlacedProperty, true);
        // Below the main window's menu and toolbars it is shortened rather than moved up over
        // them.
        const int below =
            window.screen()->availableGeometry().bottom() + 1 - at.y() - FrameRoom(window).height();
        if (window.height() > below && below >= window.minimumHeight()) {
            window.resize(window.width(), below);
        }
    }
    FitIntoScreen(window);
    window.setWindowState(window.windowState() & ~Qt::WindowMinimized);
    window.show();
    window.raise();
    window.activateWindow();
}

} // namespace lapwerk
