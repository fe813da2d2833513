// SPDX-License-Identifier: GPL-3.0-or-later
// TCanvas: drawing with a kept-open QPainter in the pixel rules of the header.
#include "canvas.h"

#include "ansi.h"
#include "labelfont.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QImage>
#include <QPalette>
#include <QPen>
#include <QRectF>
#include <QVector>

#include <algorithm>

namespace qvt {
namespace {

// Dash patterns in pen widths. Qt's own patterns start with a dot for DotLine but use
// rounded lengths that look alike at width 1; these keep dashes and gaps clearly apart.
const QVector<qreal> kDash = {6, 4};
const QVector<qreal> kDot = {1, 2};
const QVector<qreal> kDashDot = {6, 3, 1, 3};

} // namespace

QColor SystemWindowColour() {
  return QGuiApplication::palette().color(QPalette::Base);
}

TCanvas::TCanvas(QImage* image)
    : image_(image), device_(image), font_(LabelFont(kLabelFontSmall)) {}

TCanvas::~TCanvas() {
  End();
}

void TCanvas::SetImage(QImage* image) {
  End();
  image_ = image;
  device_ = image;
  dirty_ = QRect();
  stateChanged_ = true;
}

void TCanvas::SetDevice(QPaintDevice* device) {
  End();
  image_ = nullptr;
  device_ = device;
  dirty_ = QRect();
  stateChanged_ = true;
}

int TCanvas::Width() const {
  return device_ ? device_->width() : 0;
}
int TCanvas::Height() const {
  return device_ ? device_->height() : 0;
}

void TCanvas::SetPenColour(const QColor& colour) {
  penColour_ = colour;
}
void TCanvas::SetPenWidth(int width) {
  penWidth_ = std::max(width, 1);
}
void TCanvas::SetPenStyle(TPenStyle style) {
  penStyle_ = style;
}

void TCanvas::SetPenMode(TPenMode mode) {
  if (mode == penMode_)
    return;
  penMode_ = mode;
  stateChanged_ = true;
}

void TCanvas::SetBrushColour(const QColor& colour) {
  brushColour_ = colour;
}
void TCanvas::SetBrushStyle(TBrushStyle style) {
  brushStyle_ = style;
}

void TCanvas::SetFont(const QFont& font) {
  font_ = font;
}
void TCanvas::SetFontPixelSize(int pixels) {
  font_.setPixelSize(std::max(pixels, 1));
}
void TCanvas::SetFontBold(bool bold) {
  font_.setBold(bold);
}
void TCanvas::SetFontColour(const QColor& colour) {
  fontColour_ = colour;
}
void TCanvas::SetTextTransparent(bool transparent) {
  textTransparent_ = transparent;
}

void TCanvas::SetClipRect(const QRect& rect) {
  clip_ = rect.normalized();
  stateChanged_ = true;
}

void TCanvas::ClearClipRect() {
  clip_.reset();
  stateChanged_ = true;
}

QRect TCanvas::ClipRect() const {
  const QRect whole(0, 0, Width(), Height());
  return clip_ ? whole.intersected(*clip_) : whole;
}

QPainter* TCanvas::Painter() {
  if (device_ == nullptr || (image_ != nullptr && image_->isNull()))
    return nullptr;
  if (!painter_.isActive()) {
    if (!painter_.begin(device_))
      return nullptr;
    stateChanged_ = true;
  }
  if (stateChanged_) {
    // Raster operations act on whole pixels: shapes are drawn aliased, and in not-xor mode
    // text asks for aliased glyphs too, so that no font engine hands the raster operation
    // partial coverage to blend.
    painter_.setRenderHint(QPainter::Antialiasing, false);
    painter_.setRenderHint(QPainter::TextAntialiasing, penMode_ == TPenMode::Copy);
    // Vector devices (SVG, PDF, printers) know no raster operation; what is drawn there is
    // drawn once over white, where not-xor gives the pen's own colour.
    painter_.setCompositionMode(penMode_ == TPenMode::NotXor && image_ != nullptr
                                    ? QPainter::RasterOp_NotSourceXorDestination
                                    : QPainter::CompositionMode_SourceOver);
    if (clip_) {
      painter_.setClipRect(*clip_);
    } else {
      painter_.setClipping(false);
    }
    stateChanged_ = false;
  }
  return &painter_;
}

void TCanvas::End() {
  if (painter_.isActive())
    painter_.end();
}

QPen TCanvas::MakePen() const {
  if (penStyle_ == TPenStyle::Clear)
    return QPen(Qt::NoPen);
  QPen pen(penColour_);
  pen.setWidth(penWidth_);
  // A flat cap leaves out a thin line's end point, so consecutive LineTo segments meet
  // without setting the shared pixel twice (which not-xor would turn back).
  // Thick traces get round ends so that their segments join smoothly.
  if (penWidth_ == 1) {
    pen.setCapStyle(Qt::FlatCap);
    pen.setJoinStyle(Qt::MiterJoin);
  } else {
    pen.setCapStyle(Qt::RoundCap);
    pen.setJoinStyle(Qt::RoundJoin);
  }
  switch (penStyle_) {
  case TPenStyle::Dash:
    pen.setDashPattern(kDash);
    break;
  case TPenStyle::Dot:
    pen.setDashPattern(kDot);
    break;
  case TPenStyle::DashDot:
    pen.setDashPattern(kDashDot);
    break;
  case TPenStyle::Solid:
  case TPenStyle::Clear:
    break;
  }
  return pen;
}

QPen TCanvas::TextPen() const {
  return QPen(fontColour_);
}

void TCanvas::MarkDirty(const QRect& pixels) {
  const QRect r = pixels.intersected(ClipRect());
  if (r.isEmpty())
    return;
  const bool wasClean = dirty_.isEmpty();
  dirty_ |= r;
  if (wasClean && onDirty_)
    onDirty_();
}

void TCanvas::MarkDirtyPoints(std::span<const QPoint> points) {
  if (points.empty())
    return;
  int left = points.front().x(), right = left, top = points.front().y(), bottom = top;
  for (const QPoint& p : points) {
    left = std::min(left, p.x());
    right = std::max(right, p.x());
    top = std::min(top, p.y());
    bottom = std::max(bottom, p.y());
  }
  const int m = penWidth_ / 2 + 1;
  MarkDirty(QRect(QPoint(left, top), QPoint(right, bottom)).adjusted(-m, -m, m, m));
}

QPainter* TCanvas::BoxPainter(const QRect& box) {
  return box.isEmpty() ? nullptr : Painter();
}

// The rectangle of a pen's centre line that keeps a pen of width w inside box.
QRectF TCanvas::InsetByHalfPen(const QRect& box, int w) {
  const qreal half = w / 2.0;
  return QRectF(box.left() + half, box.top() + half, box.width() - w, box.height() - w);
}

QRect TCanvas::Box(int x1, int y1, int x2, int y2) const {
  const int left = std::min(x1, x2), right = std::max(x1, x2);
  const int top = std::min(y1, y2), bottom = std::max(y1, y2);
  return QRect(left, top, right - left, bottom - top);
}

void TCanvas::MoveTo(int x, int y) {
  penPos_ = QPoint(x, y);
}

void TCanvas::LineTo(int x, int y) {
  const QPoint from = penPos_;
  penPos_ = QPoint(x, y);
  if (penStyle_ == TPenStyle::Clear)
    return;
  QPainter* p = Painter();
  if (!p)
    return;
  p->setPen(MakePen());
  p->drawLine(from, penPos_);
  const QPoint ends[] = {from, penPos_};
  MarkDirtyPoints(ends);
}

void TCanvas::Polyline(std::span<const QPoint> points) {
  if (points.size() < 2 || penStyle_ == TPenStyle::Clear)
    return;
  QPainter* p = Painter();
  if (!p)
    return;
  p->setPen(MakePen());
  p->drawPolyline(points.data(), static_cast<int>(points.size()));
  MarkDirtyPoints(points);
}

void TCanvas::Polygon(std::span<const QPoint> points) {
  if (points.size() < 2)
    return;
  QPainter* p = Painter();
  if (!p)
    return;
  p->setPen(MakePen());
  p->setBrush(brushStyle_ == TBrushStyle::Solid ? QBrush(brushColour_) : QBrush(Qt::NoBrush));
  p->drawPolygon(points.data(), static_cast<int>(points.size()), Qt::OddEvenFill);
  MarkDirtyPoints(points);
}

void TCanvas::Rectangle(int x1, int y1, int x2, int y2) {
  const QRect box = Box(x1, y1, x2, y2);
  QPainter* p = BoxPainter(box);
  if (!p)
    return;
  const bool outline = penStyle_ != TPenStyle::Clear;
  const int w = outline ? penWidth_ : 0;
  // The fill stops inside the outline so that no pixel is drawn twice: in not-xor mode the
  // outline would otherwise show the pen and the brush inverted together.
  if (brushStyle_ == TBrushStyle::Solid) {
    const QRect inside = box.adjusted(w, w, -w, -w);
    if (!inside.isEmpty())
      p->fillRect(inside, brushColour_);
  }
  if (outline) {
    // The pen runs along the box's edge pixels, its full width inside the box.
    p->setPen(MakePen());
    p->setBrush(Qt::NoBrush);
    if (box.width() <= w || box.height() <= w) {
      p->fillRect(box, penColour_);
    } else {
      p->drawRect(InsetByHalfPen(box, w));
    }
  }
  MarkDirty(box);
}

void TCanvas::Ellipse(int x1, int y1, int x2, int y2) {
  const QRect box = Box(x1, y1, x2, y2);
  QPainter* p = BoxPainter(box);
  if (!p)
    return;
  const int w = penStyle_ == TPenStyle::Clear ? 0 : penWidth_;
  p->setPen(MakePen());
  p->setBrush(brushStyle_ == TBrushStyle::Solid ? QBrush(brushColour_) : QBrush(Qt::NoBrush));
  // The pen's centre line is inset by half its width so that the outline stays in the box;
  // a fill alone takes the pixels whose centres lie inside the box's ellipse.
  p->drawEllipse(InsetByHalfPen(box, w));
  MarkDirty(box);
}

void TCanvas::FillRect(int x1, int y1, int x2, int y2) {
  const QRect box = Box(x1, y1, x2, y2);
  QPainter* p = BoxPainter(box);
  if (!p)
    return;
  p->fillRect(box, brushColour_);
  MarkDirty(box);
}

void TCanvas::TextOut(int x, int y, std::string_view text, TTextAnchor anchor) {
  if (text.empty())
    return;
  QPainter* p = Painter();
  if (!p)
    return;
  QFont font = font_;
  if (penMode_ == TPenMode::NotXor)
    font.setStyleStrategy(QFont::NoAntialias);
  const QString s = AnsiToQString(text);
  const QFontMetrics fm(font);
  const int width = fm.horizontalAdvance(s);
  const int height = fm.height();

  int left = x;
  switch (anchor) {
  case TTextAnchor::TopLeft:
  case TTextAnchor::BottomLeft:
    break;
  case TTextAnchor::TopCentre:
  case TTextAnchor::BottomCentre:
    left = x - width / 2;
    break;
  case TTextAnchor::TopRight:
  case TTextAnchor::BottomRight:
    left = x - width;
    break;
  }
  const bool bottom = anchor == TTextAnchor::BottomLeft || anchor == TTextAnchor::BottomCentre ||
                      anchor == TTextAnchor::BottomRight;
  const int top = bottom ? y - height : y;
  const QRect box(left, top, width, height);

  if (!textTransparent_)
    p->fillRect(box, brushColour_);
  p->setFont(font);
  p->setPen(TextPen());
  p->drawText(QPoint(left, top + fm.ascent()), s);
  // Glyphs may overhang their advance box (bold, italics, accents above capitals).
  MarkDirty(
      box.united(fm.boundingRect(s).translated(left, top + fm.ascent())).adjusted(-1, -1, 1, 1));
}

int TCanvas::TextWidth(std::string_view text) const {
  return QFontMetrics(font_).horizontalAdvance(AnsiToQString(text));
}

int TCanvas::TextHeight(std::string_view) const {
  return QFontMetrics(font_).height();
}

QSize TCanvas::TextExtent(std::string_view text) const {
  return QSize(TextWidth(text), TextHeight(text));
}

} // namespace qvt
