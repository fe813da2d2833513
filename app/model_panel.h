// SPDX-License-Identifier: GPL-3.0-or-later
// TModelPanel: the "Modélisation" panel. The curve to model, the model (the built-in ones and
// "Expression"), the parameters with their uncertainties and units, r², the RMS of the
// residuals and the fit's status. It is fed each complete sweep (or the recorded points) and
// fits in a worker thread, starting from its last result, so the window never waits. The range
// is the window's markers, shared with the other tools; the window draws them and drags them,
// and the panel draws its model curve over the graph.
#pragma once

#include <QString>
#include <QWidget>

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "colour.h"
#include "fit.h"
#include "graphe_base.h"
#include "measure_file.h"
#include "range_markers.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QTableWidget;

namespace qvt {

class TCanvas;
class TCourbe;
class TModelFitter;
class TResidualStrip;

class TModelPanel : public QWidget {
  Q_OBJECT

public:
  // `markers`, the range fitted, outlive the panel.
  explicit TModelPanel(TRangeMarkers& markers, QWidget* parent = nullptr);
  ~TModelPanel() override; // the fit under way is cancelled and waited for

  // The curves of a complete sweep, or of the points recorded: `count` values of `x` and of
  // each of `curves` that is Visible are copied. Curves are told apart by their Index: 0..3
  // the channels ("Voie 0"...), 4 + k computed quantity k, offered by its quantity name; null
  // entries are skipped. In point mode `abscissa` is the Index of the curve on the horizontal
  // axis (a channel or a computed quantity), not offered. Gaps (kNoValue) are left out of the
  // fit like non-finite values. While the panel is shown the chosen curve is fitted anew, over
  // the markers' range or, until they are placed, over the part the axis of `x` shows.
  void Feed(const TCourbe& x, std::span<const TCourbe* const> curves, int count, int abscissa = -1);
  // After a good fit, draws the model over the range in the curve's colour, dashed, over a
  // plot painted with the transforms of `x` and of the curves (the same list as fed).
  void Paint(TCanvas& canvas, const TRect& plot, const TCourbe& x,
             std::span<const TCourbe* const> curves) const;
  // The legend over the graph (kept in its images and prints): the model, its parameters
  // with their uncertainties and r², in the channel's colour at the top left of the plot.
  // Nothing without a good fit.
  void PaintLegend(TCanvas& canvas, const TRect& plot) const;
  // The markers were dragged to a new range: refitted over it while the panel is shown.
  void MarkersMoved();

  // Fits now with the values of the table as starting values ("Réajuster").
  void Refit();
  // The model, the parameters with their uncertainties and r², tab-separated.
  QString ResultText() const;
  void CopyResult();

  // The model shown, for a measurement file; empty when hidden or without a good fit.
  TMeasureModel SavedModel() const;
  // The model of an opened file shown again: its model, curve (a channel, or a computed
  // quantity by name) and range; the fit of the file's data follows at the next Feed.
  void ShowSavedModel(const TMeasureModel& model);

  // The model chosen, by its key as in files ("charge", "expression"); SelectModel takes a
  // key (false, nothing changed, for one this program does not know).
  std::string ModelKey() const;
  bool SelectModel(std::string_view key);

  int Channel() const; // the Index of the curve modelled, -1 for none
  // The last result shown (good or not), null before the first.
  const analysis::FitResult* Result() const { return shown_ ? &*shown_ : nullptr; }
  TRangeMarkers& Markers() { return *markers_; }
  bool Busy() const { return waiting_ != 0; }          // a fit asked for has not come back yet
  bool ShowsCurve() const { return !curveX_.empty(); } // a good fit's curve is drawn

  QComboBox* ChannelCB = nullptr;
  QComboBox* ModelCB = nullptr; // the built-in models in order, then "Expression"
  QLineEdit* ExpressionEdit = nullptr;
  QSpinBox* DegreeSE = nullptr;
  QTableWidget* ParamTable = nullptr; // name, value ± uncertainty, unit, "bloqué"
  QLabel* R2Label = nullptr;
  QLabel* RmsLabel = nullptr;
  QLabel* StatusLabel = nullptr;
  QPushButton* RefitBtn = nullptr;
  QCheckBox* ResidusCB = nullptr;
  // The strip of the residuals, shown under the graph with "Résidus" after a good fit; the
  // window places it.
  TResidualStrip* ResidualStrip = nullptr;
  // The graph's horizontal transform for the strip, after each paint of the graph.
  void SetResidualAxis(const TCourbe& x, const TRect& plot);

signals:
  // The markers or the model curve changed: the graph is to be painted again.
  void Changed();

protected:
  void showEvent(QShowEvent* event) override;
  void hideEvent(QHideEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  analysis::FitModelSpec ChosenModel() const;
  void ModelChanged(); // the model, its degree or the expression changed
  struct TFedCurve {
    int index = 0;
    QString name;     // "Voie 0", or the computed quantity's name
    std::string unit; // 8-bit, as the curve's
    TColour colour = 0;
    std::vector<double> y; // gaps as NaN
  };
  const TFedCurve* Fed(int index) const;
  void FillChannels(); // the curve list after the visible curves
  void FillRows();     // one row per parameter of the model
  void Submit();       // the chosen curve fitted in the worker
  void Take(std::uint64_t job, analysis::FitResult result);
  void ShowResult();
  void CellEdited(int row, int column);
  void DataSpan(double& lo, double& hi) const;
  void ShowResiduals(); // the strip after the box and the last result

  std::unique_ptr<TModelFitter> fitter_;
  std::uint64_t latest_ = 0;  // the number of the last job submitted
  std::uint64_t waiting_ = 0; // that job, until it comes back
  bool filling_ = false;      // the table is being written, not edited

  // The data last fed.
  std::vector<double> x_; // gaps as NaN
  std::vector<TFedCurve> curves_;
  std::string xUnit_;
  QString xName_;                  // of the abscissa in point mode, for the curve list
  double axisLo_ = 0, axisHi_ = 0; // the horizontal axis shown: the whole sweep's range
  int abscissa_ = -1;
  // The curve of a file's model, taken at the next Feed: a channel, or a quantity by name.
  int wantedChannel_ = -1;
  QString wantedQuantity_;

  TRangeMarkers* markers_; // the window's, not owned
  // Starting values by parameter name: the last result's, or typed in the table.
  std::vector<analysis::FitValue> start_;
  std::optional<analysis::FitResult> shown_;
  analysis::FitModelSpec shownSpec_;
  int shownChannel_ = -1; // the Index of the curve of the result shown
  std::string shownUnit_; // its unit and colour when it was fitted
  QString shownName_;     // its name, for a file
  TColour shownColour_ = 0;
  std::vector<double> curveX_, curveY_; // the model over the range, for the graph
};

} // namespace qvt
