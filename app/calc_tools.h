// SPDX-License-Identifier: GPL-3.0-or-later
// TCalcToolsBar: the tools read between the range markers, in a bar under the graph. The tool
// ("Tangente", "Pente", "Aire", "Statistiques", or none), the curve it reads, for "Tangente"
// the level whose crossing is given and the points of its local fit, and the results in one
// line ("pente = 2,350 V/ms"), copied with Ctrl+C or the context menu as tab-separated text.
// The window feeds it each complete sweep (or the recorded points), tells it where the user
// clicked for the tangent, and has it draw its figure over the graph after the traces.
#pragma once

#include <QString>
#include <QWidget>

#include <optional>
#include <span>
#include <string>
#include <vector>

#include "calculus.h"
#include "colour.h"
#include "graphe_base.h"
#include "range_markers.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QSpinBox;

namespace qvt {

class TCanvas;
class TCourbe;

class TCalcToolsBar : public QWidget {
  Q_OBJECT

public:
  // The items of ToolCB, in order.
  enum class TTool { kNone, kTangent, kChord, kArea, kStatistics };

  // `markers`, the range the tools read, outlive the bar.
  explicit TCalcToolsBar(TRangeMarkers& markers, QWidget* parent = nullptr);

  // The curves of a complete sweep, or of the points recorded: `count` values of `x` and of
  // each of `curves` that is Visible are copied (in point mode, `abscissa` is the channel on
  // the horizontal axis, not offered). Curves are told apart by their Index: 0..3 the
  // channels ("Voie 0"...), any other a computed quantity, shown by its quantity name; null
  // entries are skipped. Points out of order are read sorted by abscissa. While the bar is
  // shown the results are computed anew.
  void Feed(const TCourbe& x, std::span<const TCourbe* const> curves, int count, int abscissa = -1);
  // The abscissa the tangent touches at (the sample nearest it), kept across sweeps.
  void SetCursorAbscissa(double x);
  // The markers moved: the results follow.
  void MarkersMoved();

  // The mouse on the graph at abscissa `x` (the markers' grab comes first): with "Tangente" a
  // press places the tangent there and a move with the button held carries it along; true
  // when the bar took the event.
  bool Press(double x);
  bool Drag(double x);
  bool Release();

  // The tool's figure over a plot painted with the transforms of `x` and of the curves (the
  // same list as fed): the tangent across the plot with its crossings, the chord, the area
  // shaded, or the mean and its spread. Nothing while hidden or without a result.
  void Paint(TCanvas& canvas, const TRect& plot, const TCourbe& x,
             std::span<const TCourbe* const> curves) const;

  TTool Tool() const;
  void SetTool(TTool tool);
  // Shown with a tool that reads the range between the markers (not "Tangente").
  bool ReadsRange() const;
  // Shown with "Tangente": a press on the graph places the tangent.
  bool TakesClicks() const;
  int CurveIndex() const; // the Index of the curve read, -1 for none

  // The results of the last computation (empty when the tool gives none).
  struct TResults {
    double from = 0, to = 0; // the range read, in order
    std::optional<analysis::Tangent> tangent;
    std::optional<double> axisCrossing;       // where the tangent meets y = 0
    std::optional<double> level;              // the level typed, SI
    std::optional<double> levelCrossing;      // where the tangent meets it
    std::optional<double> chordFrom, chordTo; // the curve's values at the range's ends
    std::optional<double> slope;              // of the chord
    std::optional<double> area;
    std::optional<analysis::Statistics> statistics;
  };
  const TResults& Results() const { return results_; }
  // The results as tab-separated text: the tool and the curve, a header, then one line per
  // value (name, value, unit), the values written as in the bar.
  QString ResultText() const;
  void CopyResult();

  QComboBox* ToolCB = nullptr;
  QComboBox* CurveCB = nullptr;
  QLineEdit* LevelEdit = nullptr; // "Niveau", in the curve's unit (SI prefixes accepted)
  QLabel* LevelUnit = nullptr;
  QSpinBox* PointsSE = nullptr; // the points of the tangent's fit, odd
  QLabel* ResultLabel = nullptr;

Q_SIGNALS:
  // The results or the figure changed: the graph is to be painted again.
  void Changed();

protected:
  void showEvent(QShowEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  struct TFedCurve {
    int index = 0;
    QString name;
    std::string unit; // 8-bit, as the curve's
    TColour colour = 0;
    std::vector<double> y;
  };
  // One line of the results: "name = value unit" in the bar, a row of the copy.
  struct TRow {
    QString name, value, unit;
  };

  void ToolChanged();
  void FillCurves();
  void Compute();
  const TFedCurve* Chosen() const;
  std::vector<TRow> Rows() const;
  const TCourbe* CurveOf(std::span<const TCourbe* const> curves) const;

  TRangeMarkers* markers_; // the window's, not owned
  QLabel* levelCaption_ = nullptr;
  QLabel* pointsCaption_ = nullptr;
  std::vector<double> x_;
  std::vector<TFedCurve> curves_;
  std::string xUnit_;
  QString xName_;
  double lo_ = 0, hi_ = 0; // the span the markers move in
  std::optional<double> cursor_;
  bool pressed_ = false;
  bool filling_ = false;
  TResults results_;
  QString message_; // why there is no result, shown instead of it
};

} // namespace qvt
