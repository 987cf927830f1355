#include "CoordinatesText.h"

#include "NumberFormat.h"

#include <QFontMetrics>
#include <QStringList>

#include <algorithm>
#include <limits>

namespace {

constexpr int CoordinatePrecision = 3;

// The longest texts of one value: negative, the longest exponent (that of the smallest long
// double), and the longest fixed notation (three digits after three zeros); the words for
// the infinities and NaN.
QStringList longestValues() {
  return {formatGeneral(-std::numeric_limits<long double>::denorm_min(), CoordinatePrecision),
          formatGeneral(-0.000123L, CoordinatePrecision),
          formatGeneral(-std::numeric_limits<long double>::infinity(), CoordinatePrecision),
          formatGeneral(std::numeric_limits<long double>::quiet_NaN(), CoordinatePrecision)};
}

QChar widestDigit(const QFontMetrics& metrics) {
  QChar widest = QLatin1Char('0');
  for (char digit = '1'; digit <= '9'; ++digit)
    if (metrics.horizontalAdvance(QLatin1Char(digit)) > metrics.horizontalAdvance(widest))
      widest = QLatin1Char(digit);
  return widest;
}

} // namespace

QString CoordinatesText(long double x, long double y) {
  return QStringLiteral("(%1,%2)").arg(formatGeneral(x, CoordinatePrecision),
                                       formatGeneral(y, CoordinatePrecision));
}

// Digits of a proportional font differ in width, so every digit of the longest texts is
// measured as the widest one.
int WidestCoordinatesText(const QFontMetrics& metrics) {
  const QChar widest = widestDigit(metrics);
  int width = 0;
  for (QString value : longestValues()) {
    std::replace_if(
        value.begin(), value.end(), [](QChar c) { return c.isDigit(); }, widest);
    width = std::max(width, metrics.horizontalAdvance(QStringLiteral("(%1,%1)").arg(value)));
  }
  return width;
}
