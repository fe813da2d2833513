// SPDX-License-Identifier: GPL-3.0-or-later
// The program's dialogs and hidden forms, created after the main window in the program's order
// and owned by it.
#pragma once

namespace qvt {

class TMainForm;

// Creates TConstanteDlg, TAboutBox, TDDEForm, TOscChannelDlg, TConfigVoiePointDlg and
// TOptionsDlg as children of `mainForm` and sets their globals; the globals go back to null
// when the main window is destroyed (and its children with it).
void CreateProgramForms(TMainForm* mainForm);

} // namespace qvt
