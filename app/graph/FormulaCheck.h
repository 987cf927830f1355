// checkFormula: whether a formula gives a value anywhere in a range of the variable it runs
// over (x, t or y after the slot's kind), tried with the engine at evenly spread points, and
// the engine's message when it gives none.
#pragma once

#include "CurveKind.h"

#include <QString>

class TEvalon;

struct FormulaVerdict {
  // True only when the formula failed at every point and the engine said why.
  bool failed = false;
  // The engine's message for the first failing point when failed; empty otherwise.
  QString message;
  // A word on a likely slip whether or not the formula fails (formulaHint); empty when
  // there is none.
  QString hint;
};

// Writes the engine variable x at each point; the curves write x before every sample they
// take, so what they draw does not depend on it. The t and y of the other kinds get their
// values back, since they may be parameters of other slots. An empty text, or a missing engine,
// gives no verdict of failure.
FormulaVerdict checkFormula(TEvalon* evalon, const QString& formula, long double first,
                            long double last, CurveKind kind = CurveKind::Function);
