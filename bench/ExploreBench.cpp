// explore_bench: the time of one frame while a person explores a 1920 x 1080 graph with five
// of the engine benchmark's formulas: one pan step (a mouse move during a drag) and one zoom
// step (a wheel notch), each the whole work from the event to the composed picture: the new
// range, the axes layer, the curves and the painting of the control; and the pan step again with
// the legend shown, which is laid out and drawn anew with the axes.
#include "FiveCurveGraph.h"
#include "FrameTimes.h"

#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

#include <cstdio>
#include <cstdlib>
#include <functional>

namespace {

constexpr int Repetitions = FiveCurveRepetitions;

FrameTimes measure(const std::function<void(int frame)>& frame) {
  return timeFrames(Repetitions, frame);
}

// What the screen shows after a step: the control painted into a picture of its size.
void compose(TFuncGraph& graph, QImage& screen) {
  QPainter painter(&screen);
  graph.render(&painter);
}

void send(TFuncGraph& graph, QEvent::Type type, QPointF at, Qt::MouseButton button,
          Qt::MouseButtons held) {
  QMouseEvent event(type, at, graph.mapToGlobal(at), button, held, Qt::NoModifier);
  QCoreApplication::sendEvent(&graph, &event);
}

} // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  TEvalon evalon;
  TFuncGraph graph;
  setUpFiveCurveGraph("explore_bench", evalon, graph);
  graph.DrawFunctions();
  QImage screen(graph.size(), QImage::Format_RGB32);

  // A drag that moves the pointer back and forth by a few pixels: every frame a new range.
  const auto panFrames = [&] {
    const QPointF press(960, 540);
    send(graph, QEvent::MouseButtonPress, press, Qt::LeftButton, Qt::LeftButton);
    const FrameTimes times = measure([&](int frame) {
      const QPointF at = press + QPointF(frame % 2 ? 20 : 27, frame % 2 ? -9 : 13);
      send(graph, QEvent::MouseMove, at, Qt::NoButton, Qt::LeftButton);
      compose(graph, screen);
    });
    send(graph, QEvent::MouseButtonRelease, press, Qt::LeftButton, Qt::NoButton);
    return times;
  };
  const FrameTimes pan = panFrames();

  // Notches in and out in turn about a point off the centre.
  const QPointF pointer(700, 400);
  const FrameTimes zoom = measure([&](int frame) {
    QWheelEvent event(pointer, graph.mapToGlobal(pointer), QPoint(),
                      QPoint(0, frame % 2 ? -120 : 120), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(&graph, &event);
    compose(graph, screen);
  });

  graph.setLegendVisible(true);
  const FrameTimes legendPan = panFrames();

  std::printf("Explore frame, five formulas, 1920 x 1080 control (%d frames each)\n", Repetitions);
  std::printf("             fastest     median\n");
  std::printf("  pan step  %7.3f ms %7.3f ms\n", pan.fastest, pan.median);
  std::printf("  zoom step %7.3f ms %7.3f ms\n", zoom.fastest, zoom.median);
  std::printf("  pan step, legend shown %7.3f ms %7.3f ms\n", legendPan.fastest, legendPan.median);
  return EXIT_SUCCESS;
}
