// gValue: the tagged value of the formula evaluator, with the engine's
// promotion rules, range tests, zero tests and domain checks.
#include "gValue.h"

#include "EvalonStatus.h"
#include "LongRange.h"
#include "RealFunctions.h"
#include "TextBuffer.h"

#include <cmath>
#include <cstdint>
#include <cstring>
#include <functional>
#include <limits>
#include <string>
#include <utility>

using namespace realfn;

namespace {

constexpr std::int32_t LongMinValue = std::numeric_limits<std::int32_t>::min();

// The longest text a value hands out: 254 characters, one less than a buffer could hold.
constexpr std::size_t LongestText = BufferSize - 2;

// Two's-complement negation without signed overflow: -(-2147483648) is
// -2147483648 itself (execINVERT and execABS), computed in unsigned and
// converted back (modular).
std::int32_t negate(std::int32_t x) {
  return static_cast<std::int32_t>(0u - static_cast<std::uint32_t>(x));
}

} // namespace

bool gValue::isNumeric() const {
  return type == Long || type == Double;
}

// The numeric content as a double; a long converts exactly. Only for numeric
// tags.
double gValue::real() const {
  return type == Long ? static_cast<double>(longValue) : doubleValue;
}

bool gValue::isZero() const {
  return (type == Long && longValue == 0) || (type == Double && doubleValue == 0.0);
}

// "|" and "&": logical, on two longs only (a double, even 1.0, gives status 1).
template <class Op> int gValue::logic(const gValue& right, Op op) {
  if (type != Long || right.type != Long) return ev::TypeMismatch;
  longValue = op(longValue != 0, right.longValue != 0) ? 1 : 0;
  return ev::Ok;
}

// The six comparisons: long with long, numbers as doubles, strings as unsigned
// bytes (std::string::compare uses char_traits<char>, which compares like
// memcmp). The result is always the long 0 or 1.
template <class Cmp> int gValue::compare(const gValue& right, Cmp cmp) {
  bool result;
  if (type == Long && right.type == Long)
    result = cmp(longValue, right.longValue);
  else if (isNumeric() && right.isNumeric())
    result = cmp(real(), right.real());
  else if (type == String && right.type == String)
    result = cmp(stringValue.compare(right.stringValue), 0);
  else
    return ev::TypeMismatch;
  setValue(static_cast<std::int32_t>(result ? 1 : 0));
  return ev::Ok;
}

// "+", "-", "*" on numbers. Two longs: the exact result is formed as a double
// first and range-tested (status 5, long 0, tag stays 1); inside the range the
// 32-bit result is taken from 64-bit arithmetic, so no signed overflow can
// happen. A double on either side gives a double.
template <class Op> int gValue::arithmetic(const gValue& right, Op op) {
  // Two doubles, the plotter's every step, first.
  if (type == Double && right.type == Double) {
    doubleValue = op(doubleValue, right.doubleValue);
    return ev::Ok;
  }
  if (type == Long && right.type == Long) {
    const double exact = op(static_cast<double>(longValue), static_cast<double>(right.longValue));
    if (exact < LongMin || exact > LongMax) {
      longValue = 0;
      return ev::OutOfLongRange;
    }
    longValue =
        static_cast<std::int32_t>(op(std::int64_t{longValue}, std::int64_t{right.longValue}));
    return ev::Ok;
  }
  if (!isNumeric() || !right.isNumeric()) return ev::TypeMismatch;
  setValue(op(real(), right.real()));
  return ev::Ok;
}

// A function of a double: a long is converted exactly, a string or an empty
// value gives status 1. The domain is checked before the call and a refusal
// leaves the value unchanged.
template <class F, class Refuse> int gValue::applyReal(F f, Refuse refuse) {
  if (!isNumeric()) return ev::TypeMismatch;
  const double x = real();
  if (refuse(x)) return ev::DomainError;
  setValue(f(x));
  return ev::Ok;
}

template <class F> int gValue::applyReal(F f) {
  return applyReal(f, Never);
}

// "ceil", "floor", "int": doubles only; a long is refused (status 1), not
// passed through.
template <class F> int gValue::applyToDouble(F f) {
  if (type != Double) return ev::TypeMismatch;
  doubleValue = f(doubleValue);
  return ev::Ok;
}

// The numbers of an empty, long or text value are set to 0 too, although
// nothing reads them, so that copying a value never reads an indeterminate
// field.
gValue::gValue() : type(Empty), longValue(0), doubleValue(0.0) {}

gValue::gValue(const std::int32_t value) : type(Long), longValue(value), doubleValue(0.0) {}

gValue::gValue(const double value) : type(Double), longValue(0), doubleValue(value) {}

// A null pointer is taken as the empty text (the sound reading of "no text").
gValue::gValue(const char* value)
    : type(String), longValue(0), doubleValue(0.0), stringValue(value ? value : "") {}

