#include "SetFuncDialog.h"

#include "ControlTag.h"
#include "Evalon.h"
#include "FormFont.h"
#include "FormulaCheck.h"
#include "FormulaHints.h"
#include "RelationCurve.h"
#include "FuncGraph.h"
#include "PenEditDialog.h"
#include "PenWidgets.h"

#include "NumberField.h"
#include "NumberFormat.h"

#include <QComboBox>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QScreen>
#include <QShowEvent>

namespace {

constexpr int LineHeight = 24;
constexpr int EditLeft = 88;
constexpr int EditWidth = 249;

// The kinds in the order of the selector's items.
constexpr std::array<CurveKind, 5> Kinds = {CurveKind::Function, CurveKind::Parametric,
                                            CurveKind::Polar, CurveKind::XOfY,
                                            CurveKind::Relation};

int kindIndex(CurveKind kind) {
  return int(std::find(Kinds.begin(), Kinds.end(), kind) - Kinds.begin());
}

QString rowCaption(int n, CurveKind kind) {
  switch (kind) {
  case CurveKind::Parametric: return QStringLiteral("f%1: x(t) =").arg(n);
  case CurveKind::Polar: return QStringLiteral("f%1: r(t) =").arg(n);
  case CurveKind::XOfY: return QStringLiteral("f%1: x(y) =").arg(n);
  case CurveKind::Relation: return QStringLiteral("f%1: 関係式").arg(n);
  case CurveKind::Function: break;
  }
  return QStringLiteral("f%1(x) =").arg(n);
}

// Formulas are typed in ASCII: no input method while the edit has the focus.
void formulaInput(QLineEdit* edit) {
  edit->setAttribute(Qt::WA_InputMethodEnabled, false);
  edit->setInputMethodHints(Qt::ImhLatinOnly);
}

} // namespace

TSetFuncDlg::TSetFuncDlg(TFuncGraph* graph, TPenEditDlg* penDialog, QWidget* parent)
    : QWidget(parent, Qt::Tool), graph(graph), penDialog(penDialog) {
  setWindowTitle(QStringLiteral("描画関数の設定"));
  setFont(formFont());
  Panel1 = new QFrame(this);
  Panel1->setFrameStyle(QFrame::Panel | QFrame::Raised);
  buildRow(1, Label1, Edit1, Image1);
  buildRow(2, Label2, Edit2, Image2);
  buildRow(3, Label3, Edit3, Image3);
  buildRow(4, Label4, Edit4, Image4);
  buildRow(5, Label5, Edit5, Image5);
  LabelMessage = new QLabel(Panel1);
  layOutRows();
  move(screen()->availableGeometry().center() - rect().center());
  // A formula may fail for a range or variables it did not fail for while being typed.
  connect(graph, &TFuncGraph::CurvesDrawn, this, [this] {
    if (isVisible()) checkAllRows();
  });
}

void TSetFuncDlg::buildRow(int n, QLabel*& label, QLineEdit*& edit, TPenSample*& image) {
  const int top = 24 * n;
  label = new QLabel(rowCaption(n, CurveKind::Function), Panel1);
  label->move(16, top + 8);
  label->adjustSize();

  edit = new QLineEdit(Panel1);
  edit->setGeometry(EditLeft, top, EditWidth, 20);
  setTag(edit, n);
  formulaInput(edit);
  edit->installEventFilter(this);
  connect(edit, &QLineEdit::textChanged, this, [this, edit] { Edit1Change(edit); });

  image = new TPenSample([this, n] { return &graph->FormulaPen(n); }, Panel1);
  image->setGeometry(EditLeft + EditWidth + 7, top, 49, 17);
  setTag(image, n);
  connect(image, &TPenSample::clicked, this, [this, image] { ImageClick(image); });
  buildExtras(n);
}

void TSetFuncDlg::buildExtras(int n) {
  RowExtras& row = extras[std::size_t(n - 1)];
  row.kind = new QComboBox(Panel1);
  row.kind->addItems({QStringLiteral("y = f(x)"), QStringLiteral("媒介変数"),
                      QStringLiteral("極座標"), QStringLiteral("x = f(y)"),
                      QStringLiteral("関係式")});
  row.kind->setToolTip(QStringLiteral("曲線の種類"));
  setTag(row.kind, n);
  connect(row.kind, &QComboBox::activated, this, [this, n](int index) { kindChosen(n, index); });

  row.labelY = new QLabel(QStringLiteral("y(t) ="), Panel1);
  row.editY = new QLineEdit(Panel1);
  setTag(row.editY, n);
  formulaInput(row.editY);
  row.editY->installEventFilter(this);
  connect(row.editY, &QLineEdit::textChanged, this, [this, n] {
    graph->setFormulaYText(n, EditY(n)->text());
    checkRow(formulaEdit(n));
  });

  row.labelT = new QLabel(QStringLiteral("t の範囲"), Panel1);
  row.labelTo = new QLabel(QStringLiteral("～"), Panel1);
  for (QLineEdit** field : {&row.editTMin, &row.editTMax}) {
    *field = new QLineEdit(Panel1);
    setTag(*field, n);
    (*field)->installEventFilter(this);
    connect(*field, &QLineEdit::textEdited, this, [this, n] { tRangeChanged(n); });
  }
}

