// SPDX-License-Identifier: GPL-3.0-or-later
// Spectral windows: the five cosine-sum windows of the spectrum, their samples, their coherent
// gain and their response to a tone lying between two bins.
#pragma once

#include <cstddef>
#include <span>

namespace qvt::analysis {

enum class Window { kHann, kRectangular, kHamming, kBlackmanHarris, kFlatTop };

// Fills w (size N >= 1) with the periodic window of length N: w[i] = sum over m of
// (-1)^m a_m cos(2 pi m i / N), so that a whole number of periods of a tone falls on one bin.
void FillWindow(Window window, std::span<double> w);

// The mean of the window's samples (its coherent gain), the same for every length: a_0.
double CoherentGain(Window window);

// Half the width of the window's main lobe, in bins, rounded up: the bins on each side of a
// peak that still belong to it (1 rectangular, 2 Hann and Hamming, 4 Blackman-Harris, 5
// flat-top).
int MainLobeHalfWidth(Window window);

// |W(offset)| / W(0), where W is the discrete-time Fourier transform of the N-point window and
// offset is in bins: how much of a tone's amplitude a bin `offset` bins away reads.
double WindowResponse(Window window, std::size_t n, double offset);

} // namespace qvt::analysis
