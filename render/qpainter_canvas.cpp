#include "qpainter_canvas.h"

#include <QFontMetrics>
#include <QImage>
#include <QPaintDevice>
#include <QPaintEngine>
#include <QPen>
#include <QPolygon>
#include <QString>

#include <algorithm>
#include <cstdlib>

namespace lapwerk {

namespace {

QColor ToQColor(Rgb colour) {
    return QColor(colour.r, colour.g, colour.b);
}

// Geometry far outside the device is skipped before it reaches QPainter, whose rasterizer
// works in a fixed-point range much smaller than 32-bit pixel coordinates.
constexpr int64_t kCullMargin = 4;

// Traced pixels are painted in batches; one QPainter call per line costs more than the line.
constexpr size_t kMaxPendingPoints = 1 << 16;

bool BoxMisses(const QRect& device, int64_t left, int64_t top, int64_t right, int64_t bottom) {
    return right < int64_t{device.left()} - kCullMargin ||
           left > int64_t{device.right()} + kCullMargin ||
           bottom < int64_t{device.top()} - kCullMargin ||
           top > int64_t{device.bottom()} + kCullMargin;
}

} // namespace

QPainterCanvas::QPainterCanvas(QPainter& painter, Smoothing smoothing)
    : painter_(painter),
      pixelExact_(smoothing == Smoothing::kNone && painter.paintEngine() != nullptr &&
                  painter.paintEngine()->type() == QPaintEngine::Raster),
      deviceRect_(painter.combinedTransform().inverted().mapRect(
          QRect(0, 0, painter.device() != nullptr ? painter.device()->width() : 0,
                painter.device() != nullptr ? painter.device()->height() : 0))),
      pen_(kBlack), brush_(kWhite) {
    if (pixelExact_ && painter.device() != nullptr &&
        painter.device()->devType() == QInternal::Image) {
        auto* image = static_cast<QImage*>(painter.device());
        const QImage::Format format = image->format();
        if (image->devicePixelRatio() == 1.0 &&
            (format == QImage::Format_RGB32 || format == QImage::Format_ARGB32 ||
             format == QImage::Format_ARGB32_Premultiplied)) {
            image_ = image;
        }
    }
    // On an image only the pixels count, so the painter's pen and brush wait until a painter
    // call needs them; on other devices every change goes to the device as it comes.
    deferPainterState_ =
        painter.device() != nullptr && painter.device()->devType() == QInternal::Image;
    painter_.setRenderHint(QPainter::Antialiasing, smoothing == Smoothing::kAntialiased);
    painterPen_ = PainterPen::kStale;
    painterBrushStale_ = true;
    if (!deferPainterState_) {
        usePainterPen(PainterPen::kCanvas);
        usePainterBrush();
    }
}

QPainterCanvas::~QPainterCanvas() {
    if (painter_.isActive()) {
        flush();
    }
}

QImage* QPainterCanvas::directImage() const {
    if (image_ == nullptr || painter_.hasClipping() || !painter_.deviceTransform().isIdentity() ||
        painter_.compositionMode() != QPainter::CompositionMode_SourceOver) {
        return nullptr;
    }
    return image_;
}

void QPainterCanvas::flush() {
    if (points_.empty()) {
        return;
    }
    if (QImage* image = directImage()) {
        // The raster engine paints straight into the image's buffer, so the pixels go into the
        // same buffer, in order with everything QPainter has painted before.
        uchar* bits = const_cast<uchar*>(image->constBits());
        const qsizetype bytesPerLine = image->bytesPerLine();
        const QRgb colour = qRgb(pen_.r, pen_.g, pen_.b);
        for (const QPoint& point : points_) {
            reinterpret_cast<QRgb*>(bits + point.y() * bytesPerLine)[point.x()] = colour;
        }
    } else {
        usePainterPen(PainterPen::kCanvas);
        painter_.drawPoints(points_.data(), static_cast<int>(points_.size()));
    }
    points_.clear();
}

void QPainterCanvas::usePainterPen(PainterPen wanted) {
    if (painterPen_ == wanted) {
        return;
    }
    if (wanted == PainterPen::kCanvas) {
        painter_.setPen(QPen(ToQColor(pen_), penWidth_, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
    } else {
        painter_.setPen(Qt::NoPen);
    }
    painterPen_ = wanted;
}

void QPainterCanvas::usePainterBrush() {
    if (painterBrushStale_) {
        painter_.setBrush(ToQColor(brush_));
        painterBrushStale_ = false;
    }
}

void QPainterCanvas::setPen(Rgb colour, int width) {
    flush();
    pen_ = colour;
    penWidth_ = std::max(width, 1);
    painterPen_ = PainterPen::kStale;
    if (!deferPainterState_) {
        usePainterPen(PainterPen::kCanvas);
    }
}

void QPainterCanvas::setBrush(Rgb colour) {
    brush_ = colour;
    painterBrushStale_ = true;
    if (!deferPainterState_) {
        usePainterBrush();
    }
}

void QPainterCanvas::moveTo(int32_t x, int32_t y) {
    currentX_ = x;
    currentY_ = y;
}

void QPainterCanvas::lineTo(int32_t x, int32_t y) {
    line(currentX_, currentY_, x, y);
    currentX_ = x;
    currentY_ = y;
}

void QPainterCanvas::line(int32_t x0, int32_t y0, int32_t x1, int32_t y1) {
    if (BoxMisses(deviceRect_, std::min(x0, x1), std::min(y0, y1), std::max(x0, x1),
                  std::max(y0, y1))) {
        return;
    }
    if (pixelExact_ && penWidth_ == 1) {
        tracePixels(x0, y0, x1, y1);
        return;
    }
    flush();
    usePainterPen(PainterPen::kCanvas);
    if (pixelExact_) {
        painter_.drawLine(QPoint(x0, y0), QPoint(x1, y1));
    } else {
        painter_.drawLine(QPointF(x0 + 0.5, y0 + 0.5), QPointF(x1 + 0.5, y1 + 0.5));
    }
}

// Steps along the major axis from the start pixel, k = 0 .. n - 1 (the end pixel n is left
// out); the minor coordinate at step k is the start's plus round(k x dMinor / n), halves
// rounded up. Only the steps whose major coordinate lies on the device are visited.
void QPainterCanvas::tracePixels(int32_t x0, int32_t y0, int32_t x1, int32_t y1) {
    const int64_t dx = int64_t{x1} - x0;
    const int64_t dy = int64_t{y1} - y0;
    const bool xMajor = std::llabs(dx) >= std::llabs(dy);
    const int64_t major0 = xMajor ? x0 : y0;
    const int64_t minor0 = xMajor ? y0 : x0;
    const int64_t dMajor = xMajor ? dx : dy;
    const int64_t dMinor = xMajor ? dy : dx;
    const int64_t n = std::llabs(dMajor);
    if (n == 0) {
        return;
    }
    const int64_t step = dMajor > 0 ? 1 : -1;
    const int64_t majorLow = xMajor ? deviceRect_.left() : deviceRect_.top();
    const int64_t majorHigh = xMajor ? deviceRect_.right() : deviceRect_.bottom();
    const int64_t minorLow = xMajor ? deviceRect_.top() : deviceRect_.left();
    const int64_t minorHigh = xMajor ? deviceRect_.bottom() : deviceRect_.right();

    // Steps k with majorLow <= major0 + k x step <= majorHigh.
    int64_t kFirst = step > 0 ? majorLow - major0 : major0 - majorHigh;
    int64_t kLast = step > 0 ? majorHigh - major0 : major0 - majorLow;
    kFirst = std::max<int64_t>(kFirst, 0);
    kLast = std::min<int64_t>(kLast, n - 1);
    if (kFirst > kLast) {
        return;
    }

    // minor(k) = minor0 + q, with 2 k dMinor + n = q x 2n + r, 0 <= r < 2n. The first product
    // may exceed 64 bits for far-away starts, so it is formed in 128 bits once.
    const int64_t twoN = 2 * n;
    const __int128 firstNumerator = static_cast<__int128>(2 * kFirst) * dMinor + n;
    __int128 firstQuotient = firstNumerator / twoN;
    if (firstNumerator % twoN != 0 && firstNumerator < 0) {
        --firstQuotient;
    }
    int64_t remainder = static_cast<int64_t>(firstNumerator - firstQuotient * twoN);
    int64_t minor = minor0 + static_cast<int64_t>(firstQuotient);
    int64_t major = major0 + kFirst * step;

    for (int64_t k = kFirst; k <= kLast; ++k) {
        if (minor >= minorLow && minor <= minorHigh) {
            points_.push_back(xMajor ? QPoint(static_cast<int>(major), static_cast<int>(minor))
                                     : QPoint(static_cast<int>(minor), static_cast<int>(major)));
        }
        major += step;
        remainder += 2 * dMinor;
        if (remainder >= twoN) {
            remainder -= twoN;
            ++minor;
        } else if (remainder < 0) {
            remainder += twoN;
            --minor;
        }
    }
    if (points_.size() >= kMaxPendingPoints) {
        flush();
    }
}

void QPainterCanvas::polygon(const PixelPoint (&corners)[4]) {
    int64_t left = corners[0].x, right = corners[0].x, top = corners[0].y, bottom = corners[0].y;
    for (const PixelPoint& corner : corners) {
        left = std::min<int64_t>(left, corner.x);
        right = std::max<int64_t>(right, corner.x);
        top = std::min<int64_t>(top, corner.y);
        bottom = std::max<int64_t>(bottom, corner.y);
    }
    if (BoxMisses(deviceRect_, left, top, right, bottom)) {
        return;
    }
    flush();
    QPoint points[4];
    for (int i = 0; i < 4; ++i) {
        points[i] = QPoint(corners[i].x, corners[i].y);
    }
    usePainterPen(PainterPen::kNone);
    usePainterBrush();
    if (pixelExact_) {
        painter_.drawPolygon(points, 4);
    } else {
        QPointF centres[4];
        for (int i = 0; i < 4; ++i) {
            centres[i] = QPointF(points[i]) + QPointF(0.5, 0.5);
        }
        painter_.drawPolygon(centres, 4);
    }
    if (!deferPainterState_) {
        usePainterPen(PainterPen::kCanvas);
    }
    for (int i = 0; i < 4; ++i) {
        const PixelPoint& from = corners[i];
        const PixelPoint& to = corners[(i + 1) % 4];
        line(from.x, from.y, to.x, to.y);
    }
}

void QPainterCanvas::fillRect(int32_t left, int32_t top, int32_t right, int32_t bottom) {
    const int64_t l = std::max<int64_t>(left, deviceRect_.left());
    const int64_t t = std::max<int64_t>(top, deviceRect_.top());
    const int64_t r = std::min<int64_t>(right, int64_t{deviceRect_.right()} + 1);
    const int64_t b = std::min<int64_t>(bottom, int64_t{deviceRect_.bottom()} + 1);
    if (l >= r || t >= b) {
        return;
    }
    flush();
    painter_.fillRect(QRect(static_cast<int>(l), static_cast<int>(t), static_cast<int>(r - l),
                            static_cast<int>(b - t)),
                      ToQColor(brush_));
}

void QPainterCanvas::ellipse(int32_t left, int32_t top, int32_t right, int32_t bottom) {
    const int64_t width = int64_t{right} - left;
    const int64_t height = int64_t{bottom} - top;
    if (width <= 0 || height <= 0 || BoxMisses(deviceRect_, left, top, right, bottom)) {
        return;
    }
    flush();
    usePainterPen(PainterPen::kCanvas);
    usePainterBrush();
    // With the outline centred on pixel centres the painted pixels stay inside the box.
    painter_.drawEllipse(QRectF(left + 0.5, top + 0.5, static_cast<double>(width - 1),
                                static_cast<double>(height - 1)));
}

void QPainterCanvas::setTextScale(int32_t scale) {
    textScale_ = std::max(scale, 1);
}

std::optional<PixelBox> QPainterCanvas::visibleBox() const {
    // Vector devices get every call as before, so that their files stay as they were.
    if (!deferPainterState_) {
        return std::nullopt;
    }
    // Lines and polygons are left out by the same test (BoxMisses).
    const auto margin = static_cast<int32_t>(kCullMargin);
    return PixelBox{deviceRect_.left() - margin, deviceRect_.top() - margin,
                    deviceRect_.right() + margin, deviceRect_.bottom() + margin};
}

void QPainterCanvas::textOut(int32_t x, int32_t y, const char* text) {
    const QString string = QString::fromUtf8(text);
    QFont font = painter_.font();
    if (textScale_ != 1) {
        if (font.pixelSize() > 0) {
            font.setPixelSize(font.pixelSize() * textScale_);
        } else {
            font.setPointSizeF(font.pointSizeF() * textScale_);
        }
    }
    const QFontMetrics metrics(font);
    const int width = metrics.horizontalAdvance(string);
    const int height = metrics.height();
    if (BoxMisses(deviceRect_, x, y, int64_t{x} + width, int64_t{y} + height)) {
        return;
    }
    flush();
    painter_.fillRect(QRect(x, y, width, height), ToQColor(brush_));
    const QFont unscaled = painter_.font();
    if (textScale_ != 1) {
        painter_.setFont(font);
    }
    painter_.setPen(QColor(Qt::black));
    painterPen_ = PainterPen::kStale;
    painter_.drawText(QPoint(x, y + metrics.ascent()), string);
    if (!deferPainterState_) {
        usePainterPen(PainterPen::kCanvas);
    }
    if (textScale_ != 1) {
        painter_.setFont(unscaled);
    }
}

} // namespace lapwerk
