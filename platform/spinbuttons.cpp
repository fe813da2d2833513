// SPDX-License-Identifier: GPL-3.0-or-later
// TSpinButton and TUpDown: two stacked arrow buttons, with a position for the up-down.
#include "spinbuttons.h"

#include <QKeyEvent>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWheelEvent>

#include <algorithm>

namespace qvt {

TSpinButton::TSpinButton(QWidget* parent)
    : QWidget(parent), up_(new QToolButton(this)), down_(new QToolButton(this)) {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  for (QToolButton* b : {up_, down_}) {
    b->setArrowType(b == up_ ? Qt::UpArrow : Qt::DownArrow);
    b->setAutoRepeat(true);
    b->setFocusPolicy(Qt::NoFocus);
    b->setFixedSize(16, 11);
    layout->addWidget(b);
  }
  setFocusPolicy(Qt::TabFocus);
  connect(up_, &QToolButton::clicked, this, &TSpinButton::UpClick);
  connect(down_, &QToolButton::clicked, this, &TSpinButton::DownClick);
}

void TSpinButton::SetAccessibleNames(const QString& up, const QString& down) {
  up_->setAccessibleName(up);
  down_->setAccessibleName(down);
  // The pair takes the keyboard focus (Up and Down keys), so it is named as well.
  setAccessibleName(up + QStringLiteral(" / ") + down);
}

void TSpinButton::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Up) {
    Q_EMIT UpClick();
  } else if (event->key() == Qt::Key_Down) {
    Q_EMIT DownClick();
  } else {
    QWidget::keyPressEvent(event);
  }
}

void TSpinButton::wheelEvent(QWheelEvent* event) {
  const int dy = event->angleDelta().y();
  if (dy > 0)
    Q_EMIT UpClick();
  else if (dy < 0)
    Q_EMIT DownClick();
  event->accept();
}

TUpDown::TUpDown(QWidget* parent) : TSpinButton(parent) {
  connect(this, &TSpinButton::UpClick, this, [this] { Step(1); });
  connect(this, &TSpinButton::DownClick, this, [this] { Step(-1); });
}

void TUpDown::SetRange(int min, int max) {
  min_ = min;
  max_ = std::max(min, max);
  position_ = std::clamp(position_, min_, max_);
}

void TUpDown::SetPosition(int position) {
  position_ = std::clamp(position, min_, max_);
}

void TUpDown::Step(int delta) {
  const int next = position_ + delta;
  Q_EMIT ChangingEx(next);
  if (next >= min_ && next <= max_)
    position_ = next;
}

} // namespace qvt
