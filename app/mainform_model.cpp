// SPDX-License-Identifier: GPL-3.0-or-later
// TMainForm: where the "Modélisation" panel sits and what it is given. The panel is a widget
// of its own (model_panel.h); the window places it beside the graph, hands it each complete
// sweep or the recorded points (the channels and the computed quantities, as the tools bar)
// and draws its curve after the graph. Its range is the window's markers, shared with the
// tools bar (mainform_calc_tools.cpp). Its choices are kept in the settings file.
#include <QBoxLayout>
#include <QCheckBox>
#include <QEvent>
#include <QLineEdit>
#include <QScrollArea>
#include <QSpinBox>
#include <QToolButton>

#include <algorithm>
#include <string_view>

#include "ansi.h"
#include "canvas.h"
#include "globals.h"
#include "graphe_osc.h"
#include "graphe_point.h"
#include "inifile.h"
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
// What the panel keeps in the narrowest window; below its width it scrolls sideways.
constexpr int kModelPanelMinimumWidth = 160;

// The panel in the settings file, and the defaults its keys are left out at.
constexpr const char* kModelSection = "Modelisation";
constexpr std::string_view kDefaultModel = "affine";
constexpr int kDefaultDegree = 3;

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
  if (ModelArea == nullptr)
    return;
  // Half the graph area at most, and a minimum below it: a fixed width would be a minimum of
  // the window's too and keep the window from narrowing.
  const int width = std::clamp(PanelCourbe->width() / 2, 1, kModelPanelWidth);
  ModelArea->setMinimumWidth(std::min(width, kModelPanelMinimumWidth));
  ModelArea->setMaximumWidth(width);
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
  if (ModelPanel == nullptr)
    return;
  // The same curves as the tools: the channels, then the computed quantities.
  const TShownCurves shown = ShownCurves();
  if (shown.x != nullptr)
    ModelPanel->Feed(*shown.x, shown.curves, shown.count, shown.abscissa);
}

const TCourbe* TMainForm::ModelAbscissa() const {
  if (ModelPanel == nullptr || ModelArea->isHidden() || SpectrumShown())
    return nullptr;
  return ShownCurves().x;
}

void TMainForm::PaintModel(TCanvas& canvas) {
  if (SpectrumShown())
    return;
  const TShownCurves shown = ShownCurves();
  if (shown.x == nullptr)
    return;
  const TCourbe& x = *shown.x;
  const TRect& plot = shown.graph->PlotRect;
  // The markers once, for the panel and the tools alike.
  if (MarkersAbscissa() != nullptr && shown.count >= 2) {
    const auto [lo, hi] = MarkerSpan(x, shown.count);
    DrawRangeMarkers(canvas, plot, x, Markers, lo, hi);
  }
  const bool model = ModelAbscissa() != nullptr;
  if (model) {
    ModelPanel->Paint(canvas, plot, x, shown.curves);
    ModelPanel->SetResidualAxis(x, plot);
  }
  PaintCalcTools(canvas, plot, x);
  // On the screen as in the images and prints, which copy the screen's picture.
  if (model)
    ModelPanel->PaintLegend(canvas, plot);
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

void TMainForm::LoadModelSettings(const TIniFile& ini) {
  TModelPanel& panel = *ModelPanel;
  // A value that does not read keeps the default. The model last, so that it is set up with
  // the expression and the degree read.
  panel.ExpressionEdit->setText(AnsiToQString(ini.ReadString(kModelSection, "Expression", "")));
  const int degree = ini.ReadInteger(kModelSection, "Degre", kDefaultDegree);
  if (degree >= panel.DegreeSE->minimum() && degree <= panel.DegreeSE->maximum())
    panel.DegreeSE->setValue(degree);
  panel.SelectModel(ini.ReadString(kModelSection, "Modele", kDefaultModel));
  panel.ResidusCB->setChecked(ini.ReadBool(kModelSection, "Residus", false));
  ModeleBtn->setChecked(ini.ReadBool(kModelSection, "Affiche", false));
  ModelArea->setVisible(ModeleBtn->isChecked());
}

void TMainForm::SaveModelSettings(TIniFile& ini) const {
  // Each key written once it differs from its default or is in the file already, so that a
  // file made before the panel existed keeps its bytes.
  const TModelPanel& panel = *ModelPanel;
  auto wanted = [&ini](const char* key, bool changed) {
    return changed || ini.ValueExists(kModelSection, key);
  };
  if (wanted("Affiche", ModeleBtn->isChecked()))
    ini.WriteBool(kModelSection, "Affiche", ModeleBtn->isChecked());
  const std::string model = panel.ModelKey();
  if (wanted("Modele", model != kDefaultModel))
    ini.WriteString(kModelSection, "Modele", model);
  if (wanted("Degre", panel.DegreeSE->value() != kDefaultDegree))
    ini.WriteInteger(kModelSection, "Degre", panel.DegreeSE->value());
  const std::string expression = AnsiFromQString(panel.ExpressionEdit->text());
  if (wanted("Expression", !expression.empty()))
    ini.WriteString(kModelSection, "Expression", expression);
  if (wanted("Residus", panel.ResidusCB->isChecked()))
    ini.WriteBool(kModelSection, "Residus", panel.ResidusCB->isChecked());
}

} // namespace qvt
