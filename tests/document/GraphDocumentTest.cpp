// Tests of the graph document: the exact text written for a new graph, in-place saves over
// older files, the reading rules and defaults, labels, and files that are damaged or cannot
// be written.
#include "GraphDocument.h"

#include "Evalon.h"
#include "FuncGraph.h"
#include "GraphModel.h"
#include "IniFile.h"
#include "KurvoError.h"
#include "ShiftJisCodec.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include <functional>
#include <random>

namespace {

// The graph as the program starts it.
void setUpAsStarted(TFuncGraph& graph) {
  graph.resize(336, 316);
  graph.setXMin(-3);
  graph.setXMax(3);
  graph.setYMin(-3);
  graph.setYMax(3);
}

QByteArray newGraphDocument() {
  QByteArray text;
  const QByteArray axis = "Visible=1\nCaption=\nGuageType=3\nGuagePeriod=1\nValPos=4\nValXDist=0\n"
                          "ValYDist=0\nFontCharset=128\nFontColor=-2147483640\n"
                          "FontName=ＭＳ Ｐゴシック\nFontSize=9\nFontStyle=0\n";
  text += "[XAxis]\n" + axis + "[YAxis]\n" + axis;
  text += "[GraphRange]\nXMin=-3\nXMax=3\nYMin=-3\nYMax=3\n";
  text += "[Margin]\nLeft=10\nRight=10\nTop=10\nBottom=20\n";
  text += "[Graph]\nBorderLine=0\nBackBrushColor=14745599\nBackBrushStyle=0\n[Function]\n";
  const char* colors[] = {"16711680", "255", "32768", "8388608", "128"};
  for (int n = 1; n <= 5; ++n) {
    const QByteArray p = "Func0" + QByteArray::number(n);
    text += p + "Formula=\n" + p + "PenPenColor=" + colors[n - 1] + "\n" + p + "PenPenStyle=0\n" +
            p + "PenPenWidth=1\n";
  }
  text += "[GraphLabel]\n";
  for (int n = 1; n <= 16; ++n)
    text += QStringLiteral("Label%1Caption=\n").arg(n, 2, 10, QLatin1Char('0')).toUtf8();
  return text.replace("\n", "\r\n");
}

class GraphDocumentTest : public ::testing::Test {
protected:
  GraphDocumentTest() {
    setUpAsStarted(graph);
    graph.setGraphName(path());
  }

  QString path(const QString& name = QStringLiteral("graph.kvx")) const {
    return dir.filePath(name);
  }

