#include "status_line.h"

#include <QLabel>
#include <QPainter>
#include <QStatusBar>
#include <QStyle>

namespace lapwerk {

namespace {

/// A label that shows as much of its text as fits, ending in an ellipsis when it does not;
/// its text stays whole.
class ElidingLabel final : public QLabel {
public:
    using QLabel::QLabel;

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        const QRect room = contentsRect();
        const QString shown = fontMetrics().elidedText(text(), Qt::ElideRight, room.width());
        style()->drawItemText(&painter, room, static_cast<int>(alignment()), palette(), isEnabled(),
                              shown, foregroundRole());
    }
};

} // namespace

StatusLine::StatusLine(QStatusBar* bar)
    : status_(new ElidingLabel(bar)), pointer_(new QLabel(bar)) {
    bar->setObjectName("StatusBar");
    status_->setObjectName("StatusLabel");
    status_->setAccessibleName("Track status");
    // A long text ends in an ellipsis rather than widening the window.
    status_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    status_->setMinimumWidth(1);
    bar->addWidget(status_, 1);
    pointer_->setObjectName("PointerLabel");
    pointer_->setAccessibleName("Pointer position");
    bar->addPermanentWidget(pointer_);
    pointer_->hide();
}

void StatusLine::showStatus(const QString& text) {
    status_->setText(text);
    status_->setToolTip(text);
}

QString StatusLine::status() const {
    return status_->text();
}

void StatusLine::showPointer(const QString& position) {
    pointer_->setText(position);
    pointer_->show();
}

void StatusLine::hidePointer() {
    pointer_->hide();
}

} // namespace lapwerk
