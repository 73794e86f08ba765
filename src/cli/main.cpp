// pellora-cli: the recovery engines from a terminal.

#include <CLI/CLI.hpp>

#include <iostream>

#include "app/attached_drives.hpp"
#include "app/startup.hpp"
#include "cli_context.hpp"

namespace pellora::cli {
namespace {

int Main(int argc, char** argv) {
  GlobalOptions options;
  CLI::App cli{"Pellora: recover photos and files from memory cards and USB sticks."};
  cli.name("pellora-cli");
  cli.add_option("--image", options.images, "Attach a disk image as the next removable disk")->allow_extra_args(false);
  cli.add_option("--volume-image", options.volume_images, "Attach a volume image as the next removable volume")
      ->allow_extra_args(false);
  cli.add_flag("--no-system-drives", options.no_system_drives, "List attached images only");
  cli.add_flag("--json", options.json, "Print one JSON document on stdout");
  cli.add_flag("--yes", options.yes, "Answer Yes to every question");
  cli.require_subcommand(1);

  CommandRun chosen;
  AddSectorsCommand(cli, chosen);
  AddPhotoCommand(cli, chosen);
  AddSignatureCommands(cli, chosen);
  AddDrivesCommand(cli, chosen);
  AddParamsCommand(cli, chosen);
  AddPartitionsCommand(cli, chosen);
  AddBasicCommand(cli, chosen);
  AddDeepCommand(cli, chosen);
  AddLoadLogCommand(cli, chosen);

  try {
    cli.parse(argc, argv);
  } catch (const CLI::CallForHelp&) {
    std::cout << cli.help();
    return kExitDone;
  } catch (const CLI::CallForAllHelp&) {
    std::cout << cli.help("", CLI::AppFormatMode::All);
    return kExitDone;
  } catch (const CLI::ParseError& error) {
    std::cerr << "pellora-cli: " << error.what() << "\nRun 'pellora-cli --help' for usage.\n";
    return kExitUsage;
  }

  TerminalUi ui;
  ui.SetAnswerYes(options.yes);
  ui.SetEndMessageToStdout(!options.json);
  Program app(ui);
  if (!StartUp(app, ExecutableDir(), {})) return kExitFailed;
  try {
    if (!options.no_system_drives) FindSystemDrives(app);
    if (std::string why = AttachImages(app, {options.images, options.volume_images}); !why.empty()) throw CliError(why);
    CliContext context(app, ui, options);
    return chosen(context);
  } catch (const CliError& error) {
    ui.FinishProgress();
    std::cerr << error.what() << '\n';
    return error.code;
  } catch (const std::exception& error) {
    ui.FinishProgress();
    std::cerr << "pellora-cli: " << error.what() << '\n';
    return kExitFailed;
  }
}

}  // namespace
}  // namespace pellora::cli

int main(int argc, char** argv) { return pellora::cli::Main(argc, argv); }
