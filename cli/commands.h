// SPDX-License-Identifier: GPL-3.0-or-later
// The commands of qvt2ctl. Each reads the words after its name, does its work and returns the
// exit code; a wrong option throws TUsageError, a missing interface TDeviceError.
#pragma once

#include <string>
#include <vector>

#include "command_line.h"
#include "sweep_setup.h"

namespace qvt::cli {

using TWords = std::vector<std::string>;

// The --range and --input options into `setup`; TUsageError for a value off their lists.
void ReadRangesAndInputs(const TArguments& a, TSweepSetup& setup);

int RunInfo(const TWords& args, const TGlobalOptions& global);
int RunSweep(const TWords& args, const TGlobalOptions& global);
int RunMeasure(const TWords& args, const TGlobalOptions& global);
int RunLog(const TWords& args, const TGlobalOptions& global);
int RunGen(const TWords& args, const TGlobalOptions& global);
// A model fitted to a measurement file's channel: exit 1 when the fit fails.
int RunFit(const TWords& args, const TGlobalOptions& global);

} // namespace qvt::cli
