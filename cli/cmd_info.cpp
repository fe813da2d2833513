// SPDX-License-Identifier: GPL-3.0-or-later
// qvt2ctl info: what the interface says of itself, through the library's exports.
#include <cstdio>

#include "commands.h"
#include "qvt2.h"
#include "qvtlink.h"

namespace qvt::cli {

int RunInfo(const TWords& args, const TGlobalOptions& global) {
  const TArguments a = ReadArguments(args, {}, {});
  if (!a.Words.empty())
    throw TUsageError(
        Refused("info", a.Words.front(), "(" + std::string(Say("aucun", "none")) + ")"));
  TQVT2 device;
  OpenInterface(device, global);
  const int32_t handle = device.PortHandleValue();
  char version[80] = {};
  const int32_t packet = DefineUSB(handle);
  if (packet == 0 || _GetVersion(handle, version) == 0)
    throw TDeviceError(Say("l'interface ne répond pas", "the interface does not answer"));
  double gains[4] = {};
  GetAdjust(handle, &gains[0], &gains[1], &gains[2], &gains[3]);
  std::printf("%s: %s\n", Say("interface", "interface"), PortName(global).c_str());
  std::printf("%s: %s\n", Say("version", "version"), version);
  std::printf("%s: %d\n", Say("taille de paquet", "packet size"), packet);
  std::printf("%s: %s\n", Say("vitesse", "speed"),
              packet >= 512 ? Say("haute vitesse (480 Mbit/s)", "high speed (480 Mbit/s)")
                            : Say("pleine vitesse (12 Mbit/s)", "full speed (12 Mbit/s)"));
  std::printf("%s: %.6g %.6g %.6g %.6g\n", Say("gains", "gains"), gains[0], gains[1], gains[2],
              gains[3]);
  return kExitDone;
}

} // namespace qvt::cli
