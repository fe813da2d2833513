// SPDX-License-Identifier: GPL-3.0-or-later
// The program's module-wide objects, created by the main window when it is built and freed
// when it is destroyed. (Generator, the fourth, is declared with TGBF.)
#pragma once

class TQVT2;
namespace qvt {
class TgrapheOsc;
class TgraphePoint;
} // namespace qvt

extern TQVT2* Device;
extern qvt::TgrapheOsc* OscGraph;
extern qvt::TgraphePoint* PointGraph;

// Set by the program for a run on the virtual interface: a first run (no settings file yet)
// then opens on a set-up that shows the virtual interface's signals instead of the design
// values.
extern bool DemoOnFirstRun;
