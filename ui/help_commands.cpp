#include "main_form.h"

namespace lapwerk {

void TMainForm::HelpTopics1Click() {}

void TMainForm::About1Click() {}

} // namespace lapwerk
