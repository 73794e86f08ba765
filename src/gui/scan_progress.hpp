#pragma once

#include <QWidget>

class QLabel;
class QProgressBar;

namespace pellora::gui {

class CQtUi;

// The progress area of a scanning window: the bar, "Searching from sectors" with the current
// sector and the total, the status line and the hint, kept up to date from the worker's reports
// as CQtUi hands them over.
class CScanProgress final : public QWidget {
  Q_OBJECT

 public:
  CScanProgress(CQtUi& ui, QWidget* parent = nullptr);

  QProgressBar& Bar() const { return *bar_; }
  QLabel& Status() const { return *status_; }
  QLabel& Hint() const { return *hint_; }
  // A field of UiText.
  void ShowText(int field, const QString& text);

 private:
  QProgressBar* bar_ = nullptr;
  QLabel* current_sector_ = nullptr;
  QLabel* total_sectors_ = nullptr;
  QLabel* search_range_ = nullptr;
  QLabel* status_ = nullptr;
  QLabel* hint_ = nullptr;
};

}  // namespace pellora::gui
