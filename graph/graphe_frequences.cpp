// SPDX-License-Identifier: GPL-3.0-or-later
// TGrapheSpectre: ranges, axes and traces of the spectra, peak marks and harmonic lists.
#include "graphe_frequences.h"

#include "canvas.h"
#include "graph_settings.h"
#include "numtext.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace qvt {
namespace {

// Columns either side of the mouse whose bins it may pick.
constexpr int kColumnSlack = 3;

std::string ChannelName(int channel) {
  return "Y" + std::to_string(channel);
}

} // namespace

TGrapheSpectre::TGrapheSpectre(TCanvas* canvas, TPaintBox* paintBox)
    : TGrapheBase(canvas, paintBox),
      FrequencyCurve("f", 0, "Hz"), Curves{TCourbe(ChannelName(0), 0, "V"),
                                           TCourbe(ChannelName(1), 1, "V"),
                                           TCourbe(ChannelName(2), 2, "V"),
                                           TCourbe(ChannelName(3), 3, "V")} {
  FrequencyCurve.Mini = 0;
  FrequencyCurve.Maxi = 1000;
  for (TCourbe& c : Curves) {
    c.Mini = 0;
    c.Maxi = 1;
  }
}

void TGrapheSpectre::SetScale(analysis::SpectrumScale scale) {
  scale_ = scale;
  for (TCourbe& c : Curves)
    c.SetText(scale == analysis::SpectrumScale::kDbv ? "dBV" : "V");
}

void TGrapheSpectre::Fit() {
  double nyquist = 0;
  double top = scale_ == analysis::SpectrumScale::kDbv ? analysis::Spectrum::kFloorDbv : 0;
  for (const TSpectreVoie& v : Voies) {
    if (!v.Visible || v.Magnitudes.empty())
      continue;
    nyquist = std::max(nyquist, v.Resolution * static_cast<double>(v.Magnitudes.size() - 1));
    // Bin 0 (the mean) is left out: an offset would flatten every tone.
    for (std::size_t k = 1; k < v.Magnitudes.size(); ++k)
      top = std::max(top, v.Magnitudes[k]);
  }
  FrequencyCurve.Mini = 0;
  FrequencyCurve.Maxi = nyquist > 0 ? nyquist : 1000;
  double low = 0, high = 0;
  if (scale_ == analysis::SpectrumScale::kDbv) {
    high = 20 * std::ceil((top + 1) / 20);
    low = high - kDbvSpan;
  } else {
    high = top > 1e-9 ? top * 1.1 : 1;
  }
  for (TCourbe& c : Curves) {
    c.Mini = low;
    c.Maxi = high;
  }
}

void TGrapheSpectre::Paint() {
  if (!BeginPaint())
    return;
  LayOut(1);
  for (TCourbe& c : Curves) {
    c.PixTop = PlotRect.Top;
    c.PixBottom = PlotRect.Bottom;
  }
  FrequencyCurve.ComputeDisplayScale();
  SetHorizontalTransform(FrequencyCurve);
  for (TCourbe& c : Curves)
    SetVerticalTransform(c);

  AxisX = PlotRect.Left;
  if (RoomX)
    DrawHorizontalAxis(FrequencyCurve);
  if (RoomY) {
    for (int i = 0; i < 4; ++i)
      if (Voies[i].Visible) {
        DrawVerticalAxis(Curves[i]);
        break;
      }
  }
  for (int i = 0; i < 4; ++i)
    if (Voies[i].Visible && !Voies[i].Magnitudes.empty()) {
      DrawTrace(i);
      DrawPeakMark(i);
    }
  DrawHarmonicLists();
  Canvas->SetPenStyle(TPenStyle::Solid);
}

void TGrapheSpectre::DrawTrace(int channel) {
  const TSpectreVoie& v = Voies[channel];
  const TCourbe& c = Curves[channel];
  const TClip clip(Canvas, PlotClip());
  // Several bins to a pixel column are drawn as that column's lowest and highest bin, so
  // that a narrow tone keeps its height however many bins share its column.
  std::vector<QPoint> points;
  points.reserve(2 * static_cast<std::size_t>(std::max(PlotRect.Right - PlotRect.Left, 1)) + 2);
  int column = FrequencyCurve.ToPixel(0);
  double low = v.Magnitudes[0], high = v.Magnitudes[0];
  auto flush = [&] {
    points.emplace_back(column, c.ToPixel(high));
    if (low != high)
      points.emplace_back(column, c.ToPixel(low));
  };
  for (std::size_t k = 1; k < v.Magnitudes.size(); ++k) {
    const int x = FrequencyCurve.ToPixel(v.Resolution * static_cast<double>(k));
    const double m = v.Magnitudes[k];
    if (x == column) {
      low = std::min(low, m);
      high = std::max(high, m);
      continue;
    }
    flush();
    column = x;
    low = high = m;
  }
  flush();
  Canvas->SetPenWidth(LineWidth);
  Canvas->SetPenStyle(TPenStyle::Solid);
  Canvas->SetPenColour(ToQColor(c.Colour));
  Canvas->Polyline(points);
  Canvas->SetPenWidth(1);
}

