// TParameterWindow: the modeless tool window with one row per parameter of the graph, in the
// order of first use: the name, a slider over the parameter's range in 1000 steps, the value,
// the range's two ends and a play button that sweeps the value from min to max and back. A
// slider move, Enter in a field or a step of play sets the value through the graph, which
// redraws the curves at once. The rows are rebuilt whenever the graph's rows change; play
// stops when the window hides and when a new or opened graph clears the rows.
#pragma once

#include "ParameterSweep.h"

#include <QElapsedTimer>
#include <QTimer>
#include <QWidget>

#include <optional>
#include <vector>

class QComboBox;
class QGridLayout;
class QLabel;
class QLineEdit;
class QScrollArea;
class QSlider;
class QToolButton;
class TFuncGraph;

class TParameterWindow : public QWidget {
  Q_OBJECT

public:
  static constexpr int SliderSteps = 1000;
  // The seconds of one round trip from min to max and back that the speed box offers, and the
  // one chosen at first.
  static constexpr double SweepSeconds[] = {1, 2, 4, 8, 16};
  static constexpr int DefaultSpeed = 2;

  explicit TParameterWindow(TFuncGraph* graph, QWidget* parent = nullptr);

  // The controls of one parameter row.
  struct Row {
    QLabel* name;
    QSlider* slider;
    QLineEdit* value;
    QLineEdit* min;
    QLineEdit* max;
    QToolButton* play;
  };
  const std::vector<Row>& Rows() const { return rows; }
  QLabel* LabelEmpty;
  QComboBox* ComboSpeed;

  // The row being played, or -1.
  int PlayingRow() const { return playing; }
  void StopPlay();

protected:
  void showEvent(QShowEvent* event) override;
  void hideEvent(QHideEvent* event) override;

private:
  void buildRows();
  Row buildRow(QWidget* sheet, QGridLayout* grid, int index);
  // Shows the parameter's value and range in its row.
  void showRow(int index);
  // Whether the index names a row of the graph (rows of a replaced sheet may still be about).
  bool isCurrent(int index) const;
  void SliderChange(int index, int position);
  void ValueEnter(int index);
  void RangeEnter(int index, QLineEdit* entered);
  void PlayClick(int index);
  void startPlay(int index);
  void PlayStep();
  void SpeedChange();
  void ParametersChange();

  TFuncGraph* graph;
  QScrollArea* scroll;
  QWidget* sheet = nullptr;
  std::vector<Row> rows;
  // Play: one row at a time, paced by the clock so that slow redraws drop frames.
  QTimer playTimer;
  QElapsedTimer playClock;
  std::optional<ParameterSweep> sweep;
  int playing = -1;
  QString playingName;
  bool stepping = false;
};
