#include "CalculusPage.h"

#include "CalculusText.h"
#include "ErrorBox.h"
#include "FuncGraph.h"
#include "GraphCurves.h"
#include "NumberField.h"
#include "NumberFormat.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include <cmath>
#include <map>

namespace {

constexpr int Digits = 10;

QString number(double value) {
  return formatGeneral(value, Digits);
}

// The used slots' functions by slot number.
std::map<int, SampledFunction> functionsOf(const TFuncGraph& graph) {
  std::map<int, SampledFunction> functions;
  for (Curve& curve : graphCurves(graph))
    functions.emplace(curve.slot, std::move(curve.f));
  return functions;
}

QString tangentText(const GraphTangent& tangent, const std::map<int, SampledFunction>& f) {
  const QString head = QStringLiteral(u"f%1  x₀ = %2:  ").arg(tangent.slot).arg(number(tangent.x));
  const auto curve = f.find(tangent.slot);
  if (curve == f.end()) return head + QStringLiteral(u"関数がありません");
  const auto y0 = curve->second(tangent.x);
  const DerivativeResult slope = derivative(curve->second, tangent.x);
  if (!y0) return head + QStringLiteral(u"関数の値がありません");
  if (!slope.ok()) return head + DerivativeReason(slope);
  // A slope within its own error of zero is a level tangent, not rounding noise to read.
  const double m = std::fabs(slope.value) <= slope.error ? 0 : slope.value;
  return head + TangentEquation(m, *y0 - m * tangent.x);
}

QString areaText(const GraphArea& area, const std::map<int, SampledFunction>& f) {
  const QString partner = area.other == 0 ? QString() : QStringLiteral(" - f%1").arg(area.other);
  const QString head = QStringLiteral(u"f%1%2  %3 〜 %4:  ")
                           .arg(area.slot)
                           .arg(partner, number(area.from), number(area.to));
  const auto curve = f.find(area.slot);
  const auto other = f.find(area.other);
  if (curve == f.end() || (area.other != 0 && other == f.end()))
    return head + QStringLiteral(u"関数がありません");
  const SampledFunction difference = [&](double x) -> std::optional<double> {
    const auto y = curve->second(x);
    if (!y || area.other == 0) return y;
    const auto base = other->second(x);
    return base ? std::optional<double>(*y - *base) : std::nullopt;
  };
  const IntegralResult r = integral(difference, area.from, area.to);
  if (!r.ok()) return head + IntegralReason(r);
  return head + QStringLiteral(u"%1（誤差 %2 以下）").arg(number(r.value), formatGeneral(r.error, 2));
}

} // namespace

TCalculusPage::TCalculusPage(TFuncGraph* graph, QWidget* parent)
    : QWidget(parent), graph(graph) {
  auto* layout = new QVBoxLayout(this);
  buildSlotRow(this);
  buildTangentGroup(this);
  buildAreaGroup(this);
  layout->addWidget(new QLabel(
      QStringLiteral(u"グラフをクリックすると接線、Shift を押してドラッグすると面積を追加します"),
      this));
  connect(graph, &TFuncGraph::CurvesDrawn, this, [this] {
    if (isVisible()) showMarks();
  });
  connect(graph, &TFuncGraph::Clicked, this, [this](QPointF at) {
    if (isVisible()) addTangentAt(static_cast<double>(this->graph->PixelToX(std::lround(at.x()))));
  });
  connect(graph, &TFuncGraph::SpanSelected, this, [this](long double from, long double to) {
    if (isVisible()) addArea(static_cast<double>(from), static_cast<double>(to));
  });
}

void TCalculusPage::buildSlotRow(QWidget* page) {
  auto* row = new QHBoxLayout;
  row->addWidget(new QLabel(QStringLiteral(u"関数"), page));
  ComboSlot = new QComboBox(page);
  for (int n = 1; n <= TFuncGraph::FormulaCount; ++n)
    ComboSlot->addItem(QStringLiteral("f%1").arg(n));
  row->addWidget(ComboSlot);
  CheckDerivative = new QCheckBox(QStringLiteral(u"導関数（破線）"), page);
  row->addWidget(CheckDerivative);
  row->addStretch();
  static_cast<QVBoxLayout*>(layout())->addLayout(row);
  connect(ComboSlot, &QComboBox::currentIndexChanged, this, [this] { showMarks(); });
  connect(CheckDerivative, &QCheckBox::clicked, this, [this](bool on) {
    GraphCalculus calculus = graph->Calculus();
    calculus.derivatives[std::size_t(chosenSlot() - 1)] = on;
    graph->setCalculus(calculus);
  });
}

