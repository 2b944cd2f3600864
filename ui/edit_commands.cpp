#include "main_form.h"

#include "design_area.h"

#include "board.h"
#include "editing.h"
#include "pick_edits.h"

#include <QAction>
#include <QLineEdit>
#include <QSlider>

namespace lapwerk {

void TMainForm::UndoItemClick() {
    Undo(records_.history, records_.design);
    syncUndoRedo();
    followUp({FollowUp::Redraw, FollowUp::RefreshLists});
}

void TMainForm::RedoItemClick() {
    Redo(records_.history, records_.design);
    syncUndoRedo();
    followUp({FollowUp::Redraw, FollowUp::RefreshLists});
}

void TMainForm::DeleteTrackClick() {
    DeleteTrack(records_.design, records_.design.currentTrack);
    followUp({FollowUp::Record, FollowUp::Redraw, FollowUp::RefreshLists});
}

void TMainForm::SplitTrackClick() {
    if (!SplitTrack(records_.design, records_.view)) {
        return;
    }
    followUp({FollowUp::Record, FollowUp::Redraw, FollowUp::RefreshLists});
}

void TMainForm::UngroupTrackClick() {
    UngroupTrack(records_.design, records_.design.currentTrack);
    followUp({FollowUp::Record, FollowUp::Redraw});
}

void TMainForm::InserttrackpieceClick() {
    const int part = partSelection();
    if (part < 0 || !InsertSection(records_.design, records_.library, part, chosenDirection())) {
        return;
    }
    followUp({FollowUp::Record, FollowUp::Redraw, FollowUp::RefreshLists});
}

void TMainForm::DeletetrackpieceClick() {
    DeleteSection(records_.design);
    followUp({FollowUp::Record, FollowUp::Redraw, FollowUp::RefreshLists});
}

void TMainForm::ChangetrackpieceClick() {
    const int part = partSelection();
    if (part < 0 || !ChangeSection(records_.design, records_.library, part, chosenDirection())) {
        return;
    }
    followUp({FollowUp::Record, FollowUp::Redraw, FollowUp::RefreshLists});
}

void TMainForm::GotofirsttrackpieceClick() {
    GotoBegin(records_.design);
    followUp({FollowUp::Redraw});
}

void TMainForm::GotoLasttrackpieceClick() {
    GotoEnd(records_.design);
    followUp({FollowUp::Redraw});
}

void TMainForm::BackButtonClick() {
    StepBack(records_.design);
    followUp({FollowUp::Redraw});
}

void TMainForm::ForwardButtonClick() {
    StepForward(records_.design);
    followUp({FollowUp::Redraw});
}

// The check marks are inverted by the items themselves before these run.

void TMainForm::MetricClick() {
    records_.view.metric = Metric->isChecked();
    followUp({FollowUp::Redraw, FollowUp::RefreshLists});
}

void TMainForm::SegmentsClick() {
    records_.design.segments = Segments->isChecked() ? 1 : 0;
    followUp({FollowUp::Redraw});
}

void TMainForm::FilledInClick() {
    records_.design.filledIn = FilledIn->isChecked() ? 1 : 0;
    followUp({FollowUp::Redraw});
}

void TMainForm::RulerClick() {
    records_.design.ruler = Ruler->isChecked() ? 1 : 0;
    followUp({FollowUp::Redraw});
}

void TMainForm::GridClick() {
    records_.design.grid = Grid->isChecked() ? 1 : 0;
    followUp({FollowUp::Redraw});
}

void TMainForm::ZoomBarChange() {
    records_.view.zoom = ZoomBar->value();
    followUp({FollowUp::Redraw});
}

void TMainForm::RotateBarChange() {
    RotateBySlider(records_.design, records_.library, RotateBar->value());
    followUp({FollowUp::Redraw});
}

void TMainForm::quickRotate(int heading) {
    setRotateBarSilently(RotateTo(records_.design, records_.library, heading));
    followUp({FollowUp::Redraw});
}

void TMainForm::RotateWestClick() {
    quickRotate(360);
}

void TMainForm::RotateNorthClick() {
    quickRotate(720);
}

void TMainForm::RotateEastClick() {
    quickRotate(1080);
}

void TMainForm::RotateSouthClick() {
    quickRotate(0);
}

void TMainForm::boardChange(QLineEdit* box, float& size) {
    const QByteArray text = box->text().toLatin1();
    size = ParseBoardSize(text.constData(), Metric->isChecked());
    followUp({FollowUp::Record, FollowUp::Redraw});
}

void TMainForm::XboardChange() {
    boardChange(Xboard, records_.design.boardX);
}

void TMainForm::YboardChange() {
    boardChange(Yboard, records_.design.boardY);
}

} // namespace lapwerk
