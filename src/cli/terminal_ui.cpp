#include "terminal_ui.hpp"

#include <unistd.h>

#include <cstdio>
#include <iostream>

namespace pellora::cli {

TerminalUi::TerminalUi()
    : interactive_(::isatty(STDIN_FILENO) == 1 && ::isatty(STDERR_FILENO) == 1),
      progress_to_terminal_(::isatty(STDERR_FILENO) == 1) {}

void TerminalUi::ClearProgressLine() {
  if (!progress_drawn_) return;
  std::cerr << "\r\033[K" << std::flush;
  progress_drawn_ = false;
}

void TerminalUi::FinishProgress() {
  const std::lock_guard lock(mutex_);
  ClearProgressLine();
}

void TerminalUi::ShowMessage(std::string_view text, std::string_view caption) {
  const std::lock_guard lock(mutex_);
  ClearProgressLine();
  if (caption != kMessageCaption && caption != kProductName) std::cerr << caption << ": ";
  std::cerr << text << '\n' << std::flush;
}

bool TerminalUi::AskYesNo(std::string_view text, bool default_yes) {
  const std::lock_guard lock(mutex_);
  ClearProgressLine();
  if (answer_yes_) return true;
  if (!interactive_) return default_yes;
  while (true) {
    std::cerr << text << (default_yes ? " [Y/n] " : " [y/N] ") << std::flush;
    std::string answer;
    if (!std::getline(std::cin, answer)) return default_yes;
    if (answer.empty()) return default_yes;
    if (answer == "y" || answer == "Y" || answer == "yes" || answer == "Yes") return true;
    if (answer == "n" || answer == "N" || answer == "no" || answer == "No") return false;
  }
}

void TerminalUi::ShowErrorReport(const ErrorReport& report) {
  const std::lock_guard lock(mutex_);
  ClearProgressLine();
  std::cerr << report.headline << "\n\n"
            << report.body << "\nContact Support: " << report.mail_link << '\n'
            << std::flush;
}

void TerminalUi::ShowEndMessage(std::string_view text) {
  const std::lock_guard lock(mutex_);
  ClearProgressLine();
  last_end_message_ = std::string(text);
  (end_message_to_stdout_ ? std::cout : std::cerr) << text << '\n' << std::flush;
}

bool TerminalUi::AskWholeDisk() {
  const std::lock_guard lock(mutex_);
  ClearProgressLine();
  if (answer_yes_) return true;
  std::cerr << kProductName << ": " << kWholeDiskPromptText << '\n';
  if (!interactive_) {
    std::cerr << "Answered \"" << kWholeDiskGoBack << "\" (give --yes to search the entire drive).\n" << std::flush;
    return false;
  }
  while (true) {
    std::cerr << "1) " << kWholeDiskGoOn << "\n2) " << kWholeDiskGoBack << "\nChoose 1 or 2 [2]: " << std::flush;
    std::string answer;
    if (!std::getline(std::cin, answer) || answer.empty() || answer == "2") return false;
    if (answer == "1") return true;
  }
}

void TerminalUi::ShowProgress(std::int64_t position, std::int64_t maximum) {
  if (!progress_to_terminal_) return;
  const std::lock_guard lock(mutex_);
  const auto now = std::chrono::steady_clock::now();
  const bool done = position >= maximum;
  if (!done && now - last_draw_ < std::chrono::milliseconds(100)) return;
  last_draw_ = now;
  constexpr int kWidth = 30;
  const double fraction = maximum > 0 ? static_cast<double>(position) / static_cast<double>(maximum) : 0.0;
  const int filled = static_cast<int>(fraction * kWidth);
  std::string bar(static_cast<std::size_t>(filled), '#');
  bar.resize(kWidth, ' ');
  char percent[16];
  std::snprintf(percent, sizeof percent, "%5.1f%%", fraction * 100.0);
  std::cerr << "\r\033[K[" << bar << "] " << percent << "  " << status_ << std::flush;
  progress_drawn_ = true;
}

void TerminalUi::ShowText(UiText field, std::string_view text) {
  const std::lock_guard lock(mutex_);
  if (field == UiText::kStatus) status_ = std::string(text);
}

}  // namespace pellora::cli
