// TMainForm: the settings file. Until it is kept between runs, every control starts with its
// design value.
#include "mainform.h"

namespace qvt {

void TMainForm::LoadSettings() {}

void TMainForm::SaveSettings() {}

} // namespace qvt
