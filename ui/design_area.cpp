#include "design_area.h"

#include "board.h"
#include "fixed_point.h"

#include <QGuiApplication>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPen>
#include <QResizeEvent>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QStyle>
#include <QWheelEvent>
#include <QtMath>

#include <algorithm>
#include <cmath>

namespace lapwerk {

namespace {

/// One notch of a standard mouse wheel: 15 degrees, in the eighths of a degree Qt reports.
constexpr int64_t kEighthsPerNotch = 120;
/// A notch of sideways scrolling moves the view 60 pixels: 2 eighths of a degree a pixel.
constexpr int64_t kEighthsPerScrollPixel = 2;
/// How far a click on a scroll bar's arrow moves the view, pixels.
constexpr int kScrollStepPixels = 20;

QScrollBar* MakeScrollBar(Qt::Orientation orientation, const char* name, QWidget* parent) {
    auto* bar = new QScrollBar(orientation, parent);
    bar->setObjectName(name);
    bar->setFocusPolicy(Qt::NoFocus);
    bar->setSingleStep(kScrollStepPixels);
    bar->setCursor(Qt::ArrowCursor);
    return bar;
}

} // namespace

DesignArea::DesignArea(Design& design, DesignView& view, QWidget* parent)
    : QWidget(parent), design_(design), view_(view),
      horizontalBar_(MakeScrollBar(Qt::Horizontal, "HorizontalScrollBar", this)),
      verticalBar_(MakeScrollBar(Qt::Vertical, "VerticalScrollBar", this)) {
    setObjectName("DesignArea");
    setAccessibleName("Design view");
    setAttribute(Qt::WA_OpaquePaintEvent);
    // A click takes the keyboard focus: a board box being edited is left (and its size taken),
    // and the editing keys then act on the design.
    setFocusPolicy(Qt::StrongFocus);
    setMinimumSize(1, 1);
    // The pointer's position over the board is shown while it moves, buttons held or not.
    setMouseTracking(true);
    connect(horizontalBar_, &QScrollBar::valueChanged, this,
            [this](int pan) { scrollTo(Qt::Horizontal, pan); });
    connect(verticalBar_, &QScrollBar::valueChanged, this,
            [this](int pan) { scrollTo(Qt::Vertical, pan); });
    rebuildBuffer();
}

DesignArea::~DesignArea() {
    endDrag();
    canvas_.reset();
    if (painter_.isActive()) {
        painter_.end();
    }
}

void DesignArea::startDrawing() {
    started_ = true;
}

int32_t DesignArea::screenPixelRatio() const {
    // Fractional ratios draw at the nearest whole one; the buffer is then scaled a little.
    const long ratio = std::lround(devicePixelRatioF());
    return static_cast<int32_t>(std::clamp<long>(ratio, 1, kMaxPixelRatio));
}

void DesignArea::rebuildBuffer() {
    canvas_.reset();
    if (painter_.isActive()) {
        painter_.end();
    }
    const int32_t ratio = screenPixelRatio();
    buffer_ = QImage(size().expandedTo(QSize(1, 1)) * ratio, QImage::Format_RGB32);
    buffer_.fill(Qt::white);
    painter_.begin(&buffer_);
    canvas_ = std::make_unique<QPainterCanvas>(painter_, smoothing_);
    view_.areaWidth = width();
    view_.areaHeight = height();
    view_.pixelRatio = ratio;
}

void DesignArea::setSmoothing(Smoothing smoothing) {
    if (smoothing_ != smoothing) {
        smoothing_ = smoothing;
        rebuildBuffer();
    }
}

void DesignArea::setPanKeyHeld(bool held) {
    panKeyHeld_ = held;
}

QRect DesignArea::openRect() const {
    if (!verticalBar_->isVisible()) {
        return rect();
    }
    return QRect(0, 0, verticalBar_->x(), horizontalBar_->y());
}

void DesignArea::redraw() {
    if (view_.library != nullptr) {
        extent_ = DesignExtent(design_, *view_.library);
    }
    showPass();
}

void DesignArea::panBy(int dx, int dy) {
    if (dx == 0 && dy == 0) {
        return;
    }
    view_.panX = fx::Clamp32(int64_t{view_.panX} + dx);
    view_.panY = fx::Clamp32(int64_t{view_.panY} + dy);
    showPass();
}

void DesignArea::showPass() {
    if (view_.pixelRatio != screenPixelRatio()) {
        rebuildBuffer();
    }
    RedrawDesign(design_, view_, started_ ? canvas_.get() : nullptr);
    canvas_->flush();
    layOutOverlay();
    showScrollRanges();
    update();
    Q_EMIT redrawn();
}

void DesignArea::setOverlay(OverlayLines lines, QColor colour) {
    overlay_ = std::move(lines);
    overlayColour_ = colour;
    layOutOverlay();
    update();
}

void DesignArea::setMarks(MarkLayout marks) {
    markLayout_ = std::move(marks);
    layOutOverlay();
    update();
}

void DesignArea::layOutOverlay() {
    // Where the pass draws model point (0, 0) and at which scale, in device pixels.
    const ScreenPlacement place = PlaceScreen(view_);
    overlayLines_.clear();
    if (overlay_) {
        overlayLines_ = overlay_(place.zoomScale, place.centreX, place.centreY);
    }
    marks_.clear();
    if (markLayout_) {
        marks_ = markLayout_(place.zoomScale, place.centreX, place.centreY, place.pixelRatio);
    }
}

int DesignArea::viewMargin() const {
    const QRect open = openRect();
    return std::min(open.width(), open.height()) / 8;
}

void DesignArea::showModelPoint(double x, double y) {
    const PlanePoint at = ViewPixelOfModel(view_, {x, y});
    const QRect open = openRect();
    const int margin = viewMargin();
    if (open.adjusted(margin, margin, -margin, -margin).contains(QPointF(at.x, at.y).toPoint())) {
        return;
    }
    panBy(qRound(at.x - open.center().x()), qRound(at.y - open.center().y()));
}

void DesignArea::keepInView(double x, double y) {
    const PlanePoint at = ViewPixelOfModel(view_, {x, y});
    // The ruler strips cover the left and top edges.
    const int strip = design_.ruler != 0 ? kRulerStripPixels : 0;
    const int margin = viewMargin();
    const QRect open = openRect().adjusted(strip + margin, strip + margin, -margin, -margin);
    const auto shortfall = [](double position, int low, int high) {
        return position < low    ? qFloor(position) - low
               : position > high ? qCeil(position) - high
                                 : 0;
    };
    panBy(shortfall(at.x, open.left(), open.right()), shortfall(at.y, open.top(), open.bottom()));
}

void DesignArea::setPan(PanOffset pan) {
    view_.panX = pan.x;
    view_.panY = pan.y;
}

void DesignArea::showScrollRanges() {
    if (!extent_) {
        return;
    }
    const PanRanges ranges = ScrollRanges(*extent_, view_);
    const QSignalBlocker quietX(horizontalBar_);
    const QSignalBlocker quietY(verticalBar_);
    horizontalBar_->setRange(ranges.x.minimum, ranges.x.maximum);
    horizontalBar_->setPageStep(std::max(1, width()));
    horizontalBar_->setValue(view_.panX);
    verticalBar_->setRange(ranges.y.minimum, ranges.y.maximum);
    verticalBar_->setPageStep(std::max(1, height()));
    verticalBar_->setValue(view_.panY);
}

void DesignArea::scrollTo(Qt::Orientation orientation, int pan) {
    if (orientation == Qt::Horizontal) {
        panBy(pan - view_.panX, 0);
    } else {
        panBy(0, pan - view_.panY);
    }
}

void DesignArea::placeScrollBars() {
    const int thickness = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
    // In an area too small for them the bars would cover it all.
    const bool room = width() > 3 * thickness && height() > 3 * thickness;
    horizontalBar_->setVisible(room);
    verticalBar_->setVisible(room);
    horizontalBar_->setGeometry(0, height() - thickness, width() - thickness, thickness);
    verticalBar_->setGeometry(width() - thickness, 0, thickness, height() - thickness);
}

bool DesignArea::event(QEvent* event) {
    if (event->type() == QEvent::ScreenChangeInternal && started_ &&
        view_.pixelRatio != screenPixelRatio()) {
        rebuildBuffer();
        Q_EMIT resized();
    }
    return QWidget::event(event);
}

void DesignArea::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    const QRect shown = event->rect();
    const int32_t ratio = view_.pixelRatio;
    const QRect source(shown.topLeft() * ratio, shown.size() * ratio);
    painter.drawImage(shown, buffer_, source);
    // Marks and overlay are laid out in device pixels, as sharp as the buffer.
    painter.scale(1.0 / ratio, 1.0 / ratio);
    for (const Mark& mark : marks_) {
        painter.setPen(QPen(mark.colour, 2 * ratio));
        painter.setBrush(mark.hatched ? QBrush(mark.colour, Qt::BDiagPattern) : Qt::NoBrush);
        painter.drawPath(mark.path);
    }
    if (!overlayLines_.empty()) {
        painter.setPen(QPen(overlayColour_, 2 * ratio, Qt::DashLine));
        painter.drawLines(overlayLines_.data(), static_cast<int>(overlayLines_.size()));
    }
}

