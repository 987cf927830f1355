#include "FormulaCheck.h"

#include "Evalon.h"
#include "FormulaHints.h"
#include "FuncFormula.h"
#include "PathCurve.h"

namespace {

constexpr int CheckPoints = 64;

// Point i of CheckPoints, from xMin to xMax inclusive.
long double pointAt(int i, long double xMin, long double xMax) {
  return xMin + (xMax - xMin) * i / (CheckPoints - 1);
}

} // namespace

// Evaluated as a curve evaluates its slot, so the check and the drawing can never disagree.
FormulaVerdict checkFormula(TEvalon* evalon, const QString& formula, long double first,
                            long double last, CurveKind kind) {
  FormulaVerdict verdict;
  verdict.hint = formulaHint(formula);
  if (!evalon || formula.isEmpty()) return verdict;
  TFormula probe;
  probe.Formula = formula;
  probe.Kind = kind;
  const RunningVariableKeeper keeper(evalon, runningVariable(kind));
  for (int i = 0; i < CheckPoints; ++i) {
    probe.Calculate(evalon, pointAt(i, first, last));
    if (!probe.Error()) return verdict;
    // Codes 0 and 1 mean there is no engine to ask, which says nothing of the formula.
    if (evalon->ErrorCode() < 2) return verdict;
    if (verdict.message.isEmpty()) verdict.message = evalon->ErrorMessage();
  }
  verdict.failed = true;
  return verdict;
}
