// SPDX-License-Identifier: GPL-3.0-or-later
// TMainForm: the handlers of the trigger, time-base and channel controls. Each does nothing
// while the window is loading its settings; the channel handlers take the channel from the
// sender's "Tag".
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>

#include "ansi.h"
#include "globals.h"
#include "graphe_osc.h"
#include "graphe_point.h"
#include "labelededit.h"
#include "mainform.h"
#include "numtext.h"
#include "oscillo_rules.h"
#include "paintbox.h"
#include "qvt2.h"
#include "radiogroup.h"
#include "spinbuttons.h"

namespace qvt {

int TMainForm::ChannelOf(QObject* sender) const {
  return std::clamp(sender->property("Tag").toInt(), 0, 3);
}

void TMainForm::ApplyThreshold(double volts) {
  Device->SetThreshold(volts); // kept only when the converter can take it
  OscGraph->TriggerLevel = Device->Threshold();
}

void TMainForm::ShowThreshold(double volts) {
  SeuilEdit->setText(AnsiToQString(FormatGeneral(volts, 3)));
  SeuilEdit->setModified(false);
}

void TMainForm::DureeUpDownChangingEx(int newIndex) {
  if (newIndex < DureeUpDown->Min() || newIndex > DureeUpDown->Max())
    return;
  Device->SetTimeBase(newIndex);
  DureeEdit->SetText(AnsiToQString(TimeBases()[newIndex].Label));
  OscGraph->SetSampleCount(Device->SweepPoints());
  NbreEdit->SetText(QString::number(OscGraph->MaxPoints));
  ShowSampleRate();
  PreAcqCB->setVisible(Device->TriggerSource() > 0);
  if (Loading)
    return;
  PanelDuree->clear();
  PanelDuree->setVisible(newIndex > kLastTimeBaseWithoutClock);
  SetTimeAxis();
  // A recording's file holds one time base: it ends with it.
  if (Recording())
    StopRecording();
  ShowRecordingControl();
  TempsPaintBox->Invalidate();
  if (ContinuousTrigger())
    StartCycle();
}

void TMainForm::NbreSpinUpClick() {
  if (Loading)
    return;
  OscGraph->SetMaxPoints(OscGraph->MaxPoints * 2);
  NbreEdit->SetText(QString::number(OscGraph->MaxPoints));
  ShowSampleRate();
}

void TMainForm::NbreSpinDownClick() {
  if (Loading)
    return;
  OscGraph->SetMaxPoints(OscGraph->MaxPoints / 2);
  NbreEdit->SetText(QString::number(OscGraph->MaxPoints));
  ShowSampleRate();
}

void TMainForm::SynchroRGClick() {
  if (Loading)
    return;
  if (SynchroRG->ItemIndex() != Device->TriggerSource())
    Reconfigure();
}

void TMainForm::SensRGClick() {
  if (Loading)
    return;
  if ((SensRG->ItemIndex() == 1) != Device->RisingEdge())
    Reconfigure();
}

void TMainForm::MonocoupCBClick() {
  if (Loading)
    return;
  const bool single = MonocoupCB->isChecked();
  EnregistreBtn->setVisible(!EnregistreBtn->isHidden() || single || SynchroRG->ItemIndex() == 0);
  if (!single && SynchroRG->ItemIndex() > 0 && StopBtn->isHidden())
    EnregistreBtnClick(); // continuous acquisitions resume
  if (single)
    StopBtnClick();
}

void TMainForm::PreAcqCBClick() {
  if (Loading || PreAcqCB->isChecked() == OscGraph->PreTrigger)
    return;
  OscGraph->PreTrigger = !PreAcqCB->isHidden() && PreAcqCB->isChecked();
  if (ContinuousTrigger()) {
    Reconfigure();
    return;
  }
  SetTimeAxis();
  TempsPaintBox->Invalidate();
}

void TMainForm::SeuilEditExit() {
  if (Loading)
    return;
  // Not a number: ignored; the next paint writes the level in force back into the box.
  if (const auto volts = ReadDecimal(AnsiFromQString(SeuilEdit->text())))
    ApplyThreshold(*volts);
  SeuilEdit->setModified(false);
  if (ContinuousTrigger())
    Reconfigure();
}

void TMainForm::SpinButton1UpClick() {
  StepThreshold(+1);
}

void TMainForm::SpinButton1DownClick() {
  StepThreshold(-1);
}

void TMainForm::StepThreshold(int steps) {
  if (Loading)
    return;
  ApplyThreshold(Device->Threshold() + steps * kThresholdStep);
  ShowThreshold(OscGraph->TriggerLevel);
  if (ContinuousTrigger())
    Reconfigure();
}

void TMainForm::Label1Click(QObject* sender) {
  if (Loading)
    return;
  const int i = ChannelOf(sender);
  const bool active = Channels[i].Active->isChecked();
  if (active == OscGraph->Curves[i].Visible)
    return;
  OscGraph->Curves[i].Visible = active;
  PointGraph->Curves[i].Visible = active;
  Reconfigure();
}

void TMainForm::ComboBox0Change(QObject*) {
  if (!Loading)
    Reconfigure();
}

void TMainForm::CheckBox10Click(QObject* sender) {
  if (Loading)
    return;
  const int i = ChannelOf(sender);
  const bool positive = Channels[i].Positive->isChecked();
  for (TCourbe* curve : {static_cast<TCourbe*>(&OscGraph->Curves[i]),
                         static_cast<TCourbe*>(&PointGraph->Curves[i])}) {
    curve->Mini = positive ? 0 : -curve->Maxi;
    curve->ComputeDisplayScale();
  }
  TempsPaintBox->Invalidate();
}

void TMainForm::RadioGroup1Click(QObject* sender) {
  const int i = ChannelOf(sender);
  Device->SetInputYD(i, Channels[i].Input->ItemIndex() == 1 ? 1 : 0);
  if (Loading)
    return;
  if (PointMode) {
    Device->StopPointMeasure();
    Device->StartPointMeasure();
  } else if (ContinuousTrigger()) {
    StartCycle();
  }
}

} // namespace qvt
