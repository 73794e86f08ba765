#include "carving_cli.hpp"

#include <CLI/CLI.hpp>

#include <charconv>
#include <iomanip>
#include <iostream>

#include "interrupt_watcher.hpp"
#include "storage/device_path.hpp"
#include "storage/drive_listing.hpp"
#include "terminal_text.hpp"

namespace pellora::cli {

namespace {

std::optional<std::uint64_t> ParseSectorField(std::string_view text, std::string_view whole) {
  if (text.empty()) return std::nullopt;
  std::uint64_t value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc{} || end != text.data() + text.size())
    throw CliError("--range \"" + std::string(whole) + "\": sectors are decimal numbers, as in --range 0:2048.",
                   kExitUsage);
  return value;
}

std::optional<MediaRemovedAnswer> MediaRemovedPolicy(std::string_view option) {
  if (option == "cancel") return MediaRemovedAnswer{};
  if (option == "retry") return MediaRemovedAnswer{.retry = true, .apply_until_done = true};
  return std::nullopt;
}

nlohmann::json TypesJson(const CarvingReport& report) {
  nlohmann::json types = nlohmann::json::array();
  for (const CarvedTypeRow& row : report.types.Rows()) {
    types.push_back({{"type", row.type_name},
                     {"files", row.files_found},
                     {"general", row.files_per_pass[0]},
                     {"thorough", row.files_per_pass[1]},
                     {"folder", row.folder_name},
                     {"last_file", row.last_file_path}});
  }
  return types;
}

void PrintSummary(const CarvingReport& report, bool failed) {
  std::uint64_t general = 0;
  std::uint64_t thorough = 0;
  std::cout << "\nFiles found per type:\n"
            << "  " << std::left << std::setw(8) << "Type" << std::right << std::setw(10) << "Files" << std::setw(10)
            << "General" << std::setw(10) << "Thorough" << '\n';
  for (const CarvedTypeRow& row : report.types.Rows()) {
    general += row.files_per_pass[0];
    thorough += row.files_per_pass[1];
    if (row.files_found == 0) continue;
    std::cout << "  " << std::left << std::setw(8) << row.type_name << std::right << std::setw(10) << row.files_found
              << std::setw(10) << row.files_per_pass[0] << std::setw(10) << row.files_per_pass[1] << '\n';
  }
  std::cout << "  " << std::left << std::setw(8) << "Total" << std::right << std::setw(10) << general + thorough
            << std::setw(10) << general << std::setw(10) << thorough << '\n';
  // After a failed save the files found before it are there, but the search did not recover
  // into the folder as asked.
  if (!failed) std::cout << "Recovered into " << TerminalText(report.mode_folder.string()) << '\n';
}

}  // namespace

void AddCarvingOptions(CLI::App& command, CarvingCliOptions& options) {
  command.add_option("--drive", options.drive, "disk:N, vol:E, or the path of an attached image");
  command.add_option("--range", options.range, "START:END sectors to scan (END not included); default: whole drive");
  command
      .add_option("--partition", options.partition, "Scan this partition of the disk (its number in the drive tree)")
      ->check(CLI::Range(1, 27))
      ->excludes("--range");
  command.add_option("--dest", options.destination, "Existing folder to write the recovered files into");
  command
      .add_option("--on-media-removed", options.on_media_removed,
                  "Answer when the drive cannot be read: retry (and go on) or cancel; asked on a terminal")
      ->check(CLI::IsMember({"retry", "cancel"}));
}

SectorRangeFields ParseRangeFields(std::string_view text) {
  const std::size_t colon = text.find(':');
  if (colon == std::string_view::npos)
    throw CliError("--range \"" + std::string(text) + "\": give START:END, as in --range 0:2048.", kExitUsage);
  return {ParseSectorField(text.substr(0, colon), text), ParseSectorField(text.substr(colon + 1), text)};
}

SearchSelection ResolveSearchSelection(CliContext& context, std::string_view search_type,
                                       const CarvingCliOptions& options) {
  SearchSelectionRequest request;
  if (!options.drive.empty()) request.device_path = context.ResolveDrive(options.drive);
  if (!options.range.empty()) request.range = ParseRangeFields(options.range);
  if (!options.drive.empty() && (options.partition || ParseVolumePath(request.device_path))) {
    // A partition's range and a volume's file system come from the drive list.
    DriveListing& listing = context.ListDrives();
    SearchSelectionRequest offered = SearchRequestFor(listing, context.FindItem(options.drive, options.partition));
    if (options.partition) request.range = offered.range;
    request.partition_type = std::move(offered.partition_type);
  }
  SearchSelectionOutcome outcome = SelectSearchRange(context.app.devices, search_type, request);
  if (!outcome.selection) throw CliError(outcome.message);
  return std::move(*outcome.selection);
}

int RunCarvingCommand(CliContext& context, SearchMode mode, std::string_view search_type,
                      const CarvingCliOptions& options,
                      const std::function<CarvingReport(const CarvingRequest&, std::stop_token)>& run) {
  Program& app = context.app;
  app.mode.Set(mode);
  const SearchSelection selection = ResolveSearchSelection(context, search_type, options);
  if (!context.options.json)
    for (const auto& [label, value] : selection.information) std::cout << label << TerminalText(value) << '\n';
  std::cout << std::flush;
  context.ui.SetMediaRemovedAnswer(MediaRemovedPolicy(options.on_media_removed));

  CarvingRequest request;
  request.range = {selection.device_path, selection.start_sector, selection.end_sector};
  request.destination = options.destination;
  CarvingReport report;
  bool interrupted = false;
  {
    std::stop_source stop;
    InterruptWatcher watcher(context.ui, std::string(kStopSearchingQuestion), [&stop] { stop.request_stop(); });
    report = run(request, stop.get_token());
    interrupted = watcher.StopRequested();
  }
  context.ui.FinishProgress();
  if (!report.started) return kExitFailed;

  if (context.options.json) {
    nlohmann::json information = nlohmann::json::array();
    for (const auto& [label, value] : selection.information) information.push_back(label + value);
    CliContext::PrintJson({{"search", search_type},
                           {"drive", selection.device_path},
                           {"start_sector", selection.start_sector},
                           {"end_sector", selection.end_sector},
                           {"information", information},
                           {"folder", report.mode_folder.string()},
                           {"stopped", report.stopped},
                           {"end_message", context.ui.LastEndMessage()},
                           {"types", TypesJson(report)}});
  }
  // A stop the person asked for is a finished search; any other stop (a failed save, Cancel in
  // the media-removed window) means the work could not be done.
  const bool failed = report.stopped && !interrupted;
  if (!context.options.json) PrintSummary(report, failed);
  return failed ? kExitFailed : kExitDone;
}

}  // namespace pellora::cli
