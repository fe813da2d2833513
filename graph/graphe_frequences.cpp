// SPDX-License-Identifier: GPL-3.0-or-later
// TGrapheSpectre: ranges, axes and traces of the spectra, peak marks and harmonic lists, and
// the frequency range under the mouse. Loops over the channels' entries and the computed
// quantities' alike; only the ranges and the axes tell them apart.
#include "graphe_frequences.h"

#include "ansi.h"
#include "canvas.h"
#include "graph_settings.h"
#include "numtext.h"
#include "translate.h"

#include <QCoreApplication>

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace qvt {
namespace {

// Columns either side of the mouse whose bins it may pick.
constexpr int kColumnSlack = 3;
// The narrowest frequency range the wheel gives, in bins.
constexpr double kNarrowestBins = 8;
// The frequency range without data.
constexpr double kEmptyRange = 1000;
// The share of the picture's height the harmonics lists may take at most.
constexpr double kListsShare = 0.4;

std::string ChannelName(int channel) {
  return "V" + std::to_string(channel);
}

} // namespace

TGrapheSpectre::TGrapheSpectre(TCanvas* canvas, TPaintBox* paintBox)
    : TGrapheBase(canvas, paintBox), FrequencyCurve("f", 0, "Hz") {
  FrequencyCurve.Mini = 0;
  FrequencyCurve.Maxi = kEmptyRange;
  for (int i = 0; i < kChannels; ++i)
    Curves.emplace_back(ChannelName(i), i, "V");
  SetComputedCount(0);
}

void TGrapheSpectre::SetComputedCount(std::size_t count) {
  const std::size_t entries = kChannels + count;
  const std::size_t before = units_.size(); // the entries set up so far
  Curves.resize(entries, TCourbe("", 0, "V"));
  Voies.resize(entries);
  units_.resize(entries);
  for (std::size_t i = before; i < entries; ++i) {
    Curves[i].Mini = 0;
    Curves[i].Maxi = 1;
    units_[i].SetText("V");
  }
}

void TGrapheSpectre::SetScale(analysis::SpectrumScale scale) {
  scale_ = scale;
  for (std::size_t i = 0; i < Curves.size(); ++i)
    ApplyUnit(static_cast<int>(i));
}

void TGrapheSpectre::FollowChannel(int channel, const TCourbe& source) {
  if (channel < 0 || channel >= static_cast<int>(Curves.size()))
    return;
  TCourbe& c = Curves[static_cast<std::size_t>(channel)];
  c.QuantityName = source.QuantityName;
  c.Colour = source.Colour;
  units_[static_cast<std::size_t>(channel)].Assign(source);
  ApplyUnit(channel);
}

void TGrapheSpectre::ApplyUnit(int channel) {
  TCourbe& c = Curves[static_cast<std::size_t>(channel)];
  Tunite unit = units_[static_cast<std::size_t>(channel)];
  if (scale_ == analysis::SpectrumScale::kDbv)
    c.SetText("dB" + unit.UnitText(0)); // dB of the unit: "dBV"
  else
    c.Assign(unit);
}

double TGrapheSpectre::Nyquist() const {
  double nyquist = 0;
  for (const TSpectreVoie& v : Voies)
    if (v.Visible && !v.Magnitudes.empty())
      nyquist = std::max(nyquist, v.Resolution * static_cast<double>(v.Magnitudes.size() - 1));
  return nyquist > 0 ? nyquist : kEmptyRange;
}

double TGrapheSpectre::HighestFundamental() const {
  double highest = 0;
  std::vector<double> bins;
  for (const TSpectreVoie& v : Voies) {
    if (!v.Visible || v.Harmonics.empty() || v.Magnitudes.size() < 3)
      continue;
    const analysis::Harmonic& h = v.Harmonics.front();
    bins.assign(v.Magnitudes.begin() + 1, v.Magnitudes.end());
    const auto middle = bins.begin() + static_cast<std::ptrdiff_t>(bins.size() / 2);
    std::nth_element(bins.begin(), middle, bins.end());
    const bool clear = scale_ == analysis::SpectrumScale::kDbv
                           ? analysis::ToDbv(h.amplitude) >= *middle + kToneOverFloorDb
                           : h.amplitude >= *middle * std::pow(10.0, kToneOverFloorDb / 20);
    if (clear)
      highest = std::max(highest, h.frequency);
  }
  return highest;
}

void TGrapheSpectre::Fit() {
  const double floor = scale_ == analysis::SpectrumScale::kDbv ? analysis::Spectrum::kFloorDbv : 0;
  auto highest = [&](const TSpectreVoie& v, double top) {
    if (!v.Visible || v.Magnitudes.empty())
      return top;
    // Bin 0 (the mean) is left out: an offset would flatten every tone.
    for (std::size_t k = 1; k < v.Magnitudes.size(); ++k)
      top = std::max(top, v.Magnitudes[k]);
    return top;
  };
  auto setRange = [&](TCourbe& c, double top) {
    if (scale_ == analysis::SpectrumScale::kDbv) {
      c.Maxi = 20 * std::ceil((top + 1) / 20);
      c.Mini = c.Maxi - kDbvSpan;
    } else {
      c.Mini = 0;
      c.Maxi = top > 1e-9 ? top * 1.1 : 1;
    }
  };
  // The channels share a range; a computed quantity, in a unit of its own, has its own.
  double top = floor;
  for (int i = 0; i < kChannels; ++i)
    top = highest(Voies[i], top);
  for (int i = 0; i < kChannels; ++i)
    setRange(Curves[i], top);
  for (std::size_t i = kChannels; i < Voies.size(); ++i)
    setRange(Curves[i], highest(Voies[i], floor));
  const double nyquist = Nyquist();
  if (zoomed_) {
    // A shorter sweep's Nyquist may cut the chosen range: it is moved or narrowed into it.
    zoom_ = PanRange(zoom_, 0, nyquist);
    FrequencyCurve.Mini = zoom_.Low;
    FrequencyCurve.Maxi = zoom_.High;
  } else {
    FrequencyCurve.Mini = 0;
    FrequencyCurve.Maxi = MaxFrequency > 0 ? std::min(MaxFrequency, nyquist)
                                           : AutoFrequencySpan(HighestFundamental(), nyquist);
  }
}

void TGrapheSpectre::Paint() {
  if (!BeginPaint())
    return;
  const auto computed = std::find_if(Voies.begin() + kChannels, Voies.end(),
                                     [](const TSpectreVoie& v) { return v.Visible; });
  LayOut(1, computed != Voies.end());
  LayOutHarmonicLists();
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
    for (int i = 0; i < kChannels; ++i)
      if (Voies[i].Visible) {
        DrawVerticalAxis(Curves[i]);
        break;
      }
    // The first computed quantity's axis at the right, as over the time graph.
    if (computed != Voies.end())
      DrawVerticalAxis(Curves[static_cast<std::size_t>(computed - Voies.begin())], true);
  }
  for (int i = 0; i < static_cast<int>(Voies.size()); ++i)
    if (Voies[i].Visible && !Voies[i].Magnitudes.empty()) {
      DrawTrace(i);
      DrawPeakMark(i);
    }
  DrawHarmonicLists();
  Canvas->SetPenStyle(TPenStyle::Solid);
}

