#include "cursors.h"

#include <QBitmap>
#include <QImage>
#include <QPainter>
#include <QPainterPath>

namespace lapwerk {

namespace {

constexpr int kSize = 32;

QPainterPath PointerOutline() {
    // Aliased drawing puts an integer point on its own pixel: the tip is pixel (0, 0).
    QPainterPath path;
    path.moveTo(0, 0);
    path.lineTo(0, 16);
    path.lineTo(4, 12);
    path.lineTo(7, 19);
    path.lineTo(9, 18);
    path.lineTo(6, 11);
    path.lineTo(11, 11);
    path.closeSubpath();
    return path;
}

// The small arrow: a stem rising from the bottom that bends over towards `side`, with its
// head at the end of the bend.
QPainterPath BendArrow(CurveCursorSide side) {
    const double stemX = side == CurveCursorSide::Left ? 23.5 : 15.5;
    const double tipX = side == CurveCursorSide::Left ? 15.5 : 23.5;
    QPainterPath path;
    path.moveTo(stemX, 30.5);
    path.lineTo(stemX, 24.5);
    path.quadTo(stemX, 19.5, tipX, 19.5);
    return path;
}

QPolygonF BendArrowHead(CurveCursorSide side) {
    const double direction = side == CurveCursorSide::Left ? -1.0 : 1.0;
    const double tipX = side == CurveCursorSide::Left ? 13.0 : 26.0;
    return QPolygonF({QPointF(tipX, 19.5), QPointF(tipX - direction * 4.5, 15.0),
                      QPointF(tipX - direction * 4.5, 24.0)});
}

} // namespace

QImage CurveCursorPixels(CurveCursorSide side) {
    // Draw white shapes with black outlines on transparency, then reduce to three levels.
    QImage art(kSize, kSize, QImage::Format_ARGB32);
    art.fill(Qt::transparent);
    {
        QPainter painter(&art);
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.setPen(QPen(Qt::black, 1));
        painter.setBrush(Qt::white);
        painter.drawPath(PointerOutline());

        QPainterPath bend = BendArrow(side);
        painter.setBrush(Qt::NoBrush);
        painter.setPen(QPen(Qt::white, 4, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
        painter.drawPath(bend);
        painter.setPen(QPen(Qt::black, 2, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
        painter.drawPath(bend);
        painter.setPen(QPen(Qt::white, 1));
        painter.setBrush(Qt::black);
        painter.drawPolygon(BendArrowHead(side));
    }
    QImage pixels(kSize, kSize, QImage::Format_Indexed8);
    pixels.setColorCount(3);
    pixels.setColor(0, qRgba(0, 0, 0, 0));
    pixels.setColor(1, qRgb(255, 255, 255));
    pixels.setColor(2, qRgb(0, 0, 0));
    for (int y = 0; y < kSize; ++y) {
        for (int x = 0; x < kSize; ++x) {
            const QRgb colour = art.pixel(x, y);
            uint level = 0;
            if (qAlpha(colour) >= 128) {
                level = qGray(colour) >= 128 ? 1 : 2;
            }
            pixels.setPixel(x, y, level);
        }
    }
    return pixels;
}

QCursor CurveCursor(CurveCursorSide side) {
    const QImage pixels = CurveCursorPixels(side);
    // Rows of 32 bits, least significant bit first; a set bit is black in the bitmap and
    // opaque in the mask.
    uchar bits[kSize * kSize / 8] = {};
    uchar maskBits[kSize * kSize / 8] = {};
    for (int y = 0; y < kSize; ++y) {
        for (int x = 0; x < kSize; ++x) {
            const int level = pixels.pixelIndex(x, y);
            const int byte = y * (kSize / 8) + x / 8;
            const uchar bit = static_cast<uchar>(1u << (x % 8));
            if (level == 2) {
                bits[byte] |= bit;
            }
            if (level != 0) {
                maskBits[byte] |= bit;
            }
        }
    }
    const QSize size(kSize, kSize);
    return QCursor(QBitmap::fromData(size, bits, QImage::Format_MonoLSB),
                   QBitmap::fromData(size, maskBits, QImage::Format_MonoLSB), 0, 0);
}

} // namespace lapwerk
