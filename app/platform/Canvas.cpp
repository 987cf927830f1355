#include "Canvas.h"

#include <sys/mman.h>

#include <QFontMetrics>
#include <QPainter>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <utility>

// The pixels of a line without its end pixel. Pixel i lies i steps along the longer axis from the
// start; the other coordinate is i * d / count rounded, halves away from the start.
class Canvas::LinePixels {
public:
  LinePixels(QPoint from, QPoint to)
      : from_(from), dx_(std::int64_t{to.x()} - from.x()), dy_(std::int64_t{to.y()} - from.y()),
        count_(std::max(std::abs(dx_), std::abs(dy_))) {}

  std::int64_t count() const { return count_; }
  std::int64_t x(std::int64_t i) const { return from_.x() + offset(i, dx_); }
  std::int64_t y(std::int64_t i) const { return from_.y() + offset(i, dy_); }

  // The indices [first, last) of the pixels that lie within `bounds` along the longer axis. Only
  // these are visited, so a line from a point far off the image costs no more than one across it.
  std::pair<std::int64_t, std::int64_t> indicesWithin(const QRect& bounds) const {
    const bool alongX = std::abs(dx_) >= std::abs(dy_);
    const std::int64_t low = alongX ? bounds.left() : bounds.top();
    const std::int64_t high = alongX ? bounds.right() : bounds.bottom();
    const std::int64_t start = alongX ? from_.x() : from_.y();
    const bool rises = (alongX ? dx_ : dy_) > 0;
    const std::int64_t first = rises ? low - start : start - high;
    const std::int64_t last = (rises ? high - start : start - low) + 1;
    return {std::max<std::int64_t>(first, 0), std::min(last, count_)};
  }

private:
  // Exact for any two 32-bit ends: i < count < 2^32 and |d| <= count keep the product in 64 bits.
  std::int64_t offset(std::int64_t i, std::int64_t d) const {
    const auto product = static_cast<std::uint64_t>(i) * static_cast<std::uint64_t>(std::abs(d));
    const auto count = static_cast<std::uint64_t>(count_);
    const auto rounded =
        static_cast<std::int64_t>(product / count + (2 * (product % count) >= count));
    return d < 0 ? -rounded : rounded;
  }

  QPoint from_;
  std::int64_t dx_;
  std::int64_t dy_;
  std::int64_t count_;
};

namespace {

bool contains(const QRect& bounds, std::int64_t x, std::int64_t y) {
  return x >= bounds.left() && x <= bounds.right() && y >= bounds.top() && y <= bounds.bottom();
}

// On or off for each pixel of the pen's dash pattern, its lengths scaled by the ratio; empty for
// a solid pen.
std::vector<bool> dashPixels(const QPen& pen, qreal ratio) {
  std::vector<bool> pixels;
  if (pen.style() == Qt::SolidLine || pen.style() == Qt::NoPen) return pixels;
  const QList<qreal> pattern = pen.dashPattern();
  for (qsizetype k = 0; k < pattern.size(); ++k)
    pixels.insert(pixels.end(), std::max(0L, std::lround(pattern[k] * ratio)), k % 2 == 0);
  return pixels;
}

// An image of ratio 1 on the pixels of `image`, which it must not outlive: read-only on a const
// image, writable (the image detached first) on another.
QImage ratioOneView(const QImage& image) {
  return QImage(image.constBits(), image.width(), image.height(), image.bytesPerLine(),
                image.format());
}
QImage ratioOneView(QImage& image) {
  return QImage(image.bits(), image.width(), image.height(), image.bytesPerLine(), image.format());
}

} // namespace

int toDevicePixels(int logical, qreal ratio) {
  const auto pixels = std::llround(logical * static_cast<double>(ratio));
  return static_cast<int>(std::clamp<long long>(pixels, std::numeric_limits<int>::min(),
                                                std::numeric_limits<int>::max()));
}

Canvas::Canvas(QImage& image) : image_(image), ratio_(image.devicePixelRatio()) {
  setPen(QPen(Qt::black, 1));
  setFont(QFont(), Qt::black);
}

void Canvas::setPen(const QPen& pen) {
  pen_ = pen;
  const int width = std::clamp(toDevicePixels(pen.width(), ratio_), 1, kWidestPen);
  dot_ = dotRows(width);
  dashes_ = pen.width() <= 1 ? dashPixels(pen, ratio_) : std::vector<bool>();
  dashPhase_ = 0;
}

