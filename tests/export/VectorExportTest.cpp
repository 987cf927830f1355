// The graph's SVG and PDF pictures read back: their size, their curves against the mapping and
// against the screen's picture, their text, and the writing of export files.
#include "FileSizeLimit.h"
#include "GraphExport.h"
#include "GraphScene.h"

#include "Evalon.h"
#include "FuncGraph.h"
#include "GraphLabel.h"
#include "KurvoError.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QSvgRenderer>
#include <QTemporaryDir>
#include <QXmlStreamReader>

#include <gtest/gtest.h>

#include <unistd.h>

namespace {

// The main window's graph with the engine, its curves drawn.
struct Graph {
  TEvalon evalon;
  TFuncGraph graph;

  explicit Graph(const QString& formula) {
    evalon.LoadEngine();
    graph.setEvalon(&evalon);
    graph.resize(336, 316);
    graph.UpdateGraph();
    graph.setFormulaText(1, formula);
    graph.DrawFunctions();
  }
};

struct SvgRoot {
  QString width;
  QString height;
  QString viewBox;
};

struct SvgPolyline {
  QString stroke; // of the innermost group that sets one
  QPolygonF points;
};

// The root's size and the polylines of an SVG document.
struct SvgContents {
  SvgRoot root;
  std::vector<SvgPolyline> polylines;
  bool wellFormed = false;
};

QPolygonF pointsOf(const QString& text) {
  QPolygonF points;
  for (const QString& pair : text.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
    const QStringList xy = pair.split(QLatin1Char(','));
    points << QPointF(xy.value(0).toDouble(), xy.value(1).toDouble());
  }
  return points;
}

SvgContents readSvg(const QByteArray& svg) {
  SvgContents contents;
  QXmlStreamReader reader(svg);
  QStringList strokes{QString()};
  while (!reader.atEnd()) {
    reader.readNext();
    if (reader.isStartElement()) {
      const QXmlStreamAttributes a = reader.attributes();
      if (reader.name() == QLatin1String("svg"))
        contents.root = {a.value(QLatin1String("width")).toString(),
                         a.value(QLatin1String("height")).toString(),
                         a.value(QLatin1String("viewBox")).toString()};
      const QString stroke = a.value(QLatin1String("stroke")).toString();
      strokes << (stroke.isEmpty() ? strokes.last() : stroke);
      if (reader.name() == QLatin1String("polyline"))
        contents.polylines.push_back(
            {strokes.last(), pointsOf(a.value(QLatin1String("points")).toString())});
    } else if (reader.isEndElement()) {
      strokes.removeLast();
    }
  }
  contents.wellFormed = !reader.hasError();
  return contents;
}

// The first slot's blue ANDed over the light yellow background, as the screen shows it.
const QString CurveStroke = QStringLiteral("#0000e0");

std::vector<QPolygonF> curveLines(const SvgContents& svg) {
  std::vector<QPolygonF> lines;
  for (const SvgPolyline& line : svg.polylines)
    if (line.stroke == CurveStroke) lines.push_back(line.points);
  return lines;
}

TEST(SvgExport, HasTheGraphSizeAndItsCurvePointsLieOnTheMapping) {
  Graph g(QStringLiteral("x"));
  const SvgContents svg = readSvg(svgDocument(graphScene(g.graph)));
  ASSERT_TRUE(svg.wellFormed);
  EXPECT_EQ(svg.root.width, QStringLiteral("336"));
  EXPECT_EQ(svg.root.height, QStringLiteral("316"));
  EXPECT_EQ(svg.root.viewBox, QStringLiteral("0 0 336 316"));
  const std::vector<QPolygonF> lines = curveLines(svg);
  ASSERT_EQ(lines.size(), 1u);
  // The diagonal is straight: its ends remain, at the centres of the first and last column's
  // pixels.
  ASSERT_EQ(lines[0].size(), 2);
  const GraphMapping& m = g.graph.Mapping();
  for (const QPointF& p : lines[0]) {
    const long double x = m.pixelToX(static_cast<int>(p.x() - 0.5));
    const double row = static_cast<double>(m.plotTop() + (m.graphRange().yMax - x) * m.yScale());
    EXPECT_NEAR(p.y(), row + 0.5, 0.006);
  }
  EXPECT_EQ(lines[0].first().x(), m.plotLeft() + 0.5);
  EXPECT_EQ(lines[0].last().x(), m.plotRight() + 0.5);
  // Axes and ticks are lines too, in black.
  const auto black = std::count_if(svg.polylines.begin(), svg.polylines.end(),
                                   [](const SvgPolyline& l) { return l.stroke == "#000000"; });
  EXPECT_GT(black, 10);
}

// Whether a pixel is the first slot's blue or an antialiased part of it: much more blue than
// red (the axes and values are black, the background light yellow).
bool bluish(QRgb pixel) {
  return qBlue(pixel) - qRed(pixel) > 100;
}

// Whether some pixel within one pixel of (x, y) of the picture is bluish.
bool bluishNear(const QImage& picture, int x, int y) {
  for (int dy = -1; dy <= 1; ++dy)
    for (int dx = -1; dx <= 1; ++dx)
      if (picture.valid(x + dx, y + dy) && bluish(picture.pixel(x + dx, y + dy))) return true;
  return false;
}

// The graph's SVG rendered back, its curve pixels against the picture's: each bluish pixel of
// either has one of the other within a pixel. The picture's count of curve pixels.
int expectRenderedBackWithinAPixel(Graph& g) {
  const QImage picture = g.graph.ClipboardPicture();
  QSvgRenderer renderer(svgDocument(graphScene(g.graph)));
  EXPECT_TRUE(renderer.isValid());
  QImage rendered(picture.size(), QImage::Format_RGB32);
  rendered.fill(Qt::white);
  QPainter painter(&rendered);
  renderer.render(&painter);
  painter.end();
  int curvePixels = 0;
  for (int y = 0; y < picture.height(); ++y)
    for (int x = 0; x < picture.width(); ++x) {
      if (bluish(picture.pixel(x, y))) {
        ++curvePixels;
        EXPECT_TRUE(bluishNear(rendered, x, y)) << "picture's curve at " << x << "," << y;
      }
      if (qBlue(rendered.pixel(x, y)) - qRed(rendered.pixel(x, y)) > 200) {
        EXPECT_TRUE(bluishNear(picture, x, y)) << "rendered curve at " << x << "," << y;
      }
    }
  return curvePixels;
}

TEST(SvgExport, RenderedBackItsCurveCoversThePicturesCurveWithinAPixel) {
  Graph g(QStringLiteral("sin(x*2)*2+x/3"));
  EXPECT_GT(expectRenderedBackWithinAPixel(g), 316);
}

// Poles are gaps, jumps have no riser, bands are filled, domain edges reached: as on screen.
TEST(SvgExport, DifficultCurvesRenderedBackMatchThePicture) {
  for (const char* formula : {"tan(x*2)", "(x>0.5)-(x<0.5)", "sin(1/x)", "sqrt(1-x*x)"}) {
    SCOPED_TRACE(formula);
    Graph g(QString::fromLatin1(formula));
    EXPECT_GT(expectRenderedBackWithinAPixel(g), 100);
  }
}

TEST(SvgExport, AFailingFormulaBreaksTheCurveWhereTheScreenDoes) {
  // sqrt(x) has no value left of 0: the curve starts at the screen's first column with one.
  Graph g(QStringLiteral("sqrt(x)"));
  const std::vector<QPolygonF> lines = curveLines(readSvg(svgDocument(graphScene(g.graph))));
  ASSERT_EQ(lines.size(), 1u);
  const QImage* layer = g.graph.CurveLayer();
  int firstColumn = 0;
  while (firstColumn < layer->width() && [&] {
    for (int y = 0; y < layer->height(); ++y)
      if (layer->pixel(firstColumn, y) != 0xFFFFFFFF) return false;
    return true;
  }())
    ++firstColumn;
  EXPECT_EQ(firstColumn, g.graph.XToPixel(0));
  EXPECT_EQ(lines[0].first().x(), firstColumn + 0.5);
}

// The text pdftotext reads from the document.
QString pdfText(const QString& file) {
  QProcess process;
  process.start(QStringLiteral("pdftotext"), {file, QStringLiteral("-")});
  EXPECT_TRUE(process.waitForFinished(60000)) << "pdftotext (poppler-utils) is needed";
  return QString::fromUtf8(process.readAllStandardOutput());
}

QString pdfInfo(const QString& file) {
  QProcess process;
  process.start(QStringLiteral("pdfinfo"), {file});
  EXPECT_TRUE(process.waitForFinished(60000)) << "pdfinfo (poppler-utils) is needed";
  return QString::fromUtf8(process.readAllStandardOutput());
}

TEST(PdfExport, ItsTextHoldsTheAxisValuesAndTheLabels) {
  Graph g(QStringLiteral("x"));
  ASSERT_TRUE(g.graph.AddLabel(40, 30));
  g.graph.Label(1)->setCaption(QStringLiteral("Peak value"));
  ASSERT_TRUE(g.graph.AddLabel(200, 250));
  g.graph.Label(2)->hide(); // a deleted label is not shown
  QTemporaryDir dir;
  const QString file = dir.filePath(QStringLiteral("g.pdf"));
  ExportGraph(g.graph, file, ExportFormat::Pdf);
  const QString text = pdfText(file);
  EXPECT_TRUE(text.contains(QStringLiteral("Peak value"))) << text.toStdString();
  EXPECT_FALSE(text.contains(QStringLiteral("GraphLabel02"))) << text.toStdString();
  for (const char* value : {"-3", "-2", "-1", "0", "1", "2", "3"})
    EXPECT_TRUE(text.contains(QLatin1String(value))) << value;
  // 336 x 316 pixels at 96 per inch are 252 x 237 points.
  EXPECT_TRUE(
      pdfInfo(file).contains(QRegularExpression(QStringLiteral("Page size: +252 x 237 pts"))))
      << pdfInfo(file).toStdString();
}

TEST(ExportFile, FormatsFollowTheSuffix) {
  EXPECT_EQ(exportFormatOf(QStringLiteral("a/b.PNG")), ExportFormat::Png);
  EXPECT_EQ(exportFormatOf(QStringLiteral("b.svg")), ExportFormat::Svg);
  EXPECT_EQ(exportFormatOf(QStringLiteral("b.Pdf")), ExportFormat::Pdf);
  EXPECT_EQ(exportFormatOf(QStringLiteral("b.pdf.txt")), std::nullopt);
  EXPECT_EQ(exportFormatOf(QStringLiteral("svg")), std::nullopt);

  Graph g(QStringLiteral("x"));
  QTemporaryDir dir;
  const QString png = dir.filePath(QStringLiteral("g.png"));
  ExportGraph(g.graph, png, ExportFormat::Png);
  EXPECT_EQ(QImage(png).convertToFormat(QImage::Format_RGB32), g.graph.ClipboardPicture());
}

QByteArray contents(const QString& file) {
  QFile f(file);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

TEST(ExportFile, AFailedWriteLeavesTheExistingFileAndSaysSo) {
  Graph g(QStringLiteral("x"));
  QTemporaryDir dir;
  for (const ExportFormat format : {ExportFormat::Png, ExportFormat::Svg, ExportFormat::Pdf}) {
    const QString file = dir.filePath(QStringLiteral("kept"));
    QFile existing(file);
    ASSERT_TRUE(existing.open(QIODevice::WriteOnly));
    existing.write("kept");
    existing.close();
    try {
      const FileSizeLimit limit(64);
      ExportGraph(g.graph, file, format);
      ADD_FAILURE() << "no error";
    } catch (const KurvoError& error) {
      EXPECT_EQ(error.message(), file + QStringLiteral(" に書き込めません"));
    }
    EXPECT_EQ(contents(file), "kept");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("kept")});
  }
  // A folder that may not be written (not for the superuser, who writes anywhere).
  const QString locked = dir.filePath(QStringLiteral("locked"));
  ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("locked")));
  QFile existing(locked + QStringLiteral("/g.pdf"));
  ASSERT_TRUE(existing.open(QIODevice::WriteOnly));
  existing.write("kept");
  existing.close();
  QFile::setPermissions(locked, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
  if (geteuid() != 0) {
    EXPECT_THROW(ExportGraph(g.graph, existing.fileName(), ExportFormat::Pdf), KurvoError);
    EXPECT_EQ(contents(existing.fileName()), "kept");
  }
  QFile::setPermissions(locked,
                        QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
  const QString missing = dir.filePath(QStringLiteral("missing/g.svg"));
  EXPECT_THROW(ExportGraph(g.graph, missing, ExportFormat::Svg), KurvoError);
}

} // namespace
