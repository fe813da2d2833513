// SPDX-License-Identifier: GPL-3.0-or-later
/* A C client of the installed qvtlink: opens the virtual interface (QVTLINK_DEVICE=sim) and
 * prints its version text. */
#include <qvtlink.h>

#include <stdio.h>

int main(void) {
  /* A counted string: its byte count stored just before its characters. */
  static struct {
    uint32_t count;
    char text[12];
  } name = {11, "VexorQVT2-0"};
  const int32_t port = SetPortOpen(name.text);
  if (port == 0) {
    fputs("client: SetPortOpen failed\n", stderr);
    return 1;
  }
  char version[80] = {0};
  const int32_t ok = _GetVersion(port, version);
  SetPortClose(port);
  if (!ok) {
    fputs("client: _GetVersion failed\n", stderr);
    return 1;
  }
  puts(version);
  return 0;
}
