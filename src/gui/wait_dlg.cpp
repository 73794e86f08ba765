#include "wait_dlg.hpp"

#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include "dialogs.hpp"

namespace pellora::gui {

CPleaseWaitDlg::CPleaseWaitDlg(const QString& text, std::function<bool()> running, QWidget* parent,
                               std::function<void()> stop)
    : QDialog(parent), running_(std::move(running)), stop_(std::move(stop)) {
  setWindowTitle("Please wait...");
  setObjectName("CPleaseWaitDlg");
  setWindowFlag(Qt::WindowCloseButtonHint, static_cast<bool>(stop_));
  auto* layout = new QVBoxLayout(this);
  auto* label = new QLabel(text, this);
  label->setObjectName("wait text");
  label->setWordWrap(true);
  label->setMinimumWidth(360);
  layout->addWidget(label);
  auto* bar = new QProgressBar(this);
  bar->setRange(0, 0);  // no measure of how far: the bar only shows that work goes on
  layout->addWidget(bar);
  if (stop_) {
    auto* row = new QHBoxLayout;
    row->addStretch();
    connect(MakeButton("Stop", this, row), &QPushButton::clicked, this, &CPleaseWaitDlg::reject);
    layout->addLayout(row);
  }
  poll_ = new QTimer(this);
  connect(poll_, &QTimer::timeout, this, [this] {
    if (!running_()) {
      poll_->stop();
      accept();
    }
  });
  poll_->start(40);
}

void CPleaseWaitDlg::reject() {
  if (stop_) stop_();
}

}  // namespace pellora::gui
