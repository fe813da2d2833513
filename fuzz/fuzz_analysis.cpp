// SPDX-License-Identifier: GPL-3.0-or-later
// Any bytes as sweeps: a header (flags, sample period, range limits) and then samples, either
// raw doubles (NaN, infinities, huge values) or small integers in millivolts (shapes the
// fuzzer can steer into periodic signals), split into one to four channels. Every measurement,
// text and spectrum call must end normally, and every value given must be sane.
#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "fuzz_input.h"
#include "measure_text.h"
#include "measurer.h"
#include "fourier.h"

namespace {

using namespace qvt::analysis;

using qvt::fuzz::Take;

void CheckMeasurements(const Measurements& m) {
  for (const Quantity q : kAllQuantities) {
    const std::optional<double> v = ValueOf(m, q);
    CHECK(!v || std::isfinite(*v));
    CHECK(!MeasureText(q, v).empty());
  }
  CHECK(!m.frequency || *m.frequency > 0);
  CHECK(!m.peakToPeak || *m.peakToPeak >= 0);
  CHECK(!(m.min && m.max) || *m.min <= *m.max);
  CHECK(!m.dutyCycle || (*m.dutyCycle >= 0 && *m.dutyCycle <= 100));
  CHECK(!m.riseTime || *m.riseTime >= 0);
  CHECK(!m.fallTime || *m.fallTime >= 0);
  CHECK(!m.phase || (*m.phase > -180 && *m.phase <= 180));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto flags = Take<std::uint8_t>(data, size);
  const auto period = Take<double>(data, size);
  const auto rangeMin = static_cast<double>(Take<float>(data, size));
  const auto rangeMax = static_cast<double>(Take<float>(data, size));

  std::vector<double> samples;
  if (flags & 1) {
    while (size >= sizeof(double))
      samples.push_back(Take<double>(data, size));
  } else {
    while (size >= 1)
      samples.push_back(Take<std::int8_t>(data, size) * 1e-3);
  }

  const std::size_t channels = 1 + (flags >> 1) % 4;
  const std::size_t each = samples.size() / channels;
  std::array<ChannelInput, 4> in{};
  for (std::size_t c = 0; c < channels; ++c)
    in[c] = {std::span<const double>(samples).subspan(c * each, each),
             period,
             rangeMin,
             rangeMax,
             (flags >> c & 1) != 0,
             (flags >> (c + 4) & 1) != 0};

  static Measurer measurer;
  std::array<Measurements, 4> out{};
  measurer.Measure(std::span(in.data(), channels), (flags >> 3) % 5,
                   std::span(out.data(), channels));
  for (std::size_t c = 0; c < channels; ++c)
    CheckMeasurements(out[c]);
  CheckMeasurements(measurer.Measure(in[0]));

  static Spectrum spectrum;
  spectrum.SetWindow(static_cast<Window>((flags >> 5) % 5));
  spectrum.SetScale(flags & 0x80 ? SpectrumScale::kDbv : SpectrumScale::kLinear);
  spectrum.SetAveraging(flags % 7);
  if (flags & 0x40)
    spectrum.ResetAverage();
  if (spectrum.Compute(samples, period)) {
    // Magnitudes are bounded for moderate samples; an average may still hold earlier sweeps.
    bool moderate = spectrum.SweepsAveraged() == 1;
    for (const double v : samples)
      moderate = moderate && std::fabs(v) < 1e100;
    for (const double v : spectrum.LinearMagnitudes())
      CHECK(!moderate || (std::isfinite(v) && v >= 0));
    std::array<Harmonic, 8> h{};
    const std::size_t found = spectrum.Harmonics(h);
    CHECK(found <= h.size());
    if (const auto peak = spectrum.FindPeak())
      CHECK(!moderate || (std::isfinite(peak->frequency) && peak->frequency >= 0));
  }
  return 0;
}