int gValue::getType() const {
  return type;
}

// Changing the tag leaves the other fields as they are: nothing reads them.
void gValue::setValue(const std::int32_t value) {
  type = Long;
  longValue = value;
}

void gValue::setValue(const double value) {
  type = Double;
  doubleValue = value;
}

// A null pointer is taken as the empty text, as in the constructor.
void gValue::setValue(const char* value) {
  type = String;
  stringValue.assign(value ? value : "");
}

int gValue::getValue(std::int32_t& out) const {
  switch (type) {
  case Long:
    out = longValue;
    return ev::Ok;
  case Double:
    // Written as "inside the range" so that a NaN, which fails both
    // comparisons, is refused (status 5, out untouched) and never reaches the
    // cast.
    if (!(doubleValue >= LongMin && doubleValue <= LongMax)) return ev::OutOfLongRange;
    out = static_cast<std::int32_t>(doubleValue); // truncates toward zero
    return ev::Ok;
  default:
    out = 0;
    return ev::TypeMismatch;
  }
}

int gValue::getValue(double& out) const {
  switch (type) {
  case Long:
    out = static_cast<double>(longValue);
    return ev::Ok;
  case Double:
    out = doubleValue;
    return ev::Ok;
  default:
    out = 0.0;
    return ev::TypeMismatch;
  }
}

// out holds BufferSize bytes: at most LongestText characters and the terminator are copied.
int gValue::getValue(char* out) const {
  if (type != String) return ev::TypeMismatch;
  if (stringValue.size() > LongestText) return ev::TextTooLong;
  std::memcpy(out, stringValue.c_str(), stringValue.size() + 1);
  return ev::Ok;
}

int gValue::execNOT() {
  if (type != Long) return ev::TypeMismatch;
  longValue = longValue == 0 ? 1 : 0;
  return ev::Ok;
}

int gValue::logicalOr(const gValue& right) {
  return logic(right, std::logical_or<>{});
}

int gValue::logicalAnd(const gValue& right) {
  return logic(right, std::logical_and<>{});
}

int gValue::equal(const gValue& right) {
  return compare(right, std::equal_to<>{});
}

int gValue::notEqual(const gValue& right) {
  return compare(right, std::not_equal_to<>{});
}

int gValue::smaller(const gValue& right) {
  return compare(right, std::less<>{});
}

int gValue::smallerOrEqual(const gValue& right) {
  return compare(right, std::less_equal<>{});
}

int gValue::larger(const gValue& right) {
  return compare(right, std::greater<>{});
}

int gValue::largerOrEqual(const gValue& right) {
  return compare(right, std::greater_equal<>{});
}

// Two strings concatenate without a length limit; LongestText applies only on read-out.
int gValue::plus(const gValue& right) {
  if (type == String && right.type == String) {
    stringValue += right.stringValue;
    return ev::Ok;
  }
  return arithmetic(right, std::plus<>{});
}

int gValue::minus(const gValue& right) {
  return arithmetic(right, std::minus<>{});
}

int gValue::times(const gValue& right) {
  return arithmetic(right, std::multiplies<>{});
}

// The zero test comes first, whatever the left operand is; only then the types.
int gValue::divide(const gValue& right) {
  if (right.isZero()) return ev::DivisionByZero;
  if (!isNumeric() || !right.isNumeric()) return ev::TypeMismatch;
  if (type == Long && right.type == Long) {
    // -2147483648 / -1 does not fit a long: status 5
    // with long 0 as after the range test of "+", "-", "*".
    if (longValue == LongMinValue && right.longValue == -1) {
      longValue = 0;
      return ev::OutOfLongRange;
    }
    longValue /= right.longValue; // truncates toward zero
    return ev::Ok;
  }
  setValue(real() / right.real());
  return ev::Ok;
}

// The types come first (long % long only, even for a zero right operand), then
// the zero test. The remainder takes the sign of the left operand (truncating
// division).
int gValue::modulo(const gValue& right) {
  if (type != Long || right.type != Long) return ev::TypeMismatch;
  if (right.longValue == 0) return ev::DivisionByZero;
  // Decided, as for execDIVID: the remainder of -2147483648 by -1 gives status
  // 5 (the division behind it does not fit a long; in C++ it is undefined
  // behaviour).
  if (longValue == LongMinValue && right.longValue == -1) {
    longValue = 0;
    return ev::OutOfLongRange;
  }
  longValue %= right.longValue;
  return ev::Ok;
}

// Never fails for the three kinds of value; an empty value has nothing to
// negate (status 1).
int gValue::execINVERT() {
  switch (type) {
  case Long:
    longValue = negate(longValue);
    return ev::Ok;
  case Double:
    doubleValue = -doubleValue;
    return ev::Ok;
  case String:
    reversString(stringValue.data(),
                 stringValue.c_str()); // in place; texts hold no NUL
    return ev::Ok;
  default:
    return ev::TypeMismatch;
  }
}

