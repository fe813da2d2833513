// SPDX-License-Identifier: GPL-3.0-or-later
// The main window against the virtual interface, through its widgets and handlers, on Qt's
// offscreen platform: start-up with and without the interface, continuous, single and slow
// sweeps, pre-acquisition, the controls' rules, the keyboard, the readout and the dragged
// trigger level, and an interface unplugged in the middle of a sweep.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QFileDialog>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>
#include <QStatusTipEvent>
#include <QTest>

#include <cmath>
#include <string>

#include "constante_dlg.h"
#include "mainform_fixture.h"

namespace qvt {
namespace {

TEST_F(MainFormTest, AbsentInterfaceShowsTheRedPanelUntilARetryFindsIt) {
  Start("", false);
  EXPECT_FALSE(form->VexorAbsent->isHidden());
  EXPECT_FALSE(Device->IsOpen());
  EXPECT_FALSE(form->Timer->isActive()) << "nothing starts without the interface";
  form->ComBtn->click();
  EXPECT_FALSE(form->VexorAbsent->isHidden()) << "still unplugged";

  qvt::testing::PlugVirtualInterface(0);
  form->ComBtn->click();
  EXPECT_TRUE(form->VexorAbsent->isHidden());
  EXPECT_TRUE(Device->IsOpen());
  // The oscilloscope runs: a keyboard-started sweep at 10 µs comes in at once.
  EXPECT_TRUE(WaitFor([] { return OscGraph->FilledCount == 600; }));
}

TEST_F(MainFormTest, ContinuousSweepsShowTheSineRisingThroughZeroAtTimeZero) {
  Start("noise=0.001");
  Activate(1); // Y1: a 50 Hz sine of 2 V
  Trigger(2, true);
  TimeBase(k20ms);
  ASSERT_TRUE(NextSweep());
  for (int sweep = 0; sweep < 2; ++sweep) {
    ASSERT_TRUE(NextSweep()) << "the sweeps follow each other by themselves";
    EXPECT_TRUE(Running());
    const int zero = ZeroSample();
    ASSERT_GT(zero, 400) << "aligned near the interface's trigger";
    const TSamples& v = OscGraph->Curves[1].Value;
    EXPECT_LE(v[zero], 0.01);
    EXPECT_GT(v[zero + 1], -0.01);
    // A quarter period (5 ms, 625 samples at 125 kHz) later the sine is at its crest.
    EXPECT_NEAR(v[zero + 625], 2.0, 0.05);
  }
  EXPECT_EQ(OscGraph->TimeCurve.Mini, 0);
  EXPECT_DOUBLE_EQ(OscGraph->TimeCurve.Maxi, 0.02);
}

TEST_F(MainFormTest, BothEdgesOfTheSineFillTheAxisDespiteTheComparatorsOffset) {
  // The virtual interface's comparator fires 80 mV off the level: the sine crosses 0 V some
  // 16 samples before the interface's trigger when rising, as many after it when falling.
  Start("noise=0.001");
  Activate(1); // Y1: a 50 Hz sine of 2 V
  Trigger(2);
  form->PreAcqCB->click();
  TimeBase(k20ms);
  for (const bool rising : {true, false}) {
    Trigger(2, rising);
    ASSERT_TRUE(NextSweep());
    ASSERT_TRUE(NextSweep()) << "not re-armed for ever";
    EXPECT_NEAR(ZeroSample(), rising ? 484 : 516, 2);
    const TCourbe& t = OscGraph->TimeCurve;
    EXPECT_NEAR(t.Mini, -4e-3, 0.2e-3);
    EXPECT_DOUBLE_EQ(t.Maxi - t.Mini, 0.02);
    EXPECT_LE(t.Value[0], t.Mini + 1e-9) << "samples from the start of the axis";
    EXPECT_GE(t.Value[OscGraph->FilledCount - 1] + 8e-6, t.Maxi - 1e-9) << "to its end";
  }
}

TEST_F(MainFormTest, SingleShotStopsAfterOneSweepAndUntickingItResumes) {
  Start();
  Activate(2); // Y2: a 1 kHz square, whose edge crosses the level within one sample
  Trigger(3);
  TimeBase(k1ms);
  SingleShot(true);
  EXPECT_TRUE(Idle()) << "ticking it stops the running sweep";
  form->EnregistreBtn->click();
  EXPECT_TRUE(Running());
  ASSERT_TRUE(WaitFor([&] { return Idle(); }));
  EXPECT_EQ(OscGraph->FilledCount, 1700) << "1,200 points of the sweep and 500 before it";
  QTest::qWait(300);
  EXPECT_TRUE(Idle()) << "no second sweep";

  SingleShot(false);
  EXPECT_TRUE(Running());
  ASSERT_TRUE(NextSweep());
  EXPECT_TRUE(Running());
}

TEST_F(MainFormTest, TriggerOnAnInactiveChannelMovesToTheFirstActiveOne) {
  Start();
  Activate(2);
  Trigger(4); // "Voie 3", which is off
  EXPECT_EQ(form->SynchroRG->ItemIndex(), 1);
  EXPECT_EQ(OscGraph->TriggerChannel, 0);
  EXPECT_EQ(Device->TriggerSource(), 1) << "the interface triggers where the sweep is aligned";
  EXPECT_EQ(form->SeuilGB->title(), QStringLiteral("Seuil : V0 (V)"));
}

TEST_F(MainFormTest, PreAcquisitionStartsTheAxisBeforeTheTriggerAndFillsIt) {
  Start();
  Activate(2); // Y2: a 1 kHz square of 1 V, many edges before the trigger
  Trigger(3);
  form->PreAcqCB->click();
  TimeBase(k10us);
  EXPECT_DOUBLE_EQ(OscGraph->TimeCurve.Mini, -5e-6) << "half the sweep, not 500 samples";
  TimeBase(k10ms);
  EXPECT_DOUBLE_EQ(OscGraph->TimeCurve.Mini, -2e-3) << "500 samples at 250 kHz";
  ASSERT_TRUE(NextSweep());
  ASSERT_TRUE(OscGraph->TriggerConfirmed);
  // Aligned on the edge next to the interface's trigger, the samples reach back over (nearly)
  // the whole negative part of the window, not just over the last period.
  EXPECT_LT(OscGraph->TimeCurve.Value[0], 0.95 * OscGraph->TimeCurve.Mini);
}

TEST_F(MainFormTest, SlowSingleShotDrawsAsSamplesArriveOnAWipedGraph) {
  Start("speed=1000");
  Trigger(0);
  TimeBase(k1h);
  form->StopBtn->click();
  // The earlier trace: a flat 10 V line of channel 0.
  form->MonocoupCB->setChecked(true);
  OscGraph->FilledCount = 3000;
  for (int i = 0; i < 3000; ++i) {
    OscGraph->TimeCurve.Value[i] = i * 1.44;
    OscGraph->Curves[0].Value[i] = 10;
  }
  form->TempsPaintBox->Repaint();
  const int oldRow = OscGraph->Curves[0].ToPixel(10);
  const int x = OscGraph->PlotRect.Left + (OscGraph->PlotRect.Right - OscGraph->PlotRect.Left) / 2;
  const QColor blue = ToQColor(OscGraph->Curves[0].Colour);
  ASSERT_EQ(form->TempsPaintBox->Image().pixelColor(x, oldRow), blue);

  form->EnregistreBtn->click();
  EXPECT_EQ(OscGraph->FilledCount, 0) << "wiped before the slow single shot";
  ASSERT_TRUE(WaitFor([] { return OscGraph->FilledCount > 50; }, 8000));
  EXPECT_LT(OscGraph->FilledCount, 3000) << "drawn while the sweep is under way";
  EXPECT_TRUE(Running());
  const QImage& picture = form->TempsPaintBox->Image();
  EXPECT_NE(picture.pixelColor(x, oldRow), blue) << "the old trace is gone";
  // The new trace (Y0 idles at 0 V) runs along the zero line from the left of the plot.
  const int zeroRow = OscGraph->Curves[0].ToPixel(0);
  EXPECT_EQ(picture.pixelColor(OscGraph->PlotRect.Left + 2, zeroRow), blue);
  EXPECT_FALSE(form->PanelDuree->isHidden());
  EXPECT_TRUE(form->PanelDuree->text().startsWith(QStringLiteral("00:"))) << "elapsed time";
  form->StopBtn->click();
}

TEST_F(MainFormTest, PointsDrawnHalveAndDoubleWithinTheSweep) {
  Start();
  TimeBase(k10ms);
  // The 100 points of the first time base stay the wish at 2,500 samples a sweep.
  EXPECT_EQ(form->NbreEdit->Text(), QStringLiteral("100"));
  form->NbreSpin->DownButton()->click();
  EXPECT_EQ(form->NbreEdit->Text(), QStringLiteral("50"));
  for (int i = 0; i < 8; ++i)
    form->NbreSpin->UpButton()->click();
  EXPECT_EQ(form->NbreEdit->Text(), QStringLiteral("2500")) << "no more than the sweep holds";
}

TEST_F(MainFormTest, SpaceBarStopsAndStartsAcquisitions) {
  Start();
  TimeBase(k1s);
  ASSERT_TRUE(WaitFor([&] { return Idle(); })) << "the keyboard-started 10 µs sweep";
  form->Edit1->setFocus();
  QTest::keyClick(form->Edit1, Qt::Key_Space);
  EXPECT_TRUE(Running());
  QTest::keyClick(form->Edit1, Qt::Key_Space);
  EXPECT_TRUE(Idle());
  EXPECT_TRUE(form->Edit1->text().isEmpty()) << "the space is not typed";
}

TEST_F(MainFormTest, CtrlLettersTypeTheLabelFontSymbols) {
  Start();
  QLineEdit* edit = form->Edit1;
  edit->setFocus();
  ASSERT_EQ(QApplication::focusWidget(), edit);
  QTest::keyClick(edit, Qt::Key_M, Qt::ControlModifier);
  QTest::keyClick(edit, Qt::Key_M, Qt::ControlModifier | Qt::ShiftModifier);
  QTest::keyClick(edit, Qt::Key_W, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_EQ(edit->text(), QStringLiteral("\u00B5M\u03A9"));

  QApplication::clipboard()->setText(QStringLiteral("before"));
  edit->selectAll();
  QTest::keyClick(edit, Qt::Key_C, Qt::ControlModifier);
  EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("\u00B5M\u03A9"));
  EXPECT_EQ(edit->text(), QStringLiteral("\u00B5M\u03A9")) << "copied, not replaced";
  edit->end(false);
  QTest::keyClick(edit, Qt::Key_C, Qt::ControlModifier);
  EXPECT_EQ(edit->text().back(), QChar(AnsiToUnicode(130))) << "no selection: a symbol";
  QApplication::clipboard()->setText(QStringLiteral("1"));
  QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
  EXPECT_TRUE(edit->text().endsWith(QStringLiteral("1"))) << "Ctrl+V pastes";
}

// The symbol table is the program's: its own dialogs type "α" with Ctrl+A, while Qt's
// standard dialogs keep their editing keys (Ctrl+A selects all in the file name box).
TEST_F(MainFormTest, CtrlLettersStayOutOfTheStandardDialogs) {
  Start();
  const QString alpha(QChar(AnsiToUnicode(128)));
  auto* comment = ConstanteDlg->findChild<QLineEdit*>("EditComm");
  ASSERT_NE(comment, nullptr);
  ConstanteDlg->show();
  QApplication::setActiveWindow(ConstanteDlg);
  comment->setFocus();
  comment->clear();
  QTest::keyClick(comment, Qt::Key_A, Qt::ControlModifier);
  EXPECT_EQ(comment->text(), alpha) << "a dialog of the program";
  ConstanteDlg->hide();

  ASSERT_TRUE(WaitFor([] { return OscGraph->FilledCount > 0; }));
  std::string typed, selected;
  bool shown = false;
  WhenShown<QFileDialog>([&](QFileDialog* dialog) {
    shown = true;
    auto* name = dialog->findChild<QLineEdit*>("fileNameEdit");
    if (name != nullptr) {
      QApplication::setActiveWindow(dialog);
      name->setFocus();
      name->setText(QStringLiteral("mesure"));
      QTest::keyClick(name, Qt::Key_A, Qt::ControlModifier);
      typed = name->text().toStdString();
      selected = name->selectedText().toStdString();
    }
    dialog->reject();
  });
  form->MatlabBtn->click();
  ASSERT_TRUE(shown);
  EXPECT_EQ(typed, "mesure") << "no symbol typed";
  EXPECT_EQ(selected, "mesure") << "Ctrl+A selects all";
}

TEST_F(MainFormTest, ReadoutSnapsToASampleAndTheTriggerLineDragsToAQuantisedLevel) {
  Start();
  Activate(1);
  Trigger(2);
  TimeBase(k20ms);
  SingleShot(true);
  form->EnregistreBtn->click();
  ASSERT_TRUE(WaitFor([&] { return Idle(); }));
  form->TempsPaintBox->Repaint();

  // The readout of a known sample, the mouse a little off it.
  TCourbeOsc& y1 = OscGraph->Curves[1];
  const int k = ZeroSample() + 625;
  const int px = OscGraph->TimeCurve.ToPixel(OscGraph->TimeCurve.Value[k]);
  const int py = y1.ToPixel(y1.Value[k]);
  form->TempsPaintBoxMouseMove(At(px + 1, py + 2));
  ASSERT_FALSE(form->LabelY->isHidden());
  int sx = px + 1, sy = py + 2;
  ASSERT_EQ(OscGraph->NearestPoint(sx, sy), 1);
  EXPECT_EQ(form->LabelY->text(), AnsiToQString(y1.Describe(y1.FromPixel(sy))));
  EXPECT_EQ(form->LabelX->text(),
            AnsiToQString(OscGraph->TimeCurve.Describe(OscGraph->TimeCurve.FromPixel(sx))));
  EXPECT_TRUE(form->LabelY->text().startsWith(QStringLiteral("V1=")));

  // The level line: grabbed within 3 pixels, not at 4.
  const int row = OscGraph->TriggerPixel;
  TMouseInfo press = At(px, row + 4, Qt::LeftButton, Qt::LeftButton);
  form->TempsPaintBoxMouseDown(press);
  EXPECT_FALSE(form->DraggingThreshold);
  form->TempsPaintBoxMouseUp(press);
  press.Y = row - 3;
  form->TempsPaintBoxMouseDown(press);
  EXPECT_TRUE(form->DraggingThreshold);
  EXPECT_EQ(form->StatusText(), QStringLiteral("Seuil de synchronisation"));
  const int target = y1.ToPixel(1.0);
  form->TempsPaintBoxMouseMove(At(px, target, Qt::NoButton, Qt::LeftButton));
  form->TempsPaintBoxMouseUp(At(px, target, Qt::LeftButton));
  EXPECT_FALSE(form->DraggingThreshold);
  const double wanted = y1.FromPixel(target);
  const double code = std::nearbyint((wanted + 15) * 4096 / 30);
  EXPECT_DOUBLE_EQ(Device->Threshold(), code * 30 / 4096 - 15) << "one converter step";
  EXPECT_DOUBLE_EQ(OscGraph->TriggerLevel, Device->Threshold());
  EXPECT_EQ(form->SeuilEdit->text(), AnsiToQString(FormatGeneral(Device->Threshold(), 3)));
}

TEST_F(MainFormTest, HintsFillTheCaptionAndTheStatusBar) {
  Start();
  QStatusTipEvent tip(form->RegSaveBtn->statusTip());
  QApplication::sendEvent(form->RegSaveBtn, &tip);
  EXPECT_EQ(form->windowTitle(), QStringLiteral("Envoie les données vers Kalkio"));
  EXPECT_EQ(form->StatusText(), QStringLiteral("Envoie les données vers Kalkio"));
  EXPECT_EQ(form->RegSaveBtn->toolTip(), QStringLiteral("Kalkio"));
  QStatusTipEvent none{QString()};
  QApplication::sendEvent(form->RegSaveBtn, &none);
  EXPECT_EQ(form->windowTitle(), QStringLiteral("Acquisition par QVT II pour Kalkio"));
  EXPECT_EQ(form->StatusText(), QStringLiteral("Envoie les données vers Kalkio"));
}

TEST_F(MainFormTest, AThresholdThatIsNotANumberIsIgnored) {
  Start();
  Activate(1);
  Trigger(2);
  form->SpinButton1->UpButton()->click();
  const double level = Device->Threshold();
  EXPECT_NEAR(level, 30.0 / 4096, 1e-12);
  form->SeuilEdit->setFocus();
  form->SeuilEdit->setText(QStringLiteral("douze"));
  form->SeuilEdit->setModified(true);
  QTest::keyClick(form->SeuilEdit, Qt::Key_Return);
  EXPECT_EQ(Device->Threshold(), level);
  form->Edit1->setFocus();
  form->TempsPaintBox->Repaint();
  EXPECT_EQ(form->SeuilEdit->text(), AnsiToQString(FormatGeneral(level, 3)));
}

TEST_F(MainFormTest, AnInterfaceUnpluggedMidSweepBringsBackTheRedPanelAndItsRetry) {
  Start("speed=10");
  TimeBase(k20s);
  ASSERT_TRUE(WaitFor([&] { return Idle(); })) << "the keyboard-started 10 µs sweep";
  form->EnregistreBtn->click();
  ASSERT_TRUE(WaitFor([] { return Device->ReceivedCount > 100; }));
  qvt::testing::UnplugVirtualInterface(0);
  QElapsedTimer t;
  t.start();
  QTest::qWait(500);
  EXPECT_LT(t.elapsed(), 2000) << "the window keeps answering";
  EXPECT_TRUE(Running()) << "a short silence is not yet a lost interface";
  ASSERT_TRUE(WaitFor([&] { return !form->VexorAbsent->isHidden(); }, 8000));
  EXPECT_TRUE(Idle());
  EXPECT_FALSE(Device->IsOpen());

  qvt::testing::PlugVirtualInterface(0);
  form->ComBtn->click();
  EXPECT_TRUE(form->VexorAbsent->isHidden());
  form->EnregistreBtn->click();
  EXPECT_TRUE(WaitFor([] { return Device->ReceivedCount > 100; })) << "sweeping again";
  t.restart();
  form->StopBtn->click();
  EXPECT_TRUE(Idle());
  form->close();
  EXPECT_LT(t.elapsed(), 2000);
}

// Before its edge the interface sends nothing; only a question it leaves unanswered tells
// that it is gone. A slow edge is waited for as long as it takes.
TEST_F(MainFormTest, AnInterfaceLostWhileWaitingForTheEdgeIsToldAndASlowEdgeIsWaitedFor) {
  const auto waitForEdge = [&](double level) {
    Activate(0);
    Trigger(1, true);
    TimeBase(k20ms);
    form->SeuilEdit->setFocus();
    form->SeuilEdit->setText(QString::number(level));
    form->SeuilEdit->setModified(true);
    QTest::keyClick(form->SeuilEdit, Qt::Key_Return);
    ASSERT_NEAR(Device->Threshold(), level, 0.01);
  };

  // A level the 2 V sine never reaches, then the unplug.
  Start("y0=sine:50:2;unplug_after=2");
  waitForEdge(5.0);
  EXPECT_TRUE(Running());
  EXPECT_EQ(form->StatusText(), QStringLiteral("Attente de synchronisation"));
  QElapsedTimer t;
  t.start();
  ASSERT_TRUE(WaitFor([&] { return !form->VexorAbsent->isHidden(); }, 6000));
  EXPECT_LT(t.elapsed(), 2000 + 3000) << "known within 3 s of the unplug";
  EXPECT_TRUE(Idle());
  EXPECT_FALSE(Device->IsOpen());
  form->close();
  form.reset();

  // A sine of 80 s first reaches 1.4 V after 10 s; nothing comes in before.
  Start("y0=sine:0.0125:2");
  waitForEdge(1.4);
  OscGraph->TimeCurve.Value[0] = 1e9;
  ASSERT_TRUE(WaitFor([] { return OscGraph->TimeCurve.Value[0] != 1e9; }, 15000));
  EXPECT_TRUE(form->VexorAbsent->isHidden()) << "a slow edge is not a lost interface";
  EXPECT_TRUE(Device->IsOpen());
}

TEST_F(MainFormTest, PlacementComesBackAndAWindowOffEveryScreenIsBroughtBack) {
  Start();
  form->resize(700, 500);
  form->move(30, 40);
  form->close();
  form.reset();
  Start();
  EXPECT_EQ(form->size(), QSize(700, 500));
  EXPECT_EQ(form->pos(), QPoint(30, 40));

  form->move(20000, 20000); // a screen that has gone
  form->close();
  form.reset();
  Start();
  const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
  EXPECT_TRUE(screen.intersects(form->geometry()));
}

} // namespace
} // namespace qvt
