#include "terminal_ui.hpp"
#include "terminal_text.hpp"

#include <poll.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <iostream>
#include <utility>

namespace pellora::cli {

namespace {

std::optional<bool> ParseYesNo(std::string_view answer) {
  if (answer == "y" || answer == "Y" || answer == "yes" || answer == "Yes") return true;
  if (answer == "n" || answer == "N" || answer == "no" || answer == "No") return false;
  return std::nullopt;
}

std::size_t TerminalColumns() {
  winsize size{};
  if (::ioctl(STDERR_FILENO, TIOCGWINSZ, &size) == 0 && size.ws_col > 0) return size.ws_col;
  return 80;
}

}  // namespace

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
  std::cerr << TerminalText(text, true) << '\n' << std::flush;
}

std::optional<std::string> TerminalUi::ReadLine(int wake_fd) {
  std::string line;
  while (true) {
    pollfd fds[2] = {{STDIN_FILENO, POLLIN, 0}, {wake_fd, POLLIN, 0}};
    const int ready = ::poll(fds, wake_fd >= 0 ? 2 : 1, -1);
    if (ready < 0) {
      if (errno == EINTR) continue;
      return std::nullopt;
    }
    if (wake_fd >= 0 && (fds[1].revents & POLLIN) != 0) return std::nullopt;
    char c = 0;
    const ssize_t n = ::read(STDIN_FILENO, &c, 1);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return line.empty() ? std::nullopt : std::optional(line);
    if (c == '\n') return line;
    line.push_back(c);
  }
}

std::optional<bool> TerminalUi::AskYesNoLocked(std::string_view text, bool default_yes, int wake_fd) {
  ClearProgressLine();
  if (answer_yes_) return true;
  if (!interactive_) return default_yes;
  while (true) {
    std::cerr << TerminalText(text, true) << (default_yes ? " [Y/n] " : " [y/N] ") << std::flush;
    const auto answer = ReadLine(wake_fd);
    if (!answer) {
      std::cerr << '\n';
      return wake_fd >= 0 ? std::nullopt : std::optional(default_yes);
    }
    if (answer->empty()) return default_yes;
    if (const auto yes = ParseYesNo(*answer)) return yes;
  }
}

bool TerminalUi::AskYesNo(std::string_view text, bool default_yes) {
  const std::lock_guard lock(mutex_);
  return AskYesNoLocked(text, default_yes, -1).value_or(default_yes);
}

std::optional<bool> TerminalUi::AskYesNoUnlessWoken(std::string_view text, bool default_yes, int wake_fd) {
  const std::lock_guard lock(mutex_);
  return AskYesNoLocked(text, default_yes, wake_fd);
}

MediaRemovedAnswer TerminalUi::AskMediaRemoved() {
  const std::lock_guard lock(mutex_);
  ClearProgressLine();
  std::cerr << kMediaRemovedText << '\n';
  // Without a person to ask, reading on recovers what can still be read.
  const MediaRemovedAnswer fallback{.retry = true, .apply_until_done = true};
  if (media_removed_answer_ || !interactive_) {
    const MediaRemovedAnswer answer = media_removed_answer_.value_or(fallback);
    std::cerr << (answer.retry ? kMediaRemovedRetry : kMediaRemovedCancel)
              << (answer.retry && answer.apply_until_done ? " (" + std::string(kMediaRemovedApplyAll) + ")" : "")
              << '\n'
              << std::flush;
    return answer;
  }
  while (true) {
    std::cerr << "  c  " << kMediaRemovedCancel << "\n  r  " << kMediaRemovedRetry << "\n  a  " << kMediaRemovedRetry
              << " " << kMediaRemovedApplyAll << "\nChoice [r]: " << std::flush;
    const auto answer = ReadLine(-1);
    if (!answer || answer->empty() || *answer == "r" || *answer == "R") return {.retry = true};
    if (*answer == "a" || *answer == "A") return fallback;
    if (*answer == "c" || *answer == "C") return {};
  }
}

void TerminalUi::ShowErrorReport(const ErrorReport& report) {
  const std::lock_guard lock(mutex_);
  ClearProgressLine();
  std::cerr << TerminalText(report.headline) << "\n\n"
            << TerminalText(report.body, true) << "\nContact Support: " << TerminalText(report.mail_link) << '\n'
            << std::flush;
}

void TerminalUi::ShowEndMessage(std::string_view text) {
  const std::lock_guard lock(mutex_);
  ClearProgressLine();
  last_end_message_ = std::string(text);
  ResultStream() << TerminalText(text, true) << '\n' << std::flush;
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
  position_ = position;
  maximum_ = maximum;
  DrawProgress(position >= maximum);
}

