#include "ParameterWindow.h"

#include "ErrorBox.h"
#include "FormFont.h"
#include "FuncGraph.h"
#include "NumberField.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHideEvent>
#include <QLabel>
#include <QLineEdit>
#include <QScrollArea>
#include <QShowEvent>
#include <QSlider>
#include <QToolButton>
#include <QVBoxLayout>

#include <cmath>
#include <iterator>

namespace {

// About 40 frames a second; a redraw that takes longer simply drops the frames it covers.
constexpr int FrameMilliseconds = 25;
const QString PlayText = QStringLiteral(u"▶");
const QString StopText = QStringLiteral(u"■");

QLineEdit* numberField(QWidget* parent, int width) {
  auto* edit = new QLineEdit(parent);
  edit->setFixedWidth(width);
  edit->setAttribute(Qt::WA_InputMethodEnabled, false);
  return edit;
}

} // namespace

TParameterWindow::TParameterWindow(TFuncGraph* graph, QWidget* parent)
    : QWidget(parent, Qt::Tool), graph(graph) {
  setWindowTitle(QStringLiteral(u"パラメータ"));
  setFont(formFont());
  resize(520, 220);
  auto* layout = new QVBoxLayout(this);
  LabelEmpty = new QLabel(QStringLiteral(u"数式にパラメータがありません"), this);
  layout->addWidget(LabelEmpty);
  scroll = new QScrollArea(this);
  scroll->setWidgetResizable(true);
  scroll->setFrameStyle(QFrame::NoFrame);
  layout->addWidget(scroll, 1);
  auto* speedLine = new QHBoxLayout;
  speedLine->addStretch();
  speedLine->addWidget(new QLabel(QStringLiteral(u"再生の速さ (1往復):"), this));
  ComboSpeed = new QComboBox(this);
  for (const double seconds : SweepSeconds)
    ComboSpeed->addItem(QStringLiteral(u"%1 秒").arg(seconds));
  ComboSpeed->setCurrentIndex(DefaultSpeed);
  speedLine->addWidget(ComboSpeed);
  layout->addLayout(speedLine);
  connect(ComboSpeed, &QComboBox::currentIndexChanged, this, [this] { SpeedChange(); });
  playTimer.setInterval(FrameMilliseconds);
  connect(&playTimer, &QTimer::timeout, this, [this] { PlayStep(); });
  connect(graph, &TFuncGraph::ParametersChanged, this, [this] { ParametersChange(); });
  buildRows();
}

// The old sheet may have a handler of its own on the stack (a redraw lets messages run), so it
// goes once control is back in the event loop.
void TParameterWindow::buildRows() {
  if (sheet) {
    sheet->hide();
    sheet->deleteLater();
    scroll->takeWidget();
  }
  rows.clear();
  sheet = new QWidget;
  auto* grid = new QGridLayout(sheet);
  grid->setAlignment(Qt::AlignTop);
  const int count = graph->Parameters().count();
  if (count > 0) {
    int column = 2;
    for (const QString& caption :
         {QStringLiteral(u"値"), QStringLiteral(u"最小"), QStringLiteral(u"最大")})
      grid->addWidget(new QLabel(caption, sheet), 0, column++);
  }
  for (int index = 0; index < count; ++index) {
    rows.push_back(buildRow(sheet, grid, index));
    showRow(index);
  }
  grid->setColumnStretch(1, 1);
  scroll->setWidget(sheet);
  LabelEmpty->setVisible(count == 0);
}

TParameterWindow::Row TParameterWindow::buildRow(QWidget* parent, QGridLayout* grid, int index) {
  Row row;
  row.name = new QLabel(graph->Parameters().at(index).name, parent);
  row.name->setTextFormat(Qt::PlainText);
  row.slider = new QSlider(Qt::Horizontal, parent);
  row.slider->setRange(0, SliderSteps);
  row.slider->setPageStep(SliderSteps / 10);
  row.slider->setMinimumWidth(120);
  row.value = numberField(parent, 100);
  row.min = numberField(parent, 64);
  row.max = numberField(parent, 64);
  row.play = new QToolButton(parent);
  row.play->setText(PlayText);
  // One width for both signs, so that the row does not shift when play starts.
  row.play->setFixedWidth(row.play->sizeHint().height() + 4);
  row.play->setToolTip(QStringLiteral(u"再生"));
  const int line = index + 1;
  int column = 0;
  for (QWidget* widget : {static_cast<QWidget*>(row.name), static_cast<QWidget*>(row.slider),
                          static_cast<QWidget*>(row.value), static_cast<QWidget*>(row.min),
                          static_cast<QWidget*>(row.max), static_cast<QWidget*>(row.play)})
    grid->addWidget(widget, line, column++);
  connect(row.slider, &QSlider::valueChanged, this,
          [this, index](int position) { SliderChange(index, position); });
  const auto onEnter = [this](QLineEdit* edit, auto handler) {
    connect(edit, &QLineEdit::returnPressed, this, [this, handler] { RunCommand(this, handler); });
  };
  onEnter(row.value, [this, index] { ValueEnter(index); });
  for (QLineEdit* end : {row.min, row.max})
    onEnter(end, [this, index, end] { RangeEnter(index, end); });
  connect(row.play, &QToolButton::clicked, this, [this, index] { PlayClick(index); });
  return row;
}

