// SPDX-License-Identifier: LGPL-2.1-or-later
// The acquisition engine's pieces the service thread carries out on its behalf.
#pragma once

#include "driver.h"
#include "qvtrecords.h"

namespace qvt::link {

// Resets the filter memory, normalises *request in place and sends the channel, trigger,
// sampling and start commands. No reply is read and no result examined.
void RunStartSequence(Driver* driver, QvtAcquisitionRequest* request);

} // namespace qvt::link
