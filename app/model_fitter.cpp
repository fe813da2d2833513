// SPDX-License-Identifier: GPL-3.0-or-later
// TModelFitter: one thread, one waiting slot. The cancel flag is the fit's own (read between
// its iterations), so a job superseded by the next sweep ends within an iteration.
#include "model_fitter.h"

#include <utility>

namespace qvt {

TModelFitter::TModelFitter(Done done, analysis::FitOptions options)
    : done_(std::move(done)), options_(options) {
  options_.cancel = &cancel_;
  thread_ = std::thread([this] { Run(); });
}

TModelFitter::~TModelFitter() {
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
    pending_.reset();
  }
  cancel_.store(true);
  wake_.notify_one();
  thread_.join();
}

std::uint64_t TModelFitter::Submit(TFitJob job) {
  std::uint64_t number = 0;
  {
    std::lock_guard lock(mutex_);
    pending_ = std::move(job);
    number = ++submitted_;
    // Under the lock: the worker clears the flag under it when it takes a job, so a job taken
    // after this one was queued is never cancelled by it.
    cancel_.store(true);
  }
  wake_.notify_one();
  return number;
}

void TModelFitter::Run() {
  for (;;) {
    TFitJob job;
    std::uint64_t number = 0;
    {
      std::unique_lock lock(mutex_);
      wake_.wait(lock, [this] { return stopping_ || pending_.has_value(); });
      if (stopping_)
        return;
      job = std::move(*pending_);
      pending_.reset();
      number = submitted_;
      cancel_.store(false);
    }
    analysis::FitRequest request;
    request.x = job.x;
    request.y = job.y;
    request.model = job.model;
    request.from = job.from;
    request.to = job.to;
    request.start = std::move(job.start);
    request.fixed = std::move(job.fixed);
    analysis::FitResult result = analysis::Fit(request, options_);
    if (result.status == analysis::FitStatus::kCancelled)
      continue;
    done_(number, std::move(result));
  }
}

} // namespace qvt
