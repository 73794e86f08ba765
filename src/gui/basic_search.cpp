#include "basic_search.hpp"

#include <algorithm>
#include <cstdint>

#include <QApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSplitter>
#include <QTableView>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "dialogs.hpp"
#include "drive_panel.hpp"
#include "file_list_model.hpp"
#include "qt_ui.hpp"
#include "recognition/lost_partition_search.hpp"
#include "recognition/validate_partition.hpp"
#include "result_tree_model.hpp"
#include "save/destination_check.hpp"
#include "save/start_save.hpp"
#include "save_dialogs.hpp"
#include "search/basic_search.hpp"
#include "search/file_list_filler.hpp"
#include "search/recovered_file_preview.hpp"
#include "state/end_message.hpp"
#include "storage/drive_details.hpp"

namespace pellora::gui {

namespace {

constexpr std::string_view kStopSearchingQuestion = "Do you want to stop searching?";
constexpr std::string_view kSaveLogNoScan =
    "To save the Log (index of recovered files and folders) of recovery, first you need to scan the drive and "
    "recover the lost data.";
constexpr std::string_view kSaveLogScanning =
    "Disk scanning process is still going on.\n\nTo save the Log (index of recovered files and folders) of recovery, "
    "please allow the scanning process to be completed.";

}  // namespace

CBasicSearch::CBasicSearch(Program& app, CQtUi& ui, bool system_drives, QWidget* parent)
    : QDialog(parent), app_(app), ui_(ui), system_drives_(system_drives) {
  setWindowTitle("Basic Search");
  setObjectName("CBasicSearch");
  setWindowFlag(Qt::WindowMaximizeButtonHint);
  ui_.Rearm();
  ui_.SetDialogParent(this);
  BuildLayout();
  connect(&ui_, &CQtUi::ProgressChanged, this, [this](qint64 position, qint64 maximum) {
    progress_->setRange(0, static_cast<int>(std::clamp<qint64>(maximum, 0, INT32_MAX)));
    progress_->setValue(static_cast<int>(std::clamp<qint64>(position, 0, INT32_MAX)));
  });
  connect(&ui_, &CQtUi::TextChanged, this, &CBasicSearch::ShowText);
  resize(1100, 720);
}

CBasicSearch::~CBasicSearch() {
  EndWorkers();
  ui_.SetDialogParent(nullptr);
}

void CBasicSearch::BuildLayout() {
  auto* layout = new QVBoxLayout(this);
  auto* split = new QSplitter(Qt::Horizontal, this);
  auto* left = new QSplitter(Qt::Vertical, split);
  drives_ = new CDrivePanel(app_, SearchMode::kBasic, system_drives_, left);
  results_ = new CTreeClass(left);
  tree_model_ = new CResultTreeModel(app_.results.tree, this);
  results_->setModel(tree_model_);
  left->addWidget(drives_);
  left->addWidget(results_);
  split->addWidget(left);

  files_ = new QTableView(split);
  files_->setObjectName("files");
  file_model_ = new CFileListModel(this);
  files_->setModel(file_model_);
  files_->setSortingEnabled(true);
  files_->sortByColumn(CFileListModel::kName, Qt::AscendingOrder);
  files_->setSelectionBehavior(QAbstractItemView::SelectRows);
  files_->setSelectionMode(QAbstractItemView::ExtendedSelection);
  files_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  files_->setShowGrid(false);
  files_->verticalHeader()->hide();
  files_->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
  files_->setContextMenuPolicy(Qt::CustomContextMenu);
  for (int column = CFileListModel::kFirstHiddenColumn; column < CFileListModel::kColumnCount; ++column)
    files_->setColumnHidden(column, true);
  const int widths[] = {0, 100, 80, 100, 80};
  for (int column = 1; column < 5; ++column) files_->setColumnWidth(column, widths[column]);
  // The name takes what the other columns leave.
  files_->horizontalHeader()->setSectionResizeMode(CFileListModel::kName, QHeaderView::Stretch);
  files_->horizontalHeader()->setMinimumSectionSize(60);
  split->addWidget(files_);
  split->setStretchFactor(0, 2);
  split->setStretchFactor(1, 3);
  split->setSizes({420, 680});
  layout->addWidget(split, 1);

  auto* texts = new QGridLayout;
  progress_ = new QProgressBar(this);
  progress_->setObjectName("progress");
  progress_->setValue(0);
  texts->addWidget(progress_, 0, 0, 1, 4);
  texts->addWidget(new QLabel("Searching from sectors", this), 1, 0);
  current_sector_ = new QLabel(this);
  current_sector_->setObjectName("current sector");
  texts->addWidget(current_sector_, 1, 1);
  total_sectors_ = new QLabel(this);
  total_sectors_->setObjectName("total sectors");
  texts->addWidget(total_sectors_, 1, 2);
  search_range_ = new QLabel(this);
  search_range_->setObjectName("search range");
  texts->addWidget(search_range_, 1, 3, Qt::AlignRight);
  status_ = new QLabel(this);
  status_->setObjectName("status");
  texts->addWidget(status_, 2, 0, 1, 4);
  hint_ = new QLabel(this);
  hint_->setObjectName("hint");
  hint_->setWordWrap(true);
  texts->addWidget(hint_, 3, 0, 1, 4);
  texts->setColumnStretch(2, 1);
  layout->addLayout(texts);

  auto* buttons = new QHBoxLayout;
  back_ = MakeButton("Back", this, buttons);
  buttons->addStretch();
  start_ = MakeButton("Start", this, buttons);
  stop_ = MakeButton("Stop", this, buttons);
  save_ = MakeButton("Save Data", this, buttons);
  QPushButton* save_log = MakeButton("Save Log", this, buttons);
  QPushButton* load_log = MakeButton("Load Log", this, buttons);
  QPushButton* find = MakeButton("Find in List", this, buttons);
  more_ = MakeButton(FromView("Search More Partitions"), this, buttons);
  stop_more_ = MakeButton(FromView(kStopSearchingPartitions), this, buttons);
  stop_more_->setVisible(false);
  stop_->setEnabled(false);
  layout->addLayout(buttons);

  connect(back_, &QPushButton::clicked, this, &CBasicSearch::reject);
  connect(start_, &QPushButton::clicked, this, &CBasicSearch::Start);
  connect(stop_, &QPushButton::clicked, this, &CBasicSearch::Stop);
  connect(save_, &QPushButton::clicked, this, &CBasicSearch::SaveData);
  connect(save_log, &QPushButton::clicked, this, [this] {
    if (search_count_ == 0) return Inform(this, FromView(kSaveLogNoScan));
    if (app_.search.Running()) return Inform(this, FromView(kSaveLogScanning));
    Inform(this, "Recovery logs are written by a later version of Pellora.");
  });
  connect(more_, &QPushButton::clicked, this, &CBasicSearch::SearchMorePartitions);
  connect(stop_more_, &QPushButton::clicked, this, &CBasicSearch::StopSearchingPartitions);
  for (QPushButton* later : {load_log, find})
    connect(later, &QPushButton::clicked, this,
            [this] { Inform(this, "This function comes with a later version of Pellora."); });
  connect(results_->selectionModel(), &QItemSelectionModel::currentChanged, this, &CBasicSearch::FolderSelected);
  connect(results_, &QWidget::customContextMenuRequested, this, &CBasicSearch::ShowTreeMenu);
  connect(files_, &QAbstractItemView::doubleClicked, this, &CBasicSearch::OpenLine);
  connect(files_, &QWidget::customContextMenuRequested, this, &CBasicSearch::ShowFileListMenu);
}

void CBasicSearch::ShowDrives() {
  drives_->ShowListing();
  drives_->SelectFirstDrive();
  if (drives_->HasDrives()) return;
  CNoDeviceDlg no_device(*drives_, this);
  no_device_ = &no_device;
  const int answer = no_device.exec();
  no_device_ = nullptr;
  if (answer != QDialog::Accepted) QMetaObject::invokeMethod(this, &CBasicSearch::reject, Qt::QueuedConnection);
}

void CBasicSearch::DeviceArrived() {
  if (no_device_) no_device_->Search();
}

void CBasicSearch::ShowText(int field, const QString& text) {
  switch (static_cast<UiText>(field)) {
    case UiText::kStatus:
      status_->setText(text);
      break;
    case UiText::kHint:
      hint_->setText(text);
      break;
    case UiText::kCurrentSector:
      current_sector_->setText(text);
      break;
    case UiText::kTotalSectors:
      total_sectors_->setText(text);
      break;
    case UiText::kSearchRange:
      search_range_->setText(text);
      break;
    case UiText::kSaveTotals:
      break;
  }
}

void CBasicSearch::SetSearching(bool searching) {
  drives_->SetControlsEnabled(!searching);
  results_->setEnabled(!searching);
  files_->setEnabled(!searching);
  start_->setEnabled(!searching);
  save_->setEnabled(!searching);
  more_->setEnabled(!searching);
  stop_->setEnabled(searching && !partition_search_);
  stop_more_->setVisible(partition_search_);
  more_->setVisible(!partition_search_);
  if (searching) (partition_search_ ? stop_more_ : stop_)->setFocus();
}

void CBasicSearch::Start() {
  if (app_.search.Running() || app_.saving.Running()) return;
  StopFileList();
  ValidationContext validation{.listing = app_.drive_listing,
                               .devices = app_.devices,
                               .guard = app_.read_guard,
                               .ui = app_.ui,
                               .params = app_.partition_params,
                               .current_device_path = app_.current_device_path,
                               .mode = SearchMode::kBasic,
                               .clear_search_state = {},
                               .file_system_choice = std::nullopt};
  const Validation outcome = ValidatePartition(validation);
  if (outcome == Validation::kRefused) return;
  if (outcome == Validation::kUnrecognised) {
    ShowEndMessage(app_, false);
    return;
  }
  ++search_count_;
  file_model_->SetRows({});
  tables_ = std::make_unique<SearchTables>(TakeSearchTables(app_));
  tree_model_->Reset();
  SetSearching(true);
  ui_.HoldEndMessage(true);
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
  ui_.Flush();
  tree_model_->Reset();
  SetSearching(false);
  status_->clear();
  progress_->setValue(progress_->maximum());
  const ItemId first = app_.results.tree.FirstItem();
  if (first != kNoItem) {
    const QModelIndex top = tree_model_->IndexOf(first);
    results_->expand(top);
    results_->setCurrentIndex(top);
  }
  if (std::optional<std::string> end = ui_.TakeEndMessage()) ui_.ShowEndMessage(*end);
  ui_.HoldEndMessage(false);
}

void CBasicSearch::Stop() {
  if (!app_.search.Running()) return;
  if (!app_.ui.AskYesNo(kStopSearchingQuestion, false)) return;
  if (!app_.search.Running()) return;
  QApplication::setOverrideCursor(Qt::BusyCursor);
  status_->setText("It may take a while, Please wait...");
  app_.reporter.Guarded("Trying to stop recovery process...", "SR", "7A", [&] { app_.search.RequestStop(); });
  QApplication::restoreOverrideCursor();
}

void CBasicSearch::FolderSelected() {
  StopFileList();
  file_model_->SetRows({});
  const ItemId item = CResultTreeModel::ItemOf(results_->currentIndex());
  if (item == kNoItem || app_.search.Running()) return;
  const std::uint64_t listing = ++listing_;
  file_lister_ = std::jthread([this, item, listing](std::stop_token stop) {
    auto fill = std::make_shared<FileListFill>();
    app_.reporter.Guarded("Populate select item", "TL", "13A", [&] { *fill = ReadFileList(app_, item, stop); });
    if (stop.stop_requested()) return;
    QMetaObject::invokeMethod(
        this,
        [this, item, listing, fill] {
          if (listing != listing_) return;
          KeepFileListFill(app_, *fill);
          // Reading the folder's directory may have named its lost child folders.
          tree_model_->TitlesChanged(item);
          file_model_->SetRows(std::move(fill->rows));
        },
        Qt::QueuedConnection);
  });
}

void CBasicSearch::StopFileList() {
  if (!file_lister_.joinable()) return;
  ++listing_;
  file_lister_.request_stop();
  // A filler that met a failure waits on its report window; it is let go before the join.
  ui_.ReleaseQuestions();
  file_lister_.join();
  ui_.Rearm();
}

void CBasicSearch::OpenLine(const QModelIndex& index) {
  if (!index.isValid() || search_count_ == 0 || app_.search.Running()) return;
  const FileListRow line = file_model_->Row(index.row());
  if (line.IsFolder()) {
    const QModelIndex folder = tree_model_->IndexOf(line.tree_item);
    if (folder.isValid()) {
      results_->expand(folder.parent());
      results_->setCurrentIndex(folder);
    }
    return;
  }
  QApplication::setOverrideCursor(Qt::BusyCursor);
  status_->setText(QString("Opening File : %1").arg(QString::fromStdString(line.name)));
  app_.reporter.Guarded("Trying to open selected recovered file...", "OF", "6A",
                        [&] { OpenRecoveredFile(app_, line); });
  status_->clear();
  QApplication::restoreOverrideCursor();
}

void CBasicSearch::SaveData() { RunSave(SaveSource::kCheckedTree, {}); }

void CBasicSearch::SaveRows(bool all) {
  if (all) files_->selectAll();
  std::vector<FileListRow> rows;
  for (const QModelIndex& index : files_->selectionModel()->selectedRows())
    rows.push_back(file_model_->Row(index.row()));
  RunSave(SaveSource::kSelectedRows, std::move(rows));
}

void CBasicSearch::RunSave(SaveSource source, std::vector<FileListRow> rows) {
  if (app_.saving.Running()) return;
  if (!SaveAllowed(app_, source, rows.size())) return;
  StopFileList();
  SetSearching(true);
  stop_->setEnabled(false);
  CDestinationDlg destination(
      QString::fromStdString(app_.save.destination_base.string()),
      [this](const QString& folder) { return CheckDestination(app_, folder.toStdString()); }, this);
  if (destination.exec() != QDialog::Accepted) {
    app_.save.destination_base.clear();
    SetSearching(false);
    return;
  }
  SaveRequest request;
  request.source = source;
  request.rows = std::move(rows);
  request.destination = destination.Folder().toStdString();
  if (StartSave(app_, std::move(request))) {
    CSavingDlg saving(
        ui_, [this] { return app_.saving.Running(); }, this);
    ui_.SetDialogParent(&saving);
    saving.exec();
    ui_.SetDialogParent(this);
    app_.saving.Join();
  }
  status_->clear();
  SetSearching(false);
}

void CBasicSearch::ShowFileListMenu(const QPoint& at) {
  if (app_.search.Running() || file_model_->rowCount() == 0) return;
  QMenu menu(this);
  QAction* open = menu.addAction("Open");
  menu.addSeparator();
  QAction* save = menu.addAction("Save");
  QAction* save_all = menu.addAction("Save All");
  QAction* chosen = menu.exec(files_->viewport()->mapToGlobal(at));
  if (chosen == open) OpenLine(files_->currentIndex());
  if (chosen == save) SaveRows(false);
  if (chosen == save_all) SaveRows(true);
}

void CBasicSearch::ShowTreeMenu(const QPoint& at) {
  if (app_.search.Running() || app_.results.tree.Empty()) return;
  QMenu menu(this);
  QAction* save = menu.addAction("Save");
  if (menu.exec(results_->viewport()->mapToGlobal(at)) == save) SaveData();
}

void CBasicSearch::EndWorkers() {
  StopFileList();
  // Stop first, release every question a worker may wait on, and only then join.
  app_.search.RequestStop();
  app_.saving.RequestStop();
  ui_.ReleaseQuestions();
  app_.search.Join();
  app_.saving.Join();
  ui_.Rearm();
  partition_search_ = false;
  if (tables_) {
    HandBackSearchTables(app_, std::move(*tables_));
    tables_.reset();
    tree_model_->Reset();
  }
  ui_.TakeEndMessage();
  ui_.HoldEndMessage(false);
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

  StopFileList();
  const LostPartitionMode mode = advanced->isChecked() ? LostPartitionMode::kAdvanced : LostPartitionMode::kStandard;
  const smpparam disk = *geometry;
  partition_search_ = true;
  SetSearching(true);
  status_->setText(FromView(kSearchingPartitions));
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
          status_->clear();
          drives_->ShowListing();
          drives_->SelectFirstDrive();
          app_.ui.ShowMessage(DiskResultMessage(found, app_.drive_listing, disk), kMessageCaption);
        },
        Qt::QueuedConnection);
  });
}

void CBasicSearch::StopSearchingPartitions() {
  if (!partition_search_ || !app_.search.Running()) return;
  if (ConfirmStopPartitionSearch(app_.ui)) app_.search.RequestStop();
}

void CBasicSearch::reject() {
  EndWorkers();
  QDialog::reject();
}

}  // namespace pellora::gui
