#include "AnalysisWindow.h"

#include "CalculusPage.h"
#include "ErrorBox.h"
#include "Evalon.h"
#include "FormFont.h"
#include "FuncGraph.h"
#include "GraphCurves.h"
#include "GraphMarks.h"
#include "NumberField.h"
#include "NumberFormat.h"
#include "QtObjects.h"
#include "ValueTable.h"

#include <QClipboard>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace {

constexpr int Precision = 10;

QString kindText(PointKind kind) {
  switch (kind) {
  case PointKind::Root:
    return QStringLiteral("根");
  case PointKind::Minimum:
    return QStringLiteral("極小");
  case PointKind::Maximum:
    return QStringLiteral("極大");
  case PointKind::YIntercept:
    return QStringLiteral("y切片");
  case PointKind::Intersection:
    return QStringLiteral("交点");
  }
  return {};
}

QString slotText(const CurvePoint& point) {
  QString text = QStringLiteral("f%1").arg(point.slot);
  if (point.otherSlot != 0) text += QStringLiteral(", f%1").arg(point.otherSlot);
  return text;
}

// Every column is as wide as its widest cell: a number cut short reads as another number.
QTableWidget* newTable(const QStringList& headers, QWidget* parent) {
  auto* table = new QTableWidget(0, int(headers.size()), parent);
  table->setHorizontalHeaderLabels(headers);
  table->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table->setSelectionBehavior(QAbstractItemView::SelectRows);
  table->setSelectionMode(QAbstractItemView::SingleSelection);
  table->verticalHeader()->hide();
  table->verticalHeader()->setDefaultSectionSize(table->fontMetrics().height() + 4);
  table->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
  return table;
}

// A root found to the last digit has a y of rounding noise, such as 1E-16, which would read as
// a point off the axis.
double shownY(const CurvePoint& point) {
  return point.kind == PointKind::Root ? 0 : point.y;
}

// A header line, then one line per row, the cells separated by tabs.
QString tableText(const QTableWidget* table) {
  QStringList lines;
  QStringList header;
  for (int column = 0; column < table->columnCount(); ++column)
    header << table->horizontalHeaderItem(column)->text();
  lines << header.join(QLatin1Char('\t'));
  for (int row = 0; row < table->rowCount(); ++row) {
    QStringList cells;
    for (int column = 0; column < table->columnCount(); ++column) {
      const QTableWidgetItem* item = table->item(row, column);
      cells << (item ? item->text() : QString());
    }
    lines << cells.join(QLatin1Char('\t'));
  }
  return lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

// A page of the table with a copy button under it at the right.
QWidget* tablePage(QTableWidget* table, QPushButton* copy, QWidget* parent) {
  auto* page = new QWidget(parent);
  table->setParent(page);
  copy->setParent(page);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(copy);
  auto* layout = new QVBoxLayout(page);
  layout->addWidget(table);
  layout->addLayout(buttons);
  return page;
}

void setRow(QTableWidget* table, int row, const QStringList& cells) {
  for (int column = 0; column < cells.size(); ++column)
    table->setItem(row, column, new QTableWidgetItem(cells[column]));
}

} // namespace

TAnalysisWindow::TAnalysisWindow(TFuncGraph* graph, QWidget* parent)
    : QWidget(parent, Qt::Tool), graph(graph) {
  setWindowTitle(QStringLiteral("解析"));
  setFont(formFont());
  resize(380, 320);
  placeBeside(parent);
  Pages = new QTabWidget(this);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(6, 6, 6, 6);
  layout->addWidget(Pages);
  buildPointsPage();
  buildTablePage();
  Calculus = new TCalculusPage(graph, Pages);
  Pages->addTab(Calculus, QStringLiteral(u"微積分"));
  Marks = new TGraphMarks(graph);
  connect(graph, &TFuncGraph::CurvesDrawn, this, [this] {
    if (isVisible()) requestPoints();
  });
}

// Beside the main window, so that the graph with its marks stays in sight.
void TAnalysisWindow::placeBeside(const QWidget* window) {
  const QRect screenArea = screen()->availableGeometry();
  if (!window) {
    move(screenArea.center() - rect().center());
    return;
  }
  const QRect beside = window->frameGeometry();
  move(std::clamp(beside.right() + 8, screenArea.left(), screenArea.right() - width()),
       std::clamp(beside.top(), screenArea.top(), screenArea.bottom() - height()));
}

void TAnalysisWindow::buildPointsPage() {
  PointList = newTable(
      {QStringLiteral("種類"), QStringLiteral("関数"), QStringLiteral("x"), QStringLiteral("y")},
      Pages);
  btnCopyPoints = new QPushButton(QStringLiteral("コピー"));
  connect(btnCopyPoints, &QPushButton::clicked, this, [this] { btnCopyPointsClick(); });
  // Selection, not the current cell: the focus alone makes a current cell without any click.
  connect(PointList, &QTableWidget::itemSelectionChanged, this, [this] {
    const QList<QTableWidgetItem*> selected = PointList->selectedItems();
    PointListSelect(selected.isEmpty() ? -1 : selected.first()->row());
  });
  Pages->addTab(tablePage(PointList, btnCopyPoints, Pages), QStringLiteral("特徴点"));
}

