// feedback_bench: the time the function dialog's check of a formula takes per keystroke, on
// the graph's default range, for formulas that succeed at once, succeed only on part of the
// range, and fail everywhere (the worst case: every point is evaluated).
#include "Evalon.h"
#include "FormulaCheck.h"

#include <QCoreApplication>
#include <QString>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

constexpr int Repetitions = 30;
constexpr const char* Formulas[] = {"sin(x)*2^3", "exp(-x*x/2)*sin(10*x)",     "sqrt(x)", "sin(",
                                    "2x",         "log(x-20)*atan(x)-tan(x/4)"};

struct Times {
  double fastest;
  double median;
};

Times measure(TEvalon& evalon, const QString& formula) {
  std::vector<double> ms;
  for (int n = 0; n < Repetitions; ++n) {
    const auto start = std::chrono::steady_clock::now();
    checkFormula(&evalon, formula, -10, 10);
    const auto end = std::chrono::steady_clock::now();
    ms.push_back(std::chrono::duration<double, std::milli>(end - start).count());
  }
  std::sort(ms.begin(), ms.end());
  return {ms.front(), (ms[Repetitions / 2 - 1] + ms[Repetitions / 2]) / 2};
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
    const Times t = measure(evalon, text);
    std::printf("  %-30s %7.4f ms %7.4f ms  %s\n", formula, t.fastest, t.median,
                checkFormula(&evalon, text, -10, 10).failed ? "yes" : "no");
  }
  return EXIT_SUCCESS;
}
