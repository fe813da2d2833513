// SPDX-License-Identifier: GPL-3.0-or-later
// TMainForm: point-by-point mode. The device object measures the active channels on its own
// thread; every 110 ms TimerPoint reads the latest values, shows them in the channel groups
// and as crosses on the graph, and records a point when asked to or, in automatic mode, when
// the values have moved enough since the last point.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QSpinBox>
#include <QTimer>
#include <QToolButton>

#include <algorithm>

#include "ansi.h"
#include "globals.h"
#include "graphe_point.h"
#include "mainform.h"
#include "mainform_texts.h"
#include "paintbox.h"
#include "panel_rules.h"
#include "qvt2.h"

namespace qvt {

using texts::T;

namespace {

void ShowAutoState(TMainForm& form) {
  const bool automatic = form.PointAutoCB->isChecked();
  form.SetStatusText(T(automatic ? texts::kPointAutoOn : texts::kPointAutoOff));
  form.DeltaPointSE->setVisible(automatic);
}

void EnableRecordButtons(TMainForm& form) {
  const int count = PointGraph->PointCount;
  form.UndoBtn->setEnabled(count > 0);
  form.ResetBtn->setEnabled(count > 0);
  form.RegSaveBtn->setEnabled(count >= 3);
}

} // namespace

void TMainForm::ConfigurePointMode() {
  LeaveShownFile();
  for (QWidget* w : {static_cast<QWidget*>(MatlabBtn), static_cast<QWidget*>(StopBtn),
                     static_cast<QWidget*>(ProgressBar), static_cast<QWidget*>(GBFPanel),
                     PanelTemps})
    w->hide();
  // The generator goes on playing: point mode often measures what it drives.
  GBFbtn->setChecked(false);
  GBFbtn->hide();
  TimerGBF->stop();
  PointGB->show();
  HideReadout();

  for (int i = 0; i < 4; ++i)
    ApplyRange(i, PointGraph->Curves[i]);

  TimerPoint->stop();
  EnregistreBtn->show();
  UndoBtn->show();
  ResetBtn->show();
  EnableRecordButtons(*this);
  ShowAutoState(*this);

  PointGraph->VisibleCount = 0;
  for (int i = 0; i < 4; ++i) {
    TCourbePoint& curve = PointGraph->Curves[i];
    curve.Visible = Channels[i].Active->isChecked();
    if (curve.Visible)
      ++PointGraph->VisibleCount;
  }
  // A point needs two quantities: the first inactive channels come in.
  for (int i = 0; i < 4 && PointGraph->VisibleCount < 2; ++i) {
    if (PointGraph->Curves[i].Visible)
      continue;
    PointGraph->Curves[i].Visible = true;
    Channels[i].Active->setChecked(true);
    ++PointGraph->VisibleCount;
  }
  if (!PointGraph->Curves[PointGraph->Abscissa].Visible) {
    int first = 0;
    while (!PointGraph->Curves[first].Visible)
      ++first;
    PointGraph->Abscissa = static_cast<std::uint8_t>(first);
  }

  for (int i = 0; i < 4; ++i) {
    const TCourbePoint& curve = PointGraph->Curves[i];
    ApplyChannel(i, curve);
    // The live value in large digits, in the curve's colour.
    QLabel* digits = Channels[i].Digits;
    digits->setVisible(curve.Visible);
    QPalette p = digits->palette();
    p.setColor(QPalette::WindowText, ToQColor(curve.Colour));
    digits->setPalette(p);
  }

  ShowRecordingControl();
  TempsPaintBox->Invalidate();
  Edit1->setFocus();
  Device->StopPointMeasure();
  Device->StartPointMeasure();
  TimerPoint->start();
}

void TMainForm::TimerPointTimer() {
  TimerPoint->stop();
  if (Closing)
    return;
  EraseMarks();
  for (int i = 0; i < 4; ++i)
    PointGraph->Curves[i].Current = Device->LatestValue[i].load(std::memory_order_relaxed);
  if (PointAutoCB->isChecked() &&
      PointMoved(PointGraph->Curves, PointGraph->PointCount, DeltaPointSE->value()))
    RecordPoint();
  ShowLive();
  if (QApplication::focusWidget() == nullptr)
    Edit1->setFocus();
  if (!Closing)
    TimerPoint->start();
}

void TMainForm::RecordPoint() {
  if (PointGraph->PointCount >= kMaxRecordedPoints) {
    SetStatusText(T(texts::kPointsFull));
    return;
  }
  SetStatusText(QString());
  EraseMarks();
  const int n = PointGraph->PointCount;
  for (int i = 0; i < 4; ++i) {
    TCourbePoint& curve = PointGraph->Curves[i];
    if (!curve.Visible)
      continue;
    curve.Value[n] = curve.Current;
    if (i != PointGraph->Abscissa)
      PointGraph->DrawCurrentMark(i);
  }
  PointGraph->PointCount = static_cast<std::uint16_t>(n + 1);
  ComputeQuantities();
  RecordPointRow(n);
  FeedModelPanel();
  ShowLive();
  EnableRecordButtons(*this);
}

void TMainForm::UndoBtnClick() {
  if (PointGraph->PointCount == 0)
    return;
  --PointGraph->PointCount;
  EnableRecordButtons(*this);
  ComputeQuantities();
  FeedModelPanel();
  TempsPaintBox->Invalidate();
}

void TMainForm::ResetBtnClick() {
  PointGraph->PointCount = 0;
  EnableRecordButtons(*this);
  ComputeQuantities();
  FeedModelPanel();
  EnregistreBtn->show();
  TempsPaintBox->Invalidate();
}

void TMainForm::PointAutoCBClick() {
  if (!Loading)
    ShowAutoState(*this);
}

void TMainForm::ToggleLiveCrosses() {
  // Drawn in not-xor: drawing them again over themselves takes them away.
  TCanvas& canvas = TempsPaintBox->Canvas();
  canvas.SetPenMode(TPenMode::NotXor);
  for (int i = 0; i < 4; ++i)
    if (PointGraph->Curves[i].Visible && i != PointGraph->Abscissa)
      PointGraph->DrawCurrentCross(i);
  canvas.SetPenMode(TPenMode::Copy);
  PointGraph->MarksShown = !PointGraph->MarksShown;
  TempsPaintBox->Flush();
}

void TMainForm::EraseMarks() {
  if (PointGraph->MarksShown)
    ToggleLiveCrosses();
}

void TMainForm::ShowLive() {
  for (int i = 0; i < 4; ++i)
    if (PointGraph->Curves[i].Visible)
      Channels[i].Digits->setText(AnsiToQString(PointGraph->CurrentText(i)));
  if (!PointGraph->MarksShown)
    ToggleLiveCrosses();
}

} // namespace qvt
