#include "design_judgement.h"

#include "check_form.h"
#include "design_area.h"
#include "lap_form.h"
#include "problem_marks.h"

namespace lapwerk {

DesignJudgement::DesignJudgement(ProgramRecords& records, DesignArea& area, QWidget* owner)
    : QObject(owner), records_(records), area_(area), checkForm_(new TCheckForm(owner)),
      lapForm_(new TLapForm(owner)) {
    connect(checkForm_, &TCheckForm::findingChosen, this, &DesignJudgement::findingChosen);
    connect(lapForm_, &TLapForm::carChanged, this, &DesignJudgement::carChanged);
    connect(lapForm_, &TLapForm::sectionChosen, this, [this](int slot, int section) {
        Q_EMIT sectionChosen({slot, section});
    });
}

bool DesignJudgement::follow(bool metric) {
    const bool unitChanged = metric != shownMetric_;
    shownMetric_ = metric;
    const bool revised = records_.history.revision != judgedRevision_;
    if (revised) {
        judgedRevision_ = records_.history.revision;
        check_ =
            std::make_shared<const LayoutCheck>(CheckLayout(records_.design, records_.library));
        showMarks(marksShown_);
        // Listing a thousand findings takes a while: the list is filled while it shows.
        if (checkForm_->isVisible()) {
            checkForm_->showCheck(check_, records_.design, records_.library);
        }
    }
    if (revised || unitChanged) {
        refreshLaps(metric);
    }
    return revised;
}

void DesignJudgement::showMarks(bool shown) {
    marksShown_ = shown;
    area_.setMarks(shown ? ProblemMarks(check_) : DesignArea::MarkLayout());
}

void DesignJudgement::showCheckWindow() {
    checkForm_->showCheck(check_, records_.design, records_.library);
    checkForm_->showAndRaise();
}

void DesignJudgement::showLapWindow(bool metric) {
    lapForm_->showAndRaise();
    refreshLaps(metric);
}

void DesignJudgement::refreshLaps(bool metric) {
    if (lapForm_->isVisible()) {
        lapForm_->showLaps(records_.design, records_.library, metric);
    }
}

void DesignJudgement::plotTrack(int slot) {
    lapForm_->plotTrack(slot);
}

} // namespace lapwerk
