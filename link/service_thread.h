// SPDX-License-Identifier: LGPL-2.1-or-later
// The optional service thread: serialises device traffic through posted jobs and pumps the
// H8 link.
#pragma once

namespace qvt::link {

// Asks a started service thread to end and waits until it has (no-op when none was started).
void JoinServiceThread();

} // namespace qvt::link