void DesignArea::resizeEvent(QResizeEvent*) {
    rebuildBuffer();
    placeScrollBars();
    if (started_) {
        Q_EMIT resized();
    }
}

void DesignArea::mousePressEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    const Qt::MouseButton button = event->button();
    if (!dragFrom_ && (button == Qt::MiddleButton || (button == Qt::LeftButton && panKeyHeld_))) {
        dragFrom_ = at;
        dragButton_ = button;
        QGuiApplication::setOverrideCursor(Qt::ClosedHandCursor);
        return;
    }
    if (!dragFrom_) {
        Q_EMIT mousePressed(button, at.x(), at.y());
    }
}

void DesignArea::mouseMoveEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    Q_EMIT pointerMoved(at);
    if (!dragFrom_) {
        return;
    }
    const QPoint moved = at - *dragFrom_;
    dragFrom_ = at;
    // The design follows the pointer: the view moves the other way.
    panBy(-moved.x(), -moved.y());
}

void DesignArea::leaveEvent(QEvent* event) {
    QWidget::leaveEvent(event);
    Q_EMIT pointerMoved(std::nullopt);
}

void DesignArea::mouseReleaseEvent(QMouseEvent* event) {
    if (dragFrom_ && event->button() == dragButton_) {
        endDrag();
    }
}

