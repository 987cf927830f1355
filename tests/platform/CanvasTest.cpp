#include "Canvas.h"

#include <gtest/gtest.h>

#include <QSet>

#include <climits>
#include <string>
#include <vector>

namespace {

QImage filled(int width, int height, QRgb colour) {
  QImage image(width, height, QImage::Format_RGB32);
  image.fill(colour);
  return image;
}

// The image as text, a line per row: '#' for black, '.' for white, '?' for anything else.
std::string picture(const QImage& image) {
  std::string text;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      const QRgb pixel = image.pixel(x, y);
      text += pixel == qRgb(0, 0, 0) ? '#' : pixel == qRgb(255, 255, 255) ? '.' : '?';
    }
    text += '\n';
  }
  return text;
}

// Moves to the first point of `path` and draws lines through the others on a white image.
std::string drawn(int width, int height, const std::vector<QPoint>& path,
                  const QPen& pen = QPen(Qt::black, 1)) {
  QImage image = filled(width, height, qRgb(255, 255, 255));
  Canvas canvas(image);
  canvas.setPen(pen);
  canvas.moveTo(path.front().x(), path.front().y());
  for (std::size_t i = 1; i < path.size(); ++i)
    canvas.lineTo(path[i].x(), path[i].y());
  return picture(image);
}

QSet<QRgb> coloursOf(const QImage& image, const QRect& area) {
  QSet<QRgb> colours;
  for (int y = area.top(); y <= area.bottom(); ++y)
    for (int x = area.left(); x <= area.right(); ++x)
      colours.insert(image.pixel(x, y));
  return colours;
}

TEST(CanvasLineTest, StraightLinesIncludeTheStartAndExcludeTheEnd) {
  EXPECT_EQ(drawn(7, 2, {{1, 0}, {5, 0}}), ".####..\n.......\n");
  EXPECT_EQ(drawn(7, 2, {{5, 1}, {1, 1}}), ".......\n..####.\n");
  EXPECT_EQ(drawn(2, 5, {{0, 0}, {0, 3}}), "#.\n#.\n#.\n..\n..\n");
  EXPECT_EQ(drawn(2, 5, {{1, 4}, {1, 1}}), "..\n..\n.#\n.#\n.#\n");
}

TEST(CanvasLineTest, SlantedLinesStepAlongTheLongerAxis) {
  EXPECT_EQ(drawn(4, 4, {{0, 0}, {3, 3}}), "#...\n.#..\n..#.\n....\n");
  EXPECT_EQ(drawn(4, 4, {{3, 0}, {0, 3}}), "...#\n..#.\n.#..\n....\n");
  // Rows 0, 1/3, 2/3, 1, 4/3, 5/3 rounded; the half-way point (3, 1) lies on the line.
  EXPECT_EQ(drawn(7, 3, {{0, 0}, {6, 2}}), "##.....\n..###..\n.....#.\n");
  EXPECT_EQ(drawn(3, 3, {{0, 0}, {2, 1}}), "#..\n.#.\n...\n")
      << "a half rounds away from the start";
}

TEST(CanvasLineTest, PenPositionAndConnectedLines) {
  QImage image = filled(5, 3, qRgb(255, 255, 255));
  Canvas canvas(image);
  EXPECT_EQ(canvas.penPos(), QPoint(0, 0));
  canvas.moveTo(1, 0);
  canvas.lineTo(1, 0);
  EXPECT_EQ(picture(image), ".....\n.....\n.....\n") << "move-to and a zero line draw nothing";
  canvas.lineTo(4, 0);
  canvas.lineTo(4, 2);
  EXPECT_EQ(canvas.penPos(), QPoint(4, 2));
  EXPECT_EQ(picture(image), ".####\n....#\n.....\n") << "the corner comes from the second line";
  canvas.setPen(QPen(Qt::NoPen));
  canvas.lineTo(0, 2);
  EXPECT_EQ(canvas.penPos(), QPoint(0, 2));
  EXPECT_EQ(picture(image), ".####\n....#\n.....\n");
}

