// SPDX-License-Identifier: GPL-3.0-or-later
// TQVT2: stored codes to volts and times, input ranges, and the generator: fitting a
// frequency to the generator clocks, loading a table, stopping it.
#include <algorithm>
#include <stdexcept>
#include <string>

#include "qvt2.h"
#include "qvtlink.h"

namespace {
// Codes above 8,192 stand for code - 16,384 (14-bit two's complement).
int SignedCode(uint16_t code) {
  return code > 8192 ? code - 16384 : code;
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
  for (int i = 0; i <= last; ++i)
    out[i] = SignedCode(Store[channel][i]) * factor;
  std::fill(out.begin() + last + 1, out.begin() + kStoreSize, 0.0);
}

void TQVT2::FillTimes(std::span<double> out) const {
  CheckSize(out);
  const double step = 1.0 / SampleRate();
  for (int i = 0; i < kStoreSize; ++i)
    out[i] = i * step;
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
