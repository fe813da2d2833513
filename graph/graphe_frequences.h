// SPDX-License-Identifier: GPL-3.0-or-later
// TGrapheSpectre: the magnitude spectra of the channels, drawn on the oscilloscope's canvas
// with the same axes: frequency from 0 to half the sample rate, amplitude in V or dBV; the
// peak of each channel marked and its fundamental and harmonics listed.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "courbe.h"
#include "graphe_base.h"
#include "fourier.h"

namespace qvt {

// One channel's spectrum as the window computed it.
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

  // The frequency curve "f" in "Hz" and the channel curves "Y0".."Y3" in the colours of the
  // oscilloscope's channels.
  explicit TGrapheSpectre(TCanvas* canvas = nullptr, TPaintBox* paintBox = nullptr);

  // Sets the scale of the magnitudes given from now on; the vertical unit and title follow.
  void SetScale(analysis::SpectrumScale scale);
  analysis::SpectrumScale Scale() const { return scale_; }

  // Chooses the ranges from the data: frequency 0 .. Nyquist (the highest bin of the visible
  // channels), amplitude 0 .. a margin above the highest bin in V, or the kDbvSpan decibels
  // below the next multiple of 20 dB above it in dBV. Run after new data, before Paint.
  void Fit();
  // Axes, traces, peak marks and the harmonic lists. Nothing without a canvas.
  void Paint();

  // The visible channel with the bin nearest (city-block, less than 32 pixels) to (x, y) among
  // the bins within 3 columns of x, the earlier channel and bin winning ties; x and y are
  // moved onto that bin's pixel and `bin` receives it. 4, with x and y unchanged, when there
  // is none. Uses the transforms of the last Paint.
  std::uint8_t NearestBin(int& x, int& y, std::size_t& bin) const;

  // The list's lines for a channel: "Voie 1 : fondamental et harmoniques", then
  // "n  f  A  dB" for each harmonic, in the code page of the labels.
  std::vector<std::string> HarmonicLines(int channel);

  TCourbe FrequencyCurve;
  std::array<TCourbe, 4> Curves;
  std::array<TSpectreVoie, 4> Voies;

private:
  void DrawTrace(int channel);
  void DrawPeakMark(int channel);
  void DrawHarmonicLists();

  analysis::SpectrumScale scale_ = analysis::SpectrumScale::kLinear;
};

} // namespace qvt
