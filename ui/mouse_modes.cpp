#include "main_form.h"

#include "lap_form.h"

#include "cursors.h"
#include "design_area.h"
#include "part_panel.h"

#include "editing.h"
#include "hit_test.h"
#include "pick_edits.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QRadioButton>
#include <QSlider>

#include <algorithm>
#include <cstdint>

namespace lapwerk {

void TMainForm::setEditMode(EditMode mode) {
    editMode_ = mode;
    designArea_->setCursor(Qt::CrossCursor);
}

bool TMainForm::InsertTrackClick() {
    setEditMode(EditMode::InsertTrack);
    return true;
}

bool TMainForm::JoinTrackButtonClick() {
    setEditMode(EditMode::Join);
    return true;
}

bool TMainForm::CopyTrackButtonClick() {
    setEditMode(EditMode::Copy);
    return true;
}

bool TMainForm::GroupTrackClick() {
    setEditMode(EditMode::Group);
    return true;
}

bool TMainForm::MirrorButtonClick() {
    setEditMode(EditMode::Mirror);
    return true;
}

bool TMainForm::SelecteerButtonClick() {
    editMode_ = EditMode::Select;
    UpdateCursor();
    return true;
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
    commandAction("InsertTrackSection1")->trigger();
}

void TMainForm::UpdateCursor() {
    if (editMode_ != EditMode::Select) {
        return;
    }
    const int part = partSelection();
    if (part >= 0 && part < records_.library.count &&
        IsCurveKind(records_.library.parts[part].kind)) {
        designArea_->setCursor(
            CurveCursor(chosenDirection() == 'R' ? CurveCursorSide::Right : CurveCursorSide::Left));
    } else {
        designArea_->setCursor(Qt::ArrowCursor);
    }
}

void TMainForm::FormKeyPress(QChar key) {
    // Typed into a text box, the digits are digits and nothing else.
    const bool editingText = qobject_cast<QLineEdit*>(QApplication::focusWidget()) != nullptr;
    if (key == QLatin1Char('1') && !editingText) {
        LeftRadio->setChecked(true);
    } else if (key == QLatin1Char('2') && !editingText) {
        RightRadio->setChecked(true);
    }
    UpdateCursor();
}

bool TMainForm::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    const bool keyOfThisWindow = (type == QEvent::KeyPress || type == QEvent::KeyRelease) &&
                                 watched->isWidgetType() &&
                                 static_cast<QWidget*>(watched)->window() == this;
    if (keyOfThisWindow) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Space && !key->isAutoRepeat()) {
            // Space held pans with the left button, unless it is typed into a text box.
            const bool typing = qobject_cast<QLineEdit*>(QApplication::focusWidget()) != nullptr;
            designArea_->setPanKeyHeld(type == QEvent::KeyPress && !typing);
        }
        // The window sees every typed character before the focused control, which still gets
        // it.
        if (type == QEvent::KeyPress && !key->text().isEmpty()) {
            FormKeyPress(key->text().front());
        }
    }
    if (watched == this && type == QEvent::WindowDeactivate) {
        // The release of a key held while the window loses the focus goes elsewhere.
        designArea_->setPanKeyHeld(false);
    }
    return QMainWindow::eventFilter(watched, event);
}

void TMainForm::selectClick(int x, int y) {
    // The pick runs a silent pass: a hit is drawn by a redraw, a miss changed only the board
    // texts.
    if (PickAt(records_.design, records_.view, x, y)) {
        followUp({FollowUp::Redraw});
    } else {
        followUp({FollowUp::ShowBoardTexts});
    }
    showSelection();
}

void TMainForm::showSelection() {
    judgement_->plotTrack(records_.design.currentTrack);
    const Track& track = records_.design.tracks[records_.design.currentTrack];
    showHeading(track.angle);
    const int selected = track.selectedSection;
    mainPanel_->selectPart(
        selected >= 0 && selected < track.sectionCount ? track.partIndex[selected] : -1);
    followUp({FollowUp::ShowStatus});
}

void TMainForm::joinClick(int x, int y) {
    const MaybeMessage stopped = JoinTrack(records_.design, records_.view, x, y);
    // The pick ran a silent pass; the redraw shows the track it made current, or the design as
    // a refused join left it.
    followUp({FollowUp::Redraw});
    if (!stopped) {
        followUp({FollowUp::RefreshLists, FollowUp::Record});
        return;
    }
    showMessage(*stopped);
    // A refused join left the design as it was: there is nothing to undo.
    if (!IsJoinRefusal(stopped)) {
        followUp({FollowUp::Record});
    }
}

void TMainForm::groupClick(int x, int y) {
    const MaybeMessage stopped = GroupWithPicked(records_.design, records_.view, x, y);
    if (stopped) {
        // The pick ran a silent pass; the message stands over what it picked.
        followUp({FollowUp::Redraw});
        showMessage(*stopped);
    }
    followUp({FollowUp::Record, FollowUp::Redraw});
}

void TMainForm::FormMouseWheel(int notches, QPoint at) {
    const int64_t wanted = int64_t{ZoomBar->value()} + notches;
    const int step =
        static_cast<int>(std::clamp<int64_t>(wanted, ZoomBar->minimum(), ZoomBar->maximum()));
    // At either end of the bar nothing moves or redraws.
    if (zoomTo(step, at)) {
        followUp({FollowUp::Redraw});
    }
}

void TMainForm::FormMouseDown(Qt::MouseButton button, int x, int y) {
    Design& design = records_.design;
    const DesignView& view = records_.view;
    if (button == Qt::RightButton) {
        MoveTrackTo(design, view, x, y);
        followUp({FollowUp::Record, FollowUp::Redraw});
        return;
    }
    if (button != Qt::LeftButton) {
        return;
    }
    switch (editMode_) {
    case EditMode::Select:
        selectClick(x, y);
        break;
    case EditMode::InsertTrack:
        if (InsertTrackAt(design, view, x, y)) {
            followUp({FollowUp::Redraw, FollowUp::RefreshLists, FollowUp::Record});
        } else {
            refusedWith(NewTrackRefusal(design));
        }
        break;
    case EditMode::Join:
        joinClick(x, y);
        break;
    case EditMode::Copy:
        if (CopyTrackTo(design, view, x, y)) {
            followUp({FollowUp::Record, FollowUp::Redraw, FollowUp::RefreshLists});
        } else {
            refusedWith(NewTrackRefusal(design));
        }
        break;
    case EditMode::Group:
        groupClick(x, y);
        break;
    case EditMode::Mirror:
        if (MirrorTrackTo(design, view, x, y)) {
            followUp({FollowUp::Record, FollowUp::Redraw, FollowUp::RefreshLists});
        } else {
            refusedWith(NewTrackRefusal(design));
        }
        break;
    }
    // A two-step command applies to one left click, whether it went through or not.
    editMode_ = EditMode::Select;
    UpdateCursor();
}

} // namespace lapwerk
