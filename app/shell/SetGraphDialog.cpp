#include "SetGraphDialog.h"

#include "ColorChoice.h"
#include "ControlTag.h"
#include "ErrorBox.h"
#include "FontChoice.h"
#include "FormFont.h"
#include "FuncGraph.h"
#include "NumberField.h"
#include "PenWidgets.h"
#include "Pictures.h"
#include "RadioGroup.h"
#include "SpinEdit.h"

#include <QCheckBox>
#include <QFrame>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QToolButton>

#include <vector>

namespace {

// The tags of the first page's controls.
enum GraphTag {
  TagXMin = 0,
  TagXMax = 1,
  TagYMin = 2,
  TagYMax = 3,
  TagMarginLeft = 4,
  TagMarginRight = 5,
  TagMarginTop = 6,
  TagMarginBottom = 7,
};

// An axis page's tags are its base plus these.
enum AxisTag {
  TagGrad = 0,
  TagValPos = 1,
  TagPeriod = 2,
  TagValXDist = 3,
  TagValYDist = 4,
  TagFont = 5,
  TagVisible = 6,
  TagAutoPeriod = 7,
  TagGrid = 8,
  TagPi = 9,
};
constexpr int TagXAxisBase = 10;
constexpr int TagYAxisBase = 20;

QLabel* caption(const QString& text, int left, int top, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  label->move(left, top);
  label->adjustSize();
  return label;
}

bool isEnter(int key) {
  return key == Qt::Key_Return || key == Qt::Key_Enter;
}

} // namespace

// The controls of an axis page, as the members that name them on the X or the Y page.
struct TSetGraphDlg::AxisPage {
  QCheckBox*& visible;
  QCheckBox*& grid;
  QCheckBox*& pi;
  TRadioGroup*& grad;
  TRadioGroup*& valPos;
  QLabel*& periodCaption;
  QLineEdit*& period;
  QPushButton*& autoPeriod;
  QLabel*& xDistCaption;
  TSpinEdit*& xDist;
  QLabel*& yDistCaption;
  TSpinEdit*& yDist;
  QLabel*& fontCaption;
  QToolButton*& font;
};

TSetGraphDlg::TSetGraphDlg(TFuncGraph* graph, QWidget* parent)
    : QWidget(parent, Qt::Tool), graph(graph) {
  setWindowTitle(QStringLiteral("グラフの設定"));
  setFont(formFont());
  // One row taller than the original window, for the background colour below the margins.
  setFixedSize(237, 331);
  move(screen()->availableGeometry().center() - rect().center());
  Panel1 = new QFrame(this);
  Panel1->setFrameStyle(QFrame::Panel | QFrame::Raised);
  Panel1->setGeometry(rect());
  PageControl1 = new QTabWidget(Panel1);
  PageControl1->setGeometry(Panel1->contentsRect());
  TabSheet1 = new QWidget;
  TabSheet2 = new QWidget;
  TabSheet3 = new QWidget;
  PageControl1->addTab(TabSheet1, QStringLiteral("グラフ概観"));
  PageControl1->addTab(TabSheet2, QStringLiteral("Ｘ軸"));
  PageControl1->addTab(TabSheet3, QStringLiteral("Ｙ軸"));
  buildGraphPage();

  buildAxisPage(TabSheet2,
                {QStringLiteral("なし"), QStringLiteral("上側"), QStringLiteral("下側"),
                 QStringLiteral("両側")},
                121, TagXAxisBase, xAxisPage());
  // On the y axis gtPos puts the ticks on the right and gtNeg on the left.
  buildAxisPage(TabSheet3,
                {QStringLiteral("なし"), QStringLiteral("右側"), QStringLiteral("左側"),
                 QStringLiteral("両側")},
                113, TagYAxisBase, yAxisPage());
  connect(graph, &TFuncGraph::RangeChanged, this, &TSetGraphDlg::GraphRangeChange);
}

TSetGraphDlg::AxisPage TSetGraphDlg::xAxisPage() {
  return {CheckXVisible, CheckXGrid, CheckXPi, RadioXGrad, RadioXValPos, Label11, EditXPeriod,
          btnXAutoPeriod, Label12, SpinXXDist, Label13, SpinXYDist, Label17, btnXFont};
}

