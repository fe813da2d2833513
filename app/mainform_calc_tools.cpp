// SPDX-License-Identifier: GPL-3.0-or-later
// TMainForm: the range markers ("bornes") that "Modélisation" and the tools share, the
// curves the graph shows to both (ShownCurves), and where the tools bar sits and what it is
// given. The bar is a widget of its own (calc_tools.h); the window places it under the graph,
// hands it each complete sweep or the recorded points with the panel (FeedModelPanel), draws
// its figure after the graph and gives the mouse over the graph to the markers first, then to
// the tangent's point.
#include <QApplication>
#include <QBoxLayout>
#include <QScrollArea>
#include <QScrollBar>
#include <QToolButton>

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>
#include <vector>

#include "calc_tools.h"
#include "computed_curves.h"
#include "courbe.h"
#include "globals.h"
#include "graphe_osc.h"
#include "graphe_point.h"
#include "mainform.h"
#include "mainform_texts.h"
#include "model_panel.h"
#include "paintbox.h"
#include "radiogroup.h"
#include "range_markers_draw.h"

namespace qvt {

using texts::T;

namespace {

// With "Tangente" a marker is taken by its handle only, this many pixels under the plot's top:
// the left marker stands where the tangent of a charge is wanted, at its start.
constexpr int kHandleGrab = 12;

// The bar under the graph, scrolled sideways when the graph is narrower than its controls, so
// that it never widens the window; as high as the bar at the width it is given, its line of
// results wrapped.
class TBarScroll : public QScrollArea {
public:
  using QScrollArea::QScrollArea;
  QSize sizeHint() const override { return {0, Wanted()}; }
  QSize minimumSizeHint() const override { return {0, Wanted()}; }

protected:
  // New results change the height the bar asks for.
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched == widget() && event->type() == QEvent::LayoutRequest)
      updateGeometry();
    return QScrollArea::eventFilter(watched, event);
  }
  void resizeEvent(QResizeEvent* event) override {
    QScrollArea::resizeEvent(event);
    if (Wanted() != height())
      updateGeometry();
  }

private:
  int Wanted() const {
    const QWidget* bar = widget();
    if (bar == nullptr)
      return 0;
    const int inner = width() - 2 * frameWidth();
    const int least = bar->minimumSizeHint().width();
    const int at = std::max(inner, least);
    int h = bar->hasHeightForWidth() ? bar->heightForWidth(at) : bar->sizeHint().height();
    if (inner < least)
      h += horizontalScrollBar()->sizeHint().height();
    return h + 2 * frameWidth();
  }
};

} // namespace

TMainForm::TShownCurves TMainForm::ShownCurves() const {
  // The channels, then the computed quantities the graph holds, as the graph draws them.
  TShownCurves shown;
  if (OscGraph == nullptr)
    return shown;
  auto computed = [&shown](const std::vector<TCourbe>* curves) {
    if (curves != nullptr)
      for (const TCourbe& c : *curves)
        shown.curves.push_back(&c);
  };
  if (TgraphePoint* points = ShownPointGraph()) {
    shown.graph = points;
    const int k = points->ComputedAbscissa;
    if (points->Computed != nullptr && k >= 0 && k < static_cast<int>(points->Computed->size())) {
      shown.x = &(*points->Computed)[static_cast<std::size_t>(k)];
      shown.abscissa = shown.x->Index;
    } else {
      shown.x = &points->Curves[points->Abscissa];
      shown.abscissa = points->Abscissa;
    }
    for (const TCourbePoint& c : points->Curves)
      shown.curves.push_back(&c);
    computed(points->Computed);
    shown.count = points->PointCount;
    return shown;
  }
  if (PointMode)
    return shown;
  shown.graph = OscGraph;
  shown.x = &OscGraph->TimeCurve;
  for (const TCourbeOsc& c : OscGraph->Curves)
    shown.curves.push_back(&c);
  computed(OscGraph->Computed);
  shown.count = OscGraph->FilledCount;
  return shown;
}

void TMainForm::BuildCalcToolsButton(QHBoxLayout* row) {
  OutilsBtn->setCheckable(true);
  connect(OutilsBtn, &QToolButton::clicked, this, [this] { OutilsBtnClick(); });
  row->addWidget(OutilsBtn);
}

void TMainForm::BuildCalcToolsBar(QVBoxLayout* column) {
  CalcTools = new TCalcToolsBar(Markers);
  CalcTools->setAutoFillBackground(true);
  CalcTools->setPalette(QApplication::palette());
  CalcToolsArea = new TBarScroll(PanelCourbe);
  CalcToolsArea->setObjectName("CalcToolsArea");
  CalcToolsArea->setWidget(CalcTools);
  CalcToolsArea->setWidgetResizable(true);
  CalcToolsArea->setFrameShape(QFrame::NoFrame);
  CalcToolsArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  CalcToolsArea->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  CalcToolsArea->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
  CalcToolsArea->hide();
  CalcTools->hide();
  column->addWidget(CalcToolsArea);
  connect(CalcTools, &TCalcToolsBar::Changed, this, [this] { TempsPaintBox->Invalidate(); });
}

