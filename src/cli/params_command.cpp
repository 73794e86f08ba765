// pellora-cli params: validate a drive or partition and show the 22 values the engines work from.

#include <CLI/CLI.hpp>

#include <iomanip>
#include <iostream>
#include <memory>

#include "cli_context.hpp"
#include "recognition/compute_partition_params.hpp"
#include "recognition/rebuild_fat_params.hpp"
#include "recognition/validate_partition.hpp"
#include "storage/drive_details.hpp"

namespace pellora::cli {

namespace {

struct ParamsOptions {
  std::string drive;
  std::optional<int> partition;
};

// Fields 1 to 22 in the order recovery logs store them.
std::vector<std::pair<std::string, nlohmann::json>> Fields(const PartitionParams& p) {
  const FileSystemParams& f = p.fs;
  return {{"DiskNumber", p.DiskNumber},
          {"ParamsFlag", p.ParamsFlag},
          {"FileSystemName", p.FileSystemName.Text()},
          {"SearchMode", p.SearchMode},
          {"StartSector", p.StartSector},
          {"EndSector", p.EndSector},
          {"RangeStart", p.RangeStart},
          {"RangeEnd", p.RangeEnd},
          {"ReadLimitBytes", p.ReadLimitBytes},
          {"FatSectors", f.FatSectors},
          {"SectorsPerCluster", f.SectorsPerCluster},
          {"RootSec", f.RootSec},
          {"RootStartSec", f.RootStartSec},
          {"ReserveSecStart", f.ReserveSecStart},
          {"Cluster0Start", f.Cluster0Start},
          {"firstFAT", f.firstFAT},
          {"secondFAT", f.secondFAT},
          {"MftStart", f.MftStart},
          {"MftMirrStart", f.MftMirrStart},
          {"SectorsPerMftRecord", f.SectorsPerMftRecord},
          {"SectorsPerIndexRecord", f.SectorsPerIndexRecord},
          {"ParamsFileSystemName", f.ParamsFileSystemName.Text()}};
}

int RunParams(CliContext& context, const ParamsOptions& options) {
  AppState& app = context.app;
  const Validation outcome = context.SelectAndValidate(options.drive, options.partition);
  if (outcome == Validation::kRefused) return kExitFailed;

  std::string method;
  if (outcome == Validation::kValidated) {
    PartitionParams& params = app.partition_params;
    // Validation in Basic mode arms the read guard, so the silent search behind a bare NTFS disk
    // never applies here.
    if (ComputePartitionParams(app.sectors, app.current_device_path, params, app.working_params)) {
      method = "boot sector";
    } else if (params.FileSystemName != "NTFS" &&
               RebuildFatParams(app.sectors, app.current_device_path, params, app.working_params, &context.ui)) {
      method = "rebuilt";
    }
    context.ui.FinishProgress();
    // The search drivers take the working copy into PartitionParams when a scan starts.
    if (!method.empty()) params.fs = app.working_params;
  }

  const auto fields = Fields(app.partition_params);
  if (context.options.json) {
    nlohmann::json values = nlohmann::json::object();
    for (const auto& [name, value] : fields) values[name] = value;
    CliContext::PrintJson({{"drive", app.current_device_path},
                           {"validated", outcome == Validation::kValidated},
                           {"method", method.empty() ? nlohmann::json() : nlohmann::json(method)},
                           {"params", values}});
  } else {
    int number = 1;
    for (const auto& [name, value] : fields) {
      std::cout << std::setw(2) << number++ << ". " << std::left << std::setw(22) << name << std::right << ' '
                << (value.is_string() ? value.get<std::string>() : value.dump()) << '\n';
    }
  }
  if (outcome == Validation::kUnrecognised)
    throw CliError("The file system of the selection is \"" + app.partition_params.FileSystemName +
                   "\": its values cannot be computed.");
  if (method.empty())
    throw CliError("No usable " + app.partition_params.FileSystemName +
                   " boot sector was found, and the values could not be rebuilt from the directories.");
  if (method == "rebuilt")
    context.ui.ShowMessage("The boot sector is unusable; the values were rebuilt from the FAT and the directories.",
                           kMessageCaption);
  return kExitDone;
}

}  // namespace

void AddParamsCommand(CLI::App& cli, CommandRun& chosen) {
  auto options = std::make_shared<ParamsOptions>();
  CLI::App* command = cli.add_subcommand("params", "Validate a drive or partition and show the partition parameters");
  command->add_option("--drive", options->drive, "disk:N, vol:E, or the path of an attached image")->required();
  command->add_option("--partition", options->partition, "The partition's number in the drive tree")
      ->check(CLI::Range(1, 27));
  command->callback([options, &chosen] { chosen = [options](CliContext& c) { return RunParams(c, *options); }; });
}

}  // namespace pellora::cli
