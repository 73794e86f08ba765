#pragma once

#include <QDialog>
#include <QString>

#include <functional>

class QTimer;

namespace pellora::gui {

// "Please wait": shown while a short worker runs (a log written or read, a file copied for
// viewing), closing itself once running says the worker has ended. With stop, its "Stop" button
// (and the close box) asks the worker to end; without, the window cannot be closed by hand.
class CPleaseWaitDlg final : public QDialog {
  Q_OBJECT

 public:
  CPleaseWaitDlg(const QString& text, std::function<bool()> running, QWidget* parent = nullptr,
                 std::function<void()> stop = {});
  void reject() override;

 private:
  std::function<bool()> running_;
  std::function<void()> stop_;
  QTimer* poll_ = nullptr;
};

}  // namespace pellora::gui
