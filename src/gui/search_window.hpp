#pragma once

#include <QDialog>
#include <QPointer>
#include <QString>

#include <optional>
#include <vector>

#include "app/program.hpp"
#include "fat/found_partition.hpp"
#include "recognition/validate_partition.hpp"
#include "recoverylog/recovery_log.hpp"

class QHBoxLayout;
class QLabel;
class QPushButton;
class QTableView;
class QVBoxLayout;

namespace pellora::gui {

class CDrivePanel;
class CFindInList;
class CFileListModel;
class CQtUi;
class CResultPanel;
class CResultTreeModel;
class CScanProgress;
class CTreeClass;

// What the Basic and Deep Search windows share: the drive tree, the results (tree and file list),
// the progress and texts of the scan, "Stop", "Save Data", "Save Log", "Load Log", "Find in List"
// and the question about the log when the window closes with results nobody logged. Each window
// adds how it starts its search.
class CSearchWindow : public QDialog {
  Q_OBJECT

 public:
  CSearchWindow(Program& app, CQtUi& ui, SearchMode mode, bool system_drives, QWidget* parent = nullptr);
  ~CSearchWindow() override;

  // What opening the window does once the drives are listed: the tree, the no-device window when
  // there is no drive, and the load of a log named on the command line.
  void ShowDrives();
  CDrivePanel& Drives() const { return *drives_; }
  CResultPanel& Results() const { return *results_; }
  CTreeClass& ResultView() const;
  CResultTreeModel& ResultModel() const;
  QTableView& FileView() const;
  CFileListModel& FileModel() const;
  SearchMode Mode() const { return mode_; }

  virtual void Start() = 0;
  void Stop();
  void SaveData();
  void SaveLog();
  void LoadLog();
  void FindInList();
  // A device arrived: the no-device window, when it is up, searches for drives again.
  void DeviceArrived();
  // "Back" and the close box: asks to save the log of unlogged results first.
  void reject() override;
  // Closes without that question (the main window is closing, or the log switches windows).
  void CloseWithoutAsking();
  bool LogSaved() const { return log_saved_; }

 signals:
  // A log of the other mode was chosen and the person agreed to switch: that mode's window loads it.
  void SwitchMode(pellora::SearchMode mode, const QString& log_path);

 protected:
  // Below the drive tree: a window's own controls (the range and file-system fields of Deep Search).
  QVBoxLayout& DriveExtras() const { return *drive_extras_; }
  QHBoxLayout& Buttons() const { return *buttons_; }
  QLabel& Status() const;
  QPushButton& StopButton() const { return *stop_; }

  virtual void SetSearching(bool searching);
  // Start's first step: nothing else runs, and the selected drive item becomes the current partition
  // (file_system_choice: Deep Search's file-system selector). Refused when another worker runs.
  Validation ValidateSelection(std::optional<int> file_system_choice);
  // A search starts: the results shown so far go, the controls are disabled.
  void BeginSearch();
  // The search ended and its results are the state's: they are shown, then its end message.
  void EndSearch();
  // Stops and joins every worker of the window; what a search left is handed back.
  virtual void EndWorkers();
  // Deep Search's found partitions, for the log.
  virtual const std::vector<FoundPartition>* DeepRows() const { return nullptr; }
  // A log was loaded: what the window keeps of it beyond the results.
  virtual void KeepLoadedLog(LoadedLog&) {}
  // The results go (a search or a load replaces them).
  virtual void ForgetResults() {}

  Program& app_;
  CQtUi& ui_;

 private:
  void BuildLayout(bool system_drives);
  // The save-file dialog of "Save Log"; empty when cancelled.
  QString AskLogPath();
  // The exit prompt's save: on this thread. False when nothing was written.
  bool SaveLogNow();

  SearchMode mode_;
  bool log_saved_ = false;
  bool ask_on_close_ = true;
  CDrivePanel* drives_ = nullptr;
  CResultPanel* results_ = nullptr;
  QPointer<CFindInList> find_;
  QVBoxLayout* drive_extras_ = nullptr;
  QHBoxLayout* buttons_ = nullptr;
  CScanProgress* progress_ = nullptr;
  QPushButton* back_ = nullptr;
  QPushButton* start_ = nullptr;
  QPushButton* stop_ = nullptr;
  QPushButton* save_ = nullptr;
  QPushButton* save_log_ = nullptr;
  QPushButton* load_log_ = nullptr;
  QPushButton* find_button_ = nullptr;
};

}  // namespace pellora::gui
