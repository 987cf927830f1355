// TUndoStack: the graph's undo history as the main window drives it. It watches the graph for
// edits and records each as a step once the event that made it is done, merging what belongs
// to one edit: the keystrokes in one field until the focus moves or a second passes, the
// notches of one turn of the wheel (half a second apart at most), everything from a button's
// press to its release (a drag of the view, of a label, of a slider). What plays by itself (a
// parameter's animation) changes the current step without making one.
#pragma once

#include "UndoHistory.h"

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QTimer>

#include <cstdint>
#include <functional>

class TFuncGraph;

class TUndoStack : public QObject {
  Q_OBJECT

public:
  // A pause this long ends an edit of the keyboard, and one of the wheel.
  static constexpr std::int64_t TypingPause = 1000;
  static constexpr std::int64_t WheelPause = 500;

  explicit TUndoStack(TFuncGraph* graph, QObject* parent = nullptr);

  // Whether what changes now is played rather than made by the user.
  void setPlaying(std::function<bool()> playing) { isPlaying = std::move(playing); }
  // The clock of the merge windows, in milliseconds; tests give their own.
  void setClock(std::function<std::int64_t()> now) { clock = std::move(now); }

  // The graph as it stands starts the history (a new or opened graph).
  void reset();
  // The next edit starts a step of its own.
  void seal();
  bool canUndo() const { return history.canUndo(); }
  bool canRedo() const { return history.canRedo(); }
  // The menu's captions: "元に戻す" or "元に戻す: 範囲の変更", and the same for redo.
  QString undoText() const;
  QString redoText() const;
  std::size_t stepCount() const { return history.stepCount(); }

public slots:
  // Shows the state before the last step (or after the next), curves drawn.
  void undo();
  void redo();

signals:
  // The history moved or grew: the menu's captions and their enabled states follow.
  void changed();
  // The graph shows another state of the history: the windows that show the graph follow.
  void restored();

protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  // Records an edit that waits for the end of its event, at once.
  void flush();
  void check();
  std::int64_t mergeWindow() const;
  void restore(const GraphModel& state);

  TFuncGraph* graph;
  UndoHistory history;
  QTimer pending;
  QElapsedTimer elapsed;
  std::function<std::int64_t()> clock;
  std::function<bool()> isPlaying;
  bool wheeling = false; // the last input was a turn of the wheel
};
