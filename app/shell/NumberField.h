// The number fields of the windows. A field reads a number as the user types it (the locale's
// decimal separator or "."); a text it cannot take is refused with one message and the focus
// goes back to the field, so that the user corrects it where it is; and a refresh never takes
// away what the user typed and has not applied yet.
#pragma once

#include <QString>

class QLineEdit;

// Puts the focus on the field with its text selected and raises KurvoError with the message.
[[noreturn]] void refuseField(QLineEdit* field, const QString& message);

// The field's number; any other text is refused.
long double fieldNumber(QLineEdit* field);
// The same for a value kept as a double: a number beyond its range is refused too.
double fieldDouble(QLineEdit* field);
// The field's whole number from least to most; any other text is refused.
int fieldInteger(QLineEdit* field, int least, int most);

// Shows the value from its start, sign and leading digits, as the user reads a number longer
// than the field; the field then counts as applied.
void showFieldNumber(QLineEdit* field, long double value);

// Shows the value unless the user has changed the field and not applied it, or the field's text
// already reads as the value (a typed "1e2" for 100 keeps its spelling). The value is compared
// in its own precision.
void refreshFieldNumber(QLineEdit* field, long double value);
void refreshFieldNumber(QLineEdit* field, double value);
