#include "common/guard.hpp"

#include <exception>

#include "common/error_log.hpp"
#include "common/error_report.hpp"

namespace pellora {

ErrorReporter::ErrorReporter(Ui& ui, const CurrentMode& mode)
    : ui_(ui), mode_(mode), clock_([] { return std::time(nullptr); }) {}

void ErrorReporter::ReportFailure(std::string_view context_label, std::string_view area, std::string_view site,
                                  std::string_view detail) noexcept {
  try {
    const ErrorReport report = MakeErrorReport(context_label, area, site, mode_.Get(), detail);
    const auto stamp = FormatTimeStamp(clock_());
    if (!stamp) ui_.ShowMessage("Get date time value.");
    if (!log_path_.empty()) {
      const std::lock_guard lock(log_mutex_);
      AppendToErrorLog(log_path_,
                       ErrorLogEntry(stamp.value_or(""), report.error_code, WithDetail(report.headline, detail)));
    }
    ui_.ShowErrorReport(report);
  } catch (const std::exception& failure) {
    try {
      ui_.ShowMessage(failure.what());
    } catch (...) {
    }
  } catch (...) {
    try {
      ui_.ShowMessage("Problem occur.");
    } catch (...) {
    }
  }
}

}  // namespace pellora