void DesignArea::endDrag() {
    if (dragFrom_) {
        dragFrom_.reset();
        dragButton_ = Qt::NoButton;
        QGuiApplication::restoreOverrideCursor();
    }
}

void DesignArea::wheelEvent(QWheelEvent* event) {
    const QPoint delta = event->angleDelta();
    // Shift turns the wheel sideways, as the system does on some platforms by itself.
    const bool shifted = (event->modifiers() & Qt::ShiftModifier) != 0;
    const int sideways = shifted ? (delta.y() != 0 ? delta.y() : delta.x()) : delta.x();
    const int upwards = shifted ? 0 : delta.y();
    if (sideways == 0 && upwards == 0) {
        event->ignore();
        return;
    }
    event->accept();
    // Fine-grained wheels and touchpads report parts of a notch; they add up.
    if (sideways != 0) {
        sidewaysEighths_ += sideways;
        const int64_t pixels = sidewaysEighths_ / kEighthsPerScrollPixel;
        sidewaysEighths_ -= pixels * kEighthsPerScrollPixel;
        // Turned away from the user (or to the left) the view moves left.
        panBy(static_cast<int>(-pixels), 0);
    }
    if (upwards != 0) {
        wheelEighths_ += upwards;
        const int64_t notches = wheelEighths_ / kEighthsPerNotch;
        wheelEighths_ -= notches * kEighthsPerNotch;
        if (notches != 0) {
            Q_EMIT wheelTurned(static_cast<int>(notches), event->position().toPoint());
        }
    }
}

} // namespace lapwerk
