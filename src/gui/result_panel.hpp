#pragma once

#include <QObject>
#include <QString>

#include <cstdint>
#include <thread>
#include <vector>

#include "app/program.hpp"
#include "model/file_list.hpp"
#include "state/save_state.hpp"

class QModelIndex;
class QPoint;
class QTableView;
class QWidget;

namespace pellora {
class DeepPartitionTable;
}

namespace pellora::gui {

class CFileListModel;
class CQtUi;
class CResultTreeModel;
class CTreeClass;

// What the Basic and Deep Search windows show of their results: the result tree with check boxes,
// the file list of the selected folder (filled on a short worker), their context menus, saving
// ("Save Data", "Save", "Save All") and opening a file for viewing. The window places the two
// views; the panel keeps them in step with the results.
class CResultPanel final : public QObject {
  Q_OBJECT

 public:
  // The views are made as children of window, which also owns the dialogs of saving.
  CResultPanel(Program& app, CQtUi& ui, QWidget* window);
  ~CResultPanel() override;

  CTreeClass& Tree() const { return *tree_; }
  CResultTreeModel& TreeModel() const { return *tree_model_; }
  QTableView& Files() const { return *files_; }
  CFileListModel& FileModel() const { return *file_model_; }

  // Deep Search's partitions: folders are listed, opened and saved on their own partition.
  // nullptr for a Basic result.
  void SetDeepPartitions(DeepPartitionTable* table);
  // A search or a log load is about to replace the results: nothing is listed or shown of them.
  void Clear();
  // Results arrived: the tree is shown with its first item expanded and selected.
  void ShowResults();
  void SetEnabled(bool enabled);
  // Ends the filling of the file list, if one runs (before anything else reads or writes the results).
  void StopFileList();

  // "Save Data": the ticked folders of the tree.
  void SaveData();
  // Double-click or "Open": a file line is opened for viewing, a folder line selects its folder.
  void OpenLine(const QModelIndex& index);

 signals:
  // A save runs (true) or ended (false): the window disables what could start other work.
  void BusyChanged(bool busy);
  void StatusChanged(const QString& text);

 private:
  void FolderSelected();
  void SaveRows(bool all);
  void RunSave(SaveSource source, std::vector<FileListRow> rows);
  void ShowFileListMenu(const QPoint& at);
  void ShowTreeMenu(const QPoint& at);

  Program& app_;
  CQtUi& ui_;
  QWidget* window_;
  DeepPartitionTable* deep_ = nullptr;
  CTreeClass* tree_ = nullptr;
  CResultTreeModel* tree_model_ = nullptr;
  QTableView* files_ = nullptr;
  CFileListModel* file_model_ = nullptr;
  // Fills the file list of the selected folder; only reads the results, which the GUI thread
  // leaves alone meanwhile (a search, a save or a new selection stops it first).
  std::jthread file_lister_;
  std::uint64_t listing_ = 0;  // which selection the running filler answers
  ItemId listed_ = kNoItem;    // the folder whose lines the list shows
};

}  // namespace pellora::gui
