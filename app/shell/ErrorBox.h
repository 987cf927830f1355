// The application's error box: an error that escapes a command is shown to the user, and the
// program goes on.
#pragma once

#include "KurvoError.h"

#include <QString>

inline const QString ApplicationTitle = QStringLiteral("Kurvo ver.3.2");

// The message as the box shows it: followed by "." when its last character sorts after ".".
QString ErrorBoxText(const QString& message);

// Shows the message modally with the error icon, an OK button and the application title.
void ShowErrorBox(const QString& message);

// Runs a command of the user; an error it raises ends in the error box and the program goes on.
// Handlers catch here, before the error could unwind through Qt's event and signal code.
template <class Command> void RunCommand(Command&& command) {
  try {
    command();
  } catch (const KurvoError& error) {
    ShowErrorBox(error.message());
  }
}
