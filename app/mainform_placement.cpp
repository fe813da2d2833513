// SPDX-License-Identifier: GPL-3.0-or-later
// TMainForm: the window placement, kept in the user's settings store (organisation "QVT2",
// group "Window": the registry key "Software\QVT2\Window" on Windows, ~/.config/QVT2.conf
// elsewhere) as five decimal texts.
#include <QGuiApplication>
#include <QScreen>
#include <QSettings>

#include "mainform.h"

namespace qvt {
namespace {

int ReadInt(const QSettings& store, const char* key, int fallback) {
  bool ok = false;
  const int value = store.value(QLatin1String(key)).toString().toInt(&ok);
  return ok ? value : fallback;
}

// A window that lies off every screen (a screen unplugged since) comes back onto the
// primary one, whole if it fits.
QRect OnAScreen(QRect frame) {
  for (const QScreen* screen : QGuiApplication::screens())
    if (screen->availableGeometry().intersected(frame).width() >= 40 &&
        screen->availableGeometry().intersected(frame).height() >= 20)
      return frame;
  const QScreen* primary = QGuiApplication::primaryScreen();
  if (primary == nullptr)
    return frame;
  const QRect free = primary->availableGeometry();
  frame.setSize(frame.size().boundedTo(free.size()));
  frame.moveCenter(free.center());
  return frame;
}

} // namespace

void TMainForm::LoadPlacement() {
  FirstActivation = false;
  QSettings store(QStringLiteral("QVT2"));
  store.beginGroup(QStringLiteral("Window"));
  const bool stored = store.contains(QStringLiteral("Left"));
  const int state = ReadInt(store, "State", 0);
  if (state == 1)
    setWindowState(Qt::WindowMinimized);
  else if (state == 2)
    setWindowState(Qt::WindowMaximized);
  if (!stored) {
    // First run: centred on the primary screen, and no larger than it (the design size is
    // more than a 1024 x 768 screen has).
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
      const QSize border = frameGeometry().size() - size();
      resize(size().boundedTo(screen->availableGeometry().size() - border).expandedTo(minimumSize()));
      QRect frame = frameGeometry();
      frame.moveCenter(screen->availableGeometry().center());
      move(frame.topLeft());
    }
    return;
  }
  if (state != 0)
    return; // a maximised or minimised window keeps the size the system gives it
  const QRect now = geometry();
  QRect placed(ReadInt(store, "Left", now.left()), ReadInt(store, "Top", now.top()),
               ReadInt(store, "Width", now.width()), ReadInt(store, "Height", now.height()));
  placed = OnAScreen(placed);
  resize(placed.size());
  move(placed.topLeft());
}

void TMainForm::SavePlacement() {
  QSettings store(QStringLiteral("QVT2"));
  store.beginGroup(QStringLiteral("Window"));
  const Qt::WindowStates s = windowState();
  const int state = s.testFlag(Qt::WindowMinimized) ? 1 : s.testFlag(Qt::WindowMaximized) ? 2 : 0;
  // The bounds of the normal window, also when it is maximised or minimised.
  const QRect bounds = state == 0 ? QRect(pos(), size()) : normalGeometry();
  store.setValue(QStringLiteral("State"), QString::number(state));
  store.setValue(QStringLiteral("Height"), QString::number(bounds.height()));
  store.setValue(QStringLiteral("Width"), QString::number(bounds.width()));
  store.setValue(QStringLiteral("Top"), QString::number(bounds.top()));
  store.setValue(QStringLiteral("Left"), QString::number(bounds.left()));
}

} // namespace qvt
