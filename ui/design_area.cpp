#include "design_area.h"

#include "qpainter_canvas.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPen>
#include <QResizeEvent>
#include <QWheelEvent>

namespace lapwerk {

namespace {

/// One notch of a standard mouse wheel: 15 degrees, in the eighths of a degree Qt reports.
constexpr int64_t kEighthsPerNotch = 120;

std::unique_ptr<Canvas> MakeScreenCanvas(QPainter& painter) {
    return std::make_unique<QPainterCanvas>(painter);
}

} // namespace

DesignArea::DesignArea(Design& design, DesignView& view, QWidget* parent)
    : QWidget(parent), design_(design), view_(view) {
    setObjectName("DesignArea");
    setAccessibleName("Design view");
    setAttribute(Qt::WA_OpaquePaintEvent);
    // A click takes the keyboard focus: a board box being edited is left (and its size taken),
    // and the editing keys then act on the design.
    setFocusPolicy(Qt::ClickFocus);
    setMinimumSize(1, 1);
    rebuildBuffer(QSize(1, 1));
}

DesignArea::~DesignArea() {
    if (painter_.isActive()) {
        painter_.end();
    }
}

void DesignArea::startDrawing() {
    started_ = true;
}

void DesignArea::rebuildBuffer(QSize size) {
    if (painter_.isActive()) {
        painter_.end();
    }
    canvas_.reset();
    buffer_ = QImage(size.expandedTo(QSize(1, 1)), QImage::Format_RGB32);
    buffer_.fill(Qt::white);
    painter_.begin(&buffer_);
    canvas_ = MakeScreenCanvas(painter_);
    view_.areaWidth = width();
    view_.areaHeight = height();
}

void DesignArea::redraw() {
    RedrawDesign(design_, view_, started_ ? canvas_.get() : nullptr);
    layOutOverlay();
    update();
    Q_EMIT redrawn();
}

void DesignArea::setOverlay(OverlayLines lines) {
    overlay_ = std::move(lines);
    layOutOverlay();
    update();
}

void DesignArea::layOutOverlay() {
    overlayLines_.clear();
    if (overlay_) {
        // Where RedrawDesign puts model point (0, 0), at the scale of the zoom bar's step.
        overlayLines_ =
            overlay_(ScreenZoomScale(view_.zoom), view_.areaWidth / 2, view_.areaHeight / 2);
    }
}

void DesignArea::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    painter.drawImage(event->rect(), buffer_, event->rect());
    if (!overlayLines_.empty()) {
        painter.setPen(QPen(QColor(kOverlayColour), 2, Qt::DashLine));
        painter.drawLines(overlayLines_.data(), static_cast<int>(overlayLines_.size()));
    }
}

void DesignArea::resizeEvent(QResizeEvent* event) {
    rebuildBuffer(event->size());
    if (started_) {
        Q_EMIT resized();
    }
}

void DesignArea::mousePressEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    Q_EMIT mousePressed(event->button(), at.x(), at.y());
}

void DesignArea::wheelEvent(QWheelEvent* event) {
    const int delta = event->angleDelta().y();
    if (delta == 0) {
        event->ignore();
        return;
    }
    event->accept();
    // Fine-grained wheels and touchpads report parts of a notch; they add up to whole steps.
    wheelEighths_ += delta;
    const int64_t notches = wheelEighths_ / kEighthsPerNotch;
    wheelEighths_ -= notches * kEighthsPerNotch;
    if (notches != 0) {
        Q_EMIT wheelTurned(static_cast<int>(notches));
    }
}

} // namespace lapwerk
