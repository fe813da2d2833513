// SPDX-License-Identifier: GPL-3.0-or-later
// TGBF: the function generator as the program sees it. It holds the wave chosen on the
// generator panel, computes one period of output codes for the frequency the device object
// fits to the generator clocks, and starts and stops the interface's output through it.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "parser.h"

class TQVT2;
namespace qvt {
class TCanvas;
}

class TGBF {
public:
  static constexpr int kTableSize = 16001;

  // The device object that fits frequencies and plays tables; it must outlive its use here
  // and may be attached later (the program creates the generator before the device).
  explicit TGBF(TQVT2* device = nullptr);
  void SetDevice(TQVT2* device) { Device = device; }

  // Fills Samples for Frequency, Waveform, Amplitude, Offset, DutyCycle (and the expression
  // for the arbitrary wave) and replaces Frequency by the frequency obtained. Evaluation
  // errors of the expression (qvt::EEvaluationError) pass out; the table is then partly
  // refilled. std::logic_error without a device.
  void Compute();
  // Plays the table of the last Compute; Stop ends the output.
  void Start();
  void Stop();

  // The arbitrary wave's formula of t (0 to 1 over one period). A text that does not compile
  // raises the evaluator's exception; the wave is then 0 V until a good formula is set.
  void SetExpression(std::string_view text);
  const std::string& GetExpression() const { return Parser.Expression(); }

  // Output code of a voltage: 8192 at 0 V, 819.2 codes per volt, decreasing as the voltage
  // rises, rounded half to even and kept within 0..16384.
  static int32_t VoltsToCode(double volts);

  // Draws two periods of the table of the last Compute into (0, 0)-(width, height) of the
  // canvas, with the 0 V level dotted and the words "Deux périodes". Built in the target
  // qvt_generator_preview, which brings the drawing layer.
  void DrawPreview(qvt::TCanvas& canvas, int width, int height) const;

  qvt::TParser Parser;
  std::array<int32_t, kTableSize> Samples{};
  bool LoadOnly = false;
  int32_t Frequency = 0;
  double Amplitude = 0;
  double Offset = 0;
  double DutyCycle = 0;
  uint8_t Waveform = 0; // 0 square, 1 triangle, 2 sine, 3 arbitrary
  bool Running = false;

private:
  TQVT2& RequireDevice() const;
  TQVT2* Device;
};

// The preview of the table: two periods across a box, as the generator panel draws them.
struct TGBFPreview {
  struct Point {
    int x, y;
  };
  std::vector<Point> Trace; // starts at the first sample, then one point per sample, twice
  int MidLevelY = 0;        // the dotted line of code 8192
  Point TextAt{0, 0};       // where "Deux périodes" is written
};

// The preview geometry for `points` samples of `samples` in a box of width x height pixels.
TGBFPreview ComputePreview(const std::array<int32_t, TGBF::kTableSize>& samples, int points,
                           int width, int height);

// The program's one generator, created at start-up before the main window.
extern TGBF* Generator;
