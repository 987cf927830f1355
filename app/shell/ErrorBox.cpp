#include "ErrorBox.h"

#include "KurvoError.h"

#include <QMessageBox>

#include <new>

QString ErrorBoxText(const QString& message) {
  if (!message.isEmpty() && message.back() > QLatin1Char('.')) return message + QLatin1Char('.');
  return message;
}

void ShowErrorBox(const QString& message, QWidget* window) {
  QMessageBox box(QMessageBox::Critical, ApplicationTitle, ErrorBoxText(message), QMessageBox::Ok,
                  window);
  box.exec();
}

void ReportError(const std::exception& error, QWidget* window) {
  if (const auto* kurvoError = dynamic_cast<const KurvoError*>(&error))
    ShowErrorBox(kurvoError->message(), window);
  else if (dynamic_cast<const std::bad_alloc*>(&error))
    ShowErrorBox(QStringLiteral("メモリが不足しています"), window);
  else
    ShowErrorBox(QString::fromUtf8(error.what()), window);
}
