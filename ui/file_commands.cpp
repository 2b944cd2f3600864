#include "main_form.h"

namespace lapwerk {

void TMainForm::New1Click() {}

void TMainForm::Open1Click() {}

void TMainForm::Save1Click() {}

void TMainForm::SaveAs1Click() {}

void TMainForm::Exit1Click() {}

void TMainForm::ImportTRKClick() {}

bool TMainForm::FormCloseQuery() {
    return true;
}

} // namespace lapwerk
