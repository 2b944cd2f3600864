#include "main_form.h"

#include "board.h"
#include "editing.h"
#include "pick_edits.h"

#include <QAction>
#include <QLineEdit>
#include <QSlider>

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
    showHeading(headingQuarterDeg);
    return true;
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

void TMainForm::ZoomBarChange() {
    followUp({FollowUp::Redraw});
}

void TMainForm::RotateBarChange() {
    RotateBySlider(records_.design, records_.library, RotateBar->value());
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
