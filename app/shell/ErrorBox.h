// The application's error box: an error that escapes a command is shown to the user, and the
// program goes on.
#pragma once

#include <QString>

inline const QString ApplicationTitle = QStringLiteral("Kurvo ver.3.2");

// The message as the box shows it: followed by "." when its last character sorts after ".".
QString ErrorBoxText(const QString& message);

// Shows the message modally with the error icon, an OK button and the application title.
void ShowErrorBox(const QString& message);
