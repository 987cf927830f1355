// UndoHistory: the states a graph passed through, as whole models, with the way back and
// forth between them. Each step holds the model after it and what it changed; the first state
// is the one the history was reset to. A state is told apart from the current one by the
// document it writes, so only what a document holds makes a step.
//
// Changes in a row merge into one step when they continue one edit (the same topic and item),
// the step is still open, and the change comes within the merge window of the one before: the
// keystrokes of one field, a burst of wheel notches, a drag. Times are the caller's clock in
// milliseconds, so that the history itself is plain.
#pragma once

#include "GraphChange.h"
#include "GraphModel.h"

#include <QByteArray>

#include <cstddef>
#include <cstdint>
#include <deque>

class UndoHistory {
public:
  // Steps beyond the limit drop the oldest: a step is a few kilobytes.
  static constexpr std::size_t DefaultLimit = 200;
  // A merge window that any delay fits, for a drag.
  static constexpr std::int64_t Unbounded = -1;

  explicit UndoHistory(std::size_t limit = DefaultLimit) : limit(limit) {}

  // Forgets every step: the state is where the history starts.
  void reset(const GraphModel& state);
  // The current state as it now stands. Nothing when it holds the same document as the current
  // state; otherwise a new step (dropping what could be redone) or the open step extended.
  // True when a step was made or extended.
  bool record(const GraphModel& state, std::int64_t now, std::int64_t mergeWindow);
  // The next change starts a step of its own (a field left, a button released, a save).
  void seal() { sealed = true; }
  // The current state changes without a step: what plays by itself (a parameter's animation)
  // is not undone one frame at a time.
  void amend(const GraphModel& state);

  bool canUndo() const { return index > 0; }
  bool canRedo() const { return index + 1 < states.size(); }
  // What the step that an undo (or a redo) takes back changed.
  GraphChange undoChange() const;
  GraphChange redoChange() const;
  // Moves one step and gives the state to show; the history stays where it was when there is
  // nothing to move to. Either seals the step.
  const GraphModel& undo();
  const GraphModel& redo();
  const GraphModel& current() const { return states[index].model; }
  std::size_t stepCount() const { return states.size() - 1; }

private:
  struct State {
    GraphModel model;
    QByteArray document;
    GraphChange change;    // what the step to this state changed
    std::int64_t time = 0; // of the last change merged into the step
  };

  bool continues(const GraphChange& change, std::int64_t now, std::int64_t mergeWindow) const;

  std::size_t limit;
  std::deque<State> states{State{}};
  std::size_t index = 0;
  bool sealed = true;
};
