// The application's error box: an error that escapes a command is shown to the user over the
// window of that command, and the program goes on.
#pragma once

#include <QString>

#include <exception>

class QWidget;

inline const QString ApplicationTitle = QStringLiteral("Kurvo ver.3.2");

// The message as the box shows it: followed by "." when its last character sorts after ".".
QString ErrorBoxText(const QString& message);

// Shows the message modally with the error icon, an OK button and the application title,
// centred over the window (or where the platform puts it when there is none).
void ShowErrorBox(const QString& message, QWidget* window);

// The one catch-and-report of the program: shows the error in the error box over the window.
// A KurvoError shows its message, running out of memory a message of its own, any other
// standard exception its description.
void ReportError(const std::exception& error, QWidget* window);

// Runs a command of the user given in the window; an error it raises ends in the error box
// and the program goes on. Handlers catch here, before the error could unwind through Qt's
// event and signal code.
template <class Command> void RunCommand(QWidget* window, Command&& command) {
  try {
    command();
  } catch (const std::exception& error) {
    ReportError(error, window);
  }
}
