// SPDX-License-Identifier: LGPL-2.1-or-later
// Locating and opening the debug trace files.
#include "trace_files.h"

#include <cstdlib>
#include <string>

namespace qvt::link {

namespace {
const char* FileName(TraceFile file) {
  switch (file) {
  case TraceFile::Send: return "USBSend.txt";
  case TraceFile::Receive: return "USBReceive.txt";
  case TraceFile::Data: return "data.txt";
  }
  return "data.txt";
}
} // namespace

std::FILE* OpenTrace(TraceFile file, const char* mode) {
#ifdef _WIN32
  const std::string path = std::string("c:\\") + FileName(file);
#else
  // Tracing is off unless a folder is named: there is no fixed root folder to write to.
  const char* dir = std::getenv("QVTLINK_TRACE_DIR");
  if (dir == nullptr || *dir == '\0') return nullptr;
  const std::string path = std::string(dir) + "/" + FileName(file);
#endif
  return std::fopen(path.c_str(), mode);
}

void TruncateTraces() {
  for (TraceFile file : {TraceFile::Send, TraceFile::Receive, TraceFile::Data}) {
    if (std::FILE* f = OpenTrace(file, "w")) std::fclose(f);
  }
}

} // namespace qvt::link
