// SPDX-License-Identifier: GPL-3.0-or-later
// The window's rules that need no display: the Ctrl+letter tables, the elapsed time of slow
// sweeps, the fast display's pace, the command line, where the settings file lies, the
// generator's frequency buttons and the change that records an automatic point.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "command_line.h"
#include "config_file.h"
#include "courbe.h"
#include "ctrlkeys.h"
#include "oscillo_rules.h"
#include "panel_rules.h"

namespace qvt {
namespace {

TEST(CtrlLetter, TablesAAndBAndTheClipboardLetters) {
  struct Case {
    char letter;
    bool shift, selection;
    TCtrlLetterAction action;
    int code;
  };
  using A = TCtrlLetterAction;
  for (const Case& c : {
           Case{'M', false, false, A::Insert, 181}, // µ
           Case{'M', true, false, A::Insert, 77},   // M
           Case{'W', true, false, A::Insert, 157},  // Ω
           Case{'D', true, false, A::Insert, 150},
           Case{'O', false, false, A::Insert, 248},
           Case{'Z', false, false, A::Insert, 149},
           Case{'C', false, false, A::Insert, 130}, // no selection: a symbol
           Case{'C', false, true, A::Copy, 0},
           Case{'X', false, true, A::Cut, 0},
           Case{'X', true, true, A::Insert, 158}, // Shift wins over the selection
           Case{'V', false, false, A::Paste, 0},
           Case{'V', true, false, A::Insert, 86},
       }) {
    const TCtrlLetter r = CtrlLetter(c.letter - 'A' + 1, c.shift, c.selection);
    EXPECT_EQ(r.Action, c.action) << c.letter << c.shift << c.selection;
    EXPECT_EQ(r.Code, c.code) << c.letter << c.shift << c.selection;
  }
}

TEST(SlowSweeps, ElapsedTimeCountsFromTheTrigger) {
  EXPECT_EQ(ElapsedText(0), "00:00:00");
  EXPECT_EQ(ElapsedText(3599.9), "00:59:59");
  EXPECT_EQ(ElapsedText(3 * 3600 + 62), "03:01:02");
  EXPECT_EQ(ElapsedText(-4), "00:00:00");
  EXPECT_DOUBLE_EQ(SweepElapsed(1500, 0.5, true), 2000) << "500 pre-trigger samples";
  EXPECT_DOUBLE_EQ(SweepElapsed(1500, 0.5, false), 3000);
  EXPECT_EQ(SweepElapsed(300, 0.5, true), 0) << "still before the trigger";
  EXPECT_TRUE(NeedsWideRange(-5, 5));
  EXPECT_TRUE(NeedsWideRange(0, -5));
  EXPECT_FALSE(NeedsWideRange(-2, 2));
}

TEST(FastDisplay, PacedOnTheScreensFramesOnlyForContinuousFastSweeps) {
  EXPECT_TRUE(PacedOnScreen(true, kLastFastTimeBase, false));
  EXPECT_FALSE(PacedOnScreen(false, 6, false)) << "the written 110 ms cycle";
  EXPECT_FALSE(PacedOnScreen(true, 6, true)) << "a single shot";
  EXPECT_FALSE(PacedOnScreen(true, kLastFastTimeBase + 1, false)) << "a slow sweep";
  // Until the frame after the one the last sweep was shown in (frames of 16.7 ms at 60 Hz),
  // then the data as it comes.
  EXPECT_EQ(FramePollDelayMs(0, 0, 60), 17);
  EXPECT_EQ(FramePollDelayMs(10, 0, 60), 7);
  EXPECT_EQ(FramePollDelayMs(20, 15, 60), 1) << "shown late in its frame: the next frame is near";
  EXPECT_EQ(FramePollDelayMs(20, 17, 60), 14);
  EXPECT_EQ(FramePollDelayMs(40, 17, 60), 1);
  EXPECT_EQ(FramePollDelayMs(0, 0, 144), 7);
  EXPECT_EQ(FramePollDelayMs(0, 0, 0), 17) << "a virtual screen without a rate";
  EXPECT_EQ(FramePollDelayMs(5, -1, 60), 1) << "nothing shown yet";
}

TEST(CommandLine, OurOptionsQtsOptionsAndTheRest) {
  using L = TCommandLine;
  EXPECT_EQ(ReadCommandLine({}, false).Action, L::Run);
  EXPECT_TRUE(ReadCommandLine({"--simulate"}, true).Simulate);
  EXPECT_EQ(ReadCommandLine({"--simulate", "--help"}, false).Action, L::Help);
  EXPECT_EQ(ReadCommandLine({"--version"}, false).Action, L::Version);
  EXPECT_EQ(ReadCommandLine({"-platform", "offscreen"}, false).Action, L::Run) << "Qt's";
  const TCommandLine bad = ReadCommandLine({"--simulat"}, false);
  EXPECT_EQ(bad.Action, L::Error);
  EXPECT_NE(bad.Message.find("--simulat"), std::string::npos);
  EXPECT_EQ(ReadCommandLine({"fichier"}, true).File, "fichier") << "the file to open, after Qt";
  EXPECT_EQ(ReadCommandLine({"fichier"}, false).File, "") << "before Qt it may be Qt's";
  EXPECT_EQ(ReadCommandLine({"a.qvtm", "b.qvtm"}, true).Action, L::Error) << "one file only";
  EXPECT_EQ(ReadCommandLine({"-"}, true).Action, L::Error);
  const TCommandLine rec = ReadCommandLine({"--record-points", "log.qvtm", "vu.qvtm"}, true);
  EXPECT_EQ(rec.RecordPoints, "log.qvtm");
  EXPECT_EQ(rec.File, "vu.qvtm");
  EXPECT_EQ(ReadCommandLine({"--record-points"}, false).Action, L::Error) << "no file named";
}

TEST(SettingsFile, BesideTheProgramElseInTheUserConfiguration) {
  namespace fs = std::filesystem;
  unsetenv("QVT2_CONFIG");
  const fs::path dir = fs::temp_directory_path() / ("qvt2_cfg_" + std::to_string(::getpid()));
  fs::create_directories(dir);
  EXPECT_EQ(SettingsFilePath((dir / "qvt2_oscillo").string()),
            (dir / "qvt2_oscillo.qvt2").string());
  EXPECT_EQ(SettingsFilePath((dir / "qvt2.exe").string()), (dir / "qvt2.qvt2").string());
  if (::geteuid() != 0) { // root writes everywhere
    fs::permissions(dir, fs::perms::owner_read | fs::perms::owner_exec);
    setenv("XDG_CONFIG_HOME", "/tmp/xdg", 1);
    EXPECT_EQ(SettingsFilePath((dir / "qvt2_oscillo").string()), "/tmp/xdg/qvt2/qvt2_oscillo.qvt2");
    fs::permissions(dir, fs::perms::owner_all);
  }
  setenv("XDG_CONFIG_HOME", "/tmp/xdg", 1);
  EXPECT_EQ(SettingsFilePath("/usr/bin/qvt2_oscillo"), "/tmp/xdg/qvt2/qvt2_oscillo.qvt2")
      << "not beside an installed program, even for root";
  setenv("QVT2_CONFIG", "/elsewhere/x.qvt2", 1);
  EXPECT_EQ(SettingsFilePath("/usr/bin/qvt2_oscillo"), "/elsewhere/x.qvt2");
  unsetenv("QVT2_CONFIG");
  fs::remove_all(dir);
}

TEST(GeneratorPanel, FrequencyButtonsStepWithinOneTo9999) {
  EXPECT_EQ(SteppedFrequency(1000, 3, true), 1000) << "the step is not below the frequency";
  EXPECT_EQ(SteppedFrequency(1000, 2, true), 900);
  EXPECT_EQ(SteppedFrequency(150, 2, true), 140) << "under twice the step: a tenth of it";
  EXPECT_EQ(SteppedFrequency(9990, 2, false), 9999);
  EXPECT_EQ(SteppedFrequency(2, 0, true), 1);
  EXPECT_EQ(SteppedFrequency(1, 0, true), 1);
}

TEST(PointMode, AutomaticPointWhenTheChangesAddUpToMoreThanTheThreshold) {
  std::array<TCourbePoint, 4> curves{TCourbePoint("V0", 0, "V"), TCourbePoint("V1", 1, "V"),
                                     TCourbePoint("V2", 2, "V"), TCourbePoint("V3", 3, "V")};
  for (int i : {0, 1}) {
    curves[i].Visible = true;
    curves[i].Mini = -5;
    curves[i].Maxi = 5;
    curves[i].Value[0] = 0;
  }
  curves[2].Current = 1e6; // an inactive channel counts for nothing
  EXPECT_TRUE(PointMoved(curves, 0, 1)) << "the first point needs no change";
  curves[0].Current = 0.06; // 0.6 % of 10 V
  curves[1].Current = -0.06;
  EXPECT_TRUE(PointMoved(curves, 1, 1)) << "0.6 % + 0.6 % > 1 %";
  curves[1].Current = 0;
  curves[0].Current = 0.1; // exactly 1 %
  EXPECT_FALSE(PointMoved(curves, 1, 1));
}

} // namespace
} // namespace qvt
