// The assignment statement "target = expression" and the print and write formats.
#include "TCalcSystem.h"

#include "CharClass.h"
#include "FormulaScanner.h"
#include "TVarSystem.h"
#include "TextBuffer.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <string_view>

namespace {

// The kind a reference names: the first "$" or "#" in its leading run of name and bracket
// characters decides; subscript text takes part, so v[k#] is a double.
char isVariablesType(const char* text) {
  for (const char* p = text; charclass::isNameChar(*p) || *p == '[' || *p == ']'; ++p) {
    if (*p == '$') return 'S';
    if (*p == '#') return 'F';
  }
  return 'L';
}

// Copies a run of text into a 256-byte buffer, refusing what does not fit.
int copyText(std::string_view text, char* buffer) {
  if (text.size() > BufferSize - 1) return ev::TextTooLong;
  text.copy(buffer, text.size());
  buffer[text.size()] = '\0';
  return ev::Ok;
}

std::string_view trimRight(std::string_view text) {
  while (!text.empty() && charclass::isSpace(text.back()))
    text.remove_suffix(1);
  return text;
}

// Splits a statement at its first "=", wherever it stands: the target without surrounding
// white space, the expression without leading white space.
int getItemsCalc(const char* statement, char* target, char* expression) {
  const char* equals = std::strchr(statement, '=');
  if (!equals) return ev::MissingEquals;
  const char* start = strSkip(statement);
  const std::string_view left =
      start < equals ? trimRight({start, static_cast<std::size_t>(equals - start)}) : "";
  if (int status = copyText(left, target)) return status;
  return copyText(strSkip(equals + 1), expression);
}

// A number in the printf forms "%ld" and "%lf" (six decimals), right-aligned in width
// columns. to_chars keeps the point a "." whatever the process locale.
int formatNumber(char* text, std::int32_t width, const char* digits, std::size_t length) {
  const std::size_t columns = width > 0 ? static_cast<std::size_t>(width) : 0;
  const std::size_t padding = columns > length ? columns - length : 0;
  if (padding + length > BufferSize - 1) return ev::TextTooLong;
  std::memset(text, ' ', padding);
  std::memcpy(text + padding, digits, length);
  text[padding + length] = '\0';
  return ev::Ok;
}

// Room for the digits of any long ("-2147483648" is the longest).
constexpr std::size_t LongDigits = 16;
// A double is written with the decimals of printf's "%f".
constexpr int FixedDecimals = 6;
// Room for any double in fixed notation with its decimals: the largest has 309 digits.
constexpr std::size_t FixedDoubleDigits = 400;

int formatLong(char* text, std::int32_t width, std::int32_t value) {
  char digits[LongDigits];
  const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
  return formatNumber(text, width, digits, static_cast<std::size_t>(end - digits));
}

int formatDouble(char* text, std::int32_t width, double value) {
  char digits[FixedDoubleDigits];
  const auto end =
      std::to_chars(digits, digits + sizeof digits, value, std::chars_format::fixed, FixedDecimals)
          .ptr;
  return formatNumber(text, width, digits, static_cast<std::size_t>(end - digits));
}

// "%s", or "%-*.*s" for a width of 1 or more: left-aligned, padded and cut to width.
int formatText(char* text, std::int32_t width, const char* value) {
  if (width <= 0) return copyText(value, text);
  if (static_cast<std::size_t>(width) > BufferSize - 1) return ev::TextTooLong;
  const std::size_t length = std::min(std::strlen(value), static_cast<std::size_t>(width));
  std::memcpy(text, value, length);
  std::memset(text + length, ' ', static_cast<std::size_t>(width) - length);
  text[width] = '\0';
  return ev::Ok;
}

} // namespace