// Always a double, also for two longs; no check of its own. Both sides must be
// numeric (a string, and also an empty value, gives status 1).
int gValue::power(const gValue& right) {
  if (!isNumeric() || !right.isNumeric()) return ev::TypeMismatch;
  setValue(std::pow(real(), right.real()));
  return ev::Ok;
}

int gValue::execSIN() {
  return applyReal(Sin);
}

int gValue::execCOS() {
  return applyReal(Cos);
}

int gValue::execTAN() {
  return applyReal(Tan);
}

int gValue::execEXP() {
  return applyReal(Exp);
}

int gValue::execLOG10() {
  return applyReal(Log10, NotPositive);
}

int gValue::execLOG() {
  return applyReal(Log, NotPositive);
}

// ln(x) / ln(2.0), not the library's log2, which may differ in the last bit.
int gValue::execLOG2() {
  return applyReal(Log2, NotPositive);
}

int gValue::execASIN() {
  return applyReal(Asin, OutsideUnit);
}

int gValue::execACOS() {
  return applyReal(Acos, OutsideUnit);
}

int gValue::execATAN() {
  return applyReal(Atan);
}

int gValue::execSQRT() {
  return applyReal(Sqrt, Negative);
}

// Keeps the tag. A long has no overflow check: abs(-2147483648) is -2147483648
// (computed without signed overflow). A double is x if x >= 0, else -x, as
// written.
int gValue::execABS() {
  switch (type) {
  case Long:
    if (longValue < 0) longValue = negate(longValue);
    return ev::Ok;
  case Double:
    if (!(doubleValue >= 0.0)) doubleValue = -doubleValue;
    return ev::Ok;
  default:
    return ev::TypeMismatch;
  }
}

int gValue::execCEIL() {
  return applyToDouble(Ceil);
}

int gValue::execFLOOR() {
  return applyToDouble(Floor);
}

// Rounds half up: floor(x + 0.5), so 2.5 gives 3.0 and -2.5 gives -2.0.
int gValue::execINT() {
  return applyToDouble(Int);
}

int gValue::execSIND() {
  return applyReal(Sind);
}

int gValue::execCOSD() {
  return applyReal(Cosd);
}

int gValue::execTAND() {
  return applyReal(Tand);
}

int gValue::execASIND() {
  return applyReal(Asind, OutsideUnit);
}

int gValue::execACOSD() {
  return applyReal(Acosd, OutsideUnit);
}

int gValue::execATAND() {
  return applyReal(Atand);
}

// The operations of the table take their right operand by value and forward.
int gValue::execOR(const gValue right) {
  return logicalOr(right);
}
int gValue::execAND(const gValue right) {
  return logicalAnd(right);
}
int gValue::execEQUAL(const gValue right) {
  return equal(right);
}
int gValue::execNOTEQ(const gValue right) {
  return notEqual(right);
}
int gValue::execSMALL(const gValue right) {
  return smaller(right);
}
int gValue::execSMALLEQ(const gValue right) {
  return smallerOrEqual(right);
}
int gValue::execLARGE(const gValue right) {
  return larger(right);
}
int gValue::execLARGEEQ(const gValue right) {
  return largerOrEqual(right);
}
int gValue::execPLUS(const gValue right) {
  return plus(right);
}
int gValue::execMINUS(const gValue right) {
  return minus(right);
}
int gValue::execTIMES(const gValue right) {
  return times(right);
}
int gValue::execDIVID(const gValue right) {
  return divide(right);
}
int gValue::execMOD(const gValue right) {
  return modulo(right);
}
int gValue::execPOWER(const gValue right) {
  return power(right);
}

// Only the field that the tag names is compared; two empty values are equal.
// Doubles compare as IEEE values (a NaN equals nothing, 0.0 equals -0.0).
bool operator==(const gValue& a, const gValue& b) {
  if (a.type != b.type) return false;
  switch (a.type) {
  case gValue::Long:
    return a.longValue == b.longValue;
  case gValue::Double:
    return a.doubleValue == b.doubleValue;
  case gValue::String:
    return a.stringValue == b.stringValue;
  default:
    return true;
  }
}

// dst may be src itself (the reversal is then done in place); otherwise the two
// must not overlap and dst must hold strlen(src) + 1 bytes. A null src is taken
// as the empty text; a null dst receives nothing.
void reversString(char* dst, const char* src) {
  if (dst == nullptr) return;
  if (src == nullptr) {
    *dst = '\0';
    return;
  }
  const std::size_t n = std::strlen(src);
  if (dst == src) {
    for (std::size_t i = 0, j = n; i + 1 < j; ++i, --j)
      std::swap(dst[i], dst[j - 1]);
    return;
  }
  for (std::size_t i = 0; i < n; ++i)
    dst[i] = src[n - 1 - i];
  dst[n] = '\0';
}
