#pragma once

#include "carving_window.hpp"

class QCheckBox;
class QTableView;

namespace pellora::gui {

class CThumbsListCtrl;

// The "Photo Search" window: the carving frame with "Also perform Thorough Scanning Algorithm
// Search", the type table ("Extension", "Count", "Folder Name") and the thumbnails of the photos
// found.
class CRawSearch final : public CCarvingWindow {
  Q_OBJECT

 public:
  CRawSearch(Program& app, CQtUi& ui, bool system_drives, QWidget* parent = nullptr);

  CThumbsListCtrl& Thumbnails() const { return *thumbnails_; }
  QTableView& TypeTable() const { return *type_table_; }

 protected:
  void SelectionChecked() override;
  SearchRun PrepareSearch(CarvingRequest& request) override;
  void ListFiles(const QList<CarvedFile>& files) override;
  void SetModeControlsEnabled(bool enabled) override;

 private:
  QCheckBox* thorough_ = nullptr;
  CThumbsListCtrl* thumbnails_ = nullptr;
  QTableView* type_table_ = nullptr;
};

}  // namespace pellora::gui
