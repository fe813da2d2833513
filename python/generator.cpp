// SPDX-License-Identifier: GPL-3.0-or-later
// The generator as the generator panel drives it: set the wave on TGBF, compute the table for
// the fitted frequency, play it.
#include "generator.h"

#include <algorithm>

#include <pybind11/pybind11.h>

#include "device.h"
#include "parser_errors.h"
#include "sweep_arguments.h"

namespace py = pybind11;

namespace qvt::python {
namespace {

// The evaluator separates the lines of its messages with "\r" (for a message box).
std::string OneLine(std::string text) {
  std::replace(text.begin(), text.end(), '\r', ' ');
  return text;
}

} // namespace

int TPyGenerator::Start(int waveform, double frequency, double amplitude, double offset,
                        double duty) {
  TGBF& gbf = Owner.Generator();
  const int hertz = FrequencyArgument(frequency);
  amplitude = OutputVoltsArgument("amplitude", amplitude);
  offset = OutputVoltsArgument("offset", offset);
  duty = DutyArgument(duty);
  Owner.Require();
  gbf.Frequency = hertz;
  gbf.Waveform = static_cast<uint8_t>(waveform);
  gbf.Amplitude = amplitude;
  gbf.Offset = offset;
  gbf.DutyCycle = duty;
  return Play();
}

int TPyGenerator::Formula(const std::string& text, double frequency) {
  TGBF& gbf = Owner.Generator();
  const int hertz = FrequencyArgument(frequency);
  Owner.Require();
  try {
    gbf.SetExpression(text);
  } catch (const EMathParserError& e) {
    throw std::invalid_argument("formula '" + text + "': " + OneLine(e.what()) +
                                "; accepted: a formula of t (0 to 1 over one period) in volts, "
                                "such as '5*sin(2*pi*t)'");
  }
  gbf.Frequency = hertz;
  gbf.Waveform = 3;
  return Play();
}

int TPyGenerator::Play() {
  TGBF& gbf = Owner.Generator();
  try {
    gbf.Compute();
  } catch (const EEvaluationError& e) {
    throw std::invalid_argument(std::string("formula '") + gbf.GetExpression() + "': " + e.what());
  }
  gbf.LoadOnly = false;
  {
    py::gil_scoped_release release;
    gbf.Start();
  }
  return gbf.Frequency;
}

void TPyGenerator::Stop() {
  TGBF& gbf = Owner.Generator();
  if (!Owner.IsOpen())
    return;
  py::gil_scoped_release release;
  gbf.Stop();
}

bool TPyGenerator::Running() const {
  return Owner.IsOpen() && Owner.Generator().Running;
}

} // namespace qvt::python
