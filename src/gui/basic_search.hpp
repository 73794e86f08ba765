#pragma once

#include <QDialog>
#include <QPointer>

#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "app/program.hpp"
#include "model/file_list.hpp"
#include "state/save_state.hpp"
#include "state/search_tables.hpp"

class QLabel;
class QProgressBar;
class QPushButton;
class QTableView;

namespace pellora::gui {

class CDrivePanel;
class CNoDeviceDlg;
class CFileListModel;
class CQtUi;
class CResultTreeModel;
class CTreeClass;

// The "Basic Search" window: the drive tree, the result tree with check boxes, the file list of the
// selected folder, the progress of the scan and its buttons. The scan runs on the search worker;
// while it runs the window shows nothing of the results (the worker owns them) and gets them back
// when it ends.
class CBasicSearch final : public QDialog {
  Q_OBJECT

 public:
  CBasicSearch(Program& app, CQtUi& ui, bool system_drives, QWidget* parent = nullptr);
  ~CBasicSearch() override;

  // What opening the window does once the drives are listed: the tree, and the no-device window
  // when there is no drive.
  void ShowDrives();
  CDrivePanel& Drives() const { return *drives_; }
  CTreeClass& ResultView() const { return *results_; }
  CResultTreeModel& ResultModel() const { return *tree_model_; }
  QTableView& FileView() const { return *files_; }
  CFileListModel& FileModel() const { return *file_model_; }

  void Start();
  void Stop();
  void SaveData();
  // "Search More Partitions": the mode dialog, then the search of the selected disk on the search
  // worker; "Stop Searching Partitions" asks and stops it.
  void SearchMorePartitions();
  void StopSearchingPartitions();
  void reject() override;  // "Back" and the close box
  // A device arrived: the no-device window, when it is up, searches for drives again.
  void DeviceArrived();

 private:
  void BuildLayout();
  void OnSearchEnded();
  void SetSearching(bool searching);
  void FolderSelected();
  void OpenLine(const QModelIndex& index);
  void SaveRows(bool all);
  void RunSave(SaveSource source, std::vector<FileListRow> rows);
  void ShowText(int field, const QString& text);
  void ShowFileListMenu(const QPoint& at);
  void ShowTreeMenu(const QPoint& at);
  void EndWorkers();
  // Ends the filling of the file list, if one runs.
  void StopFileList();

  Program& app_;
  CQtUi& ui_;
  bool system_drives_;
  // What the running search fills; nullptr when none runs.
  std::unique_ptr<SearchTables> tables_;
  int search_count_ = 0;
  // Fills the file list of the selected folder; only reads the results, which the GUI thread
  // leaves alone meanwhile (a search, a save or a new selection stops it first).
  std::jthread file_lister_;
  std::uint64_t listing_ = 0;  // which selection the running filler answers

  CDrivePanel* drives_ = nullptr;
  QPointer<CNoDeviceDlg> no_device_;
  CTreeClass* results_ = nullptr;
  CResultTreeModel* tree_model_ = nullptr;
  QTableView* files_ = nullptr;
  CFileListModel* file_model_ = nullptr;
  QProgressBar* progress_ = nullptr;
  QLabel* current_sector_ = nullptr;
  QLabel* total_sectors_ = nullptr;
  QLabel* search_range_ = nullptr;
  QLabel* status_ = nullptr;
  QLabel* hint_ = nullptr;
  QPushButton* start_ = nullptr;
  QPushButton* stop_ = nullptr;
  QPushButton* save_ = nullptr;
  QPushButton* back_ = nullptr;
  QPushButton* more_ = nullptr;
  QPushButton* stop_more_ = nullptr;
  bool partition_search_ = false;
};

}  // namespace pellora::gui
