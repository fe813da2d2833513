// SPDX-License-Identifier: GPL-3.0-or-later
// TCanvas: the 2-D drawing surface the graphs draw on, over a QImage.
//
// The canvas keeps a drawing state (pen, brush, font, pen position, clip rectangle) and
// draws with it into the image it is given; it never owns the image. Coordinates are
// integer pixels, x to the right and y downwards from the image's top-left corner.
//
// Shapes given by two corners (x1, y1)-(x2, y2) cover the pixels x1 <= x < x2 and
// y1 <= y < y2, their outline included. A line of width 1 leaves out its end point, so a
// chain of LineTo calls sets every pixel once. The pen mode applies to lines, outlines,
// fills and text alike; in not-xor mode drawing the same thing twice restores every pixel.
// (A not-xor rectangle keeps its fill inside its outline; the outline pixels of not-xor
// ellipses and polygons get the fill's inversion as well, which shows as a mixed colour.)
//
// Drawing happens through a QPainter that is kept open between calls; End() closes it and
// must be called before the image is read, shown, resized or replaced. Every drawing call
// grows the dirty rectangle, which the owner of the image uses to show what changed.
//
// A canvas needs a QGuiApplication (for its fonts) and is used on the GUI thread only.
#pragma once

#include <QColor>
#include <QFont>
#include <QPainter>
#include <QPoint>
#include <QRect>
#include <QSize>

#include <functional>
#include <optional>
#include <span>
#include <string_view>

class QImage;
class QPaintDevice;

namespace qvt {

enum class TPenStyle { Solid, Dash, Dot, DashDot, Clear };

// Copy puts the pen's colour; NotXor puts NOT(source XOR destination), which is its own
// inverse: drawing the same thing twice gives back the picture that was there before.
enum class TPenMode { Copy, NotXor };

enum class TBrushStyle { Solid, Clear };

// Which point of a text's box (its width and its font's line height) lies at (x, y).
enum class TTextAnchor {
  TopLeft,      // text starts at x, its top at y
  TopCentre,    // centred on x, top at y: the label under a tick of a horizontal axis
  TopRight,     // ends at x, top at y: axis titles
  BottomLeft,   // starts at x, bottom at y
  BottomCentre, // centred on x, bottom at y
  BottomRight,  // ends at x, bottom at y: the labels left of a vertical axis
};

// The system's window background colour (the background of the graphs).
QColor SystemWindowColour();

class TCanvas {
public:
  // Draws into image, which must outlive the canvas or be replaced first (SetImage).
  // A null or empty image is accepted: drawing then does nothing.
  explicit TCanvas(QImage* image = nullptr);
  ~TCanvas();
  TCanvas(const TCanvas&) = delete;
  TCanvas& operator=(const TCanvas&) = delete;

  // Ends any drawing and draws from now on into image (may be null). The drawing state,
  // clip rectangle included, is kept; the dirty rectangle is cleared.
  void SetImage(QImage* image);
  QImage* Image() const { return image_; }
  // Ends any drawing and draws from now on into `device` (an SVG generator, a recorded
  // picture, a printer; may be null), as SetImage does. Raster operations are the device's
  // to honour: on a white background a not-xor line looks as a copied one.
  void SetDevice(QPaintDevice* device);
  int Width() const;
  int Height() const;

  // Pen: colour (default black), width in pixels (default 1; values below 1 count as 1),
  // style (default solid; Clear draws no lines and no outlines) and mode (default copy).
  void SetPenColour(const QColor& colour);
  QColor PenColour() const { return penColour_; }
  void SetPenWidth(int width);
  int PenWidth() const { return penWidth_; }
  void SetPenStyle(TPenStyle style);
  TPenStyle PenStyle() const { return penStyle_; }
  void SetPenMode(TPenMode mode);
  TPenMode PenMode() const { return penMode_; }

  // Brush for fills: colour (default white) and style (default solid; Clear fills nothing).
  void SetBrushColour(const QColor& colour);
  QColor BrushColour() const { return brushColour_; }
  void SetBrushStyle(TBrushStyle style);
  TBrushStyle BrushStyle() const { return brushStyle_; }

  // Font: the label font at 13 pixels, normal weight, black, by default. Text is drawn on
  // a transparent background unless SetTextTransparent(false), which fills the text's box
  // with the brush colour first.
  void SetFont(const QFont& font);
  QFont Font() const { return font_; }
  void SetFontPixelSize(int pixels);
  void SetFontBold(bool bold);
  void SetFontColour(const QColor& colour);
  QColor FontColour() const { return fontColour_; }
  void SetTextTransparent(bool transparent);
  bool TextTransparent() const { return textTransparent_; }

  // The clip rectangle, in Qt's terms (right() and bottom() are the last pixels inside).
  // Without one, drawing is clipped to the image and ClipRect() is the whole image.
  void SetClipRect(const QRect& rect);
  void ClearClipRect();
  QRect ClipRect() const;
  bool HasClipRect() const { return clip_.has_value(); }

  // Lines from the pen position.
  void MoveTo(int x, int y);
  void LineTo(int x, int y); // the pen position becomes (x, y)
  QPoint PenPos() const { return penPos_; }
  void Polyline(std::span<const QPoint> points);
  // Outline with the pen, inside filled with the brush (odd-even rule).
  void Polygon(std::span<const QPoint> points);

  void Rectangle(int x1, int y1, int x2, int y2); // outline and fill
  void Ellipse(int x1, int y1, int x2, int y2);   // in the box, outline and fill
  void FillRect(int x1, int y1, int x2, int y2);  // brush only, whatever the brush style

  // Texts are the model's 8-bit strings (see ansi.h), drawn in the font colour.
  void TextOut(int x, int y, std::string_view text, TTextAnchor anchor = TTextAnchor::TopLeft);
  int TextWidth(std::string_view text) const;
  int TextHeight(std::string_view text) const; // the font's line height
  QSize TextExtent(std::string_view text) const;

  // Closes the painter so that the image holds everything drawn so far.
  void End();

  // The union of the pixels touched since the last ClearDirty (clipped to the image).
  QRect DirtyRect() const { return dirty_; }
  void ClearDirty() { dirty_ = QRect(); }
  // Called each time the dirty rectangle stops being empty; the paint box uses it to
  // show direct drawing without being asked.
  void SetDirtyHandler(std::function<void()> handler) { onDirty_ = std::move(handler); }

private:
  QPainter* Painter(); // open and in the current state, or nullptr without an image
  QPen MakePen() const;
  QPen TextPen() const;
  void MarkDirty(const QRect& pixels);
  void MarkDirtyPoints(std::span<const QPoint> points);
  QRect Box(int x1, int y1, int x2, int y2) const;
  QPainter* BoxPainter(const QRect& box); // nullptr for an empty box or without an image
  static QRectF InsetByHalfPen(const QRect& box, int w);

  QImage* image_ = nullptr;
  QPaintDevice* device_ = nullptr; // image_ or another device
  QPainter painter_;
  bool stateChanged_ = true;

  QColor penColour_{Qt::black};
  int penWidth_ = 1;
  TPenStyle penStyle_ = TPenStyle::Solid;
  TPenMode penMode_ = TPenMode::Copy;
  QColor brushColour_{Qt::white};
  TBrushStyle brushStyle_ = TBrushStyle::Solid;
  QFont font_;
  QColor fontColour_{Qt::black};
  bool textTransparent_ = true;
  std::optional<QRect> clip_;
  QPoint penPos_;

  QRect dirty_;
  std::function<void()> onDirty_;
};

} // namespace qvt