// The rows of a round dot of diameter `width`, relative to its centre pixel: a pixel belongs to
// the dot when its centre lies within the circle, so each row is the widest run of pixel
// centres that fits. Measured in half pixels (u across, v down) from the dot's centre, the run
// of a row ends at the largest u of the centres' parity with u² + v² ≤ width². One square root
// per row keeps the widest pens cheap.
std::vector<Canvas::DotRow> Canvas::dotRows(int width) {
  const int low = -(width - 1) / 2;
  const int centreTwice = (width - 1) % 2; // an even dot's centre lies between pixels
  std::vector<DotRow> rows;
  rows.reserve(width);
  for (int dy = low; dy < low + width; ++dy) {
    const std::int64_t v = 2 * dy - centreTwice;
    const std::int64_t room = std::int64_t{width} * width - v * v;
    auto u = static_cast<std::int64_t>(std::sqrt(static_cast<double>(room)));
    while (u * u > room)
      --u;
    while ((u + 1) * (u + 1) <= room)
      ++u;
    if ((u - centreTwice) % 2 != 0) --u;
    rows.push_back(
        {dy, static_cast<int>((centreTwice - u) / 2), static_cast<int>((u + centreTwice) / 2)});
  }
  return rows;
}

void Canvas::setFont(const QFont& font, const QColor& color) {
  font_ = font;
  deviceFont_ = font;
  deviceFont_.setStyleStrategy(QFont::StyleStrategy(font.styleStrategy() | QFont::NoAntialias));
  if (font.pointSizeF() > 0)
    deviceFont_.setPointSizeF(font.pointSizeF() * ratio_);
  else if (font.pixelSize() > 0)
    deviceFont_.setPixelSize(std::max(1, toDevicePixels(font.pixelSize(), ratio_)));
  fontColor_ = color;
}

void Canvas::moveTo(int x, int y) {
  penPos_ = QPoint(x, y);
  dashPhase_ = 0;
}

void Canvas::lineTo(int x, int y) {
  const LinePixels line(penPos_, QPoint(x, y));
  if (observer_) observer_->line(penPos_, QPoint(x, y), pen_);
  if (pen_.style() != Qt::NoPen) paint(dashes_.empty() ? solidSpans(line) : dashSpans(line));
  if (!dashes_.empty()) dashPhase_ = (dashPhase_ + line.count()) % dashes_.size();
  penPos_ = QPoint(x, y);
}

// The image grown by the pen's reach: dots centred in it can touch the image.
QRect Canvas::lineBounds() const {
  const int reach = static_cast<int>(dot_.size()); // the pen's width in the image's pixels
  return image_.rect().adjusted(-reach, -reach, reach, reach);
}

// One run per row: the dots of neighbouring line pixels overlap or touch, so the dots along a
// line cover each row in one piece. Only the rows that the line and its dots reach are looked
// at, since a curve is drawn as one short line per pixel column.
std::vector<QRect> Canvas::solidSpans(const LinePixels& line) const {
  const QRect bounds = lineBounds();
  const auto [first, last] = line.indicesWithin(bounds);
  if (first >= last) return {};
  // A line is monotonic, so its visited rows lie between those of its first and last pixel.
  const std::int64_t firstRow = line.y(first);
  const std::int64_t lastRow = line.y(last - 1);
  const std::int64_t low = std::min(firstRow, lastRow);
  const std::int64_t high = std::max(firstRow, lastRow);
  const auto [dotTop, dotBottom] = std::minmax_element(
      dot_.begin(), dot_.end(), [](const DotRow& a, const DotRow& b) { return a.dy < b.dy; });
  const int top = static_cast<int>(std::max<std::int64_t>(low + dotTop->dy, bounds.top()));
  const int bottom =
      static_cast<int>(std::min<std::int64_t>(high + dotBottom->dy, bounds.bottom()));
  if (top > bottom) return {};
  std::vector<std::pair<int, int>> runs(bottom - top + 1, {INT_MAX, INT_MIN});
  for (std::int64_t i = first; i < last; ++i) {
    if (!contains(bounds, line.x(i), line.y(i))) continue;
    const auto x = static_cast<int>(line.x(i));
    const auto y = static_cast<int>(line.y(i));
    for (const DotRow& row : dot_) {
      const int r = y + row.dy - top;
      if (r < 0 || r > bottom - top) continue;
      runs[r] = {std::min(runs[r].first, x + row.left), std::max(runs[r].second, x + row.right)};
    }
  }
  std::vector<QRect> spans;
  for (int r = 0; r <= bottom - top; ++r)
    if (runs[r].first <= runs[r].second)
      spans.emplace_back(QPoint(runs[r].first, top + r), QPoint(runs[r].second, top + r));
  return spans;
}

