#include "save_dialogs.hpp"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QStackedWidget>
#include <QTimer>
#include <QVBoxLayout>

#include "common/progress.hpp"
#include "dialogs.hpp"
#include "qt_ui.hpp"
#include "save/destination_check.hpp"

namespace pellora::gui {

namespace {

// A command button with its note beside it, as the replace and long-path windows show them.
QPushButton* AddCommand(QDialog* dialog, QGridLayout* grid, const QString& label, const QString& note) {
  const int row = grid->rowCount();
  QPushButton* button = MakeButton(label, dialog);
  auto* text = new QLabel(note, dialog);
  text->setWordWrap(true);
  grid->addWidget(button, row, 0);
  grid->addWidget(text, row, 1);
  return button;
}

QLabel* SelectableLabel(const QString& text, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  label->setTextInteractionFlags(Qt::TextSelectableByMouse);
  label->setWordWrap(true);
  return label;
}

// The folder picker of the destination and long-path windows; the chosen folder is made when missing.
QString PickFolder(QWidget* parent, const QString& start) {
  const QString folder = QFileDialog::getExistingDirectory(parent, "Select destination folder.", start);
  if (!folder.isEmpty()) QDir().mkpath(folder);
  return folder;
}

// A bar over a count that may not fit in 31 bits.
void SetBar(QProgressBar* bar, std::uint64_t done, std::uint64_t total) {
  if (total < ProgressBar::kPercentModeThreshold) {
    bar->setRange(0, static_cast<int>(total));
    bar->setValue(static_cast<int>(std::min(done, total)));
  } else {
    bar->setRange(0, 100);
    bar->setValue(static_cast<int>(done * 100 / total));
  }
}

}  // namespace

CDestinationDlg::CDestinationDlg(const QString& initial, Check check, QWidget* parent)
    : QDialog(parent), check_(std::move(check)) {
  setWindowTitle("Save As");
  setObjectName("Save As");
  auto* layout = new QVBoxLayout(this);
  auto* row = new QHBoxLayout;
  folder_ = new QLineEdit(initial, this);
  folder_->setObjectName("destination");
  folder_->setMinimumWidth(420);
  row->addWidget(folder_);
  connect(MakeButton("Browse", this, row), &QPushButton::clicked, this, &CDestinationDlg::Browse);
  layout->addLayout(row);
  auto* note = new QLabel(FromView(kDifferentDriveNote), this);
  note->setWordWrap(true);
  layout->addWidget(note);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  QPushButton* ok = MakeButton("OK", this, buttons);
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, [this] {
    if (check_(Folder())) accept();
  });
  connect(MakeButton("Cancel", this, buttons), &QPushButton::clicked, this, &QDialog::reject);
  layout->addLayout(buttons);
}

QString CDestinationDlg::Folder() const { return folder_->text().trimmed(); }

void CDestinationDlg::Browse() {
  QMessageBox info(this);
  SetUpMessageBox(info, QMessageBox::Information, ProductCaption(),
                  "Please read this information carefully before selecting the Destination path to save the "
                  "recovered data.",
                  {"Continue..."});
  info.setInformativeText(
      "1. " + FromView(kDifferentDriveNote) +
      "\n\n2. You should have sufficient access rights to the destination folder to write the recovered data into "
      "it.\n\n3. You should have sufficient free disk space in Destination Drive that you select to save the "
      "recovered data. ");
  info.exec();
  const QString folder = PickFolder(this, Folder().isEmpty() ? QDir::homePath() : Folder());
  if (!folder.isEmpty()) folder_->setText(folder);
}