QLineEdit* TSetFuncDlg::formulaEdit(int n) {
  return edits()[std::size_t(n - 1)];
}

// A y = f(x) row keeps its one line; a parametric row adds y(t) and the t range, a polar row
// the t range. The window is as tall as its rows and the message line below them.
void TSetFuncDlg::layOutRows() {
  int top = LineHeight;
  for (int n = 1; n <= 5; ++n) {
    const CurveKind kind = graph->Formula(n).Kind;
    RowExtras& row = extras[std::size_t(n - 1)];
    QLabel* label = labels()[std::size_t(n - 1)];
    label->setText(rowCaption(n, kind));
    label->adjustSize();
    label->move(16, top + 8);
    formulaEdit(n)->move(EditLeft, top);
    Image(n)->move(EditLeft + EditWidth + 7, top);
    row.kind->setGeometry(EditLeft + EditWidth + 63, top - 1, 92, 22);
    row.kind->setCurrentIndex(kindIndex(kind));
    top += LineHeight;
    const bool parametric = kind == CurveKind::Parametric;
    row.labelY->setVisible(parametric);
    row.editY->setVisible(parametric);
    if (parametric) {
      row.labelY->move(16 + label->width() - row.labelY->sizeHint().width(), top + 4);
      row.labelY->adjustSize();
      row.editY->setGeometry(EditLeft, top, EditWidth, 20);
      top += LineHeight;
    }
    const bool overT = runsOverT(kind);
    for (QWidget* w : {static_cast<QWidget*>(row.labelT), static_cast<QWidget*>(row.editTMin),
                       static_cast<QWidget*>(row.labelTo), static_cast<QWidget*>(row.editTMax)})
      w->setVisible(overT);
    if (overT) {
      row.labelT->move(16, top + 4);
      row.labelT->adjustSize();
      row.editTMin->setGeometry(EditLeft, top, 100, 20);
      row.labelTo->move(EditLeft + 103, top + 4);
      row.labelTo->adjustSize();
      row.editTMax->setGeometry(EditLeft + EditWidth - 132, top, 132, 20);
      top += LineHeight;
    }
  }
  LabelMessage->setGeometry(16, top + 2, EditLeft + EditWidth + 139, 16);
  setFixedSize(EditLeft + EditWidth + 171, top + 24);
  Panel1->setGeometry(rect());
}

TPenSample* TSetFuncDlg::Image(int n) const {
  return std::array<TPenSample*, 5>{Image1, Image2, Image3, Image4, Image5}[std::size_t(n - 1)];
}

void TSetFuncDlg::kindChosen(int n, int index) {
  if (index < 0 || index >= int(Kinds.size())) return;
  graph->setFormulaKind(n, Kinds[std::size_t(index)]);
  layOutRows();
  FollowGraph();
}

// A bound is a number or a formula (2*pi); the range is stored once both bounds are finite
// and in order, and the row tells what is wrong until then.
void TSetFuncDlg::tRangeChanged(int n) {
  const auto bound = [this](QLineEdit* field) -> std::optional<long double> {
    if (const std::optional<long double> number = localeTextToFloat(field->text())) return number;
    bool failed = true;
    const double value = graph->Evalon() ? graph->Evalon()->CalcValue(field->text(), failed) : 0.0;
    if (failed) return std::nullopt;
    return value;
  };
  const std::optional<long double> first = bound(EditTMin(n));
  const std::optional<long double> last = bound(EditTMax(n));
  const bool valid = first && last && graph->setFormulaTRange(n, *first, *last);
  QPalette colours = palette();
  if (!valid) colours.setColor(QPalette::Text, Qt::red);
  EditTMin(n)->setPalette(colours);
  EditTMax(n)->setPalette(colours);
  if (!valid)
    tellRow(n, QStringLiteral("t の範囲は 最小 < 最大 の数か式で指定してください"), false);
  else
    checkRow(formulaEdit(n));
}

// The first formula takes the focus, so that what the user types at once is not lost.
void TSetFuncDlg::FormShow() {
  FollowGraph();
  Edit1->setFocus();
}

// The same text given back to the graph changes nothing there.
void TSetFuncDlg::FollowGraph() {
  layOutRows();
  for (int n = 1; n <= 5; ++n) {
    const TFormula& slot = graph->Formula(n);
    formulaEdit(n)->setText(slot.Formula);
    EditY(n)->setText(slot.FormulaY);
    // A bound the user typed as a formula stays as typed while it gives the stored value.
    for (auto [field, value] : {std::pair{EditTMin(n), slot.TMin}, std::pair{EditTMax(n), slot.TMax}}) {
      field->setModified(false);
      refreshFieldNumber(field, value);
    }
  }
  checkAllRows();
  update();
}

void TSetFuncDlg::Edit1Change(QLineEdit* edit) {
  graph->setFormulaText(tagOf(edit), edit->text());
  checkRow(edit);
}

