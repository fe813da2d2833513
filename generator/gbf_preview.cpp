// SPDX-License-Identifier: GPL-3.0-or-later
// TGBF::DrawPreview: the generator panel's picture of the table, two periods across a box.
#include <QCoreApplication>
#include <QPoint>
#include <vector>

#include "ansi.h"
#include "canvas.h"
#include "gbf.h"
#include "qvt2.h"

void TGBF::DrawPreview(qvt::TCanvas& canvas, int width, int height) const {
  const TGBFPreview preview =
      ComputePreview(Samples, RequireDevice().GeneratorPoints, width, height);
  canvas.SetBrushStyle(qvt::TBrushStyle::Solid);
  canvas.SetBrushColour(qvt::SystemWindowColour());
  canvas.SetPenStyle(qvt::TPenStyle::Solid);
  canvas.SetPenWidth(1);
  canvas.SetPenColour(Qt::black);
  canvas.Rectangle(0, 0, width, height);

  canvas.SetPenColour(Qt::blue);
  std::vector<QPoint> trace;
  trace.reserve(preview.Trace.size());
  for (const TGBFPreview::Point& p : preview.Trace)
    trace.emplace_back(p.x, p.y);
  canvas.Polyline(trace);

  canvas.SetPenStyle(qvt::TPenStyle::Dot);
  canvas.SetPenColour(Qt::black);
  canvas.MoveTo(0, preview.MidLevelY);
  canvas.LineTo(width, preview.MidLevelY);

  canvas.SetFontColour(Qt::red);
  // The canvas draws code-page text.
  canvas.TextOut(preview.TextAt.x, preview.TextAt.y,
                 qvt::AnsiFromQString(QCoreApplication::translate("Generator", "Deux périodes")));
}
