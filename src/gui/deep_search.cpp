#include "deep_search.hpp"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include <ctime>

#include "dialogs.hpp"
#include "qt_ui.hpp"
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
  const Validation outcome = ValidateSelection(ChosenFileSystem());
  if (outcome == Validation::kRefused) return;
  if (outcome == Validation::kUnrecognised) {
    app_.ui.ShowMessage(kSelectFileSystemType);
    return;
  }
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
