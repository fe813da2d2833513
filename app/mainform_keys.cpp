// SPDX-License-Identifier: GPL-3.0-or-later
// TMainForm: keyboard rules that hold in the whole program (Ctrl+letter types the label
// font's symbols in the program's own edit boxes, the space bar starts and stops
// acquisitions) and the hints.
#include <QApplication>
#include <QClipboard>
#include <QFileInfo>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QTimer>
#include <QToolButton>

#include "ansi.h"
#include "ctrlkeys.h"
#include "mainform.h"
#include "mainform_texts.h"
#include "paintbox.h"

namespace qvt {
namespace {

// X11's lock bit in the native modifier state; other platforms give no Caps Lock state to
// Qt, and the rule then follows Shift alone.
constexpr quint32 kX11LockMask = 0x2;

bool CapsLockDown(const QKeyEvent& key) {
  return QGuiApplication::platformName() == QLatin1String("xcb") &&
         (key.nativeModifiers() & kX11LockMask) != 0;
}

// The symbol keys belong to the program's own windows: the main window and the dialogs
// written for it, all classes of this namespace. Qt's standard dialogs (file, input, message
// boxes...) and any window whose class the program does not declare keep Ctrl+A, Ctrl+Z and
// the other usual editing keys.
bool TakesSymbolKeys(const QWidget& edit) {
  const QWidget* window = edit.window();
  return window != nullptr &&
         QLatin1String(window->metaObject()->className()).startsWith(QLatin1String("qvt::"));
}

} // namespace

bool TMainForm::event(QEvent* event) {
  if (event->type() == QEvent::StatusTip) {
    ShowHint(static_cast<QStatusTipEvent*>(event)->tip());
    return true;
  }
  return QMainWindow::event(event);
}

void TMainForm::ShowHint(const QString& hint) {
  if (hint.isEmpty()) {
    setWindowTitle(ShownFile.isEmpty()
                       ? texts::T(texts::kIdleCaption)
                       : texts::T(texts::kFileCaption).arg(QFileInfo(ShownFile).fileName()));
    return;
  }
  setWindowTitle(hint);
  SetStatusText(hint);
}

bool TMainForm::eventFilter(QObject* watched, QEvent* event) {
  // A key event travels up the parents of the focus widget, passing this filter each time:
  // the rules act on its first delivery only.
  if (event->type() == QEvent::KeyPress && watched == QApplication::focusWidget()) {
    auto* key = static_cast<QKeyEvent*>(event);
    if (FileKeyDown(watched, key) || AppMessage(watched, key) || FormKeyDown(watched, key))
      return true;
  }
  // Every change of the set-up repaints the graph: its description follows it there.
  if (event->type() == QEvent::Paint && watched == TempsPaintBox)
    DescribeGraph();
  if (event->type() == QEvent::MouseButtonPress) {
    for (const TChannelControls& c : Channels)
      if (watched == c.Group) {
        // Opened once the press is over, not from inside its delivery.
        QTimer::singleShot(0, this, [this, group = c.Group] { GroupBox6Click(group); });
        return true;
      }
  }
  return QMainWindow::eventFilter(watched, event);
}

bool TMainForm::AppMessage(QObject* watched, QKeyEvent* key) {
  const Qt::KeyboardModifiers mods = key->modifiers();
  if (!(mods & Qt::ControlModifier) || (mods & (Qt::AltModifier | Qt::MetaModifier)))
    return false;
  if (key->key() < Qt::Key_A || key->key() > Qt::Key_Z)
    return false;
  auto* edit = qobject_cast<QLineEdit*>(watched);
  if (edit == nullptr || !TakesSymbolKeys(*edit))
    return false;
  const int letter = key->key() - Qt::Key_A + 1;
  const bool shift = (mods & Qt::ShiftModifier) || CapsLockDown(*key);
  const TCtrlLetter what = CtrlLetter(letter, shift, edit->hasSelectedText());
  switch (what.Action) {
  case TCtrlLetterAction::Paste:
    return false; // the edit box pastes by itself
  case TCtrlLetterAction::Copy:
    QApplication::clipboard()->setText(edit->selectedText());
    return true;
  case TCtrlLetterAction::Cut:
    QApplication::clipboard()->setText(edit->selectedText());
    if (!edit->isReadOnly())
      edit->del();
    return true;
  case TCtrlLetterAction::Insert:
    if (!edit->isReadOnly())
      edit->insert(QString(QChar(AnsiToUnicode(what.Code))));
    return true;
  }
  return false;
}

bool TMainForm::FormKeyDown(QObject* watched, QKeyEvent* key) {
  if (key->key() != Qt::Key_Space || key->modifiers() != Qt::NoModifier)
    return false;
  auto* widget = qobject_cast<QWidget*>(watched);
  if (widget == nullptr || widget->window() != this)
    return false;
  if (key->isAutoRepeat())
    return true;
  if (!EnregistreBtn->isHidden())
    EnregistreBtnClick();
  else if (!StopBtn->isHidden())
    StopBtnClick();
  return true;
}

} // namespace qvt
