#include "FuncFormula.h"

#include "Evalon.h"

long double TFormula::Calculate(TEvalon* evalon, long double x) {
  static const QString variable = QStringLiteral("x");
  error = true;
  if (!evalon || evalon->SetVariable(variable, static_cast<double>(x))) return 0.0L;
  return evalon->CalcValue(Formula, error);
}
