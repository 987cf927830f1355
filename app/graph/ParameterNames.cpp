#include "ParameterNames.h"

#include "FormulaChars.h"

#include <array>

namespace {

// The longest token the engine stores; a longer name makes the formula fail.
constexpr qsizetype MaxNameLength = 255;

// The texts that the engine reads as functions when they stand as plain names.
constexpr std::array<const char*, 21> FunctionNames = {
    "sin", "cos",  "tan",   "exp", "log10", "log",  "log2", "asin",  "acos",  "atan", "sqrt",
    "abs", "ceil", "floor", "int", "sind",  "cosd", "tand", "asind", "acosd", "atand"};

// The function name that the name spells in any case; empty when it spells none. Most names
// are of another length than every function name, and a document's load meets many.
QString functionSpelled(const QString& name) {
  if (name.size() < 3 || name.size() > 5) return QString();
  for (const char* function : FunctionNames)
    if (name.compare(QLatin1String(function), Qt::CaseInsensitive) == 0)
      return QLatin1String(function);
  return QString();
}

bool isReserved(const QString& name) {
  if (name == QLatin1String("x") || name == QLatin1String("pi") || name == QLatin1String("e"))
    return true;
  return !functionSpelled(name).isEmpty();
}

// A text variable is one whose last sigil is "$"; a subscripted name holds a bracket.
bool isParameter(const QString& name) {
  if (name.size() > MaxNameLength || name.contains(QLatin1Char('['))) return false;
  const qsizetype dollar = name.lastIndexOf(QLatin1Char('$'));
  if (dollar >= 0 && dollar > name.lastIndexOf(QLatin1Char('#'))) return false;
  return !isReserved(name);
}

} // namespace

namespace {

// Calls visit with every name the engine's scanner meets in the formula, in order.
template <class Visit> void forEachName(const QString& formula, Visit visit) {
  // The engine reads the formula as a C string: a NUL ends it.
  const qsizetype nul = formula.indexOf(QChar(0));
  const QString text = nul < 0 ? formula : formula.left(nul);
  // Every other token (numbers, operators, brackets, stray bytes) starts with a character
  // that can start neither a name nor a string, so stepping over it one character at a time
  // meets the same names as the engine's scanner.
  qsizetype p = 0;
  while (p < text.size()) {
    const QChar c = text[p];
    if (isFormulaLetter(c)) {
      const qsizetype end = formulaNameEnd(text, p);
      visit(text.mid(p, end - p));
      p = end;
    } else if (c == QLatin1Char('"')) {
      p = formulaStringEnd(text, p);
    } else {
      ++p;
    }
  }
}

} // namespace

QStringList parameterNames(const QString& formula) {
  QStringList names;
  forEachName(formula, [&names](const QString& name) {
    if (isParameter(name) && !names.contains(name)) names << name;
  });
  return names;
}

QStringList miscasedFunctionNames(const QString& formula) {
  QStringList names;
  forEachName(formula, [&names](const QString& name) {
    const QString function = functionSpelled(name);
    if (!function.isEmpty() && function != name && !names.contains(function)) names << function;
  });
  return names;
}

bool isFunctionName(const QString& name) {
  return !name.isEmpty() && functionSpelled(name) == name;
}

bool isParameterName(const QString& text) {
  const QStringList names = parameterNames(text);
  return names.size() == 1 && names.front() == text;
}
