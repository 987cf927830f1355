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
  return formatGeneral(value, precision, QLocale().decimalPoint());
}

namespace {

bool isDigit(char c) {
  return c >= '0' && c <= '9';
}

qsizetype skipDigits(const std::string& text, qsizetype i) {
  while (i < static_cast<qsizetype>(text.size()) && isDigit(text[i]))
    ++i;
  return i;
}

// Whether text (without blanks around) is a number of the grammar of textToFloat.
bool isNumberText(const std::string& text) {
  qsizetype i = 0;
  if (!text.empty() && (text[0] == '+' || text[0] == '-')) ++i;
  const qsizetype intStart = i;
  i = skipDigits(text, i);
  qsizetype digits = i - intStart;
  if (i < static_cast<qsizetype>(text.size()) && text[i] == '.') {
    const qsizetype fracStart = ++i;
    i = skipDigits(text, i);
    digits += i - fracStart;
  }
  if (digits == 0) return false;
  if (i < static_cast<qsizetype>(text.size()) && (text[i] == 'e' || text[i] == 'E')) {
    ++i;
    if (i < static_cast<qsizetype>(text.size()) && (text[i] == '+' || text[i] == '-')) ++i;
    const qsizetype expStart = i;
    i = skipDigits(text, i);
    if (i == expStart) return false;
  }
  return i == static_cast<qsizetype>(text.size());
}

} // namespace

std::optional<long double> textToFloat(const QString& text) {
  std::string number = text.trimmed().toStdString();
  if (!isNumberText(number)) return std::nullopt;
  if (number[0] == '+') number.erase(0, 1);
  // from_chars reads neither a leading "+" nor "5." followed by an exponent the same way
  // everywhere, so the fraction's point is dropped when no digit follows it.
  if (const auto point = number.find('.');
      point != std::string::npos && (point + 1 == number.size() || !isDigit(number[point + 1])))
    number.erase(point, 1);
  long double value = 0.0L;
  const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), value);
  if (error != std::errc() || end != number.data() + number.size()) return std::nullopt;
  return value;
}

std::optional<long double> textToFloat(const QString& text, const QString& decimalSeparator) {
  if (decimalSeparator.isEmpty() || decimalSeparator == QLatin1String("."))
    return textToFloat(text);
  QString withPoint = text;
  return textToFloat(withPoint.replace(decimalSeparator, QStringLiteral(".")));
}

std::optional<long double> localeTextToFloat(const QString& text) {
  return textToFloat(text, QLocale().decimalPoint());
}
