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

TEST(UndoHistoryTest, UndoAndRedoGiveBackEachDocumentExactlyAndANewStepDropsTheRedo) {
  std::vector<GraphModel> states{GraphModel::NewGraph()};
  states.push_back(withFormula(states.back(), 0, "sin(x)"));
  states.push_back(withRange(states.back(), 7.25L));
  GraphModel labelled = states.back();
  labelled.labels.slot(3) = GraphLabelRecord{QStringLiteral("ラベル"), 0, 12, 34, 3, {}};
  states.push_back(labelled);
  UndoHistory history;
  history.reset(states[0]);
  for (std::size_t i = 1; i < states.size(); ++i)
    history.record(states[i], static_cast<std::int64_t>(i) * 10000, 1000);

  EXPECT_EQ(history.undoChange().topic, ChangeTopic::LabelAdded);
  for (std::size_t i = states.size() - 1; i-- > 0;)
    EXPECT_EQ(DocumentState(history.undo()), DocumentState(states[i])) << i;
  EXPECT_FALSE(history.canUndo());
  EXPECT_EQ(history.redoChange(), (GraphChange{ChangeTopic::Formula, 0}));
  for (std::size_t i = 1; i < states.size(); ++i)
    EXPECT_EQ(DocumentState(history.redo()), DocumentState(states[i])) << i;
  EXPECT_FALSE(history.canRedo());

  history.undo();
  history.undo();
  history.record(withFormula(history.current(), 4, "x"), 100000, 1000);
  EXPECT_FALSE(history.canRedo());
  EXPECT_EQ(history.stepCount(), 2u);
}

// What plays by itself changes the current state, so that a redo after an undo comes back to
// what was shown, and makes no step.
TEST(UndoHistoryTest, AnAmendChangesTheCurrentStateWithoutAStep) {
  GraphModel model = GraphModel::NewGraph();
  model.parameters.add(QStringList{QStringLiteral("a")});
  UndoHistory history;
  history.reset(model);
  history.record(withFormula(model, 0, "a*x"), 0, 1000);
  GraphModel played = history.current();
  played.parameters.setValue(0, 3.5);
  history.amend(played);
  EXPECT_EQ(history.stepCount(), 1u);
  history.undo();
  EXPECT_EQ(DocumentState(history.redo()), DocumentState(played));
}

TEST(UndoHistoryTest, TheOldestStepsGoBeyondTheLimit) {
  UndoHistory history(100);
  GraphModel model = GraphModel::NewGraph();
  history.reset(model);
  for (int i = 1; i <= 150; ++i)
    history.record(withRange(model, 10 + i), i * 10000, 1000);
  EXPECT_EQ(history.stepCount(), 100u);
  int undone = 0;
  while (history.canUndo()) {
    history.undo();
    ++undone;
  }
  EXPECT_EQ(undone, 100);
  EXPECT_EQ(history.current().range.xMax, 60);
}

TEST(UndoHistoryTest, ChangesAreNamedForTheFirstTopicThatDiffers) {
  const GraphModel start = GraphModel::NewGraph();
  GraphModel formulaAndParameter = withFormula(start, 2, "a*x");
  formulaAndParameter.parameters.add(QStringList{QStringLiteral("a")});
  GraphModel moved = start;
  moved.labels.slot(2) = GraphLabelRecord{QStringLiteral("t"), 0, 1, 1, 2, {}};
  GraphModel movedAgain = moved;
  movedAgain.labels.slot(2)->left = 5;
  GraphModel renamed = moved;
  renamed.labels.slot(2)->caption = QStringLiteral("u");
  GraphModel zoomed = withRange(start, 4);
  zoomed.xAxis.GuagePeriod = 0.5;
  GraphModel pen = start;
  pen.formulas[1].Pen.Width = 3;
  const struct {
    GraphModel before, after;
    GraphChange change;
  } cases[] = {
      {start, formulaAndParameter, {ChangeTopic::Formula, 2}},
      {start, pen, {ChangeTopic::Pen, 1}},
      {start, zoomed, {ChangeTopic::Range, 0}},
      {start, moved, {ChangeTopic::LabelAdded, 1}},
      {moved, movedAgain, {ChangeTopic::LabelMoved, 1}},
      {moved, renamed, {ChangeTopic::LabelEdited, 1}},
      {moved, start, {ChangeTopic::LabelDeleted, 1}},
      {start, start, {ChangeTopic::None, 0}},
  };
  for (const auto& test : cases)
    EXPECT_EQ(changeBetween(test.before, test.after), test.change)
        << static_cast<int>(test.change.topic);
}

} // namespace
