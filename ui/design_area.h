#pragma once

#include "design.h"
#include "design_view.h"
#include "qpainter_canvas.h"
#include "view_navigation.h"

#include <QColor>
#include <QImage>
#include <QLine>
#include <QPainter>
#include <QPainterPath>
#include <QPoint>
#include <QWidget>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class QScrollBar;

namespace lapwerk {

/// The colour of an overlay over the drawing area, which the design's own drawing never uses.
inline constexpr QRgb kOverlayColour = qRgb(255, 0, 255);

/// The drawing area of the main window. Every visible pass of the design view paints into a
/// back buffer of the screen's device pixels, and the widget shows that buffer; mouse presses
/// are reported in the area's own (view) pixels. Two scroll bars lie over its right and bottom
/// edges and pan the view over the design; dragging with the middle button, or with the left
/// button while the pan key is held, pans it too, and so does the wheel with Shift or sideways.
/// The window runs the full passes (its Redraw step), also after the area changed size; a pan
/// alone runs its pass here. An overlay, such as the preview of pieces not yet laid, is painted
/// over the buffer, never into it.
class DesignArea : public QWidget {
    Q_OBJECT
public:
    /// The lines of an overlay in the buffer's device pixels, for a pass at `zoomScale` that
    /// puts model point (0, 0) at device pixel (centreX, centreY).
    using OverlayLines =
        std::function<std::vector<QLine>(int32_t zoomScale, int32_t centreX, int32_t centreY)>;

    /// A mark laid over the picture: a path in the buffer's device pixels, drawn in `colour`,
    /// its closed parts hatched when `hatched`.
    struct Mark {
        QPainterPath path;
        QColor colour;
        bool hatched = false;
    };
    /// The marks for a pass at `zoomScale` that puts model point (0, 0) at device pixel
    /// (centreX, centreY), whose device pixels are `pixelRatio` view pixels.
    using MarkLayout = std::function<std::vector<Mark>(int32_t zoomScale, int32_t centreX,
                                                       int32_t centreY, int32_t pixelRatio)>;

    DesignArea(Design& design, DesignView& view, QWidget* parent = nullptr);
    ~DesignArea() override;

    /// Makes the buffer the target canvas of every pass redraw() runs; passes before this draw
    /// nothing and a change of size is not reported.
    void startDrawing();

    /// Measures how far the design reaches, then runs the full pass into the buffer now.
    void redraw();

    /// Moves the view `dx` view pixels right and `dy` down over the design and shows it.
    void panBy(int dx, int dy);

    /// Whether passes antialias (Smooth Drawing) or paint the exact raster; takes effect at
    /// the next pass.
    void setSmoothing(Smoothing smoothing);

    /// While held (the Space key), a left-button drag pans instead of clicking.
    void setPanKeyHeld(bool held);

    /// The part of the area, view pixels, that the scroll bars leave uncovered.
    QRect openRect() const;

    /// The picture of the last pass, in device pixels.
    const QImage& buffer() const { return buffer_; }

    /// Paints `lines` dashed in `colour` over the picture, laid out again after every pass; an
    /// empty function takes the overlay away.
    void setOverlay(OverlayLines lines, QColor colour = QColor(kOverlayColour));

    /// Paints `marks` over the picture and under the overlay, laid out again after every pass;
    /// an empty function takes them away.
    void setMarks(MarkLayout marks);

    /// The marks as laid out for the last pass; empty without marks.
    const std::vector<Mark>& marks() const { return marks_; }

    /// Pans the view so that model point (x, y), model units, lies in the middle of the open
    /// part of the area, unless it lies well inside that part already.
    void showModelPoint(double x, double y);

    /// Pans the view just as far as it takes to show model point (x, y), model units, in the
    /// open part of the area with a margin; leaves it alone when the point shows already.
    void keepInView(double x, double y);

    /// Sets the pan that the next pass shows.
    void setPan(PanOffset pan);

    /// The overlay's lines as laid out for the last pass, device pixels of the buffer; empty
    /// without an overlay.
    const std::vector<QLine>& overlayLines() const { return overlayLines_; }

    /// The scroll bars; a bar's value is the view's pan along its axis, view pixels.
    QScrollBar* horizontalBar() const { return horizontalBar_; }
    QScrollBar* verticalBar() const { return verticalBar_; }

Q_SIGNALS:
    /// A mouse button was pressed at pixel (x, y) of the area, not to pan.
    void mousePressed(Qt::MouseButton button, int x, int y);
    /// The pointer moved to view pixel `at` of the area; nothing when it left the area.
    void pointerMoved(std::optional<QPoint> at);
    /// The vertical wheel turned `notches` whole notches (positive away from the user) with
    /// the pointer at pixel `at` of the area.
    void wheelTurned(int notches, QPoint at);
    /// The area changed size (or moved to a screen of another pixel ratio) after
    /// startDrawing; its buffer is blank until the next pass.
    void resized();
    /// A pass ran into the buffer.
    void redrawn();

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    int32_t screenPixelRatio() const;
    void rebuildBuffer();
    void placeScrollBars();
    void showPass();
    void showScrollRanges();
    void scrollTo(Qt::Orientation orientation, int pan);
    void endDrag();
    void layOutOverlay();
    /// The margin that keepInView and showModelPoint keep from the open part's edges.
    int viewMargin() const;

    Design& design_;
    DesignView& view_;
    QImage buffer_;
    QPainter painter_; ///< stays active on buffer_ for the passes
    std::unique_ptr<QPainterCanvas> canvas_;
    Smoothing smoothing_ = Smoothing::kNone;
    bool started_ = false;
    std::optional<ModelBox> extent_; ///< how far the design reached at the last redraw()
    QScrollBar* horizontalBar_;
    QScrollBar* verticalBar_;
    bool panKeyHeld_ = false;
    std::optional<QPoint> dragFrom_; ///< where the pointer was when a pan drag last moved
    Qt::MouseButton dragButton_ = Qt::NoButton;
    int64_t wheelEighths_ = 0;    ///< eighths of a degree turned towards the next whole notch
    int64_t sidewaysEighths_ = 0; ///< eighths of a degree turned sideways, not yet scrolled
    OverlayLines overlay_;
    QColor overlayColour_ = QColor(kOverlayColour);
    std::vector<QLine> overlayLines_;
    MarkLayout markLayout_;
    std::vector<Mark> marks_;
};

} // namespace lapwerk
