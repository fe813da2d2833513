// SPDX-License-Identifier: GPL-3.0-or-later
// Hints: splitting "short|long" and giving the parts to Qt's tool and status tips.
#include "hints.h"

#include <QWidget>

namespace qvt {

QString ShortHint(const QString& hint) {
  const qsizetype bar = hint.indexOf(u'|');
  return bar < 0 ? hint : hint.left(bar);
}

QString LongHint(const QString& hint) {
  const qsizetype bar = hint.indexOf(u'|');
  return bar < 0 ? hint : hint.mid(bar + 1);
}

void SetHint(QWidget* widget, const QString& hint) {
  widget->setToolTip(ShortHint(hint));
  widget->setStatusTip(LongHint(hint));
}

} // namespace qvt
