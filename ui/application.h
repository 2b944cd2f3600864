#pragma once

class QApplication;

namespace lapwerk {

/// Sets the application's name before any window or settings store is made.
void InitApplication(QApplication& application);

} // namespace lapwerk
