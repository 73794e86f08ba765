#include "qt_ui.hpp"

#include <QApplication>
#include <QCheckBox>
#include <QMessageBox>
#include <QThread>

#include "dialogs.hpp"
#include "error_report_dlg.hpp"
#include "save_dialogs.hpp"

namespace pellora::gui {

namespace {
// Often enough that bars and texts look live, seldom enough that a scan costs the GUI nothing.
constexpr int kDrainMilliseconds = 80;
}  // namespace

struct CQtUi::Question {
  bool done = false;
};

CQtUi::CQtUi(QObject* parent) : QObject(parent) {
  timer_.setInterval(kDrainMilliseconds);
  connect(&timer_, &QTimer::timeout, this, &CQtUi::Drain);
  timer_.start();
}

CQtUi::~CQtUi() { ReleaseQuestions(); }

QWidget* CQtUi::DialogParent() const {
  if (dialog_parent_ && dialog_parent_->isVisible()) return dialog_parent_;
  if (QWidget* modal = QApplication::activeModalWidget()) return modal;
  return QApplication::activeWindow();
}

bool CQtUi::OnGuiThread() const { return QThread::currentThread() == thread(); }

void CQtUi::Rearm() {
  std::lock_guard lock(mutex_);
  released_ = false;
  save_button_ = SaveButton::kNone;
}

void CQtUi::PressSaveButton(SaveButton button) {
  std::lock_guard lock(mutex_);
  // A Stop outweighs a Skip not yet handed over.
  if (save_button_ != SaveButton::kStop) save_button_ = button;
}

int CQtUi::Exec(QDialog& dialog) {
  open_dialogs_.emplace_back(&dialog);
  const int result = dialog.exec();
  std::erase_if(open_dialogs_, [&dialog](const QPointer<QWidget>& open) { return !open || open == &dialog; });
  return result;
}

template <class Answer, class Show>
Answer CQtUi::Ask(Answer cancel, Show show) {
  if (OnGuiThread()) {
    {
      std::lock_guard lock(mutex_);
      if (released_) return cancel;
    }
    return show();
  }
  // Not a blocking queued call: a window that closes joins its workers on the GUI thread, and a
  // worker blocked in such a call could never be released. The worker waits here instead, and
  // ReleaseQuestions wakes it with the cancel answer.
  auto question = std::make_shared<Question>();
  auto answer = std::make_shared<Answer>(cancel);
  QMetaObject::invokeMethod(
      this,
      [this, question, answer, show]() mutable {
        {
          std::lock_guard lock(mutex_);
          if (released_ || question->done) return;
        }
        // The windows show what the worker reported before it asked.
        Drain();
        Answer given = show();
        std::lock_guard lock(mutex_);
        if (!released_) *answer = std::move(given);
        question->done = true;
        answered_.notify_all();
      },
      Qt::QueuedConnection);
  std::unique_lock lock(mutex_);
  answered_.wait(lock, [&] { return question->done || released_; });
  question->done = true;
  return released_ ? cancel : *answer;
}

void CQtUi::ReleaseQuestions() {
  {
    std::lock_guard lock(mutex_);
    released_ = true;
    answered_.notify_all();
  }
  const auto close_dialogs = [this] {
    for (const QPointer<QWidget>& dialog : std::vector(open_dialogs_))
      if (auto* open = qobject_cast<QDialog*>(dialog.data())) open->reject();
  };
  if (OnGuiThread()) {
    close_dialogs();
  } else {
    QMetaObject::invokeMethod(this, close_dialogs, Qt::QueuedConnection);
  }
}

void CQtUi::ShowMessage(std::string_view text, std::string_view caption) {
  Ask(0,
      [this, text = QString::fromStdString(std::string(text)), caption = QString::fromStdString(std::string(caption))] {
        QMessageBox box(DialogParent());
        SetUpMessageBox(box, QMessageBox::Information, caption, text, {"OK"});
        return Exec(box);
      });
}

bool CQtUi::AskYesNo(std::string_view text, bool default_yes) {
  return Ask(false, [this, text = QString::fromStdString(std::string(text)), default_yes] {
    QMessageBox box(DialogParent());
    SetUpMessageBox(box, QMessageBox::Question, FromView(kMessageCaption), text, {"Yes", "No"}, default_yes ? 0 : 1);
    Exec(box);
    return ClickedButton(box) == 0;
  });
}

void CQtUi::ShowErrorReport(const ErrorReport& report) {
  Ask(0, [this, report] {
    CErrorReportDlg dialog(report, DialogParent());
    return Exec(dialog);
  });
}

void CQtUi::HoldEndMessage(bool hold) {
  std::lock_guard lock(mutex_);
  hold_end_message_ = hold;
}

std::optional<std::string> CQtUi::TakeEndMessage() {
  std::lock_guard lock(mutex_);
  return std::exchange(end_message_, std::nullopt);
}

void CQtUi::ShowEndMessage(std::string_view text) {
  if (!OnGuiThread()) {
    std::lock_guard lock(mutex_);
    if (hold_end_message_) {
      end_message_ = std::string(text);
      return;
    }
  }
  Ask(0, [this, text = QString::fromStdString(std::string(text))] {
    QMessageBox box(DialogParent());
    SetUpMessageBox(box, QMessageBox::Information, FromView(kMessageCaption), text, {"OK"});
    box.setInformativeText(EndMessageAdvice());
    return Exec(box);
  });
}

bool CQtUi::AskWholeDisk() {
  return Ask(false, [this] {
    QMessageBox box(DialogParent());
    SetUpMessageBox(box, QMessageBox::Question, ProductCaption(), FromView(kWholeDiskPromptText),
                    {FromView(kWholeDiskGoOn), FromView(kWholeDiskGoBack)}, 1);
    Exec(box);
    return ClickedButton(box) == 0;
  });
}

void CQtUi::ShowProgress(std::int64_t position, std::int64_t maximum) {
  std::lock_guard lock(mutex_);
  pending_.progress = {position, maximum};
}

void CQtUi::ShowText(UiText field, std::string_view text) {
  std::lock_guard lock(mutex_);
  if (field == UiText::kSaveTotals) {
    pending_.save_totals.emplace_back(text);
  } else {
    pending_.texts[field] = std::string(text);
  }
}

void CQtUi::ShowCurrentSector(std::uint64_t sector) { ShowText(UiText::kCurrentSector, CurrentSectorText(sector)); }

void CQtUi::ShowSectorTotal(std::uint64_t total, SectorTotalForm form) {
  ShowText(UiText::kTotalSectors, SectorTotalText(total, form));
}

void CQtUi::ShowSearchRange(std::uint64_t first, std::uint64_t last) {
  ShowText(UiText::kSearchRange, SearchRangeText(first, last));
}

MediaRemovedAnswer CQtUi::AskMediaRemoved() {
  return Ask(MediaRemovedAnswer{}, [this] {
    QMessageBox box(DialogParent());
    SetUpMessageBox(box, QMessageBox::Warning, ProductCaption(), FromView(kMediaRemovedText),
                    {FromView(kMediaRemovedRetry), FromView(kMediaRemovedCancel)}, 1);
    auto* apply = new QCheckBox(FromView(kMediaRemovedApplyAll), &box);
    apply->setObjectName(apply->text());
    box.setCheckBox(apply);
    Exec(box);
    return MediaRemovedAnswer{.retry = ClickedButton(box) == 0, .apply_until_done = apply->isChecked()};
  });
}

void CQtUi::AddCarvedFile(std::string_view type_name, std::string_view file_path, std::string_view file_name) {
  CarvedFile file{FromView(type_name), FromView(file_path), FromView(file_name)};
  std::lock_guard lock(mutex_);
  pending_.carved.push_back(std::move(file));
}

void CQtUi::AddThumbnail(std::string_view type_name, std::string_view file_path, std::string_view file_name) {
  AddCarvedFile(type_name, file_path, file_name);
}

void CQtUi::AddRecoveredFile(std::string_view type_name, std::string_view file_name, std::string_view file_path) {
  AddCarvedFile(type_name, file_path, file_name);
}

SaveButton CQtUi::ShowSaveProgress(const SaveProgress& progress) {
  std::lock_guard lock(mutex_);
  pending_.save = progress;
  return std::exchange(save_button_, SaveButton::kNone);
}

ReplaceAnswer CQtUi::AskReplace(std::string_view existing_path, std::string_view proposed_path) {
  return Ask(ReplaceAnswer{.choice = ReplaceChoice::kCancel, .apply_to_all = false, .new_path = {}},
             [this, existing = QString::fromStdString(std::string(existing_path)),
              proposed = QString::fromStdString(std::string(proposed_path))] {
               CReplaceDlg dialog(existing, proposed, DialogParent());
               Exec(dialog);
               return dialog.Answer();
             });
}

LongPathAnswer CQtUi::AskLongPath(std::string_view path) {
  return Ask(LongPathAnswer{}, [this, path = QString::fromStdString(std::string(path))] {
    CDest_Path_Too_Long dialog(path, DialogParent());
    Exec(dialog);
    return dialog.Answer();
  });
}

SaveCompletedAnswer CQtUi::ShowSaveCompleted(std::string_view text) {
  return Ask(SaveCompletedAnswer{.ok = false, .open_folder = false},
             [this, text = QString::fromStdString(std::string(text))] {
               QMessageBox box(DialogParent());
               SetUpMessageBox(box, QMessageBox::Information, ProductCaption(), text, {"OK", "Cancel"}, 0);
               auto* open_folder = new QCheckBox("Open Containing Folder", &box);
               open_folder->setObjectName(open_folder->text());
               box.setCheckBox(open_folder);
               Exec(box);
               return SaveCompletedAnswer{.ok = ClickedButton(box) == 0, .open_folder = open_folder->isChecked()};
             });
}

void CQtUi::Flush() { Drain(); }

void CQtUi::Drain() {
  Pending batch;
  {
    std::lock_guard lock(mutex_);
    std::swap(batch, pending_);
  }
  if (batch.progress) emit ProgressChanged(batch.progress->first, batch.progress->second);
  for (const auto& [field, text] : batch.texts) emit TextChanged(static_cast<int>(field), QString::fromStdString(text));
  for (const std::string& line : batch.save_totals) emit SaveTotalsLine(QString::fromStdString(line));
  if (batch.save) emit SaveProgressChanged(*batch.save);
  if (!batch.carved.isEmpty()) emit FilesCarved(batch.carved);
}

}  // namespace pellora::gui
