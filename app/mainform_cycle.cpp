// SPDX-License-Identifier: GPL-3.0-or-later
// TMainForm: oscilloscope mode. ConfigureOscilloscope turns the panels into a configuration
// of the device object and the graph; StartCycle arms one acquisition; TimerTimer runs a step
// of the sweep cycle every 110 ms (with "Affichage rapide", once a frame of the screen), draws
// slow sweeps as they arrive and finishes each sweep.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QScopedValueRollback>
#include <QScreen>
#include <QTimer>
#include <QToolButton>

#include <algorithm>
#include <span>

#include "ansi.h"
#include "globals.h"
#include "graph_settings.h"
#include "graphe_osc.h"
#include "graphe_point.h"
#include "hints.h"
#include "labelededit.h"
#include "mainform.h"
#include "mainform_texts.h"
#include "numtext.h"
#include "oscillo_rules.h"
#include "paintbox.h"
#include "qvt2.h"
#include "radiogroup.h"
#include "shape.h"
#include "spinbuttons.h"

namespace qvt {

using texts::T;

namespace {

std::span<double> All(TSamples& samples) {
  return {samples.data(), TSamples::kCount};
}

} // namespace

QString TMainForm::ChannelCaption(int channel, const std::string& name, bool withName) {
  QString caption = T(texts::kChannel) + QString::number(channel);
  if (withName)
    caption += T(texts::kChannelNameSeparator) + AnsiToQString(name);
  return caption;
}

void TMainForm::ApplyRange(int channel, TCourbe& curve) const {
  curve.Maxi = kRangeVolts[std::clamp(Channels[channel].Range->currentIndex(), 0, 7)];
  curve.Mini = Channels[channel].Positive->isChecked() ? 0 : -curve.Maxi;
  curve.ComputeDisplayScale();
}

void TMainForm::ApplyChannel(int channel, const TCourbe& curve) {
  TChannelControls& c = Channels[channel];
  const bool visible = curve.Visible;
  c.Input->setEnabled(visible);
  c.Range->setVisible(visible);
  c.Positive->setVisible(visible);
  Device->SetChannelEnabled(channel, visible ? 1 : 0);
  if (!visible) {
    c.Swatch->SetBrushColour(palette().color(QPalette::Button));
    c.Group->setTitle(ChannelCaption(channel, curve.QuantityName, false));
    return;
  }
  Device->SetInputYD(channel, c.Input->ItemIndex() == 1 ? 1 : 0);
  c.Swatch->SetBrushColour(ToQColor(curve.Colour));
  Device->SetHighRange(channel, NeedsWideRange(curve.Mini, curve.Maxi));
  c.Group->setTitle(ChannelCaption(channel, curve.QuantityName, true));
}

bool TMainForm::ContinuousTrigger() const {
  return !MonocoupCB->isHidden() && !MonocoupCB->isChecked();
}

void TMainForm::SetTimeAxis() {
  TCourbe& time = OscGraph->TimeCurve;
  time.Mini = OscGraph->PreTrigger ? Device->PreTriggerTime() : 0.0;
  time.Maxi = time.Mini + TimeBases()[Device->TimeBaseIndex()].SweepDuration;
}

void TMainForm::ShowSampleRate() {
  FechEdit->SetText(AnsiToQString(HertzUnit().FormatValue(Device->SampleRate() / OscGraph->Step)));
}

void TMainForm::ShowProgress() {
  // The progress bar repaints at once when its value changes: it is set once a pass, not at
  // every packet. The last packet may bring more than the sweep; the bar is then full.
  ProgressBar->setValue(std::min(Device->ReceivedCount, ProgressBar->maximum()));
  ShowElapsed();
}

void TMainForm::ShowElapsed() {
  if (Device->TimeBaseIndex() <= kLastTimeBaseWithoutClock || Device->ReceivedCount == 0)
    return;
  const bool channelTrigger = OscGraph->TriggerChannel != TgrapheOsc::kNoTrigger;
  const double seconds = SweepElapsed(Device->ReceivedCount, Device->SampleRate(), channelTrigger);
  PanelDuree->setText(QString::fromStdString(ElapsedText(seconds)));
}

void TMainForm::FillCurves(int count) {
  OscGraph->FilledCount = static_cast<std::uint16_t>(std::clamp(count, 0, 16384));
  Device->FillTimes(All(OscGraph->TimeCurve.Value));
  for (int i = 0; i < 4; ++i) {
    TCourbeOsc& curve = OscGraph->Curves[i];
    if (!curve.Visible)
      continue;
    Device->FillChannel(i, All(curve.Value));
    const TClipping clipping = Device->Clipping(i, 0, OscGraph->FilledCount);
    curve.ClippedLow = clipping.Low;
    curve.ClippedHigh = clipping.High;
  }
}

void TMainForm::ConfigureOscilloscope() {
  // Any change of the set-up goes back to live data.
  LeaveShownFile();
  for (QWidget* w : {static_cast<QWidget*>(GBFbtn), static_cast<QWidget*>(MatlabBtn), PanelTemps,
                     static_cast<QWidget*>(ProgressBar)})
    w->show();
  UndoBtn->hide();
  ResetBtn->hide();
  PointGB->hide();
  RegSaveBtn->setEnabled(true);
  if (!StopBtn->isHidden())
    StopBtnClick();

  for (int i = 0; i < 4; ++i)
    ApplyRange(i, OscGraph->Curves[i]);

  GBFPanel->setVisible(GBFbtn->isChecked());
  if (GBFPanel->isHidden())
    TimerGBF->stop();

  EnregistreBtn->hide();
  PanelDuree->clear();
  PanelDuree->setVisible(Device->TimeBaseIndex() > kLastTimeBaseWithoutClock);

  DureeEdit->SetText(AnsiToQString(TimeBases()[Device->TimeBaseIndex()].Label));
  OscGraph->SetSampleCount(Device->SweepPoints());
  ShowSampleRate();
  NbreEdit->SetText(QString::number(OscGraph->MaxPoints));

  OscGraph->VisibleCount = 0;
  for (int i = 0; i < 4; ++i) {
    Channels[i].Digits->hide();
    if (OscGraph->Curves[i].Visible)
      ++OscGraph->VisibleCount;
  }
  if (OscGraph->VisibleCount == 0) {
    OscGraph->Curves[0].Visible = true;
    OscGraph->VisibleCount = 1;
  }

  // Trigger.
  // The first active channel triggers when the chosen one is off; the interface is told the
  // same, so that it triggers on the channel the sweep is aligned on.
  std::array<bool, 4> active{};
  for (int i = 0; i < 4; ++i)
    active[i] = OscGraph->Curves[i].Visible;
  const int source = TriggerSourceFor(std::max(SynchroRG->ItemIndex(), 0), active);
  if (source > 0 && source != SynchroRG->ItemIndex())
    SynchroRG->SetItemIndex(source);
  Device->SetTriggerSource(static_cast<std::uint8_t>(source));
  Device->SetRisingEdge(SensRG->ItemIndex() == 1 ? 1 : 0);
  const bool channelTrigger = source > 0;
  PreAcqCB->setVisible(channelTrigger);
  MonocoupCB->setVisible(channelTrigger);
  if (!channelTrigger) {
    OscGraph->TriggerChannel = TgrapheOsc::kNoTrigger;
    SetHint(SynchroRG, QString());
  } else {
    SetHint(SynchroRG, T(texts::kDragHint));
    const int channel = source - 1;
    OscGraph->TriggerChannel = static_cast<std::uint8_t>(channel);
    SeuilGB->setTitle(T(texts::kThresholdOf) +
                      AnsiToQString(OscGraph->Curves[channel].QuantityName) +
                      T(texts::kThresholdUnit));
  }

  // Channels.
  for (int i = 0; i < 4; ++i) {
    Channels[i].Active->setChecked(OscGraph->Curves[i].Visible);
    ApplyChannel(i, OscGraph->Curves[i]);
  }

  OscGraph->PreTrigger = !PreAcqCB->isHidden() && PreAcqCB->isChecked();
  OscGraph->TriggerRising = SensRG->ItemIndex() == 1;
  SensRG->setVisible(channelTrigger);
  SeuilGB->setVisible(channelTrigger);

  SetTimeAxis();
  ShowRecordingControl();
  TempsPaintBox->Invalidate();
  Edit1->setFocus();
  DescribeGraph();
  StartCycle();
}

void TMainForm::StartCycle() {
  if (Closing || Loading || !EnregistreBtn->isHidden()) {
    SetStatusText(QString());
    return;
  }
  if (QApplication::focusWidget() == nullptr || QApplication::focusWidget()->window() != this)
    Edit1->setFocus();
  ProgressBar->setValue(0);
  ProgressBar->setMaximum(Device->TotalPoints());
  OscGraph->SetSampleCount(Device->SweepPoints());
  SetStatusText(T(texts::kWaitingForTrigger));
  WaitMessageShown = true;
  if (Device->TimeBaseIndex() > kLastFastTimeBase && MonocoupCB->isChecked() &&
      OscGraph->FilledCount != 0) {
    // A slow single shot starts on a clean graph: its trace grows as the samples arrive.
    OscGraph->FilledCount = 0;
    TempsPaintBox->Invalidate();
  }
  StopBtn->show();
  Timer->setInterval(PollDelayMs());
  Timer->start();
  Cycle.emplace(*Device);
  Cycle->Arm(SynchroRG->ItemIndex() > 0);
  RecordSweepStart();
  StartGeneratorStep();
}

int TMainForm::PollDelayMs() const {
  if (!PacedOnScreen(FastDisplay, Device->TimeBaseIndex(),
                     !MonocoupCB->isHidden() && MonocoupCB->isChecked()))
    return kWrittenPollMs;
  // The next sweep is armed as soon as one is shown and is usually in before the next frame:
  // the first poll waits for that frame, later ones follow the data.
  const QScreen* shown = screen();
  return FramePollDelayMs(PaceClock.nsecsElapsed() / 1e6, SweepShownMs,
                          shown != nullptr ? shown->refreshRate() : 60.0);
}

void TMainForm::TimerTimer() {
  // The loop below lets events run, and a handler run by it may start a new cycle and with
  // it this timer: a second poll loop must not start inside the first.
  if (StopBtn->isHidden() || InTimer || !Cycle)
    return;
  const QScopedValueRollback<bool> busy(InTimer, true);
  Timer->stop();
  int last = OscGraph->FilledCount;
  const double dt = 1.0 / Device->SampleRate();
  const bool slow = Device->TimeBaseIndex() > kLastFastTimeBase;
  // Slow sweeps are drawn (not over the spectrum) and recorded as their samples arrive.
  const bool drawn = slow && !SpectrumShown();

  const TSweepCycle::TState state = Cycle->Step([&](int received) {
    if (StopBtn->isHidden() || Closing)
      return false;
    // Asked at every packet: a recording may start while the sweep runs.
    const bool recorded = RecordsSweepSamples();
    if ((drawn || recorded) && (received - last) * dt > 0.055) {
      FillCurves(received);
      if (drawn) {
        // The computed quantities grow with the channels they are computed from.
        ComputeQuantities();
        OscGraph->DrawTracesFrom(last);
      }
      if (recorded) {
        if (!drawn)
          ComputeQuantities();
        RecordSweepSamples(last, OscGraph->FilledCount);
      }
      last = OscGraph->FilledCount;
      ShowProgress();
    }
    QApplication::processEvents();
    return true;
  });
  if (Closing || StopBtn->isHidden())
    return;
  ShowProgress();
  if (state == TSweepCycle::TState::Lost) {
    InterfaceLost();
    return;
  }
  if (state != TSweepCycle::TState::Finished) {
    Timer->start(PollDelayMs());
    return;
  }

  FillCurves(Device->TotalPoints());
  if (RecordsSweepSamples()) {
    ComputeQuantities();
    RecordSweepSamples(last, OscGraph->FilledCount);
  }
  if (OscGraph->TriggerChannel != TgrapheOsc::kNoTrigger) {
    OscGraph->AlignOnTrigger(Device->SampleRate());
    if (!OscGraph->TriggerConfirmed) {
      // Not the edge that was asked for: the sweep is dropped and a new one armed.
      EnregistreBtnClick();
      return;
    }
  }
  if (!PaceClock.isValid())
    PaceClock.start();
  SweepShownMs = PaceClock.nsecsElapsed() / 1e6;
  SetTimeAxis();
  OscGraph->KeepTimeAxisOnSamples();
  ComputeQuantities();
  AnalyseSweep();
  FeedModelPanel();
  TempsPaintBox->Invalidate();
  StopBtn->hide();
  // The sweep is in: the wait message would now be untrue.
  if (WaitMessageShown)
    SetStatusText(QString());
  if (!MonocoupCB->isChecked() && SynchroRG->ItemIndex() > 0)
    EnregistreBtnClick();
  else
    EnregistreBtn->show();
}

void TMainForm::InterfaceLost() {
  StopBtn->hide();
  EnregistreBtn->show();
  SetStatusText(QString());
  // Closed, so that "Vérifier puis cliquer ici" opens it anew once it is back.
  Device->ClosePort();
  ShowVexorAbsent(true);
}

void TMainForm::StopBtnClick() {
  StopBtn->hide();
  Device->StopAcquisition();
  EnregistreBtn->show();
}

void TMainForm::EnregistreBtnClick() {
  if (!ShownFile.isEmpty()) {
    // Back from an opened file to live data, in the mode the window was in.
    if (PointMode)
      ConfigurePointMode();
    else
      ConfigureOscilloscope();
    return;
  }
  if (PointMode) {
    RecordPoint();
    return;
  }
  EnregistreBtn->hide();
  StartCycle();
}

void TMainForm::TempsPaintBoxPaint() {
  if (OscGraph == nullptr)
    return; // a paint before the window's creation has finished
  if (TgraphePoint* points = ShownPointGraph()) {
    points->Paint();
    PaintModel(*points->Canvas);
    return;
  }
  if (SpectrumShown()) {
    PaintSpectrum();
    return;
  }
  OscGraph->Paint();
  PaintModel(*OscGraph->Canvas);
  if (OscGraph->TriggerChannel != TgrapheOsc::kNoTrigger && ShownFile.isEmpty()) {
    // The level goes back into the box, unless the user is typing a new one there.
    if (!SeuilEdit->hasFocus())
      ShowThreshold(OscGraph->TriggerLevel);
    QPalette p = SeuilEdit->palette();
    p.setColor(QPalette::Text, ToQColor(OscGraph->Curves[OscGraph->TriggerChannel].Colour));
    SeuilEdit->setPalette(p);
  }
  HideReadout();
}

} // namespace qvt
