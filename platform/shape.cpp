// SPDX-License-Identifier: GPL-3.0-or-later
// TShape: the outline drawn inside the widget so that a 1-pixel pen is never cut off.
#include "shape.h"

#include <QMouseEvent>
#include <QPainter>

namespace qvt {

TShape::TShape(QWidget* parent) : QWidget(parent) {}

void TShape::SetKind(TKind kind) {
  kind_ = kind;
  update();
}

void TShape::SetBrushColour(const QColor& colour) {
  if (colour == brush_)
    return;
  brush_ = colour;
  update();
}

void TShape::SetPenColour(const QColor& colour) {
  if (colour == pen_)
    return;
  pen_ = colour;
  update();
}

void TShape::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.setPen(pen_);
  p.setBrush(brush_);
  const QRectF box = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
  if (kind_ == RoundSquare) {
    p.setRenderHint(QPainter::Antialiasing);
    p.drawRoundedRect(box, width() / 4.0, height() / 4.0);
  } else {
    p.drawRect(box);
  }
}

void TShape::mousePressEvent(QMouseEvent* event) {
  Q_EMIT MouseDown(event->button());
  QWidget::mousePressEvent(event);
}

} // namespace qvt
