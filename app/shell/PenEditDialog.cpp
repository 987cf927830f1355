#include "PenEditDialog.h"

#include "FormFont.h"
#include "PenWidgets.h"
#include "Pictures.h"
#include "QtObjects.h"
#include "SpinEdit.h"

#include <QColorDialog>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QToolButton>

namespace {

QLabel* caption(const QString& text, int left, int top, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  label->move(left, top);
  label->adjustSize();
  return label;
}

} // namespace

TPenEditDlg::TPenEditDlg(QWidget* parent) : QDialog(parent) {
  setWindowTitle(QStringLiteral("ペン設定"));
  setFont(formFont());
  setFixedSize(254, 146);
  // Placed by hand, the dialog is not put over its parent window when it shows.
  move(screen()->availableGeometry().center() - rect().center());
  buildColorPanel();
  buildButtonPanel();
}

void TPenEditDlg::buildColorPanel() {
  Panel1 = new QFrame(this);
  Panel1->setFrameStyle(QFrame::Panel | QFrame::Raised);
  Panel1->setGeometry(0, 0, 150, 146);
  Label1 = caption(QStringLiteral("色"), 16, 32, Panel1);
  ShapeColor = new TColorShape(Panel1);
  ShapeColor->setGeometry(48, 24, 41, 25);
  btnColor = new QToolButton(Panel1);
  btnColor->setGeometry(104, 24, 25, 25);
  btnColor->setAutoRaise(true);
  btnColor->setIcon(shellIcon(ShellPicture::Color));
  btnColor->setIconSize(QSize(21, 21));
  connect(btnColor, &QToolButton::clicked, this, &TPenEditDlg::btnColorClick);
  Label2 = caption(QStringLiteral("太さ"), 16, 64, Panel1);
  SpinWidth = new TSpinEdit(Panel1);
  SpinWidth->setGeometry(48, 56, 49, 21);
  SpinWidth->setRange(1, 10);
  SpinWidth->setValue(1);
  connect(SpinWidth, &TSpinEdit::changed, this, &TPenEditDlg::SpinWidthChange);
  ImageSample = new TPenSample([this] { return FPen ? &*FPen : nullptr; }, Panel1);
  ImageSample->setGeometry(32, 96, 89, 25);
}

void TPenEditDlg::buildButtonPanel() {
  Panel2 = new QFrame(this);
  Panel2->setFrameStyle(QFrame::Panel | QFrame::Raised);
  Panel2->setGeometry(150, 0, 104, 146);
  btnOK = new QPushButton(QStringLiteral("OK"), Panel2);
  btnOK->setGeometry(16, 16, 75, 25);
  btnOK->setDefault(true);
  connect(btnOK, &QPushButton::clicked, this, &QDialog::accept);
  // Esc and the window frame also end the dialog with the cancel result (QDialog::reject).
  btnCancel = new QPushButton(QStringLiteral("キャンセル"), Panel2);
  btnCancel->setGeometry(16, 48, 75, 25);
  connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
}

int TPenEditDlg::EditPen(TPen& pen) {
  FPen = pen;
  ShapeColor->setColor(FPen->Color);
  // The box clamps a width outside 1..10, and its change handler makes that the working width.
  SpinWidth->setValue(FPen->Width);
  ImageSample->update();
  const int result = exec();
  if (result == QDialog::Accepted) pen = *FPen;
  FPen.reset();
  return result;
}

void TPenEditDlg::btnColorClick() {
  if (!FPen) return;
  const QColor chosen = QColorDialog::getColor(toQColor(FPen->Color), this);
  if (!chosen.isValid()) return;
  FPen->Color = fromQColor(chosen);
  ShapeColor->setColor(FPen->Color);
  ImageSample->update();
}

void TPenEditDlg::SpinWidthChange() {
  if (!FPen) return;
  FPen->Width = SpinWidth->value();
  ImageSample->update();
}
