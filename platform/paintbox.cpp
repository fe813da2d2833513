// SPDX-License-Identifier: GPL-3.0-or-later
// TPaintBox: keeping the picture in an image, repainting it through the owner's handler,
// and showing direct drawing by the canvas's dirty rectangle.
#include "paintbox.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QResizeEvent>
#include <QWheelEvent>

namespace qvt {

TPaintBox::TPaintBox(QWidget* parent) : QWidget(parent) {
  // The image covers the whole widget, so Qt need not clear the background first.
  setAttribute(Qt::WA_OpaquePaintEvent);
  setMouseTracking(true);
  // Direct drawing shows without the owner asking: the first drawing after a paint queues
  // one flush, which runs when the owner's code returns to the event loop.
  canvas_.SetDirtyHandler([this] {
    if (flushQueued_)
      return;
    flushQueued_ = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
          flushQueued_ = false;
          ShowDirty(false);
        },
        Qt::QueuedConnection);
  });
  ResizeImage(size());
}

TPaintBox::~TPaintBox() {
  canvas_.End();
}

const QImage& TPaintBox::Image() {
  canvas_.End();
  return image_;
}

void TPaintBox::Invalidate() {
  needsPicture_ = true;
  update();
}

void TPaintBox::Repaint() {
  RunPaintHandler();
  if (isVisible())
    repaint();
}

void TPaintBox::Flush() {
  ShowDirty(true);
}

void TPaintBox::ShowDirty(bool now) {
  canvas_.End();
  const QRect dirty = canvas_.DirtyRect();
  if (dirty.isEmpty())
    return;
  canvas_.ClearDirty();
  if (now && isVisible()) {
    repaint(dirty);
  } else {
    update(dirty);
  }
}

void TPaintBox::RunPaintHandler() {
  needsPicture_ = false;
  if (onPaint_ && !image_.isNull())
    onPaint_(canvas_);
  canvas_.End();
  // The whole picture is new; whoever ran the handler shows all of it.
  canvas_.ClearDirty();
}

void TPaintBox::ResizeImage(const QSize& size) {
  canvas_.End();
  if (size.isEmpty()) {
    image_ = QImage();
  } else {
    image_ = QImage(size, QImage::Format_RGB32);
    image_.fill(SystemWindowColour());
  }
  canvas_.SetImage(&image_);
  needsPicture_ = true;
}

void TPaintBox::paintEvent(QPaintEvent* event) {
  const bool fresh = needsPicture_;
  if (fresh)
    RunPaintHandler();
  canvas_.End();
  const QRect area = event->rect();
  QPainter painter(this);
  painter.drawImage(area, image_, area);
  // A new picture painted during a partial exposure still has to show everywhere.
  if (fresh && area != rect())
    update();
}

void TPaintBox::resizeEvent(QResizeEvent* event) {
  ResizeImage(event->size());
  QWidget::resizeEvent(event);
}

namespace {

TMouseInfo Info(const QMouseEvent* event) {
  const QPoint p = event->position().toPoint();
  return TMouseInfo{p.x(), p.y(), event->button(), event->buttons(), event->modifiers()};
}

} // namespace

void TPaintBox::mousePressEvent(QMouseEvent* event) {
  if (onMouseDown_)
    onMouseDown_(Info(event));
}

void TPaintBox::mouseMoveEvent(QMouseEvent* event) {
  if (onMouseMove_)
    onMouseMove_(Info(event));
}

void TPaintBox::mouseReleaseEvent(QMouseEvent* event) {
  if (onMouseUp_)
    onMouseUp_(Info(event));
}

void TPaintBox::mouseDoubleClickEvent(QMouseEvent* event) {
  if (onDoubleClick_)
    onDoubleClick_(Info(event));
  else
    mousePressEvent(event);
}

void TPaintBox::wheelEvent(QWheelEvent* event) {
  if (!onWheel_) {
    QWidget::wheelEvent(event);
    return;
  }
  const QPoint p = event->position().toPoint();
  // 120 eighths of a degree to a notch; touch pads send fractions of one.
  TMouseInfo info{p.x(), p.y(), Qt::NoButton, event->buttons(), event->modifiers()};
  info.WheelNotches = event->angleDelta().y() / 120.0;
  onWheel_(info);
  event->accept();
}

} // namespace qvt
