#pragma once

#include <chrono>
#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "common/ui.hpp"

namespace pellora::cli {

// The Ui of the command line. Messages go to stderr; questions are answered by a policy from the
// flags, else asked on the terminal when there is one, else given their default answer. Progress
// is drawn on stderr only when stderr is a terminal.
class TerminalUi final : public Ui {
 public:
  TerminalUi();

  // --yes: every Yes/No question is answered Yes.
  void SetAnswerYes(bool yes) { answer_yes_ = yes; }
  // --on-media-removed: the answer to the media-removed window, asked otherwise on a terminal.
  void SetMediaRemovedAnswer(std::optional<MediaRemovedAnswer> answer) { media_removed_answer_ = answer; }
  // --on-conflict: the replace window's answer for every file that exists already (for all).
  void SetConflictAnswer(std::optional<ReplaceChoice> choice) { conflict_answer_ = choice; }
  // --on-long-path: the long-path window's answer (for all).
  void SetLongPathAnswer(std::optional<LongPathAnswer> answer) { long_path_answer_ = answer; }
  // With --json the end message belongs to the JSON document, not to stdout.
  void SetEndMessageToStdout(bool to_stdout) { end_message_to_stdout_ = to_stdout; }
  const std::string& LastEndMessage() const { return last_end_message_; }
  // True when questions can be asked: stdin and stderr are terminals.
  bool Interactive() const { return interactive_; }
  // Ends a progress line so that what follows starts on a fresh line.
  void FinishProgress();
  // A Yes/No question that gives up (nullopt) as soon as wake_fd becomes readable.
  std::optional<bool> AskYesNoUnlessWoken(std::string_view text, bool default_yes, int wake_fd);

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

 private:
  using Clock = std::chrono::steady_clock;

  void ClearProgressLine();
  void DrawProgress(bool force);
  void CountFile(std::string_view type_name);
  // A line typed on the terminal; nullopt at the end of input or when wake_fd becomes readable.
  std::optional<std::string> ReadLine(int wake_fd);
  // The end message's stream: stdout, or stderr when stdout carries a JSON document.
  std::ostream& ResultStream() const;
  std::optional<bool> AskYesNoLocked(std::string_view text, bool default_yes, int wake_fd);

  std::mutex mutex_;
  bool interactive_ = false;
  bool progress_to_terminal_ = false;
  bool answer_yes_ = false;
  std::optional<MediaRemovedAnswer> media_removed_answer_;
  std::optional<ReplaceChoice> conflict_answer_;
  std::optional<LongPathAnswer> long_path_answer_;
  bool end_message_to_stdout_ = true;
  bool progress_drawn_ = false;
  std::string status_;
  std::string last_end_message_;
  Clock::time_point last_draw_{};

  // What the progress line shows besides the bar.
  std::int64_t position_ = 0;
  std::int64_t maximum_ = 0;
  std::optional<std::uint64_t> current_sector_;
  std::optional<std::uint64_t> total_sector_;
  std::uint64_t rate_from_sector_ = 0;
  Clock::time_point rate_from_time_{};
  std::uint64_t rate_next_sector_ = 0;  // where the rate will be taken from next
  Clock::time_point rate_next_time_{};
  std::vector<std::pair<std::string, std::uint64_t>> files_per_type_;
};

}  // namespace pellora::cli