// Each formula of the row is checked over the range its kind runs over; the y(t) of a
// parametric row is told when x(t) has nothing to tell.
void TSetFuncDlg::checkRow(QLineEdit* edit) {
  const int n = tagOf(edit);
  const TFormula& slot = graph->Formula(n);
  if (slot.Kind == CurveKind::Relation) return checkRelation(n, edit);
  long double first = graph->XMin();
  long double last = graph->XMax();
  if (slot.Kind == CurveKind::XOfY) {
    first = graph->YMin();
    last = graph->YMax();
  } else if (runsOverT(slot.Kind)) {
    std::tie(first, last) = std::minmax(slot.TMin, slot.TMax);
  }
  const FormulaVerdict verdict = checkFormula(graph->Evalon(), edit->text(), first, last, slot.Kind);
  FormulaVerdict verdictY;
  if (slot.Kind == CurveKind::Parametric)
    verdictY = checkFormula(graph->Evalon(), EditY(n)->text(), first, last, slot.Kind);
  markFailed(edit, verdict.failed);
  markFailed(EditY(n), verdictY.failed);
  const bool toldX = verdict.failed || !verdict.hint.isEmpty();
  if (!toldX && slot.Kind == CurveKind::Parametric && slot.Used() &&
      (slot.Formula.isEmpty() || slot.FormulaY.isEmpty()))
    return tellRow(n, QStringLiteral("%1 を入力してください")
                          .arg(slot.Formula.isEmpty() ? QStringLiteral("x(t)") : QStringLiteral("y(t)")),
                   true);
  showVerdict(n, toldX ? verdict : verdictY);
}

// A relation needs its one sign; then each side is checked as a formula, and an equation that
// shows nothing in the view says so rather than leaving the graph silently blank.
void TSetFuncDlg::checkRelation(int n, QLineEdit* edit) {
  TFormula slot = graph->Formula(n);
  const std::optional<Relation> relation = slot.RelationOf();
  markFailed(EditY(n), false);
  if (slot.Formula.isEmpty()) {
    markFailed(edit, false);
    return clearRow(n);
  }
  if (!relation) {
    markFailed(edit, true);
    return tellRow(n, relationSignMissing(), false);
  }
  const QString hint = formulaHint(relation->left).isEmpty() ? formulaHint(relation->right)
                                                             : formulaHint(relation->left);
  QString reason;
  RelationCurve curve(slot, graph->Evalon());
  const RelationCurve::Showing showing = curve.showing(graph->Mapping());
  if (showing == RelationCurve::Showing::NoValue) reason = curve.reason();
  markFailed(edit, showing == RelationCurve::Showing::NoValue);
  if (!hint.isEmpty()) return tellRow(n, hint, true);
  if (showing == RelationCurve::Showing::NoValue) return tellRow(n, reason, false);
  if (showing == RelationCurve::Showing::Nothing)
    return tellRow(n, QStringLiteral("表示範囲に描ける点がありません（接するだけの解は描けません）"),
                   true);
  clearRow(n);
}

void TSetFuncDlg::markFailed(QLineEdit* edit, bool failed) {
  QPalette colours = palette();
  if (failed) colours.setColor(QPalette::Text, Qt::red);
  edit->setPalette(colours);
}

// The hint names the slip, which says more than the engine's message about its effect.
void TSetFuncDlg::showVerdict(int n, const FormulaVerdict& verdict) {
  if (verdict.failed || !verdict.hint.isEmpty())
    tellRow(n, verdict.hint.isEmpty() ? verdict.message : verdict.hint, !verdict.hint.isEmpty());
  else if (messageRow == n)
    clearRow(n);
}

// A hint is no failure, and the curve is drawn as written: it is told in a calmer colour.
void TSetFuncDlg::tellRow(int n, const QString& message, bool calm) {
  LabelMessage->setText(QStringLiteral("f%1: %2").arg(n).arg(message));
  QPalette line = palette();
  if (calm) line.setColor(QPalette::WindowText, Qt::darkBlue);
  LabelMessage->setPalette(line);
  messageRow = n;
}

void TSetFuncDlg::clearRow(int n) {
  if (messageRow != n) return;
  LabelMessage->clear();
  messageRow = 0;
}

void TSetFuncDlg::checkAllRows() {
  const auto rows = edits();
  for (auto edit = rows.rbegin(); edit != rows.rend(); ++edit)
    checkRow(*edit);
}

bool TSetFuncDlg::EditKeyPress(int key) {
  return key == Qt::Key_Return || key == Qt::Key_Enter;
}

void TSetFuncDlg::ImageClick(TPenSample* image) {
  TPen& pen = graph->FormulaPen(tagOf(image));
  const TPen before = pen;
  penDialog->EditPen(pen);
  // The pen is edited in place, past the graph's own setters.
  if (pen != before) graph->CurvesChanged();
  update();
}

void TSetFuncDlg::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  // A window restored from the minimised state keeps what the user typed.
  if (!event->spontaneous()) FormShow();
}

bool TSetFuncDlg::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress && qobject_cast<QLineEdit*>(watched))
    return EditKeyPress(static_cast<QKeyEvent*>(event)->key());
  return QWidget::eventFilter(watched, event);
}
