#include "result_panel.hpp"

#include <QHeaderView>
#include <QMenu>
#include <QTableView>

#include <atomic>
#include <memory>
#include <optional>

#include "app/deep_search_run.hpp"
#include "file_list_model.hpp"
#include "qt_ui.hpp"
#include "result_tree_model.hpp"
#include "save/destination_check.hpp"
#include "save/start_save.hpp"
#include "save_dialogs.hpp"
#include "search/file_list_filler.hpp"
#include "search/recovered_file_preview.hpp"
#include "wait_dlg.hpp"

namespace pellora::gui {

namespace {

// "%u Byte" below 1 KiB, else "%6.2f %cB" in the largest unit that keeps the value below 1024.
QString OpeningSizeText(std::uint64_t bytes) {
  if (bytes < 1024) return QString("%1 Byte").arg(bytes);
  static constexpr char kUnits[] = "KMGTPEZY";
  double value = static_cast<double>(bytes) / 1024.0;
  std::size_t unit = 0;
  while (value >= 1024.0 && unit + 1 < sizeof kUnits - 1) {
    value /= 1024.0;
    ++unit;
  }
  return QString::asprintf("%6.2f %cB", value, kUnits[unit]);
}

}  // namespace

CResultPanel::CResultPanel(Program& app, CQtUi& ui, QWidget* window)
    : QObject(window), app_(app), ui_(ui), window_(window) {
  tree_ = new CTreeClass(window);
  tree_model_ = new CResultTreeModel(app_.results.tree, this);
  tree_->setModel(tree_model_);

  files_ = new QTableView(window);
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
  files_->verticalHeader()->setDefaultSectionSize(window->fontMetrics().height() + 6);
  files_->setContextMenuPolicy(Qt::CustomContextMenu);
  for (int column = CFileListModel::kFirstHiddenColumn; column < CFileListModel::kColumnCount; ++column)
    files_->setColumnHidden(column, true);
  const int widths[] = {0, 100, 80, 100, 80};
  for (int column = 1; column < 5; ++column) files_->setColumnWidth(column, widths[column]);
  // The name takes what the other columns leave.
  files_->horizontalHeader()->setSectionResizeMode(CFileListModel::kName, QHeaderView::Stretch);
  files_->horizontalHeader()->setMinimumSectionSize(60);

  connect(tree_->selectionModel(), &QItemSelectionModel::currentChanged, this, &CResultPanel::FolderSelected);
  connect(tree_, &QWidget::customContextMenuRequested, this, &CResultPanel::ShowTreeMenu);
  connect(files_, &QAbstractItemView::doubleClicked, this, &CResultPanel::OpenLine);
  connect(files_, &QWidget::customContextMenuRequested, this, &CResultPanel::ShowFileListMenu);
}

CResultPanel::~CResultPanel() { StopFileList(); }

void CResultPanel::SetDeepPartitions(DeepPartitionTable* table) { deep_ = table; }

void CResultPanel::Clear() {
  StopFileList();
  file_model_->SetRows({});
  listed_ = kNoItem;
  tree_model_->Suspend();
}

void CResultPanel::ShowResults() {
  tree_model_->Reset();
  const ItemId first = app_.results.tree.FirstItem();
  if (first == kNoItem) return;
  const QModelIndex top = tree_model_->IndexOf(first);
  tree_->expand(top);
  tree_->setCurrentIndex(top);
}

void CResultPanel::SetEnabled(bool enabled) {
  tree_->setEnabled(enabled);
  files_->setEnabled(enabled);
}

void CResultPanel::FolderSelected() {
  StopFileList();
  file_model_->SetRows({});
  listed_ = kNoItem;
  const ItemId item = CResultTreeModel::ItemOf(tree_->currentIndex());
  if (item == kNoItem || app_.search.Running() || app_.log_loading.Running()) return;
  const std::uint64_t listing = ++listing_;
  DeepPartitionTable* deep = deep_;
  file_lister_ = std::jthread([this, item, listing, deep](std::stop_token stop) {
    auto fill = std::make_shared<FileListFill>();
    if (deep != nullptr) {
      app_.reporter.Guarded("Populate select item", "TL", "13A",
                            [&] { *fill = ReadDeepFileList(app_, *deep, item, stop); });
    } else {
      *fill = ReadFileList(app_, item, stop);
    }
    if (stop.stop_requested()) return;
    QMetaObject::invokeMethod(
        this,
        [this, item, listing, fill] {
          if (listing != listing_) return;
          KeepFileListFill(app_, *fill);
          // Reading the folder's directory may have named its lost child folders.
          tree_model_->TitlesChanged(item);
          file_model_->SetRows(std::move(fill->rows));
          listed_ = item;
        },
        Qt::QueuedConnection);
  });
}

void CResultPanel::StopFileList() {
  if (!file_lister_.joinable()) return;
  ++listing_;
  file_lister_.request_stop();
  // A filler that met a failure waits on its report window; it is let go before the join.
  ui_.ReleaseQuestions();
  file_lister_.join();
  ui_.Rearm();
}

void CResultPanel::OpenLine(const QModelIndex& index) {
  if (!index.isValid() || app_.results.tree.Empty() || app_.search.Running()) return;
  const FileListRow line = file_model_->Row(index.row());
  if (line.IsFolder()) {
    const QModelIndex folder = tree_model_->IndexOf(line.tree_item);
    if (folder.isValid()) {
      tree_->expand(folder.parent());
      tree_->setCurrentIndex(folder);
    }
    return;
  }
  StopFileList();
  const QString opening =
      QString("Opening File : %1 - %2").arg(OpeningSizeText(line.size), QString::fromStdString(line.name));
  emit StatusChanged(opening);
  // A Deep result's file lies on the partition it was listed from (Root's list gathers several).
  std::optional<std::size_t> row;
  if (deep_)
    row = line.partition_start ? deep_->RowOf(*line.partition_start) : FolderPartitionRow(app_, *deep_, listed_);
  DeepPartitionTable* deep = deep_;
  // The copy is written on a short worker of its own; "Stop" ends it at its next read.
  std::atomic<bool> done{false};
  std::jthread opener([this, &done, line, row, deep](std::stop_token stop) {
    app_.reporter.Guarded("Trying to open selected recovered file...", "OF", "6A", [&] {
      if (row) deep->MakeCurrent(*row);
      OpenRecoveredFile(app_, line, stop);
      if (row) deep->Restore();
    });
    done = true;
  });
  CPleaseWaitDlg wait(
      opening, [&done] { return !done; }, window_, [&opener] { opener.request_stop(); });
  ui_.SetDialogParent(&wait);
  wait.exec();
  ui_.SetDialogParent(window_);
  opener.join();
  emit StatusChanged({});
}

void CResultPanel::SaveData() { RunSave(SaveSource::kCheckedTree, {}); }

void CResultPanel::SaveRows(bool all) {
  if (all) files_->selectAll();
  std::vector<FileListRow> rows;
  for (const QModelIndex& index : files_->selectionModel()->selectedRows())
    rows.push_back(file_model_->Row(index.row()));
  RunSave(SaveSource::kSelectedRows, std::move(rows));
}

void CResultPanel::RunSave(SaveSource source, std::vector<FileListRow> rows) {
  if (app_.saving.Running() || app_.log_loading.Running()) return;
  if (!SaveAllowed(app_, source, rows.size())) return;
  StopFileList();
  emit BusyChanged(true);
  CDestinationDlg destination(
      QString::fromStdString(app_.save.destination_base.string()),
      [this](const QString& folder) { return CheckDestination(app_, folder.toStdString()); }, window_);
  if (destination.exec() != QDialog::Accepted) {
    app_.save.destination_base.clear();
    emit BusyChanged(false);
    return;
  }
  SaveRequest request;
  request.source = source;
  request.rows = std::move(rows);
  request.destination = destination.Folder().toStdString();
  request.deep_partitions = deep_;
  if (StartSave(app_, std::move(request))) {
    CSavingDlg saving(
        ui_, [this] { return app_.saving.Running(); }, window_);
    ui_.SetDialogParent(&saving);
    saving.exec();
    ui_.SetDialogParent(window_);
    app_.saving.Join();
  }
  emit StatusChanged({});
  emit BusyChanged(false);
}

void CResultPanel::ShowFileListMenu(const QPoint& at) {
  if (app_.search.Running() || file_model_->rowCount() == 0) return;
  QMenu menu(window_);
  QAction* open = menu.addAction("Open");
  menu.addSeparator();
  QAction* save = menu.addAction("Save");
  QAction* save_all = menu.addAction("Save All");
  QAction* chosen = menu.exec(files_->viewport()->mapToGlobal(at));
  if (chosen == open) OpenLine(files_->currentIndex());
  if (chosen == save) SaveRows(false);
  if (chosen == save_all) SaveRows(true);
}

void CResultPanel::ShowTreeMenu(const QPoint& at) {
  if (app_.search.Running() || app_.results.tree.Empty()) return;
  QMenu menu(window_);
  QAction* save = menu.addAction("Save");
  if (menu.exec(tree_->viewport()->mapToGlobal(at)) == save) SaveData();
}

}  // namespace pellora::gui
