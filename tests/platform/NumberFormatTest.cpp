// Tests of the general number format: digit rounding and carries, the bounds of fixed
// notation, the precision limits, extended-precision values and the non-finite values.
#include "NumberFormat.h"

#include <gtest/gtest.h>

#include <QLocale>

#include <cfloat>
#include <cmath>
#include <limits>
#include <string>

namespace {

std::string fmt(long double value, int precision = 15) {
  return formatGeneral(value, precision, QStringLiteral(".")).toStdString();
}

TEST(NumberFormatTest, DefaultPrecisionExamples) {
  EXPECT_EQ(fmt(-3), "-3");
  EXPECT_EQ(fmt(0.5L), "0.5");
  EXPECT_EQ(fmt(0.0001L), "0.0001");
  EXPECT_EQ(fmt(0.00001L), "1E-5");
  EXPECT_EQ(fmt(1.5e20L), "1.5E20");
  EXPECT_EQ(fmt(0), "0");
  EXPECT_EQ(fmt(123.456L), "123.456");
}

TEST(NumberFormatTest, AxisValuesUseTwoDigits) {
  EXPECT_EQ(fmt(1, 1), "1");
  EXPECT_EQ(fmt(-2.5L, 1), "-2.5");
  EXPECT_EQ(fmt(0.25L, 1), "0.25");
  EXPECT_EQ(fmt(0.125L, 1), "0.13");
  EXPECT_EQ(fmt(12.5L, 1), "13");
  EXPECT_EQ(fmt(99.5L, 1), "1E2");
  EXPECT_EQ(fmt(150, 1), "1.5E2");
  EXPECT_EQ(fmt(0.0001L, 1), "0.0001");
  EXPECT_EQ(fmt(0.00001L, 1), "1E-5");
}

TEST(NumberFormatTest, AxisTickResidueIsScientific) {
  long double v = -15 * 0.2L;
  for (int i = 0; i < 15; ++i)
    v += 0.2L;
  EXPECT_EQ(fmt(v, 1), "3.5E-19");
}

TEST(NumberFormatTest, PrecisionIsClampedToTwoAndEighteen) {
  for (int p : {-5, 0, 1, 2}) {
    EXPECT_EQ(fmt(0.125L, p), "0.13") << p;
    EXPECT_EQ(fmt(150, p), "1.5E2") << p;
  }
  EXPECT_EQ(fmt(1.0L / 3, 18), "0.333333333333333333");
  EXPECT_EQ(fmt(1.0L / 3, 40), "0.333333333333333333");
  EXPECT_EQ(fmt(1e17L, 40), "100000000000000000");
  EXPECT_EQ(fmt(1e18L, 40), "1E18");
}

TEST(NumberFormatTest, RoundsHalfUpWithCarries) {
  EXPECT_EQ(fmt(9.99L, 2), "10");
  EXPECT_EQ(fmt(0.000999L, 1), "0.001");
  EXPECT_EQ(fmt(0.00009999L, 2), "0.0001");
  EXPECT_EQ(fmt(999.5L, 3), "1E3");
  EXPECT_EQ(fmt(1.95L, 2), "2");
  EXPECT_EQ(fmt(2.0L / 3), "0.666666666666667");
  EXPECT_EQ(fmt(-99.5L, 2), "-1E2");
}

TEST(NumberFormatTest, FixedNotationBounds) {
  EXPECT_EQ(fmt(0.001L, 3), "0.001");
  EXPECT_EQ(fmt(0.000123L, 3), "0.000123");
  EXPECT_EQ(fmt(0.0000999L, 3), "9.99E-5");
  EXPECT_EQ(fmt(999, 3), "999");
  EXPECT_EQ(fmt(1000, 3), "1E3");
  EXPECT_EQ(fmt(-1234.5L, 3), "-1.23E3");
  EXPECT_EQ(fmt(1.5e14L), "150000000000000");
  EXPECT_EQ(fmt(1e15L), "1E15");
  EXPECT_EQ(fmt(123456789012345.6L), "123456789012346");
}

TEST(NumberFormatTest, TakesEighteenDigitsBeforeCutting) {
  // Just below a half: correct at 18 digits it is the half, which then rounds up.
  EXPECT_EQ(fmt(std::nextafter(0.125L, 0.0L), 2), "0.13");
  EXPECT_EQ(fmt(std::nextafter(99.5L, 0.0L), 2), "1E2");
  EXPECT_EQ(fmt(0.125L - 1e-17L, 2), "0.12");
  // Extended precision keeps 0.1 exact to 18 digits; the double nearest 0.1 does not.
  EXPECT_EQ(fmt(0.1L, 18), "0.1");
  EXPECT_EQ(fmt(static_cast<long double>(0.1), 18), "0.100000000000000006");
  EXPECT_EQ(fmt(static_cast<long double>(0.1)), "0.1");
  EXPECT_EQ(fmt(1.0L / 3), "0.333333333333333");
}

TEST(NumberFormatTest, ExtremeExponents) {
  EXPECT_EQ(fmt(1e100L), "1E100");
  EXPECT_EQ(fmt(-1e-100L), "-1E-100");
  EXPECT_EQ(fmt(LDBL_MAX), "1.18973149535723E4932");
  EXPECT_EQ(fmt(LDBL_TRUE_MIN), "3.64519953188247E-4951");
}

TEST(NumberFormatTest, SpecialValues) {
  EXPECT_EQ(fmt(-0.0L), "0");
  EXPECT_EQ(fmt(std::numeric_limits<long double>::quiet_NaN()), "NAN");
  EXPECT_EQ(fmt(-std::numeric_limits<long double>::quiet_NaN()), "NAN");
  EXPECT_EQ(fmt(std::numeric_limits<long double>::infinity()), "INF");
  EXPECT_EQ(fmt(-std::numeric_limits<long double>::infinity()), "-INF");
}

TEST(NumberFormatTest, UsesTheGivenSeparator) {
  const QString comma = QStringLiteral(",");
  EXPECT_EQ(formatGeneral(0.125L, 2, comma), QStringLiteral("0,13"));
  EXPECT_EQ(formatGeneral(150, 2, comma), QStringLiteral("1,5E2"));
  EXPECT_EQ(formatGeneral(-2.5e-7L, 15, comma), QStringLiteral("-2,5E-7"));
}

TEST(NumberFormatTest, ConvenienceFormUsesTheLocalesSeparatorAndFifteenDigits) {
  const QString separator = QLocale().decimalPoint();
  EXPECT_EQ(formatGeneral(1.0L / 3), formatGeneral(1.0L / 3, 15, separator));
  EXPECT_EQ(formatGeneral(0.125L, 2), formatGeneral(0.125L, 2, separator));
}

} // namespace

