#include "common/error_report.hpp"

#include <array>

#include "common/product.hpp"
#include "common/text.hpp"

namespace pellora {

std::string ErrorCode(std::string_view site, std::string_view area, std::string_view mode_letter) {
  return "0x00" + ToUpperAscii(site) + "_" + ToUpperAscii(area) + "_" + ToUpperAscii(mode_letter);
}

std::string CommandName(std::string_view context_label) {
  std::string without_dots;
  for (char c : context_label)
    if (c != '.') without_dots.push_back(c);
  return std::string(Trim(without_dots));
}

std::string ErrorMessage(std::string_view command_name, std::string_view error_code) {
  return "Error while executing \" " + std::string(command_name) + " \" command (" + std::string(error_code) + ")";
}

std::string WithDetail(std::string_view error_message, std::string_view detail) {
  std::string text(error_message);
  std::string one_line;
  for (char c : detail) one_line.push_back(c == '\r' || c == '\n' ? ' ' : c);
  const std::string_view trimmed = Trim(one_line);
  if (!trimmed.empty()) text.append(": ").append(trimmed);
  return text;
}

std::optional<std::string> FormatTimeStamp(std::time_t when) {
  std::tm local{};
  if (localtime_r(&when, &local) == nullptr) return std::nullopt;
  std::array<char, 64> text{};
  const std::size_t length = std::strftime(text.data(), text.size(), "%d-%b-%Y  %I:%M:%S %p", &local);
  if (length == 0) return std::nullopt;
  return std::string(text.data(), length);
}

std::string ErrorLogEntry(std::string_view time_stamp, std::string_view error_code, std::string_view error_message) {
  std::string entry;
  entry.append("Date and Time\t:\t").append(time_stamp).append("\r\n");
  entry.append("Error Code\t:\t").append(error_code).append("\r\n");
  entry.append("Error Message\t:\t").append(error_message).append("\r\n");
  entry.append(92, '=').append("\r\n");
  return entry;
}

std::string ReportBody(std::string_view error_message) {
  std::string body = "Note: You should Send this information to support email: ";
  body.append(kSupportEmail);
  body.append("\n").append(45, '=').append("\n\n");
  body.append(error_message);
  body.append("\n\nUser encountered following error while using \n\"").append(kProductName).append("\"");
  body.append(
      "\n\nMy Operating system is: \n\nI am using following security/Antivirus/Firewall Software in My Machine: "
      "\n\nThe Hardware Configuration details of My Machine in which I am running the software are: \n\n\nThe "
      "details of my Storage media (from which I am trying to recover data) are as follows: \nMedia Type: "
      "\nStorage Capacity: \nManufacturer: \n");
  return body;
}

std::string MailLink(std::string_view report_body) {
  std::string_view from_message = report_body;
  if (const auto at = report_body.find("Error while executing"); at != std::string_view::npos)
    from_message = report_body.substr(at);
  std::string text(Trim(from_message));
  // The report box hands its text over with CR LF line breaks; ours may hold bare LF.
  text = ReplaceAll(text, "\r\n", "%0A");
  text = ReplaceAll(text, "\n", "%0A");
  text = ReplaceAll(text, "\"", "%22");
  std::string link = "mailto:";
  link.append(kSupportEmail).append("?subject= ").append(kProductName).append(" Question&body=");
  link.append(text).append("%0A%0A");
  return link;
}

ErrorReport MakeErrorReport(std::string_view context_label, std::string_view area, std::string_view site,
                            SearchMode mode, std::string_view detail) {
  ErrorReport report;
  report.error_code = ErrorCode(site, area, ModeLetter(mode));
  report.headline = ErrorMessage(CommandName(context_label), report.error_code);
  report.body = ReportBody(WithDetail(report.headline, detail));
  report.mail_link = MailLink(report.body);
  return report;
}

}  // namespace pellora
