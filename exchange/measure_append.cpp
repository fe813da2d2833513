// SPDX-License-Identifier: GPL-3.0-or-later
// Continuous recording with write(2) and fsync(2). Every row goes to the kernel at once, so a
// killed program loses nothing it appended; fsync, which guards against a power cut, costs
// milliseconds on a real disk and is kept to one a second so that fast point series are not
// slowed down by it.
#include "measure_append.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cmath>
#include <vector>

#include "translate.h"
#include "whole_file.h"

namespace qvt {

namespace {

constexpr auto kSyncInterval = std::chrono::seconds(1);

} // namespace

TMeasureAppender::TMeasureAppender(TClock clock)
    : clock_(clock ? std::move(clock) : TClock([] { return std::chrono::steady_clock::now(); })) {}

TMeasureAppender::~TMeasureAppender() {
  std::string ignored;
  Close(ignored);
}

bool TMeasureAppender::Fail(int error, std::string& message) {
  failed_ = true;
  failure_ = TrArg(translate("MeasureFile", "Enregistrement arrêté, écriture impossible (%1) : %2"),
                   {SystemReason(error), path_});
  message = failure_;
  if (fd_ >= 0) {
    // The rows before the failed one stay; a part of the failed one would only be noise.
    if (::ftruncate(fd_, goodSize_) == 0)
      ::fsync(fd_);
    ::close(fd_);
    fd_ = -1;
  }
  return false;
}

bool TMeasureAppender::Open(const std::string& path, const TMeasurement& m, std::string& error) {
  std::string ignored;
  Close(ignored);
  path_ = path;
  failed_ = false;
  failure_.clear();
  rows_ = 0;
  goodSize_ = 0;
  if (!CheckMeasurement(m, error)) {
    error = TrArg(translate("MeasureFile", "%1 : %2"), {error, path});
    return false;
  }
  gapsFrom_ = 1 + m.Channels.size();
  width_ = gapsFrom_ + m.Computed.size();
  fd_ = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_APPEND | O_CLOEXEC, 0666);
  if (fd_ < 0) {
    error = TrArg(translate("MeasureFile", "Enregistrement impossible (%1) : %2"), {SystemReason(errno), path});
    return false;
  }
  std::string text = MeasureHeaderText(m, -1);
  AppendMeasureRows(text, m);
  if (!WriteAll(fd_, text) || ::fsync(fd_) != 0) {
    const int reason = errno;
    ::close(fd_);
    fd_ = -1;
    ::unlink(path.c_str());
    error = TrArg(translate("MeasureFile", "Enregistrement impossible (%1) : %2"), {SystemReason(reason), path});
    return false;
  }
  rows_ = m.Time.size();
  goodSize_ = static_cast<long long>(text.size());
  lastSync_ = clock_();
  dirty_ = false;
  error.clear();
  return true;
}

bool TMeasureAppender::Append(const double* row, std::size_t count, std::string& error) {
  if (failed_) {
    error = failure_;
    return false;
  }
  if (fd_ < 0) {
    error = translate("MeasureFile", "Aucun enregistrement en cours");
    return false;
  }
  if (count != width_) {
    error = TrArg(translate("MeasureFile", "Enregistrement : %1 valeurs au lieu de %2 : %3"),
                  {std::to_string(count), std::to_string(width_), path_});
    return false;
  }
  for (std::size_t i = 0; i < gapsFrom_; ++i) {
    if (!std::isfinite(row[i])) {
      error = TrArg(translate("MeasureFile", "Enregistrement : valeur non finie ignorée : %1"), {path_});
      return false;
    }
  }
  line_.clear();
  AppendMeasureRowText(line_, row, count, gapsFrom_);
  if (!WriteAll(fd_, line_))
    return Fail(errno, error);
  goodSize_ += static_cast<long long>(line_.size());
  ++rows_;
  dirty_ = true;
  SyncIfDue();
  if (failed_) {
    error = failure_;
    return false;
  }
  error.clear();
  return true;
}

void TMeasureAppender::SyncIfDue() {
  if (fd_ < 0 || !dirty_)
    return;
  const auto now = clock_();
  if (now - lastSync_ < kSyncInterval)
    return;
  std::string ignored;
  if (::fsync(fd_) != 0) {
    Fail(errno, ignored);
    return;
  }
  lastSync_ = now;
  dirty_ = false;
}

bool TMeasureAppender::Close(std::string& error) {
  if (fd_ < 0) {
    error = failed_ ? failure_ : std::string();
    return !failed_;
  }
  const bool synced = !dirty_ || ::fsync(fd_) == 0;
  int reason = errno;
  const bool closed = ::close(fd_) == 0;
  if (!closed && synced)
    reason = errno;
  fd_ = -1;
  if (!synced || !closed) {
    failed_ = true;
    failure_ = TrArg(translate("MeasureFile", "Enregistrement incomplet (%1) : %2"), {SystemReason(reason), path_});
    error = failure_;
    return false;
  }
  dirty_ = false;
  error.clear();
  return true;
}

} // namespace qvt
