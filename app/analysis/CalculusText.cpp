#include "CalculusText.h"

#include "NumberFormat.h"

#include <cmath>

namespace {

constexpr int EquationDigits = 10;

} // namespace

QString TangentEquation(double slope, double intercept) {
  const QString sign = intercept < 0 ? QStringLiteral(" - ") : QStringLiteral(" + ");
  return QStringLiteral("y = %1 x%2%3")
      .arg(formatGeneral(slope, EquationDigits), sign,
           formatGeneral(std::fabs(intercept), EquationDigits));
}

QString DerivativeReason(const DerivativeResult& result) {
  switch (result.failure) {
  case DerivativeFailure::NoValue:
    return QStringLiteral(u"関数の値がありません");
  case DerivativeFailure::NotDifferentiable:
    return QStringLiteral(u"微分できません");
  case DerivativeFailure::None:
    break;
  }
  return QString();
}

QString IntegralReason(const IntegralResult& result) {
  switch (result.failure) {
  case IntegralFailure::NoValue:
    return QStringLiteral(u"x = %1 で関数の値がありません").arg(formatGeneral(result.where));
  case IntegralFailure::NoConvergence:
    return QStringLiteral(u"積分が収束しません");
  case IntegralFailure::None:
    break;
  }
  return QString();
}
