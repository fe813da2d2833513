// SPDX-License-Identifier: GPL-3.0-or-later
// TGBF: the square, triangle, sine and arbitrary waves as tables of output codes, and their
// preview geometry.
#include "gbf.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <stdexcept>

#include "qvt2.h"

TGBF* Generator = nullptr;

TGBF::TGBF(TQVT2* device) : Device(device) {
  Parser.SetExpression("t*5");
}

TQVT2& TGBF::RequireDevice() const {
  if (Device == nullptr)
    throw std::logic_error("the generator has no device");
  return *Device;
}

int32_t TGBF::VoltsToCode(double volts) {
  // nearbyint rounds halves to even in the default rounding mode.
  const double code = std::nearbyint(-volts * 16384.0 / 20.0) + 8192.0;
  return static_cast<int32_t>(std::clamp(code, 0.0, 16384.0));
}

void TGBF::Compute() {
  TQVT2& device = RequireDevice();
  device.FitGeneratorFrequency(Frequency);
  const int n = std::clamp(device.GeneratorPoints, 4, kTableSize - 1);
  const double dt = 1.0 / n;
  Frequency = device.GeneratorFrequency;

  switch (Waveform) {
  case 2:
    for (int i = 0; i < n; ++i)
      Samples[i] = VoltsToCode(Amplitude * std::sin(i * 2 * std::numbers::pi * dt) + Offset);
    break;
  case 3:
    for (int i = 0; i < n; ++i) {
      Parser.T = i * dt;
      Samples[i] = VoltsToCode(Parser.Value());
    }
    break;
  default: {
    // The first part (k + 1 samples) rises for the triangle or sits low for the square; the
    // rest falls back or sits high.
    int k = static_cast<int>(std::nearbyint(n * DutyCycle));
    k = std::clamp(k, 2, n - 2);
    const bool triangle = Waveform == 1;
    const double rise = 2 * Amplitude / k;
    for (int i = 0; i <= k; ++i)
      Samples[i] = VoltsToCode((triangle ? i * rise - Amplitude : -Amplitude) + Offset);
    const double fall = 2 * Amplitude / (n - k);
    const double top = k * fall + Amplitude;
    for (int i = k + 1; i < n; ++i)
      Samples[i] = VoltsToCode((triangle ? top - i * fall : Amplitude) + Offset);
  }
  }
  std::fill(Samples.begin() + n, Samples.end(), 0);
}

void TGBF::Start() {
  TQVT2& device = RequireDevice();
  device.StopGenerator();
  device.GeneratorMode = LoadOnly ? 0 : 1;
  device.StartGenerator(Samples);
  Running = !LoadOnly;
}

void TGBF::Stop() {
  RequireDevice().StopGenerator();
  Running = false;
}

void TGBF::SetExpression(std::string_view text) {
  Parser.SetExpression(text);
}

TGBFPreview ComputePreview(const std::array<int32_t, TGBF::kTableSize>& samples, int points,
                           int width, int height) {
  TGBFPreview preview;
  const int n = std::clamp(points, 1, TGBF::kTableSize - 1);
  const double xs = static_cast<double>(width) / n / 2;
  const double ys = static_cast<double>(height) / 16384;
  auto y = [&](int i) { return static_cast<int>(std::nearbyint(samples[i] * ys)); };
  preview.Trace.reserve(2 * n + 1);
  preview.Trace.push_back({0, y(0)});
  for (int period = 0; period < 2; ++period)
    for (int i = 0; i < n; ++i)
      preview.Trace.push_back({static_cast<int>(std::nearbyint((i + period * n) * xs)), y(i)});
  preview.MidLevelY = height / 2;
  preview.TextAt = {static_cast<int>(std::nearbyint(n * xs / 2)), 4};
  return preview;
}
