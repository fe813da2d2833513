// SPDX-License-Identifier: GPL-3.0-or-later
// Acquire: one whole sweep without a window, for the command-line tool and the Python module.
// It runs the same cycle as the window (arm, poll, convert, align on the trigger, re-arm on an
// edge that was not the one asked for) and polls as fast as the data comes.
#pragma once

#include <atomic>
#include <chrono>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "sweep_setup.h"

class TQVT2;

namespace qvt {

// Why a sweep did not complete.
class TScopeError : public std::runtime_error {
public:
  enum class TKind {
    Absent,    // the port is not open
    Lost,      // the interface went away during the sweep; the port has been closed
    Cancelled, // the caller asked to stop; the interface is stopped and usable
  };
  TScopeError(TKind kind, const std::string& what) : std::runtime_error(what), Kind(kind) {}
  TKind Kind;
};

struct TSweep {
  TSweepSetup Setup;                       // as applied to the device
  std::string TimeBaseLabel;               // UTF-8, as the window shows it ("500 µs")
  double SampleRate = 0;                   // Hz
  std::vector<int> Channels;               // the active channels, in order
  std::vector<double> Time;                // s; t = 0 at the trigger, or the first sample
  std::vector<std::vector<double>> Volts;  // one row per entry of Channels
  int Rearmed = 0;                         // sweeps dropped for an edge the wrong way
};

struct TAcquireControl {
  const std::atomic<bool>* Cancel = nullptr;            // set from any thread to stop
  std::function<void(int received, int total)> Progress; // after each pass that brought data
  std::function<bool()> Continue;                        // after every pass; false cancels
  std::chrono::microseconds PollPause{1000};             // sleep when the interface had nothing
};

// Applies `setup`, runs sweeps until one completes on a confirmed edge and returns the samples
// of its window (pre-trigger part included when asked): the sweep's whole number of points,
// the window moved as little as needed to lie within the samples acquired when the trigger
// crossing lies away from the interface's trigger (SweepWindowStart). Throws TScopeError.
TSweep Acquire(TQVT2& device, const TSweepSetup& setup, const TAcquireControl& control = {});

} // namespace qvt
