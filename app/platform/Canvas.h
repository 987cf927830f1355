// Drawing on an off-screen image with fixed pixel conventions, so that no caller re-derives them.
#pragma once

#include <QBrush>
#include <QColor>
#include <QFont>
#include <QImage>
#include <QPen>
#include <QPoint>
#include <QRect>
#include <QString>

#include <cstdint>
#include <vector>

class Canvas;
class QPainter;

// The device pixels of a length in logical pixels at a device pixel ratio: the nearest integer,
// halves away from zero, within 32 bits. Exact at ratio 1.
int toDevicePixels(int logical, qreal ratio);
// Told of each line and text a canvas draws, in the canvas's own terms, so that another kind
// of picture (a vector one) can repeat them.
class CanvasObserver {
public:
  virtual ~CanvasObserver() = default;
  // A line from `from` to `to` without its end pixel, in the canvas's pen.
  virtual void line(QPoint from, QPoint to, const QPen& pen) = 0;
  // A text whose cell is `cell` and whose baseline lies `ascent` below the cell's top, in the
  // canvas's font, font colour and brush.
  virtual void text(const QRect& cell, int ascent, const QString& text, const Canvas& canvas) = 0;
};

// A new layer: white, Format_RGB32. A large one is backed by huge pages where the system offers
// them, since filling a fresh full-screen image otherwise costs thousands of page faults.
QImage newLayer(const QSize& size);

// How `Canvas::draw` combines an image with what lies under it.
enum class CopyMode {
  SrcCopy, // the image replaces the pixels
  SrcAnd,  // each pixel becomes the bitwise AND of both RGB values
};

// A canvas on a QImage (meant for Format_RGB32) with a current pen position. Nothing is
// anti-aliased, so the image only ever holds the colours that were drawn.
//
// Lines include their start pixel and exclude their end pixel; a line to the pen position itself
// draws nothing. The pixels of a line are one per step along its longer axis, the other
// coordinate rounded to the nearest pixel (halves away from the start). A pen of width w stamps a
// round dot of diameter w on each of those pixels (for even w the extra pixel lies right of and
// below the centre), so a wide line has round ends and its end dot is left out like the end pixel.
// Widths below 1 draw as 1 and widths above kWidestPen as kWidestPen. Dash patterns apply to
// pens one (logical) pixel wide only, a wider pen draws solid; the pattern runs on over
// consecutive line-tos and restarts at each move-to.
//
// Coordinates are always the image's own pixels. An image made for a screen of device pixel
// ratio r (QImage::devicePixelRatio) gets pens, dash patterns and fonts r times as large: pen
// widths and dash lengths are taken in logical pixels and scaled (rounded, at least one pixel),
// a dashed pen of logical width 1 keeps its dashes at any ratio, and text is written in the
// font's size times r, so that what is drawn at ratio r looks like the picture at ratio 1, only
// finer. At ratio 1 nothing is scaled.
//
// Every operation paints through a painter of its own, so the image is free between calls; on an
// empty (null) image every operation does nothing. The image must outlive the canvas.
class Canvas {
public:
  // Wider pens draw at this width, wider than any screen: a dot costs one row per pixel of its
  // width, so even the widest stays cheap.
  static constexpr int kWidestPen = 16384;

  // A new canvas has a black one-pixel pen, a solid white brush, the application font in black
  // and its pen at (0, 0).
  explicit Canvas(QImage& image);

  // The observer (none by default) must outlive its use by the canvas.
  void setObserver(CanvasObserver* observer) { observer_ = observer; }

  void setPen(const QPen& pen);
  const QPen& pen() const { return pen_; }
  void setBrush(const QBrush& brush) { brush_ = brush; }
  const QBrush& brush() const { return brush_; }
  // Text is drawn in `color`: unlike QFont, the canvas font carries its colour. The font is
  // kept as given; text is written in it scaled by the image's ratio.
  void setFont(const QFont& font, const QColor& color);
  const QFont& font() const { return font_; }
  const QColor& fontColor() const { return fontColor_; }

  QSize size() const { return image_.size(); }
  // The image's device pixel ratio, by which logical lengths become the image's pixels.
  qreal ratio() const { return ratio_; }
  int devicePixels(int logical) const { return toDevicePixels(logical, ratio_); }
  QPoint penPos() const { return penPos_; }
  void moveTo(int x, int y);
  // Draws from the pen position to (x, y) without the end pixel, then moves the pen there.
  void lineTo(int x, int y);

  // Writes text with its cell's top-left corner at (x, y). The cell (text width by text height,
  // both in the image's pixels) is filled with the brush when the brush is solid; otherwise the
  // glyphs go on the image as it is. The pen position does not change.
  void textOut(int x, int y, const QString& text);
  int textWidth(const QString& text) const;
  // The height of every text's cell in the current font.
  int textHeight() const;

  // Fills exactly the pixels of `rect` with the brush.
  void fillRect(const QRect& rect);
  // Combines `image` (taken as RGB32) with the canvas, its top-left corner at (x, y).
  void draw(int x, int y, const QImage& image, CopyMode mode);

private:
  class LinePixels;
  struct DotRow { // one row of the pen's dot, in pixels from its centre
    int dy;
    int left;
    int right;
  };

  static std::vector<DotRow> dotRows(int width);
  // Begins the painter on the image's pixels: on the image itself at ratio 1, otherwise on
  // `view`, an image of ratio 1 on the same memory, since a painter on an image of another
  // ratio would scale every coordinate.
  bool begin(QPainter& painter, QImage& view);
  QRect lineBounds() const;
  std::vector<QRect> solidSpans(const LinePixels& line) const;
  std::vector<QRect> dashSpans(const LinePixels& line) const;
  void paint(const std::vector<QRect>& spans);

  QImage& image_;
  qreal ratio_;
  QPen pen_;
  QBrush brush_{Qt::white, Qt::SolidPattern};
  QFont font_;
  QFont deviceFont_; // font_ scaled by the ratio, with antialiasing off
  QColor fontColor_;
  QPoint penPos_;
  std::vector<DotRow> dot_;
  std::vector<bool> dashes_;    // on/off per pixel of the dash pattern; empty when solid
  std::uint64_t dashPhase_ = 0; // pixels of the pattern used since the last move-to
  CanvasObserver* observer_ = nullptr;
};