  QByteArray fileBytes(const QString& name = QStringLiteral("graph.kvx")) const {
    QFile file(path(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
  }

  void writeFile(const QByteArray& bytes) const {
    QFile file(path());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_EQ(file.write(bytes), bytes.size());
  }

  // Loads a file into a graph with the start values, so that defaults show.
  void load(const QByteArray& bytes) {
    writeFile(bytes);
    graph.LoadFromFile();
  }

  QTemporaryDir dir;
  TFuncGraph graph;
};

TEST_F(GraphDocumentTest, NewGraphWritesTheExactDocument) {
  graph.SaveToFile();
  const QByteArray bytes = fileBytes();
  EXPECT_EQ(fromShiftJis(bytes).toUtf8(), newGraphDocument());
  EXPECT_TRUE(bytes.contains(toShiftJis(QStringLiteral(u"ＭＳ Ｐゴシック"))));
}

TEST_F(GraphDocumentTest, FileNameTakesTheKvxExtension) {
  EXPECT_EQ(DocumentFileName(QStringLiteral("/d/a.txt")), QStringLiteral("/d/a.kvx"));
  EXPECT_EQ(DocumentFileName(QStringLiteral("/d/a")), QStringLiteral("/d/a.kvx"));
  EXPECT_EQ(DocumentFileName(QStringLiteral("/d.x/a")), QStringLiteral("/d.x/a.kvx"));
  EXPECT_EQ(DocumentFileName(QStringLiteral("/d/a.b.kvx")), QStringLiteral("/d/a.b.kvx"));
  EXPECT_EQ(DocumentFileName(QStringLiteral("/d/a.")), QStringLiteral("/d/a.kvx"));
  graph.setGraphName(path(QStringLiteral("a.txt")));
  graph.SaveToFile();
  EXPECT_TRUE(QFile::exists(path(QStringLiteral("a.kvx"))));
  EXPECT_FALSE(QFile::exists(path(QStringLiteral("a.txt"))));
  EXPECT_EQ(graph.GraphName(), path(QStringLiteral("a.txt")));
}

TEST_F(GraphDocumentTest, RoundTripKeepsTheWholeGraph) {
  graph.setXMin(-0.00001L);
  graph.setYMax(1.5e20L);
  graph.setMarginBottom(33);
  graph.setBorderLine(true);
  graph.setBackBrush({rgbColor(1, 2, 3), BrushStyle::Cross});
  graph.XAxis().Caption = QStringLiteral(u"時間");
  graph.YAxis().GauageType = gtNeg;
  graph.YAxis().ValFont.Style = FontBold | FontItalic;
  graph.setFormulaText(2, QStringLiteral("sin(x)*2"));
  graph.FormulaPen(2) = {rgbColor(9, 8, 7), PenStyle::DashDot, 4};
  graph.SaveToFile();

  TFuncGraph other;
  other.resize(336, 316);
  other.setGraphName(path());
  other.LoadFromFile();
  EXPECT_EQ(other.XMin(), -0.00001L);
  EXPECT_EQ(other.YMax(), 1.5e20L);
  EXPECT_EQ(other.MarginBottom(), 33);
  EXPECT_TRUE(other.BorderLine());
  EXPECT_EQ(other.BackBrush(), (TBrush{rgbColor(1, 2, 3), BrushStyle::Cross}));
  EXPECT_EQ(other.XAxis().Caption, QStringLiteral(u"時間"));
  EXPECT_EQ(other.YAxis().GauageType, gtNeg);
  EXPECT_EQ(other.YAxis().ValFont.Style, FontBold | FontItalic);
  EXPECT_EQ(other.FormulaText(2), QStringLiteral("sin(x)*2"));
  EXPECT_EQ(other.FormulaPen(2), (TPen{rgbColor(9, 8, 7), PenStyle::DashDot, 4}));
}

TEST_F(GraphDocumentTest, AutoRedrawIsWrittenOnlyWhenOnAndReadBack) {
  graph.setAutoRedraw(true);
  graph.SaveToFile();
  EXPECT_EQ(fromShiftJis(fileBytes()).toUtf8(),
            newGraphDocument() + "[Options]\r\nAutoRedraw=1\r\n");
  TFuncGraph other;
  other.setGraphName(path());
  other.LoadFromFile();
  EXPECT_TRUE(other.AutoRedraw());

  // Turned off, the file that said it was on says so no more.
  graph.setAutoRedraw(false);
  graph.SaveToFile();
  EXPECT_EQ(fromShiftJis(fileBytes()).toUtf8(),
            newGraphDocument() + "[Options]\r\nAutoRedraw=0\r\n");
  other.LoadFromFile();
  EXPECT_FALSE(other.AutoRedraw());

  // A document without the key loads with it off, whatever the graph had before.
  other.setAutoRedraw(true);
  writeFile(newGraphDocument());
  other.LoadFromFile();
  EXPECT_FALSE(other.AutoRedraw());

  other.setAutoRedraw(true);
  other.ResetGraph();
  EXPECT_FALSE(other.AutoRedraw());
}

// Grid lines, ticks in units of π and pinned labels add their keys only while they are used;
// a file that had one is told when it goes, and each reads back as written.
TEST_F(GraphDocumentTest, WorksheetKeysAreWrittenOnlyWhenUsedAndReadBack) {
  const struct {
    const char* name;
    std::function<void(GraphModel&, bool)> use;
    QByteArray on, off;
  } cases[] = {
      {"grid", [](GraphModel& m, bool on) { m.xAxis.Grid = on; }, "FontStyle=0\r\nGrid=1\r\n",
       "FontStyle=0\r\nGrid=0\r\n"},
      {"pi ticks", [](GraphModel& m, bool on) { m.yAxis.PiTicks = on; },
       "FontStyle=0\r\nPiTicks=1\r\n[GraphRange]", "FontStyle=0\r\nPiTicks=0\r\n[GraphRange]"},
      {"pinned label",
       [](GraphModel& m, bool on) {
         m.labels.slot(2) = GraphLabelRecord{QStringLiteral("top"), 0, 30, 40, 2, {}, {}};
         if (on) m.labels.slot(2)->pin = LabelPin{1.25L, -0.5L};
       },
       "Label02Pinned=1\r\nLabel02PinX=1.25\r\nLabel02PinY=-0.5\r\n",
       "Label02Pinned=0\r\nLabel02PinX=1.25\r\nLabel02PinY=-0.5\r\n"},
  };
  for (const auto& test : cases) {
    SCOPED_TRACE(test.name);
    GraphModel model = graph.Model();
    test.use(model, false);
    const QByteArray plain = DocumentState(model);
    EXPECT_FALSE(plain.contains("Grid") || plain.contains("PiTicks") || plain.contains("Pin"));

    test.use(model, true);
    SaveGraphDocument(path(), model);
    EXPECT_TRUE(fromShiftJis(fileBytes()).toUtf8().contains(test.on)) << fileBytes().data();
    GraphModel read = graph.Model();
    LoadGraphDocument(path(), read);
    for (auto& label : {&read.labels.slot(2), &model.labels.slot(2)})
      if (*label) (*label)->color = 0;
    EXPECT_EQ(read, model);

    test.use(model, false);
    SaveGraphDocument(path(), model);
    EXPECT_TRUE(fromShiftJis(fileBytes()).toUtf8().contains(test.off)) << fileBytes().data();
    ASSERT_TRUE(QFile::remove(path()));
  }
}

// Derivative curves, tangents and areas have sections and keys of their own, only while there
// are any; the points read back exactly, and fewer marks erase the sections left over.
TEST_F(GraphDocumentTest, CalculusMarksAreWrittenOnlyWhenThereAreAnyAndReadBack) {
  GraphModel model = graph.Model();
  model.calculus.derivatives[2] = true;
  model.calculus.tangents = {{1, 0.1}, {2, -3.25}};
  model.calculus.areas = {{1, 0, 0, 3.141592653589793}, {2, 5, -1.5, 2}};
  SaveGraphDocument(path(), model);
  const QByteArray text = fromShiftJis(fileBytes()).toUtf8();
  for (const char* part : {"Func03Derivative=1\r\n", "[Tangent01]\r\nSlot=1\r\nX=0.1\r\n",
                           "[Tangent02]\r\nSlot=2\r\nX=-3.25\r\n",
                           "[Area01]\r\nSlot=1\r\nOther=0\r\nFrom=0\r\nTo=3.1415926535897931\r\n",
                           "[Area02]\r\nSlot=2\r\nOther=5\r\nFrom=-1.5\r\nTo=2\r\n"})
    EXPECT_TRUE(text.contains(part)) << part;
  GraphModel read = graph.Model();
  LoadGraphDocument(path(), read);
  EXPECT_EQ(read.calculus, model.calculus);

  model.calculus = {};
  model.calculus.tangents = {{4, 1}};
  SaveGraphDocument(path(), model);
  LoadGraphDocument(path(), read);
  EXPECT_EQ(read.calculus, model.calculus);
  EXPECT_FALSE(fileBytes().contains("[Area01]"));
  EXPECT_TRUE(fileBytes().contains("Func03Derivative=0"));
  EXPECT_FALSE(DocumentState(graph.Model()).contains("Derivative"));
}

// The legend's keys are written only while it shows; a file that said it showed is told it
// shows no more; a document without the key, or with a corner out of range, reads as usual.
TEST_F(GraphDocumentTest, TheLegendAndItsCornerAreWrittenOnlyWhenShownAndReadBack) {
  TFuncGraph other;
  other.setGraphName(path());
  using enum LegendCorner;
  for (const auto& [corner, stored] :
       {std::pair{TopLeft, "0"}, {TopRight, "1"}, {BottomLeft, "2"}, {BottomRight, "3"}}) {
    graph.setLegendVisible(true);
    graph.setLegendCorner(corner);
    graph.SaveToFile();
    EXPECT_EQ(fromShiftJis(fileBytes()).toUtf8(),
              newGraphDocument() + "[Options]\r\nLegend=1\r\nLegendCorner=" + stored + "\r\n");
    other.LoadFromFile();
    EXPECT_EQ(other.Legend(), (GraphLegend{true, corner}));
  }
  graph.setLegendVisible(false);
  graph.SaveToFile();
  EXPECT_EQ(fromShiftJis(fileBytes()).toUtf8(),
            newGraphDocument() + "[Options]\r\nLegend=0\r\nLegendCorner=3\r\n");
  other.LoadFromFile();
  EXPECT_EQ(other.Legend(), GraphLegend{});
  QFile::remove(path());
  graph.SaveToFile();
  EXPECT_EQ(fromShiftJis(fileBytes()).toUtf8(), newGraphDocument());

  const std::pair<QByteArray, GraphLegend> read[] = {
      {"", GraphLegend{}},
      {"[Options]\r\nLegend=1\r\nLegendCorner=7\r\n", GraphLegend{true, TopRight}},
      {"[Options]\r\nLegend=0\r\nLegendCorner=2\r\n", GraphLegend{}},
  };
  for (const auto& [options, legend] : read) {
    SCOPED_TRACE(options.toStdString());
    other.setLegendVisible(true);
    other.setLegendCorner(BottomLeft);
    writeFile(newGraphDocument() + options);
    other.LoadFromFile();
    EXPECT_EQ(other.Legend(), legend);
  }
}

TEST_F(GraphDocumentTest, RealsUseTheGeneralFormat) {
  graph.setXMin(1e15L);
  graph.setXMax(999999999999999.0L);
  graph.setYMin(0.0001L);
  graph.setYMax(-0.5L);
  graph.SaveToFile();
  const QByteArray bytes = fileBytes();
  EXPECT_TRUE(bytes.contains("XMin=1E15\r\n"));
  EXPECT_TRUE(bytes.contains("XMax=999999999999999\r\n"));
  EXPECT_TRUE(bytes.contains("YMin=0.0001\r\n"));
  EXPECT_TRUE(bytes.contains("YMax=-0.5\r\n"));
}

TEST_F(GraphDocumentTest, SaveKeepsForeignSectionsAndKeys) {
  writeFile("; note\r\n[Mine]\r\nA=1\r\n[Margin]\r\nLeft=3\r\nExtra=x\r\n");
  graph.SaveToFile();
  const QString text = fromShiftJis(fileBytes());
  EXPECT_TRUE(text.startsWith(QStringLiteral("; note\r\n[Mine]\r\nA=1\r\n[Margin]\r\nLeft=10\r\n"
                                             "Extra=x\r\nRight=10\r\n")));
  EXPECT_TRUE(text.contains(QStringLiteral("[XAxis]\r\nVisible=1\r\n")));
}

TEST_F(GraphDocumentTest, ReadingRulesAndDefaults) {
  load("[Margin]\r\nLeft=0x20\r\nRight=$20\r\nTop=abc\r\n"
       "[Function]\r\nFunc03PenPenStyle=9\r\nFunc04PenPenStyle=6\r\n"
       "[XAxis]\r\nFontStyle=17\r\nGuageType=2\r\n");
  EXPECT_EQ(graph.MarginLeft(), 32);
  EXPECT_EQ(graph.MarginRight(), 32);
  EXPECT_EQ(graph.MarginTop(), 10);
  EXPECT_EQ(graph.MarginBottom(), 20);
  EXPECT_EQ(graph.FormulaPen(3).Style, PenStyle::Solid);
  EXPECT_EQ(graph.FormulaPen(4).Style, PenStyle::InsideFrame);
  EXPECT_EQ(graph.FormulaPen(3).Color, 32768); // the pen's own colour stays
  EXPECT_EQ(graph.XAxis().ValFont.Style, FontBold);
  EXPECT_EQ(graph.XAxis().GauageType, gtNeg);
  // No range section: the range is 0..0, and the axis period has no key either.
  EXPECT_EQ(graph.XMin(), 0.0L);
  EXPECT_EQ(graph.XMax(), 0.0L);
  EXPECT_EQ(graph.YMin(), 0.0L);
  EXPECT_EQ(graph.YMax(), 0.0L);
  EXPECT_EQ(graph.YAxis().GuagePeriod, 0.0L);
  EXPECT_EQ(graph.YAxis().ValPos, ptDownRight);
}

TEST_F(GraphDocumentTest, LongValuesAreCutAt1023Bytes) {
  load("[Function]\r\nFunc01Formula=" + QByteArray(2000, '1') + "\r\n");
  EXPECT_EQ(graph.FormulaText(1), QString(1023, QLatin1Char('1')));
}

// A text that fits the limit in CP932 loads back whole after a save over a UTF-8 document, where
// its characters take more bytes.
TEST_F(GraphDocumentTest, LongTextSavedOverAUtf8DocumentLoadsBackWhole) {
  writeFile("\xEF\xBB\xBF[XAxis]\r\nCaption=caf\xC3\xA9\r\n");
  const QString formula = QString(500, QChar(0x8868)) + QStringLiteral("+x");
  graph.setFormulaText(1, formula);
  graph.SaveToFile();
  ASSERT_TRUE(fileBytes().startsWith("\xEF\xBB\xBF"));
  TFuncGraph other;
  other.ReadDocument(IniFile(path()));
  EXPECT_EQ(other.FormulaText(1), formula);
}

TEST_F(GraphDocumentTest, LabelsRoundTripAndDeletedOnesStayDeleted) {
  ASSERT_TRUE(graph.AddLabel(50, 50));
  ASSERT_TRUE(graph.AddLabel(70, 80));
  graph.Label(2)->setCaption(QStringLiteral(u"ラベル"));
  graph.SaveToFile();
  EXPECT_TRUE(fromShiftJis(fileBytes())
                  .contains(QStringLiteral("Label01Caption=GraphLabel01\r\nLabel01Color=")));

  graph.Label(1)->hide();
  graph.SaveToFile();
  const QString text = fromShiftJis(fileBytes());
  EXPECT_TRUE(text.contains(QStringLiteral("Label01Caption=\r\nLabel01Color=")));
  EXPECT_TRUE(text.contains(QStringLiteral("Label01Left=50\r\n")));

  TFuncGraph other;
  other.setGraphName(path());
  ASSERT_TRUE(other.AddLabel(5, 5));
  other.LoadFromFile();
  EXPECT_EQ(other.Label(1), nullptr);
  ASSERT_NE(other.Label(2), nullptr);
  EXPECT_EQ(other.Label(2)->Caption(), QStringLiteral(u"ラベル"));
  EXPECT_EQ(other.Label(2)->Left(), 70);
  EXPECT_EQ(other.Label(2)->Top(), 80);
  EXPECT_EQ(other.Label(2)->Tag(), 2);
  EXPECT_TRUE(other.Label(2)->isVisibleTo(&other));
}

TEST_F(GraphDocumentTest, LabelsNeedTheirTagAndCarryPositionsOver) {
  load("[GraphLabel]\r\n"
       "Label01Caption=a\r\nLabel01Left=11\r\nLabel01Top=12\r\nLabel01Tag=1\r\n"
       "Label02Caption=b\r\nLabel02Left=20\r\n"
       "Label03Caption=c\r\nLabel03Tag=1\r\n"
       "Label04Caption=d\r\nLabel04Tag=4\r\nLabel04FontSize=20\r\n"
       "Label05Caption=\r\nLabel05Tag=5\r\n");
  ASSERT_NE(graph.Label(1), nullptr);
  EXPECT_EQ(graph.Label(2), nullptr); // no tag
  EXPECT_EQ(graph.Label(3), nullptr); // tag of another slot
  EXPECT_EQ(graph.Label(5), nullptr); // empty caption
  ASSERT_NE(graph.Label(4), nullptr);
  EXPECT_EQ(graph.Label(4)->Left(), 20);
  EXPECT_EQ(graph.Label(4)->Top(), 12);
  EXPECT_EQ(graph.Label(4)->Font().Size, 20);
  EXPECT_EQ(graph.Label(4)->Font().Name, TFont().Name);
}

TEST_F(GraphDocumentTest, CaptionOutsideCp932IsKept) {
  ASSERT_TRUE(graph.AddLabel(50, 50));
  graph.Label(1)->setCaption(QStringLiteral(u"Ω café 😀"));
  graph.SaveToFile();
  EXPECT_TRUE(fileBytes().startsWith("\xEF\xBB\xBF[XAxis]\r\n"));
  TFuncGraph other;
  other.setGraphName(path());
  other.LoadFromFile();
  ASSERT_NE(other.Label(1), nullptr);
  EXPECT_EQ(other.Label(1)->Caption(), QStringLiteral(u"Ω café 😀"));
  EXPECT_EQ(other.XAxis().ValFont.Name, "ＭＳ Ｐゴシック");
}

TEST_F(GraphDocumentTest, BytesOutsideTheEncodingAreWrittenBackAsRead) {
  ASSERT_TRUE(graph.AddLabel(50, 50));
  graph.SaveToFile();
  QByteArray original = fileBytes();
  original.replace("Label01Caption=GraphLabel01", "Label01Caption=\xA0\xFD")
      .replace("Func01Formula=", "Func01Formula=x\xA0\xFD");
  writeFile(original);

  TFuncGraph other;
  other.setGraphName(path());
  other.LoadFromFile();
  EXPECT_FALSE(other.IsChanged());
  other.SaveToFile();
  EXPECT_EQ(fileBytes(), original);
  other.setGraphName(path(QStringLiteral("copy.kvx")));
  other.SaveToFile();
  EXPECT_EQ(fileBytes(QStringLiteral("copy.kvx")), original);

  // A change of another key changes only that key's bytes.
  other.setMarginLeft(11);
  other.SaveToFile();
  EXPECT_EQ(fileBytes(QStringLiteral("copy.kvx")),
            QByteArray(original).replace("[Margin]\r\nLeft=10", "[Margin]\r\nLeft=11"));

  // Text typed outside the code page still turns the file into UTF-8; the kept bytes stay.
  ASSERT_TRUE(other.AddLabel(60, 60));
  other.Label(2)->setCaption(QStringLiteral(u"café"));
  other.SaveToFile();
  const QByteArray utf8 = fileBytes(QStringLiteral("copy.kvx"));
  EXPECT_TRUE(utf8.startsWith("\xEF\xBB\xBF[XAxis]"));
  EXPECT_TRUE(utf8.contains("Label01Caption=\xA0\xFD\r\n"));
  EXPECT_TRUE(utf8.contains("Func01Formula=x\xA0\xFD\r\n"));
  TFuncGraph third;
  third.setGraphName(other.GraphName());
  third.LoadFromFile();
  third.SaveToFile();
  EXPECT_EQ(fileBytes(QStringLiteral("copy.kvx")), utf8);
}

// Font names are held apart from the other texts; their undecodable bytes come back as well, in
// either encoding, and never turn a CP932 file into UTF-8.
TEST_F(GraphDocumentTest, FontNameBytesOutsideTheEncodingAreWrittenBackAsRead) {
  const QByteArray utf8Name = "FontName=\xED\xA0\x80\xF4\x90\x80\x80\r\n";
  load("\xEF\xBB\xBF[XAxis]\r\nCaption=\xC3(\xE2\x82\r\n" + utf8Name);
  graph.SaveToFile();
  EXPECT_TRUE(fileBytes().startsWith("\xEF\xBB\xBF[XAxis]\r\n"));
  EXPECT_TRUE(fileBytes().contains("\r\nCaption=\xC3(\xE2\x82\r\n"));
  EXPECT_TRUE(fileBytes().contains("\r\n" + utf8Name));

  const QByteArray cp932Name = "Label01FontName=\x82\xA0\xFF\xA0\x81\r\n";
  // The axis texts read above hold bytes that read otherwise in CP932; kept, they would rightly
  // turn the file into UTF-8.
  load(
      "[XAxis]\r\nCaption=c\r\nFontName=f\r\n[GraphLabel]\r\nLabel01Caption=a\r\nLabel01Tag=1\r\n" +
      cp932Name);
  EXPECT_EQ(graph.Label(1)->Font().Name.substr(0, 3), "あ");
  graph.SaveToFile();
  EXPECT_FALSE(fileBytes().startsWith("\xEF\xBB\xBF"));
  EXPECT_TRUE(fileBytes().contains("\r\n" + cp932Name));
}

TEST_F(GraphDocumentTest, FailedSaveRaisesTheErrorAndKeepsTheFile) {
  graph.setGraphName(path(QStringLiteral("missing/a.txt")));
  try {
    graph.SaveToFile();
    FAIL() << "no error";
  } catch (const KurvoError& error) {
    EXPECT_EQ(error.message(),
              path(QStringLiteral("missing/a.kvx")) + QStringLiteral(" に書き込めません"));
  }
  // A directory in the file's place cannot be replaced.
  ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("b.kvx")));
  graph.setGraphName(path(QStringLiteral("b.kvx")));
  EXPECT_THROW(graph.SaveToFile(), KurvoError);
}

TEST_F(GraphDocumentTest, DamagedFilesGiveDefaults) {
  std::mt19937 random(3);
  QByteArray garbage(300000, '\0');
  for (char& byte : garbage)
    byte = static_cast<char>(random() & 0xFF);
  load(garbage + "\r\n[Margin]\r\nLeft=\x81\r\nTop=7\0\r\n" + QByteArray(3 << 20, '[') +
       "\r\n[Function]\r\nFunc01Formula=\xFF\xFEx\r\n");
  EXPECT_EQ(graph.MarginLeft(), 10);
  EXPECT_EQ(graph.MarginTop(), 10);
  EXPECT_EQ(graph.FormulaText(1), QString(QChar(0xDCFF)) + QChar(0xDCFE) + QLatin1Char('x'));
}

// Margins and value gaps at the ends of 32 bits once made a load walk two billion columns or
// overflow the plot's width and the value placement. Each document now loads and draws its
// curve within the picture. Keys a document lacks keep the graph's values, as opening does.
TEST_F(GraphDocumentTest, MarginsAndGapsOfAnySizeLoadAndDraw) {
  TEvalon evalon;
  ASSERT_TRUE(evalon.LoadEngine());
  graph.setEvalon(&evalon);
  for (const QByteArray& extreme :
       {QByteArray("[Margin]\r\nRight=-2000000000\r\n"),
        QByteArray("[Margin]\r\nLeft=-2147483648\r\n"),
        QByteArray("[Margin]\r\nLeft=0\r\nRight=0\r\n[XAxis]\r\nValXDist=2147483647\r\n"
                   "ValYDist=2147483647\r\n[YAxis]\r\nValPos=1\r\nValXDist=-2147483648\r\n"
                   "ValYDist=2147483647\r\n"),
        QByteArray("[Margin]\r\nLeft=2147483647\r\nRight=-2147483648\r\n")}) {
    load("[GraphRange]\r\nXMin=-3\r\nXMax=3\r\nYMin=-3\r\nYMax=3\r\n"
         "[Function]\r\nFunc01Formula=x\r\n" +
         extreme);
    const QImage* curves = graph.CurveLayer();
    ASSERT_NE(curves, nullptr) << extreme.data();
    bool drawn = false;
    for (int y = 0; y < curves->height() && !drawn; ++y)
      for (int x = 0; x < curves->width() && !drawn; ++x)
        drawn = curves->pixel(x, y) != 0xFFFFFFFF;
    // The last plot lies wholly beyond the picture.
    EXPECT_EQ(drawn, !extreme.contains("Left=2147483647")) << extreme.data();
  }
}

// What a refused file must leave: the graph as it was, labels and curves included.
void expectRefused(TFuncGraph& graph, const QString& message) {
  const QImage* curves = graph.CurveLayer();
  const TGraphLabel* label = graph.Label(1);
  try {
    graph.LoadFromFile();
    ADD_FAILURE() << "no error";
  } catch (const KurvoError& error) {
    EXPECT_EQ(error.message(), message);
  }
  EXPECT_FALSE(graph.IsChanged());
  EXPECT_EQ(graph.CurveLayer(), curves);
  EXPECT_EQ(graph.Label(1), label);
  EXPECT_EQ(graph.FormulaText(2), QStringLiteral("x"));
}

TEST_F(GraphDocumentTest, FilesThatAreNoDocumentsAreRefusedAndChangeNothing) {
  graph.setFormulaText(2, QStringLiteral("x"));
  graph.setMarginLeft(33);
  ASSERT_TRUE(graph.AddLabel(50, 50));
  graph.DrawFunctions();
  graph.MarkUnchanged();
  const QString fileName = path();
  const QString notDocument = fileName + QStringLiteral(" は Kurvo のファイルではありません");
  const QString unreadable = fileName + QStringLiteral(" を読めません");

  for (const QByteArray& bytes : {QByteArray(), QByteArray("junk\r\nmore=junk\r\n; [Margin]\r\n"),
                                  QByteArray("[Margins]\r\nLeft=1\r\n")}) {
    SCOPED_TRACE(bytes.toStdString());
    writeFile(bytes);
    expectRefused(graph, notDocument);
  }
  graph.setGraphName(path(QStringLiteral("none.txt")));
  expectRefused(graph, path(QStringLiteral("none.kvx")) + QStringLiteral(" を読めません"));
  graph.setGraphName(fileName);

  writeFile("[Margin]\r\n");
  QFile file(fileName);
  ASSERT_TRUE(file.setPermissions(QFileDevice::WriteOwner));
  // The superuser reads every file, so the refusal shows only for other users.
  if (!QFile(fileName).open(QIODevice::ReadOnly)) expectRefused(graph, unreadable);
  ASSERT_TRUE(file.remove());
  ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("graph.kvx")));
  expectRefused(graph, unreadable);
}

