#include "application.h"
#include "main_form.h"

#include <QApplication>

namespace {
// The records live for the whole run; an undo ring of ten Designs belongs in static storage.
lapwerk::ProgramRecords records;
} // namespace

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    lapwerk::InitApplication(application);
    lapwerk::TMainForm mainForm(records);
    mainForm.show();
    mainForm.openCommandLineDesign(QApplication::arguments());
    return application.exec();
}
