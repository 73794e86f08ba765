#include "app/search_selection.hpp"

#include <algorithm>

#include "storage/device_path.hpp"
#include "storage/source.hpp"

namespace pellora {

namespace {

SearchSelectionOutcome Refuse(std::string_view message) { return {std::nullopt, std::string(message)}; }

}  // namespace

SearchSelectionRequest SearchRequestFor(const DriveListing& listing, int item) {
  SearchSelectionRequest request;
  const DriveTree& tree = listing.tree;
  if (!tree.Valid(item)) return request;
  const DriveItem& drive = tree.Item(item);
  if (drive.kind == DriveItemKind::kPartition) {
    const DriveItem& disk = tree.Item(drive.parent);
    const auto found = listing.partitions.find(drive.disk_number);
    if (!disk.info || found == listing.partitions.end()) return request;
    const DiskPartition& partition = found->second.At(drive.partition_index);
    request.device_path = disk.info->device_path;
    request.range = SectorRangeFields{partition.start, std::min(partition.end, disk.info->total_sectors)};
    request.partition_type = partition.file_system;
  } else if (drive.info) {
    request.device_path = drive.info->device_path;
    request.range = SectorRangeFields{0, drive.info->total_sectors};
    if (drive.kind == DriveItemKind::kVolume) request.partition_type = drive.info->file_system;
  }
  return request;
}

SearchSelectionOutcome SelectSearchRange(const DeviceMap& devices, std::string_view search_type,
                                         const SearchSelectionRequest& request) {
  if (request.device_path.empty()) return Refuse(kSelectDriveText);
  if (request.range && !request.range->start) return Refuse(kEnterStartSectorText);
  if (request.range && request.range->end.value_or(0) <= *request.range->start) return Refuse(kEndNotAfterStartText);

  int error = 0;
  const std::unique_ptr<Source> device = devices.Open(request.device_path, &error);
  if (!device) return Refuse(kDriveUnavailableText);

  SearchSelection selection;
  selection.device_path = request.device_path;
  if (request.range) {
    selection.start_sector = *request.range->start;
    selection.end_sector = *request.range->end;
  } else {
    selection.end_sector = device->SizeBytes() / 512;
    if (selection.end_sector == 0) return Refuse(kEndNotAfterStartText);
  }

  auto& rows = selection.information;
  const auto add = [&rows](std::string_view label, std::string value) {
    rows.emplace_back(std::to_string(rows.size() + 1) + ". " + std::string(label) + " : ", std::move(value));
  };
  add("Search Type", std::string(search_type));
  const auto volume = ParseVolumePath(request.device_path);
  if (volume || !request.partition_type.empty()) add("Partition Type", request.partition_type);
  add("Start Sector", std::to_string(selection.start_sector));
  add("End Sector", std::to_string(selection.end_sector));
  if (volume) {
    add("Drive", std::string(1, *volume));
  } else {
    const auto disk = ParsePhysicalDrivePath(request.device_path);
    add("Drive", disk ? "Disk - " + std::to_string(*disk) : request.device_path);
  }
  return {std::move(selection), {}};
}

}  // namespace pellora
