// pellora-cli basic: Basic Search of a FAT or NTFS partition, printed as a tree of folders with
// their files, and optionally saved into a destination folder.

#include <CLI/CLI.hpp>

#include <iostream>
#include <memory>
#include <stop_token>

#include "app/modes.hpp"
#include "cli_context.hpp"
#include "interrupt_watcher.hpp"
#include "result_output.hpp"
#include "search/basic_search.hpp"
#include "search/file_list_filler.hpp"
#include "terminal_text.hpp"

namespace pellora::cli {

namespace {

struct BasicOptions {
  std::string drive;
  std::optional<int> partition;
  SaveOptions saving;
  std::optional<std::string> log_out;
};

int RunBasic(CliContext& context, const BasicOptions& options) {
  AppState& app = context.app;
  const Validation validation = context.SelectAndValidate(options.drive, options.partition);
  if (validation == Validation::kRefused) return kExitFailed;
  if (validation == Validation::kUnrecognised) {
    ShowEndMessage(app, false);
    if (context.options.json)
      CliContext::PrintJson({{"file_system", app.partition_params.FileSystemName.Text()},
                             {"message", context.ui.LastEndMessage()},
                             {"root", nullptr}});
    return kExitFailed;
  }

  BasicSearchOutcome outcome;
  {
    std::stop_source stop;
    InterruptWatcher watcher(context.ui, "Do you want to stop searching?", [&stop] { stop.request_stop(); });
    outcome = RunBasicSearch(app, stop.get_token());
  }
  context.ui.FinishProgress();

  const FileLister files = [&app](ItemId item) { return FileLines(app, item); };
  if (!context.options.json) PrintResultTree(app, files);
  const bool logged = WriteLogOut(context, options.log_out);
  const bool saved = !options.saving.save || SaveResults(context, options.saving, files);
  if (context.options.json) {
    nlohmann::json document = {{"file_system", app.partition_params.FileSystemName.Text()},
                               {"message", context.ui.LastEndMessage()},
                               {"root", ResultTreeJson(app, files)}};
    if (options.saving.save) document["save"] = SaveJson(app);
    CliContext::PrintJson(document);
  }
  return outcome.results_empty || !saved || !logged ? kExitFailed : kExitDone;
}

}  // namespace

void AddBasicCommand(CLI::App& cli, CommandRun& chosen) {
  auto options = std::make_shared<BasicOptions>();
  CLI::App* command = cli.add_subcommand("basic", "Basic Search: rebuild the folder tree of a FAT or NTFS partition");
  command->add_option("--drive", options->drive, "disk:N, vol:E, or the path of an attached image")->required();
  command->add_option("--partition", options->partition, "The partition's number in the drive tree")
      ->check(CLI::Range(1, 27));
  AddSaveOptions(*command, options->saving);
  AddLogOutOption(*command, options->log_out);
  command->callback([options, &chosen] { chosen = [options](CliContext& c) { return RunBasic(c, *options); }; });
}

}  // namespace pellora::cli
