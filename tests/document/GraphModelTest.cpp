// Tests of the plain document model: read and written with no widget, read exactly as the graph
// control reads it, refused texts, and every part of the model written.
#include "GraphModel.h"

#include "FuncGraph.h"
#include "GraphDocument.h"
#include "IniFile.h"
#include "KurvoError.h"
#include "ShiftJisCodec.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace {

// A document that sets something in every section, with labels whose tags, carried positions and
// stored colours test the reading rules.
const QByteArray RichDocument =
    toShiftJis(QStringLiteral(u"[XAxis]\r\nVisible=0\r\nCaption=時間\r\nGuagePeriod=0.25\r\n"
                              "[YAxis]\r\nValPos=2\r\nFontName=Serif\r\nFontStyle=19\r\n"
                              "[GraphRange]\r\nXMin=-1.5\r\nXMax=2\r\nYMin=-4\r\nYMax=1e3\r\n"
                              "[Margin]\r\nTop=31\r\n"
                              "[Graph]\r\nBorderLine=1\r\nBackBrushColor=255\r\n"
                              "[Function]\r\nFunc01Formula=a*sin(k*x)\r\nFunc03PenPenStyle=9\r\n"
                              "[GraphLabel]\r\nLabel01Caption=one\r\nLabel01Color=7\r\n"
                              "Label01Left=40\r\nLabel01Top=50\r\nLabel01Tag=1\r\n"
                              "Label02Caption=two\r\nLabel02Tag=2\r\nLabel02FontSize=20\r\n"
                              "Label03Caption=stray\r\nLabel03Tag=9\r\n"
                              "[Options]\r\nAutoRedraw=1\r\n"
                              "[Parameter01]\r\nName=k\r\nValue=3\r\nMin=0\r\nMax=5\r\n"));

GraphModel newModel() {
  return GraphModel::NewGraph();
}

GraphModel read(const QByteArray& text) {
  GraphModel model = newModel();
  ReadGraphModel(IniFile::FromBytes(text), model);
  return model;
}

QByteArray written(const GraphModel& model) {
  IniFile ini;
  WriteGraphModel(ini, model);
  return ini.Contents();
}

TEST(GraphModelTest, ReadsEverySectionWithTheGraphsRules) {
  const GraphModel model = read(RichDocument);
  EXPECT_FALSE(model.xAxis.Visible);
  EXPECT_EQ(model.xAxis.Caption, QStringLiteral(u"時間"));
  EXPECT_EQ(model.xAxis.GuagePeriod, 0.25L);
  EXPECT_EQ(model.yAxis.ValFont.Style, 3); // low four bits
  EXPECT_EQ(model.range.yMax, 1000.0L);
  EXPECT_EQ(model.margins.top, 31);
  EXPECT_EQ(model.margins.bottom, newModel().margins.bottom); // missing: kept
  EXPECT_EQ(model.formulas[2].Pen.Style, PenStyle::Solid);
  ASSERT_TRUE(model.labels[0] && model.labels[1]);
  EXPECT_FALSE(model.labels[2]); // its tag names another slot
  // A label takes the fill of its document, not its stored colour, and a missing position
  // carries over from the label before.
  EXPECT_EQ(model.labels[0]->color, 255);
  EXPECT_EQ(model.labels[1]->color, 255);
  EXPECT_EQ(model.labels[1]->left, 40);
  EXPECT_EQ(model.labels[1]->top, 50);
  EXPECT_EQ(model.labels[1]->font.Size, 20);
  EXPECT_TRUE(model.autoRedraw);
  // The saved row first, then what the formula uses besides.
  ASSERT_EQ(model.parameters.count(), 2);
  EXPECT_EQ(model.parameters.at(0), (GraphParameter{QStringLiteral("k"), 3, 0, 5}));
  EXPECT_EQ(model.parameters.at(1).name, QStringLiteral("a"));
}

