// TPenEditDlg: the modal dialog that edits a curve's pen: colour, width and line style. It works
// on a copy of the pen, which only OK copies back.
#pragma once

#include "GraphPen.h"

#include <QDialog>

#include <optional>

class QComboBox;
class QFrame;
class QLabel;
class QPushButton;
class QToolButton;
class TColorShape;
class TPenSample;
class TSpinEdit;

class TPenEditDlg : public QDialog {
  Q_OBJECT

public:
  explicit TPenEditDlg(QWidget* parent = nullptr);

  // Runs the dialog for the pen; with OK the pen takes the working pen's colour, width and
  // style, otherwise it stays as it was. Returns the dialog's result (QDialog::Accepted or
  // QDialog::Rejected).
  int EditPen(TPen& pen);
  // The pen being edited while the dialog runs; nothing otherwise.
  const std::optional<TPen>& WorkingPen() const { return FPen; }

  QFrame* Panel1;
  QFrame* Panel2;
  QLabel* Label1;
  TColorShape* ShapeColor;
  QToolButton* btnColor;
  QLabel* Label2;
  TSpinEdit* SpinWidth;
  QLabel* Label3;
  QComboBox* ComboStyle;
  TPenSample* ImageSample;
  QPushButton* btnOK;
  QPushButton* btnCancel;

  void btnColorClick();
  void SpinWidthChange();
  void ComboStyleChange();

private:
  void buildColorPanel();
  void buildStyleChoice();
  void buildButtonPanel();

  std::optional<TPen> FPen;
};
