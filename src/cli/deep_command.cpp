// pellora-cli deep: Deep Search of a partition, a whole disk or a range of sectors for lost FAT or
// NTFS file systems, printed as a tree of folders with their files, and optionally saved.

#include <CLI/CLI.hpp>

#include <ctime>
#include <iostream>
#include <memory>
#include <stop_token>

#include "app/deep_search_run.hpp"
#include "app/modes.hpp"
#include "cli_context.hpp"
#include "interrupt_watcher.hpp"
#include "result_output.hpp"
#include "search/deep_search.hpp"

namespace pellora::cli {

namespace {

struct DeepOptions {
  std::string drive;
  std::optional<int> partition;
  std::vector<std::uint64_t> range;  // START END
  std::optional<std::string> file_system;
  SaveOptions saving;
  std::optional<std::string> log_out;
};

// "Search selected Drive's file system as:" — its items in order; "Unknown" is none.
std::optional<int> FileSystemChoice(const DeepOptions& options) {
  if (!options.file_system) return std::nullopt;
  if (*options.file_system == "FAT16") return 0;
  if (*options.file_system == "FAT32") return 1;
  if (*options.file_system == "NTFS") return 2;
  return 3;
}

Validation Validate(CliContext& context, const DeepOptions& options) {
  // With a range the person has chosen the disk's sectors already: the whole-disk prompt, which
  // offers just that, is answered for them.
  const bool answer_yes = context.options.yes;
  if (!options.range.empty()) context.ui.SetAnswerYes(true);
  Validation validation =
      context.SelectAndValidate(options.drive, options.partition, SearchMode::kDeep, FileSystemChoice(options));
  context.ui.SetAnswerYes(answer_yes);
  if (validation == Validation::kUnrecognised) {
    context.app.ui.ShowMessage(kSelectFileSystemType);
    return Validation::kRefused;
  }
  return validation;
}

// --range START END replaces the drive's own extent.
bool ApplyRange(CliContext& context, const DeepOptions& options) {
  return options.range.empty() || ApplySearchRange(context.app, options.range[0], options.range[1]);
}

int RunDeep(CliContext& context, const DeepOptions& options) {
  AppState& app = context.app;
  if (Validate(context, options) == Validation::kRefused || !ApplyRange(context, options)) return kExitFailed;

  BeginSearchRun(app);
  app.results.Clear();
  DeepSearchResult found;
  {
    std::stop_source stop;
    InterruptWatcher watcher(context.ui, std::string(kStopSearchingQuestion), [&stop] { stop.request_stop(); });
    found = RunDeepSearch(DeepRequestFor(app, std::time(nullptr)), app.sectors, app.ui, app.reporter, stop.get_token());
  }
  context.ui.FinishProgress();
  const std::size_t boot_sectors = found.boot_sectors_found;
  const std::size_t directories = found.directories_found;
  DeepPartitionTable table = InstallDeepSearchResult(app, std::move(found));

  const FileLister files = [&app, &table](ItemId item) { return DeepFileLines(app, table, item); };
  if (!context.options.json) PrintResultTree(app, files);
  const bool logged = WriteLogOut(context, options.log_out, &table.Rows());
  const bool empty = app.results.nodes.Size() == 0;
  const bool saved = !options.saving.save || empty || SaveResults(context, options.saving, files, &table);
  if (context.options.json) {
    nlohmann::json document = {{"file_system", app.partition_params.FileSystemName},
                               {"range", {app.partition_params.RangeStart, app.partition_params.RangeEnd}},
                               {"boot_sectors_found", boot_sectors},
                               {"directories_found", directories},
                               {"partitions", PartitionsJson(table.Rows())},
                               {"message", context.ui.LastEndMessage()},
                               {"root", ResultTreeJson(app, files)}};
    if (options.saving.save && !empty) document["save"] = SaveJson(app);
    CliContext::PrintJson(document);
  }
  return empty || !saved || !logged ? kExitFailed : kExitDone;
}

}  // namespace

void AddDeepCommand(CLI::App& cli, CommandRun& chosen) {
  auto options = std::make_shared<DeepOptions>();
  CLI::App* command = cli.add_subcommand(
      "deep", "Deep Search: read every sector for lost FAT and NTFS file systems and rebuild their folder trees");
  command->add_option("--drive", options->drive, "disk:N, vol:E, or the path of an attached image")->required();
  CLI::Option* partition =
      command->add_option("--partition", options->partition, "The partition's number in the drive tree");
  partition->check(CLI::Range(1, 27));
  command->add_option("--range", options->range, "Search the sectors START (included) to END (not included)")
      ->expected(2)
      ->excludes(partition);
  command
      ->add_option("--fs", options->file_system,
                   "Search the drive as this file system (needed when its type is not recognised)")
      ->check(CLI::IsMember({"FAT16", "FAT32", "NTFS", "Unknown"}));
  AddSaveOptions(*command, options->saving);
  AddLogOutOption(*command, options->log_out);
  command->callback([options, &chosen] { chosen = [options](CliContext& c) { return RunDeep(c, *options); }; });
}

}  // namespace pellora::cli
