#include "main_form.h"

#include "cursors.h"
#include "design_area.h"
#include "part_panel.h"

#include "hit_test.h"
#include "pick_edits.h"

#include <QKeyEvent>
#include <QRadioButton>
#include <QSlider>

#include <algorithm>
#include <cstdint>

namespace lapwerk {

void TMainForm::setEditMode(int mode) {
    editMode_ = mode;
    designArea_->setCursor(Qt::CrossCursor);
}

void TMainForm::InsertTrackClick() {
    setEditMode(kInsertTrackMode);
}

void TMainForm::JoinTrackButtonClick() {
    setEditMode(kJoinMode);
}

void TMainForm::CopyTrackButtonClick() {
    setEditMode(kCopyMode);
}

void TMainForm::GroupTrackClick() {
    setEditMode(kGroupMode);
}

void TMainForm::MirrorButtonClick() {
    setEditMode(kMirrorMode);
}

void TMainForm::SelecteerButtonClick() {
    editMode_ = kSelectMode;
    UpdateCursor();
}

void TMainForm::LeftRadioClick() {
    UpdateCursor();
}

void TMainForm::RightRadioClick() {
    UpdateCursor();
}

void TMainForm::DeelListClick() {
    UpdateCursor();
}

void TMainForm::DeelListDblClick() {
    InserttrackpieceClick();
}

void TMainForm::UpdateCursor() {
    if (editMode_ != kSelectMode) {
        return;
    }
    const int part = partSelection();
    if (part >= 0 && part < records_.library.count &&
        IsCurveKind(records_.library.parts[part].kind)) {
        designArea_->setCursor(
            CurveCursor(RightRadio->isChecked() ? CurveCursorSide::Right : CurveCursorSide::Left));
    } else {
        designArea_->setCursor(Qt::ArrowCursor);
    }
}

void TMainForm::FormKeyPress(QChar key) {
    if (key == QLatin1Char('1')) {
        LeftRadio->setChecked(true);
    } else if (key == QLatin1Char('2')) {
        RightRadio->setChecked(true);
    }
    UpdateCursor();
}

bool TMainForm::eventFilter(QObject* watched, QEvent* event) {
    // The window sees every typed character before the focused control, which still gets it.
    if (event->type() == QEvent::KeyPress && watched->isWidgetType() &&
        static_cast<QWidget*>(watched)->window() == this) {
        const QString text = static_cast<QKeyEvent*>(event)->text();
        if (!text.isEmpty()) {
            FormKeyPress(text.front());
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void TMainForm::selectClick(int x, int y) {
    if (PickAt(records_.design, records_.view, x, y)) {
        followUp({FollowUp::Redraw});
    } else {
        syncBoardTexts();
    }
    const Track& track = records_.design.tracks[records_.design.currentTrack];
    setRotateBarSilently(track.angle / (1440 / (RotateBar->maximum() + 1)));
    const int selected = track.selectedSection;
    mainPanel_->selectPart(
        selected >= 0 && selected < track.sectionCount ? track.partIndex[selected] : -1);
    showStatus();
}

void TMainForm::FormMouseWheel(int notches) {
    const int64_t wanted = int64_t{ZoomBar->value()} + notches;
    // Moving the bar redraws through ZoomBarChange; at either end nothing moves or redraws.
    ZoomBar->setValue(
        static_cast<int>(std::clamp<int64_t>(wanted, ZoomBar->minimum(), ZoomBar->maximum())));
}

void TMainForm::FormMouseDown(Qt::MouseButton button, int x, int y) {
    Design& design = records_.design;
    DesignView& view = records_.view;
    if (button == Qt::RightButton) {
        MoveTrackTo(design, view, x, y);
        followUp({FollowUp::Record, FollowUp::Redraw});
        return;
    }
    if (button != Qt::LeftButton) {
        return;
    }
    switch (editMode_) {
    case kSelectMode:
        selectClick(x, y);
        break;
    case kInsertTrackMode:
        if (InsertTrackAt(design, view, x, y)) {
            followUp({FollowUp::Redraw, FollowUp::RefreshLists, FollowUp::Record});
        }
        break;
    case kJoinMode: {
        const MaybeMessage stopped = JoinTrack(design, view, x, y);
        followUp({FollowUp::Redraw});
        if (stopped) {
            dialogs_->message(this, QString::fromStdString(stopped->text),
                              QString::fromStdString(stopped->caption));
        } else {
            followUp({FollowUp::RefreshLists});
        }
        // A refused join left the design as it was: there is nothing to undo.
        if (!IsJoinRefusal(stopped)) {
            followUp({FollowUp::Record});
        }
        break;
    }
    case kCopyMode:
        if (CopyTrackTo(design, view, x, y)) {
            followUp({FollowUp::Record, FollowUp::Redraw, FollowUp::RefreshLists});
        }
        break;
    case kGroupMode: {
        const MaybeMessage stopped = GroupWithPicked(design, view, x, y);
        if (stopped) {
            followUp({FollowUp::Redraw});
            dialogs_->message(this, QString::fromStdString(stopped->text),
                              QString::fromStdString(stopped->caption));
        }
        followUp({FollowUp::Record, FollowUp::Redraw});
        break;
    }
    case kMirrorMode:
        if (MirrorTrackTo(design, view, x, y)) {
            followUp({FollowUp::Record, FollowUp::Redraw, FollowUp::RefreshLists});
        }
        break;
    default:
        break;
    }
    editMode_ = kSelectMode;
    UpdateCursor();
}

} // namespace lapwerk