CReplaceDlg::CReplaceDlg(const QString& existing, const QString& proposed, QWidget* parent) : QDialog(parent) {
  setWindowTitle(FromView(kReplaceCaption));
  setObjectName(windowTitle());
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new QLabel(FromView(kReplaceText), this));
  auto* fields = new QFormLayout;
  fields->addRow("File :", SelectableLabel(existing, this));
  auto* new_file = new QLineEdit(proposed, this);
  new_file->setObjectName("New File :");
  new_file->setMinimumWidth(420);
  fields->addRow("New File :", new_file);
  layout->addLayout(fields);
  auto* apply = new QCheckBox(FromView(kReplaceApplyAll), this);
  apply->setObjectName(apply->text());
  layout->addWidget(apply);
  auto* grid = new QGridLayout;
  layout->addLayout(grid);
  const auto answer = [this, apply, new_file, proposed](ReplaceChoice choice) {
    answer_.choice = choice;
    answer_.apply_to_all = apply->isChecked();
    answer_.new_path = choice == ReplaceChoice::kRename && new_file->text() != proposed ? new_file->text().toStdString()
                                                                                        : std::string();
    accept();
  };
  connect(AddCommand(this, grid, "Overwrite", "Replace the file in the destination path with this file."),
          &QPushButton::clicked, this, [answer] { answer(ReplaceChoice::kOverwrite); });
  connect(AddCommand(this, grid, "Rename", "This file will be renamed."), &QPushButton::clicked, this,
          [answer] { answer(ReplaceChoice::kRename); });
  connect(AddCommand(this, grid, "Skip", "This file will not be saved."), &QPushButton::clicked, this,
          [answer] { answer(ReplaceChoice::kSkip); });
  connect(AddCommand(this, grid, "Cancel", "Stop or cancel the process of save recover data."), &QPushButton::clicked,
          this, [answer] { answer(ReplaceChoice::kCancel); });
}

CDest_Path_Too_Long::CDest_Path_Too_Long(const QString& path, QWidget* parent) : QDialog(parent) {
  setWindowTitle(FromView(kLongPathCaption));
  setObjectName(windowTitle());
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new QLabel(FromView(kLongPathText), this));
  layout->addWidget(SelectableLabel(path, this));
  auto* grid = new QGridLayout;
  layout->addLayout(grid);
  auto* for_all = new QCheckBox(FromView(kLongPathForAll), this);
  for_all->setObjectName(for_all->text());
  const auto answer = [this, for_all](LongPathChoice choice, std::string folder) {
    answer_ = {.choice = choice, .for_all = for_all->isChecked(), .folder = std::move(folder)};
    accept();
  };
  connect(AddCommand(this, grid, "Ignore", "Files and Folders on long Path will be ignored."), &QPushButton::clicked,
          this, [answer] { answer(LongPathChoice::kIgnore, {}); });
  connect(AddCommand(this, grid, "Move to ZYD_Miscellaneous Folder",
                     "Files and Folders having long destination path will be saved in \u201cZYD_Miscellaneous\u201d "
                     "folder instead."),
          &QPushButton::clicked, this, [answer] { answer(LongPathChoice::kMoveToMiscellaneous, {}); });
  connect(AddCommand(this, grid, "Browse another Path",
                     "You can browse another location to save Files and Folders having long destination path. Rest "
                     "of the recovered data will be saved to the same path as selected by you earlier."),
          &QPushButton::clicked, this, [this, answer] {
            const QString folder = PickFolder(this, QDir::homePath());
            if (!folder.isEmpty()) answer(LongPathChoice::kBrowse, folder.toStdString());
          });
  layout->addWidget(for_all);
}