TSetGraphDlg::AxisPage TSetGraphDlg::yAxisPage() {
  return {CheckYVisible, CheckYGrid, CheckYPi, RadioYGrad, RadioYValPos, Label14, EditYPeriod,
          btnYAutoPeriod, Label15, SpinYXDist, Label16, SpinYYDist, Label18, btnYFont};
}

void TSetGraphDlg::buildGraphPage() {
  TabSheet1->setFont(pixelFont(QStringLiteral("ＭＳ ゴシック"), 13));
  buildRangeGroup();
  buildMarginGroup();
  buildBackColorRow();
}

void TSetGraphDlg::buildRangeGroup() {
  GroupBox1 = new QGroupBox(QStringLiteral(" グラフの範囲 "), TabSheet1);
  GroupBox1->setGeometry(16, 16, 201, 113);
  Label1 = caption(QStringLiteral("最小値"), 40, 24, GroupBox1);
  Label2 = caption(QStringLiteral("最大値"), 128, 24, GroupBox1);
  LabelXAxis = caption(QStringLiteral("Ｘ軸"), 8, 48, GroupBox1);
  Label5 = caption(QStringLiteral("～"), 104, 48, GroupBox1);
  LabelYAxis = caption(QStringLiteral("Ｙ軸"), 8, 80, GroupBox1);
  LabelYAxis->setCursor(Qt::PointingHandCursor);
  LabelYAxis->installEventFilter(this);
  Label6 = caption(QStringLiteral("～"), 104, 80, GroupBox1);
  EditXMin = numberEdit(GroupBox1, {40, 40, 57, 21}, TagXMin);
  EditXMax = numberEdit(GroupBox1, {128, 40, 57, 21}, TagXMax);
  EditYMin = numberEdit(GroupBox1, {40, 72, 57, 21}, TagYMin);
  EditYMax = numberEdit(GroupBox1, {128, 72, 57, 21}, TagYMax);
}

// Margins are whole pixels from 1 to 100, changed by the arrows only.
void TSetGraphDlg::buildMarginGroup() {
  GroupBox2 = new QGroupBox(QStringLiteral(" マージン "), TabSheet1);
  GroupBox2->setGeometry(16, 144, 201, 105);
  Label9 = caption(QStringLiteral("上"), 64, 24, GroupBox2);
  Label7 = caption(QStringLiteral("左"), 8, 48, GroupBox2);
  Label8 = caption(QStringLiteral("右"), 120, 48, GroupBox2);
  Label10 = caption(QStringLiteral("下"), 64, 72, GroupBox2);
  SpinMTop = spinBox(GroupBox2, {80, 19, 49, 22}, TagMarginTop);
  SpinMLeft = spinBox(GroupBox2, {24, 43, 49, 22}, TagMarginLeft);
  SpinMRight = spinBox(GroupBox2, {136, 43, 49, 22}, TagMarginRight);
  SpinMBottom = spinBox(GroupBox2, {80, 67, 49, 22}, TagMarginBottom);
  for (TSpinEdit* box : {SpinMTop, SpinMLeft, SpinMRight, SpinMBottom}) {
    box->setRange(1, 100);
    box->setEditorEnabled(false);
  }
}

// Laid out like the pen dialog's colour row: caption, colour field, button.
void TSetGraphDlg::buildBackColorRow() {
  LabelBackColor = caption(QStringLiteral("背景色"), 24, 265, TabSheet1);
  ShapeBackColor = new TColorShape(TabSheet1);
  ShapeBackColor->setGeometry(80, 257, 41, 25);
  btnBackColor = new QToolButton(TabSheet1);
  btnBackColor->setGeometry(136, 257, 25, 25);
  btnBackColor->setAutoRaise(true);
  btnBackColor->setIcon(shellIcon(ShellPicture::Color));
  btnBackColor->setIconSize(QSize(21, 21));
  connect(btnBackColor, &QToolButton::clicked, this, &TSetGraphDlg::btnBackColorClick);
}

