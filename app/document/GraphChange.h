// What one change of a graph changed, told from the model before and after it: the topic an
// undo step is named after, and the item within it (a slot, a label, a parameter row) that
// tells whether two changes in a row continue one edit.
#pragma once

struct GraphModel;

enum class ChangeTopic {
  None,
  Formula,
  Pen,
  Range,
  Margins,
  Axes,
  Background, // the back brush and the border line
  LabelAdded,
  LabelMoved,
  LabelEdited,
  LabelDeleted,
  Parameters,
  Calculus, // derivative curves, tangents and areas
  Legend, // shown, hidden or moved
  Data, // the data sets: added, removed, their points or their look; item: the first set
  Options,
};

struct GraphChange {
  ChangeTopic topic = ChangeTopic::None;
  int item = 0; // the slot, label or row, 0-based; 0 where the topic has no items
  bool operator==(const GraphChange&) const = default;
};

// The first thing that differs, in the order of the topics: a formula typed that brings a new
// parameter is a formula change, a zoom that respaces the ticks a range change, a margin that
// hides an axis whose line leaves the plot a margin change.
GraphChange changeBetween(const GraphModel& before, const GraphModel& after);
