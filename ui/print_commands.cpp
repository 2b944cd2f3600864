#include "main_form.h"

namespace lapwerk {

void TMainForm::PageSetup1Click() {}

void TMainForm::Print1Click() {}

void TMainForm::PrintTracklist1Click() {}

void TMainForm::Tracklist1Click() {}

} // namespace lapwerk
