// SPDX-License-Identifier: GPL-3.0-or-later
// Whole files with open/write/fsync/rename: the measurement files must be written by programs
// without Qt (the command-line tool, the Python module), so QSaveFile is not an option here.
#include "whole_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <filesystem>
#include <system_error>

namespace qvt {

namespace {


// Creates a temporary file beside `path`, hidden and named after it and this process so that
// two programs saving into one folder never share one. The mode 0666 lets the umask decide
// the permissions, as for any new file.
int CreateTemporary(const std::string& path, std::string& tempPath) {
  static std::atomic<unsigned> counter{0};
  const std::filesystem::path target(path);
  for (int attempt = 0; attempt < 100; ++attempt) {
    const std::string name = "." + target.filename().string() + "." + std::to_string(::getpid()) +
                             "." + std::to_string(counter++) + ".tmp";
    tempPath = (target.parent_path() / name).string();
    const int fd = ::open(tempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0 || errno != EEXIST)
      return fd;
  }
  return -1;
}

} // namespace

std::string SystemReason(int error) {
  return std::error_code(error, std::generic_category()).message();
}

bool WriteWholeFile(const std::string& path, std::string_view bytes, std::string& reason) {
  std::string tempPath;
  const int fd = CreateTemporary(path, tempPath);
  if (fd < 0) {
    reason = SystemReason(errno);
    return false;
  }
  // fsync before the rename: otherwise a power cut may leave the new name on an empty file.
  bool ok = WriteAll(fd, bytes) && ::fsync(fd) == 0;
  int error = errno;
  if (::close(fd) != 0 && ok) {
    ok = false;
    error = errno;
  }
  if (ok && ::rename(tempPath.c_str(), path.c_str()) != 0) {
    ok = false;
    error = errno;
  }
  if (!ok) {
    ::unlink(tempPath.c_str());
    reason = SystemReason(error);
    return false;
  }
  // The rename itself reaches the disk with the folder's entry; a failure here leaves a whole
  // file either way, so it is not reported.
  const std::filesystem::path folder = std::filesystem::path(path).parent_path();
  const int dirFd =
      ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dirFd >= 0) {
    ::fsync(dirFd);
    ::close(dirFd);
  }
  reason.clear();
  return true;
}

TReadOutcome ReadWholeFile(const std::string& path, std::size_t maxBytes, std::string& bytes,
                           std::size_t& size, std::string& reason) {
  bytes.clear();
  size = 0;
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    reason = SystemReason(errno);
    return TReadOutcome::Failed;
  }
  struct stat info {};
  if (::fstat(fd, &info) != 0) {
    reason = SystemReason(errno);
    ::close(fd);
    return TReadOutcome::Failed;
  }
  if (S_ISDIR(info.st_mode)) {
    reason = SystemReason(EISDIR);
    ::close(fd);
    return TReadOutcome::Failed;
  }
  size = static_cast<std::size_t>(info.st_size);
  if (size > maxBytes) {
    ::close(fd);
    return TReadOutcome::TooLarge;
  }
  // The size is a hint only (a file still growing, a pipe): read up to one byte past the
  // limit so that a file that grew beyond it is refused as well.
  bytes.resize(size);
  std::size_t done = 0;
  for (;;) {
    if (done == bytes.size()) {
      if (bytes.size() > maxBytes)
        break;
      bytes.resize(std::min(maxBytes + 1, std::max<std::size_t>(bytes.size() * 2, 4096)));
    }
    const ssize_t n = ::read(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0) {
      if (errno == EINTR)
        continue;
      reason = SystemReason(errno);
      ::close(fd);
      bytes.clear();
      return TReadOutcome::Failed;
    }
    if (n == 0)
      break;
    done += static_cast<std::size_t>(n);
  }
  ::close(fd);
  bytes.resize(done);
  if (done > maxBytes) {
    size = done;
    bytes.clear();
    return TReadOutcome::TooLarge;
  }
  reason.clear();
  return TReadOutcome::Read;
}

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n < 0) {
      if (errno == EINTR)
        continue;
      return false;
    }
    if (n == 0) {
      errno = EIO;
      return false;
    }
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

} // namespace qvt