void TAnalysisWindow::buildTablePage() {
  auto* page = new QWidget(Pages);
  auto* fields = new QHBoxLayout;
  const auto field = [page, fields](const QString& caption) {
    fields->addWidget(new QLabel(caption, page));
    auto* edit = new QLineEdit(page);
    fields->addWidget(edit);
    return edit;
  };
  EditStart = field(QStringLiteral("開始"));
  EditStep = field(QStringLiteral("刻み"));
  EditCount = field(QStringLiteral("個数"));
  EditCount->setMaximumWidth(56);
  btnTable = new QPushButton(QStringLiteral("表示"), page);
  fields->addWidget(btnTable);
  ValueTable = newTable({QStringLiteral("x")}, page);
  btnCopy = new QPushButton(QStringLiteral("コピー"), page);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(btnCopy);
  auto* layout = new QVBoxLayout(page);
  layout->addLayout(fields);
  layout->addWidget(ValueTable);
  layout->addLayout(buttons);
  for (QLineEdit* edit : {EditStart, EditStep, EditCount})
    connect(edit, &QLineEdit::returnPressed, this,
            [this] { RunCommand(this, [this] { btnTableClick(); }); });
  connect(btnTable, &QPushButton::clicked, this,
          [this] { RunCommand(this, [this] { btnTableClick(); }); });
  connect(btnCopy, &QPushButton::clicked, this, [this] { btnCopyClick(); });
  Pages->addTab(page, QStringLiteral("数表"));
  connect(Pages, &QTabWidget::currentChanged, this, [this] { refreshShownTable(); });
}

void TAnalysisWindow::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  setTableDefaults();
  findPoints();
}

void TAnalysisWindow::hideEvent(QHideEvent* event) {
  Marks->clearMarks();
  QWidget::hideEvent(event);
}

void TAnalysisWindow::requestPoints() {
  if (pointsRequested) return;
  pointsRequested = true;
  QMetaObject::invokeMethod(
      this,
      [this] {
        pointsRequested = false;
        if (!isVisible()) return;
        findPoints();
        tableStale = true;
        refreshShownTable();
      },
      Qt::QueuedConnection);
}

// A table of many rows takes a while to fill, so a hidden page waits until it is shown. It
// follows the formulas over the rows it shows: what the fields hold applies only when the user
// asks for it, and a refresh neither reads nor refuses it.
void TAnalysisWindow::refreshShownTable() {
  if (!tableStale || Pages->currentWidget() != ValueTable->parentWidget()) return;
  tableStale = false;
  fillTable(shownSpan.start, shownSpan.step, shownSpan.count);
}

void TAnalysisWindow::findPoints() {
  points = graphPoints(*graph);
  const std::vector<int> relations = relationSlots(*graph);
  const QSignalBlocker quiet(PointList);
  PointList->clearContents();
  PointList->setRowCount(int(points.size() + relations.size()));
  for (int row = 0; row < int(points.size()); ++row) {
    const CurvePoint& p = points[row];
    setRow(PointList, row,
           {kindText(p.kind), slotText(p), formatGeneral(p.x, Precision),
            formatGeneral(shownY(p), Precision)});
  }
  // The rows after the points say which slots the analysis leaves out.
  int row = int(points.size());
  for (int slot : relations)
    setRow(PointList, row++, {QStringLiteral("関係式: 対象外"), QStringLiteral("f%1").arg(slot)});
  Marks->clearMarks();
}

void TAnalysisWindow::PointListSelect(int row) {
  if (row < 0 || row >= int(points.size())) {
    Marks->clearMarks();
    return;
  }
  const CurvePoint& p = points[row];
  const double y = shownY(p);
  Marks->setMark(
      p.x, y, toQColor(graph->FormulaPen(p.slot).Color),
      QStringLiteral("(%1, %2)").arg(formatGeneral(p.x, Precision), formatGeneral(y, Precision)));
}

void TAnalysisWindow::setTableDefaults() {
  tableStale = false;
  const long double xMin = graph->XMin();
  EditStart->setText(formatGeneral(xMin));
  EditStep->setText(formatGeneral((graph->XMax() - xMin) / 10));
  EditCount->setText(QStringLiteral("11"));
  showTable({double(xMin), double((graph->XMax() - xMin) / 10), 11});
}

// Each field holds a number, and the table's last x is a number too; it is the step that takes
// the last x out of range, so the step gets the focus.
void TAnalysisWindow::btnTableClick() {
  const TableSpan span{fieldDouble(EditStart), fieldDouble(EditStep),
                       fieldInteger(EditCount, 1, TableSpan::MaxCount)};
  if (!span.valid())
    refuseField(EditStep, QStringLiteral("表の最後の x が浮動小数点数の範囲を超えます"));
  showTable(span);
}

void TAnalysisWindow::showTable(const TableSpan& span) {
  shownSpan = span;
  fillTable(span.start, span.step, span.count);
}

// A failed evaluation shows the engine's reason.
void TAnalysisWindow::fillTable(double start, double step, int count) {
  const GraphTable table = graphTable(*graph, TableSpan{start, step, count});
  QStringList headers{table.runningName};
  for (const TableColumn& column : table.columns)
    headers << column.name;
  ValueTable->clear();
  ValueTable->setColumnCount(int(headers.size()));
  ValueTable->setHorizontalHeaderLabels(headers);
  ValueTable->setRowCount(count);
  for (int row = 0; row < count; ++row) {
    const TableRow& line = table.rows[std::size_t(row)];
    QStringList cells{formatGeneral(line.x, Precision)};
    for (const TableCell& cell : line.cells) {
      if (cell.value)
        cells << formatGeneral(*cell.value, Precision);
      else
        cells << (cell.reason.isEmpty() ? QStringLiteral("計算できません") : cell.reason);
    }
    setRow(ValueTable, row, cells);
  }
}

QString TAnalysisWindow::TableText() const {
  return tableText(ValueTable);
}

QString TAnalysisWindow::PointsText() const {
  return tableText(PointList);
}

void TAnalysisWindow::btnCopyClick() {
  QGuiApplication::clipboard()->setText(TableText());
}

void TAnalysisWindow::btnCopyPointsClick() {
  QGuiApplication::clipboard()->setText(PointsText());
}
