// TSetGraphDlg: the modeless tool window for the graph's range, margins and the two axes'
// ticks, tick values and fonts, whether each axis is shown, and the background colour. There is
// no OK or Cancel: range and tick-interval edits apply on Enter, every other control as soon as
// it changes. Clicking the "Ｙ軸" caption fits the y range to the formulas.
#pragma once

#include <QWidget>

class QCheckBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;
class QToolButton;
class TAxis;
class TColorShape;
class TFuncGraph;
class TRadioGroup;
class TSpinEdit;

class TSetGraphDlg : public QWidget {
  Q_OBJECT

public:
  explicit TSetGraphDlg(TFuncGraph* graph, QWidget* parent = nullptr);

  QFrame* Panel1;
  QTabWidget* PageControl1;
  QWidget *TabSheet1, *TabSheet2, *TabSheet3;

  // Page "グラフ概観": range (tags 0..3) and margins (tags 4..7).
  QGroupBox* GroupBox1;
  QLabel *Label1, *Label2, *LabelXAxis, *Label5, *LabelYAxis, *Label6;
  QLineEdit *EditXMin, *EditXMax, *EditYMin, *EditYMax;
  QGroupBox* GroupBox2;
  QLabel *Label9, *Label7, *Label8, *Label10;
  TSpinEdit *SpinMTop, *SpinMLeft, *SpinMRight, *SpinMBottom;
  QLabel* LabelBackColor;
  TColorShape* ShapeBackColor;
  QToolButton* btnBackColor;

  // Page "Ｘ軸" (tags 10..19). The Grad groups choose the tick marks, not a gradient.
  QCheckBox* CheckXVisible;
  QCheckBox *CheckXGrid, *CheckXPi;
  TRadioGroup *RadioXGrad, *RadioXValPos;
  QLabel *Label11, *Label12, *Label13, *Label17;
  QLineEdit* EditXPeriod;
  QPushButton* btnXAutoPeriod;
  TSpinEdit *SpinXXDist, *SpinXYDist;
  QToolButton* btnXFont;

  // Page "Ｙ軸" (tags 20..29).
  QCheckBox* CheckYVisible;
  QCheckBox *CheckYGrid, *CheckYPi;
  TRadioGroup *RadioYGrad, *RadioYValPos;
  QLabel *Label14, *Label15, *Label16, *Label18;
  QLineEdit* EditYPeriod;
  QPushButton* btnYAutoPeriod;
  TSpinEdit *SpinYXDist, *SpinYYDist;
  QToolButton* btnYFont;

  // Loads every control from the graph.
  void FormShow();
  // The fields show what the graph now holds (an undo), and no change handler writes them
  // back: a margin shown clamped, or an axis flag given again, would change the graph.
  void FollowGraph();
  // Enter applies the edit's number; true when the key was Enter (it is then consumed, also
  // when the text is not a number, which raises KurvoError).
  bool EditKeyPress(QLineEdit* edit, int key);
  // Serves the tick-value offset boxes of the axis pages as well as the margin boxes.
  void SpinMChange(TSpinEdit* box);
  void RadioClick(TRadioGroup* group);
  void btnFontClick(QToolButton* button);
  void LabelYAxisClick();
  // Shows or hides the axis; the box then shows what the refresh left, since an axis whose line
  // lies outside the plot is hidden again.
  void CheckVisibleClick(QCheckBox* box);
  // グリッド and π単位: the axis's flag as the box shows it.
  void CheckFlagClick(QCheckBox* box);
  void btnBackColorClick();
  // Gives the axis the tick period that spaces its values well, once, and shows it.
  void btnAutoPeriodClick(QPushButton* button);
  // While the dialog is visible, shows a range (and tick periods) the graph took by any path.
  void GraphRangeChange();

protected:
  void showEvent(QShowEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  struct AxisPage;
  // The controls of the X and of the Y page.
  AxisPage xAxisPage();
  AxisPage yAxisPage();
  void buildGraphPage();
  void buildRangeGroup();
  void buildMarginGroup();
  void buildBackColorRow();
  void buildAxisPage(QWidget* page, const QStringList& gradItems, int valPosHeight, int tagBase,
                     const AxisPage& controls);
  void buildPeriodControls(QWidget* page, int tagBase, const AxisPage& controls);
  QLineEdit* numberEdit(QWidget* parent, const QRect& geometry, int tag);
  TSpinEdit* spinBox(QWidget* parent, const QRect& geometry, int tag);
  void loadAxis(const TAxis& axis, const AxisPage& controls);
  QCheckBox* flagBox(QWidget* page, const QString& text, QPoint at, int tag);
  // The two 表示 boxes show the axes' flags, which a refresh of the graph may have cleared.
  void showAxisFlags();
  TAxis& axisOfTag(int tag);

  TFuncGraph* graph;
};
