#include "FormulaHints.h"

#include "FormulaChars.h"
#include "ParameterNames.h"

#include <algorithm>
#include <cstdlib>

namespace {

qsizetype skipSpaces(const QString& text, qsizetype p) {
  while (p < text.size() && text[p].isSpace())
    ++p;
  return p;
}

// The engine's numbers are digits and points, without signs or exponents.
qsizetype numberEnd(const QString& text, qsizetype p) {
  while (p < text.size() && (isFormulaDigit(text[p]) || text[p] == QLatin1Char('.')))
    ++p;
  return p;
}

// Just past the bracket that closes the one at open; -1 when it is never closed.
qsizetype closingEnd(const QString& text, qsizetype open) {
  int depth = 0;
  for (qsizetype p = open; p < text.size(); ++p) {
    if (text[p] == QLatin1Char('('))
      ++depth;
    else if (text[p] == QLatin1Char(')') && --depth == 0)
      return p + 1;
  }
  return -1;
}

// The end of the operand that starts at p: a number, a name (with the bracket of a call)
// or a bracketed expression; -1 when none starts there.
qsizetype operandEnd(const QString& text, qsizetype p) {
  if (p >= text.size()) return -1;
  if (isFormulaDigit(text[p])) return numberEnd(text, p);
  if (isFormulaLetter(text[p])) {
    const qsizetype end = formulaNameEnd(text, p);
    const qsizetype next = skipSpaces(text, end);
    if (!isFunctionName(text.mid(p, end - p)) || next >= text.size() ||
        text[next] != QLatin1Char('('))
      return end;
    p = next;
  }
  return text[p] == QLatin1Char('(') ? closingEnd(text, p) : -1;
}

// A lone "^" after p, skipping blanks; a longer run of operator characters is another token.
qsizetype powerAfter(const QString& text, qsizetype p) {
  p = skipSpaces(text, p);
  if (p >= text.size() || text[p] != QLatin1Char('^')) return -1;
  if (p + 1 < text.size() && isFormulaOperatorChar(text[p + 1])) return -1;
  return skipSpaces(text, p + 1);
}

// The operands of "a ^ b" from p, each as written; empty when p starts no such power.
QStringList powerFrom(const QString& text, qsizetype p) {
  const qsizetype baseEnd = operandEnd(text, p);
  if (baseEnd < 0) return {};
  const qsizetype exponent = powerAfter(text, baseEnd);
  if (exponent < 0) return {};
  const qsizetype exponentEnd = operandEnd(text, exponent);
  if (exponentEnd < 0) return {};
  return {text.mid(p, baseEnd - p), text.mid(exponent, exponentEnd - exponent),
          text.mid(exponentEnd)};
}

// The engine's unary minus binds tighter than "^".
QString negatedPowerHint(const QString& text, qsizetype minus) {
  const qsizetype p = skipSpaces(text, minus + 1);
  if (p < text.size() && isFormulaLetter(text[p]) &&
      isFunctionName(text.mid(p, formulaNameEnd(text, p) - p)))
    return {};
  const QStringList power = powerFrom(text, p);
  if (power.isEmpty()) return {};
  const QString& a = power[0];
  const QString& b = power[1];
  return QStringLiteral("-%1^%2 は (-%1)^%2 と計算されます。-(%1^%2) と書けます").arg(a, b);
}

// The engine groups a chain of powers from the left.
QString powerChainHint(const QString& text, qsizetype p) {
  const QStringList first = powerFrom(text, p);
  if (first.isEmpty()) return {};
  const qsizetype exponent = powerAfter(text, text.size() - first[2].size());
  if (exponent < 0) return {};
  const qsizetype end = operandEnd(text, exponent);
  if (end < 0) return {};
  const QString& a = first[0];
  const QString& b = first[1];
  const QString c = text.mid(exponent, end - exponent);
  return QStringLiteral("%1^%2^%3 は (%1^%2)^%3 と計算されます。%1^(%2^%3) と書けます")
      .arg(a, b, c);
}

// A function name glued to a short name is read as one variable: sinx, log10t, cospi.
QString gluedFunctionHint(const QString& text, qsizetype p, qsizetype end) {
  const QString name = text.mid(p, end - p);
  const qsizetype next = skipSpaces(text, end);
  if (isFunctionName(name) || (next < text.size() && text[next] == QLatin1Char('('))) return {};
  for (qsizetype n = 5; n >= 3; --n) {
    const QString rest = name.mid(n);
    const bool shortName =
        rest == QLatin1String("pi") || (!rest.isEmpty() && isFormulaLetter(rest[0]) &&
                                        std::all_of(rest.begin() + 1, rest.end(), isFormulaDigit));
    if (n < name.size() && isFunctionName(name.left(n)) && shortName)
      return QStringLiteral("%1 は変数です。%2(%3) のことですか?").arg(name, name.left(n), rest);
  }
  return {};
}

QString nameHint(const QString& text, qsizetype p, qsizetype end) {
  const QString name = text.mid(p, end - p);
  if (name == QLatin1String("ln")) return QStringLiteral("ln は log と書きます");
  if (!miscasedFunctionNames(name).isEmpty())
    return QStringLiteral("関数名は小文字で書きます: %1")
        .arg(miscasedFunctionNames(text).join(QStringLiteral(", ")));
  return gluedFunctionHint(text, p, end);
}

// The digits of mantissa times ten to the exponent, written out with a point; a power of
// ten when that would be too long for the line.
QString decimalText(const QString& mantissa, int exponent) {
  if (std::abs(exponent) > 9)
    return (exponent < 0 ? QStringLiteral("%1*10^(%2)") : QStringLiteral("%1*10^%2"))
        .arg(mantissa)
        .arg(exponent);
  QString digits = mantissa;
  digits.remove(QLatin1Char('.'));
  const qsizetype point =
      mantissa.contains(QLatin1Char('.')) ? mantissa.indexOf(QLatin1Char('.')) : mantissa.size();
  const qsizetype shifted = point + exponent;
  if (shifted < 0) digits.prepend(QString(-shifted, QLatin1Char('0')));
  if (shifted > digits.size()) digits.append(QString(shifted - digits.size(), QLatin1Char('0')));
  QString whole = digits.left(std::max<qsizetype>(shifted, 0));
  QString fraction = digits.mid(std::max<qsizetype>(shifted, 0));
  while (whole.startsWith(QLatin1Char('0')))
    whole.remove(0, 1);
  while (fraction.endsWith(QLatin1Char('0')))
    fraction.chop(1);
  if (whole.isEmpty()) whole = QStringLiteral("0");
  return fraction.isEmpty() ? whole : whole + QLatin1Char('.') + fraction;
}

// An exponent after the number that ends at end: "e" or "E", a sign and digits. The engine
// reads "1e-3" as 1, the constant e, minus 3.
QString exponentHint(const QString& text, qsizetype p, qsizetype end) {
  if (end >= text.size() || text[end].toLower() != QLatin1Char('e')) return {};
  qsizetype digits = end + 1;
  if (digits < text.size() &&
      (text[digits] == QLatin1Char('-') || text[digits] == QLatin1Char('+')))
    ++digits;
  qsizetype last = digits;
  while (last < text.size() && isFormulaDigit(text[last]))
    ++last;
  if (last == digits) return {};
  const QString written = text.mid(p, last - p);
  const int exponent = last - digits > 3 ? 999 : text.mid(end + 1, last - end - 1).toInt();
  const QString plain = decimalText(text.mid(p, end - p), exponent);
  return QStringLiteral("%1 は %2 と書きます").arg(written, plain);
}

QString numberHint(const QString& text, qsizetype p, qsizetype end) {
  const QString exponent = exponentHint(text, p, end);
  if (!exponent.isEmpty() || end >= text.size() || !isFormulaLetter(text[end])) return exponent;
  const QString number = text.mid(p, end - p);
  const QString name = text.mid(end, formulaNameEnd(text, end) - end);
  return QStringLiteral("%1%2 は %1*%2 と書きます").arg(number, name);
}

// Where an operand is awaited: at the start, after an opening bracket or an operator.
bool atOperand(const QString& text, qsizetype p) {
  qsizetype q = p;
  while (q > 0 && text[q - 1].isSpace())
    --q;
  return q == 0 || text[q - 1] == QLatin1Char('(') || isFormulaOperatorChar(text[q - 1]);
}

// Bars around an operand, for an absolute value; the engine's "|" is "or".
QString barsHint(const QString& text, qsizetype p) {
  const qsizetype close = text.indexOf(QLatin1Char('|'), p + 1);
  if (close <= p + 1) return {};
  const QString inner = text.mid(p + 1, close - p - 1);
  return QStringLiteral("|%1| は abs(%1) と書きます").arg(inner);
}

constexpr char16_t SuperscriptDigits[] = u"⁰¹²³⁴⁵⁶⁷⁸⁹";

int superscriptDigit(QChar c) {
  for (int digit = 0; digit < 10; ++digit)
    if (c.unicode() == SuperscriptDigits[digit]) return digit;
  return -1;
}

// Superscript digits after a name or number, which the engine does not know.
QString superscriptHint(const QString& text, qsizetype p) {
  qsizetype base = p;
  while (base > 0 && (isFormulaNameChar(text[base - 1]) || text[base - 1] == QLatin1Char('.')))
    --base;
  QString power;
  qsizetype end = p;
  for (; end < text.size() && superscriptDigit(text[end]) >= 0; ++end)
    power += QString::number(superscriptDigit(text[end]));
  const QString operand = text.mid(base, p - base);
  return QStringLiteral("%1%2 は %1^%3 と書きます").arg(operand, text.mid(p, end - p), power);
}

struct Step {
  QString hint;
  qsizetype next;
};

// The hint on the token at p, and where the next one starts.
Step stepAt(const QString& text, qsizetype p) {
  const QChar c = text[p];
  if (c == QLatin1Char('"')) return {{}, formulaStringEnd(text, p)};
  if (isFormulaLetter(c) || isFormulaDigit(c)) {
    const qsizetype end = isFormulaLetter(c) ? formulaNameEnd(text, p) : numberEnd(text, p);
    const QString hint = isFormulaLetter(c) ? nameHint(text, p, end) : numberHint(text, p, end);
    return {hint.isEmpty() ? powerChainHint(text, p) : hint, end};
  }
  if (c == QLatin1Char('(')) return {powerChainHint(text, p), p + 1};
  if (c == QLatin1Char('-') && atOperand(text, p)) return {negatedPowerHint(text, p), p + 1};
  if (c == QLatin1Char('|') && atOperand(text, p)) return {barsHint(text, p), p + 1};
  if (superscriptDigit(c) >= 0) return {superscriptHint(text, p), p + 1};
  return {{}, p + 1};
}

} // namespace

QString formulaHint(const QString& formula) {
  // The engine reads the formula as a C string: a NUL ends it.
  const qsizetype nul = formula.indexOf(QChar(0));
  const QString text = nul < 0 ? formula : formula.left(nul);
  for (qsizetype p = 0; p < text.size();) {
    const Step step = stepAt(text, p);
    if (!step.hint.isEmpty()) return step.hint;
    p = step.next;
  }
  return {};
}
