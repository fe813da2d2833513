// SPDX-License-Identifier: GPL-3.0-or-later
// Where the program's dialogs open: centred on the screen, or on the main window.
#pragma once

class QWidget;

namespace qvt {

// Moves the window so that its frame is centred on the available area of the screen it
// belongs to (its parent's screen when it has a parent). Call it once the window has its
// size, e.g. from showEvent, before the window system maps it.
void CentreOnScreen(QWidget& window);

// The same, centred on `owner`'s top-level window; on the screen when owner is null.
void CentreOnWindow(QWidget& window, const QWidget* owner);

} // namespace qvt
