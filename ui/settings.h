#pragma once

#include "lap_times.h"
#include "settings_store.h"

#include <QByteArray>
#include <QString>

#include <array>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

class QSettings;
class QVariant;

namespace lapwerk {

/// Value that holds the toolbar positions (QMainWindow::saveState).
inline constexpr const char* kToolbarsValue = "Toolbars";
/// Board width and depth when no size was saved: 2 m in inches.
inline constexpr double kDefaultBoardInches = 78.74016;

/// The check-mark options: the five of the drawing, Smooth Drawing and Show Problems.
struct DrawOptions {
    bool metric = true;
    bool filledIn = true;
    bool segments = true;
    bool ruler = true;
    bool grid = true;
    bool smoothDrawing = false;
    bool showProblems = true;
    bool printEveryPage = false; ///< full-size prints keep the pages without a section
    bool keepUndoOnSave = false; ///< a save keeps the undo history
};

/// A check-mark option: the name of its Options item, which is also its name in the store.
struct OptionMark {
    const char* name;
    bool DrawOptions::*value;
};

inline constexpr std::array<OptionMark, 9> kOptionMarks{{
    {"Metric", &DrawOptions::metric},
    {"FilledIn", &DrawOptions::filledIn},
    {"Segments", &DrawOptions::segments},
    {"Ruler", &DrawOptions::ruler},
    {"Grid", &DrawOptions::grid},
    {"SmoothDrawing", &DrawOptions::smoothDrawing},
    {"ShowProblems", &DrawOptions::showProblems},
    {"PrintEveryPage", &DrawOptions::printEveryPage},
    {"KeepUndoOnSave", &DrawOptions::keepUndoOnSave},
}};

/// Where the main window and its parts were at the end of a run.
struct WindowLayout {
    QByteArray toolbars; ///< the toolbar positions (QMainWindow::saveState)
    QByteArray geometry; ///< size, position and maximised state (QWidget::saveGeometry)
    int panelWidth = 0;  ///< width of the side panel, pixels
};

/// What the store holds; a value that is missing or of the wrong type stays empty.
struct StoredSettings {
    std::vector<std::pair<const char*, bool>> marks; ///< the stored check marks, by name
    std::optional<double> boardX, boardY;            ///< inches; empty too for a size of 0 or less
    std::optional<QByteArray> toolbars;
    std::optional<QByteArray> geometry;
    std::optional<int> panelWidth; ///< pixels, 1 or more
};

/// A flag stored as a 0/1 integer; anything that is not an integer is ignored.
std::optional<bool> FlagFromSetting(const QVariant& value);

/// A board size stored as the 8 raw bytes of an IEEE double; any other value, and a size
/// that is not a finite number a 32-bit float can hold, is ignored.
std::optional<double> BoardSizeFromSetting(const QVariant& value);

/// The 8 raw bytes of `value` in the machine's byte order.
QByteArray BoardSizeToSetting(double value);

/// Reads every value of the store.
StoredSettings ReadStoredSettings(QSettings& store);

/// The car of the Lap Times window; a value that is missing, no number or 0 or less keeps its
/// default.
CarSettings ReadCarSettings(QSettings& store);

/// Writes the car of the Lap Times window.
void WriteCarSettings(QSettings& store, const CarSettings& car);

/// Writes the options, the board size in inches (a size of 0 or less is not written) and the
/// window's layout.
void WriteStoredSettings(QSettings& store, const DrawOptions& options, double boardX, double boardY,
                         const WindowLayout& layout);

} // namespace lapwerk
