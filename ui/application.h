#pragma once

class QApplication;

namespace lapwerk {

/// Application title shown by the desktop.
inline constexpr const char* kApplicationTitle = "Lapwerk V2.1";

/// Sets the application's names before any window or settings store is made.
void InitApplication(QApplication& application);

} // namespace lapwerk
