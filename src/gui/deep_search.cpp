#include "deep_search.hpp"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <ctime>

#include "dialogs.hpp"
#include "drive_panel.hpp"
#include "qt_ui.hpp"
#include "range_fields.hpp"
#include "result_panel.hpp"
#include "state/end_message.hpp"

namespace pellora::gui {

namespace {
// The items of "Search selected Drive's file system as:", in the order validation numbers them.
const char* const kFileSystemItems[] = {"FAT16", "FAT32", "NTFS", "Unknown"};
constexpr int kUnknownItem = 3;
}  // namespace

CDeepSearch::CDeepSearch(Program& app, CQtUi& ui, bool system_drives, QWidget* parent)
    : CSearchWindow(app, ui, SearchMode::kDeep, system_drives, parent) {
  setWindowTitle("Deep Search");
  setObjectName("CDeepSearch");
  range_ = new CRangeFields(this);
  DriveExtras().addWidget(range_);
  // The fields follow the selected drive item (the drive panel has made it the selected one).
  const auto show_selected = [this] {
    const std::optional<int> item = app_.drive_listing.tree.selected;
    if (item && !Drives().Tree()->selectedItems().isEmpty()) {
      range_->ShowItem(app_.drive_listing, *item);
    } else {
      range_->Clear();
    }
  };
  connect(Drives().Tree(), &QTreeWidget::itemSelectionChanged, this, show_selected);
  connect(&Drives(), &CDrivePanel::DrivesReloaded, this, show_selected);
  auto* row = new QHBoxLayout;
  auto* label = new QLabel("Search selected Drive's file system as:", this);
  file_system_ = new QComboBox(this);
  file_system_->setObjectName(label->text());
  for (const char* item : kFileSystemItems) file_system_->addItem(item);
  file_system_->setCurrentIndex(kUnknownItem);
  label->setBuddy(file_system_);
  row->addWidget(label);
  row->addWidget(file_system_);
  row->addStretch();
  DriveExtras().addLayout(row);
}

CDeepSearch::~CDeepSearch() { CDeepSearch::EndWorkers(); }

std::optional<int> CDeepSearch::ChosenFileSystem() const {
  const int chosen = file_system_->currentIndex();
  if (chosen < 0 || chosen == kUnknownItem) return std::nullopt;
  return chosen;
}

void CDeepSearch::Start() {
  if (app_.search.Running() || app_.saving.Running() || app_.log_loading.Running()) return;
  // The range as typed is checked first, in the words every range search uses.
  const SearchSelectionOutcome range = SelectSearchRange(app_.devices, "Deep Search", range_->Request());
  if (!range.selection) {
    app_.ui.ShowMessage(range.message);
    return;
  }
  const Validation outcome = ValidateSelection(ChosenFileSystem());
  if (outcome == Validation::kRefused) return;
  if (outcome == Validation::kUnrecognised) {
    app_.ui.ShowMessage(kSelectFileSystemType);
    return;
  }
  if (!ApplySearchRange(app_, range.selection->start_sector, range.selection->end_sector)) return;
  BeginSearch();
  BeginSearchRun(app_);
  app_.results.Clear();
  const DeepSearchRequest request = DeepRequestFor(app_, std::time(nullptr));
  searching_ = true;
  // The worker fills tables of its own and hands them over at its end; nothing of the state's
  // results is touched meanwhile.
  app_.search.Start([this, request](std::stop_token stop) {
    auto found = std::make_shared<DeepSearchResult>(
        RunDeepSearch(request, app_.sectors, app_.ui, app_.reporter, std::move(stop)));
    QMetaObject::invokeMethod(
        this, [this, found] { OnSearchEnded(found); }, Qt::QueuedConnection);
  });
}

void CDeepSearch::OnSearchEnded(std::shared_ptr<DeepSearchResult> found) {
  if (!searching_) return;
  searching_ = false;
  app_.search.Join();
  table_ = std::make_unique<DeepPartitionTable>(TakeDeepSearchResult(app_, std::move(*found)));
  Results().SetDeepPartitions(table_.get());
  EndSearch();
  // Once the tree shows what was found.
  ShowDeepEndMessage(app_);
}

void CDeepSearch::EndWorkers() {
  CSearchWindow::EndWorkers();
  searching_ = false;
}

const std::vector<FoundPartition>* CDeepSearch::DeepRows() const { return table_ ? &table_->Rows() : nullptr; }

void CDeepSearch::KeepLoadedLog(LoadedLog& log) {
  table_ = std::make_unique<DeepPartitionTable>(app_, std::move(log.deep_partitions));
  Results().SetDeepPartitions(table_.get());
}

void CDeepSearch::ForgetResults() {
  Results().SetDeepPartitions(nullptr);
  table_.reset();
}

}  // namespace pellora::gui
