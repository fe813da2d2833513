// SPDX-License-Identifier: GPL-3.0-or-later
// The program's command line: --simulate, --help, --version, --record-points FILE (point by
// point, automatic, recorded continuously into FILE) and a measurement file to open.
// Qt's own options (-platform, -style, ...) are Qt's; anything else is refused.
// The texts are French or English: they are needed before Qt's translator is installed, so
// both are kept here.
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
// word not starting with '-', the file to open. `english`: the language of Message.
TCommandLine ReadCommandLine(const std::vector<std::string>& arguments, bool afterQt,
                             bool english = false);

// The text of --help, ending with a line break.
std::string UsageText(const std::string& program, bool english = false);

// What is printed for a refused command line: the program, the message, and where to look.
std::string RefusalText(const std::string& program, const std::string& message,
                        bool english = false);

} // namespace qvt