void TMainForm::OutilsBtnClick() {
  CalcToolsArea->setVisible(OutilsBtn->isChecked());
  CalcTools->setVisible(OutilsBtn->isChecked());
  if (OutilsBtn->isChecked())
    FeedCalcTools();
  TempsPaintBox->Invalidate();
}

void TMainForm::FeedCalcTools() {
  if (CalcTools == nullptr)
    return;
  const TShownCurves shown = ShownCurves();
  if (shown.x != nullptr)
    CalcTools->Feed(*shown.x, shown.curves, shown.count, shown.abscissa);
}

const TCourbe* TMainForm::MarkersAbscissa() const {
  const bool panel = ModelArea != nullptr && !ModelArea->isHidden();
  const bool bar = CalcTools != nullptr && CalcTools->ReadsRange();
  if (!(panel || bar) || SpectrumShown())
    return nullptr;
  return ShownCurves().x;
}

void TMainForm::PaintCalcTools(TCanvas& canvas, const TRect& plot, const TCourbe& x) {
  if (CalcTools == nullptr || CalcTools->isHidden())
    return;
  CalcTools->Paint(canvas, plot, x, ShownCurves().curves);
}

namespace {

// Where a press on the graph may take a marker: anywhere along its line, or with "Tangente"
// its handle only.
bool MarkerReach(const TCalcToolsBar* bar, const TGrapheBase& graph, int y) {
  return bar == nullptr || !bar->TakesClicks() || y <= graph.PlotRect.Top + kHandleGrab;
}

} // namespace

bool TMainForm::GraphToolsMouseDown(const TMouseInfo& mouse) {
  if (mouse.Button != Qt::LeftButton || SpectrumShown())
    return false;
  const TShownCurves shown = ShownCurves();
  if (shown.x == nullptr)
    return false;
  if (MarkersAbscissa() != nullptr && MarkerReach(CalcTools, *shown.graph, mouse.Y)) {
    const auto [lo, hi] = MarkerSpan(*shown.x, shown.count);
    if (MarkerDrag.Press(*shown.x, lo, hi, mouse.X))
      return true;
  }
  if (TriggerLineAt(mouse.X, mouse.Y) || CalcTools == nullptr || !CalcTools->Press(shown.x->FromPixel(mouse.X)))
    return false;
  HideReadout();
  return true;
}

bool TMainForm::GraphToolsMouseMove(const TMouseInfo& mouse) {
  if (SpectrumShown())
    return false;
  const TShownCurves shown = ShownCurves();
  if (shown.x == nullptr)
    return false;
  const TCourbe& x = *shown.x;
  const auto [lo, hi] = MarkerSpan(x, shown.count);
  if (MarkerDrag.Move(x, lo, hi, mouse.X)) {
    HideReadout();
    // The tools follow the marker as it goes; the fit waits for its release.
    CalcTools->MarkersMoved();
    TempsPaintBox->Invalidate();
    return true;
  }
  if ((mouse.Buttons & Qt::LeftButton) && CalcTools != nullptr &&
      CalcTools->Drag(x.FromPixel(mouse.X))) {
    HideReadout();
    return true;
  }
  if (!(mouse.Buttons & Qt::LeftButton) && MarkersAbscissa() != nullptr &&
      MarkerReach(CalcTools, *shown.graph, mouse.Y) &&
      GrabRangeMarker(x, Markers, lo, hi, mouse.X) >= 0) {
    HideReadout();
    const bool panel = ModelArea != nullptr && !ModelArea->isHidden();
    PaintBoxHint = T(panel ? texts::kModelMarker : texts::kToolsMarker);
    SetStatusText(PaintBoxHint);
    TempsPaintBox->setCursor(Qt::SizeHorCursor);
    return true;
  }
  return false;
}

bool TMainForm::GraphToolsMouseUp() {
  if (CalcTools != nullptr && CalcTools->Release())
    return true;
  const TShownCurves shown = ShownCurves();
  // Without the graph's abscissa any more, the markers stay where they were let go.
  const double inf = std::numeric_limits<double>::infinity();
  const auto [lo, hi] =
      shown.x != nullptr ? MarkerSpan(*shown.x, shown.count) : std::pair<double, double>(inf, -inf);
  if (!MarkerDrag.Release(lo, hi))
    return false;
  // Integrals start at the left marker.
  if (ShownComputed().Count() > 0) {
    ComputeQuantities();
    FeedCalcTools();
  }
  if (ModelPanel != nullptr)
    ModelPanel->MarkersMoved();
  CalcTools->MarkersMoved();
  TempsPaintBox->setCursor(Qt::ArrowCursor);
  TempsPaintBox->Invalidate();
  return true;
}

} // namespace qvt