void TSetGraphDlg::buildAxisPage(QWidget* page, const QStringList& gradItems, int valPosHeight,
                                 int tagBase, const AxisPage& controls) {
  controls.grad = new TRadioGroup(QStringLiteral(" 軸目盛 "), gradItems, page);
  controls.grad->setGeometry(24, 16, 73, 97);
  controls.valPos =
      new TRadioGroup(QStringLiteral(" 軸数値 "),
                      {QStringLiteral("なし"), QStringLiteral("左上"), QStringLiteral("左下"),
                       QStringLiteral("右上"), QStringLiteral("右下")},
                      page);
  controls.valPos->setGeometry(24, 128, 73, valPosHeight);
  for (TRadioGroup* group : {controls.grad, controls.valPos}) {
    setTag(group, tagBase + (group == controls.grad ? TagGrad : TagValPos));
    connect(group, &TRadioGroup::clicked, this, [this, group] { RadioClick(group); });
  }
  buildPeriodControls(page, tagBase, controls);
  controls.xDistCaption = caption(QStringLiteral("Ｘ軸方向微調整"), 112, 128, page);
  controls.xDist = spinBox(page, {112, 144, 49, 21}, tagBase + TagValXDist);
  controls.yDistCaption = caption(QStringLiteral("Ｙ軸方向微調整"), 112, 176, page);
  controls.yDist = spinBox(page, {112, 192, 49, 21}, tagBase + TagValYDist);
  controls.fontCaption = caption(QStringLiteral("フォント設定"), 112, 232, page);
  controls.font = new QToolButton(page);
  controls.font->setGeometry(184, 224, 25, 25);
  controls.font->setAutoRaise(true);
  controls.font->setIcon(shellIcon(ShellPicture::Font));
  controls.font->setIconSize(QSize(21, 21));
  setTag(controls.font, tagBase + TagFont);
  QToolButton* button = controls.font;
  connect(button, &QToolButton::clicked, this, [this, button] { btnFontClick(button); });
}

// The tick interval with its 自動 button, and the 表示 box in the free row below them.
void TSetGraphDlg::buildPeriodControls(QWidget* page, int tagBase, const AxisPage& controls) {
  controls.periodCaption = caption(QStringLiteral("目盛間隔"), 112, 24, page);
  controls.period = numberEdit(page, {112, 40, 57, 20}, tagBase + TagPeriod);
  controls.autoPeriod = new QPushButton(QStringLiteral("自動"), page);
  controls.autoPeriod->setGeometry(172, 39, 41, 22);
  setTag(controls.autoPeriod, tagBase + TagAutoPeriod);
  QPushButton* autoPeriod = controls.autoPeriod;
  connect(autoPeriod, &QPushButton::clicked, this,
          [this, autoPeriod] { btnAutoPeriodClick(autoPeriod); });
  controls.visible = new QCheckBox(QStringLiteral("表示"), page);
  controls.visible->move(112, 80);
  controls.visible->adjustSize();
  setTag(controls.visible, tagBase + TagVisible);
  QCheckBox* visible = controls.visible;
  // Only the user's click acts; loading the box does not write the flag.
  connect(visible, &QCheckBox::clicked, this, [this, visible] { CheckVisibleClick(visible); });
  // π単位 belongs with the interval it gives a unit, グリッド with the axis it draws across.
  controls.pi = flagBox(page, QStringLiteral(u"π単位"), {112, 61}, tagBase + TagPi);
  controls.grid = flagBox(page, QStringLiteral(u"グリッド"), {112, 100}, tagBase + TagGrid);
}

QCheckBox* TSetGraphDlg::flagBox(QWidget* page, const QString& text, QPoint at, int tag) {
  auto* box = new QCheckBox(text, page);
  box->move(at);
  box->adjustSize();
  setTag(box, tag);
  connect(box, &QCheckBox::clicked, this, [this, box] { CheckFlagClick(box); });
  return box;
}

// The range and tick-interval edits take numbers typed in ASCII: no input method while one has
// the focus.
QLineEdit* TSetGraphDlg::numberEdit(QWidget* parent, const QRect& geometry, int tag) {
  auto* edit = new QLineEdit(parent);
  edit->setGeometry(geometry);
  edit->setAttribute(Qt::WA_InputMethodEnabled, false);
  edit->setInputMethodHints(Qt::ImhLatinOnly);
  setTag(edit, tag);
  edit->installEventFilter(this);
  return edit;
}

