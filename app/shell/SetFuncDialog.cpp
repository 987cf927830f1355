#include "SetFuncDialog.h"

#include "ControlTag.h"
#include "FormFont.h"
#include "FormulaCheck.h"
#include "FuncGraph.h"
#include "PenEditDialog.h"
#include "PenWidgets.h"

#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QScreen>
#include <QShowEvent>

TSetFuncDlg::TSetFuncDlg(TFuncGraph* graph, TPenEditDlg* penDialog, QWidget* parent)
    : QWidget(parent, Qt::Tool), graph(graph), penDialog(penDialog) {
  setWindowTitle(QStringLiteral("描画関数の設定"));
  setFont(formFont());
  // The five rows and one line of messages below them.
  setFixedSize(380, 168);
  move(screen()->availableGeometry().center() - rect().center());
  Panel1 = new QFrame(this);
  Panel1->setFrameStyle(QFrame::Panel | QFrame::Raised);
  Panel1->setGeometry(rect());
  buildRow(1, Label1, Edit1, Image1);
  buildRow(2, Label2, Edit2, Image2);
  buildRow(3, Label3, Edit3, Image3);
  buildRow(4, Label4, Edit4, Image4);
  buildRow(5, Label5, Edit5, Image5);
  LabelMessage = new QLabel(Panel1);
  LabelMessage->setGeometry(16, 146, 348, 16);
  // A formula may fail for a range or variables it did not fail for while being typed.
  connect(graph, &TFuncGraph::CurvesDrawn, this, [this] {
    if (isVisible()) checkAllRows();
  });
}

void TSetFuncDlg::buildRow(int n, QLabel*& label, QLineEdit*& edit, TPenSample*& image) {
  const int top = 24 * n;
  label = new QLabel(QStringLiteral("f%1(x) =").arg(n), Panel1);
  label->move(16, top + 8);
  label->adjustSize();

  edit = new QLineEdit(Panel1);
  edit->setGeometry(56, top, 249, 20);
  setTag(edit, n);
  // Formulas are typed in ASCII: no input method while the edit has the focus.
  edit->setAttribute(Qt::WA_InputMethodEnabled, false);
  edit->setInputMethodHints(Qt::ImhLatinOnly);
  edit->installEventFilter(this);
  connect(edit, &QLineEdit::textChanged, this, [this, edit] { Edit1Change(edit); });

  image = new TPenSample([this, n] { return &graph->FormulaPen(n); }, Panel1);
  image->setGeometry(312, top, 49, 17);
  setTag(image, n);
  connect(image, &TPenSample::clicked, this, [this, image] { ImageClick(image); });
}

// The first formula takes the focus, so that what the user types at once is not lost.
void TSetFuncDlg::FormShow() {
  FollowGraph();
  Edit1->setFocus();
}

// The same text given back to the graph changes nothing there.
void TSetFuncDlg::FollowGraph() {
  int n = 1;
  for (QLineEdit* edit : edits())
    edit->setText(graph->FormulaText(n++));
  checkAllRows();
  update();
}

void TSetFuncDlg::Edit1Change(QLineEdit* edit) {
  graph->setFormulaText(tagOf(edit), edit->text());
  checkRow(edit);
}

void TSetFuncDlg::checkRow(QLineEdit* edit) {
  const int n = tagOf(edit);
  const FormulaVerdict verdict =
      checkFormula(graph->Evalon(), edit->text(), graph->XMin(), graph->XMax());
  QPalette colours = palette();
  if (verdict.failed) colours.setColor(QPalette::Text, Qt::red);
  edit->setPalette(colours);
  // The hint names the slip, which says more than the engine's message about its effect.
  if (verdict.failed || !verdict.hint.isEmpty()) {
    const QString& message = verdict.hint.isEmpty() ? verdict.message : verdict.hint;
    LabelMessage->setText(QStringLiteral("f%1: %2").arg(n).arg(message));
    // A hint is no failure, and the curve is drawn as written: it is told in a calmer colour.
    QPalette line = palette();
    if (!verdict.hint.isEmpty()) line.setColor(QPalette::WindowText, Qt::darkBlue);
    LabelMessage->setPalette(line);
    messageRow = n;
  } else if (messageRow == n) {
    LabelMessage->clear();
    messageRow = 0;
  }
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
