// document_bench: the time a document takes to be read and written as plain values: the text
// parsed, the model read from it, the model saved into an empty text (as a save to a new file and
// every check whether the graph changed do) and over its own text (as a save over the opened
// file does). Two documents: a new graph's, and a full one with five formulas, sixteen labels
// and thirty-two parameters.
#include "FrameTimes.h"
#include "GraphDocument.h"
#include "GraphModel.h"
#include "IniFile.h"

#include <QApplication>

#include <cstdio>

namespace {

constexpr int Repetitions = 500;

QByteArray written(const GraphModel& model, IniFile ini = IniFile()) {
  WriteGraphModel(ini, model);
  return ini.Contents();
}

GraphModel fullModel(GraphModel model) {
  for (int n = 0; n < GraphModel::FormulaCount; ++n)
    model.formulas[std::size_t(n)].Formula = QStringLiteral("a%1*sin(b%1*x)+c%1").arg(n);
  for (int n = 0; n < GraphModel::LabelCount; ++n)
    model.labels[std::size_t(n)] =
        GraphLabelRecord{QStringLiteral(u"ラベル %1").arg(n + 1), 0, 10 * n, 5 * n, n + 1, {}};
  for (int n = 0; n < GraphParameters::MaxCount; ++n)
    model.parameters.add({QStringLiteral("p%1").arg(n), 0.5 * n, -100, 100});
  return model;
}

void report(const char* what, const FrameTimes& t) {
  std::printf("  %-28s %8.1f us %8.1f us\n", what, 1000 * t.fastest, 1000 * t.median);
}

void measure(const char* name, const GraphModel& model) {
  const QByteArray text = written(model);
  const IniFile parsed = IniFile::FromBytes(text);
  std::printf("%s (%lld bytes, %d runs each)           fastest     median\n", name,
              static_cast<long long>(text.size()), Repetitions);
  report("parse the text", timeFrames(Repetitions, [&](int) { IniFile::FromBytes(text); }));
  report("read the model", timeFrames(Repetitions, [&](int) {
           GraphModel read = model;
           ReadGraphModel(parsed, read);
         }));
  report("save into an empty text", timeFrames(Repetitions, [&](int) { written(model); }));
  report("save over its own text", timeFrames(Repetitions, [&](int) { written(model, parsed); }));
}

} // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "minimal");
  const QApplication application(argc, argv);
  const GraphModel newGraph = GraphModel::NewGraph();
  measure("new graph", newGraph);
  measure("full graph", fullModel(newGraph));
  return 0;
}
