// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's test fixture: a window on a fresh virtual interface on Qt's offscreen
// platform, and the user's actions on its controls.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QElapsedTimer>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSettings>
#include <QStatusTipEvent>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <memory>
#include <sstream>
#include <string>

#include "../platform/qt_test_app.h"
#include "ansi.h"
#include "config_file_name.h"
#include "gbf.h"
#include "globals.h"
#include "graphe_osc.h"
#include "labelededit.h"
#include "mainform.h"
#include "numtext.h"
#include "paintbox.h"
#include "program_forms.h"
#include "qvt2.h"
#include "qvtlink_testing.h"
#include "radiogroup.h"
#include "spinbuttons.h"

namespace qvt {

// Time-base indexes used below.
constexpr int k10us = 0;
constexpr int k1ms = 6;
constexpr int k10ms = 9;
constexpr int k20ms = 10;
constexpr int k1s = 15;
constexpr int k20s = 19;
constexpr int k1h = 25;

inline TMouseInfo At(int x, int y, Qt::MouseButton button = Qt::NoButton,
               Qt::MouseButtons held = Qt::NoButton) {
  TMouseInfo m;
  m.X = x;
  m.Y = y;
  m.Button = button;
  m.Buttons = held;
  return m;
}

// Runs `act` on the modal dialog the next handler opens, once it is shown.
template <typename Dialog, typename Act> void WhenShown(Act act) {
  QTimer::singleShot(0, [act] {
    for (QWidget* w : QApplication::topLevelWidgets())
      if (auto* d = qobject_cast<Dialog*>(w); d != nullptr && d->isVisible())
        act(d);
  });
}

class MainFormTest : public ::testing::Test {
protected:
  // A window on a fresh virtual interface with these options; `plugged` false starts it
  // with the interface absent.
  void Start(const std::string& options = "", bool plugged = true) {
    TestApp();
    // Each test program keeps the window placement in a store of its own: the programs run
    // side by side.
    static QTemporaryDir store;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, store.path());
    setenv("QVTLINK_DEVICE", "sim", 1);
    setenv("QVTLINK_SIM", ("glitch=0;" + options).c_str(), 1);
    qvt::testing::ResetVirtualInterfaces();
    if (!plugged)
      qvt::testing::UnplugVirtualInterface(0);
    if (Generator == nullptr)
      Generator = new TGBF;
    form = std::make_unique<TMainForm>();
    CreateProgramForms(form.get());
    form->show();
    QApplication::setActiveWindow(form.get());
    // The first activation restores the placement and starts the oscilloscope.
    ASSERT_TRUE(WaitFor([&] { return !form->FirstActivation; }));
  }

  void TearDown() override {
    if (form) {
      form->close();
      form.reset();
    }
    qvt::testing::ResetVirtualInterfaces();
  }

  // Runs the event loop until `done` holds, at most `ms` milliseconds.
  static bool WaitFor(const std::function<bool()>& done, int ms = 5000) {
    QElapsedTimer t;
    t.start();
    while (!done()) {
      if (t.elapsed() > ms)
        return false;
      QTest::qWait(5);
    }
    return true;
  }

  // The user's actions.
  void Activate(int channel) {
    QCheckBox* box = form->Channels[channel].Active;
    if (!box->isChecked())
      box->click();
  }
  void Trigger(int item, bool rising = true) {
    form->SynchroRG->Button(item)->click();
    if (item > 0 && (form->SensRG->ItemIndex() == 1) != rising)
      form->SensRG->Button(rising ? 1 : 0)->click();
  }
  void TimeBase(int index) {
    while (form->DureeUpDown->Position() < index)
      form->DureeUpDown->UpButton()->click();
    while (form->DureeUpDown->Position() > index)
      form->DureeUpDown->DownButton()->click();
  }
  void SingleShot(bool on) {
    if (form->MonocoupCB->isChecked() != on)
      form->MonocoupCB->click();
  }

  bool Running() const { return !form->StopBtn->isHidden(); }
  bool Idle() const { return form->StopBtn->isHidden() && !form->EnregistreBtn->isHidden(); }
  // Waits for the end of the sweep under way; the time curve's first value is marked so that
  // a sweep finished later is told from the last one.
  bool NextSweep(int ms = 5000) {
    OscGraph->TimeCurve.Value[0] = 1e9;
    return WaitFor([] { return OscGraph->TimeCurve.Value[0] != 1e9; }, ms);
  }
  // The sample re-timed to t = 0.
  static int ZeroSample() {
    for (int i = 0; i < OscGraph->FilledCount; ++i)
      if (OscGraph->TimeCurve.Value[i] == 0)
        return i;
    return -1;
  }

  std::unique_ptr<TMainForm> form;
};

// A window whose settings file is a new one in a folder of the test's own.
class MainFormFileTest : public MainFormTest {
protected:
  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    ConfigFileName = dir.filePath("qvt2_oscillo.qvt2").toStdString();
  }
  void TearDown() override {
    MainFormTest::TearDown();
    ConfigFileName.clear();
  }
  // The whole of a file, the settings file by default.
  std::string ReadFile(const std::string& path = ConfigFileName) const {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
  }
  void Close() {
    form->close();
    form.reset();
  }

  QTemporaryDir dir;
};

} // namespace qvt
