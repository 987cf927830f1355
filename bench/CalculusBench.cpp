// calculus_bench: the time of one integral (a smooth one, one with an end singularity, one over
// the whole line) and of one derivative curve over 1920 columns, through plain functions, and of
// a redraw of a 1920 x 1080 graph with a derivative curve, a tangent and an area through the
// engine.
#include "Derivative.h"
#include "FiveCurveGraph.h"
#include "FrameTimes.h"
#include "Integral.h"

#include <QApplication>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

namespace {

constexpr int Repetitions = 30;

SampledFunction plain(double (*f)(double)) {
  return [f](double x) -> std::optional<double> { return f(x); };
}

void integralRow(const char* name, const SampledFunction& f, double a, double b) {
  IntegralResult r;
  const FrameTimes t = timeFrames(Repetitions, [&](int) { r = integral(f, a, b); });
  std::printf("  %-26s %8.3f ms %8.3f ms  %6d evaluations\n", name, t.fastest, t.median,
              r.evaluations);
}

} // namespace

int main(int argc, char** argv) {
  std::printf("Calculus (%d runs each)                fastest     median\n", Repetitions);
  integralRow("integral sin, 0..pi", plain([](double x) { return std::sin(x); }), 0, M_PI);
  integralRow("integral x^-1/2, 0..1", plain([](double x) { return 1 / std::sqrt(x); }), 0, 1);
  constexpr double Inf = std::numeric_limits<double>::infinity();
  integralRow("integral exp(-x^2), line", plain([](double x) { return std::exp(-x * x); }), -Inf,
              Inf);
  const SampledFunction f = plain([](double x) { return std::sin(x) * std::exp(-x / 10); });
  const FrameTimes curve = timeFrames(Repetitions, [&](int) {
    for (int c = 0; c < 1920; ++c)
      centralDerivative(f, -10 + 20.0 * c / 1920);
  });
  std::printf("  %-26s %8.3f ms %8.3f ms\n", "derivative, 1920 columns", curve.fastest,
              curve.median);

  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  TEvalon evalon;
  TFuncGraph graph;
  setUpFiveCurveGraph("calculus_bench", evalon, graph);
  GraphCalculus calculus;
  calculus.derivatives[0] = true;
  calculus.tangents.push_back({2, 1.0});
  calculus.areas.push_back({3, 0, -1.0, 2.0});
  graph.setCalculus(calculus);
  const FrameTimes redraw = timeFrames(Repetitions, [&](int) { graph.DrawFunctions(); });
  std::printf("  %-26s %8.3f ms %8.3f ms\n", "redraw with the marks", redraw.fastest,
              redraw.median);
  return EXIT_SUCCESS;
}
