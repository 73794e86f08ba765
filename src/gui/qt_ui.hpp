#pragma once

#include <QDialog>
#include <QObject>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <condition_variable>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "common/ui.hpp"

namespace pellora::gui {

// A file a carving search finished, as its window lists it.
struct CarvedFile {
  QString type_name;
  QString path;
  QString name;
};

// The Ui of the desktop program. Questions from a worker are shown on the GUI thread while the
// worker waits; a worker's cheap reports (progress, texts, saving counters) are collected under a
// lock and handed to the windows in batches by a timer, so a scan never floods the event loop.
class CQtUi final : public QObject, public Ui {
  Q_OBJECT

 public:
  explicit CQtUi(QObject* parent = nullptr);
  ~CQtUi() override;

  // The window that owns the dialogs shown from now on (nullptr: the active window).
  void SetDialogParent(QWidget* parent) { dialog_parent_ = parent; }
  QWidget* DialogParent() const;
  // A window opened again: its questions are asked once more after an earlier ReleaseQuestions.
  void Rearm();
  // A button of the saving window, handed to the save worker with its next report.
  void PressSaveButton(SaveButton button);
  // Hands over what the workers reported since the last tick at once.
  void Flush();
  // While held, a worker's end message does not wait for its window: the search window takes it
  // and shows it once its tree shows what was found.
  void HoldEndMessage(bool hold);
  std::optional<std::string> TakeEndMessage();

  void ShowMessage(std::string_view text, std::string_view caption) override;
  bool AskYesNo(std::string_view text, bool default_yes) override;
  void ShowErrorReport(const ErrorReport& report) override;
  void ShowEndMessage(std::string_view text) override;
  bool AskWholeDisk() override;
  void ShowProgress(std::int64_t position, std::int64_t maximum) override;
  void ShowText(UiText field, std::string_view text) override;
  void ShowCurrentSector(std::uint64_t sector) override;
  void ShowSectorTotal(std::uint64_t total, SectorTotalForm form) override;
  void ShowSearchRange(std::uint64_t first, std::uint64_t last) override;
  MediaRemovedAnswer AskMediaRemoved() override;
  void AddThumbnail(std::string_view type_name, std::string_view file_path, std::string_view file_name) override;
  void AddRecoveredFile(std::string_view type_name, std::string_view file_name, std::string_view file_path) override;
  SaveButton ShowSaveProgress(const SaveProgress& progress) override;
  ReplaceAnswer AskReplace(std::string_view existing_path, std::string_view proposed_path) override;
  LongPathAnswer AskLongPath(std::string_view path) override;
  SaveCompletedAnswer ShowSaveCompleted(std::string_view text) override;
  void ReleaseQuestions() override;

 signals:
  // Emitted on the GUI thread by the timer's batches.
  void ProgressChanged(qint64 position, qint64 maximum);
  void TextChanged(int field, const QString& text);  // field: a UiText
  void SaveTotalsLine(const QString& line);
  void SaveProgressChanged(const pellora::SaveProgress& progress);
  // The files a carving search finished since the last batch, in the order they were finished.
  void FilesCarved(const QList<pellora::gui::CarvedFile>& files);

 private:
  // What arrived since the last batch; only the latest value of each field counts.
  struct Pending {
    std::optional<std::pair<std::int64_t, std::int64_t>> progress;
    std::map<UiText, std::string> texts;
    std::vector<std::string> save_totals;
    std::optional<SaveProgress> save;
    QList<CarvedFile> carved;
  };
  struct Question;

  bool OnGuiThread() const;
  // Runs show on the GUI thread and waits for its answer; cancel when the questions are released.
  template <class Answer, class Show>
  Answer Ask(Answer cancel, Show show);
  void Drain();
  void AddCarvedFile(std::string_view type_name, std::string_view file_path, std::string_view file_name);
  // exec() of a question's dialog, remembered so that releasing the questions closes it.
  int Exec(QDialog& dialog);

  QTimer timer_;
  QPointer<QWidget> dialog_parent_;
  std::vector<QPointer<QWidget>> open_dialogs_;

  std::mutex mutex_;
  std::condition_variable answered_;
  bool released_ = false;
  Pending pending_;
  SaveButton save_button_ = SaveButton::kNone;
  bool hold_end_message_ = false;
  std::optional<std::string> end_message_;
};

}  // namespace pellora::gui