CSavingDlg::CSavingDlg(CQtUi& ui, std::function<bool()> running, QWidget* parent)
    : QDialog(parent), ui_(ui), running_(std::move(running)) {
  setWindowTitle("Saving Files...");
  setObjectName("Saving Files...");
  setMinimumWidth(640);
  auto* layout = new QVBoxLayout(this);
  pages_ = new QStackedWidget(this);
  layout->addWidget(pages_);

  auto* count = new QWidget(pages_);
  auto* count_layout = new QFormLayout(count);
  count_layout->addRow(new QLabel("Calculating Total Number of Files, Please Wait ...", count));
  count_files_ = new QLabel("0", count);
  count_folders_ = new QLabel("0", count);
  count_layout->addRow("Total Files :", count_files_);
  count_layout->addRow("Total Folders :", count_folders_);
  pages_->addWidget(count);

  auto* saving = new QWidget(pages_);
  auto* fields = new QFormLayout(saving);
  file_name_ = SelectableLabel({}, saving);
  file_path_ = SelectableLabel({}, saving);
  // A long path must not widen the window; it is cut at the window's edge.
  file_path_->setWordWrap(false);
  file_path_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
  file_bytes_ = new QLabel("0 / 0 Bytes", saving);
  files_ = new QLabel("0 / 0", saving);
  folders_ = new QLabel("0 / 0", saving);
  invalid_ = new QLabel("0", saving);
  file_bar_ = new QProgressBar(saving);
  files_bar_ = new QProgressBar(saving);
  folders_bar_ = new QProgressBar(saving);
  for (QProgressBar* bar : {file_bar_, files_bar_, folders_bar_}) bar->setTextVisible(false);
  fields->addRow("File Name :", file_name_);
  fields->addRow("File Path  :", file_path_);
  fields->addRow(" Recovered Current File :", file_bytes_);
  fields->addRow(file_bar_);
  fields->addRow("Total Files Recovered :", files_);
  fields->addRow(files_bar_);
  fields->addRow("Total Folders Recovered :", folders_);
  fields->addRow(folders_bar_);
  fields->addRow("Invalid (not saved) Entries :", invalid_);
  fields->setRowVisible(invalid_, false);
  pages_->addWidget(saving);

  totals_ = new QLabel(this);
  totals_->setObjectName("totals");
  totals_->setWordWrap(true);
  layout->addWidget(totals_);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  connect(MakeButton("Skip", this, buttons), &QPushButton::clicked, this,
          [this] { ui_.PressSaveButton(SaveButton::kSkip); });
  connect(MakeButton("Stop", this, buttons), &QPushButton::clicked, this, &CSavingDlg::AskStop);
  layout->addLayout(buttons);

  connect(&ui_, &CQtUi::SaveProgressChanged, this, &CSavingDlg::Show);
  connect(&ui_, &CQtUi::SaveTotalsLine, this, [this](const QString& line) {
    totals_->setText(totals_->text().isEmpty() ? line : totals_->text() + "\n" + line);
  });
  auto* watch = new QTimer(this);
  connect(watch, &QTimer::timeout, this, [this] {
    if (running_()) return;
    ui_.Flush();
    emit Finished();
    accept();
  });
  watch->start(50);
}

void CSavingDlg::Show(const SaveProgress& progress) {
  if (progress.phase == SavePhase::kCounting) {
    pages_->setCurrentIndex(0);
    count_files_->setText(QString::number(progress.files_selected));
    count_folders_->setText(QString::number(progress.folders_selected));
    return;
  }
  pages_->setCurrentIndex(1);
  file_name_->setText(QString::fromStdString(progress.file_name));
  file_path_->setText(QString::fromStdString(progress.file_path));
  file_bytes_->setText(QString("%1 / %2 Bytes").arg(progress.file_written).arg(progress.file_size));
  SetBar(file_bar_, progress.file_written, progress.file_size);
  files_->setText(QString("%1 / %2").arg(progress.files_done).arg(progress.files_selected));
  SetBar(files_bar_, progress.files_done, progress.files_selected);
  folders_->setText(QString("%1 / %2").arg(progress.folders_saved).arg(progress.folders_selected));
  SetBar(folders_bar_, progress.folders_saved, progress.folders_selected);
  invalid_->setText(QString::number(progress.invalid_entries));
  static_cast<QFormLayout*>(invalid_->parentWidget()->layout())->setRowVisible(invalid_, progress.invalid_entries > 0);
}

void CSavingDlg::AskStop() {
  if (asking_) return;
  asking_ = true;
  QMessageBox box(this);
  SetUpMessageBox(box, QMessageBox::Question, "Message", FromView(kStopSavingQuestion), {"Yes", "No"}, 1);
  box.exec();
  asking_ = false;
  if (ClickedButton(box) != 1) ui_.PressSaveButton(SaveButton::kStop);
}

void CSavingDlg::reject() {
  if (running_()) AskStop();
}

}  // namespace pellora::gui
