// SPDX-License-Identifier: GPL-3.0-or-later
// TMainForm: the mouse over the graph. A marker snaps to the nearest sample of a visible
// curve (in an opened file of points, to the nearest mark) and two labels give its time and
// value; with a channel trigger the level line can be grabbed and dragged to a new threshold.
// Live point-by-point mode ignores the mouse here.
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>

#include <cstdlib>

#include "ansi.h"
#include "globals.h"
#include "calc_tools.h"
#include "graphe_osc.h"
#include "graphe_point.h"
#include "mainform.h"
#include "mainform_texts.h"
#include "numtext.h"
#include "paintbox.h"
#include "qvt2.h"
#include "radiogroup.h"
#include "shape.h"

namespace qvt {
namespace {

// The level line is grabbed within this many pixels of its row, not beyond.
constexpr int kGrabDistance = 4;
constexpr int kLabelGap = 8;
constexpr int kLabelLine = 16;

} // namespace

void TMainForm::ShowReadout(int x, int y) {
  if (SpectrumShown()) {
    ShowSpectrumReadout(x, y);
    return;
  }
  // The nearest sample, or in a file of points the nearest mark with its two values.
  std::string along, value;
  TColour colour = 0;
  if (TgraphePoint* points = ShownPointGraph()) {
    int k = 0;
    const int c = points->NearestMarkCurve(x, y, k);
    if (c < 0) {
      HideReadout();
      return;
    }
    // Channels and computed quantities (4 + their rank), on either axis.
    auto curveOf = [&](int index) -> TCourbe& {
      if (index < 4)
        return points->Curves[index];
      return (*points->Computed)[static_cast<std::size_t>(index - 4)];
    };
    const bool computedAbscissa =
        points->Computed != nullptr && points->ComputedAbscissa >= 0 &&
        static_cast<std::size_t>(points->ComputedAbscissa) < points->Computed->size();
    TCourbe& abscissa = curveOf(computedAbscissa ? 4 + points->ComputedAbscissa : points->Abscissa);
    TCourbe& curve = curveOf(c);
    along = abscissa.Describe(abscissa.Value[k]);
    value = curve.Describe(curve.Value[k]);
    colour = curve.Colour;
  } else {
    // A channel, or a computed quantity (4 + its rank).
    const int c = OscGraph->NearestCurve(x, y);
    if (c < 0) {
      HideReadout();
      return;
    }
    TCourbe& curve = c < 4 ? static_cast<TCourbe&>(OscGraph->Curves[c])
                           : (*OscGraph->Computed)[static_cast<std::size_t>(c - 4)];
    along = OscGraph->TimeCurve.Describe(OscGraph->TimeCurve.FromPixel(x));
    value = curve.Describe(curve.FromPixel(y));
    colour = curve.Colour;
  }

  PlaceReadout(x, y, ToQColor(colour), AnsiToQString(along), AnsiToQString(value), false);
}

void TMainForm::PlaceReadout(int x, int y, const QColor& colour, const QString& along,
                             const QString& value, bool above) {
  QPalette p = LabelX->palette();
  p.setColor(QPalette::WindowText, colour);
  LabelX->setPalette(p);
  LabelY->setPalette(p);
  ShapeCurseur->SetBrushColour(colour);
  LabelX->setText(along);
  LabelY->setText(value);
  LabelX->adjustSize();
  LabelY->adjustSize();

  // Right of the point, or left of it near the right edge, so that they are never cut off;
  // below it, or above it near the bottom edge (always above for the spectrum's peaks).
  const int top = TempsPaintBox->y();
  const int width = std::max(LabelX->width(), LabelY->width());
  int left = x + kLabelGap;
  if (left + width > PanelCourbe->width())
    left = std::max(0, x - kLabelGap - width);
  int labelTop = y + top;
  int line = kLabelLine;
  if (above) {
    labelTop = std::max(top, y + top - 2 * LabelY->height() - kLabelGap);
    line = LabelX->height();
  } else if (labelTop + kLabelLine + LabelY->height() > PanelCourbe->height()) {
    labelTop = std::max(top, y + top - kLabelLine - LabelY->height() - kLabelGap);
  }
  LabelX->move(left, labelTop);
  LabelY->move(left, labelTop + line);
  ShapeCurseur->move(x - ShapeCurseur->width() / 2, y + top - ShapeCurseur->height() / 2);
  for (QWidget* w : {static_cast<QWidget*>(LabelX), static_cast<QWidget*>(LabelY),
                     static_cast<QWidget*>(ShapeCurseur)}) {
    w->show();
    w->raise();
  }
  TempsPaintBox->setCursor(Qt::CrossCursor);
}

void TMainForm::HideReadout() {
  LabelX->hide();
  LabelY->hide();
  ShapeCurseur->hide();
}

bool TMainForm::TriggerLineAt(int x, int y) const {
  // An opened file's trigger level is not the user's to drag. With "Tangente" the sweep's
  // start, which lies on the level, is where the tangent is usually wanted: the line is then
  // taken by its edge sign, left of the plot.
  const bool tangent = CalcTools != nullptr && CalcTools->TakesClicks();
  return SynchroRG->ItemIndex() > 0 && OscGraph->TriggerChannel < 4 && !SpectrumShown() &&
         ShownFile.isEmpty() && !PointMode && std::abs(OscGraph->TriggerPixel - y) < kGrabDistance &&
         (!tangent || x < OscGraph->PlotRect.Left);
}

void TMainForm::TempsPaintBoxMouseMove(const TMouseInfo& mouse) {
  if (PointMode && ShownFile.isEmpty())
    return;
  if (SpectrumMouseMove(mouse))
    return;
  if (!DraggingThreshold && GraphToolsMouseMove(mouse))
    return;
  if (DraggingThreshold) {
    if (!(mouse.Buttons & Qt::LeftButton) || OscGraph->TriggerChannel >= 4)
      return;
    HideReadout();
    // Not-xor: drawing the line again at its old row erases it.
    OscGraph->DrawTriggerMarker(DragPoint.y());
    DragPoint = QPoint(mouse.X, mouse.Y);
    OscGraph->DrawTriggerMarker(mouse.Y);
    ShowThreshold(OscGraph->Curves[OscGraph->TriggerChannel].FromPixel(mouse.Y));
    return;
  }
  if (TriggerLineAt(mouse.X, mouse.Y)) {
    PaintBoxHint = texts::T(texts::kThresholdLine);
    TempsPaintBox->setCursor(Qt::SplitVCursor);
    HideReadout();
  } else {
    PaintBoxHint.clear();
    ShowReadout(mouse.X, mouse.Y);
  }
  SetStatusText(PaintBoxHint);
}

void TMainForm::TempsPaintBoxMouseDown(const TMouseInfo& mouse) {
  if (SpectrumMouseDown(mouse))
    return;
  if (GraphToolsMouseDown(mouse))
    return;
  if (PointMode || SpectrumShown() || !ShownFile.isEmpty())
    return;
  DraggingThreshold = false;
  if (TriggerLineAt(mouse.X, mouse.Y)) {
    DraggingThreshold = true;
    DragPoint = QPoint(mouse.X, OscGraph->TriggerPixel);
    PaintBoxHint = texts::T(texts::kThresholdLine);
    SetStatusText(PaintBoxHint);
    TempsPaintBox->setCursor(Qt::SplitVCursor);
  }
}

void TMainForm::TempsPaintBoxMouseUp(const TMouseInfo& mouse) {
  SpectrumMouseUp();
  if (GraphToolsMouseUp())
    return;
  if (PointMode || !ShownFile.isEmpty())
    return;
  if (DraggingThreshold && OscGraph->TriggerChannel < 4) {
    ApplyThreshold(OscGraph->Curves[OscGraph->TriggerChannel].FromPixel(mouse.Y));
    ShowThreshold(OscGraph->TriggerLevel);
    if (ContinuousTrigger())
      Reconfigure();
    // The line goes to the level the converter could take, whether or not a sweep restarts.
    TempsPaintBox->Invalidate();
  }
  PaintBoxHint.clear();
  SetStatusText(PaintBoxHint);
  TempsPaintBox->setCursor(Qt::ArrowCursor);
  DraggingThreshold = false;
}

} // namespace qvt
