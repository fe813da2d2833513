// SPDX-License-Identifier: GPL-3.0-or-later
// TEtalonSeuilDlg: the correction rule, and whole calibrations on the virtual interface with
// the generator looped back to Y0, without it, and cancelled.
#include "etalon_seuil_dlg.h"

#include "../device/sim_device_fixture.h"
#include "../platform/qt_test_app.h"

#include <QProgressBar>
#include <QPushButton>

#include <functional>
#include <limits>
#include <string>

#include "gbf.h"
#include "threshold_correction.h"

namespace qvt {
namespace {

TEST(ThresholdCorrection, MinusTheMeanBelowHalfAVolt) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const struct {
    std::array<double, kCalibrationLevels> levels;
    double correction;
  } cases[] = {
      {{0.1, 0.1, 0.1, 0.1, 0.1, 0.1}, -0.1},
      {{0.5, 0.7, 0.6, 0.4, 0.8, 0.6}, 0.0}, // a mean of 0.6 V is no comparator offset
      {{-0.3, 0.1, -0.2, 0.0, -0.1, -0.5}, 1.0 / 6},
      {{0.5, 0.5, 0.5, 0.5, 0.5, 0.5}, 0.0}, // 0.5 V itself is refused
      {{-0.49, -0.49, -0.49, -0.49, -0.49, -0.49}, 0.49},
      {{0.1, 0.1, nan, 0.1, 0.1, 0.1}, 0.0},
  };
  for (const auto& c : cases)
    EXPECT_NEAR(ThresholdCorrection(c.levels), c.correction, 1e-12) << c.levels[0];
}

// A calibration on the virtual interface with a manual clock: the dialog's wait moves the
// device's time instead of sleeping.
class Calibration : public SimDevice {
protected:
  void SetUp() override { TestApp(); }

  // Runs BitBtn1 and returns the dialog's result. `onWait` runs at each acquisition's wait,
  // after the clock has moved, with the number of the acquisition (0 to 6).
  int Run(const std::function<void(TEtalonSeuilDlg&, int)>& onWait = {}) {
    TGBF generator(device.get());
    TEtalonSeuilDlg dlg(*device, generator);
    int acquisition = 0;
    dlg.Wait = [&](std::chrono::milliseconds t) {
      clock.AdvanceMs(t.count());
      // The sweeps would start on a 1 ms grid, which is also the grid of the triangle's
      // periods and of the 20 µs sample instants, so each would meet the triangle at the same
      // point of a sample period. A real run starts at times that owe nothing to either;
      // moving each start a sixth of a sample period on from the one before spreads the six
      // counted ones over a whole sample period.
      clock.Advance(20'000 / kCalibrationLevels);
      if (onWait)
        onWait(dlg, acquisition);
      ++acquisition;
    };
    dlg.BitBtn1->click();
    acquisitions = acquisition;
    progress = dlg.ProgressBar1->value();
    return dlg.result();
  }

  int acquisitions = 0;
  int progress = 0;
};

TEST_F(Calibration, LoopbackMeasuresTheComparatorOffset) {
  Open(); // the default scene: Y0 wired to G0, comparator offset +0.08 V
  device->ThresholdOffset = 1.0;
  EXPECT_EQ(Run(), QDialog::Accepted);
  EXPECT_EQ(acquisitions, 7);
  EXPECT_EQ(progress, 6);
  // One sweep reads the level at the sample nearest the trigger, up to half a sample
  // (0.4 V on the triangle's 40 V/ms) from the offset; the mean of six spread over a sample
  // period is within a twelfth of a sample of it.
  EXPECT_NEAR(device->ThresholdOffset, -0.08, 0.07);
}

TEST_F(Calibration, WithoutTheLoopbackNothingWrongIsStored) {
  // A Y0 that never reaches the threshold, one that jumps through it by 10 V, and an
  // interface that stops answering.
  for (const char* scene : {"y0=dc:0", "y0=square:1000:5", "unplugged"}) {
    SCOPED_TRACE(scene);
    const bool unplug = std::string(scene) == "unplugged";
    Open(unplug ? "" : scene);
    if (unplug)
      qvt::testing::UnplugVirtualInterface(0);
    device->ThresholdOffset = 0.3;
    Run();
    EXPECT_EQ(device->ThresholdOffset, 0.0);
    TearDown();
  }
}

TEST_F(Calibration, CancelStopsAfterTheAcquisitionInProgress) {
  Open();
  device->ThresholdOffset = 0.3;
  const int result = Run([](TEtalonSeuilDlg& dlg, int k) {
    if (k == 2)
      dlg.BitBtn3->click();
  });
  EXPECT_EQ(result, QDialog::Rejected);
  EXPECT_EQ(acquisitions, 3);
  EXPECT_EQ(device->ThresholdOffset, 0.0);
  EXPECT_FALSE(device->AcquisitionRunning());
}

} // namespace
} // namespace qvt
