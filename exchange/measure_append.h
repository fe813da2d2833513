// SPDX-License-Identifier: GPL-3.0-or-later
// Continuous recording into a measurement file: the header first, then each row as it comes,
// so that a crash or a kill loses at most the row being written.
#pragma once

#include <chrono>
#include <cstddef>
#include <functional>
#include <string>

#include "measure_file.h"

namespace qvt {

class TMeasureAppender {
public:
  using TClock = std::function<std::chrono::steady_clock::time_point()>;

  // `clock` gives the time that spaces the disk syncs; steady_clock by default.
  explicit TMeasureAppender(TClock clock = nullptr);
  ~TMeasureAppender(); // closes the file, with a last sync
  TMeasureAppender(const TMeasureAppender&) = delete;
  TMeasureAppender& operator=(const TMeasureAppender&) = delete;

  // Creates `path` (replacing a file of that name) and writes the header of `m` (without a row
  // count) and the rows `m` already holds, then syncs. `m` must pass CheckMeasurement; its
  // channels and computed quantities fix the row width. False with a French message naming
  // the file and the system's reason; nothing is recorded then.
  bool Open(const std::string& path, const TMeasurement& m, std::string& error);

  // Appends one row: the time (or point number), one value per channel, finite, then one per
  // computed quantity (kMeasureNoValue or a non-finite value: a gap, an empty cell). The row
  // reaches the file with one write(2) of the whole line before the call returns, so it
  // survives the program's end however it comes; the file is synced to the disk when the last
  // sync is a second old or more. On a write error the recording stops: the rows written
  // before stay in the file (a partly written row is cut off again), this call and the later
  // ones return false, and `error` names the file and the system's reason.
  bool Append(const double* row, std::size_t count, std::string& error);

  // Syncs the file when rows came since the last sync and that sync is a second old or more;
  // for a caller's timer, so that the last rows reach the disk when no new row comes.
  void SyncIfDue();

  // Syncs and closes the file; false if the last sync or the closing failed.
  bool Close(std::string& error);

  bool IsOpen() const { return fd_ >= 0; }
  std::size_t RowCount() const { return rows_; }
  const std::string& Path() const { return path_; }

private:
  bool Fail(int error, std::string& message);

  TClock clock_;
  int fd_ = -1;
  std::string path_;
  std::size_t width_ = 0;
  std::size_t gapsFrom_ = 0; // the first computed column
  std::size_t rows_ = 0;
  long long goodSize_ = 0; // bytes of whole lines in the file
  bool dirty_ = false;
  bool failed_ = false;
  std::string failure_;
  std::chrono::steady_clock::time_point lastSync_{};
  std::string line_;
};

} // namespace qvt