TEST(CanvasLineTest, FarEndsDrawOnlyTheVisiblePartExactly) {
  EXPECT_EQ(drawn(3, 3, {{1, -2'000'000'000}, {1, 2}}), ".#.\n.#.\n...\n");
  EXPECT_EQ(drawn(3, 3, {{-1'000'000'000, -1'000'000'000}, {2, 2}}), "#..\n.#.\n...\n");
  // Half-way along x the row is just past 1/2, so the visible part lies on row 1.
  EXPECT_EQ(drawn(3, 2, {{INT_MIN, 0}, {INT_MAX, 1}}), "...\n###\n");
}

TEST(CanvasLineTest, WidePensStampRoundDots) {
  EXPECT_EQ(drawn(8, 5, {{2, 2}, {6, 2}}, QPen(Qt::black, 3)),
            "........\n.######.\n.######.\n.######.\n........\n");
  EXPECT_EQ(drawn(6, 6, {{2, 2}, {3, 2}}, QPen(Qt::black, 4)),
            "......\n..##..\n.####.\n.####.\n..##..\n......\n");
}

// A pen as wide as a document may ask for draws at its width, round; beyond any screen it
// stops growing.
TEST(CanvasLineTest, PensKeepTheirWidthFarBeyondCurves) {
  QImage image = filled(100, 100, qRgb(255, 255, 255));
  Canvas canvas(image);
  canvas.setPen(QPen(Qt::black, 60));
  canvas.moveTo(20, 50);
  canvas.lineTo(80, 50);
  const auto blackInColumn = [&](int x) {
    int count = 0;
    for (int y = 0; y < 100; ++y)
      if (image.pixel(x, y) == qRgb(0, 0, 0)) ++count;
    return count;
  };
  EXPECT_EQ(blackInColumn(50), 60);
  EXPECT_EQ(image.pixel(50, 21), qRgb(0, 0, 0));
  EXPECT_EQ(image.pixel(50, 80), qRgb(0, 0, 0));
  EXPECT_EQ(image.pixel(50, 81), qRgb(255, 255, 255));
  EXPECT_LT(blackInColumn(0), 60); // the round start cap
  EXPECT_GT(blackInColumn(0), 0);

  canvas.setPen(QPen(Qt::black, 2'000'000'000));
  canvas.moveTo(50, 50);
  canvas.lineTo(51, 50);
  EXPECT_EQ(coloursOf(image, image.rect()), QSet<QRgb>{qRgb(0, 0, 0)});
}

TEST(CanvasLineTest, DashesRunOnOverLinesAndRestartAtMoveTo) {
  const QPen dash(Qt::black, 1, Qt::DashLine); // 4 on, 2 off
  EXPECT_EQ(drawn(13, 1, {{0, 0}, {13, 0}}, dash), "####..####..#\n");
  EXPECT_EQ(drawn(13, 1, {{0, 0}, {3, 0}, {13, 0}}, dash), "####..####..#\n");
  EXPECT_EQ(drawn(10, 1, {{0, 0}, {10, 0}}, QPen(Qt::black, 1, Qt::DotLine)), "#..#..#..#\n");
  EXPECT_EQ(drawn(9, 2, {{0, 0}, {8, 0}}, QPen(Qt::black, 2, Qt::DashLine)),
            "#########\n#########\n")
      << "a wide pen draws solid";

  QImage image = filled(13, 1, qRgb(255, 255, 255));
  Canvas canvas(image);
  canvas.setPen(dash);
  canvas.lineTo(5, 0);
  canvas.moveTo(5, 0);
  canvas.lineTo(13, 0);
  EXPECT_EQ(picture(image), "####.####..##\n");
}

TEST(CanvasLineTest, NothingIsAntiAliased) {
  QImage image = filled(20, 20, qRgb(255, 255, 255));
  Canvas canvas(image);
  canvas.setPen(QPen(Qt::red, 5));
  canvas.moveTo(1, 2);
  canvas.lineTo(18, 9);
  canvas.setFont(QFont("DejaVu Sans", 11, QFont::Normal, true), Qt::red);
  canvas.textOut(2, 8, "Wq");
  EXPECT_EQ(coloursOf(image, image.rect()), (QSet<QRgb>{qRgb(255, 255, 255), qRgb(255, 0, 0)}));
}

TEST(CanvasCopyTest, SrcAndCombinesBitsAndSrcCopyReplaces) {
  const QRgb back = qRgb(0x33, 0x66, 0x99);
  const QRgb front = qRgb(0xF0, 0x5A, 0x0F);
  QImage image = filled(3, 1, back);
  image.setPixel(1, 0, qRgb(0, 0, 0));
  QImage layer = filled(3, 1, qRgb(255, 255, 255));
  layer.setPixel(1, 0, front);
  layer.setPixel(2, 0, front);
  Canvas canvas(image);
  canvas.draw(0, 0, layer, CopyMode::SrcAnd);
  EXPECT_EQ(image.pixel(0, 0), back) << "white leaves the background";
  EXPECT_EQ(image.pixel(1, 0), qRgb(0, 0, 0)) << "black stays black";
  EXPECT_EQ(image.pixel(2, 0), qRgb(0x30, 0x42, 0x09));

  canvas.draw(1, 0, filled(1, 1, qRgb(255, 255, 255)), CopyMode::SrcCopy);
  EXPECT_EQ(image.pixel(0, 0), back);
  EXPECT_EQ(image.pixel(1, 0), qRgb(255, 255, 255));
  EXPECT_EQ(image.pixel(2, 0), qRgb(0x30, 0x42, 0x09));
}

TEST(CanvasFillTest, FillRectCoversExactlyItsPixelsWithTheBrush) {
  QImage image = filled(5, 4, qRgb(255, 255, 255));
  Canvas canvas(image);
  canvas.setBrush(Qt::NoBrush);
  canvas.fillRect(QRect(0, 0, 5, 4));
  canvas.setBrush(QBrush(Qt::black));
  canvas.fillRect(QRect(1, 1, 3, 2));
  EXPECT_EQ(picture(image), ".....\n.###.\n.###.\n.....\n");
}

class CanvasTextTest : public ::testing::Test {
protected:
  const QRgb yellow = qRgb(255, 255, 224);
  const QRgb blue = qRgb(0, 0, 255);
  const QRgb black = qRgb(0, 0, 0);
  QImage image = filled(80, 40, yellow);
  Canvas canvas{image};

  // Writes at (10, 10) and returns the text cell.
  QRect write(const QBrush& brush) {
    canvas.setFont(QFont("DejaVu Sans", 12), Qt::black);
    canvas.setBrush(brush);
    canvas.textOut(10, 10, "W8");
    return QRect(10, 10, canvas.textWidth("W8"), canvas.textHeight());
  }
};

TEST_F(CanvasTextTest, ClearOrHatchedBrushLeavesTheBackgroundAroundGlyphs) {
  for (const QBrush& brush : {QBrush(Qt::NoBrush), QBrush(blue, Qt::CrossPattern)}) {
    image.fill(yellow);
    const QRect cell = write(brush);
    EXPECT_EQ(coloursOf(image, cell), (QSet<QRgb>{yellow, black}));
    EXPECT_EQ(coloursOf(image, image.rect()), (QSet<QRgb>{yellow, black}));
  }
}

TEST_F(CanvasTextTest, SolidBrushFillsExactlyTheCell) {
  const QRect cell = write(QBrush(blue));
  EXPECT_EQ(coloursOf(image, cell), (QSet<QRgb>{blue, black}));
  EXPECT_EQ(coloursOf(image, cell.adjusted(-1, -1, 1, 1)), (QSet<QRgb>{yellow, blue, black}));
  EXPECT_EQ(coloursOf(image, QRect(0, 0, 80, 10)), QSet<QRgb>{yellow});
  EXPECT_EQ(coloursOf(image, QRect(0, 0, 10, 40)), QSet<QRgb>{yellow});
  EXPECT_EQ(coloursOf(image, QRect(cell.right() + 1, 0, 1, 40)), QSet<QRgb>{yellow});
  EXPECT_EQ(coloursOf(image, QRect(0, cell.bottom() + 1, 80, 1)), QSet<QRgb>{yellow});
}

TEST_F(CanvasTextTest, MetricsFollowTextAndFont) {
  canvas.setFont(QFont("DejaVu Sans", 9), Qt::black);
  const int small = canvas.textHeight();
  EXPECT_GT(canvas.textWidth("8888"), canvas.textWidth("88"));
  EXPECT_EQ(canvas.textWidth(""), 0);
  canvas.setFont(QFont("DejaVu Sans", 18), Qt::black);
  EXPECT_GT(canvas.textHeight(), small);
}

// An image made for a screen of ratio 2: coordinates stay its own pixels, pens and dashes
// double, a pen of logical width 1 keeps its dashes, fonts are written twice as large.
TEST(CanvasRatioTest, PensDashesAndFontsScaleWhileCoordinatesStayPixels) {
  const auto drawnAt = [](qreal ratio, int width, int height, QPoint from, QPoint to,
                          const QPen& pen) {
    QImage image = filled(width, height, qRgb(255, 255, 255));
    image.setDevicePixelRatio(ratio);
    Canvas canvas(image);
    canvas.setPen(pen);
    canvas.moveTo(from.x(), from.y());
    canvas.lineTo(to.x(), to.y());
    return picture(image);
  };
  EXPECT_EQ(drawnAt(2, 8, 4, {1, 1}, {6, 1}, QPen(Qt::black, 1)),
            "........\n.######.\n.######.\n........\n");
  EXPECT_EQ(drawnAt(2, 14, 2, {0, 0}, {14, 0}, QPen(Qt::black, 1, Qt::DotLine)),
            "###...###...##\n###...###...##\n")
      << "dots of two pixels, gaps of four, each pixel a dot two pixels wide";
  EXPECT_EQ(drawnAt(1.5, 9, 4, {1, 1}, {7, 1}, QPen(Qt::black, 1)),
            ".........\n.#######.\n.#######.\n.........\n");

  QImage plain = filled(200, 80, qRgb(255, 255, 255));
  QImage fine = filled(200, 80, qRgb(255, 255, 255));
  fine.setDevicePixelRatio(2);
  Canvas plainCanvas(plain);
  Canvas fineCanvas(fine);
  const QFont font("DejaVu Sans", 12);
  plainCanvas.setFont(font, Qt::black);
  fineCanvas.setFont(font, Qt::black);
  EXPECT_EQ(fineCanvas.font(), plainCanvas.font()) << "the font is kept as given";
  EXPECT_NEAR(fineCanvas.textHeight(), 2 * plainCanvas.textHeight(), 2);
  EXPECT_NEAR(fineCanvas.textWidth("W8W8"), 2 * plainCanvas.textWidth("W8W8"), 3);
  fineCanvas.setBrush(QBrush(Qt::black));
  fineCanvas.fillRect(QRect(190, 70, 10, 10));
  EXPECT_EQ(fine.pixel(199, 79), qRgb(0, 0, 0)) << "rectangles are in the image's pixels";
  EXPECT_EQ(fine.pixel(189, 79), qRgb(255, 255, 255));
}

// draw places an image pixel for pixel, whatever the ratio of either image.
TEST(CanvasRatioTest, DrawIgnoresTheRatiosOfBothImages) {
  QImage target = filled(4, 2, qRgb(255, 255, 255));
  target.setDevicePixelRatio(2);
  QImage layer = filled(2, 1, qRgb(0, 0, 0));
  layer.setDevicePixelRatio(2);
  Canvas canvas(target);
  canvas.draw(1, 1, layer, CopyMode::SrcCopy);
  EXPECT_EQ(picture(target), "....\n.##.\n");
  EXPECT_EQ(target.devicePixelRatio(), 2);
}

} // namespace

namespace {

// Keeps what the canvas reports.
struct Recorder : CanvasObserver {
  std::vector<std::pair<QPoint, QPoint>> lines;
  std::vector<std::pair<QRect, QString>> texts;
  int ascent = -1;
  void line(QPoint from, QPoint to, const QPen& pen) override {
    EXPECT_EQ(pen.color(), QColor(Qt::red));
    lines.emplace_back(from, to);
  }
  void text(const QRect& cell, int textAscent, const QString& text, const Canvas&) override {
    texts.emplace_back(cell, text);
    ascent = textAscent;
  }
};

TEST(CanvasObserverTest, IsToldOfEachLineAndTextAsDrawn) {
  QImage image = filled(40, 30, qRgb(255, 255, 255));
  Canvas canvas(image);
  Recorder recorder;
  canvas.setObserver(&recorder);
  canvas.setPen(QPen(Qt::red, 1));
  canvas.moveTo(2, 3);
  canvas.lineTo(9, 3);
  canvas.lineTo(9, 12);
  canvas.textOut(5, 6, QStringLiteral("1.5"));
  ASSERT_EQ(recorder.lines.size(), 2u);
  EXPECT_EQ(recorder.lines[0], std::make_pair(QPoint(2, 3), QPoint(9, 3)));
  EXPECT_EQ(recorder.lines[1], std::make_pair(QPoint(9, 3), QPoint(9, 12)));
  ASSERT_EQ(recorder.texts.size(), 1u);
  EXPECT_EQ(recorder.texts[0].first,
            QRect(5, 6, canvas.textWidth(QStringLiteral("1.5")), canvas.textHeight()));
  EXPECT_EQ(recorder.texts[0].second, QStringLiteral("1.5"));
  EXPECT_GT(recorder.ascent, 0);
  EXPECT_LT(recorder.ascent, canvas.textHeight());
  // What is drawn is unchanged by the observer.
  EXPECT_EQ(image.pixel(2, 3), qRgb(255, 0, 0));
}

} // namespace
