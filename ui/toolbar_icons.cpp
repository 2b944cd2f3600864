#include "toolbar_icons.h"

#include "design_area.h"

#include <QPainter>

#include <QPainterPath>
#include <QPixmap>
#include <utility>

#include <cmath>

namespace lapwerk {

namespace {

// One palette for every picture: the design view's own colours where a picture shows a track.
const QColor kInk(40, 40, 48);
const QColor kPaper(250, 250, 250);
const QColor kTrackBody(0, 0, 255);
const QColor kTrackOther(70, 70, 70);
const QColor kSelected(220, 0, 0);
const QColor kMarker(0, 170, 0);
const QColor kSlot(235, 235, 255);
const QColor kFolder(226, 180, 60);
const QColor kDisk(60, 90, 170);
const QColor kPreview(kOverlayColour);

// All drawing below is in a 16 x 16 grid; the painter is scaled for larger pixmaps.

void StraightPiece(QPainter& p, const QRectF& r, const QColor& body) {
    p.setPen(Qt::NoPen);
    p.setBrush(body);
    p.drawRect(r);
    p.setPen(QPen(kSlot, 0.8));
    if (r.width() >= r.height()) {
        const double y1 = r.top() + r.height() * 0.3;
        const double y2 = r.bottom() - r.height() * 0.3;
        p.drawLine(QPointF(r.left() + 0.5, y1), QPointF(r.right() - 0.5, y1));
        p.drawLine(QPointF(r.left() + 0.5, y2), QPointF(r.right() - 0.5, y2));
    } else {
        const double x1 = r.left() + r.width() * 0.3;
        const double x2 = r.right() - r.width() * 0.3;
        p.drawLine(QPointF(x1, r.top() + 0.5), QPointF(x1, r.bottom() - 0.5));
        p.drawLine(QPointF(x2, r.top() + 0.5), QPointF(x2, r.bottom() - 0.5));
    }
}

/// Two strokes through `c`, from c - a to c + a and from c - b to c + b, in `colour` over a
/// white halo.
void TwoStrokes(QPainter& p, QPointF c, QPointF a, QPointF b, const QColor& colour,
                Qt::PenCapStyle cap) {
    for (const auto& [ink, width] : {std::pair{QColor(Qt::white), 4.2}, std::pair{colour, 2.0}}) {
        p.setPen(QPen(ink, width, Qt::SolidLine, cap));
        p.drawLine(c - a, c + a);
        p.drawLine(c - b, c + b);
    }
}

void Plus(QPainter& p, QPointF c, const QColor& colour) {
    TwoStrokes(p, c, {2.5, 0}, {0, 2.5}, colour, Qt::SquareCap);
}

void Cross(QPainter& p, QPointF c, const QColor& colour) {
    TwoStrokes(p, c, {2.2, 2.2}, {2.2, -2.2}, colour, Qt::RoundCap);
}

void TwoPieces(QPainter& p, const QRectF& first, const QColor& firstBody, const QRectF& second,
               const QColor& secondBody) {
    StraightPiece(p, first, firstBody);
    StraightPiece(p, second, secondBody);
}

/// What the sign beside a piece says: a plus adds it, a cross takes it away.
enum class Sign { Add, Remove };

void PieceAndSign(QPainter& p, const QRectF& piece, const QColor& body, Sign sign, QPointF at,
                  const QColor& signColour) {
    StraightPiece(p, piece, body);
    (sign == Sign::Add ? Plus : Cross)(p, at, signColour);
}

void Triangle(QPainter& p, QPointF tip, double dx, double half) {
    p.drawPolygon(QPolygonF({tip, tip + QPointF(-dx, -half), tip + QPointF(-dx, half)}));
}

// A round arrow turning from the top towards `leftwards`'s side, for undo and redo.
void TurnArrow(QPainter& p, bool leftwards, const QColor& colour) {
    const double s = leftwards ? 1.0 : -1.0;
    auto x = [s](double v) { return 8 + s * (v - 8); };
    QPainterPath path;
    path.moveTo(x(12.5), 13);
    path.cubicTo(QPointF(x(15), 8), QPointF(x(11), 4), QPointF(x(6), 5.5));
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(colour, 2.2, Qt::SolidLine, Qt::RoundCap));
    p.drawPath(path);
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawPolygon(QPolygonF({QPointF(x(1.5), 6), QPointF(x(7), 1.5), QPointF(x(7.5), 9.5)}));
}

void CompassArrow(QPainter& p, double degrees, const QColor& colour) {
    p.save();
    p.translate(8, 8);
    p.rotate(degrees);
    p.setPen(QPen(kInk, 0.8));
    p.setBrush(kPaper);
    p.drawEllipse(QPointF(0, 0), 7.2, 7.2);
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    // Points up (north) before the rotation.
    p.drawPolygon(QPolygonF({QPointF(0, -6.5), QPointF(3.8, 1), QPointF(0, -1), QPointF(-3.8, 1)}));
    p.setBrush(kTrackOther);
    p.drawPolygon(QPolygonF({QPointF(0, 6.5), QPointF(2.2, 1.5), QPointF(-2.2, 1.5)}));
    p.restore();
}

void BeginCircle(QPainter& p, QPointF c) {
    p.setPen(QPen(QColor(0, 128, 0), 1.2));
    p.setBrush(Qt::white);
    p.drawEllipse(c, 2.2, 2.2);
}

void Draw(QPainter& p, ToolIcon icon, bool enabled) {
    const QColor grey(150, 150, 150);
    switch (icon) {
    case ToolIcon::New: {
        p.setPen(QPen(kInk, 1));
        p.setBrush(kPaper);
        p.drawPolygon(QPolygonF({QPointF(3.5, 1.5), QPointF(10, 1.5), QPointF(13.5, 5),
                                 QPointF(13.5, 14.5), QPointF(3.5, 14.5)}));
        p.drawPolyline(QPolygonF({QPointF(10, 1.5), QPointF(10, 5), QPointF(13.5, 5)}));
        break;
    }
    case ToolIcon::Open: {
        p.setPen(QPen(kInk, 1));
        p.setBrush(kFolder.darker(115));
        p.drawPolygon(QPolygonF({QPointF(1.5, 3.5), QPointF(6, 3.5), QPointF(7.5, 5),
                                 QPointF(13.5, 5), QPointF(13.5, 13.5), QPointF(1.5, 13.5)}));
        p.setBrush(kFolder);
        p.drawPolygon(QPolygonF(
            {QPointF(1.5, 13.5), QPointF(4, 7.5), QPointF(15.5, 7.5), QPointF(13.5, 13.5)}));
        break;
    }
    case ToolIcon::Save: {
        p.setPen(QPen(kInk, 1));
        p.setBrush(kDisk);
        p.drawRect(QRectF(1.5, 1.5, 13, 13));
        p.setBrush(kPaper);
        p.drawRect(QRectF(4, 1.5, 8, 5));
        p.setBrush(QColor(200, 200, 210));
        p.drawRect(QRectF(4, 9.5, 8, 5));
        p.setPen(QPen(kInk, 1.2));
        p.drawLine(QPointF(9.5, 2.5), QPointF(9.5, 5.5));
        break;
    }
    case ToolIcon::Print: {
        p.setPen(QPen(kInk, 1));
        p.setBrush(kPaper);
        p.drawRect(QRectF(4.5, 1.5, 7, 5));
        p.setBrush(QColor(170, 170, 180));
        p.drawRect(QRectF(1.5, 6.5, 13, 5.5));
        p.setBrush(kPaper);
        p.drawRect(QRectF(4.5, 10, 7, 4.5));
        p.setPen(QPen(kTrackBody, 1));
        p.drawLine(QPointF(5.5, 12), QPointF(10.5, 12));
        break;
    }
    case ToolIcon::Select: {
        p.setPen(QPen(kInk, 1, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(kPaper);
        p.drawPolygon(
            QPolygonF({QPointF(3.5, 1.5), QPointF(3.5, 13), QPointF(6.3, 10.3), QPointF(8.5, 14.8),
                       QPointF(10.5, 13.9), QPointF(8.3, 9.5), QPointF(12, 9.5)}));
        break;
    }
    case ToolIcon::Undo:
        TurnArrow(p, true, enabled ? kTrackBody : grey);
        break;
    case ToolIcon::Redo:
        TurnArrow(p, false, enabled ? kTrackBody : grey);
        break;
    case ToolIcon::GotoBegin:
        p.setPen(Qt::NoPen);
        p.setBrush(kInk);
        p.drawRect(QRectF(2.5, 3, 2, 10));
        Triangle(p, QPointF(5, 8), -8, 5);
        break;
    case ToolIcon::Back:
        p.setPen(Qt::NoPen);
        p.setBrush(kInk);
        Triangle(p, QPointF(3.5, 8), -9, 5);
        break;
    case ToolIcon::Forward:
        p.setPen(Qt::NoPen);
        p.setBrush(kInk);
        Triangle(p, QPointF(12.5, 8), 9, 5);
        break;
    case ToolIcon::GotoEnd:
        p.setPen(Qt::NoPen);
        p.setBrush(kInk);
        p.drawRect(QRectF(11.5, 3, 2, 10));
        Triangle(p, QPointF(11, 8), 8, 5);
        break;
    case ToolIcon::RotateWest:
        CompassArrow(p, -90, kSelected);
        break;
    case ToolIcon::RotateNorth:
        CompassArrow(p, 0, kSelected);
        break;
    case ToolIcon::RotateEast:
        CompassArrow(p, 90, kSelected);
        break;
    case ToolIcon::RotateSouth:
        CompassArrow(p, 180, kSelected);
        break;
    case ToolIcon::InsertSection:
        PieceAndSign(p, QRectF(1, 5, 9, 6), kTrackBody, Sign::Add, QPointF(12, 8), kMarker);
        break;
    case ToolIcon::DeleteSection:
        PieceAndSign(p, QRectF(1, 5, 9, 6), kSelected, Sign::Remove, QPointF(12, 8),
                     kSelected.darker(130));
        break;
    case ToolIcon::ChangeSection: {
        StraightPiece(p, QRectF(1, 9, 14, 6), kSelected);
        p.setPen(QPen(kInk, 1.4, Qt::SolidLine, Qt::RoundCap));
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(4, 1.5, 8, 7), 30 * 16, 140 * 16);
        p.setPen(Qt::NoPen);
        p.setBrush(kInk);
        p.drawPolygon(QPolygonF({QPointF(12.8, 5.2), QPointF(9.5, 3.6), QPointF(12.9, 1.9)}));
        break;
    }
    case ToolIcon::InsertTrack:
        PieceAndSign(p, QRectF(3, 4, 6, 11), kTrackBody, Sign::Add, QPointF(12, 4), kMarker);
        BeginCircle(p, QPointF(3, 14.5));
        break;
    case ToolIcon::DeleteTrack:
        PieceAndSign(p, QRectF(3, 4, 6, 11), kTrackBody, Sign::Remove, QPointF(12, 4.5), kSelected);
        break;
    case ToolIcon::CopyTrack:
        TwoPieces(p, QRectF(1.5, 2, 5.5, 12), kTrackOther, QRectF(9, 2, 5.5, 12), kTrackBody);
        p.setPen(QPen(kMarker, 1.4));
        p.drawLine(QPointF(7.2, 8), QPointF(8.8, 8));
        break;
    case ToolIcon::MirrorTrack: {
        p.setPen(QPen(kInk, 0.8, Qt::DashLine));
        p.drawLine(QPointF(8, 0.5), QPointF(8, 15.5));
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(kTrackOther, 2.6));
        p.drawArc(QRectF(1.8, 3, 10, 18), 90 * 16, 70 * 16);
        p.setPen(QPen(kTrackBody, 2.6));
        p.drawArc(QRectF(4.2, 3, 10, 18), 20 * 16, 70 * 16);
        break;
    }
    case ToolIcon::JoinTrack:
        TwoPieces(p, QRectF(0.5, 5, 6, 6), kTrackOther, QRectF(9.5, 5, 6, 6), kTrackBody);
        p.setPen(Qt::NoPen);
        p.setBrush(kMarker);
        Triangle(p, QPointF(9, 8), 2.5, 2.5);
        Triangle(p, QPointF(7, 8), -2.5, 2.5);
        break;
    case ToolIcon::SplitTrack:
        TwoPieces(p, QRectF(0.5, 5, 6, 6), kTrackBody, QRectF(9.5, 5, 6, 6), kTrackBody);
        p.setPen(QPen(kSelected, 1.4, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(8, 2), QPointF(8, 14));
        break;
    case ToolIcon::GroupTrack:
        TwoPieces(p, QRectF(3, 2, 4.5, 12), kTrackBody, QRectF(8.5, 2, 4.5, 12), kTrackBody);
        p.setPen(QPen(kMarker, 1.2));
        p.setBrush(Qt::NoBrush);
        p.drawPolyline(
            QPolygonF({QPointF(1.5, 3), QPointF(0.8, 3), QPointF(0.8, 13), QPointF(1.5, 13)}));
        p.drawPolyline(
            QPolygonF({QPointF(14.5, 3), QPointF(15.2, 3), QPointF(15.2, 13), QPointF(14.5, 13)}));
        break;
    case ToolIcon::UngroupTrack:
        TwoPieces(p, QRectF(1, 4, 4.5, 12), kTrackBody, QRectF(10.5, 0, 4.5, 12), kTrackOther);
        p.setPen(QPen(kSelected, 1.2, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(7, 6), QPointF(9, 6));
        p.drawLine(QPointF(7, 9), QPointF(9, 9));
        break;
    case ToolIcon::CloseTrack: {
        // A loop with a gap, and the pieces that close it dashed in the preview's colour.
        const QRectF loop(2.5, 2.5, 11, 11);
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(kTrackBody, 2.6, Qt::SolidLine, Qt::FlatCap));
        p.drawArc(loop, 130 * 16, 280 * 16);
        QPen dashed(kPreview, 2.6, Qt::CustomDashLine, Qt::FlatCap);
        dashed.setDashPattern({0.6, 0.45});
        p.setPen(dashed);
        p.drawArc(loop, 50 * 16, 80 * 16);
        break;
    }
    }
}

QPixmap Render(ToolIcon icon, int size, bool enabled) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.scale(size / 16.0, size / 16.0);
    if (!enabled) {
        painter.setOpacity(0.55);
    }
    Draw(painter, icon, enabled);
    painter.end();
    if (!enabled) {
        // A plain greyed copy: the disabled form reads as such on every style.
        QImage image = pixmap.toImage().convertToFormat(QImage::Format_ARGB32);
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                const QRgb c = image.pixel(x, y);
                const int g = 110 + qGray(c) / 3;
                image.setPixel(x, y, qRgba(g, g, g, qAlpha(c)));
            }
        }
        pixmap = QPixmap::fromImage(image);
    }
    return pixmap;
}

} // namespace

QIcon MakeToolIcon(ToolIcon icon) {
    QIcon result;
    for (const int size : {16, 32}) {
        result.addPixmap(Render(icon, size, true), QIcon::Normal);
        result.addPixmap(Render(icon, size, false), QIcon::Disabled);
    }
    return result;
}

} // namespace lapwerk
