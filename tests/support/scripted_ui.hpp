#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "common/ui.hpp"

namespace pellora::test {

// A Ui that records every text it is shown and replays scripted answers. Events read like
// "message: text", "question: text", "report: 0x001A_LD_M", "end: text", "media-removed",
// "thumbnail: GNDR00001.JPG", "recovered: MP4 MP400001.MP4", "replace: EXISTING -> PROPOSED",
// "long path: PATH", "save completed: text".
class ScriptedUi : public Ui {
 public:
  // Answers for the next Yes/No questions, in order; when none is left the default answer is given.
  void AnswerYesNo(std::initializer_list<bool> answers);
  // Answers for the next media-removed windows; when none is left the answer is Cancel.
  void AnswerMediaRemoved(std::initializer_list<MediaRemovedAnswer> answers);
  // Answers for the next whole-disk prompts (true: search the entire drive); none left: go back.
  void AnswerWholeDisk(std::initializer_list<bool> answers);

  // Answers for the next replace windows; when none is left the answer is "Overwrite".
  void AnswerReplace(std::initializer_list<ReplaceAnswer> answers);
  // Answers for the next long-path windows; when none is left the window is closed ("Ignore").
  void AnswerLongPath(std::initializer_list<LongPathAnswer> answers);
  // The completion window's answer (OK without opening the folder unless told otherwise).
  void AnswerSaveCompleted(SaveCompletedAnswer answer);
  // Presses the saving window's buttons: called with every progress report.
  void OnSaveProgress(std::function<SaveButton(const SaveProgress&)> press);
  // The replace window stays open, as if nobody were at the machine, until ReleaseQuestions.
  void HoldReplaceWindows();
  // True while a worker waits in a held replace window.
  bool WaitingInReplace() const;
  // Every progress report of saving, in order.
  std::vector<SaveProgress> SaveReports() const;

  std::vector<std::string> Events() const;
  std::vector<std::string> Messages() const;  // texts of ShowMessage, in order
  std::vector<ErrorReport> Reports() const;
  std::int64_t LastProgress() const;
  std::int64_t LastMaximum() const;
  // The last text shown in a field; empty when none was.
  std::string LastText(UiText field) const;
  // Full paths of the finished carved files, in order (thumbnails and recovered-file entries).
  std::vector<std::string> CarvedFiles() const;

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

 private:
  mutable std::mutex mutex_;
  std::deque<bool> answers_;
  std::deque<MediaRemovedAnswer> media_answers_;
  std::map<UiText, std::string> texts_;
  std::vector<std::string> carved_files_;
  std::deque<bool> whole_disk_answers_;
  std::deque<ReplaceAnswer> replace_answers_;
  std::deque<LongPathAnswer> long_path_answers_;
  SaveCompletedAnswer completed_answer_;
  std::function<SaveButton(const SaveProgress&)> press_;
  std::vector<SaveProgress> save_reports_;
  std::vector<std::string> events_;
  std::vector<std::string> messages_;
  std::vector<ErrorReport> reports_;
  std::int64_t position_ = 0;
  std::int64_t maximum_ = 0;
  std::condition_variable released_;
  bool hold_replace_ = false;
  bool waiting_in_replace_ = false;
  bool questions_released_ = false;
};

}  // namespace pellora::test
