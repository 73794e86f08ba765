#include "raw_search.hpp"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QTableView>
#include <QVBoxLayout>

#include "carved_type_model.hpp"
#include "carving/photo_search.hpp"
#include "thumbs_list.hpp"

namespace pellora::gui {

CRawSearch::CRawSearch(Program& app, CQtUi& ui, bool system_drives, QWidget* parent)
    : CCarvingWindow(app, ui, system_drives, SearchMode::kPhoto,
                     {{"Extension", CCarvedTypeModel::Field::kTypeName},
                      {"Count", CCarvedTypeModel::Field::kFolderCount},
                      {"Folder Name", CCarvedTypeModel::Field::kFolderName}},
                     parent) {
  setObjectName("CRawSearch");
  thorough_ = new QCheckBox("Also perform Thorough Scanning Algorithm Search", this);
  thorough_->setObjectName(thorough_->text());
  thorough_->hide();
  ModeArea().addWidget(thorough_);

  auto* row = new QHBoxLayout;
  thumbnails_ = new CThumbsListCtrl(this);
  row->addWidget(thumbnails_, 1);
  TypeModel().SetTable(CarvedTypeTable::ForPhoto(app.photo_definitions));
  type_table_ = MakeTypeTable(TypeModel(), "type table", {100, 100, 100}, this);
  row->addWidget(type_table_);
  ModeArea().addLayout(row, 1);

  connect(thumbnails_, &CThumbsListCtrl::OpenRequested, this, &CRawSearch::OpenCarvedFile);
}

void CRawSearch::SelectionChecked() { thorough_->show(); }

CCarvingWindow::SearchRun CRawSearch::PrepareSearch(CarvingRequest& request) {
  thumbnails_->Clear();
  TypeModel().SetTable(CarvedTypeTable::ForPhoto(App().photo_definitions));
  request.thorough = thorough_->isChecked();
  Program& app = App();
  return [&app](const CarvingRequest& run, std::stop_token stop) { return RunPhotoSearch(app, run, std::move(stop)); };
}

void CRawSearch::ListFiles(const QList<CarvedFile>& files) { thumbnails_->AddThumbnails(files); }

void CRawSearch::SetModeControlsEnabled(bool enabled) { thorough_->setEnabled(enabled); }

}  // namespace pellora::gui