// The expression is evaluated completely before the target is resolved, so the target's
// subscripts are evaluated when the value is stored.
int TCalcSystem::Execute(const char* statement) {
  char target[BufferSize];
  char expression[BufferSize];
  if (int status = getItemsCalc(statement ? statement : "", target, expression)) return status;
  if (!checkVarName(target)) return ev::BadName;
  std::uint32_t err = ev::Ok;
  switch (isVariablesType(target)) {
  case 'F': {
    const double value = calcDoubleFormula(expression, err);
    return err ? static_cast<int>(err) : SetFloatValue(target, value);
  }
  case 'S': {
    char value[BufferSize];
    calcStringFormula(value, expression, err);
    return err ? static_cast<int>(err) : SetStringValue(target, value);
  }
  default: {
    const std::int32_t value = calcLongFormula(expression, err);
    return err ? static_cast<int>(err) : SetLongValue(target, value);
  }
  }
}

// The item with each bracketed subscript replaced by its value, as "[%u]".
int TCalcSystem::getPrintVariables(const char* item, char* label) {
  std::size_t length = 0;
  label[0] = '\0';
  for (const char* p = item; *p;) {
    char piece[BufferSize];
    std::size_t pieceLength = 1;
    piece[0] = *p;
    if (*p == ']') return ev::MissingOpenBracket;
    if (*p == '[') {
      const char* close = std::strchr(p, ']');
      if (!close) return ev::MissingCloseBracket;
      char expression[BufferSize];
      if (int status = copyText({p + 1, static_cast<std::size_t>(close - p - 1)}, expression))
        return status;
      std::uint32_t err = ev::Ok;
      const std::int32_t n = calcLongFormula(expression, err);
      if (err) return static_cast<int>(err);
      pieceLength = static_cast<std::size_t>(
          std::snprintf(piece, sizeof piece, "[%u]", static_cast<std::uint32_t>(n)));
      p = close + 1;
    } else {
      ++p;
    }
    if (length + pieceLength > BufferSize - 1) return ev::TextTooLong;
    std::memcpy(label + length, piece, pieceLength);
    length += pieceLength;
    label[length] = '\0';
  }
  return ev::Ok;
}

int TCalcSystem::GetPrintFormat(const char* item, char* label, char* text) {
  text[0] = '\0';
  const char* source = item ? item : "";
  if (int status = getPrintVariables(source, label)) return status;
  return formatValue(source, isVariablesType(source), 0, text);
}

// The expression before the first ":" outside double quotes; the text after it, if any,
// is evaluated for the width.
int TCalcSystem::getWidth(const char* item, char* expression, std::int32_t& width) {
  width = 0;
  bool quoted = false;
  const char* p = item;
  for (; *p && (quoted || *p != ':'); ++p)
    quoted ^= *p == '"';
  if (int status = copyText({item, static_cast<std::size_t>(p - item)}, expression)) return status;
  if (*p != ':') return ev::Ok;
  std::uint32_t err = ev::Ok;
  width = calcLongFormula(p + 1, err);
  return static_cast<int>(err);
}

int TCalcSystem::GetWriteFormat(const char* item, char* text) {
  text[0] = '\0';
  const char* source = item ? item : "";
  char expression[BufferSize];
  std::int32_t width = 0;
  if (int status = getWidth(source, expression, width)) return status;
  return formatValue(expression, isVariablesType(source), width, text);
}

// Evaluates the expression in the given kind and formats it; text is written only on
// success.
int TCalcSystem::formatValue(const char* expression, char kind, std::int32_t width, char* text) {
  std::uint32_t err = ev::Ok;
  char result[BufferSize];
  int status = ev::Ok;
  if (kind == 'F') {
    const double value = calcDoubleFormula(expression, err);
    status = err ? static_cast<int>(err) : formatDouble(result, width, value);
  } else if (kind == 'S') {
    char value[BufferSize];
    calcStringFormula(value, expression, err);
    status = err ? static_cast<int>(err) : formatText(result, width, value);
  } else {
    const std::int32_t value = calcLongFormula(expression, err);
    status = err ? static_cast<int>(err) : formatLong(result, width, value);
  }
  if (status == ev::Ok) std::memcpy(text, result, std::strlen(result) + 1);
  return status;
}
