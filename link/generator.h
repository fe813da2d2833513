// SPDX-License-Identifier: LGPL-2.1-or-later
// The generator load, which the service thread also carries out as a posted job.
#pragma once

#include <cstdint>

#include "driver.h"
#include "qvtrecords.h"

namespace qvt::link {

// How a generator load ended.
enum class GeneratorOutcome : int32_t {
  Started = 0,          // all samples sent and the start command written
  Empty = 2,            // count 0: nothing sent
  NoPacketSize = 3,     // no successful identify yet: refused, nothing sent, table untouched
  NotReady = 65535,     // the interface did not become ready after a chunk; no start sent
};

// Normalises *table in place, sends its samples in chunks of half a packet on the generator
// pipe (waiting for the interface after each), counting table->count down, then starts the
// generator with command 0x03 (mode 1) or 0x02.
GeneratorOutcome RunGeneratorLoad(Driver* driver, uint8_t mode, QvtGeneratorTable* table);

} // namespace qvt::link