// A document read from text in memory gives the model that loading the file gives, with
// nothing drawn; writing it into an empty text gives the document again.
TEST_F(GraphDocumentTest, DocumentTextReadsAndWritesWithoutFileOrDrawing) {
  QByteArray text = newGraphDocument();
  text.replace("Left=10", "Left=44").replace("Func03Formula=", "Func03Formula=x*2");
  text.replace("Label02Caption=", "Label02Caption=a\r\nLabel02Left=7\r\nLabel02Tag=2");
  TFuncGraph model;
  model.ReadDocument(IniFile::FromBytes(toShiftJis(QString::fromUtf8(text))));
  EXPECT_EQ(model.MarginLeft(), 44);
  EXPECT_EQ(model.FormulaText(3), QStringLiteral("x*2"));
  ASSERT_NE(model.Label(2), nullptr);
  EXPECT_EQ(model.Label(2)->Left(), 7);
  EXPECT_EQ(model.CurveLayer(), nullptr);
  EXPECT_EQ(model.BackLayer(), nullptr);

  load(toShiftJis(QString::fromUtf8(text)));
  IniFile fromModel;
  model.WriteDocument(fromModel);
  IniFile fromGraph;
  graph.WriteDocument(fromGraph);
  EXPECT_EQ(fromModel.Contents(), fromGraph.Contents());
  EXPECT_EQ(fromShiftJis(fromModel.Contents()).toUtf8(),
            QByteArray(text).replace("Label02Left=7\r\nLabel02Tag=2",
                                     "Label02Color=14745599\r\nLabel02Left=7\r\nLabel02Top=0\r\n"
                                     "Label02Tag=2\r\nLabel02FontCharset=128\r\n"
                                     "Label02FontColor=-2147483640\r\n"
                                     "Label02FontName=ＭＳ Ｐゴシック\r\nLabel02FontSize=9\r\n"
                                     "Label02FontStyle=0"));

  graph.MarkUnchanged();
  EXPECT_THROW(graph.ReadDocument(IniFile::FromBytes("[Margins]\r\nLeft=1\r\n")), KurvoError);
  EXPECT_FALSE(graph.IsChanged());
}

