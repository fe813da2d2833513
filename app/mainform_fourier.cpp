// SPDX-License-Identifier: GPL-3.0-or-later
// TMainForm: the "Spectre" mode. The graph shows the magnitude spectra of the active channels
// and of the visible computed quantities instead of their curves, with a bar over it for the
// window, the scale, the averaging and the frequency span; the mouse reads frequency and amplitude,
// and zooms (wheel) and pans (drag) the frequency range. Leaving the mode gives the time graph
// back.
#include <QComboBox>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <QToolButton>

#include <algorithm>
#include <cmath>
#include <string>

#include "ansi.h"
#include "globals.h"
#include "graphe_frequences.h"
#include "graphe_osc.h"
#include "hints.h"
#include "inifile.h"
#include "mainform.h"
#include "mainform_texts.h"
#include "numtext.h"
#include "paintbox.h"
#include "shape.h"

namespace qvt {

using texts::T;

namespace {

constexpr char kSection[] = "Spectre";
constexpr char kWindowKey[] = "Fenetre";
constexpr char kScaleKey[] = "Echelle";
constexpr char kAveragingKey[] = "Moyenne";
constexpr char kMaxFrequencyKey[] = "FMax"; // Hz, 0 for the automatic span
// The fundamental and the harmonics 2 to 7 are listed: enough for a square's 3, 5 and 7.
constexpr std::size_t kHarmonicsListed = 7;

// The spans offered besides the automatic one: 1, 2 and 5 from 10 Hz to 5 MHz, the
// graduations of the axis.
std::vector<int> MaxFrequencies() {
  std::vector<int> list;
  for (int decade = 10; decade <= 1'000'000; decade *= 10)
    for (const int m : {1, 2, 5})
      list.push_back(m * decade);
  return list;
}

std::string FrequencyText(int hertz) {
  if (hertz >= 1'000'000)
    return std::to_string(hertz / 1'000'000) + " MHz";
  if (hertz >= 1000)
    return std::to_string(hertz / 1000) + " kHz";
  return std::to_string(hertz) + " Hz";
}

} // namespace

void TMainForm::BuildSpectreBar() {
  SpectreBar = new QFrame(PanelCourbe);
  SpectreBar->setObjectName("SpectreBar");
  SpectreBar->setAutoFillBackground(true);
  SpectreBar->setPalette(palette());
  auto* row = new QHBoxLayout(SpectreBar);
  row->setContentsMargins(4, 2, 4, 2);
  row->setSpacing(4);
  FenetreCB = new QComboBox(SpectreBar);
  FenetreCB->setObjectName("FenetreCB");
  for (const char* w : texts::kWindows)
    FenetreCB->addItem(T(w));
  SetHint(FenetreCB, T(texts::kSpectrumWindowHint));
  EchelleCB = new QComboBox(SpectreBar);
  EchelleCB->setObjectName("EchelleCB");
  for (const char* s : texts::kScales)
    EchelleCB->addItem(T(s));
  MoyenneSE = new QSpinBox(SpectreBar);
  MoyenneSE->setObjectName("MoyenneSE");
  MoyenneSE->setRange(1, analysis::Spectrum::kMaxAveraging);
  MoyenneSE->setSuffix(T(texts::kAveragingSuffix));
  FmaxCB = new QComboBox(SpectreBar);
  FmaxCB->setObjectName("FmaxCB");
  FmaxCB->addItem(T(texts::kMaxFrequencyAuto), 0);
  for (const int f : MaxFrequencies())
    FmaxCB->addItem(QString::fromStdString(FrequencyText(f)), f);
  FmaxCB->setMaxVisibleItems(FmaxCB->count());
  SetHint(FmaxCB, T(texts::kMaxFrequencyHint));
  for (QWidget* w : {static_cast<QWidget*>(FenetreCB), static_cast<QWidget*>(EchelleCB),
                     static_cast<QWidget*>(MoyenneSE), static_cast<QWidget*>(FmaxCB)})
    w->setFocusPolicy(Qt::ClickFocus);
  auto label = [&](const char* text, QWidget* buddy) {
    auto* l = new QLabel(T(text), SpectreBar);
    l->setBuddy(buddy);
    row->addWidget(l);
    row->addWidget(buddy);
    row->addSpacing(8);
  };
  label(texts::kWindowLabel, FenetreCB);
  label(texts::kScaleLabel, EchelleCB);
  label(texts::kAveragingLabel, MoyenneSE);
  label(texts::kMaxFrequencyLabel, FmaxCB);
  row->addStretch();
  connect(FenetreCB, &QComboBox::currentIndexChanged, this, [this] { SpectrumControlsChange(); });
  connect(EchelleCB, &QComboBox::currentIndexChanged, this, [this] { SpectrumControlsChange(); });
  connect(MoyenneSE, &QSpinBox::valueChanged, this, [this] { SpectrumControlsChange(); });
  // A span chosen in the list replaces the range the mouse chose.
  connect(FmaxCB, &QComboBox::currentIndexChanged, this, [this] {
    SpectreGraph->ResetZoom();
    SpectrumControlsChange();
  });
  SpectreBar->hide();
}

bool TMainForm::SpectrumShown() const {
  return SpectreBtn != nullptr && SpectreBtn->isChecked() && !PointMode && !ShowsPointFile();
}

void TMainForm::SpectrumControlsChange() {
  const auto window = static_cast<analysis::Window>(std::clamp(FenetreCB->currentIndex(), 0, 4));
  const auto scale = EchelleCB->currentIndex() == 1 ? analysis::SpectrumScale::kDbv
                                                    : analysis::SpectrumScale::kLinear;
  for (analysis::Spectrum& s : Spectra) {
    // The spectrum restarts its average itself when the window changes.
    s.SetWindow(window);
    s.SetScale(scale);
    s.SetAveraging(MoyenneSE->value());
  }
  SpectreGraph->SetScale(scale);
  SpectreGraph->MaxFrequency = FmaxCB->currentData().toDouble();
  if (Loading)
    return;
  // The spectra held are shown at once in the new scale (none where the last sweep gave none).
  for (std::size_t i = 0; i < SpectreGraph->Voies.size(); ++i) {
    if (SpectreGraph->Voies[i].Magnitudes.empty())
      continue;
    const std::span<const double> m = Spectra[i].Magnitudes();
    SpectreGraph->Voies[i].Magnitudes.assign(m.begin(), m.end());
  }
  if (SpectrumShown()) {
    SpectreGraph->Fit();
    TempsPaintBox->Invalidate();
  }
}

void TMainForm::SpectreBtnClick() {
  SpectreBar->setVisible(SpectreBtn->isChecked());
  // The mode comes back with the span, not with the range the mouse chose last time.
  SpectreGraph->ResetZoom();
  for (analysis::Spectrum& s : Spectra)
    s.ResetAverage();
  if (SpectrumShown() && OscGraph != nullptr && OscGraph->FilledCount > 1)
    AnalyseSweep();
  HideReadout();
  TempsPaintBox->Invalidate();
}

void TMainForm::ComputeSpectra(const std::array<TCourbeOsc, 4>& curves,
                               std::span<const TCourbe> computed, double samplePeriod, int count) {
  std::array<analysis::Harmonic, kHarmonicsListed> harmonics;
  SpectreGraph->SetComputedCount(computed.size());
  for (int i = 0; i < static_cast<int>(SpectreGraph->Voies.size()); ++i) {
    const bool channel = i < TGrapheSpectre::kChannels;
    const TCourbe& curve = channel ? curves[i] : computed[i - TGrapheSpectre::kChannels];
    TSpectreVoie& v = SpectreGraph->Voies[i];
    analysis::Spectrum& s = Spectra[i];
    // Another quantity in the place of this one (a set defined anew): its own average.
    if (!channel && SpectreGraph->Curves[i].QuantityName != curve.QuantityName)
      s.ResetAverage();
    v.Visible = curve.Visible;
    SpectreGraph->FollowChannel(i, curve);
    if (!v.Visible)
      continue;
    // A computed quantity with a gap has no spectrum: the marker would read as a level.
    if ((!channel && !Gapless(curve, count)) ||
        !s.Compute({curve.Value.data(), static_cast<std::size_t>(count)}, samplePeriod)) {
      v.Magnitudes.clear();
      v.Harmonics.clear();
      continue;
    }
    const std::span<const double> m = s.Magnitudes();
    v.Magnitudes.assign(m.begin(), m.end());
    v.Resolution = s.Resolution();
    const std::size_t n = s.Harmonics(harmonics);
    v.Harmonics.assign(harmonics.begin(), harmonics.begin() + static_cast<std::ptrdiff_t>(n));
  }
  SpectreGraph->Fit();
  TempsPaintBox->Invalidate();
}

void TMainForm::PaintSpectrum() {
  SpectreGraph->Paint();
  HideReadout();
}

void TMainForm::ShowSpectrumReadout(int x, int y) {
  std::size_t bin = 0;
  const std::uint8_t c = SpectreGraph->NearestBin(x, y, bin);
  if (c >= SpectreGraph->Voies.size()) {
    HideReadout();
    return;
  }
  TCourbe& curve = SpectreGraph->Curves[c];
  const TSpectreVoie& v = SpectreGraph->Voies[c];
  const double m = v.Magnitudes[bin];
  // dBV are not a unit to put a prefix on: "V0=-12,3 dBV", not "-12,3 dBV" in milli.
  const QString value =
      SpectreGraph->Scale() == analysis::SpectrumScale::kDbv
          ? AnsiToQString(curve.QuantityName + "=" + FormatFixed(m, 4, 1) + " " + curve.Text)
          : AnsiToQString(curve.Describe(m));
  PlaceReadout(
      x, y, ToQColor(curve.Colour),
      AnsiToQString(SpectreGraph->FrequencyCurve.Describe(v.Resolution * static_cast<double>(bin))),
      value, true);
}

void TMainForm::LoadSpectrumSettings(const TIniFile& ini) {
  FenetreCB->setCurrentIndex(std::clamp(ini.ReadInteger(kSection, kWindowKey, 0), 0, 4));
  EchelleCB->setCurrentIndex(std::clamp(ini.ReadInteger(kSection, kScaleKey, 0), 0, 1));
  MoyenneSE->setValue(ini.ReadInteger(kSection, kAveragingKey, 1));
  // A frequency off the list (a file edited by hand) takes the nearest item.
  const int hertz = ini.ReadInteger(kSection, kMaxFrequencyKey, 0);
  int item = 0;
  if (hertz > 0) {
    double nearest = 1e300;
    for (int k = 1; k < FmaxCB->count(); ++k) {
      const double d = std::abs(std::log(FmaxCB->itemData(k).toDouble() / hertz));
      if (d < nearest) {
        nearest = d;
        item = k;
      }
    }
  }
  FmaxCB->setCurrentIndex(item);
  SpectrumControlsChange();
}

void TMainForm::SaveSpectrumSettings(TIniFile& ini) const {
  auto write = [&](const char* key, int value, int design) {
    if (value != design || ini.ValueExists(kSection, key))
      ini.WriteInteger(kSection, key, value);
  };
  write(kWindowKey, FenetreCB->currentIndex(), 0);
  write(kScaleKey, EchelleCB->currentIndex(), 0);
  write(kAveragingKey, MoyenneSE->value(), 1);
  write(kMaxFrequencyKey, FmaxCB->currentData().toInt(), 0);
}

bool TMainForm::SpectrumMouseDown(const TMouseInfo& mouse) {
  if (!SpectrumShown())
    return false;
  if (mouse.Button == Qt::LeftButton && SpectreGraph->OverFrequencyAxis(mouse.X, mouse.Y)) {
    DraggingSpectrum = true;
    SpectrumDragX = mouse.X;
    HideReadout();
    TempsPaintBox->setCursor(Qt::SizeHorCursor);
  }
  return true;
}

bool TMainForm::SpectrumMouseMove(const TMouseInfo& mouse) {
  if (!DraggingSpectrum)
    return false;
  if (!SpectrumShown() || !(mouse.Buttons & Qt::LeftButton)) {
    SpectrumMouseUp();
    return false;
  }
  SpectreGraph->PanBy(mouse.X - SpectrumDragX);
  SpectrumDragX = mouse.X;
  TempsPaintBox->Invalidate();
  return true;
}

void TMainForm::SpectrumMouseUp() {
  if (!DraggingSpectrum)
    return;
  DraggingSpectrum = false;
  TempsPaintBox->setCursor(Qt::ArrowCursor);
}

void TMainForm::TempsPaintBoxWheel(const TMouseInfo& mouse) {
  if (!SpectrumShown() || !SpectreGraph->OverFrequencyAxis(mouse.X, mouse.Y))
    return;
  SpectreGraph->ZoomAt(mouse.X, mouse.WheelNotches);
  HideReadout();
  TempsPaintBox->Invalidate();
}

void TMainForm::TempsPaintBoxDoubleClick(const TMouseInfo& mouse) {
  if (!SpectrumShown()) {
    TempsPaintBoxMouseDown(mouse);
    return;
  }
  if (!SpectreGraph->OverFrequencyAxis(mouse.X, mouse.Y))
    return;
  // Back to the automatic span, whatever span was chosen.
  SpectreGraph->ResetZoom();
  if (FmaxCB->currentIndex() != 0) {
    FmaxCB->setCurrentIndex(0); // refits and repaints
    return;
  }
  SpectreGraph->Fit();
  TempsPaintBox->Invalidate();
}

} // namespace qvt
