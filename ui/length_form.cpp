#include "length_form.h"

#include "list_rows.h"

#include <QListWidget>

namespace lapwerk {

namespace {

constexpr int kListHeight = 238;

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

TLengthForm::TLengthForm(QWidget* owner)
    : QWidget(owner, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                         Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint) {
    setObjectName("LengthForm");
    setWindowTitle("Track Lengths");
    setFixedSize(kClientWidth, kClientHeight);
    trackNrList_ = MakeList(this, "TrackNrList", "Track number", 0, 65);
    trackLength1List_ = MakeList(this, "TrackLength1List", "Lane 1 length", 64, 57);
    trackLength2List_ = MakeList(this, "TrackLength2List", "Lane 2 length", 116, 57);
    ScrollTogether(trackNrList_, trackLength1List_);
    ScrollTogether(trackNrList_, trackLength2List_);
}

void TLengthForm::showRows(const LaneLengthRows& rows) {
    SetRows(trackNrList_, rows.trackNumbers);
    SetRows(trackLength1List_, rows.lane1);
    SetRows(trackLength2List_, rows.lane2);
}

void TLengthForm::showAndRaise() {
    if (!placed_) {
        move(340, 184);
        placed_ = true;
    }
    show();
    raise();
    activateWindow();
}

} // namespace lapwerk
