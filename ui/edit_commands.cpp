#include "main_form.h"

#include "design_area.h"
#include "part_panel.h"

#include "board.h"
#include "editing.h"
#include "fixed_point.h"
#include "pick_edits.h"
#include "undo.h"
#include "view_navigation.h"

#include <QAction>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QSlider>

#include <algorithm>
#include <cmath>

namespace lapwerk {

bool TMainForm::UndoItemClick() {
    Undo(records_.history, records_.design);
    return true;
}

bool TMainForm::RedoItemClick() {
    Redo(records_.history, records_.design);
    return true;
}

bool TMainForm::DeleteTrackClick() {
    DeleteTrack(records_.design, records_.design.currentTrack);
    return true;
}

bool TMainForm::SplitTrackClick() {
    return SplitTrack(records_.design, records_.view) || refusedWith(SplitRefusal(records_.design));
}

bool TMainForm::UngroupTrackClick() {
    UngroupTrack(records_.design, records_.design.currentTrack);
    return true;
}

bool TMainForm::InserttrackpieceClick() {
    const int part = partSelection();
    return InsertSection(records_.design, records_.library, part, chosenDirection()) ||
           refusedWith(InsertSectionRefusal(records_.design, records_.library, part));
}

bool TMainForm::DeletetrackpieceClick() {
    DeleteSection(records_.design);
    return true;
}

bool TMainForm::ChangetrackpieceClick() {
    const int part = partSelection();
    return ChangeSection(records_.design, records_.library, part, chosenDirection()) ||
           refusedWith(ChangeSectionRefusal(records_.design, records_.library, part));
}

bool TMainForm::GotofirsttrackpieceClick() {
    GotoBegin(records_.design);
    return true;
}

bool TMainForm::GotoLasttrackpieceClick() {
    GotoEnd(records_.design);
    return true;
}

bool TMainForm::BackButtonClick() {
    StepBack(records_.design);
    return true;
}

bool TMainForm::ForwardButtonClick() {
    StepForward(records_.design);
    return true;
}

bool TMainForm::quickRotate(int headingQuarterDeg) {
    RotateTo(records_.design, records_.library, headingQuarterDeg);
    NoteUnrecordedChange(records_.history); // a quick turn takes no undo step either
    showHeading(headingQuarterDeg);
    return true;
}

bool TMainForm::chooseTrack(int step) {
    ChooseNeighbourTrack(records_.design, step);
    followUp({FollowUp::Redraw, FollowUp::FollowSelection});
    showSelection();
    return true;
}

bool TMainForm::PreviousTrackClick() {
    return chooseTrack(-1);
}

bool TMainForm::NextTrackClick() {
    return chooseTrack(1);
}

bool TMainForm::turnBy(int steps) {
    const int positions = RotateBar->maximum() + 1;
    const int wanted = RotateBar->value() + steps * RotateBar->singleStep();
    RotateBar->setValue((wanted % positions + positions) % positions);
    return true;
}

bool TMainForm::TurnLeftClick() {
    return turnBy(-1);
}

bool TMainForm::TurnRightClick() {
    return turnBy(1);
}

bool TMainForm::moveByGrid(int columns, int rows) {
    const int32_t step = GridStepModelUnits(metric());
    MoveTrackBy(records_.design, records_.library, columns * step, rows * step);
    return true;
}

bool TMainForm::MoveUpClick() {
    return moveByGrid(0, -1);
}

bool TMainForm::MoveDownClick() {
    return moveByGrid(0, 1);
}

bool TMainForm::MoveLeftClick() {
    return moveByGrid(-1, 0);
}

bool TMainForm::MoveRightClick() {
    return moveByGrid(1, 0);
}

bool TMainForm::RotateWestClick() {
    return quickRotate(360);
}

bool TMainForm::RotateNorthClick() {
    return quickRotate(720);
}

bool TMainForm::RotateEastClick() {
    return quickRotate(1080);
}

bool TMainForm::RotateSouthClick() {
    return quickRotate(0);
}

// The check marks are inverted by the items themselves before these run; the Metric mark is
// read where units are shown.

bool TMainForm::MetricClick() {
    mainPanel_->showPartFacts(records_.library, metric());
    return true;
}

bool TMainForm::SegmentsClick() {
    records_.design.segments = checkMark("Segments") ? 1 : 0;
    return true;
}

bool TMainForm::FilledInClick() {
    records_.design.filledIn = checkMark("FilledIn") ? 1 : 0;
    return true;
}

bool TMainForm::RulerClick() {
    records_.design.ruler = checkMark("Ruler") ? 1 : 0;
    return true;
}

bool TMainForm::GridClick() {
    records_.design.grid = checkMark("Grid") ? 1 : 0;
    return true;
}

bool TMainForm::PrintEveryPageClick() {
    return true;
}

bool TMainForm::KeepUndoOnSaveClick() {
    SetHistorySlots(records_.history, checkMark("KeepUndoOnSave") ? kLongUndoSlots : kUndoSlots);
    return true;
}

bool TMainForm::ShowProblemsClick() {
    judgement_->showMarks(checkMark("ShowProblems"));
    return true;
}

bool TMainForm::SmoothDrawingClick() {
    // A setting of the view alone: not part of the Design, so undo leaves it as it is.
    designArea_->setSmoothing(drawingSmoothing());
    return true;
}

bool TMainForm::zoomTo(int step, std::optional<QPoint> anchor) {
    DesignView& view = records_.view;
    step = std::clamp(step, ZoomBar->minimum(), ZoomBar->maximum());
    if (step == view.zoom) {
        return false;
    }
    PanOffset pan{view.panX, view.panY};
    if (anchor) {
        pan = PanKeepingPoint(view, step, anchor->x(), anchor->y());
    } else {
        // The model point in the middle of the area lies `pan` pixels of the old scale from
        // model point (0, 0); without a pan the view stays exactly where it was.
        const long double factor =
            static_cast<long double>(ScreenZoomScale(step)) / ScreenZoomScale(view.zoom);
        auto scaled = [factor](int32_t value) { return fx::Clamp32(std::llround(value * factor)); };
        pan = {scaled(view.panX), scaled(view.panY)};
    }
    view.panX = pan.x;
    view.panY = pan.y;
    const QSignalBlocker silently(ZoomBar);
    ZoomBar->setValue(step);
    return true;
}

bool TMainForm::ZoomToFit1Click() {
    const QRect open = designArea_->openRect();
    const ViewFit fit = ZoomToFit(records_.design, records_.library, open.width(), open.height());
    // The fit centres the design in the open part; the scroll bars lie over the rest of the
    // area, whose middle is further right and down.
    records_.view.panX = fit.pan.x + designArea_->width() / 2 - open.width() / 2;
    records_.view.panY = fit.pan.y + designArea_->height() / 2 - open.height() / 2;
    const QSignalBlocker silently(ZoomBar);
    ZoomBar->setValue(fit.zoom);
    return true;
}

bool TMainForm::ZoomIn1Click() {
    return zoomTo(records_.view.zoom + 1, std::nullopt);
}

bool TMainForm::ZoomOut1Click() {
    return zoomTo(records_.view.zoom - 1, std::nullopt);
}

void TMainForm::ZoomBarChange() {
    if (zoomTo(ZoomBar->value(), std::nullopt)) {
        followUp({FollowUp::Redraw});
    }
}

void TMainForm::RotateBarChange() {
    RotateBySlider(records_.design, records_.library, RotateBar->value());
    // Turning by the bar takes no undo step, but it moves the layout.
    NoteUnrecordedChange(records_.history);
    followUp({FollowUp::Redraw});
}

void TMainForm::boardChange(QLineEdit* box, float& size, const std::string& shownText) {
    const QString shown = QString::fromStdString(shownText);
    const QString typed = box->text();
    // A box left as the last pass wrote it changes nothing, so that leaving it is no undo step.
    if (typed == shown) {
        return;
    }
    const std::optional<float> inches = BoardSizeFromText(typed.toStdString(), metric());
    if (!inches || *inches == size) {
        box->setText(shown);
        if (!inches) {
            showNote(
                QStringLiteral("The board size \"%1\" was not taken: type a number above 0, "
                               "in %2.")
                    .arg(typed, metric() ? QStringLiteral("metres") : QStringLiteral("inches")));
        }
        return;
    }
    size = *inches;
    followUp({FollowUp::Record, FollowUp::Redraw});
}

void TMainForm::XboardChange() {
    boardChange(Xboard, records_.design.boardX, records_.view.boardTexts.x);
}

void TMainForm::YboardChange() {
    boardChange(Yboard, records_.design.boardY, records_.view.boardTexts.y);
}

} // namespace lapwerk
