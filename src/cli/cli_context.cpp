#include "cli_context.hpp"

#include <iostream>

#include "app/load_drives.hpp"
#include "app/modes.hpp"
#include "storage/drive_details.hpp"

namespace pellora::cli {

std::string CliContext::ResolveDrive(std::string_view name) const {
  if (auto path = app.devices.ResolveName(name)) return *path;
  throw CliError("No drive answers to the name \"" + std::string(name) +
                 "\". Name a drive as disk:N, vol:E or by the path of an image attached with --image or "
                 "--volume-image.");
}

void CliContext::PrintJson(const nlohmann::json& document) { std::cout << document.dump(2) << '\n'; }

DriveListing& CliContext::ListDrives(SearchMode mode) {
  StartMode(app, mode);
  return LoadDrives(app, mode, !options.no_system_drives);
}

int CliContext::FindItem(std::string_view drive, std::optional<int> partition) {
  const std::string path = ResolveDrive(drive);
  const DriveTree& tree = app.drive_listing.tree;
  const auto item = tree.FindDrive(path);
  if (!item) throw CliError(path + " is not listed: only removable disks and volumes are offered for recovery.");
  if (!partition) return *item;
  if (tree.Item(*item).kind != DriveItemKind::kDisk)
    throw CliError("--partition needs a disk, and " + path + " is a volume.");
  const auto child = tree.FindPartition(*item, *partition);
  if (!child) throw CliError(path + " has no item \"Partition - " + std::to_string(*partition) + "\".");
  return *child;
}

Validation CliContext::SelectAndValidate(std::string_view drive, std::optional<int> partition, SearchMode mode,
                                         std::optional<int> file_system_choice) {
  DriveListing& listing = ListDrives(mode);
  SelectDriveItem(listing, FindItem(drive, partition));
  ValidationContext validation{.listing = listing,
                               .devices = app.devices,
                               .guard = app.read_guard,
                               .ui = app.ui,
                               .params = app.partition_params,
                               .current_device_path = app.current_device_path,
                               .mode = mode,
                               .clear_search_state = {},
                               .file_system_choice = file_system_choice};
  return ValidatePartition(validation);
}

}  // namespace pellora::cli
