#include "GraphCurve.h"

#include "FunctionCurve.h"

// Every slot is a function of x today; other kinds of curve are added here.
std::unique_ptr<GraphCurve> makeCurve(TFormula& slot, TEvalon* evalon) {
  return std::make_unique<FunctionCurve>(slot, evalon);
}
