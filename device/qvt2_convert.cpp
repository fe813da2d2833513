// SPDX-License-Identifier: GPL-3.0-or-later
// TQVT2: stored codes to volts and times, the clipped samples, input ranges, and the
// generator: fitting a frequency to the generator clocks, loading a table, stopping it.
#include <algorithm>
#include <array>
#include <cmath>
#include <stdexcept>
#include <string>

#include "qvt2.h"
#include "qvtlink.h"

namespace {
// Codes above 8,192 stand for code - 16,384 (14-bit two's complement).
int SignedCode(uint16_t code) {
  return code > 8192 ? code - 16384 : code;
}

// The converter's full-scale codes, +8,192 and -8,191, as the library's calibration leaves
// them: truncated products with the channel's gain, so that a gain below 1 clips a little
// inside the nominal range (0.998 clips at 8,175 codes, 7.48 V on the narrow range).
struct TScaleEnds {
  int High = 8192;
  int Low = -8191;
};

int Calibrated(int code, double gain) {
  const double v = code * gain;
  // A gain that would take the code out of 14 bits is none the library applies sensibly.
  return std::isfinite(v) && std::fabs(v) < 16384.0 ? static_cast<int>(v) : code;
}

TScaleEnds ScaleEnds(int32_t port, int channel) {
  std::array<double, TQVT2::kChannels> gains{1.0, 1.0, 1.0, 1.0};
  _GetAdjust(port, &gains[0], &gains[1], &gains[2], &gains[3]);
  const double g = gains[static_cast<size_t>(channel)];
  return {Calibrated(8192, g), Calibrated(-8191, g)};
}

// With a gain above 1 the calibrated ends pass the halves of the 14-bit code: the stored
// codes from Low + 16,384 to High stand for a positive code near full scale as well as for a
// negative one near the other end (both halves of a clipped sine land there).
bool EitherEnd(int stored, TScaleEnds ends) {
  return stored >= ends.Low + 16384 && stored <= ends.High;
}

int OnSide(int stored, bool positive) {
  return positive ? stored : stored - 16384;
}

// Signed codes of stored[0..n), handed to out(index, code). A run of codes that stand for
// either end takes the side of the sample before it, or of the one after it at the start: a
// signal does not go from one end of the scale to the other between two samples.
template <typename Out> void Decode(const uint16_t* stored, int n, TScaleEnds ends, Out&& out) {
  for (int i = 0; i < n;) {
    if (!EitherEnd(stored[i], ends)) {
      out(i, SignedCode(stored[i]));
      ++i;
      continue;
    }
    int j = i;
    while (j < n && EitherEnd(stored[j], ends))
      ++j;
    const bool positive =
        i > 0 ? SignedCode(stored[i - 1]) >= 0 : j >= n || SignedCode(stored[j]) >= 0;
    for (; i < j; ++i)
      out(i, OnSide(stored[i], positive));
  }
}

void CheckSize(std::span<const double> out) {
  if (out.size() < static_cast<size_t>(TQVT2::kStoreSize))
    throw std::out_of_range("conversion needs 16,385 values, got " + std::to_string(out.size()));
}

constexpr int32_t kGeneratorClocks[3] = {48'000'000, 12'000'000, 4'000'000};
constexpr int32_t kMaxPoints = 16'000;
} // namespace

void TQVT2::SetHighRange(int channel, bool wide) {
  CheckChannel(channel);
  uint8_t& range = Request.channel[channel].range;
  if (wide && range == 1) {
    range = 0;
    VoltsPerCode[channel] = kWideVoltsPerCode;
    Request.reconfigure = 1;
  } else if (!wide && range == 0) {
    range = 1;
    VoltsPerCode[channel] = kNarrowVoltsPerCode;
    Request.reconfigure = 1;
  }
}

