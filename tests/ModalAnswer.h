// Answering a modal window that the code under test opens and runs until it closes.
#pragma once

#include <QApplication>
#include <QTimer>

#include <functional>
#include <memory>

// Calls `answer` with the next modal window of type W that opens while the returned watch
// lives; the caller goes on into the code that opens it. The answer must close the window.
template <class W>
[[nodiscard]] std::unique_ptr<QTimer> answerNextModal(std::function<void(W*)> answer) {
  auto poll = std::make_unique<QTimer>();
  QTimer* timer = poll.get();
  QObject::connect(timer, &QTimer::timeout, [timer, answer] {
    auto* modal = qobject_cast<W*>(QApplication::activeModalWidget());
    if (!modal || !modal->isVisible()) return;
    timer->stop();
    answer(modal);
  });
  timer->start(10);
  return poll;
}
