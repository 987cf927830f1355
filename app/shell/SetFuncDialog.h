// TSetFuncDlg: the modeless tool window with the five function slots of the graph, each with
// its kind of curve, its formulas and a sample of its pen. A parametric row has a second line
// for y(t), and parametric and polar rows a line for the range of t; the window grows with
// them. Every keystroke is stored in the graph at once; clicking a sample edits that pen with
// the pen dialog. A formula that gives no value anywhere in the range it runs over (the graph's
// x or y range, or the row's t range) turns red, and the line at the bottom tells the engine's
// reason.
#pragma once

#include <QWidget>

#include <array>

class QComboBox;
struct FormulaVerdict;
class QFrame;
class QLabel;
class QLineEdit;
class TFuncGraph;
class TPenEditDlg;
class TPenSample;

class TSetFuncDlg : public QWidget {
  Q_OBJECT

public:
  TSetFuncDlg(TFuncGraph* graph, TPenEditDlg* penDialog, QWidget* parent = nullptr);

  QFrame* Panel1;
  QLabel *Label1, *Label2, *Label3, *Label4, *Label5;
  QLineEdit *Edit1, *Edit2, *Edit3, *Edit4, *Edit5;
  TPenSample *Image1, *Image2, *Image3, *Image4, *Image5;
  QLabel* LabelMessage;

  void FormShow();
  // The rows show what the graph now holds (an undo), the focus staying where it is.
  void FollowGraph();
  void Edit1Change(QLineEdit* edit);
  // True when the key is Enter, which the edits swallow.
  bool EditKeyPress(int key);
  void ImageClick(TPenSample* image);

  // The controls of row n (1..5) beyond the label, formula edit and pen sample.
  QComboBox* KindBox(int n) const { return extras[std::size_t(n - 1)].kind; }
  QLineEdit* EditY(int n) const { return extras[std::size_t(n - 1)].editY; }
  QLineEdit* EditTMin(int n) const { return extras[std::size_t(n - 1)].editTMin; }
  QLineEdit* EditTMax(int n) const { return extras[std::size_t(n - 1)].editTMax; }

protected:
  void showEvent(QShowEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  struct RowExtras {
    QComboBox* kind;
    QLabel* labelY;
    QLineEdit* editY;
    QLabel* labelT;
    QLineEdit* editTMin;
    QLabel* labelTo;
    QLineEdit* editTMax;
  };

  // Row n (1..5): caption, formula edit, pen sample and kind, all with Tag n.
  void buildRow(int n, QLabel*& label, QLineEdit*& edit, TPenSample*& image);
  void buildExtras(int n);
  QLineEdit* formulaEdit(int n);
  TPenSample* Image(int n) const;
  std::array<QLineEdit*, 5> edits() const { return {Edit1, Edit2, Edit3, Edit4, Edit5}; }
  std::array<QLabel*, 5> labels() const { return {Label1, Label2, Label3, Label4, Label5}; }
  // Places every row after the kinds the graph holds and sizes the window to them.
  void layOutRows();
  void kindChosen(int n, int index);
  void tRangeChanged(int n);
  // Checks the row's formula with the engine over the graph's x range: marks the row and
  // tells the reason when it fails everywhere, otherwise unmarks it.
  void checkRow(QLineEdit* edit);
  void markFailed(QLineEdit* edit, bool failed);
  void checkRelation(int n, QLineEdit* edit);
  // Tells the message or hint of row n, or clears the line when it spoke of the row.
  void showVerdict(int n, const FormulaVerdict& verdict);
  void tellRow(int n, const QString& message, bool calm);
  void clearRow(int n);
  // From the last row up, so that the message line ends on the first failing row.
  void checkAllRows();

  std::array<RowExtras, 5> extras{};
  TFuncGraph* graph;
  TPenEditDlg* penDialog;
  int messageRow = 0; // the row the message line speaks of; 0 when empty
};
