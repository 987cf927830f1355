// Tests of the undo history over plain models: which changes merge into one step, the way back
// and forth to the exact document, and the bound on its length.
#include "GraphDocument.h"
#include "UndoHistory.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

GraphModel withFormula(GraphModel model, int slot, const QString& text) {
  model.formulas[static_cast<std::size_t>(slot)].Formula = text;
  return model;
}

GraphModel withRange(GraphModel model, long double xMax) {
  model.range.xMax = xMax;
  return model;
}

struct MergeCase {
  const char* name;
  std::function<GraphModel(const GraphModel&)> second; // the change after withFormula(0, "x")
  std::int64_t delay;
  std::int64_t window;
  bool sealedBetween;
  std::size_t steps;
};

TEST(UndoHistoryTest, ChangesMergeOnlyWhenTheyContinueOneEditInTime) {
  const MergeCase cases[] = {
      {"the same field soon after", [](auto& m) { return withFormula(m, 0, "x*x"); }, 900, 1000,
       false, 1},
      {"the same field after the pause", [](auto& m) { return withFormula(m, 0, "x*x"); }, 1001,
       1000, false, 2},
      {"the same field after the focus left", [](auto& m) { return withFormula(m, 0, "x*x"); },
       10, 1000, true, 2},
      {"another field", [](auto& m) { return withFormula(m, 1, "x"); }, 10, 1000, false, 2},
      {"another topic", [](auto& m) { return withRange(m, 20); }, 10, 1000, false, 2},
      {"a drag, however slow", [](auto& m) { return withFormula(m, 0, "x*x"); }, 60000,
       UndoHistory::Unbounded, false, 1},
      {"back to where the edit began", [](auto& m) { return withFormula(m, 0, ""); }, 10, 1000,
       false, 0},
  };
  for (const MergeCase& test : cases) {
    SCOPED_TRACE(test.name);
    const GraphModel start = GraphModel::NewGraph();
    UndoHistory history;
    history.reset(start);
    const GraphModel first = withFormula(start, 0, "x");
    ASSERT_TRUE(history.record(first, 1000, test.window));
    if (test.sealedBetween) history.seal();
    history.record(test.second(first), 1000 + test.delay, test.window);
    EXPECT_EQ(history.stepCount(), test.steps);
    history.undo();
    EXPECT_EQ(DocumentState(history.current()),
              DocumentState(test.steps == 2 ? first : start));
  }
}

// A state that writes the document of the current one is no step, even where the models differ
// in what no document holds.
TEST(UndoHistoryTest, OnlyADifferentDocumentMakesAStep) {
  GraphModel start = GraphModel::NewGraph();
  UndoHistory history;
  history.reset(start);
  start.autoRedrawByDefault = !start.autoRedrawByDefault;
  start.autoRedraw = !start.autoRedraw; // still the default, so no key is written
  EXPECT_FALSE(history.record(start, 0, 1000));
  EXPECT_FALSE(history.canUndo());
}

// Undone steps are gone once a new one is made.
TEST(UndoHistoryTest, ANewStepDropsWhatCouldBeRedone) {
  UndoHistory history;
  history.reset(GraphModel::NewGraph());
  for (int i = 1; i <= 3; ++i)
    history.record(withRange(history.current(), 10 + i), i * 10000, 1000);
  history.undo();
  history.undo();
  history.record(withFormula(history.current(), 4, "x"), 100000, 1000);
  EXPECT_FALSE(history.canRedo());
  EXPECT_EQ(history.stepCount(), 2u);
  EXPECT_EQ(history.undoChange(), (GraphChange{ChangeTopic::Formula, 4}));
}

// More than a hundred steps are kept, and the oldest go beyond the limit.
TEST(UndoHistoryTest, TheOldestStepsGoBeyondTheLimit) {
  UndoHistory history;
  const GraphModel start = GraphModel::NewGraph();
  history.reset(start);
  const int edits = UndoHistory::DefaultLimit + 50;
  for (int i = 1; i <= edits; ++i)
    history.record(withRange(start, 10 + i), i * 10000, 1000);
  std::size_t undone = 0;
  for (; history.canUndo(); ++undone)
    history.undo();
  EXPECT_EQ(undone, UndoHistory::DefaultLimit);
  EXPECT_EQ(history.current().range.xMax, 60);
}

} // namespace
