#pragma once

#include "canvas.h"

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QPen>
#include <QPoint>
#include <QRect>

#include <cstdint>
#include <optional>
#include <vector>

namespace lapwerk {

/// Whether a QPainterCanvas paints the exact raster of its rules or smooths lines and fills.
enum class Smoothing {
    kNone,       ///< antialiasing off: exactly the pixels of the raster rules below
    kAntialiased ///< lines and fills antialiased, running between pixel centres
};

/// A Canvas that paints through a QPainter on any paint device: a widget's back buffer, a
/// QImage, an SVG generator or a PDF writer / printer.
///
/// On raster devices the pixels are exactly the ones a pass computes, with the classic raster
/// rules of Canvas:
/// - width-1 lines are traced pixel by pixel from the start point towards the end point and
///   leave out the end pixel, whatever their direction (QPainter's own aliased lines leave out
///   the end with the larger coordinate instead, so they are not used for width 1);
/// - width-2 lines are QPainter's aliased flat-cap lines: a band of two pixels centred on the
///   pixel corners of the mathematical line, so a horizontal line covers the row above y and
///   row y, a vertical one the column left of x and column x, ending before the end point;
/// - polygons are filled by QPainter (right and bottom edges exclusive) and then outlined with
///   the pen along all four edges;
/// - fillRect fills [left, right) x [top, bottom) with the brush, drawing no outline;
/// - ellipses fill and outline the ellipse inscribed in [left, right) x [top, bottom);
/// - textOut writes in black with the painter's font, top-left corner at (x, y), on an opaque
///   rectangle of the brush colour as wide as the text's advance and as high as the font.
/// On vector devices, and with Smoothing::kAntialiased on any device, lines run between pixel
/// centres and are left to the device. Text is drawn at the text scale a pass sets.
class QPainterCanvas final : public Canvas {
public:
    /// Paints through `painter`, which must be active; sets its antialiasing by `smoothing`.
    /// Coordinates go through the painter's transform as it is now, which must not change
    /// while the canvas paints (a printed page is drawn in paper pixels scaled to the printer's).
    explicit QPainterCanvas(QPainter& painter, Smoothing smoothing = Smoothing::kNone);
    /// Flushes what is still pending while the painter is active.
    ~QPainterCanvas() override;
    QPainterCanvas(const QPainterCanvas&) = delete;
    QPainterCanvas& operator=(const QPainterCanvas&) = delete;

    /// Paints the traced pixels still pending. Call it before ending the painter when the
    /// canvas outlives the painting.
    void flush();

    void setPen(Rgb colour, int width) override;
    void setBrush(Rgb colour) override;
    void moveTo(int32_t x, int32_t y) override;
    void lineTo(int32_t x, int32_t y) override;
    void polygon(const PixelPoint (&corners)[4]) override;
    void fillRect(int32_t left, int32_t top, int32_t right, int32_t bottom) override;
    void ellipse(int32_t left, int32_t top, int32_t right, int32_t bottom) override;
    void textOut(int32_t x, int32_t y, const char* text) override;
    void setTextScale(int32_t scale) override;
    /// On an image, its pixels and the few around them that a line's pen may still reach;
    /// nothing on other devices.
    std::optional<PixelBox> visibleBox() const override;

private:
    /// What the painter's pen is: the canvas pen, no pen, or something else.
    enum class PainterPen { kCanvas, kNone, kStale };

    void line(int32_t x0, int32_t y0, int32_t x1, int32_t y1);
    void tracePixels(int32_t x0, int32_t y0, int32_t x1, int32_t y1);
    void usePainterPen(PainterPen wanted);
    void usePainterBrush();
    QImage* directImage() const;

    QPainter& painter_;
    bool pixelExact_;         ///< raster device: width-1 lines are traced here
    QRect deviceRect_;        ///< pixels that can be painted, in the canvas's coordinates
    QImage* image_ = nullptr; ///< a 32-bit image device whose pixels can be set directly
    Rgb pen_;
    int penWidth_ = 1;
    Rgb brush_;
    bool deferPainterState_ = false; ///< the painter's pen and brush are set when needed
    PainterPen painterPen_ = PainterPen::kStale;
    bool painterBrushStale_ = true;
    int32_t textScale_ = 1;
    int32_t currentX_ = 0;
    int32_t currentY_ = 0;
    /// Traced pixels of width-1 lines in the pen colour, not painted yet: they are painted in
    /// one call before anything else is drawn or the pen changes.
    std::vector<QPoint> points_;
};

} // namespace lapwerk
