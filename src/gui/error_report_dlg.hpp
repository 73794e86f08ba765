#pragma once

#include <QDialog>

#include "common/ui.hpp"

class QTextEdit;

namespace pellora::gui {

// The report of a failed operation: its headline, the body to send to support, "Copy Information",
// "Contact Support" and "OK".
class CErrorReportDlg final : public QDialog {
  Q_OBJECT

 public:
  explicit CErrorReportDlg(const ErrorReport& report, QWidget* parent = nullptr);

 private:
  void CopyInformation();
  void ContactSupport();

  ErrorReport report_;
  QTextEdit* body_ = nullptr;
};

}  // namespace pellora::gui
