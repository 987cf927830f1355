// Tests of the parameters in the document: the sections written, their round trip, hostile
// sections, stale sections of an earlier save, and what loading hands to the engine.
#include "Evalon.h"
#include "FuncGraph.h"
#include "ShiftJisCodec.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <limits>

namespace {

constexpr QRgb White = 0xFFFFFFFF;

class ParameterDocumentTest : public ::testing::Test {
protected:
  ParameterDocumentTest() {
    evalon.LoadEngine();
    for (TFuncGraph* g : {&graph, &other}) {
      g->setEvalon(&evalon);
      g->resize(336, 316);
      g->setGraphName(path());
    }
  }

  QString path() const { return dir.filePath(QStringLiteral("graph.kvx")); }

  QByteArray fileText() const {
    QFile file(path());
    return file.open(QIODevice::ReadOnly) ? fromShiftJis(file.readAll()).toUtf8() : QByteArray();
  }

  void writeFile(const QByteArray& bytes) const {
    QFile file(path());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_EQ(file.write(bytes), bytes.size());
  }

  QTemporaryDir dir;
  TEvalon evalon;
  TFuncGraph graph;
  TFuncGraph other;
};

TEST_F(ParameterDocumentTest, RowsRoundTripWithFifteenDigits) {
  graph.setFormulaText(1, QStringLiteral("a*sin(k#*x)"));
  ASSERT_TRUE(graph.setParameterValue(0, 0.123456789012345));
  ASSERT_TRUE(graph.setParameterRange(1, -1.23456789012345e-7, 98765.4321098765));
  ASSERT_TRUE(graph.setParameterValue(1, 2.5));
  graph.SaveToFile();
  EXPECT_TRUE(fileText().endsWith("[Parameter01]\r\nName=a\r\nValue=0.123456789012345\r\n"
                                  "Min=-10\r\nMax=10\r\n"
                                  "[Parameter02]\r\nName=k#\r\nValue=2.5\r\n"
                                  "Min=-1.23456789012345E-7\r\nMax=98765.4321098765\r\n"));
  other.LoadFromFile();
  ASSERT_EQ(other.Parameters().count(), 2);
  EXPECT_EQ(other.Parameters().at(0), (GraphParameter{"a", 0.123456789012345, -10.0, 10.0}));
  EXPECT_EQ(other.Parameters().at(1),
            (GraphParameter{"k#", 2.5, -1.23456789012345e-7, 98765.4321098765}));
}

// Ends so close that fifteen digits write them alike, or so large that fifteen digits round
// them beyond the largest double, are written in full, so that the range does not come back as
// the default one.
TEST_F(ParameterDocumentTest, RangesThatFifteenDigitsCannotHoldRoundTrip) {
  graph.setFormulaText(1, QStringLiteral("a*x"));
  ASSERT_TRUE(graph.setParameterRange(0, 1.0000000000000002, 1.0000000000000004));
  const GraphParameter narrow = graph.Parameters().at(0);
  graph.SaveToFile();
  EXPECT_TRUE(fileText().endsWith("Min=1.0000000000000002\r\nMax=1.0000000000000004\r\n"));
  other.LoadFromFile();
  ASSERT_EQ(other.Parameters().count(), 1);
  EXPECT_EQ(other.Parameters().at(0), narrow);
  // Fifteen digits of the largest double round up beyond it.
  ASSERT_TRUE(graph.setParameterRange(0, 0.0, std::numeric_limits<double>::max()));
  const GraphParameter wide = graph.Parameters().at(0);
  graph.SaveToFile();
  other.LoadFromFile();
  ASSERT_EQ(other.Parameters().count(), 1);
  EXPECT_EQ(other.Parameters().at(0), wide);
}

// A row no formula uses any more is saved and comes back; new names of the formulas follow the
// saved rows.
TEST_F(ParameterDocumentTest, UnusedRowsStayAndFormulaNamesFollow) {
  graph.setFormulaText(1, QStringLiteral("b*x"));
  ASSERT_TRUE(graph.setParameterValue(0, 4.0));
  graph.setFormulaText(1, QStringLiteral("c"));
  graph.SaveToFile();
  writeFile(fileText().replace("Func01Formula=c", "Func01Formula=d+c+b"));
  other.LoadFromFile();
  ASSERT_EQ(other.Parameters().count(), 3);
  EXPECT_EQ(other.Parameters().at(0), (GraphParameter{"b", 4.0, -10.0, 10.0}));
  EXPECT_EQ(other.Parameters().at(1).name, "c");
  EXPECT_EQ(other.Parameters().at(2).name, "d");
}

// The engine gives a variable nobody set the value 0, so an older document's a*x drew y = 0:
// it still does, and saves as it was read until the user sets the row. Typed into a new
// graph, the same formula draws y = x and saves its row.
TEST_F(ParameterDocumentTest, OlderDocumentsKeepTheirPictureAndTheirBytes) {
  other.SaveToFile();
  QFile file(path());
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QByteArray older = file.readAll().replace("Func01Formula=\r\n", "Func01Formula=a*x\r\n");
  file.close();
  writeFile(older);
  const auto drawnAt = [](TFuncGraph& g, double x, double y) {
    return g.CurveLayer()->pixel(g.XToPixel(x), g.YToPixel(y)) != White;
  };

  graph.LoadFromFile();
  ASSERT_EQ(graph.Parameters().count(), 1);
  EXPECT_EQ(graph.Parameters().at(0), (GraphParameter{"a", 0.0, -10.0, 10.0, false}));
  EXPECT_TRUE(drawnAt(graph, 2.0, 0.0));
  EXPECT_FALSE(drawnAt(graph, 2.0, 2.0));
  graph.SaveToFile();
  QFile saved(path());
  ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
  EXPECT_EQ(saved.readAll(), older);
  EXPECT_FALSE(graph.IsChanged());
  ASSERT_TRUE(graph.setParameterValue(0, 0.0));
  EXPECT_TRUE(graph.IsChanged());
  graph.SaveToFile();
  EXPECT_TRUE(fileText().endsWith("[Parameter01]\r\nName=a\r\nValue=0\r\nMin=-10\r\nMax=10\r\n"));

  other.ResetGraph();
  other.setGraphName(path());
  other.setFormulaText(1, QStringLiteral("a*x"));
  other.DrawFunctions();
  EXPECT_TRUE(drawnAt(other, 2.0, 2.0));
  other.SaveToFile();
  EXPECT_TRUE(fileText().endsWith("[Parameter01]\r\nName=a\r\nValue=1\r\nMin=-10\r\nMax=10\r\n"));
}

TEST_F(ParameterDocumentTest, SectionsOfAnEarlierSaveWithMoreRowsDoNotComeBack) {
  graph.setFormulaText(1, QStringLiteral("a+b+c"));
  graph.SaveToFile();
  other.setFormulaText(1, QStringLiteral("z"));
  other.SaveToFile();
  EXPECT_FALSE(fileText().contains("[Parameter02]"));
  graph.LoadFromFile();
  ASSERT_EQ(graph.Parameters().count(), 1);
  EXPECT_EQ(graph.Parameters().at(0).name, "z");
  // A graph without parameters saved over them leaves none either.
  other.ResetGraph();
  other.setGraphName(path());
  other.SaveToFile();
  EXPECT_FALSE(fileText().contains("[Parameter"));
}

TEST_F(ParameterDocumentTest, HostileSectionsAreSkippedOrTakeDefaults) {
  const QByteArray longName(300, 'q');
  writeFile("[Function]\r\nFunc01Formula=b*x\r\n"
            "[Parameter01]\r\nName=x\r\nValue=3\r\n"
            "[Parameter02]\r\nName=b\r\nValue=abc\r\nMin=5\r\nMax=1\r\n"
            "[Parameter03]\r\nName=c\r\nValue=1e999\r\nMin=NAN\r\nMax=INF\r\n"
            "[Parameter04]\r\nName=s$\r\n"
            "[Parameter05]\r\nName=b\r\nValue=7\r\n"
            "[Parameter06]\r\nName=d\r\nValue=50\r\nMin=0\r\nMax=1\r\n"
            "[Parameter07]\r\nValue=2\r\n"
            "[Parameter08]\r\nName=a[1]\r\n"
            "[Parameter09]\r\nName=" +
            longName +
            "\r\n"
            "[Parameter10]\r\nName=f\r\nMin=2\r\nMax=3\r\n"
            "[Parameter11]\r\nName=g\r\nValue=-1e308\r\nMin=-1e309\r\n"
            "[Parameter33]\r\nName=h\r\n");
  graph.LoadFromFile();
  ASSERT_EQ(graph.Parameters().count(), 5);
  EXPECT_EQ(graph.Parameters().at(0), (GraphParameter{"b", 1.0, -10.0, 10.0}));
  EXPECT_EQ(graph.Parameters().at(1), (GraphParameter{"c", 1.0, -10.0, 10.0}));
  EXPECT_EQ(graph.Parameters().at(2), (GraphParameter{"d", 50.0, 0.0, 50.0}));
  EXPECT_EQ(graph.Parameters().at(3), (GraphParameter{"f", 2.0, 2.0, 3.0}));
  EXPECT_EQ(graph.Parameters().at(4), (GraphParameter{"g", -1e308, -1e308, 10.0}));
}

TEST_F(ParameterDocumentTest, LoadingSetsTheValuesBeforeTheCurvesAreDrawn) {
  graph.setFormulaText(1, QStringLiteral("a*x"));
  ASSERT_TRUE(graph.setParameterValue(0, 2.0));
  graph.SaveToFile();
  evalon.SetVariable(QStringLiteral("a"), 0.0);
  double seen = 0.0;
  other.OnDrawStart = [&](TFuncGraph*, int) {
    bool failed = true;
    seen = evalon.CalcValue(QStringLiteral("a"), failed);
  };
  other.LoadFromFile();
  EXPECT_EQ(seen, 2.0);
  const QImage* curves = other.CurveLayer();
  ASSERT_NE(curves, nullptr);
  EXPECT_NE(curves->pixel(other.XToPixel(1.0), other.YToPixel(2.0)), White);
}

// The change state compares document bytes, so the parameters count without code of their own.
TEST_F(ParameterDocumentTest, ParameterChangesMakeTheGraphChanged) {
  graph.setFormulaText(1, QStringLiteral("a*x"));
  graph.SaveToFile();
  EXPECT_FALSE(graph.IsChanged());
  ASSERT_TRUE(graph.setParameterValue(0, 3.0));
  EXPECT_TRUE(graph.IsChanged());
  graph.MarkUnchanged();
  ASSERT_TRUE(graph.setParameterRange(0, -20.0, 20.0));
  EXPECT_TRUE(graph.IsChanged());
  graph.MarkUnchanged();
  // A new name is a change of its own (a formula too); taken back, the graph is as it was.
  graph.setFormulaText(1, QStringLiteral("a*x+b"));
  EXPECT_TRUE(graph.IsChanged());
  graph.setFormulaText(1, QStringLiteral("a*x"));
  EXPECT_FALSE(graph.IsChanged());
}

} // namespace
