// SPDX-License-Identifier: GPL-3.0-or-later
// Whole files through POSIX calls, without Qt: written atomically, read with a size limit.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace qvt {

// Writes `bytes` to a new temporary file in the folder of `path`, syncs it to the disk and
// renames it over `path`. On success `reason` is cleared. On any failure (a folder where no
// file can be made, a full disk, a file size limit) the result is false, `reason` holds the
// system's reason (its strerror text), an earlier file of that name is left as it was and no
// temporary file remains. A process killed half-way leaves the earlier file whole too.
bool WriteWholeFile(const std::string& path, std::string_view bytes, std::string& reason);

// Writes all of `bytes` to `fd`, going on after short writes and signals; false with errno set.
bool WriteAll(int fd, std::string_view bytes);

// The outcome of ReadWholeFile.
enum class TReadOutcome { Read, Failed, TooLarge };

// Reads the whole of `path` into `bytes`. A file larger than `maxBytes` is refused before any
// byte is read (TooLarge, `size` holds its size). Failed: `reason` holds the system's reason.
TReadOutcome ReadWholeFile(const std::string& path, std::size_t maxBytes, std::string& bytes,
                           std::size_t& size, std::string& reason);

// The system's text for an errno value, e.g. "No space left on device".
std::string SystemReason(int error);

} // namespace qvt