TEST_F(GraphDocumentTest, OneKnownSectionMakesADocument) {
  graph.setMarginLeft(33);
  load("junk\r\n[graph]\r\n");
  EXPECT_EQ(graph.MarginLeft(), 33);
  EXPECT_EQ(graph.XMax(), 0.0L); // no range section
}

TEST_F(GraphDocumentTest, HugeFileIsReadInItsFirstPart) {
  writeFile("[Margin]\r\nLeft=44\r\n");
  {
    QFile file(path());
    ASSERT_TRUE(file.resize(100LL * 1024 * 1024));
    ASSERT_TRUE(file.open(QIODevice::Append));
    file.write("\r\n[GraphRange]\r\nXMax=9\r\n");
  }
  graph.LoadFromFile();
  EXPECT_EQ(graph.MarginLeft(), 44);
  // The range lies beyond the part that is read.
  EXPECT_EQ(graph.XMax(), 0.0L);
}

} // namespace

namespace {

// A graph whose formulas use no parameter saves exactly what it saved before there were any.
TEST_F(GraphDocumentTest, AGraphWithoutParametersWritesNoParameterSection) {
  graph.setFormulaText(1, QStringLiteral("sin(pi*x)+e^x+\"a\""));
  graph.SaveToFile();
  EXPECT_EQ(
      fromShiftJis(fileBytes()).toUtf8(),
      newGraphDocument().replace("Func01Formula=\r\n", "Func01Formula=sin(pi*x)+e^x+\"a\"\r\n"));
}

} // namespace

