#include "length_form.h"

#include "tool_window.h"

#include "list_rows.h"

#include <QListWidget>

namespace lapwerk {

namespace {

constexpr int kListHeight = 238;
/// Where the lists stand and how wide they are at least, pixels.
constexpr int kTrackNrWidth = 65;
constexpr int kLaneLeft = 64;
constexpr int kLaneWidth = 57;
constexpr int kLaneOverlap = 5; ///< the second lane's list covers the first's right edge
constexpr int kRightEdge = 2;

QListWidget* MakeList(QWidget* parent, const char* name, const char* accessible, int left,
                      int width) {
    auto* list = new QListWidget(parent);
    list->setObjectName(name);
    list->setAccessibleName(accessible);
    // Whole rows only: 18 rows of 13 pixels.
    const int rows = (kListHeight - 2) / kListRowHeight;
    list->setGeometry(left, 0, width, rows * kListRowHeight + 2);
    SetUpRowList(list);
    MakeDisplayOnly(list);
    return list;
}

} // namespace

TLengthForm::TLengthForm(QWidget* owner) : QWidget(owner) {
    MakeToolWindow(*this,
                   Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setObjectName("LengthForm");
    setWindowTitle("Track Lengths");
    setFixedSize(kClientWidth, kClientHeight);
    trackNrList_ = MakeList(this, "TrackNrList", "Track number", 0, kTrackNrWidth);
    trackLength1List_ = MakeList(this, "TrackLength1List", "Lane 1 length", kLaneLeft, kLaneWidth);
    trackLength2List_ = MakeList(this, "TrackLength2List", "Lane 2 length",
                                 kLaneLeft + kLaneWidth - kLaneOverlap, kLaneWidth);
    ScrollTogether(trackNrList_, trackLength1List_);
    ScrollTogether(trackNrList_, trackLength2List_);
}

void TLengthForm::showRows(const LaneLengthRows& rows) {
    SetRows(trackNrList_, rows.trackNumbers);
    SetRows(trackLength1List_, rows.lane1);
    SetRows(trackLength2List_, rows.lane2);
    fitLengths();
}

void TLengthForm::fitLengths() {
    // Long tracks have lengths wider than the lists' first width: every figure shows whole.
    const int lane1 = WidthForRows(trackLength1List_, kLaneWidth);
    const int lane2 = WidthForRows(trackLength2List_, kLaneWidth);
    trackLength1List_->resize(lane1, trackLength1List_->height());
    trackLength2List_->setGeometry(kLaneLeft + lane1 - kLaneOverlap, 0, lane2,
                                   trackLength2List_->height());
    setFixedSize(trackLength2List_->geometry().right() + 1 + kRightEdge, kClientHeight);
}

void TLengthForm::showAndRaise() {
    ShowToolWindow(*this);
}

} // namespace lapwerk
