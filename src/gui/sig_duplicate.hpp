#pragma once

#include <QAbstractTableModel>
#include <QHash>
#include <QIcon>

#include <memory>

#include "carved_files_model.hpp"
#include "carving/signature_search.hpp"
#include "carving/type_checklist.hpp"
#include "carving_window.hpp"

class QListView;
class QTableView;

namespace pellora::gui {

// The extension checklist of Video and Signature Search ("Extension", "Description", a tick per
// row) over the window's checklist.
class CTypeChecklistModel final : public QAbstractTableModel {
  Q_OBJECT

 public:
  explicit CTypeChecklistModel(std::shared_ptr<TypeChecklist> checklist, QObject* parent = nullptr);

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  bool setData(const QModelIndex& index, const QVariant& value, int role) override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

  // The checklist was filled or sorted.
  void Refresh();
  void SetAll(bool checked);

 private:
  std::shared_ptr<TypeChecklist> checklist_;
};

// One icon per file type, made once: the desktop theme's icon for the type, else a page marked
// with the type's name.
class CFileTypeIcons {
 public:
  QIcon For(const QString& type_name);

 private:
  QHash<QString, QIcon> icons_;
};

// The recovered-file window of Video and Signature Search: the files found, each with the icon
// of its type.
class CRecoveredFilesModel final : public CCarvedFilesModel {
  Q_OBJECT

 public:
  using CCarvedFilesModel::CCarvedFilesModel;

 protected:
  QVariant Decoration(int row) const override;
  void Appended(int, int) override {}
  void Emptied() override {}

 private:
  mutable CFileTypeIcons icons_;
};

// The "Video Search" or "Signature Search" window (mode word "Video" or "Signature"): the carving
// frame with the extension checklist, the type list ("File Types", "No. of files found") and the
// recovered-file window.
class CSigDuplicate final : public CCarvingWindow {
  Q_OBJECT

 public:
  CSigDuplicate(Program& app, CQtUi& ui, bool system_drives, SearchMode mode, QWidget* parent = nullptr);

  const SignatureSearchKind& Kind() const { return kind_; }
  TypeChecklist& Checklist() const { return *checklist_; }
  CTypeChecklistModel& ChecklistModel() const { return *checklist_model_; }
  QTableView& ChecklistView() const { return *checklist_view_; }
  QListView& RecoveredFiles() const { return *recovered_view_; }
  CRecoveredFilesModel& RecoveredModel() const { return *recovered_; }

 protected:
  void SelectionChecked() override;
  SearchRun PrepareSearch(CarvingRequest& request) override;
  void ListFiles(const QList<CarvedFile>& files) override;
  void SetModeControlsEnabled(bool enabled) override;

 private:
  SignatureSearchKind kind_;
  // Shared with the worker, which reads the ticks while the window keeps the list untouched.
  std::shared_ptr<TypeChecklist> checklist_ = std::make_shared<TypeChecklist>();
  QWidget* checklist_panel_ = nullptr;
  CTypeChecklistModel* checklist_model_ = nullptr;
  QTableView* checklist_view_ = nullptr;
  QTableView* type_list_ = nullptr;
  CRecoveredFilesModel* recovered_ = nullptr;
  QListView* recovered_view_ = nullptr;
};

}  // namespace pellora::gui
