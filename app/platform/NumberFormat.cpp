#include "NumberFormat.h"

#include <QLocale>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string>
#include <string_view>

namespace {

constexpr int MinPrecision = 2;
constexpr int TakenDigits = 18;

// A positive value as 0.d1d2... x 10^exponent with d1 != 0.
struct Decimal {
  std::string digits;
  int exponent = 0;
};

// The value's 18 significant digits, nearest. to_chars is used because, unlike printf, it
// ignores the process locale, which the application sets from the user's environment.
Decimal takeDigits(long double magnitude) {
  char text[64];
  const char* end = std::to_chars(text, text + sizeof text, magnitude,
                                  std::chars_format::scientific, TakenDigits - 1)
                        .ptr;
  // "d.ddddddddddddddddde+x" or "...e-x": the exponent's sign follows the 'e' at index 19.
  const std::string_view written(text, end - text);
  std::string_view exponent = written.substr(TakenDigits + 2);
  if (exponent.front() == '+') exponent.remove_prefix(1);
  Decimal d;
  d.digits = std::string(1, written[0]) + std::string(written.substr(2, TakenDigits - 1));
  std::from_chars(exponent.data(), end, d.exponent);
  ++d.exponent;
  return d;
}

// Adds 1 to the last digit. Nines that carry are cut off instead of becoming zeros, which
// would be dropped anyway; a carry out of the first digit raises the exponent.
void roundUp(Decimal& d) {
  const auto last = d.digits.find_last_not_of('9');
  if (last == std::string::npos) {
    d.digits = "1";
    ++d.exponent;
    return;
  }
  ++d.digits[last];
  d.digits.resize(last + 1);
}

// Cuts to precision digits, rounding half up on the first dropped digit; drops trailing zeros.
void roundTo(Decimal& d, int precision) {
  if (precision < TakenDigits) {
    const bool up = d.digits[precision] >= '5';
    d.digits.resize(precision);
    if (up) roundUp(d);
  }
  d.digits.erase(d.digits.find_last_not_of('0') + 1);
}

QString fixedNotation(const QString& digits, int exponent, const QString& separator) {
  if (exponent <= 0)
    return QLatin1Char('0') + separator + QString(-exponent, QLatin1Char('0')) + digits;
  const QString whole = digits.left(exponent).leftJustified(exponent, QLatin1Char('0'));
  const QString rest = digits.mid(exponent);
  return rest.isEmpty() ? whole : whole + separator + rest;
}

QString scientificNotation(const QString& digits, int exponent, const QString& separator) {
  QString text = digits.left(1);
  if (digits.size() > 1) text += separator + digits.mid(1);
  return text + QLatin1Char('E') + QString::number(exponent - 1);
}

} // namespace

QString formatGeneral(long double value, int precision, const QString& decimalSeparator) {
  if (std::isnan(value)) return QStringLiteral("NAN");
  const QString sign = std::signbit(value) && value != 0 ? QStringLiteral("-") : QString();
  if (std::isinf(value)) return sign + QStringLiteral("INF");
  if (value == 0) return QStringLiteral("0");

  precision = std::clamp(precision, MinPrecision, TakenDigits);
  Decimal d = takeDigits(std::fabs(value));
  roundTo(d, precision);
  const QString digits = QString::fromLatin1(d.digits.data(), qsizetype(d.digits.size()));
  const bool fixed = d.exponent >= -3 && d.exponent <= precision;
  return sign + (fixed ? fixedNotation(digits, d.exponent, decimalSeparator)
                       : scientificNotation(digits, d.exponent, decimalSeparator));
}

QString formatGeneral(long double value, int precision) {
  return formatGeneral(value, precision, QLocale::system().decimalPoint());
}
