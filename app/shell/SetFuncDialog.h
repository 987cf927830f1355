// TSetFuncDlg: the modeless tool window with the five formulas f1(x)..f5(x) of the graph and
// a sample of each curve's pen. Every keystroke is stored in the graph at once; clicking a
// sample edits that pen with the pen dialog. A formula that gives no value anywhere in the
// graph's x range turns red, and the line at the bottom tells the engine's reason.
#pragma once

#include <QWidget>

#include <array>

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

protected:
  void showEvent(QShowEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  // Row n (1..5): caption, formula edit and pen sample, all with Tag n.
  void buildRow(int n, QLabel*& label, QLineEdit*& edit, TPenSample*& image);
  std::array<QLineEdit*, 5> edits() const { return {Edit1, Edit2, Edit3, Edit4, Edit5}; }
  // Checks the row's formula with the engine over the graph's x range: marks the row and
  // tells the reason when it fails everywhere, otherwise unmarks it.
  void checkRow(QLineEdit* edit);
  // From the last row up, so that the message line ends on the first failing row.
  void checkAllRows();

  TFuncGraph* graph;
  TPenEditDlg* penDialog;
  int messageRow = 0; // the row the message line speaks of; 0 when empty
};
