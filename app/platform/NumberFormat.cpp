#include "NumberFormat.h"

#include <QLocale>

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <string>
#include <string_view>

namespace {

constexpr int MinPrecision = 2;
constexpr int TakenDigits = 18;

// A positive value as 0.d1d2... x 10^exponent with d1 != 0; digits on the stack, as the
// program formats a number for every label and every saved real.
struct Decimal {
  std::array<char, TakenDigits> digits{};
  int count = 0;
  int exponent = 0;

  QLatin1StringView text(int from, int to) const {
    from = std::clamp(from, 0, count);
    return QLatin1StringView(digits.data() + from, std::clamp(to, from, count) - from);
  }
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
  d.digits[0] = written[0];
  std::copy_n(written.data() + 2, TakenDigits - 1, d.digits.begin() + 1);
  d.count = TakenDigits;
  std::from_chars(exponent.data(), end, d.exponent);
  ++d.exponent;
  return d;
}

// Adds 1 to the last digit. Nines that carry are cut off instead of becoming zeros, which
// would be dropped anyway; a carry out of the first digit raises the exponent.
void roundUp(Decimal& d) {
  int last = d.count - 1;
  while (last >= 0 && d.digits[std::size_t(last)] == '9')
    --last;
  if (last < 0) {
    d.digits[0] = '1';
    d.count = 1;
    ++d.exponent;
    return;
  }
  ++d.digits[std::size_t(last)];
  d.count = last + 1;
}

// Cuts to precision digits, rounding half up on the first dropped digit; drops trailing zeros.
void roundTo(Decimal& d, int precision) {
  if (precision < TakenDigits) {
    const bool up = d.digits[std::size_t(precision)] >= '5';
    d.count = precision;
    if (up) roundUp(d);
  }
  while (d.count > 0 && d.digits[std::size_t(d.count - 1)] == '0')
    --d.count;
}

void appendZeros(QString& text, int count) {
  for (; count > 0; --count)
    text.append(QLatin1Char('0'));
}

void appendFixed(QString& text, const Decimal& d, const QString& separator) {
  if (d.exponent <= 0) {
    text.append(QLatin1Char('0')).append(separator);
    appendZeros(text, -d.exponent);
    text.append(d.text(0, d.count));
    return;
  }
  text.append(d.text(0, d.exponent));
  appendZeros(text, d.exponent - d.count);
  if (d.count > d.exponent) text.append(separator).append(d.text(d.exponent, d.count));
}

void appendScientific(QString& text, const Decimal& d, const QString& separator) {
  text.append(d.text(0, 1));
  if (d.count > 1) text.append(separator).append(d.text(1, d.count));
  char exponent[12];
  const char* end = std::to_chars(exponent, exponent + sizeof exponent, d.exponent - 1).ptr;
  text.append(QLatin1Char('E')).append(QLatin1StringView(exponent, end - exponent));
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
  QString text;
  text.reserve(TakenDigits + 12 + 2 * decimalSeparator.size());
  text.append(sign);
  if (d.exponent >= -3 && d.exponent <= precision)
    appendFixed(text, d, decimalSeparator);
  else
    appendScientific(text, d, decimalSeparator);
  return text;
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

namespace {

// A character of a view of text as a UTF-16 unit: ASCII as it is, any other no digit or sign.
char16_t unitOf(char c) {
  return static_cast<unsigned char>(c);
}
char16_t unitOf(QLatin1Char c) {
  return c.unicode();
}
char16_t unitOf(QChar c) {
  return c.unicode();
}

int digitValue(char16_t c) {
  if (c >= u'0' && c <= u'9') return c - u'0';
  if (c >= u'a' && c <= u'f') return c - u'a' + 10;
  return c >= u'A' && c <= u'F' ? c - u'A' + 10 : 16;
}

bool isBlankUnit(char16_t c) {
  return c == u' ' || c == u'\t';
}

// Whether text starts with the ASCII prefix.
template <class View> bool startsWith(View text, std::u16string_view prefix) {
  if (text.size() < qsizetype(prefix.size())) return false;
  for (std::size_t i = 0; i < prefix.size(); ++i)
    if (unitOf(text[qsizetype(i)]) != prefix[i]) return false;
  return true;
}

template <class View>
std::optional<std::uint32_t> parseDigits(View digits, int base, std::uint64_t limit) {
  if (digits.isEmpty()) return std::nullopt;
  std::uint64_t value = 0;
  for (qsizetype i = 0; i < digits.size(); ++i) {
    const int digit = digitValue(unitOf(digits[i]));
    if (digit >= base) return std::nullopt;
    value = value * unsigned(base) + unsigned(digit);
    if (value > limit) return std::nullopt;
  }
  return static_cast<std::uint32_t>(value);
}

template <class View> std::optional<std::int32_t> parseInteger(View text) {
  while (!text.isEmpty() && isBlankUnit(unitOf(text.front())))
    text = text.sliced(1);
  while (!text.isEmpty() && isBlankUnit(unitOf(text.back())))
    text = text.first(text.size() - 1);
  const bool negative = startsWith(text, u"-");
  if (negative || startsWith(text, u"+")) text = text.sliced(1);
  std::optional<std::uint32_t> pattern;
  if (startsWith(text, u"0x") || startsWith(text, u"0X"))
    pattern = parseDigits(text.sliced(2), 16, 0xFFFFFFFFu);
  else if (startsWith(text, u"$"))
    pattern = parseDigits(text.sliced(1), 16, 0xFFFFFFFFu);
  else
    pattern = parseDigits(text, 10, negative ? 0x80000000u : 0x7FFFFFFFu);
  if (!pattern) return std::nullopt;
  return static_cast<std::int32_t>(negative ? 0u - *pattern : *pattern);
}

} // namespace

std::optional<std::int32_t> textToInteger(QAnyStringView text) {
  return text.visit([](auto view) { return parseInteger(view); });
}

std::optional<std::int32_t> textToInteger(QLatin1StringView text) {
  return parseInteger(text);
}