TSpinEdit* TSetGraphDlg::spinBox(QWidget* parent, const QRect& geometry, int tag) {
  auto* box = new TSpinEdit(parent);
  box->setGeometry(geometry);
  setTag(box, tag);
  connect(box, &TSpinEdit::changed, this, [this, box] { SpinMChange(box); });
  return box;
}

void TSetGraphDlg::FormShow() {
  showFieldNumber(EditXMin, graph->XMin());
  showFieldNumber(EditXMax, graph->XMax());
  showFieldNumber(EditYMin, graph->YMin());
  showFieldNumber(EditYMax, graph->YMax());
  // A margin outside 1..100 shows clamped, and the box's change handler writes it back.
  SpinMLeft->setValue(graph->MarginLeft());
  SpinMRight->setValue(graph->MarginRight());
  SpinMTop->setValue(graph->MarginTop());
  SpinMBottom->setValue(graph->MarginBottom());
  loadAxis(graph->XAxis(), xAxisPage());
  loadAxis(graph->YAxis(), yAxisPage());
  ShapeBackColor->setColor(graph->BackBrush().Color);
}

void TSetGraphDlg::FollowGraph() {
  std::vector<QSignalBlocker> quiet;
  for (QObject* control : findChildren<QObject*>())
    quiet.emplace_back(control);
  FormShow();
}

// Each control's change handler writes back only the value just loaded into it.
void TSetGraphDlg::loadAxis(const TAxis& axis, const AxisPage& controls) {
  controls.visible->setChecked(axis.Visible);
  controls.grid->setChecked(axis.Grid);
  controls.pi->setChecked(axis.PiTicks);
  controls.grad->setItemIndex(axis.GauageType);
  controls.valPos->setItemIndex(axis.ValPos);
  showFieldNumber(controls.period, axis.GuagePeriod);
  controls.xDist->setValue(axis.ValXDist);
  controls.yDist->setValue(axis.ValYDist);
}

bool TSetGraphDlg::EditKeyPress(QLineEdit* edit, int key) {
  if (!isEnter(key)) return false;
  const long double value = fieldNumber(edit);
  switch (const int tag = tagOf(edit)) {
  case TagXMin:
    graph->setXMin(value);
    break;
  case TagXMax:
    graph->setXMax(value);
    break;
  case TagYMin:
    graph->setYMin(value);
    break;
  case TagYMax:
    graph->setYMax(value);
    break;
  default:
    graph->setTickPeriod(axisOfTag(tag), value);
  }
  // Applied: from now on the edit shows what the graph takes by other paths.
  edit->setModified(false);
  showAxisFlags();
  return true;
}

void TSetGraphDlg::SpinMChange(TSpinEdit* box) {
  const int value = box->value();
  switch (const int tag = tagOf(box)) {
  case TagMarginLeft:
    graph->setMarginLeft(value);
    break;
  case TagMarginRight:
    graph->setMarginRight(value);
    break;
  case TagMarginTop:
    graph->setMarginTop(value);
    break;
  case TagMarginBottom:
    graph->setMarginBottom(value);
    break;
  default:
    if (tag % 10 == TagValXDist)
      axisOfTag(tag).ValXDist = value;
    else
      axisOfTag(tag).ValYDist = value;
    graph->UpdateGraph();
  }
  showAxisFlags();
}

void TSetGraphDlg::RadioClick(TRadioGroup* group) {
  const int tag = tagOf(group);
  const int index = group->ItemIndex();
  if (tag % 10 == TagGrad)
    axisOfTag(tag).GauageType = static_cast<TGuageType>(index);
  else
    axisOfTag(tag).ValPos = static_cast<TPosType>(index);
  graph->UpdateGraph();
}

void TSetGraphDlg::btnFontClick(QToolButton* button) {
  TAxis& axis = axisOfTag(tagOf(button));
  const std::optional<TFont> chosen = chooseFont(axis.ValFont, this);
  if (!chosen) return;
  axis.ValFont = *chosen;
  graph->UpdateGraph();
}

