// SPDX-License-Identifier: GPL-3.0-or-later
// TResidualStrip: drawn with a painter of its own; a few thousand points at most, one pixel
// column each at the graph's scale.
#include "residual_strip.h"

#include <QCoreApplication>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

#include "model_text.h"

namespace qvt {

TResidualStrip::TResidualStrip(QWidget* parent) : QWidget(parent) {
  setObjectName("ResidualStrip");
  setAccessibleName(QCoreApplication::translate("qvt::TModelPanel", "Résidus"));
  const int h = fontMetrics().height();
  setFixedHeight(5 * h);
}

void TResidualStrip::SetResiduals(std::vector<double> x, std::vector<double> r,
                                  const QColor& colour, const std::string& unit) {
  x_ = std::move(x);
  r_ = std::move(r);
  colour_ = colour;
  unit_ = unit;
  scale_ = 0;
  for (const double v : r_)
    if (std::isfinite(v))
      scale_ = std::max(scale_, std::fabs(v));
  update();
}

void TResidualStrip::SetAxis(double a, double b, int left, int right) {
  if (a == a_ && b == b_ && left == left_ && right == right_)
    return;
  a_ = a, b_ = b, left_ = left, right_ = right;
  update();
}

void TResidualStrip::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.fillRect(rect(), palette().base());
  // The label on a line of its own, the residuals in the band under it.
  const int line = fontMetrics().height();
  const int mid = line + (height() - line) / 2;
  const int half = std::max(1, (height() - line) / 2 - 2);
  p.setPen(QPen(palette().color(QPalette::Mid), 1, Qt::DotLine));
  p.drawLine(left_, mid, right_, mid);
  p.setPen(palette().color(QPalette::Text));
  const TValueText scale = FitValueParts(scale_, std::nullopt, unit_);
  const QString label =
      QCoreApplication::translate("qvt::TModelPanel", "Résidus ±%1")
          .arg(QString::fromStdString(scale.value) +
               (scale.unit.empty() ? QString()
                                   : QLatin1Char(' ') + QString::fromStdString(scale.unit)));
  p.drawText(QRect(4, 0, width() - 8, line), Qt::AlignLeft | Qt::AlignTop, label);
  if (scale_ <= 0 || x_.empty())
    return;
  p.setClipRect(QRect(QPoint(left_, line), QPoint(right_, height() - 1)));
  p.setPen(QPen(colour_, 1));
  QPainterPath path;
  bool open = false;
  for (std::size_t i = 0; i < x_.size() && i < r_.size(); ++i) {
    if (!std::isfinite(r_[i])) {
      open = false;
      continue;
    }
    const QPointF at(a_ * x_[i] + b_, mid - r_[i] / scale_ * half);
    if (open)
      path.lineTo(at);
    else
      path.moveTo(at);
    open = true;
  }
  p.drawPath(path);
}

} // namespace qvt
