// SPDX-License-Identifier: GPL-3.0-or-later
// An hour of the virtual interface's time through the window: continuous sweeps at "1 ms" and
// at "20 ms" with the generator playing, then point mode recording by itself. Resident memory
// stays flat after the first simulated minute, and the open files and threads stay as they
// were; under AddressSanitizer (whose quarantine keeps freed memory resident) only the leak
// check at exit stands. The figures are printed for the record.
#include <gtest/gtest.h>

#include <QPushButton>
#include <QToolButton>

#include <dirent.h>

#include <cstdio>
#include <fstream>
#include <string>

#include "graphe_point.h"
#include "mainform_fixture.h"
#include "options_dlg.h"
#include "radiogroup.h"

namespace qvt {
namespace {

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kResidentMemoryMeans = false;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kResidentMemoryMeans = false;
#else
constexpr bool kResidentMemoryMeans = true;
#endif
#else
constexpr bool kResidentMemoryMeans = true;
#endif

// The virtual interface runs 60 times faster than the wall clock: a simulated minute is a
// second, and each twenty-minute stage twenty seconds.
constexpr int kSpeed = 60;
constexpr int kStageSeconds = 20;

struct TFootprint {
  double ResidentMb = 0;
  int Threads = 0;
  int Files = 0;
};

TFootprint Footprint() {
  TFootprint f;
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);) {
    if (line.rfind("VmRSS:", 0) == 0)
      f.ResidentMb = std::stod(line.substr(6)) / 1024.0;
    else if (line.rfind("Threads:", 0) == 0)
      f.Threads = std::stoi(line.substr(8));
  }
  if (DIR* d = opendir("/proc/self/fd")) {
    while (readdir(d) != nullptr)
      ++f.Files;
    closedir(d);
  }
  return f;
}

class Soak : public MainFormTest {
protected:
  // Through the options dialog, as a user changes the acquisition mode.
  void SwitchMode(bool pointByPoint) {
    WhenShown<TOptionsDlg>([pointByPoint](TOptionsDlg* d) {
      d->ModeRG->SetItemIndex(pointByPoint ? 1 : 0);
      d->BtnOK->click();
    });
    form->OptionsBtnClick();
    ASSERT_EQ(form->PointMode, pointByPoint);
  }

  // Runs the window for `seconds` of wall time; the footprint after the first second.
  TFootprint Stage(const char* name, int seconds) {
    QTest::qWait(1000);
    const TFootprint first = Footprint();
    QTest::qWait((seconds - 1) * 1000);
    const TFootprint last = Footprint();
    std::printf("%-28s resident %.1f -> %.1f MB, threads %d -> %d, open files %d -> %d\n", name,
                first.ResidentMb, last.ResidentMb, first.Threads, last.Threads, first.Files,
                last.Files);
    if (kResidentMemoryMeans) {
      EXPECT_LT(last.ResidentMb - first.ResidentMb, 2.0) << name;
    }
    EXPECT_EQ(last.Threads, first.Threads) << name;
    EXPECT_EQ(last.Files, first.Files) << name;
    return first;
  }
};

TEST_F(Soak, AnHourOfSweepsAndPointsKeepsMemoryFilesAndThreadsFlat) {
  Start("speed=" + std::to_string(kSpeed));
  form->GBFbtn->click();
  form->MajBtnClick();
  ASSERT_TRUE(WaitFor([] { return Generator->Running; }));
  Activate(1);
  Activate(2);
  Trigger(3);
  TimeBase(k1ms);
  const TFootprint start = Stage("sweeps at 1 ms", kStageSeconds);
  TimeBase(k20ms);
  Trigger(2);
  Stage("sweeps at 20 ms", kStageSeconds);
  const int sweepThreads = Footprint().Threads;
  form->PointAutoCB->setChecked(true);
  SwitchMode(true);
  Stage("point mode, recording", kStageSeconds);
  EXPECT_GT(PointGraph->PointCount, 10) << "points were recorded by themselves";

  SwitchMode(false);
  QTest::qWait(500);
  const TFootprint end = Footprint();
  std::printf("after an hour of device time: resident %.1f MB (%.1f after the first simulated "
              "minute), threads %d, open files %d\n",
              end.ResidentMb, start.ResidentMb, end.Threads, end.Files);
  EXPECT_EQ(end.Threads, sweepThreads) << "the point-measure thread has ended";
  EXPECT_EQ(end.Files, start.Files);
  // Point mode's first use sets up what it draws with; that is kept, not lost.
  if (kResidentMemoryMeans) {
    EXPECT_LT(end.ResidentMb - start.ResidentMb, 4.0);
  }
}

} // namespace
} // namespace qvt
