// SPDX-License-Identifier: GPL-3.0-or-later
// TShape: a plain filled shape (a rectangle or a rounded square) with an outline, as a widget;
// the colour swatches of the channel groups and the readout marker on the graph.
#pragma once

#include <QColor>
#include <QWidget>

namespace qvt {

class TShape : public QWidget {
  Q_OBJECT

public:
  enum TKind { Rectangle, RoundSquare };

  explicit TShape(QWidget* parent = nullptr);

  TKind Kind() const { return kind_; }
  void SetKind(TKind kind);
  QColor BrushColour() const { return brush_; }
  void SetBrushColour(const QColor& colour);
  QColor PenColour() const { return pen_; }
  void SetPenColour(const QColor& colour);

Q_SIGNALS:
  void MouseDown(Qt::MouseButton button);

protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;

private:
  TKind kind_ = Rectangle;
  QColor brush_{Qt::white};
  QColor pen_{Qt::black};
};

} // namespace qvt
