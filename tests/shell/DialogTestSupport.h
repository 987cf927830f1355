// Helpers of the dialog tests: answering a modal window that a handler opens and runs until it
// closes.
#pragma once

#include "../ModalAnswer.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <memory>

// Clicks the button of a message box that carries this text.
inline void clickMessageButton(QMessageBox* box, const QString& text) {
  for (QAbstractButton* button : box->buttons())
    if (button->text() == text) {
      button->click();
      return;
    }
  box->reject();
}
