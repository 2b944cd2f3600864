#pragma once

#include "lap_times.h"

#include <QWidget>

#include <vector>

class QDoubleSpinBox;
class QTableWidget;

namespace lapwerk {

class SpeedPlot;

/// The window "Lap Times": a row per track in use with both lanes' lap times, the difference,
/// each lane's lowest speed in a curve and its top speed reached; the car's four settings; and a
/// plot of speed against distance round the current track for both lanes. Clicking the plot
/// asks the main window to select the section at that distance. Stays on top; its close box
/// only hides it.
class TLapForm : public QWidget {
    Q_OBJECT
public:
    explicit TLapForm(QWidget* owner);

    /// The car of the spin boxes.
    CarSettings car() const;
    /// Sets the spin boxes without running a refresh.
    void setCar(const CarSettings& car);

    /// Shows the laps of `design` with the current track's in the plot, in metres or feet.
    void showLaps(const Design& design, const PartLibrary& library, bool metric);

    /// Plots the laps shown of track slot `slot` (none: an empty plot), as the current track
    /// changed while the design did not.
    void plotTrack(int slot);

    /// Shows the window and brings it to the front.
    void showAndRaise();

    QTableWidget* lapTable() const { return lapTable_; }
    SpeedPlot* speedPlot() const { return plot_; }

Q_SIGNALS:
    /// A spin box changed the car.
    void carChanged();
    /// The plot was clicked at section `section` of track slot `slot`.
    void sectionChosen(int slot, int section);

private:
    QDoubleSpinBox* spinBox(const char* name, double minimum, double maximum, const char* suffix);

    QDoubleSpinBox* topSpeed_;
    QDoubleSpinBox* acceleration_;
    QDoubleSpinBox* braking_;
    QDoubleSpinBox* grip_;
    QTableWidget* lapTable_;
    SpeedPlot* plot_;
    std::vector<TrackLaps> shown_; ///< the laps the table shows
    bool metric_ = true;
};

/// Speed against distance round a lap for both lanes, in two colours with a legend, the
/// sections marked along the distance axis.
class SpeedPlot : public QWidget {
    Q_OBJECT
public:
    explicit SpeedPlot(QWidget* parent = nullptr);

    /// Plots `laps` (an open track: a note that there is no lap), in metres or feet.
    void showLaps(const TrackLaps& laps, bool metric);
    /// Plots nothing.
    void clear();

    /// The section of lane 1's run at pixel column `x` (its last beyond its end), or -1.
    int sectionAt(int x) const;

Q_SIGNALS:
    void sectionClicked(int slot, int section);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    QRect plotArea() const;
    double lapLength() const;

    std::optional<TrackLaps> laps_;
    bool metric_ = true;
};

} // namespace lapwerk
