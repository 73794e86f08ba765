// pellora-cli drives: the drive tree a search window shows, with the details of every drive.

#include <CLI/CLI.hpp>

#include <iostream>
#include <memory>

#include "cli_context.hpp"
#include "storage/drive_details.hpp"
#include "terminal_text.hpp"

namespace pellora::cli {

namespace {

nlohmann::json DetailsJson(const std::vector<DetailRow>& rows) {
  nlohmann::json details = nlohmann::json::object();
  for (const DetailRow& row : rows) details[row.label] = row.value;
  return details;
}

void PrintDetails(const std::vector<DetailRow>& rows, std::string_view indent) {
  for (const DetailRow& row : rows)
    std::cout << indent << row.label << (row.label.ends_with(' ') ? "" : " ") << TerminalText(row.value) << '\n';
}

int RunDrives(CliContext& context) {
  DriveListing& listing = context.ListDrives();
  DriveTree& tree = listing.tree;
  nlohmann::json physical = nlohmann::json::array();
  nlohmann::json logical = nlohmann::json::array();
  const bool json = context.options.json;

  for (const std::string_view group_label : {kPhysicalDrives, kLogicalDrives}) {
    const auto group = tree.FindGroup(group_label);
    if (!json) std::cout << group_label << '\n';
    if (!group) continue;
    for (const int item : tree.Children(*group)) {
      SelectDriveItem(listing, item);
      const DriveItem& drive = tree.Item(item);
      const DriveInfo& info = *drive.info;
      if (!json) {
        std::cout << "  " << TerminalText(drive.label) << "  " << info.device_path << '\n';
        PrintDetails(tree.details, "      ");
      }
      if (drive.kind == DriveItemKind::kVolume) {
        logical.push_back({{"path", info.device_path},
                           {"label", drive.label},
                           {"file_system", info.file_system},
                           {"total_sectors", info.total_sectors},
                           {"details", DetailsJson(tree.details)}});
        continue;
      }
      nlohmann::json partitions = nlohmann::json::array();
      const nlohmann::json details = DetailsJson(tree.details);
      for (const int child : tree.Children(item)) {
        const DriveItem& partition_item = tree.Item(child);
        const DiskPartition& partition = listing.PartitionsOf(drive.disk_number).At(partition_item.partition_index);
        if (json) {
          partitions.push_back({{"number", partition.index + 1},
                                {"label", partition_item.label},
                                {"file_system", partition.file_system},
                                {"start_sector", partition.start},
                                {"end_sector", partition.end}});
        } else {
          std::cout << "    " << TerminalText(partition_item.label) << "  start " << partition.start << "  end "
                    << partition.end << '\n';
        }
      }
      physical.push_back({{"path", info.device_path},
                          {"disk_number", drive.disk_number},
                          {"label", drive.label},
                          {"total_sectors", info.total_sectors},
                          {"details", details},
                          {"partitions", partitions}});
    }
  }
  if (json) CliContext::PrintJson({{"physical_drives", physical}, {"logical_drives", logical}});
  return kExitDone;
}

}  // namespace

void AddDrivesCommand(CLI::App& cli, CommandRun& chosen) {
  CLI::App* command = cli.add_subcommand("drives", "List the removable disks and volumes with their partitions");
  command->callback([&chosen] { chosen = [](CliContext& c) { return RunDrives(c); }; });
}

}  // namespace pellora::cli
