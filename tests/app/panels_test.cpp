// SPDX-License-Identifier: GPL-3.0-or-later
// The generator panel, point-by-point mode and the dialogs the main window opens, against the
// virtual interface (its G0 output is wired to Y0) on Qt's offscreen platform.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollBar>
#include <QSpinBox>
#include <QTest>
#include <QToolButton>

#include <algorithm>
#include <cmath>

#include "config_voie_point_dlg.h"
#include "etalon_seuil_dlg.h"
#include "graphe_point.h"
#include "options_dlg.h"
#include "lcd99.h"
#include "mainform_fixture.h"

namespace qvt {
namespace {

class PanelsTest : public MainFormTest {
protected:
  void ShowGenerator() {
    if (!form->GBFbtn->isChecked())
      form->GBFbtn->click();
  }
  bool Sent() const { return form->GeneratorState == 2 && form->MajBtn->isHidden(); }
  // A keyboard-started sweep of Y0 alone at a time base, started now.
  const TSamples& SweepOfY0(int timeBase) {
    Trigger(0);
    TimeBase(timeBase);
    EXPECT_TRUE(WaitFor([&] { return Idle(); }));
    form->EnregistreBtn->click();
    EXPECT_TRUE(NextSweep());
    return OscGraph->Curves[0].Value;
  }
  void EnterPointMode() {
    form->PointMode = true;
    form->Reconfigure();
  }
};

TEST_F(PanelsTest, FrequencyButtonsStepTheDisplay) {
  Start();
  ShowGenerator();
  auto click = [&](int button, const char* from) {
    form->LCD10k->SetValue(from);
    form->FrequencyBtns[button]->click();
    return form->LCD10k->Value();
  };
  // Buttons 0-3 are "+" 1000, 100, 10, 1 above the display; 4-7 the "-" ones under it.
  EXPECT_EQ(click(4, "1000"), "1000");
  EXPECT_EQ(click(5, "1000"), "900");
  EXPECT_EQ(click(5, "150"), "140");
  EXPECT_EQ(click(1, "9990"), "9999");
  EXPECT_FALSE(form->MajBtn->isHidden()) << "a change waits to be sent";
}

TEST_F(PanelsTest, ASineFromThePanelIsSeenOnY0WithItsFrequencyAndAmplitude) {
  Start();
  ShowGenerator();
  form->LCD10k->SetValue("500");
  form->AmplitudeScroll->setValue(300); // 3 V
  form->signalRG->Button(2)->click();   // "Sinus": sent at once
  ASSERT_TRUE(Sent());
  EXPECT_TRUE(Generator->Running);

  const TSamples& v = SweepOfY0(k10ms);
  const int n = OscGraph->FilledCount;
  double high = -1e9, low = 1e9;
  int first = -1, last = -1, rises = 0;
  for (int i = 1; i < n; ++i) {
    high = std::max(high, v[i]);
    low = std::min(low, v[i]);
    if (v[i - 1] < 0 && v[i] >= 0) {
      if (first < 0)
        first = i;
      last = i;
      ++rises;
    }
  }
  EXPECT_NEAR(high, 3.0, 0.1);
  EXPECT_NEAR(low, -3.0, 0.1);
  ASSERT_GE(rises, 4);
  const double period = (OscGraph->TimeCurve.Value[last] - OscGraph->TimeCurve.Value[first]) /
                        (rises - 1);
  EXPECT_NEAR(1 / period, 500, 5);
}

TEST_F(PanelsTest, ChangesAreSentAfterAQuietPauseExceptAFormulaWhichWaitsForEnter) {
  Start();
  ShowGenerator();
  form->signalRG->Button(2)->click();
  ASSERT_TRUE(Sent());
  form->AmplitudeScroll->setValue(400);
  EXPECT_EQ(form->GeneratorState, 0);
  QTest::qWait(700);
  EXPECT_FALSE(Sent()) << "not before six quiet ticks";
  ASSERT_TRUE(WaitFor([&] { return Sent(); }, 3000));
  EXPECT_DOUBLE_EQ(Generator->Amplitude, 4.0);

  form->signalRG->Button(3)->click(); // "Arbitraire"
  EXPECT_FALSE(form->ExpressionPanel->isHidden());
  EXPECT_TRUE(form->AmplitudeGB->isHidden());
  form->ExpressionEdit->setFocus();
  form->ExpressionEdit->setText("2*t");
  QTest::keyClick(form->ExpressionEdit, Qt::Key_Backspace);
  QTest::keyClick(form->ExpressionEdit, Qt::Key_T);
  QTest::qWait(2000);
  EXPECT_FALSE(Sent()) << "a formula waits for Enter";
  QTest::keyClick(form->ExpressionEdit, Qt::Key_Return);
  EXPECT_TRUE(Sent());
  EXPECT_EQ(Generator->GetExpression(), "2*t");
}

TEST_F(PanelsTest, ARefusedFormulaIsReportedAndThePreviousWaveKeepsPlaying) {
  Start();
  ShowGenerator();
  form->signalRG->Button(3)->click();
  form->ExpressionEdit->setText("4");
  form->MajBtnClick();
  ASSERT_TRUE(Sent());

  form->ExpressionEdit->setText("5*SIN(");
  form->MajBtnClick();
  EXPECT_FALSE(Sent());
  EXPECT_TRUE(Generator->Running) << "the table sent before still plays";
  QMessageBox* box = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (box = form->findChild<QMessageBox*>("GeneratorErrorBox")); }));
  EXPECT_TRUE(box->text().startsWith("Missing brackets") || box->text().startsWith("Error parsing"))
      << box->text().toStdString();
  const TSamples& v = SweepOfY0(k1ms);
  EXPECT_NEAR(v[100], 4.0, 0.1);

  form->ExpressionEdit->setText("-4");
  form->MajBtnClick();
  EXPECT_TRUE(Sent()) << "the panel works on";
}

