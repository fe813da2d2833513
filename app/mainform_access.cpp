// SPDX-License-Identifier: GPL-3.0-or-later
// TMainForm: what screen readers are told about the graph, which they cannot see: a short
// French description of the set-up it shows.
#include <QStringList>

#include "ansi.h"
#include "globals.h"
#include "graphe_osc.h"
#include "graphe_point.h"
#include "labelededit.h"
#include "mainform.h"
#include "mainform_texts.h"
#include "paintbox.h"

namespace qvt {
namespace {

using texts::T;

QString ActiveChannels(const QStringList& names) {
  if (names.isEmpty())
    return T(texts::kDescribeNoChannel);
  return T(names.size() == 1 ? texts::kDescribeOneChannel : texts::kDescribeChannels)
      .arg(names.join(QStringLiteral(", ")));
}

QString DescribeOsc(TgrapheOsc& graph, const QString& timeBase) {
  QStringList names;
  for (const TCourbeOsc& c : graph.Curves)
    if (c.Visible)
      names << AnsiToQString(c.QuantityName);
  QString trigger = T(texts::kDescribeKeyboard);
  if (graph.TriggerChannel < graph.Curves.size()) {
    TCourbeOsc& c = graph.Curves[graph.TriggerChannel];
    trigger =
        T(graph.TriggerRising ? texts::kDescribeRising : texts::kDescribeFalling)
            .arg(AnsiToQString(c.QuantityName), AnsiToQString(c.FormatValue(graph.TriggerLevel)));
  }
  return T(texts::kDescribeOsc).arg(timeBase, ActiveChannels(names), trigger);
}

QString DescribePoint(const TgraphePoint& graph) {
  QStringList names;
  for (const TCourbePoint& c : graph.Curves)
    if (c.Visible && c.Channel != graph.Abscissa)
      names << AnsiToQString(c.QuantityName);
  const TCourbePoint& abscissa = graph.Curves.at(graph.Abscissa);
  return T(texts::kDescribePoint).arg(AnsiToQString(abscissa.QuantityName), ActiveChannels(names));
}

} // namespace

void TMainForm::DescribeGraph() {
  if (TempsPaintBox == nullptr || OscGraph == nullptr || PointGraph == nullptr)
    return;
  const TgraphePoint* points = ShownPointGraph();
  const QString text = points != nullptr ? DescribePoint(*points)
                                         : DescribeOsc(*OscGraph, DureeEdit->Text().trimmed());
  // Set only when it changes: the graph repaints with every sweep, and each change is
  // announced to the screen reader.
  if (text != TempsPaintBox->accessibleDescription())
    TempsPaintBox->setAccessibleDescription(text);
}

} // namespace qvt
