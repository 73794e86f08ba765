#pragma once

#include <QPointer>
#include <QWidget>

#include "app/program.hpp"
#include "basic_search.hpp"

class QCloseEvent;
class QDialog;
class QProgressBar;
class QTimer;

namespace pellora::gui {

class CCarvingWindow;
class CQtUi;

// The main window: the five search modes, the disk-management tool, the error log and the
// information windows.
class CMainWindow final : public QWidget {
  Q_OBJECT

 public:
  CMainWindow(Program& app, CQtUi& ui, bool system_drives, QWidget* parent = nullptr);
  ~CMainWindow() override;

  // A mode button: Basic lists the drives on the drive-loading worker and then opens its window.
  void StartSearchMode(SearchMode mode);
  // The open mode window, if any.
  CBasicSearch* ModeWindow() const { return mode_window_; }
  // The open Photo, Video or Signature Search window, if any.
  CCarvingWindow* CarvingWindow() const;
  // Closing without the exit question (tests, the end of a screenshot run).
  void CloseWithoutAsking();

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void OpenModeWindow(SearchMode mode);
  // Runs a mode window modally over the main window, which comes back when it closes.
  void ShowModeWindow(QDialog* window);
  void ShowLoadingWindow();
  void CloseLoadingWindow();
  void ShowInformation(const QString& title, const QString& html);
  void ShowReview();

  Program& app_;
  CQtUi& ui_;
  bool system_drives_;
  bool ask_on_close_ = true;
  QPointer<CBasicSearch> mode_window_;
  QPointer<CCarvingWindow> carving_window_;
  QPointer<QDialog> loading_;
  QProgressBar* loading_bar_ = nullptr;
  QTimer* loading_timer_ = nullptr;
};

}  // namespace pellora::gui
