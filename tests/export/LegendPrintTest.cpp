// The legend in the vector scene and the files made from it, and the graph printed through
// Qt's printer to a PDF file, read back with poppler's pdftotext and pdftoppm.
#include "GraphExport.h"
#include "GraphPrint.h"
#include "GraphScene.h"

#include "Evalon.h"
#include "FuncGraph.h"

#include <QImage>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// A graph of sin(x) and x with its legend, the curves drawn.
struct LegendGraph {
  TEvalon evalon;
  TFuncGraph graph;

  explicit LegendGraph(QSize size = {336, 316}) {
    evalon.LoadEngine();
    graph.setEvalon(&evalon);
    graph.resize(size);
    graph.UpdateGraph();
    graph.setFormulaText(1, QStringLiteral("sin(x)"));
    graph.setFormulaText(3, QStringLiteral("x"));
    graph.setLegendVisible(true);
    graph.DrawFunctions();
  }
};

QString run(const QString& program, const QStringList& arguments) {
  QProcess process;
  process.start(program, arguments);
  EXPECT_TRUE(process.waitForFinished(60000)) << qPrintable(program) << " (poppler-utils)";
  return QString::fromUtf8(process.readAllStandardOutput());
}

QString pdfText(const QString& file) {
  return run(QStringLiteral("pdftotext"), {file, QStringLiteral("-")});
}

// The printer writing a PDF file, as the print dialog sets it up for "print to file".
void printToFile(const GraphScene& scene, const QString& file) {
  QPrinter printer(QPrinter::HighResolution);
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(file);
  ASSERT_TRUE(printGraph(scene, printer));
}

TEST(LegendExport, TheSceneHoldsTheBoxTheScreenShowsAndTheFilesCarryIt) {
  LegendGraph g;
  const GraphScene scene = graphScene(g.graph);
  EXPECT_EQ(scene.legend.box, g.graph.LegendRect());
  QStringList texts;
  for (const SceneText& text : scene.legend.texts)
    texts << text.text;
  EXPECT_EQ(texts, QStringList({QStringLiteral("f1: sin(x)"), QStringLiteral("f3: x")}));
  ASSERT_EQ(scene.legend.samples.size(), 2u);
  EXPECT_EQ(scene.legend.samples[1].pen.color(), QColor(Qt::darkGreen));

  QTemporaryDir dir;
  const QString png = dir.filePath(QStringLiteral("g.png"));
  ExportGraph(g.graph, png, ExportFormat::Png);
  const QPoint sample = scene.legend.samples[0].from + QPoint(2, 0);
  EXPECT_EQ(QImage(png).pixel(sample), QColor(Qt::blue).rgb());
  EXPECT_TRUE(QString::fromUtf8(svgDocument(scene)).contains(QStringLiteral("f3: x")));
  const QString pdf = dir.filePath(QStringLiteral("g.pdf"));
  ExportGraph(g.graph, pdf, ExportFormat::Pdf);
  EXPECT_TRUE(pdfText(pdf).contains(QStringLiteral("f1: sin(x)")));
}

TEST(PrintGraph, APageOfAPdfFileHoldsEveryAxisValueAndTheLegend) {
  LegendGraph g;
  const GraphScene scene = graphScene(g.graph);
  QTemporaryDir dir;
  const QString file = dir.filePath(QStringLiteral("printed.pdf"));
  printToFile(scene, file);
  const QString text = pdfText(file);
  ASSERT_GT(scene.values.size(), 10u);
  for (const SceneText& value : scene.values)
    EXPECT_TRUE(text.contains(value.text)) << value.text.toStdString();
  EXPECT_TRUE(text.contains(QStringLiteral("f3: x")));
  EXPECT_TRUE(run(QStringLiteral("pdfinfo"), {file})
                  .contains(QRegularExpression(QStringLiteral("Pages: +1\n"))));

  QPrinter unwritable(QPrinter::HighResolution);
  unwritable.setOutputFileName(dir.filePath(QStringLiteral("missing/printed.pdf")));
  EXPECT_FALSE(printGraph(scene, unwritable));
}

// Rendered at 72 dots per inch, a pixel of the page is a point: the graph's light yellow fills
// exactly the largest rectangle of its aspect in the printable area, centred across, at its top.
TEST(PrintGraph, TheGraphFillsThePrintableAreaWithItsAspectKept) {
  for (const QSize size : {QSize(336, 316), QSize(600, 200), QSize(150, 600)}) {
    SCOPED_TRACE(size.width());
    LegendGraph g(size);
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("printed.pdf"));
    printToFile(graphScene(g.graph), file);
    run(QStringLiteral("pdftoppm"),
        {QStringLiteral("-png"), QStringLiteral("-r"), QStringLiteral("72"),
         QStringLiteral("-singlefile"), file, dir.filePath(QStringLiteral("page"))});
    const QImage page(dir.filePath(QStringLiteral("page.png")));
    ASSERT_FALSE(page.isNull());
    QRect painted;
    for (int y = 0; y < page.height(); ++y)
      for (int x = 0; x < page.width(); ++x)
        if (page.pixel(x, y) != 0xFFFFFFFF) painted |= QRect(x, y, 1, 1);

    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    const QRectF area = printer.pageRect(QPrinter::Point);
    const qreal scale = std::min(area.width() / size.width(), area.height() / size.height());
    const QSizeF fitted = QSizeF(size) * scale;
    const QRectF expected(area.left() + (area.width() - fitted.width()) / 2, area.top(),
                          fitted.width(), fitted.height());
    EXPECT_NEAR(painted.left(), expected.left(), 1.5);
    EXPECT_NEAR(painted.top(), expected.top(), 1.5);
    EXPECT_NEAR(painted.right() + 1, expected.right(), 1.5);
    EXPECT_NEAR(painted.bottom() + 1, expected.bottom(), 1.5);
  }
}

} // namespace
