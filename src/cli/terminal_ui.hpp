#pragma once

#include <chrono>
#include <cstdint>
#include <mutex>
#include <optional>
#include <string>

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
  // With --json the end message belongs to the JSON document, not to stdout.
  void SetEndMessageToStdout(bool to_stdout) { end_message_to_stdout_ = to_stdout; }
  const std::string& LastEndMessage() const { return last_end_message_; }
  // Ends a progress line so that what follows starts on a fresh line.
  void FinishProgress();

  void ShowMessage(std::string_view text, std::string_view caption) override;
  bool AskYesNo(std::string_view text, bool default_yes) override;
  void ShowErrorReport(const ErrorReport& report) override;
  void ShowEndMessage(std::string_view text) override;
  bool AskWholeDisk() override;
  void ShowProgress(std::int64_t position, std::int64_t maximum) override;
  void ShowText(UiText field, std::string_view text) override;

 private:
  void ClearProgressLine();

  std::mutex mutex_;
  bool interactive_ = false;
  bool progress_to_terminal_ = false;
  bool answer_yes_ = false;
  bool end_message_to_stdout_ = true;
  bool progress_drawn_ = false;
  std::string status_;
  std::string last_end_message_;
  std::chrono::steady_clock::time_point last_draw_{};
};

}  // namespace pellora::cli
