// SPDX-License-Identifier: GPL-3.0-or-later
// The program's dialogs and hidden forms.
#include "program_forms.h"

#include <QObject>

#include "about_box.h"
#include "config_voie_point_dlg.h"
#include "constante_dlg.h"
#include "dde_form.h"
#include "icons.h"
#include "mainform.h"
#include "options_dlg.h"
#include "osc_channel_dlg.h"

namespace qvt {

void CreateProgramForms(TMainForm* mainForm) {
  ConstanteDlg = new TConstanteDlg(mainForm);
  AboutBox = new TAboutBox(ProgramIcon(), mainForm);
  DDEForm = new TDDEForm(mainForm);
  DDEForm->MainWindow = mainForm; // the window the macros FOCUS and GETDATA bring forward
  OscChannelDlg = new TOscChannelDlg(mainForm);
  ConfigVoiePointDlg = new TConfigVoiePointDlg(mainForm);
  OptionsDlg = new TOptionsDlg(mainForm);
  QObject::connect(mainForm, &QObject::destroyed, [] {
    ConstanteDlg = nullptr;
    AboutBox = nullptr;
    DDEForm = nullptr;
    OscChannelDlg = nullptr;
    ConfigVoiePointDlg = nullptr;
    OptionsDlg = nullptr;
  });
}

} // namespace qvt
