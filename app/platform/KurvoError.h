// The error a command raises: it carries the message shown to the user and escapes to the
// application's error box, after which the program goes on.
#pragma once

#include <QString>

#include <stdexcept>

class KurvoError : public std::runtime_error {
public:
  explicit KurvoError(const QString& message)
      : std::runtime_error(message.toStdString()), m_message(message) {}
  const QString& message() const { return m_message; }

private:
  QString m_message;
};
