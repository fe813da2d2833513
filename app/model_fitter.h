// SPDX-License-Identifier: GPL-3.0-or-later
// TModelFitter: fits in a worker thread of its own, one job at a time, so that the window
// never waits for a fit. A new job cancels the one under way (the live fit follows the
// sweeps); only the latest job waiting is kept. No Qt: the owner is told through a callback.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

#include "fit.h"

namespace qvt {

// A fit with its own copy of the points.
struct TFitJob {
  std::vector<double> x;
  std::vector<double> y;
  analysis::FitModelSpec model;
  double from = -std::numeric_limits<double>::infinity();
  double to = std::numeric_limits<double>::infinity();
  std::vector<analysis::FitValue> start;
  std::vector<analysis::FitValue> fixed;
};

class TModelFitter {
public:
  // `done` runs on the worker thread after each job that was not cancelled, with the number
  // Submit gave the job and its result.
  using Done = std::function<void(std::uint64_t job, analysis::FitResult result)>;
  explicit TModelFitter(Done done, analysis::FitOptions options = {});
  // Cancels the job under way and waits for the thread.
  ~TModelFitter();
  TModelFitter(const TModelFitter&) = delete;
  TModelFitter& operator=(const TModelFitter&) = delete;

  // Queues `job` in place of any job not yet started and cancels the one under way; returns
  // its number (1, 2, ...).
  std::uint64_t Submit(TFitJob job);

private:
  void Run();

  Done done_;
  analysis::FitOptions options_;
  std::mutex mutex_;
  std::condition_variable wake_;
  std::optional<TFitJob> pending_;
  std::uint64_t submitted_ = 0;
  bool stopping_ = false;
  std::atomic<bool> cancel_{false};
  std::thread thread_;
};

} // namespace qvt
