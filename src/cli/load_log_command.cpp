// pellora-cli load-log: a recovery log saved by basic or deep --log-out, loaded instead of scanning
// the drive again, printed as the search printed it, and optionally saved from.

#include <CLI/CLI.hpp>

#include <cstring>
#include <memory>

#include "app/deep_search_run.hpp"
#include "cli_context.hpp"
#include "recoverylog/log_messages.hpp"
#include "recoverylog/log_session.hpp"
#include "result_output.hpp"
#include "search/file_list_filler.hpp"
#include "terminal_text.hpp"

namespace pellora::cli {

namespace {

struct LoadLogOptions {
  std::string log;
  SaveOptions saving;
};

int RunLoadLog(CliContext& context, const LoadLogOptions& options) {
  AppState& app = context.app;
  // As when the desktop program is started with a log: its own mode's window loads it.
  const LogHeaderMode header = ReadLogFileMode(options.log);
  if (!header.opened)
    throw CliError("The log \"" + options.log + "\" cannot be opened: " + std::strerror(header.error));
  if (!header.mode) {
    app.ui.ShowMessage(kLogCorrupted);
    return kExitFailed;
  }
  const SearchMode mode = *header.mode;
  const DriveListing& listing = context.ListDrives(mode);
  LogLoad load = LoadRecoveryLog(app, options.log, PresentDrivesOfListing(listing));
  if (!load.declined.empty())
    throw CliError(TerminalText(load.declined, true) + "\nNo (the default; --yes answers Yes): nothing was loaded.");
  if (load.end != LogLoadEnd::kLoaded) return kExitFailed;

  DeepPartitionTable table(app, std::move(load.log->deep_partitions));
  FileLister files = [&app](ItemId item) { return FileLines(app, item); };
  if (mode == SearchMode::kDeep) files = [&app, &table](ItemId item) { return DeepFileLines(app, table, item); };
  DeepPartitions* deep = mode == SearchMode::kDeep ? &table : nullptr;

  if (!context.options.json) PrintResultTree(app, files);
  const bool empty = app.results.tree.Empty();
  const bool saved = !options.saving.save || empty || SaveResults(context, options.saving, files, deep);
  if (context.options.json) {
    nlohmann::json document = {{"mode", mode == SearchMode::kDeep ? "deep" : "basic"},
                               {"file_system", app.partition_params.FileSystemName},
                               {"drive", app.current_device_path},
                               {"message", kLogLoaded},
                               {"root", ResultTreeJson(app, files)}};
    if (mode == SearchMode::kDeep) document["partitions"] = PartitionsJson(table.Rows());
    if (options.saving.save && !empty) document["save"] = SaveJson(app);
    CliContext::PrintJson(document);
  }
  return saved ? kExitDone : kExitFailed;
}

}  // namespace

void AddLoadLogCommand(CLI::App& cli, CommandRun& chosen) {
  auto options = std::make_shared<LoadLogOptions>();
  CLI::App* command = cli.add_subcommand(
      "load-log", "Load a recovery log (FILE.DMC) instead of scanning the drive again, and save from it");
  command->add_option("log", options->log, "The recovery log saved by basic or deep --log-out")->required();
  AddSaveOptions(*command, options->saving);
  command->callback([options, &chosen] { chosen = [options](CliContext& c) { return RunLoadLog(c, *options); }; });
}

}  // namespace pellora::cli