// Each kind of slot writes its own keys, which read back to the same slot; a y = f(x) slot
// writes none of them, and a slot turned back into y = f(x) tells a file that had them.
TEST_F(GraphDocumentTest, CurveKindsWriteTheirKeysOnlyWhenUsedAndReadBack) {
  const struct {
    const char* name;
    CurveKind kind;
    const char* formula;
    const char* formulaY;
    long double tMin, tMax;
    QByteArray keys;
  } cases[] = {
      {"parametric", CurveKind::Parametric, "cos(t)", "sin(t)", 0, TFormula::DefaultTMax,
       "Func02Kind=1\r\nFunc02FormulaY=sin(t)\r\nFunc03Formula="},
      {"polar over its own range", CurveKind::Polar, "cos(t)", "", -1.5L, 62.5L,
       "Func02Kind=2\r\nFunc02TMin=-1.5\r\nFunc02TMax=62.5\r\nFunc03Formula="},
      {"x of y", CurveKind::XOfY, "cos(y)", "", 0, TFormula::DefaultTMax, "Func02Kind=3\r\nFunc03Formula="},
      {"relation", CurveKind::Relation, "x^2+y^2<=2", "", 0, TFormula::DefaultTMax,
       "Func02Formula=x^2+y^2<=2\r\nFunc02PenPenColor=255\r\nFunc02PenPenStyle=0\r\n"
       "Func02PenPenWidth=1\r\nFunc02Kind=4\r\nFunc03Formula="},
  };
  for (const auto& test : cases) {
    SCOPED_TRACE(test.name);
    GraphModel model = graph.Model();
    TFormula& slot = model.formulas[1];
    slot.Formula = QString::fromLatin1(test.formula);
    slot.Kind = test.kind;
    slot.FormulaY = QString::fromLatin1(test.formulaY);
    slot.TMin = test.tMin;
    slot.TMax = test.tMax;
    SaveGraphDocument(path(), model);
    EXPECT_TRUE(fileBytes().contains(test.keys)) << fileBytes().data();
    GraphModel read = graph.Model();
    LoadGraphDocument(path(), read);
    EXPECT_EQ(read, model);

    slot.Kind = CurveKind::Function;
    SaveGraphDocument(path(), model);
    LoadGraphDocument(path(), read);
    EXPECT_EQ(read.formulas[1].Kind, CurveKind::Function);
    EXPECT_TRUE(fileBytes().contains("Func02Kind=0\r\n"));
    ASSERT_TRUE(QFile::remove(path()));
    EXPECT_FALSE(DocumentState(model).contains("Func02Kind"));
  }
}

