#pragma once

#include "canvas.h"
#include "design.h"
#include "design_view.h"

#include <QColor>
#include <QImage>
#include <QLine>
#include <QPainter>
#include <QWidget>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace lapwerk {

/// The colour of an overlay over the drawing area, which the design's own drawing never uses.
inline constexpr QRgb kOverlayColour = qRgb(255, 0, 255);

/// The drawing area of the main window. Every visible pass of the design view paints into a
/// back buffer, and the widget shows that buffer; mouse presses are reported in the area's own
/// pixels. The window runs the passes (its Redraw step), also after the area changed size. An
/// overlay, such as the preview of pieces not yet laid, is painted over the buffer, never into
/// it.
class DesignArea : public QWidget {
    Q_OBJECT
public:
    /// The lines of an overlay in the area's pixels, for a pass at `zoomScale` that puts model
    /// point (0, 0) at pixel (centreX, centreY).
    using OverlayLines =
        std::function<std::vector<QLine>(int32_t zoomScale, int32_t centreX, int32_t centreY)>;

    DesignArea(Design& design, DesignView& view, QWidget* parent = nullptr);
    ~DesignArea() override;

    /// Makes the buffer the target canvas of every pass redraw() runs; passes before this draw
    /// nothing and a change of size is not reported.
    void startDrawing();

    /// Runs the full pass into the buffer now.
    void redraw();

    /// The picture of the last pass.
    const QImage& buffer() const { return buffer_; }

    /// Paints `lines` dashed in the overlay colour over the picture, laid out again after
    /// every pass; an empty function takes the overlay away.
    void setOverlay(OverlayLines lines);

    /// The overlay's lines as laid out for the last pass, pixels; empty without an overlay.
    const std::vector<QLine>& overlayLines() const { return overlayLines_; }

Q_SIGNALS:
    /// A mouse button was pressed at pixel (x, y) of the area.
    void mousePressed(Qt::MouseButton button, int x, int y);
    /// The vertical wheel turned `notches` whole notches (positive away from the user).
    void wheelTurned(int notches);
    /// The area changed size after startDrawing; its buffer is blank until the next pass.
    void resized();
    /// redraw() ran a pass.
    void redrawn();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    void rebuildBuffer(QSize size);
    void layOutOverlay();

    Design& design_;
    DesignView& view_;
    QImage buffer_;
    QPainter painter_; ///< stays active on buffer_ for the passes
    std::unique_ptr<Canvas> canvas_;
    bool started_ = false;
    int64_t wheelEighths_ = 0; ///< eighths of a degree turned towards the next whole notch
    OverlayLines overlay_;
    std::vector<QLine> overlayLines_;
};

} // namespace lapwerk