void TerminalUi::DrawProgress(bool force) {
  const auto now = Clock::now();
  if (!force && now - last_draw_ < std::chrono::milliseconds(100)) return;
  last_draw_ = now;
  constexpr int kWidth = 30;
  const double fraction =
      maximum_ > 0 ? std::clamp(static_cast<double>(position_) / static_cast<double>(maximum_), 0.0, 1.0) : 0.0;
  std::string bar(static_cast<std::size_t>(fraction * kWidth), '#');
  bar.resize(kWidth, ' ');
  char percent[16];
  std::snprintf(percent, sizeof percent, "%5.1f%%", fraction * 100.0);
  std::string line = "[" + bar + "] " + percent;
  if (current_sector_) {
    line += "  sector " + std::to_string(*current_sector_);
    if (total_sector_) line += " of " + std::to_string(*total_sector_);
    const double seconds = std::chrono::duration<double>(now - rate_from_time_).count();
    if (seconds > 0.5 && *current_sector_ >= rate_from_sector_) {
      char rate[32];
      std::snprintf(rate, sizeof rate, "  %.1f MiB/s",
                    static_cast<double>(*current_sector_ - rate_from_sector_) * 512.0 / seconds / 1048576.0);
      line += rate;
    }
    // The rate is taken over the last few seconds, so that a pause (a question) fades out of it.
    if (seconds > 3) {
      rate_from_sector_ = std::exchange(rate_next_sector_, *current_sector_);
      rate_from_time_ = std::exchange(rate_next_time_, now);
    }
  } else if (!status_.empty()) {
    line += "  " + status_;
  }
  for (const auto& [type, count] : files_per_type_) line += "  " + type + " " + std::to_string(count);
  line = TerminalText(line);
  line.resize(std::min(line.size(), TerminalColumns() - 1));
  std::cerr << "\r\033[K" << line << std::flush;
  progress_drawn_ = true;
}

void TerminalUi::ShowText(UiText field, std::string_view text) {
  const std::lock_guard lock(mutex_);
  switch (field) {
    case UiText::kStatus:
      status_ = std::string(text);
      current_sector_.reset();
      if (progress_to_terminal_ && !text.empty()) {
        ClearProgressLine();
        std::cerr << TerminalText(text, true) << '\n' << std::flush;
      }
      break;
    case UiText::kSaveTotals:
      ClearProgressLine();
      ResultStream() << TerminalText(text, true) << '\n' << std::flush;
      break;
    case UiText::kHint:
    case UiText::kCurrentSector:
    case UiText::kTotalSectors:
    case UiText::kSearchRange:
      break;  // the hints talk about the desktop program's buttons; the sectors come as numbers
  }
}

void TerminalUi::ShowCurrentSector(std::uint64_t sector) {
  const std::lock_guard lock(mutex_);
  if (!current_sector_) {
    rate_from_sector_ = rate_next_sector_ = sector;
    rate_from_time_ = rate_next_time_ = Clock::now();
  }
  current_sector_ = sector;
}

void TerminalUi::ShowSectorTotal(std::uint64_t total, SectorTotalForm) {
  const std::lock_guard lock(mutex_);
  total_sector_ = total;
}

void TerminalUi::ShowSearchRange(std::uint64_t, std::uint64_t) {}  // the commands print the range themselves

void TerminalUi::CountFile(std::string_view type_name) {
  const std::lock_guard lock(mutex_);
  auto found = std::find_if(files_per_type_.begin(), files_per_type_.end(),
                            [&](const auto& entry) { return entry.first == type_name; });
  if (found == files_per_type_.end()) {
    files_per_type_.emplace_back(std::string(type_name), 1);
  } else {
    ++found->second;
  }
  if (progress_to_terminal_ && progress_drawn_) DrawProgress(false);
}

void TerminalUi::AddThumbnail(std::string_view type_name, std::string_view, std::string_view) { CountFile(type_name); }

void TerminalUi::AddRecoveredFile(std::string_view type_name, std::string_view, std::string_view) {
  CountFile(type_name);
}

std::ostream& TerminalUi::ResultStream() const { return end_message_to_stdout_ ? std::cout : std::cerr; }

