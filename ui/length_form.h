#pragma once

#include "lane_lengths.h"

#include <QWidget>

class QListWidget;

namespace lapwerk {

/// The lane-length window "Track Lengths": one row per track in use with the lengths of its
/// two lanes. Stays on top; its close box only hides it.
class TLengthForm : public QWidget {
    Q_OBJECT
public:
    explicit TLengthForm(QWidget* owner);

    /// Client size in pixels while every length fits the lists' first width.
    static constexpr int kClientWidth = 175;
    static constexpr int kClientHeight = 239;

    /// Replaces the rows of the three lists.
    void showRows(const LaneLengthRows& rows);

    /// Shows the window (at its first place the first time) and brings it to the front.
    void showAndRaise();

    QListWidget* trackNrList() const { return trackNrList_; }
    QListWidget* trackLength1List() const { return trackLength1List_; }
    QListWidget* trackLength2List() const { return trackLength2List_; }

private:
    /// Widens the lane lists and the window to the widest length shown.
    void fitLengths();

    QListWidget* trackNrList_;
    QListWidget* trackLength1List_;
    QListWidget* trackLength2List_;
};

} // namespace lapwerk
