// The parameters window driven as a user drives it: sliders, typed values and ranges, play,
// and what ends play.
#include "ParameterWindow.h"

#include "DialogTestSupport.h"
#include "Evalon.h"
#include "FuncGraph.h"
#include "NumberFormat.h"
#include "mainMain.h"

#include <QComboBox>
#include <QDeadlineTimer>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMenuBar>
#include <QSlider>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

#include <functional>

namespace {

constexpr QRgb White = 0xFFFFFFFF;

// Lets events run until the condition holds or five seconds have passed; whether it holds.
bool eventually(const std::function<bool()>& condition) {
  const QDeadlineTimer deadline(5000);
  while (!condition() && !deadline.hasExpired())
    QTest::qWait(10);
  return condition();
}

// The main window's graph with the engine loaded, and the parameters window shown for it.
struct ParameterWindow {
  TEvalon evalon;
  TFuncGraph graph;
  TParameterWindow window{&graph};

  explicit ParameterWindow(const char* formula = "a*x") {
    evalon.LoadEngine();
    graph.setEvalon(&evalon);
    graph.resize(336, 316);
    graph.UpdateGraph();
    graph.setFormulaText(1, QString::fromUtf8(formula));
    graph.DrawFunctions();
    window.show();
    QApplication::processEvents();
  }
  const TParameterWindow::Row& row(int index) const { return window.Rows().at(index); }
  const GraphParameter& parameter(int index) const { return graph.Parameters().at(index); }
  // Types the text into the field and presses Enter; the error box's text, if one came.
  QString enter(QLineEdit* edit, const QString& text) {
    edit->clear();
    QTest::keyClicks(edit, text);
    QString error;
    const auto answering = answerNextModal<QMessageBox>([&error](QMessageBox* box) {
      error = box->text();
      box->accept();
    });
    QTest::keyClick(edit, Qt::Key_Return);
    return error;
  }
  // Whether the curve of a*x passes through its pixel at x.
  bool onLine(long double x, long double a) const {
    const int column = graph.XToPixel(x);
    const int row = graph.YToPixel(a * graph.PixelToX(column));
    return graph.CurveLayer()->pixel(column, row) != White;
  }
};

// Qt's default locale, which the number fields follow, for the life of this object.
struct DefaultLocale {
  const QLocale saved;
  explicit DefaultLocale(const QLocale& locale) { QLocale::setDefault(locale); }
  ~DefaultLocale() { QLocale::setDefault(saved); }
};

TEST(ParameterWindow, OneRowPerParameterInOrderOfFirstUse) {
  ParameterWindow w("");
  EXPECT_EQ(w.window.windowTitle(), QStringLiteral(u"パラメータ"));
  EXPECT_TRUE(w.window.LabelEmpty->isVisible());
  EXPECT_EQ(w.window.LabelEmpty->text(), QStringLiteral(u"数式にパラメータがありません"));
  EXPECT_TRUE(w.window.Rows().empty());
  w.graph.setFormulaText(1, QStringLiteral("a*sin(b*x)+s$"));
  QApplication::processEvents();
  ASSERT_EQ(w.window.Rows().size(), 2u);
  EXPECT_FALSE(w.window.LabelEmpty->isVisible());
  EXPECT_EQ(w.row(0).name->text(), QStringLiteral("a"));
  EXPECT_EQ(w.row(1).name->text(), QStringLiteral("b"));
  EXPECT_EQ(w.row(0).value->text(), QStringLiteral("1"));
  EXPECT_EQ(w.row(0).min->text(), QStringLiteral("-10"));
  EXPECT_EQ(w.row(0).max->text(), QStringLiteral("10"));
  EXPECT_EQ(w.row(0).slider->maximum(), TParameterWindow::SliderSteps);
  EXPECT_EQ(w.row(0).slider->value(), 550);
  EXPECT_EQ(w.window.ComboSpeed->currentText(), QStringLiteral(u"4 秒"));
}

TEST(ParameterWindow, TheSliderMovesTheCurveAtOnce) {
  ParameterWindow w;
  EXPECT_TRUE(w.onLine(1.0L, 1.0L));
  w.row(0).slider->setValue(575); // -10 + 575 * 0.02 = 1.5
  EXPECT_DOUBLE_EQ(w.parameter(0).value, 1.5);
  EXPECT_TRUE(w.onLine(1.0L, 1.5L));
  EXPECT_FALSE(w.onLine(1.0L, 1.0L));
  EXPECT_EQ(w.row(0).value->text(), QStringLiteral("1.5"));
  QTest::keyClick(w.row(0).slider, Qt::Key_Right);
  EXPECT_DOUBLE_EQ(w.parameter(0).value, 1.52);
  w.row(0).slider->setValue(TParameterWindow::SliderSteps);
  EXPECT_EQ(w.parameter(0).value, 10.0);
}

TEST(ParameterWindow, ATypedValueMovesTheCurveAndWidensTheRange) {
  ParameterWindow w;
  EXPECT_EQ(w.enter(w.row(0).value, QStringLiteral("2")), QString());
  EXPECT_TRUE(w.onLine(1.0L, 2.0L));
  EXPECT_FALSE(w.onLine(1.0L, 1.0L));
  EXPECT_EQ(w.row(0).slider->value(), 600);
  // Typing alone changes nothing.
  w.row(0).value->selectAll();
  QTest::keyClicks(w.row(0).value, QStringLiteral("3"));
  EXPECT_EQ(w.parameter(0).value, 2.0);

  EXPECT_EQ(w.enter(w.row(0).value, QStringLiteral("25")), QString());
  EXPECT_EQ(w.parameter(0), (GraphParameter{"a", 25.0, -10.0, 25.0}));
  EXPECT_EQ(w.row(0).max->text(), QStringLiteral("25"));
  EXPECT_EQ(w.row(0).slider->value(), TParameterWindow::SliderSteps);

  const DefaultLocale comma(QLocale(QLocale::German));
  EXPECT_EQ(w.enter(w.row(0).value, QStringLiteral("0,5")), QString());
  EXPECT_EQ(w.parameter(0).value, 0.5);
  EXPECT_TRUE(w.onLine(2.0L, 0.5L));
}

TEST(ParameterWindow, ARangeAppliesOnEnterAndKeepsTheValueInside) {
  ParameterWindow w;
  w.row(0).max->selectAll();
  QTest::keyClicks(w.row(0).max, QStringLiteral("0.5"));
  EXPECT_EQ(w.enter(w.row(0).min, QStringLiteral("-2")), QString());
  EXPECT_EQ(w.parameter(0), (GraphParameter{"a", 0.5, -2.0, 0.5}));
  EXPECT_TRUE(w.onLine(2.0L, 0.5L));
  EXPECT_EQ(w.row(0).slider->value(), TParameterWindow::SliderSteps);
  w.row(0).slider->setValue(0);
  EXPECT_EQ(w.parameter(0).value, -2.0);
}

TEST(ParameterWindow, BadInputIsRefusedAndChangesNothing) {
  const DefaultLocale point(QLocale::c());
  ParameterWindow w;
  const GraphParameter before = w.parameter(0);
  const QImage curves = *w.graph.CurveLayer();
  for (const char* text : {"abc", "nan", "inf", "-inf", "1e999", "1,5", ""}) {
    const QString typed = QString::fromUtf8(text);
    const QString expected = QStringLiteral(u"'%1' は浮動小数点数ではありません.").arg(typed);
    EXPECT_EQ(w.enter(w.row(0).value, typed), expected);
    EXPECT_EQ(w.enter(w.row(0).min, typed), expected);
    EXPECT_EQ(w.enter(w.row(0).max, typed), expected);
    w.row(0).min->setText(QStringLiteral("-10"));
    w.row(0).max->setText(QStringLiteral("10"));
  }
  for (const char* min : {"10", "11"}) {
    EXPECT_EQ(w.enter(w.row(0).min, QString::fromUtf8(min)),
              QStringLiteral(u"最小値は最大値より小さくしてください."));
  }
  w.row(0).min->setText(QStringLiteral("-10"));
  EXPECT_EQ(w.enter(w.row(0).max, QStringLiteral("-10")),
            QStringLiteral(u"最小値は最大値より小さくしてください."));
  EXPECT_EQ(w.parameter(0), before);
  EXPECT_EQ(*w.graph.CurveLayer(), curves);
}

// A field the user typed into and has not applied keeps its text while another applies, and a
// range the wrong way round leaves the focus in the field where it was applied.
TEST(ParameterWindow, AFieldTypedIntoKeepsItsTextAndARefusedRangeKeepsTheFocus) {
  ParameterWindow w;
  w.row(0).min->selectAll();
  QTest::keyClicks(w.row(0).min, QStringLiteral("3"));
  EXPECT_EQ(w.enter(w.row(0).value, QStringLiteral("2")), QString());
  EXPECT_EQ(w.parameter(0).value, 2.0);
  EXPECT_EQ(w.row(0).min->text(), QStringLiteral("3"));
  EXPECT_EQ(w.parameter(0).min, -10.0);

  EXPECT_EQ(w.enter(w.row(0).max, QStringLiteral("1")),
            QStringLiteral(u"最小値は最大値より小さくしてください."));
  EXPECT_EQ(w.window.focusWidget(), w.row(0).max);
  EXPECT_EQ(w.parameter(0), (GraphParameter{"a", 2.0, -10.0, 10.0}));
}

TEST(ParameterWindow, PlayMovesTheValueAndStopsWhenTheWindowHides) {
  ParameterWindow w;
  QTest::mouseClick(w.row(0).play, Qt::LeftButton);
  EXPECT_EQ(w.window.PlayingRow(), 0);
  EXPECT_EQ(w.row(0).play->text(), QStringLiteral(u"■"));
  EXPECT_TRUE(eventually([&] { return w.parameter(0).value > 1.0; }));
  EXPECT_TRUE(eventually([&] { return !w.onLine(1.0L, 1.0L); }));
  EXPECT_EQ(w.row(0).value->text(), formatGeneral(w.parameter(0).value));
  w.window.hide();
  EXPECT_EQ(w.window.PlayingRow(), -1);
  const double stopped = w.parameter(0).value;
  QTest::qWait(100);
  EXPECT_EQ(w.parameter(0).value, stopped);
  // A second click stops it too.
  w.window.show();
  QTest::mouseClick(w.row(0).play, Qt::LeftButton);
  QTest::mouseClick(w.row(0).play, Qt::LeftButton);
  EXPECT_EQ(w.window.PlayingRow(), -1);
  EXPECT_EQ(w.row(0).play->text(), QStringLiteral(u"▶"));
}

TEST(ParameterWindow, PlayGoesOnWhenRowsAreAddedAndStopsOnANewOrOpenedGraph) {
  ParameterWindow w;
  QTemporaryDir dir;
  w.graph.setGraphName(dir.filePath(QStringLiteral("p.kvx")));
  w.graph.SaveToFile();
  QTest::mouseClick(w.row(0).play, Qt::LeftButton);
  w.graph.setFormulaText(2, QStringLiteral("b"));
  QApplication::processEvents();
  EXPECT_EQ(w.window.Rows().size(), 2u);
  EXPECT_EQ(w.window.PlayingRow(), 0);
  EXPECT_EQ(w.row(0).play->text(), QStringLiteral(u"■"));

  w.graph.LoadFromFile();
  EXPECT_EQ(w.window.PlayingRow(), -1);
  ASSERT_EQ(w.window.Rows().size(), 1u);
  QTest::mouseClick(w.row(0).play, Qt::LeftButton);
  EXPECT_EQ(w.window.PlayingRow(), 0);
  w.graph.ResetGraph();
  EXPECT_EQ(w.window.PlayingRow(), -1);
  EXPECT_TRUE(w.window.Rows().empty());
  EXPECT_TRUE(w.window.LabelEmpty->isVisible());
}

// A row nobody set goes when no formula uses it any more; the sweep follows its own row.
TEST(ParameterWindow, PlayFollowsItsRowWhenRowsBeforeItGo) {
  ParameterWindow w("c+b");
  ASSERT_EQ(w.window.Rows().size(), 2u);
  QTest::mouseClick(w.row(1).play, Qt::LeftButton);
  ASSERT_TRUE(eventually([&] { return w.parameter(1).value != 1.0; }));
  w.graph.setFormulaText(1, QStringLiteral("b"));
  ASSERT_EQ(w.window.Rows().size(), 1u);
  EXPECT_EQ(w.row(0).name->text(), QStringLiteral("b"));
  EXPECT_EQ(w.window.PlayingRow(), 0);
  EXPECT_EQ(w.row(0).play->text(), QStringLiteral(u"■"));
  const double before = w.parameter(0).value;
  EXPECT_TRUE(eventually([&] { return w.parameter(0).value != before; }));
}

TEST(ParameterWindow, TheSettingsMenuOpensItAfterTheFunctionsAndNewStopsPlay) {
  TfrmMain form;
  form.show();
  QApplication::processEvents();
  QMenu* settings = nullptr;
  for (QAction* menu : form.menuBar()->actions())
    if (menu->text() == QStringLiteral(u"設定(&S)")) settings = menu->menu();
  ASSERT_NE(settings, nullptr);
  const QList<QAction*> items = settings->actions();
  ASSERT_EQ(items.indexOf(form.mnSetParameter), items.indexOf(form.mnSetFunction) + 1);
  EXPECT_EQ(form.mnSetParameter->text(), QStringLiteral(u"パラメータ..."));
  EXPECT_EQ(form.mnSetParameter->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_P));

  form.FGraph->setFormulaText(1, QStringLiteral("a*sin(b*x)"));
  form.mnSetParameter->trigger();
  auto* window = form.findChild<TParameterWindow*>();
  ASSERT_NE(window, nullptr);
  EXPECT_TRUE(window->isVisible());
  ASSERT_EQ(window->Rows().size(), 2u);
  QTest::mouseClick(window->Rows().at(1).play, Qt::LeftButton);
  EXPECT_EQ(window->PlayingRow(), 1);
  const auto answering = answerNextModal<QMessageBox>(
      [](QMessageBox* box) { clickMessageButton(box, QStringLiteral(u"保存しない")); });
  form.mnFileNew->trigger();
  EXPECT_EQ(window->PlayingRow(), -1);
  EXPECT_TRUE(window->Rows().empty());
}

} // namespace