void TCalculusPage::buildTangentGroup(QWidget* page) {
  auto* group = new QGroupBox(QStringLiteral(u"接線"), page);
  auto* grid = new QGridLayout(group);
  grid->addWidget(new QLabel(QStringLiteral(u"x₀"), group), 0, 0);
  EditTangentX = new QLineEdit(group);
  grid->addWidget(EditTangentX, 0, 1);
  btnAddTangent = new QPushButton(QStringLiteral(u"追加"), group);
  grid->addWidget(btnAddTangent, 0, 2);
  TangentList = new QListWidget(group);
  grid->addWidget(TangentList, 1, 0, 1, 3);
  btnDeleteTangent = new QPushButton(QStringLiteral(u"削除"), group);
  grid->addWidget(btnDeleteTangent, 2, 2);
  layout()->addWidget(group);
  const auto add = [this] { RunCommand(this, [this] { btnAddTangentClick(); }); };
  connect(EditTangentX, &QLineEdit::returnPressed, this, add);
  connect(btnAddTangent, &QPushButton::clicked, this, add);
  connect(btnDeleteTangent, &QPushButton::clicked, this,
          [this] { deleteChosen(TangentList, true); });
}

void TCalculusPage::buildAreaGroup(QWidget* page) {
  auto* group = new QGroupBox(QStringLiteral(u"面積"), page);
  auto* grid = new QGridLayout(group);
  grid->addWidget(new QLabel(QStringLiteral("a"), group), 0, 0);
  EditFrom = new QLineEdit(group);
  grid->addWidget(EditFrom, 0, 1);
  grid->addWidget(new QLabel(QStringLiteral("b"), group), 0, 2);
  EditTo = new QLineEdit(group);
  grid->addWidget(EditTo, 0, 3);
  ComboOther = new QComboBox(group);
  ComboOther->addItem(QStringLiteral(u"x 軸まで"));
  for (int n = 1; n <= TFuncGraph::FormulaCount; ++n)
    ComboOther->addItem(QStringLiteral(u"f%1 まで").arg(n));
  grid->addWidget(ComboOther, 0, 4);
  btnAddArea = new QPushButton(QStringLiteral(u"追加"), group);
  grid->addWidget(btnAddArea, 0, 5);
  AreaList = new QListWidget(group);
  grid->addWidget(AreaList, 1, 0, 1, 6);
  btnDeleteArea = new QPushButton(QStringLiteral(u"削除"), group);
  grid->addWidget(btnDeleteArea, 2, 5);
  layout()->addWidget(group);
  const auto add = [this] { RunCommand(this, [this] { btnAddAreaClick(); }); };
  for (QLineEdit* edit : {EditFrom, EditTo})
    connect(edit, &QLineEdit::returnPressed, this, add);
  connect(btnAddArea, &QPushButton::clicked, this, add);
  connect(btnDeleteArea, &QPushButton::clicked, this, [this] { deleteChosen(AreaList, false); });
}

int TCalculusPage::chosenSlot() const {
  return ComboSlot->currentIndex() + 1;
}

void TCalculusPage::btnAddTangentClick() {
  addTangentAt(fieldDouble(EditTangentX));
}

void TCalculusPage::btnAddAreaClick() {
  const double from = fieldDouble(EditFrom);
  addArea(from, fieldDouble(EditTo));
}

// Beyond the most marks a graph keeps, the oldest goes.
void TCalculusPage::addTangentAt(double x) {
  GraphCalculus calculus = graph->Calculus();
  if (calculus.tangents.size() >= GraphCalculus::MaxTangents)
    calculus.tangents.erase(calculus.tangents.begin());
  calculus.tangents.push_back({chosenSlot(), x});
  graph->setCalculus(calculus);
  showMarks();
}

void TCalculusPage::addArea(double from, double to) {
  GraphCalculus calculus = graph->Calculus();
  if (calculus.areas.size() >= GraphCalculus::MaxAreas) calculus.areas.erase(calculus.areas.begin());
  calculus.areas.push_back({chosenSlot(), ComboOther->currentIndex(), from, to});
  graph->setCalculus(calculus);
  showMarks();
}

void TCalculusPage::deleteChosen(QListWidget* list, bool tangents) {
  const int row = list->currentRow();
  if (row < 0) return;
  GraphCalculus calculus = graph->Calculus();
  if (tangents && row < int(calculus.tangents.size()))
    calculus.tangents.erase(calculus.tangents.begin() + row);
  else if (!tangents && row < int(calculus.areas.size()))
    calculus.areas.erase(calculus.areas.begin() + row);
  graph->setCalculus(calculus);
  showMarks();
}

void TCalculusPage::showMarks() {
  const GraphCalculus& calculus = graph->Calculus();
  CheckDerivative->setChecked(calculus.derivatives[std::size_t(chosenSlot() - 1)]);
  const std::map<int, SampledFunction> functions = functionsOf(*graph);
  TangentList->clear();
  for (const GraphTangent& tangent : calculus.tangents)
    TangentList->addItem(tangentText(tangent, functions));
  AreaList->clear();
  for (const GraphArea& area : calculus.areas)
    AreaList->addItem(areaText(area, functions));
}

void TCalculusPage::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  graph->setSpanSelection(true);
  showMarks();
}

void TCalculusPage::hideEvent(QHideEvent* event) {
  graph->setSpanSelection(false);
  QWidget::hideEvent(event);
}
