#include "application.h"

#include <QApplication>

namespace lapwerk {

void InitApplication(QApplication& application) {
    application.setApplicationName("Lapwerk");
    // No display name: the platforms append it to the title of every window that does not
    // already end with it, and the message boxes and secondary windows carry exact captions
    // of their own ("Sure?", "Track Lengths"). The main window's caption names the program.
}

} // namespace lapwerk
