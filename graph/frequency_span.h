// SPDX-License-Identifier: GPL-3.0-or-later
// The frequency range of the spectrum graph: the automatic span from the fundamentals found,
// and the range zoomed and panned with the mouse. Plain arithmetic, no drawing.
#pragma once

namespace qvt {

// A frequency range shown, in Hz.
struct TFrequencyRange {
  double Low = 0;
  double High = 0;

  friend bool operator==(const TFrequencyRange&, const TFrequencyRange&) = default;
};

// The span shown without a choice: about ten times the highest fundamental, rounded up to a
// graduation of the axis (a multiple of the 1, 2 or 5 step the axis would use), no more than
// `nyquist`. The whole 0 .. nyquist without a fundamental (highest <= 0).
double AutoFrequencySpan(double highestFundamental, double nyquist);

// `range` narrowed (factor < 1) or widened (factor > 1) around `at`, which keeps its place;
// held within 0 .. limit and no narrower than minWidth.
TFrequencyRange ZoomRange(TFrequencyRange range, double at, double factor, double limit,
                          double minWidth);
// `range` moved by `shift` Hz, its width kept, held within 0 .. limit.
TFrequencyRange PanRange(TFrequencyRange range, double shift, double limit);

} // namespace qvt