void TGrapheSpectre::DrawPeakMark(int channel) {
  const TSpectreVoie& v = Voies[channel];
  if (v.Harmonics.empty())
    return;
  const analysis::Harmonic& h = v.Harmonics.front();
  const double m =
      scale_ == analysis::SpectrumScale::kDbv ? analysis::ToDbv(h.amplitude) : h.amplitude;
  const int x = FrequencyCurve.ToPixel(h.frequency);
  const int y = Curves[channel].ToPixel(m);
  // A small triangle pointing down at the top of the peak.
  const TClip clip(Canvas, PlotClip());
  Canvas->SetPenColour(ToQColor(Curves[channel].Colour));
  Canvas->SetPenStyle(TPenStyle::Solid);
  const int s = std::max(Margin, 3);
  Line(x, y - 1, x - s, y - 1 - 2 * s);
  Line(x - s, y - 1 - 2 * s, x + s, y - 1 - 2 * s);
  Line(x + s, y - 1 - 2 * s, x, y - 1);
}

std::vector<std::string> TGrapheSpectre::HarmonicLines(int channel) {
  std::vector<std::string> lines;
  const TSpectreVoie& v = Voies[channel];
  if (v.Harmonics.empty())
    return lines;
  lines.push_back("Voie " + std::to_string(channel) + " : rang, f, amplitude, dB");
  Tunite volts;
  volts.SetText("V");
  for (const analysis::Harmonic& h : v.Harmonics) {
    lines.push_back(std::to_string(h.number) + "   " + FrequencyCurve.FormatValue(h.frequency) +
                    "   " + volts.FormatValue(h.amplitude) + "   " +
                    FormatFixed(h.relativeDb, 4, 1) + " dB");
  }
  return lines;
}

void TGrapheSpectre::DrawHarmonicLists() {
  int y = PlotRect.Top + Margin;
  const int right = PlotRect.Right - 2 * Margin;
  for (int i = 0; i < 4; ++i) {
    if (!Voies[i].Visible)
      continue;
    Canvas->SetFontColour(ToQColor(Curves[i].Colour));
    for (const std::string& line : HarmonicLines(i)) {
      Canvas->TextOut(right, y, line, TTextAnchor::TopRight);
      y += CharHeight + 1;
    }
    y += Margin;
  }
  Canvas->SetFontColour(Qt::black);
}

std::uint8_t TGrapheSpectre::NearestBin(int& x, int& y, std::size_t& bin) const {
  std::uint8_t result = 4;
  TPick pick(x, y);
  std::size_t foundBin = 0;
  // Many bins share a pixel column: every bin within a few columns of the mouse is a
  // candidate, so that the peak under the mouse is found whichever of its bins the column
  // starts with.
  const double low = FrequencyCurve.FromPixel(x - kColumnSlack);
  const double high = FrequencyCurve.FromPixel(x + kColumnSlack);
  for (int i = 0; i < 4; ++i) {
    const TSpectreVoie& v = Voies[i];
    if (!v.Visible || v.Magnitudes.empty() || v.Resolution <= 0)
      continue;
    const double last = static_cast<double>(v.Magnitudes.size() - 1);
    const double from = std::clamp(std::floor(low / v.Resolution), 0.0, last);
    const double to = std::clamp(std::ceil(high / v.Resolution), 0.0, last);
    for (auto k = static_cast<std::size_t>(from); k <= static_cast<std::size_t>(to); ++k) {
      if (pick.Offer(FrequencyCurve.ToPixel(v.Resolution * static_cast<double>(k)),
                     Curves[i].ToPixel(v.Magnitudes[k]))) {
        result = static_cast<std::uint8_t>(i);
        foundBin = k;
      }
    }
  }
  if (result < 4) {
    x = pick.FoundX;
    y = pick.FoundY;
    bin = foundBin;
  }
  return result;
}

} // namespace qvt
