// SPDX-License-Identifier: GPL-3.0-or-later
// Argument checks of the Python module. Messages are English, as Python's own are.
#include "sweep_arguments.h"

#include <cmath>
#include <cstdio>
#include <stdexcept>

#include "oscillo_rules.h"
#include "timebase_names.h"
#include "timebases.h"

namespace qvt::python {

namespace {

std::string Number(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%g", value);
  return text;
}

std::string WithoutSpaces(std::string_view text) {
  std::string out;
  for (char c : text)
    if (c != ' ')
      out += c;
  return out;
}

std::string RangeList() {
  std::string out;
  for (size_t i = 0; i < kRangeVolts.size(); ++i)
    out += (i == 0 ? "" : ", ") + RangeLabel(static_cast<int>(i));
  return out;
}

} // namespace

int TimeBaseArgument(std::string_view label) {
  if (const auto index = FindTimeBase(label))
    return *index;
  throw std::invalid_argument("unknown time base '" + std::string(label) +
                              "'; accepted: " + TimeBaseList());
}

std::string TimeBaseList() {
  std::string out;
  for (int i = 0; i < kTimeBaseCount; ++i)
    out += (i == 0 ? "" : ", ") + TimeBaseLabelUtf8(i);
  return out;
}

std::string RangeLabel(int index) {
  const double volts = kRangeVolts.at(static_cast<size_t>(index));
  return volts < 1 ? Number(volts * 1000) + " mV" : Number(volts) + " V";
}

int RangeArgument(std::string_view label) {
  const std::string wanted = WithoutSpaces(label);
  for (size_t i = 0; i < kRangeVolts.size(); ++i)
    if (WithoutSpaces(RangeLabel(static_cast<int>(i))) == wanted)
      return static_cast<int>(i);
  throw std::invalid_argument("unknown range '" + std::string(label) +
                              "'; accepted: " + RangeList());
}

int RangeArgument(double volts) {
  for (size_t i = 0; i < kRangeVolts.size(); ++i)
    if (kRangeVolts[i] == volts)
      return static_cast<int>(i);
  throw std::invalid_argument("unknown range " + Number(volts) + " V; accepted: " + RangeList());
}

int ChannelArgument(long long channel) {
  if (channel < 0 || channel > 3)
    throw std::invalid_argument("unknown channel " + std::to_string(channel) +
                                "; accepted: 0, 1, 2, 3");
  return static_cast<int>(channel);
}

bool EdgeArgument(std::string_view edge) {
  if (edge == "rising")
    return true;
  if (edge == "falling")
    return false;
  throw std::invalid_argument("unknown trigger edge '" + std::string(edge) +
                              "'; accepted: 'rising', 'falling'");
}

double LevelArgument(double volts) {
  // The converter holds codes 97 to 3999 of 30 V / 4096: a little over +-14.2 V.
  if (!(std::abs(volts) <= kMaxLevel))
    throw std::invalid_argument("trigger level " + Number(volts) + " V out of range; accepted: " +
                                Number(-kMaxLevel) + " to " + Number(kMaxLevel) + " V");
  return volts;
}

int FrequencyArgument(double hertz) {
  if (!(hertz >= 1 && hertz <= 9999))
    throw std::invalid_argument("generator frequency " + Number(hertz) +
                                " Hz out of range; accepted: 1 to 9999 Hz");
  return static_cast<int>(std::lround(hertz));
}

double OutputVoltsArgument(const char* name, double volts) {
  if (!(std::abs(volts) <= 10))
    throw std::invalid_argument(std::string(name) + " " + Number(volts) +
                                " V out of range; accepted: -10 to 10 V");
  return volts;
}

double DutyArgument(double duty) {
  if (!(duty >= 0 && duty <= 1))
    throw std::invalid_argument("duty cycle " + Number(duty) + " out of range; accepted: 0 to 1");
  return duty;
}

} // namespace qvt::python
