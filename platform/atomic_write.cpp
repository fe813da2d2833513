// SPDX-License-Identifier: GPL-3.0-or-later
// Writing a whole file atomically, with QSaveFile and the checks it leaves to its caller.
#include "atomic_write.h"

#include <QSaveFile>

namespace qvt {

bool WriteFileAtomically(const QString& fileName, std::string_view bytes, QString& reason) {
  // No direct-write fallback: a folder where no temporary file can be made is an error.
  QSaveFile file(fileName);
  // Unbuffered, and every count checked: QSaveFile's write() may stop short without an
  // error (the bytes up to a file size limit), and a buffered write failing in flush() or
  // commit() loses its reason, or is even committed.
  if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
    reason = file.errorString();
    return false;
  }
  qint64 done = 0;
  const auto size = static_cast<qint64>(bytes.size());
  while (done < size) {
    const qint64 written = file.write(bytes.data() + done, size - done);
    if (written <= 0)
      break;
    done += written;
  }
  if (done < size) {
    reason = file.errorString();
    file.cancelWriting();
    return false;
  }
  // commit() syncs the temporary file to the disk before the rename.
  if (!file.commit()) {
    reason = file.errorString();
    return false;
  }
  reason.clear();
  return true;
}

} // namespace qvt