void TQVT2::FillChannel(int channel, std::span<double> out) const {
  CheckChannel(channel);
  CheckSize(out);
  const int last = std::min(TotalPoints(), kStoreSize - 1);
  const double factor = VoltsPerCode[channel];
  Decode(Store[channel].data(), last + 1, ScaleEnds(PortHandle, channel),
         [&](int i, int code) { out[i] = code * factor; });
  std::fill(out.begin() + last + 1, out.begin() + kStoreSize, 0.0);
}

TClipping TQVT2::Clipping(int channel, int first, int end) const {
  CheckChannel(channel);
  const int n = std::min({end, TotalPoints() + 1, kStoreSize});
  const TScaleEnds ends = ScaleEnds(PortHandle, channel);
  TClipping clipping;
  first = std::max(first, 0);
  Decode(Store[channel].data(), n, ends, [&](int i, int code) {
    if (i >= first) {
      clipping.High = clipping.High || code >= ends.High;
      clipping.Low = clipping.Low || code <= ends.Low;
    }
  });
  return clipping;
}

int TQVT2::PointCode(int channel, int32_t stored) const {
  const int s = static_cast<uint16_t>(stored);
  if (!EitherEnd(s, ScaleEnds(PortHandle, channel)))
    return SignedCode(static_cast<uint16_t>(s));
  return OnSide(s, LatestValue[static_cast<size_t>(channel)].load() >= 0);
}

void TQVT2::FillTimes(std::span<double> out) const {
  CheckSize(out);
  // Divided, not multiplied by the period: i x (1 / rate) is off in the last digits.
  const double rate = SampleRate();
  for (int i = 0; i < kStoreSize; ++i)
    out[i] = i / rate;
}

double TQVT2::FirstSampleValue(int channel) const {
  CheckChannel(channel);
  return SignedCode(Store[channel][0]) * VoltsPerCode[channel];
}

void TQVT2::FitGeneratorFrequency(int32_t requestedHz) {
  const int32_t f = std::clamp<int32_t>(requestedHz, 1, 9'999);
  // The fastest clock that still fits one period in 16,000 samples, with the timer off;
  // below that the slowest clock divided further by the timer (65,536 - timer periods).
  GeneratorTimer = 0;
  GeneratorClockIndex = 0;
  GeneratorPoints = kGeneratorClocks[0] / f;
  if (GeneratorPoints < kMaxPoints) {
    GeneratorFrequency = kGeneratorClocks[0] / GeneratorPoints;
    return;
  }
  GeneratorTimer = 65'535;
  GeneratorClockIndex = 1;
  GeneratorPoints = kGeneratorClocks[1] / f;
  if (GeneratorPoints < kMaxPoints) {
    GeneratorFrequency = kGeneratorClocks[1] / GeneratorPoints;
    return;
  }
  GeneratorClockIndex = 2;
  GeneratorPoints = kGeneratorClocks[2] / f;
  if (GeneratorPoints < kMaxPoints) {
    GeneratorFrequency = kGeneratorClocks[2] / GeneratorPoints;
    return;
  }
  const int32_t m = GeneratorPoints / kMaxPoints + 1;
  GeneratorPoints /= m;
  GeneratorFrequency = (kGeneratorClocks[2] / GeneratorPoints) / m;
  GeneratorTimer = 65'536 - m;
}

void TQVT2::StartGenerator(std::span<const int32_t> samples) {
  if (samples.size() < static_cast<size_t>(kGeneratorSamples))
    throw std::out_of_range("generator table needs 16,000 samples, got " +
                            std::to_string(samples.size()));
  Generator.count = GeneratorPoints;
  Generator.clockIndex = GeneratorClockIndex;
  Generator.timerValue = GeneratorTimer;
  std::copy_n(samples.begin(), kGeneratorSamples, Generator.samples);
  _LanceGenerateur(PortHandle, GeneratorMode, &Generator);
}

void TQVT2::StopGenerator() {
  _StopGenerateur(PortHandle);
}
