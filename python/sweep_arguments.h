// SPDX-License-Identifier: GPL-3.0-or-later
// The arguments of the Python module's calls, checked and turned into the sweep layer's
// indexes. Each check throws std::invalid_argument (Python's ValueError) with a message that
// names the value refused and lists the values accepted.
#pragma once

#include <string>
#include <string_view>

namespace qvt::python {

// Index of a time base given by its label ("20 ms", "500 us", "500 µs", "1 h").
int TimeBaseArgument(std::string_view label);
// "10 µs, 20 µs, ..., 1 h": every time base, for messages.
std::string TimeBaseList();

// Index into kRangeVolts of a range given by its label ("5 V", "500 mV"; spaces ignored) or
// by its full scale in volts (5, 0.5).
int RangeArgument(std::string_view label);
int RangeArgument(double volts);
// The label of range `index`: "50 mV" ... "15 V".
std::string RangeLabel(int index);

// A channel number, 0 to 3.
int ChannelArgument(long long channel);

// The trigger edge: "rising" (true) or "falling" (false).
bool EdgeArgument(std::string_view edge);

// A trigger level in volts that the threshold converter can hold: -14 to 14 V.
double LevelArgument(double volts);
inline constexpr double kMaxLevel = 14.0;

// The generator's frequency, 1 to 9999 Hz, and an output voltage (amplitude or offset) that the
// output's -10 .. +10 V span can hold.
int FrequencyArgument(double hertz);
double OutputVoltsArgument(const char* name, double volts);
// The square wave's duty cycle, a fraction from 0 to 1.
double DutyArgument(double duty);

} // namespace qvt::python
