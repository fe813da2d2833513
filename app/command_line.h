// SPDX-License-Identifier: GPL-3.0-or-later
// The program's command line: --simulate, --help, --version, --record-points FILE (point by
// point, automatic, recorded continuously into FILE) and a measurement file to open.
// Qt's own options (-platform, -style, ...) are Qt's; anything else is refused.
#pragma once

#include <string>
#include <vector>

namespace qvt {

struct TCommandLine {
  enum TAction { Run, Help, Version, Error };
  TAction Action = Run;
  bool Simulate = false;
  std::string File;         // a measurement file to show at start, or empty
  std::string RecordPoints; // --record-points: the recording's file, or empty
  std::string Message; // for Error: what was wrong, one line
};

// Reads the arguments after the program name. With `afterQt` false (before the window system
// is started) only long options are judged and single-dash ones are left to Qt; with it true
// (Qt has taken its own out) every argument left must be one of ours: the options, and one
// word not starting with '-', the file to open.
TCommandLine ReadCommandLine(const std::vector<std::string>& arguments, bool afterQt);

// The text of --help, ending with a line break.
std::string UsageText(const std::string& program);

} // namespace qvt
