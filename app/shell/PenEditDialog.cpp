#include "PenEditDialog.h"

#include "ColorChoice.h"
#include "FormFont.h"
#include "PenWidgets.h"
#include "Pictures.h"
#include "SpinEdit.h"

#include <QComboBox>
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

// The line styles the dialog offers, in the order of its list.
constexpr PenStyle kOfferedStyles[] = {PenStyle::Solid, PenStyle::Dash, PenStyle::Dot,
                                       PenStyle::DashDot, PenStyle::DashDotDot};

// The list row of a style; -1 (no row chosen) for a style the list does not offer.
int styleRow(PenStyle style) {
  for (int row = 0; row < std::ssize(kOfferedStyles); ++row)
    if (kOfferedStyles[row] == style) return row;
  return -1;
}

} // namespace

TPenEditDlg::TPenEditDlg(QWidget* parent) : QDialog(parent) {
  setWindowTitle(QStringLiteral("ペン設定"));
  setFont(formFont());
  setFixedSize(254, 178);
  // Placed by hand, the dialog is not put over its parent window when it shows.
  move(screen()->availableGeometry().center() - rect().center());
  buildColorPanel();
  buildButtonPanel();
}

void TPenEditDlg::buildColorPanel() {
  Panel1 = new QFrame(this);
  Panel1->setFrameStyle(QFrame::Panel | QFrame::Raised);
  Panel1->setGeometry(0, 0, 150, 178);
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
  buildStyleChoice();
  ImageSample = new TPenSample([this] { return FPen ? &*FPen : nullptr; }, Panel1);
  ImageSample->setGeometry(32, 128, 89, 25);
}

// A row below the width, spaced like the rows above it; the sample moves down by that row.
void TPenEditDlg::buildStyleChoice() {
  Label3 = caption(QStringLiteral("線種"), 16, 96, Panel1);
  ComboStyle = new QComboBox(Panel1);
  ComboStyle->setGeometry(48, 88, 81, 21);
  ComboStyle->addItems({QStringLiteral("実線"), QStringLiteral("破線"), QStringLiteral("点線"),
                        QStringLiteral("一点鎖線"), QStringLiteral("二点鎖線")});
  connect(ComboStyle, &QComboBox::currentIndexChanged, this, &TPenEditDlg::ComboStyleChange);
}

void TPenEditDlg::buildButtonPanel() {
  Panel2 = new QFrame(this);
  Panel2->setFrameStyle(QFrame::Panel | QFrame::Raised);
  Panel2->setGeometry(150, 0, 104, 178);
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
  // A stored style the list does not offer (none, inside frame) shows no row and stays as it is
  // unless the user picks one.
  ComboStyle->setCurrentIndex(styleRow(FPen->Style));
  ImageSample->update();
  const int result = exec();
  if (result == QDialog::Accepted) pen = *FPen;
  FPen.reset();
  return result;
}

void TPenEditDlg::btnColorClick() {
  if (!FPen) return;
  const std::optional<GraphColor> chosen = chooseColor(FPen->Color, this);
  if (!chosen) return;
  FPen->Color = *chosen;
  ShapeColor->setColor(FPen->Color);
  ImageSample->update();
}

void TPenEditDlg::SpinWidthChange() {
  if (!FPen) return;
  FPen->Width = SpinWidth->value();
  ImageSample->update();
}

void TPenEditDlg::ComboStyleChange() {
  const int row = ComboStyle->currentIndex();
  if (!FPen || row < 0) return;
  FPen->Style = kOfferedStyles[row];
  ImageSample->update();
}
