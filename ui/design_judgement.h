#pragma once

#include "layout_check.h"
#include "records.h"

#include <QObject>

#include <cstdint>
#include <memory>

class QWidget;

namespace lapwerk {

class DesignArea;
class TCheckForm;
class TLapForm;

/// What the program thinks of the design as it is: its layout check, the check's marks on the
/// board, the Design Check window and the Lap Times window. follow() judges the design anew
/// whenever its revision has moved since it last did, so every change is judged without a
/// command asking for it.
class DesignJudgement final : public QObject {
    Q_OBJECT
public:
    /// The windows are made as tool windows of `owner`; `records` and `area` must outlive this.
    DesignJudgement(ProgramRecords& records, DesignArea& area, QWidget* owner);

    /// Judges the design anew when its revision moved: checks the layout, marks and lists the
    /// findings, and shows the lap times when their window is open (also when the unit
    /// changed). Returns whether it checked the layout.
    bool follow(bool metric);

    /// The check of the design as last judged.
    const LayoutCheck& check() const { return *check_; }
    /// Shows the check's marks on the board, or takes them away.
    void showMarks(bool shown);
    /// Opens the Design Check window with the check's findings.
    void showCheckWindow();
    /// Opens the Lap Times window with the laps of the design.
    void showLapWindow(bool metric);
    /// Measures the laps again for the window, when it is open.
    void refreshLaps(bool metric);
    /// Plots the laps of Track `slot` in the Lap Times window.
    void plotTrack(int slot);

    TCheckForm* checkForm() const { return checkForm_; }
    TLapForm* lapForm() const { return lapForm_; }

Q_SIGNALS:
    /// The user chose a finding to look at.
    void findingChosen(const Finding& finding);
    /// The user chose a section in the lap plot.
    void sectionChosen(SectionRef section);
    /// The user changed the car; the laps want measuring again.
    void carChanged();

private:
    ProgramRecords& records_;
    DesignArea& area_;
    TCheckForm* checkForm_;
    TLapForm* lapForm_;
    std::shared_ptr<const LayoutCheck> check_ = std::make_shared<const LayoutCheck>();
    bool marksShown_ = true;
    bool shownMetric_ = true;     ///< the unit the lap times were last shown in
    uint64_t judgedRevision_ = 0; ///< 0: never judged (a history's revision starts above it)
};

} // namespace lapwerk