TEST(GraphModelTest, TheGraphControlReadsAndWritesTheSameModel) {
  TFuncGraph graph;
  ASSERT_TRUE(graph.AddLabel(5, 6)); // replaced by the document's labels
  graph.setMarginLeft(3);            // kept, as the document has no such key
  GraphModel expected = graph.Model();
  ReadGraphModel(IniFile::FromBytes(RichDocument), expected);

  graph.ReadDocument(IniFile::FromBytes(RichDocument));
  EXPECT_TRUE(graph.Model() == expected);
  EXPECT_EQ(graph.Label(3), nullptr);
  ASSERT_NE(graph.Label(2), nullptr);
  EXPECT_EQ(graph.Label(2)->Color(), 255);
  IniFile saved;
  graph.WriteDocument(saved);
  EXPECT_EQ(saved.Contents(), written(expected));
}

TEST(GraphModelTest, ASavedModelReadsBackEqual) {
  const GraphModel model = read(RichDocument);
  const QByteArray text = written(model);
  const GraphModel again = read(text);
  EXPECT_TRUE(again == model);
  EXPECT_EQ(written(again), text);
}

// Found by fuzzing: a caption of a lone CR and tabs made a label that saved with an empty
// caption, so the label was gone after the next load. Such a slot is empty from the start.
TEST(GraphModelTest, ACaptionOfOnlyBlanksAndLineBreaksIsNoLabel) {
  const GraphModel model = read("[Graph]\r\n[GraphLabel]\r\nLabel01Caption=\r\t\t\r\t\r\n"
                                "Label01Tag=1\r\nLabel02Caption=\r\tx\r\nLabel02Tag=2\r\n");
  EXPECT_FALSE(model.labels[0].has_value());
  ASSERT_TRUE(model.labels[1].has_value());
  EXPECT_EQ(model.labels[1]->caption, QStringLiteral("\r\tx"));
  const GraphModel again = read(written(model));
  EXPECT_FALSE(again.labels[0].has_value());
  ASSERT_TRUE(again.labels[1].has_value());
  EXPECT_EQ(again.labels[1]->caption, QStringLiteral("x"));
}

TEST(GraphModelTest, TextWithoutADocumentSectionIsRefusedAndChangesNothing) {
  GraphModel model = read(RichDocument);
  const GraphModel before = model;
  for (const QByteArray& text :
       {QByteArray(), QByteArray("[Parameter01]\r\nName=k\r\n"),
        QByteArray("[Options]\r\nAutoRedraw=1\r\n"), QByteArray("XAxis=1\r\n[X Axis]\r\n")}) {
    EXPECT_THROW(ReadGraphModel(IniFile::FromBytes(text), model), KurvoError) << text.data();
    EXPECT_TRUE(model == before);
  }
}

TEST(GraphModelTest, EveryPartOfTheModelIsWritten) {
  const GraphModel base = read(RichDocument);
  const std::vector<std::function<void(GraphModel&)>> changes = {
      [](GraphModel& m) { m.xAxis.Caption = QStringLiteral("t"); },
      [](GraphModel& m) { m.yAxis.ValFont.Size = 11; },
      [](GraphModel& m) { m.range.xMin = -1.25L; },
      [](GraphModel& m) { m.margins.right = 1; },
      [](GraphModel& m) { m.borderLine = false; },
      [](GraphModel& m) { m.backBrush.Style = BrushStyle::Cross; },
      [](GraphModel& m) { m.formulas[4].Formula = QStringLiteral("x"); },
      [](GraphModel& m) { m.formulas[0].Pen.Width = 3; },
      [](GraphModel& m) { m.labels[1]->left = 41; },
      [](GraphModel& m) { m.labels[5] = GraphLabelRecord{QStringLiteral("n"), 0, 0, 0, 6, {}}; },
      [](GraphModel& m) { m.autoRedraw = false; },
      [](GraphModel& m) { m.parameters.setValue(0, 4); },
  };
  for (std::size_t n = 0; n < changes.size(); ++n) {
    GraphModel changed = base;
    changes[n](changed);
    EXPECT_NE(written(changed), written(base)) << "change " << n;
  }
}

} // namespace
