#include "UndoHistory.h"

#include "GraphDocument.h"

void UndoHistory::reset(const GraphModel& state) {
  states.assign(1, State{state, DocumentState(state), {}, 0});
  index = 0;
  sealed = true;
}

// The first state of the history cannot take a merge: it was not made by a change.
bool UndoHistory::continues(const GraphChange& change, std::int64_t now,
                            std::int64_t mergeWindow) const {
  if (sealed || index == 0 || index + 1 != states.size()) return false;
  const State& last = states[index];
  if (last.change != change) return false;
  return mergeWindow == Unbounded || now - last.time <= mergeWindow;
}

bool UndoHistory::record(const GraphModel& state, std::int64_t now, std::int64_t mergeWindow) {
  QByteArray document = DocumentState(state);
  if (document == states[index].document) return false;
  const GraphChange change = changeBetween(states[index].model, state);
  if (continues(change, now, mergeWindow)) {
    // An edit that came back to where it started (a letter typed and erased) is no step.
    if (document == states[index - 1].document) {
      states.pop_back();
      --index;
      sealed = true;
    } else {
      states[index] = State{state, std::move(document), change, now};
    }
    return true;
  }
  states.erase(states.begin() + static_cast<std::ptrdiff_t>(index) + 1, states.end());
  states.push_back(State{state, std::move(document), change, now});
  if (states.size() > limit + 1) states.pop_front();
  index = states.size() - 1;
  sealed = false;
  return true;
}

void UndoHistory::amend(const GraphModel& state) {
  states[index].model = state;
  states[index].document = DocumentState(state);
}

GraphChange UndoHistory::undoChange() const {
  return canUndo() ? states[index].change : GraphChange{};
}

GraphChange UndoHistory::redoChange() const {
  return canRedo() ? states[index + 1].change : GraphChange{};
}

const GraphModel& UndoHistory::undo() {
  sealed = true;
  if (canUndo()) --index;
  return current();
}

const GraphModel& UndoHistory::redo() {
  sealed = true;
  if (canRedo()) ++index;
  return current();
}
