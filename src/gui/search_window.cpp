#include "search_window.hpp"

#include <QApplication>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QSplitter>
#include <QTableView>
#include <QVBoxLayout>

#include <atomic>
#include <memory>

#include "common/product.hpp"
#include "dialogs.hpp"
#include "drive_panel.hpp"
#include "find_in_list.hpp"
#include "qt_ui.hpp"
#include "recoverylog/log_messages.hpp"
#include "recoverylog/log_session.hpp"
#include "result_panel.hpp"
#include "result_tree_model.hpp"
#include "scan_progress.hpp"
#include "wait_dlg.hpp"

namespace pellora::gui {

namespace {

constexpr std::string_view kStopSearchingQuestion = "Do you want to stop searching?";
// Logs are named FILE.DMC; a file manager on this system tells letter case apart.
const char* const kLogFilter = "DMC Files (*.DMC *.dmc)";

}  // namespace

CSearchWindow::CSearchWindow(Program& app, CQtUi& ui, SearchMode mode, bool system_drives, QWidget* parent)
    : QDialog(parent), app_(app), ui_(ui), mode_(mode) {
  setWindowFlag(Qt::WindowMaximizeButtonHint);
  ui_.Rearm();
  ui_.SetDialogParent(this);
  BuildLayout(system_drives);
  connect(results_, &CResultPanel::BusyChanged, this, &CSearchWindow::SetSearching);
  connect(results_, &CResultPanel::StatusChanged, &progress_->Status(), &QLabel::setText);
  resize(1100, 720);
}

CSearchWindow::~CSearchWindow() {
  CSearchWindow::EndWorkers();
  ui_.SetDialogParent(nullptr);
}

QLabel& CSearchWindow::Status() const { return progress_->Status(); }
CTreeClass& CSearchWindow::ResultView() const { return results_->Tree(); }
CResultTreeModel& CSearchWindow::ResultModel() const { return results_->TreeModel(); }
QTableView& CSearchWindow::FileView() const { return results_->Files(); }
CFileListModel& CSearchWindow::FileModel() const { return results_->FileModel(); }

void CSearchWindow::BuildLayout(bool system_drives) {
  auto* layout = new QVBoxLayout(this);
  auto* split = new QSplitter(Qt::Horizontal, this);
  auto* left = new QSplitter(Qt::Vertical, split);
  auto* drive_column = new QWidget(left);
  auto* drive_layout = new QVBoxLayout(drive_column);
  drive_layout->setContentsMargins(0, 0, 0, 0);
  drives_ = new CDrivePanel(app_, mode_, system_drives, drive_column);
  drive_layout->addWidget(drives_, 1);
  drive_extras_ = new QVBoxLayout;
  drive_layout->addLayout(drive_extras_);
  results_ = new CResultPanel(app_, ui_, this);
  left->addWidget(drive_column);
  left->addWidget(&results_->Tree());
  split->addWidget(left);
  split->addWidget(&results_->Files());
  split->setStretchFactor(0, 2);
  split->setStretchFactor(1, 3);
  split->setSizes({420, 680});
  layout->addWidget(split, 1);

  progress_ = new CScanProgress(ui_, this);
  layout->addWidget(progress_);

  buttons_ = new QHBoxLayout;
  back_ = MakeButton("Back", this, buttons_);
  buttons_->addStretch();
  start_ = MakeButton("Start", this, buttons_);
  stop_ = MakeButton("Stop", this, buttons_);
  save_ = MakeButton("Save Data", this, buttons_);
  save_log_ = MakeButton("Save Log", this, buttons_);
  load_log_ = MakeButton("Load Log", this, buttons_);
  find_button_ = MakeButton("Find in List", this, buttons_);
  stop_->setEnabled(false);
  layout->addLayout(buttons_);

  connect(back_, &QPushButton::clicked, this, &CSearchWindow::reject);
  connect(start_, &QPushButton::clicked, this, [this] { Start(); });
  connect(stop_, &QPushButton::clicked, this, &CSearchWindow::Stop);
  connect(save_, &QPushButton::clicked, this, &CSearchWindow::SaveData);
  connect(save_log_, &QPushButton::clicked, this, &CSearchWindow::SaveLog);
  connect(load_log_, &QPushButton::clicked, this, &CSearchWindow::LoadLog);
  connect(find_button_, &QPushButton::clicked, this, &CSearchWindow::FindInList);
}

void CSearchWindow::ShowDrives() {
  if (!drives_->ShowDrivesOrWait(this)) {
    QMetaObject::invokeMethod(this, &CSearchWindow::CloseWithoutAsking, Qt::QueuedConnection);
    return;
  }
  // A log named on the command line (or handed over by the other mode's window) loads at once.
  if (!app_.command_line_log_path.empty())
    QMetaObject::invokeMethod(this, &CSearchWindow::LoadLog, Qt::QueuedConnection);
}

void CSearchWindow::DeviceArrived() { drives_->DeviceArrived(); }

void CSearchWindow::SetSearching(bool searching) {
  drives_->SetControlsEnabled(!searching);
  results_->SetEnabled(!searching);
  for (QPushButton* button : {start_, save_, save_log_, load_log_, find_button_}) button->setEnabled(!searching);
  stop_->setEnabled(searching && app_.search.Running());
  if (searching && stop_->isEnabled()) stop_->setFocus();
}

Validation CSearchWindow::ValidateSelection(std::optional<int> file_system_choice) {
  if (app_.search.Running() || app_.saving.Running() || app_.log_loading.Running()) return Validation::kRefused;
  results_->StopFileList();
  ValidationContext validation{.listing = app_.drive_listing,
                               .devices = app_.devices,
                               .guard = app_.read_guard,
                               .ui = app_.ui,
                               .params = app_.partition_params,
                               .current_device_path = app_.current_device_path,
                               .mode = mode_,
                               .clear_search_state = {},
                               .file_system_choice = file_system_choice};
  return ValidatePartition(validation);
}

void CSearchWindow::BeginSearch() {
  if (find_) find_->close();
  results_->Clear();
  ForgetResults();
  log_saved_ = false;
  SetSearching(true);
  stop_->setEnabled(true);
  stop_->setFocus();
  ui_.HoldEndMessage(true);
}

void CSearchWindow::EndSearch() {
  ui_.Flush();
  results_->ShowResults();
  SetSearching(false);
  progress_->Status().clear();
  progress_->Bar().setValue(progress_->Bar().maximum());
  if (std::optional<std::string> end = ui_.TakeEndMessage()) ui_.ShowEndMessage(*end);
  ui_.HoldEndMessage(false);
}

void CSearchWindow::Stop() {
  if (!app_.search.Running()) return;
  if (!app_.ui.AskYesNo(kStopSearchingQuestion, false)) return;
  if (!app_.search.Running()) return;
  QApplication::setOverrideCursor(Qt::BusyCursor);
  progress_->Status().setText("It may take a while, Please wait...");
  app_.reporter.Guarded("Trying to stop recovery process...", "SR", "7A", [&] { app_.search.RequestStop(); });
  QApplication::restoreOverrideCursor();
}

void CSearchWindow::SaveData() {
  if (app_.log_loading.Running()) return;
  results_->SaveData();
}

QString CSearchWindow::AskLogPath() {
  QFileDialog dialog(this, "Save Log", QString(), kLogFilter);
  dialog.setObjectName("Save Log");
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setDefaultSuffix(FromView(kLogFileExtension));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
    raise();
    activateWindow();
    return {};
  }
  return dialog.selectedFiles().front();
}

