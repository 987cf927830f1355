// TCalculusPage: the page "微積分" of the analysis window. For the chosen slot it turns the
// dashed derivative curve on and off, adds tangents (at an x typed, or where the graph is
// clicked while the page shows) with their equations, and areas from a to b (typed, or dragged
// over the graph with Shift held) under the curve or between it and another, with their values
// and error bounds. Every change is a change of the graph's document; the lists follow every
// redraw, so that a slider moves the numbers too.
#pragma once

#include <QWidget>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QListWidget;
class QPushButton;
class TFuncGraph;

class TCalculusPage : public QWidget {
  Q_OBJECT

public:
  explicit TCalculusPage(TFuncGraph* graph, QWidget* parent = nullptr);

  QComboBox* ComboSlot;
  QCheckBox* CheckDerivative;
  QLineEdit* EditTangentX;
  QPushButton* btnAddTangent;
  QListWidget* TangentList;
  QPushButton* btnDeleteTangent;
  QLineEdit* EditFrom;
  QLineEdit* EditTo;
  QComboBox* ComboOther; // x 軸, or f1..f5
  QPushButton* btnAddArea;
  QListWidget* AreaList;
  QPushButton* btnDeleteArea;

  // A tangent of the chosen slot at the x of the field; the number is refused in the field.
  void btnAddTangentClick();
  void btnAddAreaClick();
  void addTangentAt(double x);
  void addArea(double from, double to);
  // The lists and the check box show the graph's marks with their numbers.
  void showMarks();

protected:
  void showEvent(QShowEvent* event) override;
  void hideEvent(QHideEvent* event) override;

private:
  int chosenSlot() const;
  void buildSlotRow(QWidget* page);
  void buildTangentGroup(QWidget* page);
  void buildAreaGroup(QWidget* page);
  void deleteChosen(QListWidget* list, bool tangents);

  TFuncGraph* graph;
};
