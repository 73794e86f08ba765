#include "basic_search.hpp"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "dialogs.hpp"
#include "drive_panel.hpp"
#include "qt_ui.hpp"
#include "recognition/lost_partition_search.hpp"
#include "result_panel.hpp"
#include "search/basic_search.hpp"
#include "state/end_message.hpp"
#include "storage/drive_details.hpp"

namespace pellora::gui {

CBasicSearch::CBasicSearch(Program& app, CQtUi& ui, bool system_drives, QWidget* parent)
    : CSearchWindow(app, ui, SearchMode::kBasic, system_drives, parent) {
  setWindowTitle("Basic Search");
  setObjectName("CBasicSearch");
  more_ = MakeButton(FromView("Search More Partitions"), this, &Buttons());
  stop_more_ = MakeButton(FromView(kStopSearchingPartitions), this, &Buttons());
  stop_more_->setVisible(false);
  connect(more_, &QPushButton::clicked, this, &CBasicSearch::SearchMorePartitions);
  connect(stop_more_, &QPushButton::clicked, this, &CBasicSearch::StopSearchingPartitions);
}

CBasicSearch::~CBasicSearch() { CBasicSearch::EndWorkers(); }

void CBasicSearch::SetSearching(bool searching) {
  CSearchWindow::SetSearching(searching);
  more_->setEnabled(!searching);
  stop_more_->setVisible(partition_search_);
  more_->setVisible(!partition_search_);
  if (partition_search_) {
    StopButton().setEnabled(false);
    if (searching) stop_more_->setFocus();
  }
}

void CBasicSearch::Start() {
  const Validation outcome = ValidateSelection(std::nullopt);
  if (outcome == Validation::kRefused) return;
  if (outcome == Validation::kUnrecognised) {
    ShowEndMessage(app_, false);
    return;
  }
  BeginSearch();
  tables_ = std::make_unique<SearchTables>(TakeSearchTables(app_));
  SearchTables* tables = tables_.get();
  app_.search.Start([this, tables](std::stop_token stop) {
    RunBasicSearch(app_, *tables, std::move(stop));
    QMetaObject::invokeMethod(this, &CBasicSearch::OnSearchEnded, Qt::QueuedConnection);
  });
}

void CBasicSearch::OnSearchEnded() {
  if (!tables_) return;
  app_.search.Join();
  HandBackSearchTables(app_, std::move(*tables_));
  tables_.reset();
  EndSearch();
}

void CBasicSearch::EndWorkers() {
  CSearchWindow::EndWorkers();
  partition_search_ = false;
  if (tables_) {
    HandBackSearchTables(app_, std::move(*tables_));
    tables_.reset();
  }
}

void CBasicSearch::SearchMorePartitions() {
  if (app_.search.Running() || app_.saving.Running()) return;
  DriveListing& listing = app_.drive_listing;
  std::optional<int> disk_item = listing.tree.selected;
  if (disk_item && listing.tree.Item(*disk_item).kind == DriveItemKind::kPartition)
    disk_item = listing.tree.Item(*disk_item).parent;
  const smpparam* geometry = disk_item ? listing.Geometry(*disk_item) : nullptr;
  if (geometry == nullptr) {
    Inform(this, "Please select a disk under \u201cPhysical Drives\u201d to search it for more partitions.");
    return;
  }

  QDialog choose(this);
  choose.setWindowTitle(ProductCaption());
  choose.setObjectName(FromView(kSearchMoreTitle));
  auto* layout = new QVBoxLayout(&choose);
  auto* title = new QLabel(FromView(kSearchMoreTitle), &choose);
  QFont bold = title->font();
  bold.setBold(true);
  title->setFont(bold);
  layout->addWidget(title);
  layout->addWidget(new QLabel(FromView(kSearchMoreText), &choose));
  auto* standard = new QRadioButton(FromView(kStandardModeLabel), &choose);
  auto* advanced = new QRadioButton(FromView(kAdvancedModeLabel), &choose);
  standard->setObjectName(standard->text());
  advanced->setObjectName(advanced->text());
  standard->setChecked(true);
  layout->addWidget(standard);
  layout->addWidget(advanced);
  auto* row = new QHBoxLayout;
  row->addStretch();
  connect(MakeButton(FromView(kSearchMoreContinue), &choose, row), &QPushButton::clicked, &choose, &QDialog::accept);
  connect(MakeButton(FromView(kSearchMoreCancel), &choose, row), &QPushButton::clicked, &choose, &QDialog::reject);
  layout->addLayout(row);
  if (choose.exec() != QDialog::Accepted) return;

  Results().StopFileList();
  const LostPartitionMode mode = advanced->isChecked() ? LostPartitionMode::kAdvanced : LostPartitionMode::kStandard;
  const smpparam disk = *geometry;
  partition_search_ = true;
  SetSearching(true);
  Status().setText(FromView(kSearchingPartitions));
  // The worker adds what it finds to the drive tree; the window shows the tree again when it ends.
  app_.search.Start([this, disk, mode](std::stop_token stop) {
    int found = 0;
    app_.reporter.Guarded("Search more partition for selected drive...", "LD", "1FA", [&] {
      LostPartitionSearch search{
          .sectors = app_.sectors, .listing = app_.drive_listing, .ui = &app_.ui, .stop = stop, .silent = {}};
      found = SearchDisk(search, disk, mode);
    });
    QMetaObject::invokeMethod(
        this,
        [this, disk, found] {
          if (!partition_search_) return;  // the window was closed meanwhile
          app_.search.Join();
          partition_search_ = false;
          ui_.Flush();
          SetSearching(false);
          Status().clear();
          Drives().ShowListing();
          Drives().SelectFirstDrive();
          app_.ui.ShowMessage(DiskResultMessage(found, app_.drive_listing, disk), kMessageCaption);
        },
        Qt::QueuedConnection);
  });
}

void CBasicSearch::StopSearchingPartitions() {
  if (!partition_search_ || !app_.search.Running()) return;
  if (ConfirmStopPartitionSearch(app_.ui)) app_.search.RequestStop();
}

}  // namespace pellora::gui