SaveButton TerminalUi::ShowSaveProgress(const SaveProgress& progress) {
  if (!progress_to_terminal_) return SaveButton::kNone;
  const std::lock_guard lock(mutex_);
  const bool counting = progress.phase == SavePhase::kCounting;
  position_ = static_cast<std::int64_t>(progress.files_done);
  maximum_ = static_cast<std::int64_t>(counting ? 0 : progress.files_selected);
  current_sector_.reset();
  status_ = counting ? "counting: " + std::to_string(progress.files_selected) + " files, " +
                           std::to_string(progress.folders_selected) + " folders"
                     : "files " + std::to_string(progress.files_done) + "/" + std::to_string(progress.files_selected) +
                           ", folders " + std::to_string(progress.folders_saved) + "/" +
                           std::to_string(progress.folders_selected) + "  " + progress.file_name;
  DrawProgress(false);
  return SaveButton::kNone;  // Ctrl-C stands for "Stop"
}

ReplaceAnswer TerminalUi::AskReplace(std::string_view existing_path, std::string_view proposed_path) {
  const std::lock_guard lock(mutex_);
  if (conflict_answer_) return {.choice = *conflict_answer_, .apply_to_all = true, .new_path = {}};
  // Without a person to ask, a file already there is kept and the new one takes a free name.
  if (!interactive_) return {.choice = ReplaceChoice::kRename, .apply_to_all = true, .new_path = {}};
  ClearProgressLine();
  std::cerr << kReplaceCaption << ": " << kReplaceText << "\nFile : " << TerminalText(existing_path)
            << "\nNew File : " << TerminalText(proposed_path) << '\n';
  while (true) {
    std::cerr << "o  Overwrite   r  Rename   s  Skip   c  Cancel   (O, R, S: " << kReplaceApplyAll
              << ")\nChoice [r]: " << std::flush;
    const auto answer = ReadLine(-1);
    const char c = !answer || answer->empty() ? 'r' : (*answer)[0];
    const bool all = c == 'O' || c == 'R' || c == 'S';
    switch (c) {
      case 'o':
      case 'O':
        return {.choice = ReplaceChoice::kOverwrite, .apply_to_all = all, .new_path = {}};
      case 'r':
      case 'R':
        return {.choice = ReplaceChoice::kRename, .apply_to_all = all, .new_path = {}};
      case 's':
      case 'S':
        return {.choice = ReplaceChoice::kSkip, .apply_to_all = all, .new_path = {}};
      case 'c':
      case 'C':
        return {.choice = ReplaceChoice::kCancel, .apply_to_all = false, .new_path = {}};
      default:
        break;
    }
  }
}

LongPathAnswer TerminalUi::AskLongPath(std::string_view path) {
  const std::lock_guard lock(mutex_);
  ClearProgressLine();
  std::cerr << kLongPathCaption << ": " << kLongPathText << '\n' << TerminalText(path) << '\n';
  if (long_path_answer_ || !interactive_) {
    // Closing the window ignores the item; --on-long-path chooses otherwise.
    const LongPathAnswer answer = long_path_answer_.value_or(LongPathAnswer{});
    switch (answer.choice) {
      case LongPathChoice::kIgnore:
        std::cerr << "Ignored (give --on-long-path misc or a folder to save it elsewhere).\n" << std::flush;
        break;
      case LongPathChoice::kMoveToMiscellaneous:
        std::cerr << "Moved to the ZYD_Miscellaneous folder.\n" << std::flush;
        break;
      case LongPathChoice::kBrowse:
        std::cerr << "Saved below " << answer.folder << ".\n" << std::flush;
        break;
    }
    return answer;
  }
  while (true) {
    std::cerr << "i  Ignore   m  Move to ZYD_Miscellaneous Folder   b  Browse another Path   (I, M, B: "
              << kLongPathForAll << ")\nChoice [i]: " << std::flush;
    const auto answer = ReadLine(-1);
    const char c = !answer || answer->empty() ? 'i' : (*answer)[0];
    const bool all = c == 'I' || c == 'M' || c == 'B';
    if (c == 'i' || c == 'I') return {.choice = LongPathChoice::kIgnore, .for_all = all, .folder = {}};
    if (c == 'm' || c == 'M') return {.choice = LongPathChoice::kMoveToMiscellaneous, .for_all = all, .folder = {}};
    if (c == 'b' || c == 'B') {
      std::cerr << "Select destination folder. " << std::flush;
      const auto folder = ReadLine(-1);
      if (folder && !folder->empty()) return {.choice = LongPathChoice::kBrowse, .for_all = all, .folder = *folder};
    }
  }
}

SaveCompletedAnswer TerminalUi::ShowSaveCompleted(std::string_view text) {
  const std::lock_guard lock(mutex_);
  ClearProgressLine();
  ResultStream() << text << '\n' << std::flush;
  return {.ok = true, .open_folder = false};
}

}  // namespace pellora::cli