// The dots on the line's pixels that the dash pattern leaves on; dashed pens are one logical
// pixel wide, so their dots are single pixels at ratio 1 and small at any other.
std::vector<QRect> Canvas::dashSpans(const LinePixels& line) const {
  const QRect bounds = lineBounds();
  std::vector<QRect> spans;
  const auto [first, last] = line.indicesWithin(bounds);
  for (std::int64_t i = first; i < last; ++i) {
    const bool on = dashes_[(dashPhase_ + i) % dashes_.size()];
    if (!on || !contains(bounds, line.x(i), line.y(i))) continue;
    const auto x = static_cast<int>(line.x(i));
    const auto y = static_cast<int>(line.y(i));
    for (const DotRow& row : dot_)
      spans.emplace_back(QPoint(x + row.left, y + row.dy), QPoint(x + row.right, y + row.dy));
  }
  return spans;
}

// The spans of a line go straight into the image's rows: a curve is thousands of short lines,
// and a painter for each would cost more than their pixels.
void Canvas::paint(const std::vector<QRect>& spans) {
  if (spans.empty() || image_.isNull()) return;
  if (image_.format() != QImage::Format_RGB32 && image_.format() != QImage::Format_ARGB32) {
    QImage view;
    QPainter painter;
    if (!begin(painter, view)) return;
    for (const QRect& span : spans)
      painter.fillRect(span, pen_.color());
    return;
  }
  const QRgb color = pen_.color().rgb();
  for (const QRect& span : spans) {
    const QRect part = span & image_.rect();
    for (int y = part.top(); y <= part.bottom(); ++y) {
      QRgb* row = reinterpret_cast<QRgb*>(image_.scanLine(y));
      std::fill(row + part.left(), row + part.right() + 1, color);
    }
  }
}

void Canvas::textOut(int x, int y, const QString& text) {
  QImage view;
  QPainter painter;
  if (!begin(painter, view)) return;
  const QFontMetrics metrics(deviceFont_, &image_);
  const QRect cell(x, y, metrics.horizontalAdvance(text), metrics.height());
  if (observer_) observer_->text(cell, metrics.ascent(), text, *this);
  if (brush_.style() == Qt::SolidPattern) painter.fillRect(cell, brush_);
  painter.setFont(deviceFont_);
  painter.setPen(fontColor_);
  painter.drawText(QPoint(x, y + metrics.ascent()), text);
}

int Canvas::textWidth(const QString& text) const {
  return QFontMetrics(deviceFont_, &image_).horizontalAdvance(text);
}

int Canvas::textHeight() const {
  return QFontMetrics(deviceFont_, &image_).height();
}

void Canvas::fillRect(const QRect& rect) {
  QImage view;
  QPainter painter;
  if (!begin(painter, view)) return;
  painter.fillRect(rect, brush_);
}

// The image is placed pixel for pixel, whatever its own ratio.
void Canvas::draw(int x, int y, const QImage& image, CopyMode mode) {
  QImage view;
  QPainter painter;
  if (!begin(painter, view) || image.isNull()) return;
  painter.setCompositionMode(mode == CopyMode::SrcAnd ? QPainter::RasterOp_SourceAndDestination
                                                      : QPainter::CompositionMode_Source);
  const QImage source = image.convertToFormat(QImage::Format_RGB32);
  painter.drawImage(x, y, source.devicePixelRatio() == 1 ? source : ratioOneView(source));
}

// An empty image has nothing to paint on: every operation on it does nothing.
bool Canvas::begin(QPainter& painter, QImage& view) {
  if (image_.isNull()) return false;
  if (image_.devicePixelRatio() == 1) {
    painter.begin(&image_);
  } else {
    view = ratioOneView(image_);
    painter.begin(&view);
  }
  painter.setRenderHint(QPainter::Antialiasing, false);
  return true;
}

namespace {

// Asks for transparent huge pages on the whole 2 MiB blocks inside the range; only a hint.
void adviseHugePages(void* data, std::size_t bytes) {
  constexpr std::uintptr_t block = 2 * 1024 * 1024;
  const auto start = reinterpret_cast<std::uintptr_t>(data);
  const std::uintptr_t first = (start + block - 1) & ~(block - 1);
  const std::uintptr_t end = (start + bytes) & ~(block - 1);
  if (end > first) madvise(reinterpret_cast<void*>(first), end - first, MADV_HUGEPAGE);
}

} // namespace

QImage newLayer(const QSize& size) {
  QImage layer(size, QImage::Format_RGB32);
  if (!layer.isNull()) adviseHugePages(layer.bits(), static_cast<std::size_t>(layer.sizeInBytes()));
  layer.fill(Qt::white);
  return layer;
}
