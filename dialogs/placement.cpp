// SPDX-License-Identifier: GPL-3.0-or-later
// Dialog placement: the frame is not known before the window is mapped, so the client size
// stands for it; the title bar then sits half its height lower than exact centring would put
// it, which no one sees.
#include "placement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace qvt {
namespace {

void CentreOn(QWidget& window, const QRect& area) {
  window.move(area.center() - QPoint(window.width() / 2, window.height() / 2));
}

} // namespace

void CentreOnScreen(QWidget& window) {
  const QWidget* anchor = window.parentWidget() ? window.parentWidget() : &window;
  QScreen* screen = anchor->screen() ? anchor->screen() : QGuiApplication::primaryScreen();
  if (screen != nullptr)
    CentreOn(window, screen->availableGeometry());
}

void CentreOnWindow(QWidget& window, const QWidget* owner) {
  if (owner == nullptr) {
    CentreOnScreen(window);
    return;
  }
  CentreOn(window, owner->window()->frameGeometry());
}

} // namespace qvt