void CSearchWindow::SaveLog() {
  if (app_.log_loading.Running() || app_.saving.Running()) return;
  if (!SaveLogAllowed(app_)) return;
  results_->StopFileList();
  const QString path = AskLogPath();
  if (path.isEmpty()) return;
  SetSearching(true);
  auto written = std::make_shared<std::atomic<bool>>(false);
  const std::vector<FoundPartition>* deep = DeepRows();
  // The worker only reads the results; the window leaves them alone until it has ended.
  const bool started = app_.log_loading.Start([this, written, deep, file = path.toStdString()](std::stop_token) {
    *written = SaveRecoveryLog(app_, file, deep);
  });
  if (started) {
    CPleaseWaitDlg wait(
        "Saving the Recovery scanning Log (index of recovered files and folders)...",
        [this] { return app_.log_loading.Running(); }, this);
    ui_.SetDialogParent(&wait);
    wait.exec();
    ui_.SetDialogParent(this);
    app_.log_loading.Join();
  }
  if (*written) log_saved_ = true;
  SetSearching(false);
}

bool CSearchWindow::SaveLogNow() {
  if (!SaveLogAllowed(app_)) return false;
  results_->StopFileList();
  const QString path = AskLogPath();
  if (path.isEmpty()) return false;
  const bool written = SaveRecoveryLog(app_, path.toStdString(), DeepRows());
  if (written) log_saved_ = true;
  return written;
}

