#include "SetFuncDialog.h"

#include "DialogTestSupport.h"
#include "Evalon.h"
#include "FuncGraph.h"
#include "PenEditDialog.h"
#include "PenWidgets.h"
#include "SpinEdit.h"

#include <QColorDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

#include <tuple>
#include <utility>
#include <vector>

namespace {

constexpr GraphColor Red = 255;
constexpr GraphColor Green = 32768;

struct FunctionWindow {
  TFuncGraph graph;
  TPenEditDlg penDialog;
  TSetFuncDlg dialog{&graph, &penDialog};

  void show() {
    dialog.show();
    QApplication::processEvents();
  }
  // Clicks sample 3 and, in the pen dialog, chooses red and width 4, then presses `close`.
  void editPen3(QPushButton* TPenEditDlg::*close, QColor* sampleSeen = nullptr) {
    const auto answering = answerNextModal<TPenEditDlg>([close, sampleSeen](TPenEditDlg* pen) {
      const auto choosingColour = answerNextModal<QColorDialog>([](QColorDialog* colours) {
        colours->setCurrentColor(Qt::red);
        colours->accept();
      });
      QTest::mouseClick(pen->btnColor, Qt::LeftButton);
      for (int i = 0; i < 3; ++i)
        QTest::keyClick(pen->SpinWidth, Qt::Key_Up);
      if (sampleSeen) *sampleSeen = pen->ImageSample->grab().toImage().pixelColor(44, 12);
      QTest::mouseClick(pen->*close, Qt::LeftButton);
    });
    QTest::mouseClick(dialog.Image3, Qt::LeftButton);
  }
};

TEST(SetFuncDialog, ShowingLoadsTheFormulas) {
  FunctionWindow w;
  w.graph.setFormulaText(1, QStringLiteral("x*x"));
  w.graph.setFormulaText(5, QStringLiteral("sin(x)"));
  w.show();
  EXPECT_EQ(w.dialog.Edit1->text(), QStringLiteral("x*x"));
  EXPECT_EQ(w.dialog.Edit2->text(), QString());
  EXPECT_EQ(w.dialog.Edit5->text(), QStringLiteral("sin(x)"));
  EXPECT_EQ(w.graph.FormulaText(5), QStringLiteral("sin(x)"));
}

TEST(SetFuncDialog, OpensWithTheFocusInTheFirstFormula) {
  FunctionWindow w;
  w.show();
  EXPECT_EQ(w.dialog.focusWidget(), w.dialog.Edit1);
  w.dialog.Edit3->setFocus();
  w.dialog.hide();
  w.show();
  EXPECT_EQ(w.dialog.focusWidget(), w.dialog.Edit1);
}

TEST(SetFuncDialog, EveryKeystrokeIsStoredAndEnterChangesNothing) {
  FunctionWindow w;
  w.show();
  std::vector<QString> stored;
  QObject::connect(w.dialog.Edit2, &QLineEdit::textChanged,
                   [&] { stored.push_back(w.graph.FormulaText(2)); });
  QTest::keyClicks(w.dialog.Edit2, QStringLiteral("sin(x)"));
  const std::vector<QString> prefixes{"s", "si", "sin", "sin(", "sin(x", "sin(x)"};
  EXPECT_EQ(stored, prefixes);
  EXPECT_EQ(w.graph.FormulaText(1), QString());

  QTest::keyClick(w.dialog.Edit2, Qt::Key_Return);
  QTest::keyClick(w.dialog.Edit2, Qt::Key_Enter);
  EXPECT_EQ(w.dialog.Edit2->text(), QStringLiteral("sin(x)"));
  EXPECT_EQ(w.graph.FormulaText(2), QStringLiteral("sin(x)"));

  // Any text is stored, the empty one too.
  w.dialog.Edit2->selectAll();
  QTest::keyClick(w.dialog.Edit2, Qt::Key_Delete);
  EXPECT_EQ(w.graph.FormulaText(2), QString());
}

TEST(SetFuncDialog, OkInThePenDialogChangesTheSlotsColourAndWidthAndKeepsItsStyle) {
  FunctionWindow w;
  w.graph.FormulaPen(3).Style = PenStyle::Dash;
  w.show();
  w.editPen3(&TPenEditDlg::btnOK);
  const TPen& pen = w.graph.FormulaPen(3);
  EXPECT_EQ(pen.Color, Red);
  EXPECT_EQ(pen.Width, 4);
  EXPECT_EQ(pen.Style, PenStyle::Dash);
  EXPECT_EQ(w.graph.FormulaPen(2).Color, Red); // slot 2 is red by default, and stays so
  EXPECT_EQ(w.graph.FormulaPen(2).Width, 1);
  EXPECT_FALSE(w.penDialog.WorkingPen().has_value());
  // The sample shows the new pen: four rows of red around the middle row.
  const QImage sample = w.dialog.Image3->grab().toImage();
  EXPECT_EQ(sample.pixelColor(24, 8), QColor(Qt::red));
  EXPECT_EQ(sample.pixelColor(0, 7), QColor(Qt::red));
  EXPECT_NE(sample.pixelColor(24, 2), QColor(Qt::red));
}

TEST(SetFuncDialog, CancelInThePenDialogLeavesThePenAsItWas) {
  FunctionWindow w;
  w.show();
  QColor seen;
  w.editPen3(&TPenEditDlg::btnCancel, &seen);
  EXPECT_EQ(seen, QColor(Qt::red)); // the pen dialog's own sample showed the change
  EXPECT_EQ(w.graph.FormulaPen(3), (TPen{Green, PenStyle::Solid, 1}));
  EXPECT_EQ(w.dialog.Image3->grab().toImage().pixelColor(24, 8), QColor(0, 128, 0));
}

bool holdsColour(const QImage* layer, QRgb colour) {
  if (!layer) return false;
  for (int y = 0; y < layer->height(); ++y)
    for (int x = 0; x < layer->width(); ++x)
      if (layer->pixel(x, y) == colour) return true;
  return false;
}

QImage curvesOf(const TFuncGraph& graph) {
  return graph.CurveLayer() ? *graph.CurveLayer() : QImage();
}

TEST(SetFuncDialog, TypedFormulasAndEditedPensRedrawOnlyWithAutomaticRedraw) {
  constexpr QRgb CurveGreen = 0xFF008000;
  constexpr QRgb CurveRed = 0xFFFF0000;
  TEvalon evalon;
  evalon.LoadEngine();
  FunctionWindow w;
  w.graph.setEvalon(&evalon);
  w.graph.resize(336, 316);
  w.graph.UpdateGraph();
  w.show();
  const auto settle = [] {
    for (int i = 0; i < 3; ++i)
      QApplication::processEvents();
  };

  QTest::keyClicks(w.dialog.Edit3, QStringLiteral("x"));
  settle();
  EXPECT_EQ(w.graph.CurveLayer(), nullptr);

  w.graph.setAutoRedraw(true);
  settle();
  EXPECT_TRUE(holdsColour(w.graph.CurveLayer(), CurveGreen));
  const QImage diagonal = curvesOf(w.graph);
  QTest::keyClicks(w.dialog.Edit3, QStringLiteral("*2"));
  settle();
  const QImage steeper = curvesOf(w.graph);
  EXPECT_NE(steeper, diagonal);
  w.graph.DrawFunctions();
  EXPECT_EQ(curvesOf(w.graph), steeper);

  w.editPen3(&TPenEditDlg::btnOK);
  settle();
  EXPECT_TRUE(holdsColour(w.graph.CurveLayer(), CurveRed));
  EXPECT_FALSE(holdsColour(w.graph.CurveLayer(), CurveGreen));

  w.graph.setAutoRedraw(false);
  const QImage thin = curvesOf(w.graph);
  w.editPen3(&TPenEditDlg::btnOK);
  QTest::keyClicks(w.dialog.Edit3, QStringLiteral("+1"));
  settle();
  EXPECT_EQ(curvesOf(w.graph), thin);
}

// The dialog over a graph that evaluates with the engine, on the range -10..10.
struct CheckedFunctionWindow : FunctionWindow {
  TEvalon evalon;
  CheckedFunctionWindow() {
    evalon.LoadEngine();
    graph.setEvalon(&evalon);
    graph.resize(336, 316);
    graph.UpdateGraph();
  }
};

bool marked(const QLineEdit* edit) {
  return edit->palette().color(QPalette::Text) == QColor(Qt::red);
}

TEST(SetFuncDialog, AFormulaFailingEverywhereTurnsRedAndTheLineTellsTheEnginesReason) {
  const std::vector<std::pair<QString, QString>> cases{
      {"sin(", "f3: 数値がありません"},
      {"2**x", "f3: 未定義の演算子があります"},
      // Names are made as variables when first read, so foo is one, followed by a bracket.
      {"foo(x)", "f3: 演算子が見つかりません"},
      {"2 x", "f3: 演算子が見つかりません"},
      {"-sin(x)", "f3: 数値がありません"},
  };
  for (const auto& [formula, line] : cases) {
    SCOPED_TRACE(formula.toStdString());
    CheckedFunctionWindow w;
    w.show();
    std::vector<QString> stored;
    QObject::connect(w.dialog.Edit3, &QLineEdit::textChanged,
                     [&] { stored.push_back(w.graph.FormulaText(3)); });
    QTest::keyClicks(w.dialog.Edit3, formula);
    EXPECT_TRUE(marked(w.dialog.Edit3));
    EXPECT_FALSE(marked(w.dialog.Edit2));
    EXPECT_EQ(w.dialog.LabelMessage->text(), line);
    // Every keystroke is still stored, the failing formula too.
    ASSERT_EQ(stored.size(), static_cast<size_t>(formula.size()));
    EXPECT_EQ(stored.back(), formula);
    EXPECT_EQ(w.graph.FormulaText(3), formula);
  }
}

// The engine reads Sin as a variable; the line names the slip instead, whether or not the
// formula fails, and the name gains no parameter row.
TEST(SetFuncDialog, AFunctionNameInCapitalsGetsAHintAndNoParameter) {
  const std::vector<std::tuple<QString, bool, QString>> cases{
      {"Sin(x)", true, "f3: 関数名は小文字で書きます: sin"},
      {"2*COS*x+Tand", false, "f3: 関数名は小文字で書きます: cos, tand"},
      {"2x", true, "f3: 2x は 2*x と書きます"},
  };
  for (const auto& [formula, fails, line] : cases) {
    SCOPED_TRACE(formula.toStdString());
    CheckedFunctionWindow w;
    w.show();
    QTest::keyClicks(w.dialog.Edit3, formula);
    EXPECT_EQ(marked(w.dialog.Edit3), fails);
    EXPECT_EQ(w.dialog.LabelMessage->text(), line);
    EXPECT_TRUE(w.graph.Parameters().isEmpty());
  }
}

// A hint is no failure: the line tells it in a calmer colour than red, and the edit stays
// as it is; an engine's message after it is told in the line's own colour again.
TEST(SetFuncDialog, AHintIsToldInACalmerColourThanAFailure) {
  CheckedFunctionWindow w;
  w.show();
  QTest::keyClicks(w.dialog.Edit2, QStringLiteral("-x^2"));
  EXPECT_FALSE(marked(w.dialog.Edit2));
  EXPECT_EQ(w.dialog.LabelMessage->text(),
            QStringLiteral("f2: -x^2 は (-x)^2 と計算されます。-(x^2) と書けます"));
  EXPECT_EQ(w.dialog.LabelMessage->palette().color(QPalette::WindowText), QColor(Qt::darkBlue));
  w.dialog.Edit2->setText(QStringLiteral("sin("));
  EXPECT_TRUE(marked(w.dialog.Edit2));
  EXPECT_EQ(w.dialog.LabelMessage->text(), QStringLiteral("f2: 数値がありません"));
  EXPECT_EQ(w.dialog.LabelMessage->palette().color(QPalette::WindowText),
            w.dialog.palette().color(QPalette::WindowText));
}

TEST(SetFuncDialog, AFormulaWithAValueSomewhereOrNoTextIsNotMarked) {
  CheckedFunctionWindow w;
  w.show();
  // sqrt fails for the negative half of the range only.
  QTest::keyClicks(w.dialog.Edit4, QStringLiteral("sqrt(x)"));
  EXPECT_FALSE(marked(w.dialog.Edit4));
  EXPECT_EQ(w.dialog.LabelMessage->text(), QString());

  // Mending a failing formula, or emptying it, takes the mark and the message away.
  QTest::keyClicks(w.dialog.Edit2, QStringLiteral("sin("));
  EXPECT_TRUE(marked(w.dialog.Edit2));
  QTest::keyClicks(w.dialog.Edit2, QStringLiteral("x)"));
  EXPECT_FALSE(marked(w.dialog.Edit2));
  EXPECT_EQ(w.dialog.LabelMessage->text(), QString());
  QTest::keyClicks(w.dialog.Edit2, QStringLiteral("+"));
  EXPECT_TRUE(marked(w.dialog.Edit2));
  w.dialog.Edit2->clear();
  EXPECT_FALSE(marked(w.dialog.Edit2));
  EXPECT_EQ(w.dialog.LabelMessage->text(), QString());
  EXPECT_EQ(w.graph.FormulaText(2), QString());
}

TEST(SetFuncDialog, CheckingAFormulaLeavesTheCurvesAsTheyWere) {
  CheckedFunctionWindow w;
  w.graph.setFormulaText(1, QStringLiteral("x*x/4-3"));
  w.graph.setFormulaText(5, QStringLiteral("sin(x)"));
  w.graph.DrawFunctions();
  const QImage before = curvesOf(w.graph);
  w.show();
  QTest::keyClicks(w.dialog.Edit2, QStringLiteral("sqrt(x)"));
  w.dialog.Edit2->clear();
  w.graph.DrawFunctions();
  EXPECT_EQ(curvesOf(w.graph), before);
}

TEST(SetFuncDialog, ShowingAndRedrawingMarkWhatFailsOnTheCurrentRange) {
  CheckedFunctionWindow w;
  w.graph.setFormulaText(1, QStringLiteral("sqrt(x)"));
  w.graph.setFormulaText(5, QStringLiteral("2 x"));
  w.show();
  EXPECT_FALSE(marked(w.dialog.Edit1));
  EXPECT_TRUE(marked(w.dialog.Edit5));
  EXPECT_EQ(w.dialog.LabelMessage->text(), QStringLiteral("f5: 演算子が見つかりません"));

  // On a range of negative x alone, sqrt has no value: the next redraw tells so.
  w.graph.setXMax(-1);
  EXPECT_FALSE(marked(w.dialog.Edit1));
  w.graph.DrawFunctions();
  EXPECT_TRUE(marked(w.dialog.Edit1));
  EXPECT_EQ(w.dialog.LabelMessage->text(), QStringLiteral("f1: 関数の値エラー"));
}

} // namespace
