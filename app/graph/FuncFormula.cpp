#include "FuncFormula.h"

#include "Evalon.h"
#include "Utf8Codec.h"

// A curve evaluates its formula at every pixel column, so the text is encoded once for each
// new text rather than at every sample.
long double TFormula::Calculate(TEvalon* evalon, long double x) {
  static const QByteArray variable = QByteArrayLiteral("x");
  error = true;
  if (!evalon || evalon->SetVariable(variable, static_cast<double>(x))) return 0.0L;
  if (Formula != encodedText) {
    encodedText = Formula;
    encoded = toUtf8KeepingBytes(Formula);
  }
  return evalon->CalcValue(encoded, error);
}