void CSearchWindow::LoadLog() {
  if (app_.log_loading.Running() || app_.saving.Running()) return;
  if (!LoadLogAllowed(app_)) {
    app_.command_line_log_path.clear();
    return;
  }
  std::string path = app_.command_line_log_path;
  if (path.empty()) {
    QFileDialog dialog(this, "Load Log", QString(), kLogFilter);
    dialog.setObjectName("Load Log");
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
    path = dialog.selectedFiles().front().toStdString();
  }
  if (find_) find_->close();
  results_->Clear();
  ForgetResults();
  SetSearching(true);
  auto load = std::make_shared<LogLoad>();
  // The load replaces the results on the worker: the tree shows none of them meanwhile.
  const bool started = app_.log_loading.Start([this, load, path](std::stop_token) {
    *load = LoadRecoveryLog(app_, path, PresentDrivesOfListing(app_.drive_listing));
  });
  if (started) {
    CPleaseWaitDlg wait(
        "Loading the Recovery scanning Log (index of recovered files and folders)...",
        [this] { return app_.log_loading.Running(); }, this);
    ui_.SetDialogParent(&wait);
    wait.exec();
    ui_.SetDialogParent(this);
    app_.log_loading.Join();
  }
  // The path named on the command line is used by one load only.
  app_.command_line_log_path.clear();
  log_saved_ = load->end == LogLoadEnd::kLoaded;
  if (load->end == LogLoadEnd::kLoaded) KeepLoadedLog(*load->log);
  ui_.Flush();
  results_->ShowResults();
  SetSearching(false);
  if (load->end == LogLoadEnd::kSwitchMode) emit SwitchMode(load->log_mode, QString::fromStdString(path));
}

void CSearchWindow::FindInList() {
  if (app_.search.Running() || app_.log_loading.Running()) return;
  if (!find_) {
    find_ = new CFindInList(*results_, app_.results.tree, this);
    find_->setAttribute(Qt::WA_DeleteOnClose);
  }
  find_->show();
  find_->raise();
  find_->activateWindow();
}

void CSearchWindow::EndWorkers() {
  results_->StopFileList();
  // Stop first, release every question a worker may wait on, and only then join.
  app_.search.RequestStop();
  app_.saving.RequestStop();
  app_.log_loading.RequestStop();
  ui_.ReleaseQuestions();
  app_.search.Join();
  app_.saving.Join();
  app_.log_loading.Join();
  ui_.Rearm();
  ui_.TakeEndMessage();
  ui_.HoldEndMessage(false);
}

void CSearchWindow::CloseWithoutAsking() {
  ask_on_close_ = false;
  reject();
}

void CSearchWindow::reject() {
  if (ask_on_close_ && !app_.search.Running() && !app_.log_loading.Running() && AsksToSaveLogOnExit(app_, log_saved_)) {
    QMessageBox box(this);
    SetUpMessageBox(box, QMessageBox::Question, FromView(kMessageCaption), FromView(kSaveLogOnExitQuestion),
                    {"Yes", "No", "Cancel"}, 0);
    box.exec();
    const int answer = ClickedButton(box);
    if (answer == 0 && !SaveLogNow()) return;
    if (answer != 0 && answer != 1) return;
  }
  if (find_) find_->close();
  EndWorkers();
  QDialog::reject();
}

}  // namespace pellora::gui
