#pragma once

#include "canvas.h"
#include "design.h"
#include "design_view.h"

#include <QImage>
#include <QPainter>
#include <QWidget>

#include <cstdint>
#include <memory>

namespace lapwerk {

/// The drawing area of the main window. Every visible pass of the design view paints into a
/// back buffer, and the widget shows that buffer; mouse presses are reported in the area's own
/// pixels.
class DesignArea : public QWidget {
    Q_OBJECT
public:
    DesignArea(Design& design, DesignView& view, QWidget* parent = nullptr);
    ~DesignArea() override;

    /// Makes the buffer the target canvas of every pass redraw() runs; passes before this draw
    /// nothing and resize events do not redraw.
    void startDrawing();

    /// Whether startDrawing has run.
    bool drawingStarted() const { return started_; }

    /// Runs the full pass now and shows its result.
    void redraw();

    /// The picture of the last pass.
    const QImage& buffer() const { return buffer_; }

Q_SIGNALS:
    /// A mouse button was pressed at pixel (x, y) of the area.
    void mousePressed(Qt::MouseButton button, int x, int y);
    /// The vertical wheel turned `notches` whole notches (positive away from the user).
    void wheelTurned(int notches);
    /// redraw() ran a pass (a command's or the area's own after a resize).
    void redrawn();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    void rebuildBuffer(QSize size);

    Design& design_;
    DesignView& view_;
    QImage buffer_;
    QPainter painter_; ///< stays active on buffer_ for the passes
    std::unique_ptr<Canvas> canvas_;
    bool started_ = false;
    int64_t wheelEighths_ = 0; ///< eighths of a degree turned towards the next whole notch
};

} // namespace lapwerk
