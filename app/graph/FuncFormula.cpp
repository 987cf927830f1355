#include "FuncFormula.h"

#include "Evalon.h"
#include "ParameterNames.h"
#include "Utf8Codec.h"

#include <cmath>
#include <cstring>

bool TFormula::Used() const {
  return !Formula.isEmpty() || (Kind == CurveKind::Parametric && !FormulaY.isEmpty());
}

QString TFormula::Caption() const {
  switch (Kind) {
  case CurveKind::Parametric:
    return QStringLiteral("x = %1, y = %2").arg(Formula, FormulaY);
  case CurveKind::Polar: return QStringLiteral("r = ") + Formula;
  case CurveKind::XOfY: return QStringLiteral("x = ") + Formula;
  case CurveKind::Function:
  case CurveKind::Relation: break;
  }
  return Formula;
}

QStringList TFormula::Texts() const {
  if (Kind == CurveKind::Parametric) return {Formula, FormulaY};
  return {Formula};
}

QStringList TFormula::ParameterNames() const {
  QStringList names;
  for (const QString& text : Texts())
    for (const QString& name : parameterNames(text))
      if (!names.contains(name)) names << name;
  names.removeAll(QLatin1String(runningVariable(Kind)));
  // A relation runs over both x and y.
  if (Kind == CurveKind::Relation) names.removeAll(QStringLiteral("y"));
  return names;
}

const QByteArray& TFormula::Encoded::of(const QString& formula) {
  if (formula != text) {
    text = formula;
    bytes = toUtf8KeepingBytes(formula);
  }
  return bytes;
}

long double TFormula::evaluate(TEvalon* evalon, Encoded& encoded, const QString& text) {
  return evalon->CalcValue(encoded.of(text), error);
}

long double TFormula::evaluateAt(TEvalon* evalon, long double v, Encoded& encoded,
                                 const QString& text) {
  // Raw data: a sample allocates nothing for the name.
  const char* name = runningVariable(Kind);
  const QByteArray variable = QByteArray::fromRawData(name, qsizetype(std::strlen(name)));
  error = true;
  if (!evalon || evalon->SetVariable(variable, static_cast<double>(v))) return 0.0L;
  return evaluate(evalon, encoded, text);
}

long double TFormula::Calculate(TEvalon* evalon, long double v) {
  return evaluateAt(evalon, v, encodedX, Formula);
}

long double TFormula::CalculateY(TEvalon* evalon, long double t) {
  return evaluateAt(evalon, t, encodedY, FormulaY);
}

// Polar points are computed from the t the engine was given, so that r and the angle agree.
bool TFormula::CalculatePoint(TEvalon* evalon, long double t, long double& x, long double& y) {
  const double engineT = static_cast<double>(t);
  const long double first = Calculate(evalon, engineT);
  if (error) return false;
  // The angle's sine and cosine in double: far finer than any picture, and several times faster
  // than in long double.
  if (Kind == CurveKind::Polar) {
    x = first * std::cos(engineT);
    y = first * std::sin(engineT);
    return true;
  }
  x = first;
  y = evaluate(evalon, encodedY, FormulaY);
  return !error;
}

const std::optional<Relation>& TFormula::RelationOf() {
  if (Formula != relationText) {
    relationText = Formula;
    relation = splitRelation(Formula);
    relationDifference = relation ? relation->difference() : QString();
  }
  return relation;
}

bool TFormula::CalculateRelation(TEvalon* evalon, long double x, long double y,
                                 long double& difference) {
  static const QByteArray nameX = QByteArrayLiteral("x");
  static const QByteArray nameY = QByteArrayLiteral("y");
  error = true;
  const std::optional<Relation>& split = RelationOf();
  if (!split || !evalon || evalon->SetVariable(nameX, static_cast<double>(x)) ||
      evalon->SetVariable(nameY, static_cast<double>(y)))
    return false;
  difference = evaluate(evalon, encodedRelation, relationDifference);
  return !error;
}
