#include "FuncGraph.h"

#include "Evalon.h"

#include <QClipboard>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QResizeEvent>
#include <QStringList>
#include <QTimer>

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

namespace {

constexpr QRgb White = 0xFFFFFFFF;
constexpr QRgb Blue = 0xFF0000FF;

// The main window's graph: 336 x 316 client pixels, defaults, the engine loaded.
struct Graph {
  TEvalon evalon;
  TFuncGraph graph;
  std::vector<std::string> events;

  Graph() {
    evalon.LoadEngine();
    graph.setEvalon(&evalon);
    graph.resize(336, 316);
    graph.UpdateGraph();
    graph.OnDrawStart = [this](TFuncGraph*, int n) { record("start", n); };
    graph.OnFormulaError = [this](TFuncGraph*, int n) { record("error", n); };
    graph.OnDrawEnd = [this](TFuncGraph*, int n) { record("end", n); };
  }
  void record(const char* what, int n) { events.push_back(what + std::to_string(n)); }
  QRgb curve(int x, int y) const { return graph.CurveLayer()->pixel(x, y); }
  int curvePixels(int top, int bottom) const {
    int count = 0;
    for (int y = top; y < bottom; ++y)
      for (int x = 0; x < 336; ++x)
        if (curve(x, y) != White) ++count;
    return count;
  }
};

TEST(FuncGraph, TheFormulaXIsTheDiagonalOfThePlot) {
  Graph g;
  g.graph.setFormulaText(1, QStringLiteral("x"));
  EXPECT_TRUE(g.graph.DrawFunctions());
  EXPECT_EQ(g.curve(10, 296), Blue);
  EXPECT_EQ(g.curve(168, 153), Blue);
  EXPECT_EQ(g.curve(325, 11), Blue);
  EXPECT_EQ(g.curve(326, 10), White); // the last line's end pixel
  EXPECT_EQ(g.curve(9, 297), White);
  // Painted, the curve is ANDed over the background and stays black on the axes.
  const QImage picture = g.graph.Picture();
  EXPECT_EQ(picture.pixel(168, 153), 0xFF000000);
  const int c = 100;
  const int r = g.graph.YToPixel(g.graph.PixelToX(c));
  EXPECT_EQ(picture.pixel(c, r), 0xFF0000E0); // blue AND light yellow
}

// With pi known, sin(pi*x) waves between -1 and 1 rather than lying flat on the axis.
TEST(FuncGraph, SinOfPiXWavesWithPeriodTwo) {
  Graph g;
  g.graph.setFormulaText(1, QStringLiteral("sin(pi*x)"));
  EXPECT_TRUE(g.graph.DrawFunctions());
  const int top = g.graph.YToPixel(1.0);
  const int half = g.graph.YToPixel(0.5);
  EXPECT_GT(g.curvePixels(top - 1, half), 0);
  EXPECT_GT(g.curvePixels(g.graph.YToPixel(-0.5), g.graph.YToPixel(-1.0) + 2), 0);
  EXPECT_EQ(g.curvePixels(0, top - 1), 0);
  EXPECT_EQ(g.curve(g.graph.XToPixel(0.5), top), Blue);
}

TEST(FuncGraph, ACurveReentersFromOutsideAndStopsWhenItLeaves) {
  Graph g;
  g.graph.setFormulaText(1, QStringLiteral("x*x"));
  g.graph.DrawFunctions();
  // Inside the plot only where x*x <= 3; the entering segment reaches into the top margin
  // from its outside point, the leaving one stops at the last column inside.
  int enteringColumn = -1;
  for (int x = 0; x < 336 && enteringColumn < 0; ++x)
    for (int y = 0; y < 10; ++y)
      if (g.curve(x, y) != White) enteringColumn = x;
  EXPECT_GT(enteringColumn, 60);
  EXPECT_LT(enteringColumn, 80);
  for (int x = 168; x < 336; ++x)
    for (int y = 0; y < 10; ++y)
      ASSERT_EQ(g.curve(x, y), White) << x << "," << y;
  EXPECT_EQ(g.curve(168, 153), Blue);
}

TEST(FuncGraph, EventsComeInOrderForUsedSlotsOnly) {
  Graph g;
  g.graph.setFormulaText(1, QStringLiteral("x"));
  g.graph.setFormulaText(3, QStringLiteral("1+"));
  EXPECT_FALSE(g.graph.DrawFunctions());
  EXPECT_EQ(g.events, (std::vector<std::string>{"start1", "end1", "start3", "error3", "end3"}));
  EXPECT_TRUE(g.graph.Formula(3).Error());
  EXPECT_EQ(g.evalon.ErrorCode(), 10); // missing operand, 9, plus one
}

// A failed sample moves the pen like one outside the range: no false line at y = 0.
TEST(FuncGraph, AFormulaThatFailsEverywhereDrawsNothing) {
  Graph g;
  g.graph.setFormulaText(2, QStringLiteral("log(0-1)"));
  EXPECT_FALSE(g.graph.DrawFunctions());
  EXPECT_EQ(g.curvePixels(0, 316), 0);
  Graph empty;
  EXPECT_TRUE(empty.graph.DrawFunctions());
  EXPECT_TRUE(empty.events.empty());
  EXPECT_EQ(empty.curvePixels(0, 316), 0);
}

// Where a formula starts to have values, its curve starts there: nothing is drawn from the
// row the failed samples left the pen on.
TEST(FuncGraph, ACurveStartsAfterFailedSamplesWithoutALineIntoIt) {
  Graph g;
  g.graph.setFormulaText(1, QStringLiteral("sqrt(x-1)+5"));
  g.graph.setYMax(8.0L);
  EXPECT_TRUE(g.graph.DrawFunctions()); // the last sample is good
  EXPECT_GT(g.curvePixels(0, 316), 0);
  EXPECT_EQ(g.curvePixels(g.graph.YToPixel(5.0L) + 1, 316), 0); // the values never go below 5

  Graph root;
  root.graph.setFormulaText(1, QStringLiteral("sqrt(x)+2"));
  root.graph.DrawFunctions();
  EXPECT_EQ(root.curve(168, 57), Blue); // sqrt(0)+2, the first good sample
  EXPECT_EQ(root.curvePixels(root.graph.YToPixel(2.0L) + 1, 316), 0);

  Graph log;
  log.graph.setFormulaText(1, QStringLiteral("log(x)+1"));
  log.graph.DrawFunctions();
  for (int x = 0; x <= 168; ++x) // log fails up to x = 0
    for (int y = 0; y < 316; ++y)
      ASSERT_EQ(log.curve(x, y), White) << x << "," << y;
  EXPECT_GT(log.curvePixels(0, 316), 0);
}

// The Qt warnings issued while it lives.
class Warnings {
public:
  Warnings() { previous = qInstallMessageHandler(&Warnings::record); }
  ~Warnings() { qInstallMessageHandler(previous); }
  static QStringList& texts() {
    static QStringList recorded;
    return recorded;
  }

private:
  static void record(QtMsgType type, const QMessageLogContext&, const QString& text) {
    if (type != QtDebugMsg && type != QtInfoMsg) texts().append(text);
  }
  QtMessageHandler previous;
};

// A graph squeezed to nothing in either direction has nothing to paint into and says nothing.
TEST(FuncGraph, AnEmptyGraphDrawsNothingAndWarnsNothing) {
  for (const QSize size : {QSize(336, 0), QSize(0, 316), QSize(0, 0)}) {
    Graph g;
    g.graph.setFormulaText(1, QStringLiteral("x"));
    g.graph.AddLabel(5, 5);
    Warnings::texts().clear();
    const Warnings warnings;
    g.graph.resize(size);
    g.graph.UpdateGraph();
    EXPECT_TRUE(g.graph.DrawFunctions());
    EXPECT_EQ(g.events, (std::vector<std::string>{"start1", "end1"}));
    EXPECT_TRUE(g.graph.Picture().isNull());
    EXPECT_TRUE(g.graph.ClipboardPicture().isNull());
    EXPECT_TRUE(Warnings::texts().isEmpty())
        << size.width() << "x" << size.height() << ": "
        << Warnings::texts().join(QStringLiteral("; ")).toStdString();
  }
}

TEST(FuncGraph, AHiddenAxisStaysHiddenUntilANewGraph) {
  Graph g;
  g.graph.setXMin(1.0L);
  g.graph.setXMax(5.0L);
  EXPECT_FALSE(g.graph.YAxis().Visible);
  EXPECT_TRUE(g.graph.XAxis().Visible);
  g.graph.setXMin(-3.0L);
  g.graph.setXMax(3.0L);
  EXPECT_FALSE(g.graph.YAxis().Visible);
  g.graph.ResetGraph();
  EXPECT_TRUE(g.graph.YAxis().Visible);
  EXPECT_EQ(g.graph.Mapping().originX(), 168);
}

TEST(FuncGraph, FitYRangeTakesCeilingAndFloor) {
  Graph g;
  g.graph.setFormulaText(1, QStringLiteral("x"));
  g.graph.FitYRange();
  EXPECT_EQ(g.graph.YMin(), -3.0L);
  EXPECT_EQ(g.graph.YMax(), 3.0L);
  g.graph.setFormulaText(1, QStringLiteral("x/2"));
  g.graph.FitYRange();
  EXPECT_EQ(g.graph.YMin(), -2.0L);
  EXPECT_EQ(g.graph.YMax(), 2.0L);
  g.graph.setFormulaText(1, QStringLiteral("2"));
  g.graph.FitYRange();
  EXPECT_EQ(g.graph.YMin(), 2.0L);
  EXPECT_EQ(g.graph.YMax(), 2.0L);
  // Huge values clamp to 32 bits; samples that are not finite bound nothing.
  g.graph.setFormulaText(1, QStringLiteral("10^(x*200)")); // reaches infinity at the right
  g.graph.FitYRange();
  EXPECT_EQ(g.graph.YMax(), 2147483647.0L);
  EXPECT_EQ(g.graph.YMin(), 0.0L);
}

TEST(FuncGraph, ResizeAndNewGraphDiscardTheCurves) {
  Graph g;
  g.graph.setFormulaText(1, QStringLiteral("x"));
  g.graph.DrawFunctions();
  ASSERT_NE(g.graph.CurveLayer(), nullptr);
  g.graph.resize(200, 150);
  QResizeEvent resize(QSize(200, 150), QSize(336, 316));
  QCoreApplication::sendEvent(&g.graph, &resize);
  EXPECT_EQ(g.graph.CurveLayer(), nullptr);
  EXPECT_EQ(g.graph.BackLayer()->size(), QSize(200, 150));
  g.graph.DrawFunctions();
  g.graph.ResetGraph();
  EXPECT_EQ(g.graph.CurveLayer(), nullptr);
}

// A new graph started while a redraw lets messages run ends the redraw after that slot.
TEST(FuncGraph, ARedrawStopsWhenItsLayerIsReplacedMeanwhile) {
  Graph g;
  g.graph.setFormulaText(1, QStringLiteral("x"));
  g.graph.setFormulaText(2, QStringLiteral("x*x"));
  g.graph.OnDrawStart = [&](TFuncGraph*, int n) {
    g.record("start", n);
    if (n == 1) QTimer::singleShot(0, &g.graph, [&] { g.graph.ResetGraph(); });
  };
  g.graph.DrawFunctions();
  EXPECT_EQ(g.events, (std::vector<std::string>{"start1", "end1"}));
  EXPECT_EQ(g.graph.CurveLayer(), nullptr);
  EXPECT_TRUE(g.graph.FormulaText(2).isEmpty());
}

TEST(FuncGraph, TheClipboardGetsThePictureAsPainted) {
  Graph g;
  g.graph.setFormulaText(1, QStringLiteral("x"));
  g.graph.DrawFunctions();
  g.graph.CopyToClipboard();
  const QImage copied = QGuiApplication::clipboard()->image().convertToFormat(QImage::Format_RGB32);
  EXPECT_EQ(copied, g.graph.Picture());
  EXPECT_EQ(copied.pixel(168, 153), 0xFF000000u);
}

// The screen composes the layers itself; it must show exactly the picture, also where only a
// part of the graph is repainted.
TEST(FuncGraph, TheScreenShowsThePicture) {
  Graph g;
  g.graph.setFormulaText(1, QStringLiteral("x"));
  g.graph.setFormulaText(2, QStringLiteral("1-x*x"));
  g.graph.DrawFunctions();
  const QImage shown = g.graph.grab().toImage().convertToFormat(QImage::Format_RGB32);
  EXPECT_EQ(shown, g.graph.Picture());
  const QRect part(100, 90, 70, 50);
  const QImage partShown = g.graph.grab(part).toImage().convertToFormat(QImage::Format_RGB32);
  EXPECT_EQ(partShown, g.graph.Picture().copy(part));
}

// The slot keeps its formula encoded between samples; a new text must be taken at once.
TEST(FuncGraph, ASlotEvaluatesItsCurrentFormula) {
  Graph g;
  TFormula formula;
  formula.Formula = QStringLiteral("x*2");
  EXPECT_EQ(formula.Calculate(&g.evalon, 1.5L), 3.0L);
  formula.Formula = QStringLiteral("x+1");
  EXPECT_EQ(formula.Calculate(&g.evalon, 1.5L), 2.5L);
  formula.Formula = QStringLiteral("1/0");
  formula.Calculate(&g.evalon, 1.5L);
  EXPECT_TRUE(formula.Error());
}

TEST(FuncGraph, SlotsOutsideOneToFiveAreARangeError) {
  TFuncGraph graph;
  EXPECT_THROW(graph.FormulaText(0), std::out_of_range);
  EXPECT_THROW(graph.FormulaPen(6), std::out_of_range);
}

// The colours a new graph starts with, as its documents store them.
TEST(FuncGraph, ANewGraphHasItsColours) {
  TFuncGraph graph;
  const std::vector<GraphColor> pens = {16711680, 255, 32768, 8388608, 128};
  for (int n = 1; n <= 5; ++n)
    EXPECT_EQ(graph.FormulaPen(n).Color, pens[n - 1]) << n;
  EXPECT_EQ(graph.BackBrush().Color, 14745599);
  graph.FormulaPen(2).Color = 0;
  graph.ResetGraph();
  EXPECT_EQ(graph.FormulaPen(2).Color, 255);
}

} // namespace
