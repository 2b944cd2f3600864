#pragma once

#include <QList>
#include <Qt>

class QSettings;
class QWidget;

namespace lapwerk {

/// Makes `window`, not yet shown, a tool window of the main window that owns it (Design
/// Check, Lap Times, Owned Pieces, the lane lengths, the section list), with the `extra` window
/// hints: it stands above the main window and below every modal dialog, so that it never
/// hides a dialog's buttons, and Esc closes it as its close box does.
void MakeToolWindow(QWidget& window, Qt::WindowFlags extra = {});

/// Shows the tool window `window`, restored when it was minimised, raised and active. The
/// first time, it stands beside its main window where the screen's free area has room, else
/// inside it at its right; afterwards it stays where the user put it. It always fits into the
/// screen's free area.
void ShowToolWindow(QWidget& window);

/// Puts each of the tool windows `windows` where the store says the user left it in an
/// earlier run (under its object name), fitted into today's screen.
void RestoreToolWindowPlaces(QSettings& store, const QList<QWidget*>& windows);

/// Writes where each tool window the user has seen in this run stands, under its object name.
void SaveToolWindowPlaces(QSettings& store, const QList<QWidget*>& windows);

} // namespace lapwerk
