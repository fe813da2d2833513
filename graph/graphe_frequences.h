// SPDX-License-Identifier: GPL-3.0-or-later
// TGrapheSpectre: the magnitude spectra of the channels and of the computed quantities, drawn
// on the oscilloscope's canvas with the same axes: frequency over an automatic or chosen span
// (zoomed and panned with the mouse), amplitude in the channel's unit or in dB of it (a
// computed quantity's on an axis of its own at the right, as over the time graph); the peak of
// each spectrum marked and its fundamental and harmonics listed under the frequency axis.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "courbe.h"
#include "fourier.h"
#include "frequency_span.h"
#include "graphe_base.h"
#include "harmonic_lists.h"

namespace qvt {

// One channel's or computed quantity's spectrum as the window computed it.
struct TSpectreVoie {
  bool Visible = false;
  std::vector<double> Magnitudes;            // bins 0..N/2, in the graph's scale (V or dBV)
  double Resolution = 0;                     // Hz between bins
  std::vector<analysis::Harmonic> Harmonics; // fundamental first; empty without a tone
};

class TGrapheSpectre : public TGrapheBase {
public:
  // The lowest dBV shown: the plot spans this many decibels below its top.
  static constexpr double kDbvSpan = 120.0;

  // A fundamental counts for the automatic span only this many dB above the median bin of
  // its channel: the largest bin of an input left open is noise, not a tone.
  static constexpr double kToneOverFloorDb = 20.0;
  // One wheel notch narrows the frequency range to this share of it (or widens it back).
  static constexpr double kZoomStep = 0.8;

  // The entries of Curves and Voies: the four channels, then the computed quantities.
  static constexpr int kChannels = 4;

  // The frequency curve "f" in "Hz" and the channel curves "V0".."V3" in "V" in the colours of
  // the oscilloscope's channels, until FollowChannel; no computed quantity.
  explicit TGrapheSpectre(TCanvas* canvas = nullptr, TPaintBox* paintBox = nullptr);

  // Keeps an entry for each of `count` computed quantities after the channels' (new ones
  // hidden, in "V" until FollowChannel).
  void SetComputedCount(std::size_t count);

  // Sets the scale of the magnitudes given from now on; the vertical unit and title follow.
  void SetScale(analysis::SpectrumScale scale);
  analysis::SpectrumScale Scale() const { return scale_; }
  // Entry `channel` (0..3, or a computed quantity's kChannels + k) is shown with the
  // quantity's name, the unit and the colour of `source`, its time curve: the vertical title
  // reads "V0/V" (or "P/W") as over the time graph, and "V0/dBV" (dB of the unit) in the
  // logarithmic scale.
  void FollowChannel(int channel, const TCourbe& source);

  // Chooses the ranges from the data. Frequency: the range the mouse chose (ZoomAt, PanBy)
  // until ResetZoom; otherwise 0 .. MaxFrequency when one is chosen, or 0 .. the automatic
  // span (AutoFrequencySpan of the highest fundamental standing kToneOverFloorDb clear of
  // its channel's median bin); never beyond Nyquist (the highest bin of the visible
  // entries). Amplitude: 0 .. a margin above the highest bin in V, or the kDbvSpan decibels
  // below the next multiple of 20 dB above it in dBV; one range for the channels, one for each
  // computed quantity from its own bins. Run after new data, before Paint.
  void Fit();
  // Axes, traces, peak marks and the harmonic lists, these in a band under the frequency
  // axis's labels (Lists), clear of the plot. Nothing without a canvas.
  void Paint();

  // True when (x, y) lies over the plot or the frequency axis with its labels, where the
  // wheel and a drag act on the frequency range. Uses the layout of the last Paint.
  bool OverFrequencyAxis(int x, int y) const;
  // The wheel at column x: `notches` narrow the range around the frequency under x (wider
  // for negative ones), down to 8 bins, up to 0 .. Nyquist. Takes effect at the next Paint.
  void ZoomAt(int x, double notches);
  // A drag by dx pixels: the range follows the mouse, within 0 .. Nyquist.
  void PanBy(int dx);
  // Forgets the range the mouse chose; the next Fit takes the span again.
  void ResetZoom() { zoomed_ = false; }
  bool Zoomed() const { return zoomed_; }

  // The visible entry with the bin nearest (city-block, less than 32 pixels) to (x, y) among
  // the bins within 3 columns of x, the earlier entry and bin winning ties; x and y are
  // moved onto that bin's pixel and `bin` receives it. Voies.size() (4 without computed
  // quantities), with x and y unchanged, when there is none. Uses the transforms of the last
  // Paint.
  std::uint8_t NearestBin(int& x, int& y, std::size_t& bin) const;

  // The list's heading for a channel, "Voie 1 : rang, f, A, dB" ("P : rang, f, A, dB" for a
  // computed quantity), and a row of four fields for each harmonic: rank, frequency,
  // amplitude in the entry's unit, dB from the fundamental (the number alone, the heading
  // giving the unit), in the code page of the labels. No heading and no rows without a tone.
  std::string HarmonicHeading(int channel) const;
  std::vector<std::array<std::string, 4>> HarmonicRows(int channel);
  // The same as lines: the heading, then each row's fields three spaces apart, "dB" after
  // the last.
  std::vector<std::string> HarmonicLines(int channel);

  // The highest frequency shown without the mouse's range (Hz); 0 for the automatic span.
  double MaxFrequency = 0;

  TCourbe FrequencyCurve;
  std::vector<TCourbe> Curves;     // kChannels, then one per computed quantity
  std::vector<TSpectreVoie> Voies; // the same entries
  TListsLayout Lists;              // the harmonics lists of the last Paint, one box per entry

private:
  void ApplyUnit(int channel);
  double Nyquist() const;
  double HighestFundamental() const;
  void LayOutHarmonicLists();
  void DrawTrace(int channel);
  void DrawPeakMark(int channel);
  void DrawHarmonicLists();

  analysis::SpectrumScale scale_ = analysis::SpectrumScale::kLinear;
  std::vector<Tunite> units_;
  bool zoomed_ = false;
  TFrequencyRange zoom_;
  int labelsBottom_ = 0; // the row under the frequency axis's labels
};

} // namespace qvt