TEST(TextToFloatTest, AcceptsSignDigitsPointAndExponent) {
  EXPECT_EQ(textToFloat(QStringLiteral("1e2")), 100.0L);
  EXPECT_EQ(textToFloat(QStringLiteral(" -3 ")), -3.0L);
  EXPECT_EQ(textToFloat(QStringLiteral("+.5")), 0.5L);
  EXPECT_EQ(textToFloat(QStringLiteral("5.")), 5.0L);
  EXPECT_EQ(textToFloat(QStringLiteral("5.E1")), 50.0L);
  EXPECT_EQ(textToFloat(QStringLiteral("2.5e-1")), 0.25L);
  EXPECT_EQ(textToFloat(QStringLiteral("1E+3")), 1000.0L);
  EXPECT_EQ(textToFloat(QStringLiteral("0.1")), 0.1L);
}

TEST(TextToFloatTest, RefusesEverythingElse) {
  for (const char* text : {"", " ", "abc", "1e", "e5", ".", "-", "1.2.3", "1,5", "0x10", "inf",
                           "nan", "1e2x", "--1", "1e5000"})
    EXPECT_FALSE(textToFloat(QString::fromLatin1(text))) << text;
}

TEST(TextToFloatTest, TakesTheGivenSeparatorAsWellAsThePoint) {
  const QString comma = QStringLiteral(",");
  EXPECT_EQ(textToFloat(QStringLiteral("-0,25"), comma), -0.25L);
  EXPECT_EQ(textToFloat(QStringLiteral("-0.25"), comma), -0.25L);
  EXPECT_EQ(textToFloat(QStringLiteral("1,5E2"), comma), 150.0L);
  EXPECT_EQ(textToFloat(QStringLiteral(" 2,5e-1 "), comma), 0.25L);
  EXPECT_EQ(textToFloat(QStringLiteral("1,5"), QStringLiteral(".")), std::nullopt);
  for (const char* text : {"1,2,3", "1,2.3", ",", "1e2,5", "abc", "1 000,5"})
    EXPECT_FALSE(textToFloat(QString::fromLatin1(text), comma)) << text;
}

// A field shows formatGeneral's text and reads it back under any locale.
TEST(TextToFloatTest, ReadsBackWhatTheLocaleFormatWrites) {
  const QLocale saved;
  QLocale::setDefault(QLocale(QLocale::German));
  EXPECT_EQ(formatGeneral(-0.25L), QStringLiteral("-0,25"));
  for (const QLocale& locale : {QLocale(QLocale::German), QLocale(QLocale::French), QLocale::c()}) {
    QLocale::setDefault(locale);
    for (const long double value : {-0.25L, 1.5e20L, 0.0001L, 1.0L / 3})
      EXPECT_EQ(localeTextToFloat(formatGeneral(value)),
                textToFloat(QString::fromStdString(fmt(value))))
          << locale.name().toStdString();
  }
  QLocale::setDefault(saved);
}

namespace {

// Every view of text reads alike; a character beyond ASCII is never a digit, also one whose low
// byte is one (U+0131, U+FF10 the full-width zero).
TEST(TextToIntegerTest, ReadsDecimalAndHexadecimalIn32Bits) {
  const struct {
    const char16_t* text;
    std::optional<std::int32_t> value;
  } cases[] = {
      {u"+12", 12},
      {u" \t-7\t ", -7},
      {u"0x1F", 31},
      {u"0X1f", 31},
      {u"$ff", 255},
      {u"-$10", -16},
      {u"007", 7},
      {u"0x000000001", 1},
      {u"2147483647", 2147483647},
      {u"-2147483648", -2147483647 - 1},
      {u"0x80000008", -2147483640},
      {u"-0xFFFFFFFF", 1},
      {u"2147483648", std::nullopt},
      {u"-2147483649", std::nullopt},
      {u"0x100000000", std::nullopt},
      {u"", std::nullopt},
      {u"1 2", std::nullopt},
      {u"+-1", std::nullopt},
      {u"$-1", std::nullopt},
      {u"0x", std::nullopt},
      {u"1.5", std::nullopt},
      {u"\v5", std::nullopt},
      {u"\u0131", std::nullopt},
      {u"\uFF10", std::nullopt},
  };
  for (const auto& c : cases) {
    const QString text = QString::fromUtf16(c.text);
    SCOPED_TRACE(text.toStdString());
    EXPECT_EQ(textToInteger(text), c.value);
    EXPECT_EQ(textToInteger(text.toUtf8()), c.value);
    if (text.toLatin1() == text.toUtf8()) {
      const QByteArray bytes = text.toLatin1();
      EXPECT_EQ(textToInteger(QLatin1StringView(bytes)), c.value);
    }
  }
}

} // namespace
