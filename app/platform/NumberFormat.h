// The general number format: the one text form of reals in Kurvo (axis values, document
// reals, status-bar coordinates, settings fields), and the text form of the integers of
// document files.
#pragma once

#include <QAnyStringView>
#include <QString>

#include <cstdint>
#include <optional>

// Writes value with at most precision significant digits. A precision below 2 counts as 2 and
// one above 18 as 18, since only 18 digits are taken from the value. Trailing zeros are dropped;
// the notation is fixed when the value is 0.d1d2... x 10^e with -3 <= e <= precision, and
// "d.ddE<e-1>" otherwise. Zero, also negative zero, is "0"; NaN is "NAN" whatever its sign, and
// the infinities are "INF" and "-INF".
QString formatGeneral(long double value, int precision, const QString& decimalSeparator);

// The same with the decimal separator of the user's locale (Qt's default locale, which is the
// user's unless the program sets another); the default precision is that of the plain "%g".
QString formatGeneral(long double value, int precision = 15);

// The one text-to-number conversion of the program: blanks around, an optional sign, digits with
// an optional "." and more digits (at least one digit in all), and an optional exponent of "E"
// or "e", an optional sign and digits. Independent of the locale. Nothing for any other text
// and for a value beyond the range of long double.
std::optional<long double> textToFloat(const QString& text);

// The same grammar with decimalSeparator accepted as well as ".".
std::optional<long double> textToFloat(const QString& text, const QString& decimalSeparator);

// Reads a number as a person types it where formatGeneral(value) shows numbers: with the
// decimal separator of the user's locale or ".", so that a field always takes the text it shows.
std::optional<long double> localeTextToFloat(const QString& text);

// Reads a 32-bit integer as document files hold them: blanks (spaces and tabs) around, an
// optional "+" or "-", then decimal digits up to 2147483647 (2147483648 after "-"), or
// hexadecimal digits after "0x", "0X" or "$" up to 0xFFFFFFFF, taken as the 32-bit pattern so
// that system colours read back ("-" then negates the pattern). Nothing for any other text.
std::optional<std::int32_t> textToInteger(QAnyStringView text);
// The same for bytes, read with no look at what kind of text they are: document files read
// integers by the hundred.
std::optional<std::int32_t> textToInteger(QLatin1StringView text);
