// SPDX-License-Identifier: GPL-3.0-or-later
// The message boxes of the data exchange.
#include "message_box.h"

#include <QApplication>
#include <QMessageBox>

namespace qvt {
namespace {

TMessageHook& Hook() {
  static TMessageHook hook;
  return hook;
}

} // namespace

void ShowMessage(TMessageKind kind, const QString& text, bool wait) {
  if (Hook()) {
    Hook()(kind, text);
    return;
  }
  const bool error = kind == TMessageKind::Error;
  const auto icon = error ? QMessageBox::Critical : QMessageBox::NoIcon;
  const QString caption = error ? QCoreApplication::translate("ShowMessage", "Erreur")
                                : QApplication::applicationName();
  QWidget* parent = QApplication::activeWindow();
  if (!wait) {
    auto* box = new QMessageBox(icon, caption, text, QMessageBox::Ok, parent);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setModal(false);
    box->show();
    return;
  }
  // A box during a transfer shows the arrow, not the transfer's hourglass.
  const bool busy = QGuiApplication::overrideCursor() != nullptr;
  if (busy)
    QGuiApplication::setOverrideCursor(Qt::ArrowCursor);
  QMessageBox box(icon, caption, text, QMessageBox::Ok, parent);
  box.exec();
  if (busy)
    QGuiApplication::restoreOverrideCursor();
}

TMessageHook SetMessageHook(TMessageHook hook) {
  TMessageHook previous = std::move(Hook());
  Hook() = std::move(hook);
  return previous;
}

} // namespace qvt
