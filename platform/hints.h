// SPDX-License-Identifier: GPL-3.0-or-later
// Hints of the form "short|long": the short part is the tool tip, the long part goes to the
// status bar and the window caption while the pointer rests on the control.
#pragma once

#include <QString>

class QWidget;

namespace qvt {

// The part before the first "|", or the whole text without one.
QString ShortHint(const QString& hint);
// The part after the first "|", or the whole text without one.
QString LongHint(const QString& hint);

// Tool tip := the short part, status tip := the long part. An empty part clears its tip.
void SetHint(QWidget* widget, const QString& hint);

} // namespace qvt
