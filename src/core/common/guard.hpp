#pragma once

#include <ctime>
#include <exception>
#include <filesystem>
#include <functional>
#include <mutex>
#include <string_view>

#include "common/search_mode.hpp"
#include "common/ui.hpp"

namespace pellora {

// Turns every failure of a guarded operation into one report: the report window and an entry in
// the error log. Exceptions never cross a guard; the innermost guard alone handles a failure.
class ErrorReporter {
 public:
  using Clock = std::function<std::time_t()>;

  ErrorReporter(Ui& ui, const CurrentMode& mode);

  // Fixed once at start-up, before any worker runs.
  void SetLogPath(std::filesystem::path path) { log_path_ = std::move(path); }
  const std::filesystem::path& LogPath() const { return log_path_; }
  void SetClock(Clock clock) { clock_ = std::move(clock); }

  // Writes the log entry and shows the report; never throws. detail is what the failure itself
  // said ("field beyond the end of the buffer", the system's text of a failed read), when known.
  void ReportFailure(std::string_view context_label, std::string_view area, std::string_view site,
                     std::string_view detail = {}) noexcept;

  // Runs fn; on any exception reports it with the label and codes and returns false.
  template <typename Fn>
  bool Guarded(std::string_view context_label, std::string_view area, std::string_view site, Fn&& fn) noexcept {
    try {
      std::forward<Fn>(fn)();
      return true;
    } catch (const std::exception& failure) {
      ReportFailure(context_label, area, site, failure.what());
      return false;
    } catch (...) {
      ReportFailure(context_label, area, site);
      return false;
    }
  }

 private:
  Ui& ui_;
  const CurrentMode& mode_;
  std::filesystem::path log_path_;
  Clock clock_;
  std::mutex log_mutex_;  // two reports never interleave their lines
};

}  // namespace pellora
