// Saving and loading a graph: the graph control to and from the model its document holds, and
// the file that holds it.
#include "GraphDocument.h"

#include "FuncGraph.h"
#include "GraphModel.h"
#include "IniFile.h"
#include "KurvoError.h"

#include <QFileInfo>

static_assert(GraphModel::FormulaCount == TFuncGraph::FormulaCount &&
              GraphModel::LabelCount == TFuncGraph::LabelCount);

QString DocumentFileName(const QString& graphName) {
  const QFileInfo info(graphName);
  const QString suffix = info.suffix();
  const QString name = info.fileName();
  QString base = graphName;
  // "name." has an empty suffix but its dot is the extension's.
  if (!suffix.isEmpty() || name.endsWith(QLatin1Char('.'))) base.chop(suffix.size() + 1);
  return base + QStringLiteral(".kvx");
}

GraphModel TFuncGraph::Model() const {
  GraphModel model;
  model.xAxis = xAxis;
  model.yAxis = yAxis;
  model.range = range;
  model.margins = margins;
  model.borderLine = borderLine;
  model.backBrush = backBrush;
  model.formulas = formulas;
  for (int n = 1; n <= LabelCount; ++n) {
    // A hidden label is one the user deleted: its slot is empty.
    const TGraphLabel* label = FLabels[std::size_t(n - 1)];
    if (label && !label->isHidden())
      model.labels[std::size_t(n - 1)] =
          GraphLabelRecord{label->Caption(), label->Color(), label->Left(),
                           label->Top(),     label->Tag(),   label->Font()};
  }
  model.autoRedraw = autoRedraw;
  model.parameters = parameters;
  return model;
}

void TFuncGraph::WriteDocument(IniFile& ini) const {
  WriteGraphModel(ini, Model());
}

void TFuncGraph::SaveToFile() {
  const QString fileName = DocumentFileName(graphName);
  IniFile ini(fileName);
  WriteDocument(ini);
  // The whole document is written at once: a failure leaves the file as it was before.
  if (!ini.UpdateFile()) throw KurvoError(QStringLiteral("%1 に書き込めません").arg(fileName));
  MarkUnchanged();
}

void TFuncGraph::LoadFromFile() {
  const QString fileName = DocumentFileName(graphName);
  const IniFile ini(fileName);
  // Checked before anything changes, so a refused file leaves the graph as it was.
  if (ini.ReadFailed()) throw KurvoError(QStringLiteral("%1 を読めません").arg(fileName));
  ReadDocument(ini);
  UpdateGraph();
  // Before the curves are drawn: what the user does while they are drawn counts as a change.
  MarkUnchanged();
  DrawFunctions();
}

void TFuncGraph::ReadDocument(const IniFile& ini) {
  GraphModel model = Model();
  ReadGraphModel(ini, model);
  xAxis = model.xAxis;
  yAxis = model.yAxis;
  range = model.range;
  margins = model.margins;
  borderLine = model.borderLine;
  backBrush = model.backBrush;
  for (int n = 1; n <= FormulaCount; ++n) {
    slot(n).Formula = model.formulas[std::size_t(n - 1)].Formula;
    slot(n).Pen = model.formulas[std::size_t(n - 1)].Pen;
  }
  for (int n = 1; n <= LabelCount; ++n) {
    destroyLabel(n);
    const std::optional<GraphLabelRecord>& record = model.labels[std::size_t(n - 1)];
    if (!record) continue;
    // The label takes the graph's fill as its colour when made, as the record holds.
    TGraphLabel* label = newLabel(n);
    label->setCaption(record->caption);
    label->setFont(record->font);
    label->move(record->left, record->top);
  }
  autoRedraw = model.autoRedraw;
  clearParameters();
  parameters = model.parameters;
  emit ParametersChanged();
}
