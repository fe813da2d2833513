// SPDX-License-Identifier: GPL-3.0-or-later
// The text block of a transfer to Kalkio: tab-separated lines of names, units, meanings and
// values, then the constant and the name blocks Kalkio reads its axes from. Model code: the
// lines are 8-bit code-page strings, built without the clipboard or the bus.
#pragma once

#include <string>
#include <vector>

namespace qvt {

class TgrapheOsc;
class TgraphePoint;

// What the transfer takes from the constants dialog and the program.
struct TTransferInfo {
  std::string Title;    // the application's title, the block's first line
  bool NewPage = false; // destination "Nouvelle page" (else "Nouveau fichier")
  std::string Comment;
  std::string Symbol; // the constant's symbol, unit and value (as typed)
  std::string Unit;
  std::string Value;
};

// The oscilloscope block: title; an empty line for a new page, else "Acquisition par Vexor
// QVT2"; the comment; the names, units and meanings lines (time, then the visible channels
// 0 to 3); one row per step-th sample of FilledCount (step = FilledCount div MaxPoints, at
// least 1), values in FormatExportValue; the constant block; "&n NOMX" with n lines of the
// time name and "&n NOMY" with the names of the n visible channels.
std::vector<std::string> OscBlock(const TgrapheOsc& graph, const TTransferInfo& info);

// The point-mode block: as the oscilloscope block with a point number column ("num", an
// empty unit, "numéro d'ordre d'acquisition") before the visible curves, every point 0 to
// PointCount - 1, and name blocks of n - 1 lines: the Abscissa channel's name under " NOMX",
// the other visible curves' names under " NOMY".
std::vector<std::string> PointBlock(const TgraphePoint& graph, const TTransferInfo& info);

// Appends an empty line, the symbol, the unit and the value when both the symbol and the
// value are non-empty; nothing otherwise.
void AddConstantLines(std::vector<std::string>& lines, const TTransferInfo& info);

} // namespace qvt