TEST_F(PanelsTest, HidingThePanelStopsTheOutput) {
  Start();
  ShowGenerator();
  form->signalRG->Button(0)->click();
  form->AmplitudeScroll->setValue(300);
  form->MajBtnClick();
  ASSERT_TRUE(Generator->Running);
  form->GBFbtn->click();
  EXPECT_TRUE(form->GBFPanel->isHidden());
  EXPECT_FALSE(Generator->Running);
  const TSamples& v = SweepOfY0(k10ms);
  const auto [low, high] = std::minmax_element(&v[0], &v[0] + OscGraph->FilledCount);
  EXPECT_LT(*high - *low, 0.2) << "G0 is quiet";
}

TEST_F(PanelsTest, PointModeNeedsTwoChannelsAndAnActiveAbscissa) {
  Start();
  Activate(2);
  form->Channels[0].Active->click(); // only channel 2 left
  ASSERT_FALSE(OscGraph->Curves[0].Visible);
  PointGraph->Abscissa = 1;
  EnterPointMode();
  EXPECT_TRUE(PointGraph->Curves[0].Visible);
  EXPECT_TRUE(form->Channels[0].Active->isChecked());
  EXPECT_TRUE(PointGraph->Curves[2].Visible);
  EXPECT_FALSE(PointGraph->Curves[1].Visible);
  EXPECT_EQ(PointGraph->Abscissa, 0);
  EXPECT_TRUE(form->PanelTemps->isHidden());
  EXPECT_TRUE(form->GBFbtn->isHidden());
  EXPECT_TRUE(Device->PointMeasureRunning());
}