bool TParameterWindow::isCurrent(int index) const {
  return index >= 0 && index < static_cast<int>(rows.size()) && index < graph->Parameters().count();
}

void TParameterWindow::showRow(int index) {
  if (!isCurrent(index)) return;
  const GraphParameter& parameter = graph->Parameters().at(index);
  const Row& row = rows[static_cast<std::size_t>(index)];
  {
    const QSignalBlocker quiet(row.slider);
    row.slider->setValue(static_cast<int>(std::lround(
        (parameter.value - parameter.min) / (parameter.max - parameter.min) * SliderSteps)));
  }
  refreshFieldNumber(row.value, parameter.value);
  refreshFieldNumber(row.min, parameter.min);
  refreshFieldNumber(row.max, parameter.max);
  row.play->setText(index == playing ? StopText : PlayText);
}

void TParameterWindow::SliderChange(int index, int position) {
  if (!isCurrent(index)) return;
  const GraphParameter& parameter = graph->Parameters().at(index);
  const double step = (parameter.max - parameter.min) / SliderSteps;
  // The last step lands on max itself, not on a sum a rounding away from it.
  const double value = position == SliderSteps ? parameter.max : parameter.min + step * position;
  graph->setParameterValue(index, value);
  showRow(index);
}

void TParameterWindow::ValueEnter(int index) {
  if (!isCurrent(index)) return;
  Row& row = rows[static_cast<std::size_t>(index)];
  const double value = fieldDouble(row.value);
  row.value->setModified(false);
  graph->setParameterValue(index, value);
  showRow(index);
}

// A range the wrong way round is refused in the field the user just applied.
void TParameterWindow::RangeEnter(int index, QLineEdit* entered) {
  if (!isCurrent(index)) return;
  Row& row = rows[static_cast<std::size_t>(index)];
  const double min = fieldDouble(row.min);
  const double max = fieldDouble(row.max);
  if (!(min < max)) refuseField(entered, QStringLiteral(u"最小値は最大値より小さくしてください"));
  row.min->setModified(false);
  row.max->setModified(false);
  graph->setParameterRange(index, min, max);
  // A sweep under way follows the new range.
  if (index == playing) startPlay(index);
  showRow(index);
}

void TParameterWindow::PlayClick(int index) {
  if (index == playing)
    StopPlay();
  else
    startPlay(index);
}

void TParameterWindow::startPlay(int index) {
  StopPlay();
  if (!isCurrent(index)) return;
  const GraphParameter& parameter = graph->Parameters().at(index);
  sweep.emplace(parameter.min, parameter.max, parameter.value,
                SweepSeconds[ComboSpeed->currentIndex()]);
  playing = index;
  playingName = parameter.name;
  playClock.start();
  playTimer.start();
  showRow(index);
}

void TParameterWindow::StopPlay() {
  const int was = playing;
  playTimer.stop();
  sweep.reset();
  playing = -1;
  playingName.clear();
  showRow(was);
}

// A redraw lets messages run, so a tick may come while the last one still draws: it is dropped.
void TParameterWindow::PlayStep() {
  if (stepping || !sweep || !isCurrent(playing)) return;
  stepping = true;
  const int index = playing;
  graph->setParameterValue(index, sweep->valueAt(playClock.nsecsElapsed() / 1e9));
  showRow(index);
  stepping = false;
}

void TParameterWindow::SpeedChange() {
  if (sweep)
    sweep->setPeriod(SweepSeconds[ComboSpeed->currentIndex()], playClock.nsecsElapsed() / 1e9);
}

// A sweep goes on in its parameter's new row while the graph keeps it; a new or opened graph
// clears the rows and so ends it.
void TParameterWindow::ParametersChange() {
  const int row = playing < 0 ? -1 : graph->Parameters().indexOf(playingName);
  if (row < 0) StopPlay();
  playing = row;
  buildRows();
}

void TParameterWindow::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (!event->spontaneous()) buildRows();
}

void TParameterWindow::hideEvent(QHideEvent* event) {
  StopPlay();
  QWidget::hideEvent(event);
}
