// The graph's model.parameters at work: found in every formula text the graph is given, written into
// the engine before every drawing, and changed one at a time with the curves redrawn at once.
#include "Evalon.h"
#include "FuncGraph.h"
#include "ParameterNames.h"

// A new parameter is in the engine at once, so that a formula checked before the next drawing
// reads the value its row shows. Rows left behind by a name typed halfway go again.
void TFuncGraph::discoverParameters(const TFormula& formula) {
  const int before = model.parameters.count();
  const int added = model.parameters.add(formula.ParameterNames());
  for (int index = before; index < model.parameters.count(); ++index)
    setParameterIntoEngine(index);
  QStringList used;
  for (const TFormula& slot : model.formulas)
    used << slot.ParameterNames();
  if (model.parameters.removeUnusedDefaults(used) > 0 || added > 0) emit ParametersChanged();
}

void TFuncGraph::setParameterIntoEngine(int index) {
  const GraphParameter& row = model.parameters.at(index);
  if (evalon) evalon->SetVariable(row.name, row.value);
}

void TFuncGraph::setParametersIntoEngine() {
  for (int index = 0; index < model.parameters.count(); ++index)
    setParameterIntoEngine(index);
}

int TFuncGraph::addParameter(const QString& name) {
  if (!isParameterName(name)) return -1;
  const int found = model.parameters.indexOf(name);
  if (found >= 0) return found;
  if (model.parameters.add(QStringList{name}) == 0) return -1;
  setParameterIntoEngine(model.parameters.count() - 1);
  emit ParametersChanged();
  emit Edited();
  return model.parameters.count() - 1;
}

bool TFuncGraph::setParameterValue(int index, double value) {
  if (!model.parameters.setValue(index, value)) return false;
  emit Edited();
  setParameterIntoEngine(index);
  DrawFunctions();
  return true;
}

bool TFuncGraph::setParameterRange(int index, double min, double max) {
  const double before = model.parameters.at(index).value;
  if (!model.parameters.setRange(index, min, max)) return false;
  emit Edited();
  if (model.parameters.at(index).value != before) {
    setParameterIntoEngine(index);
    DrawFunctions();
  }
  return true;
}