void TGrapheSpectre::LayOutHarmonicLists() {
  // Rows are measured as they are drawn: fields right-aligned in columns a character apart.
  std::vector<std::vector<int>> widths(Voies.size());
  for (int i = 0; i < static_cast<int>(Voies.size()); ++i) {
    if (!Voies[i].Visible)
      continue;
    const std::vector<std::array<std::string, 4>> rows = HarmonicRows(i);
    if (rows.empty())
      continue;
    int row = 3 * CharWidth;
    for (std::size_t j = 0; j < 4; ++j) {
      int field = 0;
      for (const std::array<std::string, 4>& r : rows)
        field = std::max(field, Canvas->TextWidth(r[j]));
      row += field;
    }
    widths[i].push_back(Canvas->TextWidth(HarmonicHeading(i)));
    widths[i].insert(widths[i].end(), rows.size(), row);
  }
  const int pitch = Canvas->TextHeight("0");
  const int maxBand = static_cast<int>(kListsShare * (PaintRect.Bottom - PaintRect.Top));
  // Lists a character and a margin apart, so that one list's last column and the next one's
  // ranks do not read as one line.
  Lists = LayOutLists(widths, pitch, CharWidth + Margin, PaintRect, maxBand);
  // The axis's labels hang a line's height under the axis, the lists under them.
  PlotRect.Bottom = PaintRect.Bottom - Lists.BandHeight;
  if (RoomX)
    PlotRect.Bottom -= Margin + pitch;
  labelsBottom_ = PaintRect.Bottom - Lists.BandHeight;
}

