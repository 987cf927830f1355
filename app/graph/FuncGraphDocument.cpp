// The graph control and its document: the model it holds handed to the document layer, and a
// model taken back whole.
#include "FuncGraph.h"

#include "GraphDocument.h"

GraphLabels TFuncGraph::labelRecords() const {
  GraphLabels records;
  for (int n = 1; n <= LabelCount; ++n) {
    const TGraphLabel* label = Label(n);
    if (label && !label->isHidden())
      records.slot(n) = GraphLabelRecord{label->Caption(), label->Color(), label->Left(),
                                         label->Top(),     label->Tag(),   label->Font(),
                                         label->Pin()};
  }
  return records;
}

GraphModel TFuncGraph::Model() const {
  GraphModel current = model;
  current.labels = labelRecords();
  return current;
}

// A label takes the graph's fill as its colour when made, as the record holds. The parameters
// of another model are other rows, even under the same names: the old rows are told gone before
// new ones are told, so that whatever follows a row (a sweep) lets go of it.
void TFuncGraph::setModel(const GraphModel& source) {
  if (!source.parameters.isEmpty()) {
    model.parameters.clear();
    emit ParametersChanged();
  }
  model = source;
  chosenPeriods = {};
  for (int n = 1; n <= LabelCount; ++n) {
    destroyLabel(n);
    const GraphLabels::Slot& record = model.labels.slot(n);
    if (!record) continue;
    TGraphLabel* label = newLabel(n);
    label->setCaption(record->caption);
    label->setFont(record->font);
    label->move(record->left, record->top);
    label->setPin(record->pin);
  }
  remap();
  refreshLegend();
  setParametersIntoEngine();
  emit ParametersChanged();
}

void TFuncGraph::RestoreModel(const GraphModel& state) {
  const auto chosen = chosenPeriods;
  setModel(state);
  chosenPeriods = chosen;
  remap();
  drawBackground();
  noteRange();
  DrawFunctions();
}

void TFuncGraph::WriteDocument(IniFile& ini) const {
  WriteGraphModel(ini, Model());
}

void TFuncGraph::ReadDocument(const IniFile& ini) {
  GraphModel read = Model();
  ReadGraphModel(ini, read);
  setModel(read);
}

void TFuncGraph::SaveToFile() {
  SaveGraphDocument(DocumentFileName(graphName), Model());
  MarkUnchanged();
}

void TFuncGraph::LoadFromFile() {
  GraphModel read = Model();
  LoadGraphDocument(DocumentFileName(graphName), read);
  setModel(read);
  UpdateGraph();
  // Before the curves are drawn: what the user does while they are drawn counts as a change.
  MarkUnchanged();
  DrawFunctions();
}

bool TFuncGraph::IsChanged() const {
  return DocumentState(Model()) != unchangedState;
}

void TFuncGraph::MarkUnchanged() {
  unchangedState = DocumentState(Model());
}