TEST_F(PanelsTest, PointsRecordedByHandAndAutomaticallyWithKalkioFromThree) {
  Start();
  Activate(1);
  form->PointAutoCB->setChecked(false);
  EnterPointMode();
  EXPECT_FALSE(form->RegSaveBtn->isEnabled());
  EXPECT_FALSE(form->UndoBtn->isEnabled());
  // Live values reach the channel groups.
  ASSERT_TRUE(WaitFor([&] { return !form->Channels[1].Digits->text().isEmpty(); }));
  for (int i = 1; i <= 3; ++i) {
    form->EnregistreBtn->click();
    EXPECT_EQ(PointGraph->PointCount, i);
    EXPECT_EQ(form->RegSaveBtn->isEnabled(), i >= 3);
  }
  form->UndoBtn->click();
  EXPECT_EQ(PointGraph->PointCount, 2);
  EXPECT_FALSE(form->RegSaveBtn->isEnabled());
  form->ResetBtn->click();
  EXPECT_EQ(PointGraph->PointCount, 0);
  EXPECT_FALSE(form->UndoBtn->isEnabled());

  // Automatic, on ticks run by hand over values set by hand: the first tick records, then a
  // point needs a change of more than 1 % of the 30 V range.
  Device->StopPointMeasure();
  form->TimerPoint->stop();
  form->PointAutoCB->click();
  EXPECT_FALSE(form->DeltaPointSE->isHidden());
  auto tick = [&](double y0, double y1) {
    Device->LatestValue[0] = y0;
    Device->LatestValue[1] = y1;
    form->TimerPointTimer();
    form->TimerPoint->stop();
    return PointGraph->PointCount;
  };
  EXPECT_EQ(tick(0, 0), 1) << "the first tick records";
  EXPECT_EQ(tick(0.12, 0.12), 1) << "0.8 % in all";
  EXPECT_EQ(tick(0.12, 0.25), 2) << "1.2 %";
  form->PointAutoCB->click();
  EXPECT_TRUE(form->DeltaPointSE->isHidden());
}

TEST_F(PanelsTest, OptionsSwitchToPointModeAndBack) {
  Start();
  WhenShown<TOptionsDlg>([](TOptionsDlg* d) {
    d->ModeRG->Button(1)->click();
    d->BtnOK->click();
  });
  form->OptionsBtnClick();
  EXPECT_TRUE(form->PointMode);
  EXPECT_FALSE(form->PointGB->isHidden());
  EXPECT_TRUE(Device->PointMeasureRunning());

  // Cancelled: the live values go on.
  WhenShown<TOptionsDlg>([](TOptionsDlg* d) { d->BtnCancel->click(); });
  form->OptionsBtnClick();
  EXPECT_TRUE(form->PointMode);
  EXPECT_TRUE(Device->PointMeasureRunning());
  EXPECT_TRUE(form->TimerPoint->isActive());

  WhenShown<TOptionsDlg>([](TOptionsDlg* d) {
    d->ModeRG->Button(0)->click();
    d->BtnOK->click();
  });
  form->OptionsBtnClick();
  EXPECT_FALSE(form->PointMode);
  EXPECT_FALSE(Device->PointMeasureRunning());
  EXPECT_FALSE(form->PanelTemps->isHidden());
  EXPECT_FALSE(form->GBFbtn->isHidden());
  EXPECT_TRUE(form->PointGB->isHidden());
}

TEST_F(PanelsTest, DeactivatingAPointChannelInItsDialogSwitchesItOff) {
  Start();
  Activate(1);
  Activate(2);
  EnterPointMode();
  WhenShown<TConfigVoiePointDlg>([](TConfigVoiePointDlg* d) { d->DesactiveBtn->click(); });
  form->GroupBox6Click(form->Channels[2].Group);
  EXPECT_FALSE(PointGraph->Curves[2].Visible);
  EXPECT_FALSE(form->Channels[2].Active->isChecked());
  EXPECT_TRUE(PointGraph->Curves[1].Visible);
}

TEST_F(PanelsTest, CalibrationKeepsTheWindowsTimeBaseAndLevel) {
  Start();
  Activate(1);
  Trigger(2);
  TimeBase(k1ms);
  form->SeuilEdit->setText("1.5");
  form->SeuilEdit->setModified(true);
  form->SeuilEditExit();
  const double level = Device->Threshold();
  WhenShown<TEtalonSeuilDlg>([](TEtalonSeuilDlg* d) { d->BitBtn1->click(); });
  form->EtalonneSeuil();
  EXPECT_LT(std::abs(Device->ThresholdOffset), 0.5);
  EXPECT_EQ(Device->TimeBaseIndex(), k1ms);
  EXPECT_NEAR(Device->Threshold(), level, 0.01);
  EXPECT_FALSE(Generator->Running) << "the generator panel is off: the triangle stops";
}

} // namespace
} // namespace qvt
