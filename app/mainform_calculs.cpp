// SPDX-License-Identifier: GPL-3.0-or-later
// TMainForm: the computed quantities ("Calculs"). The dialog edits the set
// (dialogs/computed_dlg.h); TComputedCurves (graph/computed_curves.h) checks and computes it.
// The window only opens the dialog, computes the quantities after each sweep, each recorded
// point and each opened file, hands their curves to the graphs and keeps the set in the
// settings file.
#include <QBoxLayout>
#include <QToolButton>

#include "ansi.h"
#include "computed_curves.h"
#include "computed_dlg.h"
#include "computed_settings.h"
#include "globals.h"
#include "inifile.h"
#include "graphe_osc.h"
#include "graphe_point.h"
#include "mainform.h"
#include "mainform_texts.h"
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
  for (int k = 0; k < 4; ++k) {
    const TCourbe& curve = PointMode ? static_cast<const TCourbe&>(PointGraph->Curves[k])
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
  TCalculsDlg dialog(this, ComputedChannels(), ComputedAbscissaUnit());
  dialog.SetContents(Computed->Constants(), Computed->Definitions(), Computed->Displays());
  if (dialog.exec() != QDialog::Accepted)
    return;
  // The dialog accepts only a set that Define takes.
  const auto refused = Computed->Define(ComputedChannels(), dialog.Constants(),
                                        dialog.Definitions(), dialog.Displays(),
                                        ComputedAbscissaUnit());
  CheckedChannels = ComputedChannels();
  CheckedAbscissaUnit = ComputedAbscissaUnit();
  if (refused)
    SetStatusText(QString::fromStdString(refused->message));
  ComputeQuantities();
  TempsPaintBox->Invalidate();
}

void TMainForm::ComputeQuantities() {
  if (!Computed || OscGraph == nullptr)
    return;
  OscGraph->Computed = &Computed->Curves;
  PointGraph->Computed = &Computed->Curves;
  if (ShownPoints)
    ShownPoints->Computed = &Computed->Curves;
  if (Computed->Count() == 0)
    return;
  // A channel renamed, or another abscissa: the names the formulas read may no longer mean
  // what they did; the set is checked again (and kept, unused, when it no longer holds).
  const auto channels = ComputedChannels();
  const std::string abscissa = ComputedAbscissaUnit();
  if (!SameChannels(channels, CheckedChannels) || abscissa != CheckedAbscissaUnit) {
    CheckedChannels = channels;
    CheckedAbscissaUnit = abscissa;
    if (const auto refused = Computed->Recheck(channels, abscissa))
      SetStatusText(QString::fromStdString(refused->message));
  }
  if (Computed->Refused())
    return;
  std::optional<analysis::ComputedError> error;
  if (TgraphePoint* points = ShownPointGraph())
    error = Computed->ComputePoints(points->Curves, points->Abscissa, points->PointCount);
  else
    error = Computed->ComputeSweep(OscGraph->Curves, OscGraph->TimeCurve, OscGraph->FilledCount,
                                   ComputedIntegralStart());
  if (error)
    SetStatusText(QString::fromStdString(error->message));
}

std::size_t TMainForm::ComputedIntegralStart() const {
  return 0;
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
