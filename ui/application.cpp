#include "application.h"

#include <QApplication>

namespace lapwerk {

void InitApplication(QApplication& application) {
    application.setApplicationName("Lapwerk");
    // The caption already ends with the title, so the platform does not repeat it.
    application.setApplicationDisplayName(kApplicationTitle);
}

} // namespace lapwerk
