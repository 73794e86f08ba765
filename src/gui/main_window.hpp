#pragma once

#include <QPointer>
#include <QWidget>

#include <string>

#include "app/program.hpp"
#include "search_window.hpp"

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

  // A mode button: Basic and Deep list the drives on the drive-loading worker and then open their
  // window; with log_path that window loads the log once its drives are listed.
  void StartSearchMode(SearchMode mode, const std::string& log_path = {});
  // A recovery log named on the command line opens its mode's window, which loads it. False when
  // the file cannot be read (the program then ends).
  bool OpenCommandLineLog();
  // The open mode window, if any.
  CSearchWindow* ModeWindow() const { return mode_window_; }
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
  QPointer<CSearchWindow> mode_window_;
  QPointer<CCarvingWindow> carving_window_;
  QPointer<QDialog> loading_;
  QProgressBar* loading_bar_ = nullptr;
  QTimer* loading_timer_ = nullptr;
};

}  // namespace pellora::gui
