// undo_bench: the time of an undo and of a redo on a 1920 x 1080 graph with five of the engine
// benchmark's formulas, sixteen labels and parameters, each the whole work from the command to
// the curves drawn again; the time an edit costs the history when it records its step; and the
// size of one step's document.
#include "FiveCurveGraph.h"
#include "FrameTimes.h"
#include "GraphDocument.h"
#include "UndoStack.h"

#include <QApplication>

#include <cstdio>
#include <cstdlib>

namespace {

constexpr int Repetitions = FiveCurveRepetitions;

void fillGraph(TFuncGraph& graph) {
  for (int n = 1; n <= TFuncGraph::LabelCount; ++n)
    graph.AddLabel(40 * n, 30 * n);
  for (const char* name : {"a", "b", "c"})
    graph.addParameter(QString::fromLatin1(name));
}

} // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  TEvalon evalon;
  TFuncGraph graph;
  setUpFiveCurveGraph("undo_bench", evalon, graph);
  fillGraph(graph);
  graph.DrawFunctions();
  TUndoStack stack(&graph);
  std::int64_t now = 0;
  stack.setClock([&now] { return now; });

  // Each edit long after the last, so that each is a step of its own.
  const FrameTimes record = timeFrames(Repetitions, [&](int frame) {
    now += 10000;
    graph.setMarginLeft(20 + frame % 2);
    stack.seal();
  });
  const FrameTimes undo = timeFrames(Repetitions, [&](int) { stack.undo(); });
  const FrameTimes redo = timeFrames(Repetitions, [&](int) { stack.redo(); });

  std::printf("Undo, five formulas, 16 labels, 3 parameters, 1920 x 1080 control (%d each)\n",
              Repetitions);
  std::printf("                     fastest     median\n");
  std::printf("  edit and its step %7.3f ms %7.3f ms\n", record.fastest, record.median);
  std::printf("  undo, redrawn     %7.3f ms %7.3f ms\n", undo.fastest, undo.median);
  std::printf("  redo, redrawn     %7.3f ms %7.3f ms\n", redo.fastest, redo.median);
  std::printf("  one step's document %lld bytes, %zu steps at most\n",
              static_cast<long long>(DocumentState(graph.Model()).size()),
              UndoHistory::DefaultLimit);
  return EXIT_SUCCESS;
}
