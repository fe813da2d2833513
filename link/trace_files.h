// SPDX-License-Identifier: LGPL-2.1-or-later
// The three debug trace files of the H8 link and the generator.
#pragma once

#include <cstdio>

namespace qvt::link {

enum class TraceFile {
  Send,    // USBSend.txt: every byte sent on the H8 link
  Receive, // USBReceive.txt: every H8 byte received; every generator sample
  Data,    // data.txt: every H8 byte received
};

// Opens a trace file with an fopen mode ("a", "w+"). On Windows the files are the fixed
// "c:\USBSend.txt", "c:\USBReceive.txt", "c:\data.txt"; elsewhere files of those names in
// the folder named by QVTLINK_TRACE_DIR. Returns nullptr when no folder is set or the file
// cannot be opened; the caller then goes on without logging.
std::FILE* OpenTrace(TraceFile file, const char* mode);

// Truncates the three files (at service thread start).
void TruncateTraces();

} // namespace qvt::link