// A kind this program does not know reads as y = f(x); a parametric slot without its y(t)
// reads with an empty one, and a t range the wrong way round is drawn the other way.
TEST_F(GraphDocumentTest, UnknownKindsAndMissingKindKeysLoadSensibly) {
  TEvalon evalon;
  ASSERT_TRUE(evalon.LoadEngine());
  graph.setEvalon(&evalon);
  load("[GraphRange]\r\nXMin=-6\r\nXMax=6\r\nYMin=-6\r\nYMax=6\r\n"
       "[Function]\r\nFunc01Formula=x^2\r\nFunc01Kind=9\r\nFunc02Formula=cos(t)\r\n"
       "Func02Kind=1\r\nFunc03Formula=t\r\nFunc03Kind=2\r\nFunc03TMin=5\r\nFunc03TMax=1\r\n");
  const GraphModel read = graph.Model();
  EXPECT_EQ(read.formulas[0].Kind, CurveKind::Function);
  EXPECT_EQ(read.formulas[1].Kind, CurveKind::Parametric);
  EXPECT_TRUE(read.formulas[1].FormulaY.isEmpty());
  EXPECT_EQ(read.formulas[1].TMax, TFormula::DefaultTMax);
  EXPECT_EQ(read.formulas[2].TMin, 5);
  graph.setFormulaText(1, QString());
  graph.DrawFunctions();
  EXPECT_FALSE(graph.Formula(3).Error());
  const QImage& layer = *graph.CurveLayer();
  int ink = 0;
  for (int y = 0; y < layer.height(); ++y)
    for (int x = 0; x < layer.width(); ++x)
      ink += layer.pixel(x, y) != 0xFFFFFFFF;
  EXPECT_GT(ink, 50);
}
