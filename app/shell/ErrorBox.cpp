#include "ErrorBox.h"

#include <QApplication>
#include <QMessageBox>

QString ErrorBoxText(const QString& message) {
  if (!message.isEmpty() && message.back() > QLatin1Char('.')) return message + QLatin1Char('.');
  return message;
}

void ShowErrorBox(const QString& message) {
  QMessageBox box(QMessageBox::Critical, ApplicationTitle, ErrorBoxText(message), QMessageBox::Ok,
                  QApplication::activeWindow());
  box.exec();
}
