// SPDX-License-Identifier: GPL-3.0-or-later
// TMainForm: the computed quantities ("Calculs"). The dialog edits the set
// (dialogs/computed_dlg.h); TComputedCurves (graph/computed_curves.h) checks and computes it.
// The window only opens the dialog, computes the quantities after each sweep, each recorded
// point and each opened file, hands their curves to the graphs and keeps the set in the
// settings file.
#include <QBoxLayout>
#include <QToolButton>

#include <cmath>

#include "ansi.h"
#include "codepage.h"
#include "computed_curves.h"
#include "computed_dlg.h"
#include "computed_settings.h"
#include "globals.h"
#include "graphe_osc.h"
#include "graphe_point.h"
#include "inifile.h"
#include "mainform.h"
#include "mainform_texts.h"
#include "measure_computed.h"
#include "measure_file.h"
#include "numbers.h"
#include "paintbox.h"

namespace qvt {

using texts::U8;

namespace {

constexpr char kDisplaySection[] = "Affichage";
constexpr char kComputedAbscissaKey[] = "AbscisseCalcul";

bool SameChannels(const std::array<analysis::ComputedChannel, 4>& a,
                  const std::array<analysis::ComputedChannel, 4>& b) {
  for (std::size_t k = 0; k < a.size(); ++k)
    if (a[k].name != b[k].name || a[k].unit != b[k].unit)
      return false;
  return true;
}

} // namespace

void TMainForm::BuildCalculsButton(QHBoxLayout* row) {
  connect(CalculsBtn, &QToolButton::clicked, this, [this] { CalculsBtnClick(); });
  row->addWidget(CalculsBtn);
}

std::array<analysis::ComputedChannel, 4> TMainForm::ComputedChannels() const {
  std::array<analysis::ComputedChannel, 4> channels;
  // The names the user gave in the channel dialogs of the mode shown; V0 to V3 always work.
  const TgraphePoint* points = ShownPointGraph();
  for (int k = 0; k < 4; ++k) {
    const TCourbe& curve = points != nullptr ? static_cast<const TCourbe&>(points->Curves[k])
                                             : static_cast<const TCourbe&>(OscGraph->Curves[k]);
    channels[k].name = curve.QuantityName;
    channels[k].unit = curve.Text;
  }
  return channels;
}

std::string TMainForm::ComputedAbscissaUnit() const {
  if (const TgraphePoint* points = ShownPointGraph())
    return points->Curves[points->Abscissa].Text;
  return "s";
}

void TMainForm::CalculsBtnClick() {
  if (Closing || Loading)
    return;
  // The set shown is the one edited: an opened file's own, or the user's.
  TComputedCurves& set = ShownComputed();
  TCalculsDlg dialog(this, ComputedChannels(), ComputedAbscissaUnit());
  dialog.SetContents(set.Constants(), set.Definitions(), set.Displays());
  if (dialog.exec() != QDialog::Accepted)
    return;
  // The dialog accepts only a set that Define takes.
  const auto refused = set.Define(ComputedChannels(), dialog.Constants(), dialog.Definitions(),
                                  dialog.Displays(), ComputedAbscissaUnit());
  if (&set == FileComputed.get())
    FileComputedEdited = true;
  CheckedChannels = ComputedChannels();
  CheckedAbscissaUnit = ComputedAbscissaUnit();
  if (refused)
    SetStatusText(QString::fromStdString(refused->message));
  ComputeQuantities();
  TempsPaintBox->Invalidate();
}

void TMainForm::AimGraphsAtComputed() {
  std::vector<TCourbe>* curves = &ShownComputed().Curves;
  OscGraph->Computed = curves;
  PointGraph->Computed = curves;
  if (ShownPoints)
    ShownPoints->Computed = curves;
}

void TMainForm::ComputeQuantities() {
  if (!Computed || OscGraph == nullptr)
    return;
  AimGraphsAtComputed();
  TComputedCurves& set = ShownComputed();
  if (set.Count() == 0)
    return;
  // A channel renamed, or another abscissa: the names the formulas read may no longer mean
  // what they did; the set is checked again (and kept, unused, when it no longer holds).
  const auto channels = ComputedChannels();
  const std::string abscissa = ComputedAbscissaUnit();
  if (!SameChannels(channels, CheckedChannels) || abscissa != CheckedAbscissaUnit) {
    CheckedChannels = channels;
    CheckedAbscissaUnit = abscissa;
    if (const auto refused = set.Recheck(channels, abscissa))
      SetStatusText(QString::fromStdString(refused->message));
  }
  if (set.Refused())
    return;
  std::optional<analysis::ComputedError> error;
  if (TgraphePoint* points = ShownPointGraph())
    error = set.ComputePoints(points->Curves, points->Abscissa, points->PointCount);
  else
    error = set.ComputeSweep(OscGraph->Curves, OscGraph->TimeCurve, OscGraph->FilledCount,
                             ComputedIntegralStart());
  if (error)
    SetStatusText(QString::fromStdString(error->message));
  // Points are marked one by one as they are recorded; their computed marks with a repaint.
  if (PointMode && ShownFile.isEmpty())
    TempsPaintBox->Invalidate();
}

void TMainForm::KeepComputed(TMeasurement& m) const {
  const TComputedCurves& set = ShownComputed();
  if (ShownMeasure && ((&set == FileComputed.get() && !FileComputedEdited) || set.Count() == 0))
    return; // the file's columns as it has them
  m.ComputedConstants.clear();
  m.Computed.clear();
  for (const analysis::ComputedConstant& c : set.Constants())
    m.ComputedConstants.push_back(MeasureComputedText(c));
  const std::size_t rows = m.Time.size();
  for (std::size_t k = 0; k < set.Count(); ++k) {
    const analysis::ComputedDefinition& d = set.Definitions()[k];
    const TComputedDisplay& shown = set.Displays()[k];
    TMeasureComputed& c = m.Computed.emplace_back();
    c.Definition = MeasureComputedText(d);
    c.QuantityName = AnsiToUtf8(d.name);
    c.Unit = AnsiToUtf8(set.Unit(k));
    c.Colour = shown.Colour;
    if (!shown.AutoScale)
      c.Mini = shown.Mini, c.Maxi = shown.Maxi;
    // A set not computed (refused after a rename) is saved as gaps: its definitions are kept.
    c.Values.assign(rows, kNoValue);
    if (k < set.Curves.size())
      for (std::size_t i = 0; i < rows && i < TSamples::kCount; ++i)
        if (const double v = set.Curves[k].Value[static_cast<std::ptrdiff_t>(i)]; std::isfinite(v))
          c.Values[i] = v;
  }
}

void TMainForm::AppendComputedValues(std::vector<double>& row, int index) const {
  const TComputedCurves& set = ShownComputed();
  for (std::size_t k = 0; k < RecordedComputed; ++k)
    row.push_back(k < set.Curves.size() && index >= 0 && index < static_cast<int>(TSamples::kCount)
                      ? set.Curves[k].Value[index]
                      : kNoValue);
}

void TMainForm::ShowFileComputed() {
  FileComputed.reset();
  FileComputedEdited = false;
  if (ShownMeasure->Computed.empty() && ShownMeasure->ComputedConstants.empty()) {
    AimGraphsAtComputed();
    return;
  }
  TMeasureComputedSet read = ReadMeasureComputed(*ShownMeasure);
  std::vector<analysis::ComputedDefinition> definitions;
  std::vector<TComputedDisplay> displays;
  for (std::size_t k = 0; k < read.Definitions.size(); ++k) {
    if (!read.Definitions[k])
      continue; // its saved values are in the file, not shown
    definitions.push_back(*read.Definitions[k]);
    const TMeasureComputed& column = ShownMeasure->Computed[k];
    TComputedDisplay& shown = displays.emplace_back();
    shown.Colour = column.Colour;
    shown.AutoScale = !(column.Mini && column.Maxi);
    if (!shown.AutoScale)
      shown.Mini = *column.Mini, shown.Maxi = *column.Maxi;
  }
  FileComputed = std::make_unique<TComputedCurves>();
  FileComputed->Keep(std::move(read.Constants), std::move(definitions), std::move(displays));
  if (const auto refused = FileComputed->Recheck(ComputedChannels(), ComputedAbscissaUnit()))
    read.Warnings.push_back(refused->message);
  CheckedChannels = ComputedChannels();
  CheckedAbscissaUnit = ComputedAbscissaUnit();
  if (!read.Warnings.empty())
    SetStatusText(QString::fromStdString(read.Warnings.front()));
  AimGraphsAtComputed();
}

void TMainForm::LeaveFileComputed() {
  FileComputed.reset();
  FileComputedEdited = false;
  AimGraphsAtComputed();
}

std::size_t TMainForm::ComputedIntegralStart() const {
  // Integrals start at the left marker once the markers are placed, at the first sample before.
  if (!Markers.Placed())
    return 0;
  const TSamples& t = OscGraph->TimeCurve.Value;
  const int n = std::min<int>(OscGraph->FilledCount, static_cast<int>(TSamples::kCount));
  int i = 0;
  while (i < n && t[i] < Markers.From())
    ++i;
  return static_cast<std::size_t>(std::min(i, std::max(n - 1, 0)));
}

void TMainForm::LoadComputedQuantities(const TIniFile& ini) {
  TComputedSettings s = LoadComputedSettings(ini);
  CheckedChannels = ComputedChannels();
  CheckedAbscissaUnit = ComputedAbscissaUnit();
  Computed->Keep(std::move(s.Constants), std::move(s.Definitions), std::move(s.Displays));
  if (const auto refused = Computed->Recheck(CheckedChannels, CheckedAbscissaUnit))
    s.Errors.push_back(refused->message);
  if (!s.Errors.empty())
    SetStatusText(QString::fromStdString(s.Errors.front()));
  // A computed quantity on the point graph's horizontal axis, by its name.
  const std::string abscissa = ini.ReadString(kDisplaySection, kComputedAbscissaKey, "");
  PointGraph->ComputedAbscissa = -1;
  const auto& definitions = Computed->Definitions();
  for (std::size_t k = 0; k < definitions.size() && !abscissa.empty(); ++k)
    if (definitions[k].name == abscissa)
      PointGraph->ComputedAbscissa = static_cast<int>(k);
}

void TMainForm::SaveComputedQuantities(TIniFile& ini) const {
  SaveComputedSettings(ini, Computed->Constants(), Computed->Definitions(), Computed->Displays());
  const int k = PointGraph->ComputedAbscissa;
  const auto& definitions = Computed->Definitions();
  const std::string name =
      k >= 0 && static_cast<std::size_t>(k) < definitions.size() ? definitions[k].name : "";
  if (!name.empty() || ini.ValueExists(kDisplaySection, kComputedAbscissaKey))
    ini.WriteString(kDisplaySection, kComputedAbscissaKey, name);
}

} // namespace qvt
