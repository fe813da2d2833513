// SPDX-License-Identifier: GPL-3.0-or-later
// The message boxes of the data exchange, behind one function that tests can take over.
#pragma once

#include <QString>

#include <functional>

namespace qvt {

enum class TMessageKind {
  Error,       // error icon, caption "Erreur"
  Information, // no icon, the application's name as caption
};

// Shows `text` in a box with one OK button. With `wait` the call returns once the user has
// closed the box (modal); without, the box stays open while the program goes on, so that a
// caller answering another program (the macro server) is not held up by the user.
void ShowMessage(TMessageKind kind, const QString& text, bool wait = true);

// While a hook is set, ShowMessage hands it the box instead of showing it. Returns the hook
// that was set before; an empty hook shows the boxes again.
using TMessageHook = std::function<void(TMessageKind kind, const QString& text)>;
TMessageHook SetMessageHook(TMessageHook hook);

} // namespace qvt
