// TAnalysisWindow: the modeless tool window "解析" with two pages. "特徴点" lists the roots,
// minima, maxima and y-intercepts of every used slot and the intersections of every pair over
// the graph's x range, and follows every redraw; clicking a row marks the point on the graph.
// "数表" tabulates the used slots from a start in equal steps, with the engine's message where
// an evaluation fails. Either page copies its list as tab-separated text. "微積分" is the
// calculus page (TCalculusPage).
#pragma once

#include "CurveAnalysis.h"
#include "ValueTable.h"

#include <QWidget>

class QLineEdit;
class QPushButton;
class QTableWidget;
class QTabWidget;
class TFuncGraph;
class TCalculusPage;
class TGraphMarks;

class TAnalysisWindow : public QWidget {
  Q_OBJECT

public:
  explicit TAnalysisWindow(TFuncGraph* graph, QWidget* parent = nullptr);

  QTabWidget* Pages;
  QTableWidget* PointList;
  QPushButton* btnCopyPoints;
  QLineEdit* EditStart;
  QLineEdit* EditStep;
  QLineEdit* EditCount;
  QPushButton* btnTable;
  QPushButton* btnCopy;
  QTableWidget* ValueTable;
  TGraphMarks* Marks;
  TCalculusPage* Calculus;

  const std::vector<CurvePoint>& Points() const { return points; }
  // The value table as the copy button puts it on the clipboard: a header line, then one line
  // per row, the cells separated by tabs.
  QString TableText() const;
  // The points list as its copy button puts it on the clipboard, in the same form.
  QString PointsText() const;
  // Fills the table from the three fields. A field that is no number, a count outside 1..10000
  // or a last x beyond the range of double is refused (KurvoError, the focus on the field).
  void btnTableClick();
  void btnCopyClick();
  void btnCopyPointsClick();

protected:
  void showEvent(QShowEvent* event) override;
  void hideEvent(QHideEvent* event) override;

private:
  void placeBeside(const QWidget* window);
  void buildPointsPage();
  void buildTablePage();
  // Asks for the points once the current event is done, so that a redraw shows its curves
  // before the analysis runs; several requests meanwhile make one.
  void requestPoints();
  void findPoints();
  void refreshShownTable();
  void PointListSelect(int row);
  void setTableDefaults();
  void showTable(const TableSpan& span);
  void fillTable(double start, double step, int count);

  TFuncGraph* graph;
  std::vector<CurvePoint> points;
  bool pointsRequested = false;
  bool tableStale = false; // the formulas were drawn again since the table was filled
  TableSpan shownSpan{};
};
