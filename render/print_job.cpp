#include "print_job.h"

#include <QBrush>
#include <QFont>
#include <QPainter>
#include <QPen>

namespace lapwerk {

void SendWholeStateOnFirstDraw(QPainter& painter) {
    // Changing a setting marks it for sending; setting it back keeps the mark.
    const QPen pen = painter.pen();
    const QBrush brush = painter.brush();
    const QFont font = painter.font();
    painter.setPen(QPen(Qt::red, 3));
    painter.setPen(pen);
    painter.setBrush(QBrush(Qt::red));
    painter.setBrush(brush);
    QFont other = font;
    other.setPointSizeF(font.pointSizeF() > 0 ? font.pointSizeF() + 1 : 12);
    painter.setFont(other);
    painter.setFont(font);
}

} // namespace lapwerk
