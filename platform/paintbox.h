// SPDX-License-Identifier: GPL-3.0-or-later
// TPaintBox: the widget the graphs draw on, with its picture kept in an image.
//
// The paint box owns a QImage the size of the widget and a TCanvas over it. Its owner
// sets a paint handler that draws the whole picture on the canvas; the paint box calls it
// when the picture must be made anew: after Invalidate() or Repaint(), when the widget is
// first shown and after every resize. Between two such paints the owner may draw directly
// on Canvas() (traces while samples arrive, a dragged marker, live crosses); what it draws
// reaches the screen by itself once the event loop runs, or at once with Flush(). Other
// exposures of the widget are served from the image, so they keep the direct drawing.
//
// Mouse presses, moves (with or without a button held), releases, double clicks and wheel
// turns are passed to the owner's handlers with the position in canvas pixels.
#pragma once

#include "canvas.h"

#include <QImage>
#include <QWidget>

#include <functional>

namespace qvt {

struct TMouseInfo {
  int X = 0;
  int Y = 0;
  Qt::MouseButton Button = Qt::NoButton; // the button pressed or released; none for moves
  Qt::MouseButtons Buttons;              // the buttons held after the event
  Qt::KeyboardModifiers Modifiers;
  double WheelNotches = 0; // wheel turns only: notches away from the user positive
};

class TPaintBox : public QWidget {
  Q_OBJECT

public:
  using PaintHandler = std::function<void(TCanvas&)>;
  using MouseHandler = std::function<void(const TMouseInfo&)>;

  explicit TPaintBox(QWidget* parent = nullptr);
  ~TPaintBox() override;

  // The canvas over the picture; valid for the paint box's life (its size follows the
  // widget's).
  TCanvas& Canvas() { return canvas_; }
  // The picture as it stands (direct drawing included).
  const QImage& Image();

  void SetPaintHandler(PaintHandler handler) { onPaint_ = std::move(handler); }
  void SetMouseDownHandler(MouseHandler handler) { onMouseDown_ = std::move(handler); }
  void SetMouseMoveHandler(MouseHandler handler) { onMouseMove_ = std::move(handler); }
  void SetMouseUpHandler(MouseHandler handler) { onMouseUp_ = std::move(handler); }
  // Without a double-click handler a double click is a second press.
  void SetDoubleClickHandler(MouseHandler handler) { onDoubleClick_ = std::move(handler); }
  void SetWheelHandler(MouseHandler handler) { onWheel_ = std::move(handler); }

  // Asks for a new picture: the paint handler runs at the next paint of the widget.
  void Invalidate();
  // Makes the new picture now: runs the paint handler and shows the result before
  // returning (when the widget is visible).
  void Repaint();
  // Shows the direct drawing done since the last paint or flush now.
  void Flush();

protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;

private:
  void RunPaintHandler();
  void ShowDirty(bool now);
  void ResizeImage(const QSize& size);

  QImage image_;
  TCanvas canvas_;
  bool needsPicture_ = true;
  bool flushQueued_ = false;
  PaintHandler onPaint_;
  MouseHandler onMouseDown_;
  MouseHandler onMouseMove_;
  MouseHandler onMouseUp_;
  MouseHandler onDoubleClick_;
  MouseHandler onWheel_;
};

} // namespace qvt
