// feedback_bench: the time the function dialog's check of a formula takes per keystroke, on
// the graph's default range, for formulas that succeed at once, succeed only on part of the
// range, and fail everywhere (the worst case: every point is evaluated).
#include "Evalon.h"
#include "FormulaCheck.h"
#include "FrameTimes.h"

#include <QCoreApplication>
#include <QString>

#include <cstdio>
#include <cstdlib>

namespace {

constexpr int Repetitions = 30;
constexpr const char* Formulas[] = {"sin(x)*2^3", "exp(-x*x/2)*sin(10*x)",     "sqrt(x)", "sin(",
                                    "2x",         "log(x-20)*atan(x)-tan(x/4)"};

FrameTimes measure(TEvalon& evalon, const QString& formula) {
  return timeFrames(Repetitions, [&](int) { checkFormula(&evalon, formula, -10, 10); });
}

} // namespace

int main(int argc, char** argv) {
  // The binding looks for the engine beside the program.
  QCoreApplication application(argc, argv);
  TEvalon evalon;
  if (!evalon.LoadEngine()) {
    std::fprintf(stderr, "feedback_bench: the engine library did not load\n");
    return EXIT_FAILURE;
  }
  std::printf("Formula check per keystroke, x from -10 to 10 (%d checks each)\n", Repetitions);
  std::printf("  %-30s  fastest     median    fails everywhere\n", "formula");
  for (const char* formula : Formulas) {
    const QString text = QString::fromLatin1(formula);
    const FrameTimes t = measure(evalon, text);
    std::printf("  %-30s %7.4f ms %7.4f ms  %s\n", formula, t.fastest, t.median,
                checkFormula(&evalon, text, -10, 10).failed ? "yes" : "no");
  }
  return EXIT_SUCCESS;
}
