// SPDX-License-Identifier: GPL-3.0-or-later
// TMainForm: the dialogs the main window opens: the options, the threshold calibration and
// the channel dialogs (a click on a channel's group or its colour swatch).
#include <QCheckBox>
#include <QGroupBox>
#include <QTimer>
#include <QToolButton>

#include "config_voie_point_dlg.h"
#include "etalon_seuil_dlg.h"
#include "gbf.h"
#include "globals.h"
#include "graphe_osc.h"
#include "graphe_point.h"
#include "mainform.h"
#include "options_dlg.h"
#include "osc_channel_dlg.h"
#include "qvt2.h"
#include "radiogroup.h"
#include "spinbuttons.h"

namespace qvt {

void TMainForm::OptionsBtnClick() {
  if (Closing || OptionsDlg == nullptr)
    return;
  TimerPoint->stop();
  Timer->stop();
  if (PointMode)
    Device->StopPointMeasure();
  else
    StopBtnClick();
  OptionsDlg->PointMode = PointMode;
  OptionsDlg->OscGraph = OscGraph;
  OptionsDlg->PointGraph = PointGraph;
  OptionsDlg->Language = LanguageChoice;
  if (OptionsDlg->exec() == QDialog::Accepted) {
    PointMode = OptionsDlg->PointMode;
    LanguageChoice = OptionsDlg->Language;
    Reconfigure();
    return;
  }
  if (PointMode) {
    // The measurement stopped above starts again, or the live values would freeze.
    Device->StartPointMeasure();
    TimerPoint->start();
  } else {
    Timer->start();
  }
}

void TMainForm::EtalonneSeuil() {
  if (Closing || Generator == nullptr || !Device->IsOpen())
    return;
  Timer->stop();
  TimerGBF->stop();
  {
    TEtalonSeuilDlg dialog(*Device, *Generator, this);
    dialog.exec();
  }
  if (GBFbtn->isChecked())
    RefreshGeneratorPanel();
  else
    Generator->Stop();
  Device->SetTriggerSource(static_cast<std::uint8_t>(std::max(SynchroRG->ItemIndex(), 0)));
  Device->SetRisingEdge(SensRG->ItemIndex() == 1 ? 1 : 0);
  for (int i = 0; i < 4; ++i) {
    Device->SetInputYD(i, Channels[i].Input->ItemIndex() == 1 ? 1 : 0);
    Device->SetChannelEnabled(i, Channels[i].Active->isChecked() ? 1 : 0);
  }
  // The calibration left its own time base and a 0 V threshold in the device object: the
  // window's come back, the level converted with the new correction.
  Device->SetTimeBase(DureeUpDown->Position());
  ApplyThreshold(OscGraph->TriggerLevel);
  Reconfigure();
}

void TMainForm::GroupBox6Click(QObject* sender) {
  if (Closing || Loading)
    return;
  const int i = ChannelOf(sender);
  if (i < 0 || i > 3)
    return;
  const bool yd = Channels[i].Input->ItemIndex() == 1;
  TCourbe* curve = nullptr;
  int result = QDialog::Rejected;
  if (PointMode) {
    ConfigVoiePointDlg->Curve = &PointGraph->Curves[i];
    ConfigVoiePointDlg->InputYD = yd;
    curve = ConfigVoiePointDlg->Curve;
    result = ConfigVoiePointDlg->exec();
  } else {
    OscChannelDlg->Curve = &OscGraph->Curves[i];
    OscChannelDlg->InputYD = yd;
    curve = OscChannelDlg->Curve;
    result = OscChannelDlg->exec();
  }
  if (result != QDialog::Accepted)
    return;
  // "Activer" and "Désactiver" switch the channel: its box follows, as a click on it would.
  Channels[i].Active->setChecked(curve->Visible);
  if (!PointMode)
    PointGraph->Curves[i].Visible = curve->Visible;
  Reconfigure();
}

void TMainForm::Shape1MouseDown(QObject* sender) {
  GroupBox6Click(sender);
}

} // namespace qvt
