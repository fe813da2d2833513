// SPDX-License-Identifier: GPL-3.0-or-later
// Writing a whole file so that it is either replaced entirely or left as it was.
#pragma once

#include <QString>

#include <string_view>

namespace qvt {

// Writes `bytes` to a temporary file in the folder of `fileName`, flushes it to the disk and
// renames it over `fileName`. On any failure (a folder where no file can be made, a full
// disk, a file size limit) the result is false, `reason` holds the system's reason, an
// earlier file of that name is left as it was and no temporary file remains. A process
// killed half-way leaves the earlier file whole too.
bool WriteFileAtomically(const QString& fileName, std::string_view bytes, QString& reason);

} // namespace qvt
