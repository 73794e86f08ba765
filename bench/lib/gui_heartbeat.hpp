// What the desktop program's benchmarks share: a 20 ms heartbeat on the GUI thread, waiting with
// the event loop running, and message boxes answered with their default button.
#pragma once

#include <QApplication>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include <algorithm>
#include <functional>
#include <utility>

namespace pellora::bench {

// The worst lateness of a 20 ms timer since the last Take().
class Heartbeat {
 public:
  Heartbeat() {
    QObject::connect(&timer_, &QTimer::timeout, [this] {
      const qint64 now = clock_.elapsed();
      worst_ = std::max(worst_, now - last_ - 20);
      last_ = now;
    });
    clock_.start();
    timer_.start(20);
  }
  qint64 Take() { return std::exchange(worst_, 0); }
  qint64 Now() const { return clock_.elapsed(); }

 private:
  QTimer timer_;
  QElapsedTimer clock_;
  qint64 last_ = 0;
  qint64 worst_ = 0;
};

// Waits, with the event loop running, until done() holds. The loop sleeps between events (the
// heartbeat wakes it at least every 20 ms), so that the wait takes no core from the work measured.
template <class Done>
void RunUntil(Done done) {
  while (!done()) QApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
}

// Every message box takes its default answer; seen (when given) learns of each box first.
class DefaultAnswers {
 public:
  explicit DefaultAnswers(std::function<void(QMessageBox&)> seen = {}) : seen_(std::move(seen)) {
    QObject::connect(&timer_, &QTimer::timeout, [this] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      if (box == nullptr || box->defaultButton() == nullptr) return;
      if (seen_) seen_(*box);
      box->defaultButton()->click();
    });
    timer_.start(10);
  }

 private:
  QTimer timer_;
  std::function<void(QMessageBox&)> seen_;
};

}  // namespace pellora::bench
