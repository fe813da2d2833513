// SPDX-License-Identifier: GPL-3.0-or-later
// TMainForm: where the "Modélisation" panel sits and what it is given. The panel is a widget
// of its own (model_panel.h); the window places it beside the graph, hands it each complete
// sweep or the recorded points and draws its curve after the graph. Its range is the window's
// markers, shared with the tools bar (mainform_calc_tools.cpp).
#include <QBoxLayout>
#include <QEvent>
#include <QScrollArea>
#include <QToolButton>

#include <algorithm>

#include "canvas.h"
#include "globals.h"
#include "graphe_osc.h"
#include "graphe_point.h"
#include "mainform.h"
#include "mainform_texts.h"
#include "measure_file.h"
#include "model_panel.h"
#include "paintbox.h"
#include "range_markers_draw.h"
#include "residual_strip.h"

namespace qvt {

namespace {

// The panel's width beside the graph, at most half the graph area's.
constexpr int kModelPanelWidth = 320;

// The graph area's resizes size the panel anew.
class TModelResizeWatch : public QObject {
public:
  TModelResizeWatch(QObject* parent, TMainForm* form) : QObject(parent), form_(form) {}

protected:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Resize)
      form_->PlaceModelPanel();
    return false;
  }

private:
  TMainForm* form_;
};

} // namespace

void TMainForm::PlaceModelPanel() {
  if (ModelArea != nullptr)
    ModelArea->setFixedWidth(std::clamp(PanelCourbe->width() / 2, 1, kModelPanelWidth));
}

void TMainForm::BuildModelButton(QHBoxLayout* row) {
  ModeleBtn->setCheckable(true);
  connect(ModeleBtn, &QToolButton::clicked, this, [this] { ModeleBtnClick(); });
  row->addWidget(ModeleBtn);
}

void TMainForm::BuildModelPanel(QVBoxLayout* column) {
  ModelPanel = new TModelPanel(Markers);
  // In a scroll area: at the smallest window sizes the panel scrolls rather than being cut.
  ModelArea = new QScrollArea(PanelCourbe);
  ModelArea->setObjectName("ModelArea");
  ModelArea->setWidget(ModelPanel);
  ModelArea->setWidgetResizable(true);
  ModelArea->setFrameShape(QFrame::NoFrame);
  ModelArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  ModelArea->hide();
  PanelCourbe->installEventFilter(new TModelResizeWatch(PanelCourbe, this));
  PlaceModelPanel();
  // The graph box and the panel side by side, the panel on the right: the graph keeps its
  // place in the graph area's coordinates.
  const int at = column->indexOf(GraphBox);
  column->removeItem(GraphBox);
  auto* row = new QHBoxLayout;
  row->setSpacing(0);
  // The residuals' strip under the graph and its "Mesures" table, over the graph's width.
  auto* graphColumn = new QVBoxLayout;
  graphColumn->setSpacing(0);
  graphColumn->addLayout(GraphBox, 1);
  ModelPanel->ResidualStrip->setParent(PanelCourbe);
  ModelPanel->ResidualStrip->hide();
  graphColumn->addWidget(ModelPanel->ResidualStrip);
  BuildCalcToolsBar(graphColumn);
  row->addLayout(graphColumn, 1);
  row->addWidget(ModelArea);
  column->insertLayout(at, row, 1);
  connect(ModelPanel, &TModelPanel::Changed, this, [this] { TempsPaintBox->Invalidate(); });
}

void TMainForm::ModeleBtnClick() {
  ModelArea->setVisible(ModeleBtn->isChecked());
  if (ModeleBtn->isChecked())
    FeedModelPanel();
  TempsPaintBox->Invalidate();
}

void TMainForm::FeedModelPanel() {
  FeedCalcTools();
  if (ModelPanel == nullptr || OscGraph == nullptr)
    return;
  if (TgraphePoint* points = ShownPointGraph()) {
    std::array<const TCourbe*, 4> y{};
    for (int i = 0; i < 4; ++i)
      y[i] = &points->Curves[i];
    ModelPanel->Feed(points->Curves[points->Abscissa], y, points->PointCount, points->Abscissa);
    return;
  }
  if (PointMode)
    return;
  std::array<const TCourbe*, 4> y{};
  for (int i = 0; i < 4; ++i)
    y[i] = &OscGraph->Curves[i];
  ModelPanel->Feed(OscGraph->TimeCurve, y, OscGraph->FilledCount);
}

const TCourbe* TMainForm::ModelAbscissa() const {
  if (ModelPanel == nullptr || ModelArea->isHidden() || SpectrumShown() || OscGraph == nullptr)
    return nullptr;
  if (TgraphePoint* points = ShownPointGraph())
    return &points->Curves[points->Abscissa];
  return PointMode ? nullptr : &OscGraph->TimeCurve;
}

void TMainForm::PaintModel(TCanvas& canvas) {
  if (SpectrumShown() || OscGraph == nullptr)
    return;
  std::array<const TCourbe*, 4> y{};
  TGrapheBase* graph = OscGraph;
  const TCourbe* x = &OscGraph->TimeCurve;
  int count = OscGraph->FilledCount;
  if (TgraphePoint* points = ShownPointGraph()) {
    graph = points;
    x = &points->Curves[points->Abscissa];
    count = points->PointCount;
    for (int i = 0; i < 4; ++i)
      y[i] = &points->Curves[i];
  } else if (PointMode) {
    return;
  } else {
    for (int i = 0; i < 4; ++i)
      y[i] = &OscGraph->Curves[i];
  }
  // The markers once, for the panel and the tools alike.
  if (MarkersAbscissa() != nullptr && count >= 2) {
    const auto [lo, hi] = MarkerSpan(*x, count);
    DrawRangeMarkers(canvas, graph->PlotRect, *x, Markers, lo, hi);
  }
  const bool model = ModelAbscissa() != nullptr;
  if (model) {
    ModelPanel->Paint(canvas, graph->PlotRect, *x, y);
    ModelPanel->SetResidualAxis(*x, graph->PlotRect);
  }
  PaintCalcTools(canvas, graph->PlotRect, *x);
  // On the screen as in the images and prints, which copy the screen's picture.
  if (model)
    ModelPanel->PaintLegend(canvas, graph->PlotRect);
}

void TMainForm::KeepModel(TMeasurement& m) const {
  if (ModelPanel == nullptr)
    return;
  TMeasureModel shown = ModelPanel->SavedModel();
  if (!shown.Model.empty())
    m.Model = std::move(shown);
}

void TMainForm::ShowFileModel() {
  if (ModelPanel == nullptr || !ShownMeasure || ShownMeasure->Model.Model.empty())
    return;
  ModeleBtn->setChecked(true);
  ModelArea->show();
  ModelPanel->ShowSavedModel(ShownMeasure->Model);
}

} // namespace qvt
