// SPDX-License-Identifier: GPL-3.0-or-later
// The Matlab script file of the last sweep.
#include "matlab_file.h"


#include <string>

#include "atomic_write.h"
#include "graphe_osc.h"
#include "numtext.h"

namespace qvt {
namespace {

void AddCurveLine(std::string& out, const TCourbe& curve, int count) {
  out += curve.QuantityName;
  out += "=[";
  for (int i = 0; i < count; ++i) {
    if (i > 0)
      out += ',';
    out += FormatExportValue(curve.Value[i]);
  }
  out += "]\r\n";
}

} // namespace

QString MatlabFileName(const QString& fileName) {
  const qsizetype slash = fileName.lastIndexOf('/');
  const qsizetype dot = fileName.lastIndexOf('.');
  const QString base = dot > slash ? fileName.left(dot) : fileName;
  return base + QStringLiteral(".M");
}

bool WriteMatlabFile(const QString& fileName, const TgrapheOsc& graph, QString& reason) {
  const int count = graph.FilledCount;
  std::string text = "\r\n";
  AddCurveLine(text, graph.TimeCurve, count);
  for (const auto& curve : graph.Curves)
    if (curve.Visible)
      AddCurveLine(text, curve, count);

  // An error half-way (a full disk) never leaves half a file, nor destroys an earlier file
  // of that name.
  return WriteFileAtomically(MatlabFileName(fileName), text, reason);
}

} // namespace qvt
