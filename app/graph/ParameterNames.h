// The parameters of a formula: the plain variables it reads, other than x and the constants
// pi and e. They are found as the engine finds names, so that a parameter is exactly a
// variable the engine would look up when it evaluates the formula.
#pragma once

#include <QString>
#include <QStringList>

// The parameter names of the formula in the order of their first use, each once. A name is a
// letter followed by letters, digits, "_", "#" and "$"; the last sigil makes it a double ("#")
// or text ("$") variable. Not parameters: x, pi and e, the function names, names with a
// subscript ("a[1]", the engine takes the brackets into the name), text variables, names
// inside string literals, names too long for the engine to hold and function names written
// in another case.
QStringList parameterNames(const QString& formula);

// The function names that the formula writes in another case ("Sin" for "sin"), in lower
// case, in the order of their first use, each once. The engine reads such a name as a
// variable, which is almost never what the writer meant; it is no parameter either.
QStringList miscasedFunctionNames(const QString& formula);

// Whether the name is one of the engine's function names, in their own lower case.
bool isFunctionName(const QString& name);

// Whether the text is one parameter name as a formula would give it.
bool isParameterName(const QString& text);
