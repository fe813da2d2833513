// SPDX-License-Identifier: GPL-3.0-or-later
// TLog: `dev.log(interval, channels)`, an iterator over points of a slow recording. The
// device's point-measure thread keeps the newest value of every channel; each point is read
// from it at its time, `interval` seconds after the one before.
#pragma once

#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>

#include <chrono>
#include <vector>

namespace qvt::python {

class TPyDevice;

class TLog {
public:
  // Starts the point measure on `channels` (the wide ±15 V range). The Python object keeps
  // `owner` alive while it lives.
  TLog(TPyDevice& owner, double interval, std::vector<int> channels);
  ~TLog();
  TLog(const TLog&) = delete;
  TLog& operator=(const TLog&) = delete;

  // Waits with the GIL released until the next point is due, then returns (t, values): t in
  // seconds from the first point, values a float64 array, one per channel. StopIteration once
  // ended; Ctrl+C raises KeyboardInterrupt and ends the log.
  pybind11::tuple Next();
  // Stops the point measure; later Next calls raise StopIteration.
  void End();
  bool Running() const { return Owner != nullptr; }

private:
  TPyDevice* Owner;
  std::vector<int> Channels;
  std::chrono::steady_clock::duration Interval;
  std::chrono::steady_clock::time_point First;
  long long Index = 0;
};

} // namespace qvt::python
