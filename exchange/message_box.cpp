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
  auto* box = new QMessageBox(error ? QMessageBox::Critical : QMessageBox::NoIcon,
                              error ? QStringLiteral("Erreur") : QApplication::applicationName(),
                              text, QMessageBox::Ok, QApplication::activeWindow());
  if (wait) {
    // A box during a transfer shows the arrow, not the transfer's hourglass.
    const bool busy = QGuiApplication::overrideCursor() != nullptr;
    if (busy)
      QGuiApplication::setOverrideCursor(Qt::ArrowCursor);
    box->exec();
    delete box;
    if (busy)
      QGuiApplication::restoreOverrideCursor();
    return;
  }
  box->setAttribute(Qt::WA_DeleteOnClose);
  box->setModal(false);
  box->show();
}

TMessageHook SetMessageHook(TMessageHook hook) {
  TMessageHook previous = std::move(Hook());
  Hook() = std::move(hook);
  return previous;
}

} // namespace qvt
