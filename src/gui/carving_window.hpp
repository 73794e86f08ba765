#pragma once

#include <QDialog>

#include <functional>
#include <optional>
#include <stop_token>

#include "app/carving_modes.hpp"
#include "app/program.hpp"
#include "app/search_selection.hpp"
#include "carved_type_model.hpp"
#include "qt_ui.hpp"

class QLineEdit;
class QListWidget;
class QPushButton;
class QVBoxLayout;
class QWidget;

namespace pellora::gui {

class CDrivePanel;
class CRangeFields;
class CScanProgress;

// What Photo, Video and Signature Search share: the drive tree and its range fields, the
// information list, the destination with "Browse", the progress area, and the buttons "Start"
// (twice: the first click checks the drive and range, the second starts), "Stop Search", "Open
// Containing Folder" and "Back". The search runs on the search worker; the window follows it from
// what CQtUi hands over and takes its report when it ends.
class CCarvingWindow : public QDialog {
  Q_OBJECT

 public:
  ~CCarvingWindow() override;

  // What opening the window does once the drives are listed: the tree, and the no-device window
  // when there is no drive.
  void ShowDrives();
  // A device arrived: the no-device window, when it is up, searches for drives again.
  void DeviceArrived();

  CDrivePanel& Drives() const { return *drives_; }
  CRangeFields& Range() const { return *range_; }
  QListWidget& Information() const { return *information_; }
  QLineEdit& Destination() const { return *destination_; }
  CScanProgress& Progress() const { return *progress_; }
  // The types of the search with what was found of each.
  CCarvedTypeModel& TypeModel() const { return *types_; }
  // A search runs, or has not yet been handed back.
  bool Searching() const { return searching_; }

  void Start();
  void StopSearch();
  void OpenContainingFolder();
  void reject() override;  // "Back" and the close box

 protected:
  using SearchRun = std::function<CarvingReport(const CarvingRequest&, std::stop_token)>;

  // type_columns: the columns of the mode's type table.
  CCarvingWindow(Program& app, CQtUi& ui, bool system_drives, SearchMode mode, CCarvedTypeModel::Columns type_columns,
                 QWidget* parent);

  Program& App() const { return app_; }
  // Where a mode puts its own controls, below the destination.
  QVBoxLayout& ModeArea() const { return *mode_area_; }
  // Opens a carved file with the desktop's program for it.
  void OpenCarvedFile(const QString& path);

  // The first click has checked the drive and the range.
  virtual void SelectionChecked() {}
  // The second click: what the worker runs, or an empty function when the window refuses to start.
  // The type table is set up for the search here.
  virtual SearchRun PrepareSearch(CarvingRequest& request) = 0;
  // Lists what the search finished (the type table counts it by itself).
  virtual void ListFiles(const QList<CarvedFile>& files) = 0;
  virtual void SetModeControlsEnabled(bool enabled) = 0;

 private:
  void BuildLayout();
  void DriveSelected();
  void ForgetSelection();
  bool CheckSelection();
  void StartSearch();
  void OnSearchEnded(const CarvingReport& report);
  void SetSearching(bool searching);
  void Browse();
  void EndWorkers();

  Program& app_;
  CQtUi& ui_;
  bool system_drives_;
  SearchMode mode_;
  QString search_type_;  // "Photo Search", "Video Search", "Signature Search"
  // What the first click checked; the next click starts the search.
  std::optional<SearchSelection> selection_;
  bool searching_ = false;

  CDrivePanel* drives_ = nullptr;
  CRangeFields* range_ = nullptr;
  QListWidget* information_ = nullptr;
  QWidget* destination_row_ = nullptr;
  QLineEdit* destination_ = nullptr;
  QPushButton* browse_ = nullptr;
  QVBoxLayout* mode_area_ = nullptr;
  CScanProgress* progress_ = nullptr;
  CCarvedTypeModel* types_ = nullptr;
  QPushButton* start_ = nullptr;
  QPushButton* stop_ = nullptr;
  QPushButton* open_folder_ = nullptr;
  QPushButton* back_ = nullptr;
};

}  // namespace pellora::gui
