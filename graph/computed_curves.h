// SPDX-License-Identifier: GPL-3.0-or-later
// TComputedCurves: the computed quantities ("Calculs") as curves of the graphs. It holds the
// definitions, the constants and how each quantity is shown, checks them as a whole set, and
// computes one TCourbe per quantity from the channel curves of a sweep or from the recorded
// points. No widget here: the window, the files and the tests share it.
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "colour.h"
#include "computed.h"
#include "courbe.h"

namespace qvt {

// How one computed quantity is shown. Colour 0 (black) is never a quantity's own: it stands
// for the default colour of its rank, ComputedColour(k).
struct TComputedDisplay {
  TColour Colour = 0;
  bool AutoScale = true;      // the range follows its values at each computation
  double Mini = -1, Maxi = 1; // the range typed, SI units, when not AutoScale
  bool Visible = true;        // drawn in the graphs
  bool operator==(const TComputedDisplay&) const = default;
};

// The default colour of computed quantity k (0..7): dark and distinct from the channels'
// blue, red, magenta and green, so that a quantity is never mistaken for a channel.
TColour ComputedColour(int k);

class TComputedCurves {
public:
  // Checks the whole set with analysis::ComputedModel::Define against the four channels (their
  // quantity names and units) and takes it, or changes nothing and returns why. `displays`
  // holds one entry per definition (missing ones are defaults, extra ones dropped).
  // `abscissaUnit`: what derivatives and integrals are taken against ("s" for sweeps, the
  // abscissa channel's unit in point mode).
  std::optional<analysis::ComputedError>
  Define(const std::array<analysis::ComputedChannel, 4>& channels,
         std::vector<analysis::ComputedConstant> constants,
         std::vector<analysis::ComputedDefinition> definitions,
         std::vector<TComputedDisplay> displays, std::string_view abscissaUnit = "s");
  // The same set checked again after a channel was renamed or the abscissa changed. On
  // refusal the set is kept (it stays in the dialog and the settings, nothing the user typed
  // is lost) but nothing is computed: Curves is empty and Refused() holds the message until a
  // Define or a Recheck succeeds.
  std::optional<analysis::ComputedError>
  Recheck(const std::array<analysis::ComputedChannel, 4>& channels,
          std::string_view abscissaUnit = "s");

  // Takes a set as it is, unchecked (one read from the settings): nothing is computed until a
  // Recheck or a Define accepts it; meanwhile Refused() says it is not checked yet. Displays
  // as in Define.
  void Keep(std::vector<analysis::ComputedConstant> constants,
            std::vector<analysis::ComputedDefinition> definitions,
            std::vector<TComputedDisplay> displays);

  std::size_t Count() const { return definitions_.size(); }
  const std::optional<analysis::ComputedError>& Refused() const { return refused_; }
  const std::vector<analysis::ComputedDefinition>& Definitions() const { return definitions_; }
  const std::vector<analysis::ComputedConstant>& Constants() const { return constants_; }
  const std::vector<TComputedDisplay>& Displays() const { return displays_; }
  // The unit shown for quantity k: typed, else the unit algebra's (may be empty; the typed
  // one alone while a set kept unchecked is refused).
  const std::string& Unit(std::size_t k) const;

  // Computes every quantity from `count` samples of a sweep: the channel curves (a channel
  // that is not Visible reads as gaps) against `time`; integrals start at sample
  // `integralStart` (the left marker). Curves then holds one curve per quantity: its name as
  // QuantityName, its unit, colour, Index 4 + k, Visible from its display, Value[0..count)
  // with kNoValue for the gaps, and Mini/Maxi: the typed range, or with AutoScale the range
  // of its finite values widened by 5 % (a flat curve: ±1 around it, or ±1 % of its
  // magnitude; no finite value: -1..1). Returns the first error Compute reports (a
  // derivative with more points than there are samples: that curve is all gaps).
  std::optional<analysis::ComputedError> ComputeSweep(const std::array<TCourbeOsc, 4>& channels,
                                                      const TCourbe& time, int count,
                                                      std::size_t integralStart = 0);
  // The same for the recorded points of point mode: `count` points of the channel curves;
  // derivatives and integrals against channel `abscissa` (against the point's number when that
  // channel is hidden or `abscissa` is outside 0..3), t the point's number.
  std::optional<analysis::ComputedError> ComputePoints(const std::array<TCourbePoint, 4>& channels,
                                                       int abscissa, int count);

  // One per quantity after a Compute (empty before the first, after each Define or Recheck
  // until the next Compute, and while Refused()).
  std::vector<TCourbe> Curves;

private:
  // Compute over the samples given, then the curves from its values.
  std::optional<analysis::ComputedError> Compute(const analysis::ComputedInput& input);

  analysis::ComputedModel model_;
  std::vector<analysis::ComputedConstant> constants_;
  std::vector<analysis::ComputedDefinition> definitions_;
  std::vector<TComputedDisplay> displays_;
  std::optional<analysis::ComputedError> refused_;
  bool kept_ = false; // the set was kept unchecked and the model has not accepted it since
};

} // namespace qvt