bool TGrapheSpectre::OverFrequencyAxis(int x, int y) const {
  return PlotRect.Left <= x && x < PlotRect.Right && PlotRect.Top <= y && y < labelsBottom_;
}

void TGrapheSpectre::ZoomAt(int x, double notches) {
  double resolution = 0;
  for (const TSpectreVoie& v : Voies)
    if (v.Visible && !v.Magnitudes.empty())
      resolution = std::max(resolution, v.Resolution);
  zoom_ = ZoomRange({FrequencyCurve.Mini, FrequencyCurve.Maxi}, FrequencyCurve.FromPixel(x),
                    std::pow(kZoomStep, notches), Nyquist(), kNarrowestBins * resolution);
  zoomed_ = true;
  FrequencyCurve.Mini = zoom_.Low;
  FrequencyCurve.Maxi = zoom_.High;
}

void TGrapheSpectre::PanBy(int dx) {
  if (!(FrequencyCurve.A > 0))
    return;
  zoom_ = PanRange({FrequencyCurve.Mini, FrequencyCurve.Maxi}, -dx / FrequencyCurve.A, Nyquist());
  zoomed_ = true;
  // The transform moves with the range, so that the next move reads the mouse against it.
  FrequencyCurve.B -= (zoom_.Low - FrequencyCurve.Mini) * FrequencyCurve.A;
  FrequencyCurve.Mini = zoom_.Low;
  FrequencyCurve.Maxi = zoom_.High;
}

