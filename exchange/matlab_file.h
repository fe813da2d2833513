// SPDX-License-Identifier: GPL-3.0-or-later
// The Matlab script file of the last sweep: an empty line, then "t=[...]" and one
// "Vn=[...]" line per visible channel, values in the export form, lines ended by CR LF.
#pragma once

#include <QString>

namespace qvt {

class TgrapheOsc;

// `fileName` with the extension of its last path element replaced by ".M" (added when it
// has none): "mesure.txt" gives "mesure.M".
QString MatlabFileName(const QString& fileName);

// Writes the sweep of `graph` to MatlabFileName(fileName): the empty first line, the time
// curve's line, then one line per Visible channel curve in channel order, each its quantity
// name, "=[", the values 0 to FilledCount - 1 in FormatExportValue separated by ",", and
// "]". Names are written in the code page as they are. With FilledCount 0 the lines hold
// "name=[]": refusing an empty export is the caller's choice.
// The file appears only once wholly written: on any failure (a folder that cannot be
// written, a full disk) the result is false, `reason` holds the system's reason, and an
// earlier file of that name is left as it was.
bool WriteMatlabFile(const QString& fileName, const TgrapheOsc& graph, QString& reason);

} // namespace qvt
