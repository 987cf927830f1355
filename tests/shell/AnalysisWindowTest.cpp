#include "AnalysisWindow.h"

#include "DialogTestSupport.h"
#include "Evalon.h"
#include "FuncGraph.h"
#include "GraphMarks.h"
#include "NumberFormat.h"
#include "QtObjects.h"

#include <QClipboard>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

#include <gtest/gtest.h>

#include <cmath>

namespace {

struct AnalysisFixture {
  TEvalon evalon;
  TFuncGraph graph;
  TAnalysisWindow window{&graph};

  AnalysisFixture() {
    EXPECT_TRUE(evalon.LoadEngine());
    graph.setEvalon(&evalon);
    graph.resize(TFuncGraph::StartSize);
    graph.UpdateGraph();
  }
  void show() {
    graph.show();
    window.show();
    QApplication::processEvents();
  }
  QStringList column(const QTableWidget* table, int column) const {
    QStringList cells;
    for (int row = 0; row < table->rowCount(); ++row)
      cells << table->item(row, column)->text();
    return cells;
  }
  void clickRow(int row) {
    const QRect cell = window.PointList->visualItemRect(window.PointList->item(row, 0));
    QTest::mouseClick(window.PointList->viewport(), Qt::LeftButton, {}, cell.center());
  }
  QString pressTable() {
    QString error;
    const auto answering = answerNextModal<QMessageBox>([&error](QMessageBox* box) {
      error = box->text();
      box->accept();
    });
    QTest::mouseClick(window.btnTable, Qt::LeftButton);
    return error;
  }
};

TEST(AnalysisWindow, ListsThePointsOfTheCubicAndFollowsTheRedraw) {
  AnalysisFixture f;
  f.graph.setFormulaText(1, QStringLiteral("x^3-2*x"));
  f.show();
  EXPECT_EQ(f.column(f.window.PointList, 0),
            QStringList({"根", "極大", "根", "y切片", "極小", "根"}));
  EXPECT_EQ(f.column(f.window.PointList, 1), QStringList(6, QStringLiteral("f1")));
  EXPECT_EQ(f.window.PointList->item(0, 2)->text(), formatGeneral(-std::sqrt(2.0L), 10));
  EXPECT_EQ(f.window.PointList->item(4, 2)->text(), formatGeneral(std::sqrt(2.0L / 3), 10));

  // A second curve after a redraw: its points, then the intersections, once the redraw is over.
  f.graph.setFormulaText(2, QStringLiteral("cos(x)"));
  f.graph.DrawFunctions();
  QApplication::processEvents();
  const QStringList slotsColumn = f.column(f.window.PointList, 1);
  EXPECT_EQ(slotsColumn.count(QStringLiteral("f1, f2")), 3);
  EXPECT_EQ(slotsColumn.count(QStringLiteral("f2")), 4);
  EXPECT_EQ(slotsColumn.last(), QStringLiteral("f2"));
}

// A narrow window scrolls rather than cutting a number; a root reads 0, not the rounding noise
// of its y; the list copies as the table does.
TEST(AnalysisWindow, PointsShowWholeAndCopyAsTabSeparatedLines) {
  AnalysisFixture f;
  f.graph.setFormulaText(1, QStringLiteral("x^3-2*x-0.000000001"));
  f.window.resize(200, 320);
  f.show();
  const QTableWidget* list = f.window.PointList;
  ASSERT_EQ(list->rowCount(), 6);
  for (int row = 0; row < list->rowCount(); ++row)
    for (int column = 0; column < list->columnCount(); ++column) {
      const QString text = list->item(row, column)->text();
      EXPECT_LT(list->fontMetrics().horizontalAdvance(text), list->columnWidth(column)) << text.toStdString();
    }
  EXPECT_EQ(list->item(0, 3)->text(), QStringLiteral("0"));
  EXPECT_EQ(list->item(3, 3)->text(), QStringLiteral("-1E-9"));

  f.window.btnCopyPoints->click();
  const QStringList lines = QGuiApplication::clipboard()->text().split(QLatin1Char('\n'));
  ASSERT_EQ(lines.size(), 8); // the header, six points and the empty end of the last line
  EXPECT_EQ(lines[0], QStringLiteral("種類\t関数\tx\ty"));
  EXPECT_EQ(lines[1], QStringLiteral("根\tf1\t%1\t0").arg(list->item(0, 2)->text()));
  EXPECT_EQ(lines[4], QStringLiteral("y切片\tf1\t0\t-1E-9"));
  EXPECT_TRUE(lines[7].isEmpty());
}

TEST(AnalysisWindow, ARowClickedMarksItsPointUntilTheNextRedrawOrHiding) {
  AnalysisFixture f;
  f.graph.setFormulaText(2, QStringLiteral("x^3-2*x"));
  f.show();
  f.graph.DrawFunctions();
  QApplication::processEvents();
  ASSERT_EQ(f.window.PointList->rowCount(), 6);
  f.clickRow(4); // the minimum
  ASSERT_TRUE(f.window.Marks->hasMark());
  const QPoint centre(f.graph.XToPixel(std::sqrt(2.0L / 3)),
                      f.graph.YToPixel(-std::sqrt(32.0L / 27)));
  EXPECT_EQ(f.window.Marks->markPixel(), centre);
  // The circle in the slot's colour on what the screen shows, not on the graph's own picture.
  const QImage shown = f.graph.grab().toImage();
  const QColor red = toQColor(f.graph.FormulaPen(2).Color);
  EXPECT_EQ(shown.pixelColor(centre + QPoint(TGraphMarks::Radius, 0)), red);
  EXPECT_NE(f.graph.Picture().pixelColor(centre + QPoint(TGraphMarks::Radius, 0)), red);

  f.graph.DrawFunctions();
  EXPECT_FALSE(f.window.Marks->hasMark());
  QApplication::processEvents();
  // The list taking the focus marks nothing by itself.
  f.window.Pages->setCurrentIndex(1);
  f.window.Pages->setCurrentIndex(0);
  f.window.activateWindow();
  f.window.PointList->setFocus();
  QApplication::processEvents();
  EXPECT_FALSE(f.window.Marks->hasMark());
  f.clickRow(0);
  EXPECT_TRUE(f.window.Marks->hasMark());
  f.window.hide();
  EXPECT_FALSE(f.window.Marks->hasMark());
  EXPECT_FALSE(f.window.Marks->isVisible());
}

TEST(AnalysisWindow, TableStartsFromTheRangeAndShowsTheEnginesReason) {
  AnalysisFixture f;
  f.graph.setFormulaText(1, QStringLiteral("x^2"));
  f.graph.setFormulaText(3, QStringLiteral("sqrt(x)"));
  f.show();
  EXPECT_EQ(f.window.EditStart->text(), QStringLiteral("-3"));
  EXPECT_EQ(f.window.EditStep->text(), QStringLiteral("0.6"));
  EXPECT_EQ(f.window.EditCount->text(), QStringLiteral("11"));
  const QTableWidget* table = f.window.ValueTable;
  ASSERT_EQ(table->rowCount(), 11);
  ASSERT_EQ(table->columnCount(), 3);
  EXPECT_EQ(table->horizontalHeaderItem(2)->text(), QStringLiteral("f3"));
  EXPECT_EQ(table->item(10, 0)->text(), QStringLiteral("3"));
  EXPECT_EQ(table->item(10, 1)->text(), QStringLiteral("9"));
  bool failed = false;
  f.evalon.CalcValue(QStringLiteral("sqrt(-3)"), failed);
  ASSERT_TRUE(failed);
  ASSERT_FALSE(f.evalon.ErrorMessage().isEmpty());
  EXPECT_EQ(table->item(0, 2)->text(), f.evalon.ErrorMessage());
  EXPECT_FALSE(f.graph.Formula(3).Error());

  f.window.EditStart->setText(QStringLiteral("1"));
  f.window.EditStep->setText(QStringLiteral("0.5"));
  f.window.EditCount->setText(QStringLiteral("3"));
  EXPECT_EQ(f.pressTable(), QString());
  // A redraw with another formula: the table follows once its page is shown.
  f.graph.setFormulaText(1, QStringLiteral("x^3"));
  f.graph.DrawFunctions();
  QApplication::processEvents();
  EXPECT_EQ(table->item(1, 1)->text(), QStringLiteral("2.25"));
  f.window.Pages->setCurrentIndex(1);
  EXPECT_EQ(table->item(1, 1)->text(), QStringLiteral("3.375"));
  f.graph.setFormulaText(1, QStringLiteral("x^2"));
  f.graph.DrawFunctions();
  QApplication::processEvents();
  EXPECT_EQ(table->item(1, 1)->text(), QStringLiteral("2.25"));
  f.window.btnCopy->click();
  EXPECT_EQ(QGuiApplication::clipboard()->text(),
            QStringLiteral("x\tf1\tf3\n1\t1\t1\n1.5\t2.25\t%1\n2\t4\t%2\n")
                .arg(formatGeneral(std::sqrt(1.5L), 10), formatGeneral(std::sqrt(2.0L), 10)));
}

// Each bad span is refused with the field to correct in focus, and the table stays as it was.
TEST(AnalysisWindow, BadTableFieldsShowAnErrorAndKeepTheTable) {
  AnalysisFixture f;
  f.graph.setFormulaText(1, QStringLiteral("x"));
  f.show();
  f.window.Pages->setCurrentIndex(1);
  const QString notANumber = QStringLiteral("'%1' は浮動小数点数ではありません.");
  const QString lastX = QStringLiteral("表の最後の x が浮動小数点数の範囲を超えます.");
  struct Case {
    const char *start, *step, *count;
    QString error;
    QLineEdit* focus;
  };
  const Case cases[] = {
      {"-3", "abc", "11", notANumber.arg("abc"), f.window.EditStep},
      {"1e400", "1", "11", notANumber.arg("1e400"), f.window.EditStart},
      {"-3", "1", "10001", QStringLiteral("'10001' は 1 から 10000 までの整数ではありません."),
       f.window.EditCount},
      {"-3", "1", "0", QStringLiteral("'0' は 1 から 10000 までの整数ではありません."),
       f.window.EditCount},
      {"1e308", "1e305", "10000", lastX, f.window.EditStep},
      {"-1e308", "-1e305", "10000", lastX, f.window.EditStep},
  };
  for (const Case& c : cases) {
    f.window.EditStart->setText(QString::fromUtf8(c.start));
    f.window.EditStep->setText(QString::fromUtf8(c.step));
    f.window.EditCount->setText(QString::fromUtf8(c.count));
    EXPECT_EQ(f.pressTable(), c.error) << c.start << " " << c.step << " " << c.count;
    EXPECT_EQ(f.window.focusWidget(), c.focus) << c.start << " " << c.step << " " << c.count;
    EXPECT_EQ(f.column(f.window.ValueTable, 0).first(), QStringLiteral("-3"));
    EXPECT_EQ(f.window.ValueTable->rowCount(), 11);
  }
  // A table near the top of the range of double.
  f.window.EditStart->setText(QStringLiteral("1e308"));
  f.window.EditStep->setText(QStringLiteral("1e303"));
  f.window.EditCount->setText(QStringLiteral("10000"));
  EXPECT_EQ(f.pressTable(), QString());
  EXPECT_EQ(f.window.ValueTable->rowCount(), 10000);
  EXPECT_EQ(f.window.ValueTable->item(9999, 0)->text(),
            formatGeneral(1e308 + 9999 * 1e303, 10));
}

// A redraw refreshes the table over the rows it shows; fields typed and not applied are neither
// read nor refused.
TEST(AnalysisWindow, ARedrawKeepsTheTablesRowsAndLeavesTheFieldsAlone) {
  AnalysisFixture f;
  f.graph.setFormulaText(1, QStringLiteral("x"));
  f.show();
  f.window.Pages->setCurrentIndex(1);
  f.window.EditStart->setFocus();
  f.window.EditCount->setText(QStringLiteral("0"));
  f.graph.setFormulaText(1, QStringLiteral("2*x"));
  int errors = 0;
  const auto answering = answerNextModal<QMessageBox>([&errors](QMessageBox* box) {
    ++errors;
    box->accept();
  });
  f.graph.DrawFunctions();
  QApplication::processEvents();
  EXPECT_EQ(errors, 0);
  EXPECT_EQ(f.window.focusWidget(), f.window.EditStart);
  EXPECT_EQ(f.window.ValueTable->rowCount(), 11);
  EXPECT_EQ(f.window.ValueTable->item(10, 1)->text(), QStringLiteral("6"));
}

} // namespace
