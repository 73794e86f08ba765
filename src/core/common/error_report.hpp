#pragma once

#include <ctime>
#include <optional>
#include <string>
#include <string_view>

#include "common/search_mode.hpp"
#include "common/ui.hpp"

namespace pellora {

// The texts of one failure report, each a pure function of its inputs.

// "0x00" + SITE + "_" + AREA + "_" + MODE, all upper case: 0x003TH_LLD_B.
std::string ErrorCode(std::string_view site, std::string_view area, std::string_view mode_letter);
// The context label without any "." and trimmed: "Loading drives..." -> "Loading drives".
std::string CommandName(std::string_view context_label);
// Error while executing " Loading drives " command (0x003TH_LLD_B)
std::string ErrorMessage(std::string_view command_name, std::string_view error_code);
// The error message followed by what the failure said, on the same line ("... (0x0011E_R_B): field
// beyond the end of the buffer"); the message alone when nothing was said. Line breaks in the
// detail become blanks so a log entry keeps its four lines.
std::string WithDetail(std::string_view error_message, std::string_view detail);
// Local time as "%d-%b-%Y  %I:%M:%S %p"; nullopt when the time cannot be formatted.
std::optional<std::string> FormatTimeStamp(std::time_t when);
// The four lines one failure adds to Error_Log.txt, each ended by CR LF (UTF-8 here; the log
// writer stores it as UTF-16LE).
std::string ErrorLogEntry(std::string_view time_stamp, std::string_view error_code, std::string_view error_message);
// The body of the report window: note, support address, message (with the detail, when any) and
// the questionnaire.
std::string ReportBody(std::string_view error_message);
// The "Contact Support" mail link made from a report body.
std::string MailLink(std::string_view report_body);

ErrorReport MakeErrorReport(std::string_view context_label, std::string_view area, std::string_view site,
                            SearchMode mode, std::string_view detail = {});

}  // namespace pellora