void TSetGraphDlg::LabelYAxisClick() {
  QMessageBox question(QMessageBox::Question, QStringLiteral("確認"),
                       QStringLiteral("Ｙ軸範囲を自動設定しますか？"), QMessageBox::NoButton, this);
  QPushButton* yes = question.addButton(QStringLiteral("はい(&Y)"), QMessageBox::YesRole);
  question.addButton(QStringLiteral("ｷｬﾝｾﾙ"), QMessageBox::RejectRole);
  question.setDefaultButton(yes);
  question.exec();
  if (question.clickedButton() != yes) return;
  graph->FitYRange();
  showFieldNumber(EditYMin, graph->YMin());
  showFieldNumber(EditYMax, graph->YMax());
  graph->UpdateGraph();
}

void TSetGraphDlg::CheckVisibleClick(QCheckBox* box) {
  axisOfTag(tagOf(box)).Visible = box->isChecked();
  graph->UpdateGraph();
  showAxisFlags();
}

void TSetGraphDlg::CheckFlagClick(QCheckBox* box) {
  const int tag = tagOf(box);
  TAxis& axis = axisOfTag(tag);
  (tag % 10 == TagGrid ? axis.Grid : axis.PiTicks) = box->isChecked();
  graph->UpdateGraph();
}

void TSetGraphDlg::showAxisFlags() {
  CheckXVisible->setChecked(graph->XAxis().Visible);
  CheckYVisible->setChecked(graph->YAxis().Visible);
}

// The brush keeps its style; only its colour is chosen.
void TSetGraphDlg::btnBackColorClick() {
  const std::optional<GraphColor> chosen = chooseColor(graph->BackBrush().Color, this);
  if (!chosen) return;
  TBrush brush = graph->BackBrush();
  brush.Color = *chosen;
  graph->setBackBrush(brush);
  ShapeBackColor->setColor(brush.Color);
}

void TSetGraphDlg::btnAutoPeriodClick(QPushButton* button) {
  const int tag = tagOf(button);
  TAxis& axis = axisOfTag(tag);
  graph->FitTickPeriod(axis);
  QLineEdit* period = tag < TagYAxisBase ? EditXPeriod : EditYPeriod;
  showFieldNumber(period, axis.GuagePeriod);
  showAxisFlags();
}

// A zoom may also have respaced the ticks, and a refresh may have hidden an axis.
void TSetGraphDlg::GraphRangeChange() {
  if (!isVisible()) return;
  refreshFieldNumber(EditXMin, graph->XMin());
  refreshFieldNumber(EditXMax, graph->XMax());
  refreshFieldNumber(EditYMin, graph->YMin());
  refreshFieldNumber(EditYMax, graph->YMax());
  refreshFieldNumber(EditXPeriod, graph->XAxis().GuagePeriod);
  refreshFieldNumber(EditYPeriod, graph->YAxis().GuagePeriod);
  showAxisFlags();
}

void TSetGraphDlg::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  // A window restored from the minimised state keeps what the user typed.
  if (!event->spontaneous()) FormShow();
}

bool TSetGraphDlg::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress) {
    if (auto* edit = qobject_cast<QLineEdit*>(watched)) {
      // Enter is consumed also when its number cannot be read.
      bool consumed = true;
      RunCommand(this,
                 [&] { consumed = EditKeyPress(edit, static_cast<QKeyEvent*>(event)->key()); });
      return consumed;
    }
  } else if (watched == LabelYAxis && event->type() == QEvent::MouseButtonRelease) {
    // The caption has the pointer from the press on; a release away from it is no click.
    const auto* release = static_cast<QMouseEvent*>(event);
    if (release->button() == Qt::LeftButton &&
        LabelYAxis->rect().contains(release->position().toPoint()))
      LabelYAxisClick();
    return true;
  }
  return QWidget::eventFilter(watched, event);
}

TAxis& TSetGraphDlg::axisOfTag(int tag) {
  return tag < TagYAxisBase ? graph->XAxis() : graph->YAxis();
}
