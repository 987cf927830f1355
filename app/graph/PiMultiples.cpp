#include "PiMultiples.h"

#include "NumberFormat.h"

#include <cmath>
#include <cstdint>

namespace {

// Denominators up to this are written as fractions: ticks at π/12 read better than at 0.083π.
constexpr std::int64_t LargestDenominator = 64;
// The running sum of a tick walk stays this close to a true fraction.
constexpr long double Closeness = 1e-9L;
// Beyond this no fraction is written; the value is large and its decimals are noise.
constexpr long double LargestFraction = 1e9L;

QString fractionText(std::int64_t numerator, std::int64_t denominator) {
  const QString sign = numerator < 0 ? QStringLiteral("-") : QString();
  const std::int64_t size = std::llabs(numerator);
  const QString times = size == 1 ? QString() : QString::number(size);
  const QString over = denominator == 1 ? QString() : QStringLiteral("/%1").arg(denominator);
  return sign + times + QStringLiteral(u"π") + over;
}

} // namespace

QString PiMultipleText(long double multiple) {
  if (!std::isfinite(multiple)) return formatGeneral(multiple, 2) + QStringLiteral(u"π");
  if (std::fabs(multiple) < Closeness) return QStringLiteral("0");
  if (std::fabs(multiple) < LargestFraction)
    for (std::int64_t denominator = 1; denominator <= LargestDenominator; ++denominator) {
      // The smallest denominator that fits gives the fraction in lowest terms.
      const long double numerator = std::round(multiple * denominator);
      if (std::fabs(multiple - numerator / denominator) <=
          Closeness * std::fmax(1.0L, std::fabs(multiple)))
        return fractionText(static_cast<std::int64_t>(numerator), denominator);
    }
  return formatGeneral(multiple, 2) + QStringLiteral(u"π");
}
