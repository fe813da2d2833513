// SPDX-License-Identifier: GPL-3.0-or-later
// TResidualStrip: the "Résidus" strip under the graph: the residuals of the last good fit,
// measured value minus model, against the graph's own horizontal transform so that they line
// up with the curve above, on a vertical scale symmetric about zero.
#pragma once

#include <QColor>
#include <QString>
#include <QWidget>

#include <vector>

namespace qvt {

class TResidualStrip : public QWidget {
public:
  explicit TResidualStrip(QWidget* parent = nullptr);

  // The residuals at abscissae `x`, drawn in `colour`; `unit` is the 8-bit unit of the values.
  void SetResiduals(std::vector<double> x, std::vector<double> r, const QColor& colour,
                    const std::string& unit);
  // The graph's horizontal transform (pixel = a·x + b) and its plot's columns.
  void SetAxis(double a, double b, int left, int right);
  // The largest residual's magnitude, 0 without residuals.
  double Scale() const { return scale_; }

protected:
  void paintEvent(QPaintEvent* event) override;

private:
  std::vector<double> x_, r_;
  QColor colour_;
  std::string unit_;
  double scale_ = 0;
  double a_ = 1, b_ = 0;
  int left_ = 0, right_ = 0;
};

} // namespace qvt
