#include "carving_window.hpp"

#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSplitter>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <filesystem>

#include "common/search_mode.hpp"
#include "common/shell_open.hpp"
#include "dialogs.hpp"
#include "drive_panel.hpp"
#include "range_fields.hpp"
#include "scan_progress.hpp"

namespace pellora::gui {

namespace {

constexpr std::string_view kStopSearchingQuestion = "Do you want to stop searching?";

}  // namespace

CCarvingWindow::CCarvingWindow(Program& app, CQtUi& ui, bool system_drives, SearchMode mode,
                               CCarvedTypeModel::Columns type_columns, QWidget* parent)
    : QDialog(parent),
      app_(app),
      ui_(ui),
      system_drives_(system_drives),
      mode_(mode),
      search_type_(FromView(SearchModeLabel(mode))) {
  setWindowTitle(search_type_);
  setWindowFlag(Qt::WindowMaximizeButtonHint);
  types_ = new CCarvedTypeModel(std::move(type_columns), CarvedTypeTable(TypeRowMatch::kExact), this);
  ui_.Rearm();
  ui_.SetDialogParent(this);
  BuildLayout();
  connect(&ui_, &CQtUi::FilesCarved, this, [this](const QList<CarvedFile>& files) {
    ListFiles(files);
    types_->Count(files);
  });
  resize(1180, 780);
}

CCarvingWindow::~CCarvingWindow() {
  EndWorkers();
  ui_.SetDialogParent(nullptr);
}

void CCarvingWindow::BuildLayout() {
  auto* layout = new QVBoxLayout(this);
  auto* split = new QSplitter(Qt::Horizontal, this);

  auto* left = new QWidget(split);
  auto* left_layout = new QVBoxLayout(left);
  left_layout->setContentsMargins(0, 0, 0, 0);
  drives_ = new CDrivePanel(app_, mode_, system_drives_, left);
  left_layout->addWidget(drives_, 1);
  range_ = new CRangeFields(left);
  left_layout->addWidget(range_);
  split->addWidget(left);

  auto* right = new QWidget(split);
  auto* right_layout = new QVBoxLayout(right);
  right_layout->setContentsMargins(0, 0, 0, 0);
  information_ = new QListWidget(right);
  information_->setObjectName("information");
  information_->setSelectionMode(QAbstractItemView::NoSelection);
  information_->setFocusPolicy(Qt::NoFocus);
  information_->setFixedHeight(6 * fontMetrics().height() + 12);
  right_layout->addWidget(information_);

  destination_row_ = new QWidget(right);
  auto* destination_layout = new QHBoxLayout(destination_row_);
  destination_layout->setContentsMargins(0, 0, 0, 0);
  destination_layout->addWidget(new QLabel("Destination :", destination_row_));
  destination_ = new QLineEdit(destination_row_);
  destination_->setObjectName("destination");
  destination_->setPlaceholderText("The folder on another drive that takes the recovered files");
  destination_layout->addWidget(destination_, 1);
  browse_ = MakeButton("Browse", destination_row_, destination_layout);
  // The destination is asked for once the drive and range are checked.
  destination_row_->hide();
  right_layout->addWidget(destination_row_);

  mode_area_ = new QVBoxLayout;
  right_layout->addLayout(mode_area_, 1);
  split->addWidget(right);
  split->setStretchFactor(0, 2);
  split->setStretchFactor(1, 5);
  split->setSizes({340, 840});
  layout->addWidget(split, 1);

  progress_ = new CScanProgress(ui_, this);
  layout->addWidget(progress_);

  auto* buttons = new QHBoxLayout;
  back_ = MakeButton("Back", this, buttons);
  buttons->addStretch();
  start_ = MakeButton("Start", this, buttons);
  stop_ = MakeButton("Stop Search", this, buttons);
  open_folder_ = MakeButton("Open Containing Folder", this, buttons);
  stop_->setEnabled(false);
  layout->addLayout(buttons);

  connect(back_, &QPushButton::clicked, this, &CCarvingWindow::reject);
  connect(start_, &QPushButton::clicked, this, &CCarvingWindow::Start);
  connect(stop_, &QPushButton::clicked, this, &CCarvingWindow::StopSearch);
  connect(open_folder_, &QPushButton::clicked, this, &CCarvingWindow::OpenContainingFolder);
  connect(browse_, &QPushButton::clicked, this, &CCarvingWindow::Browse);
  connect(drives_->Tree(), &QTreeWidget::itemSelectionChanged, this, &CCarvingWindow::DriveSelected);
  connect(range_, &CRangeFields::RangeEdited, this, &CCarvingWindow::ForgetSelection);
}

void CCarvingWindow::ShowDrives() {
  if (!drives_->ShowDrivesOrWait(this)) QMetaObject::invokeMethod(this, &CCarvingWindow::reject, Qt::QueuedConnection);
}

void CCarvingWindow::DeviceArrived() { drives_->DeviceArrived(); }

void CCarvingWindow::DriveSelected() {
  const DriveListing& listing = app_.drive_listing;
  // The listing keeps its last selection when the tree loses its own.
  const bool selected = !drives_->Tree()->selectedItems().isEmpty();
  if (selected && listing.tree.selected && listing.tree.Valid(*listing.tree.selected)) {
    range_->ShowItem(listing, *listing.tree.selected);
  } else {
    range_->Clear();
  }
  ForgetSelection();
}

void CCarvingWindow::ForgetSelection() {
  if (searching_) return;
  selection_.reset();
  information_->clear();
}

bool CCarvingWindow::CheckSelection() {
  SearchSelectionOutcome outcome = SelectSearchRange(app_.devices, search_type_.toStdString(), range_->Request());
  if (!outcome.selection) {
    app_.ui.ShowMessage(outcome.message);
    return false;
  }
  selection_ = std::move(outcome.selection);
  app_.current_device_path = selection_->device_path;
  information_->clear();
  for (const auto& [label, value] : selection_->information)
    information_->addItem(QString::fromStdString(label + value));
  destination_row_->show();
  SelectionChecked();
  return true;
}

void CCarvingWindow::Start() {
  if (searching_ || app_.search.Running()) return;
  if (!selection_) {
    CheckSelection();
    return;
  }
  StartSearch();
}

void CCarvingWindow::StartSearch() {
  CarvingRequest request;
  request.range = {selection_->device_path, selection_->start_sector, selection_->end_sector};
  request.destination = destination_->text().trimmed().toStdString();
  SearchRun run = PrepareSearch(request);
  if (!run) return;
  searching_ = true;
  SetSearching(true);
  const bool started = app_.search.Start([this, run = std::move(run), request](std::stop_token stop) {
    auto report = std::make_shared<CarvingReport>(run(request, std::move(stop)));
    QMetaObject::invokeMethod(
        this, [this, report] { OnSearchEnded(*report); }, Qt::QueuedConnection);
  });
  if (!started) {
    searching_ = false;
    SetSearching(false);
  }
}

void CCarvingWindow::OnSearchEnded(const CarvingReport& report) {
  if (!searching_) return;
  app_.search.Join();
  // The files finished last reach the lists before the final counts.
  ui_.Flush();
  searching_ = false;
  SetSearching(false);
  // The worker's own table, now that it is done with it.
  if (report.started) types_->SetTable(report.types);
}

void CCarvingWindow::SetSearching(bool searching) {
  drives_->SetControlsEnabled(!searching);
  range_->setEnabled(!searching);
  destination_row_->setEnabled(!searching);
  start_->setEnabled(!searching);
  back_->setEnabled(!searching);
  stop_->setEnabled(searching);
  SetModeControlsEnabled(!searching);
  if (searching) stop_->setFocus();
}

void CCarvingWindow::StopSearch() {
  if (!searching_ || !app_.search.Running()) return;
  if (!app_.ui.AskYesNo(kStopSearchingQuestion, false)) return;
  stop_->setEnabled(false);
  // The worker stops at its next sector; the pending file is closed with what it has.
  if (app_.search.Running()) app_.search.RequestStop();
}

void CCarvingWindow::OpenContainingFolder() {
  const std::filesystem::path destination(destination_->text().trimmed().toStdString());
  ShellOpen(app_.ui, (destination / kCarvingRootFolder).string(), false, app_.launcher);
}

void CCarvingWindow::OpenCarvedFile(const QString& path) {
  if (path.isEmpty()) return;
  ShellOpen(app_.ui, path.toStdString(), false, app_.launcher);
}

void CCarvingWindow::Browse() {
  const QString folder = QFileDialog::getExistingDirectory(this, "Browse", destination_->text().trimmed());
  if (!folder.isEmpty()) destination_->setText(folder);
}

void CCarvingWindow::EndWorkers() {
  // Stop first, release every question the worker may wait on, and only then join.
  app_.search.RequestStop();
  ui_.ReleaseQuestions();
  app_.search.Join();
  ui_.Rearm();
  searching_ = false;
}

void CCarvingWindow::reject() {
  EndWorkers();
  QDialog::reject();
}

}  // namespace pellora::gui
