#include "FormulaCheck.h"

#include "Evalon.h"
#include "FormulaHints.h"
#include "FuncFormula.h"
#include "SlotCurve.h"

namespace {

constexpr int CheckPoints = 64;

// Point i of CheckPoints, from xMin to xMax inclusive.
long double pointAt(int i, long double xMin, long double xMax) {
  return xMin + (xMax - xMin) * i / (CheckPoints - 1);
}

} // namespace

FormulaVerdict checkFormula(TEvalon* evalon, const QString& formula, long double xMin,
                            long double xMax) {
  FormulaVerdict verdict;
  verdict.hint = formulaHint(formula);
  if (!evalon || formula.isEmpty()) return verdict;
  // Evaluated as a curve evaluates its slot, so the check and the drawing can never disagree.
  TFormula probe;
  probe.Formula = formula;
  return withCurve(probe, evalon, [&](GraphCurve& curve) {
    for (int i = 0; i < CheckPoints; ++i) {
      if (curve.valueAt(pointAt(i, xMin, xMax))) return verdict;
      // Codes 0 and 1 mean there is no engine to ask, which says nothing of the formula.
      if (evalon->ErrorCode() < 2) return verdict;
      if (verdict.message.isEmpty()) verdict.message = curve.reason();
    }
    verdict.failed = true;
    return verdict;
  });
}
