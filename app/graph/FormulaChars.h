// The engine's byte classes (engine/CharClass.h) and its name scan, on UTF-16 units:
// everything beyond ASCII belongs to no class there, since a formula is handed over as UTF-8.
#pragma once

#include <QString>

inline bool isFormulaLetter(QChar c) {
  return (c >= QLatin1Char('A') && c <= QLatin1Char('Z')) ||
         (c >= QLatin1Char('a') && c <= QLatin1Char('z'));
}

inline bool isFormulaDigit(QChar c) {
  return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

// A character that continues a name: letters, digits and the signs "#", "$", "[", "]", "_".
inline bool isFormulaNameChar(QChar c) {
  return isFormulaLetter(c) || isFormulaDigit(c) || QStringLiteral("#$[]_").contains(c);
}

// The characters of which runs make one operator token.
inline bool isFormulaOperatorChar(QChar c) {
  return QStringLiteral("%*+-/^!&<=>|").contains(c);
}

// A name starts at a letter. Inside brackets every character belongs to it, so that a
// subscript expression stays part of its reference; the formula's end closes it.
inline qsizetype formulaNameEnd(const QString& text, qsizetype start) {
  int depth = 0;
  qsizetype p = start + 1;
  for (; p < text.size(); ++p) {
    const QChar c = text[p];
    if (depth <= 0 && !isFormulaNameChar(c)) break;
    if (c == QLatin1Char('['))
      ++depth;
    else if (c == QLatin1Char(']'))
      --depth;
  }
  return p;
}

// A string literal runs to the next double quote, or to the end.
inline qsizetype formulaStringEnd(const QString& text, qsizetype start) {
  const qsizetype close = text.indexOf(QLatin1Char('"'), start + 1);
  return close < 0 ? text.size() : close + 1;
}