void TGrapheSpectre::DrawTrace(int channel) {
  const TSpectreVoie& v = Voies[channel];
  const TCourbe& c = Curves[channel];
  const TClip clip(Canvas, PlotClip());
  // Only the bins of the range shown, and one either side so that the trace reaches the
  // plot's edges.
  const double last = static_cast<double>(v.Magnitudes.size() - 1);
  const double resolution = v.Resolution > 0 ? v.Resolution : 1;
  const auto from = static_cast<std::size_t>(
      std::clamp(std::floor(FrequencyCurve.Mini / resolution) - 1, 0.0, last));
  const auto to = static_cast<std::size_t>(
      std::clamp(std::ceil(FrequencyCurve.Maxi / resolution) + 1, 0.0, last));
  // Several bins to a pixel column are drawn as that column's lowest and highest bin, so
  // that a narrow tone keeps its height however many bins share its column.
  std::vector<QPoint> points;
  points.reserve(2 * static_cast<std::size_t>(std::max(PlotRect.Right - PlotRect.Left, 1)) + 2);
  int column = FrequencyCurve.ToPixel(v.Resolution * static_cast<double>(from));
  double low = v.Magnitudes[from], high = v.Magnitudes[from];
  auto flush = [&] {
    points.emplace_back(column, c.ToPixel(high));
    if (low != high)
      points.emplace_back(column, c.ToPixel(low));
  };
  for (std::size_t k = from + 1; k <= to; ++k) {
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

std::string TGrapheSpectre::HarmonicHeading(int channel) const {
  if (Voies[channel].Harmonics.empty())
    return {};
  // The canvas draws code page texts: the translation is converted before the name goes in.
  const std::string name =
      channel < kChannels
          ? TrArg(AnsiFromQString(QCoreApplication::translate("TGrapheSpectre", "Voie %1")),
                  {std::to_string(channel)})
          : Curves[channel].QuantityName;
  return TrArg(
      AnsiFromQString(QCoreApplication::translate("TGrapheSpectre", "%1 : rang, f, A, dB")),
      {name});
}

std::vector<std::array<std::string, 4>> TGrapheSpectre::HarmonicRows(int channel) {
  std::vector<std::array<std::string, 4>> rows;
  Tunite unit = units_[static_cast<std::size_t>(channel)];
  for (const analysis::Harmonic& h : Voies[channel].Harmonics)
    rows.push_back({std::to_string(h.number), FrequencyCurve.FormatValue(h.frequency),
                    unit.FormatValue(h.amplitude), FormatFixed(h.relativeDb, 4, 1)});
  return rows;
}

std::vector<std::string> TGrapheSpectre::HarmonicLines(int channel) {
  std::vector<std::string> lines;
  if (Voies[channel].Harmonics.empty())
    return lines;
  lines.push_back(HarmonicHeading(channel));
  for (const std::array<std::string, 4>& r : HarmonicRows(channel))
    lines.push_back(r[0] + "   " + r[1] + "   " + r[2] + "   " + r[3] + " dB");
  return lines;
}

void TGrapheSpectre::DrawHarmonicLists() {
  if (Lists.Lines == 0)
    return;
  const int pitch = Canvas->TextHeight("0");
  for (int i = 0; i < static_cast<int>(Lists.Boxes.size()); ++i) {
    const TRect& box = Lists.Boxes[static_cast<std::size_t>(i)];
    if (box.Right == box.Left)
      continue;
    std::vector<std::array<std::string, 4>> rows = HarmonicRows(i);
    rows.resize(std::min(rows.size(), static_cast<std::size_t>(Lists.Lines - 1)));
    std::array<int, 4> widths{};
    for (const std::array<std::string, 4>& r : rows)
      for (std::size_t j = 0; j < 4; ++j)
        widths[j] = std::max(widths[j], Canvas->TextWidth(r[j]));
    Canvas->SetFontColour(ToQColor(Curves[i].Colour));
    Canvas->TextOut(box.Left, box.Top, HarmonicHeading(i));
    int y = box.Top + pitch;
    for (const std::array<std::string, 4>& r : rows) {
      // Each field ends at its column's right edge, the columns a character apart.
      int x = box.Left;
      for (std::size_t j = 0; j < 4; ++j) {
        x += widths[j] + (j > 0 ? CharWidth : 0);
        Canvas->TextOut(x, y, r[j], TTextAnchor::TopRight);
      }
      y += pitch;
    }
  }
  Canvas->SetFontColour(Qt::black);
}

std::uint8_t TGrapheSpectre::NearestBin(int& x, int& y, std::size_t& bin) const {
  const auto none = static_cast<std::uint8_t>(Voies.size());
  std::uint8_t result = none;
  TPick pick(x, y);
  std::size_t foundBin = 0;
  // Many bins share a pixel column: every bin within a few columns of the mouse is a
  // candidate, so that the peak under the mouse is found whichever of its bins the column
  // starts with.
  const double low = FrequencyCurve.FromPixel(x - kColumnSlack);
  const double high = FrequencyCurve.FromPixel(x + kColumnSlack);
  for (int i = 0; i < static_cast<int>(Voies.size()); ++i) {
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
  if (result != none) {
    x = pick.FoundX;
    y = pick.FoundY;
    bin = foundBin;
  }
  return result;
}

} // namespace qvt
