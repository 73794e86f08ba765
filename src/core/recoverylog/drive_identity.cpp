#include "recoverylog/drive_identity.hpp"

namespace pellora {

namespace {

const DriveItem* DiskOf(const DriveTree& tree, int item) {
  while (tree.Valid(item)) {
    const DriveItem& at = tree.Item(item);
    if (at.kind == DriveItemKind::kDisk) return &at;
    item = at.parent;
  }
  return nullptr;
}

}  // namespace

ScannedDrive ScannedDriveOf(const DriveListing& listing) {
  ScannedDrive drive;
  const DriveTree& tree = listing.tree;
  if (!tree.selected || !tree.Valid(*tree.selected)) return drive;
  const DriveItem& item = tree.Item(*tree.selected);
  switch (item.kind) {
    case DriveItemKind::kVolume:
      drive.kind = kLogicalDriveKind;
      break;
    case DriveItemKind::kPartition:
      drive.kind = item.label.starts_with(kRecognisedDriveKind) ? kRecognisedDriveKind : kPartitionDriveKind;
      break;
    default:
      drive.kind = kPhysicalDriveKind;
      break;
  }
  if (item.kind == DriveItemKind::kVolume && item.info) {
    drive.volume_path = item.info->device_path;
    drive.description = item.info->tree_label;
    return drive;
  }
  if (const DriveItem* disk = DiskOf(tree, *tree.selected); disk != nullptr && disk->info) {
    drive.description = disk->info->model;
    drive.disk_identity = DiskIdentity(*disk->info, disk->disk_number);
    drive.disk_number = static_cast<std::uint16_t>(std::max(disk->disk_number, 0));
  }
  return drive;
}

bool NamesVolume(SearchMode mode, std::string_view drive_kind, bool physical_scan) {
  if (physical_scan) return false;
  if (drive_kind == kLogicalDriveKind) return true;
  return mode == SearchMode::kDeep && drive_kind == kRecognisedDriveKind;
}

std::string DiskIdentity(const DriveInfo& disk, int disk_number) {
  const std::string& second = disk.disk_serial_number.empty() ? disk.interface_type : disk.disk_serial_number;
  return disk.model + "||" + second + "||" + std::to_string(disk.total_bytes) + "||" + std::to_string(disk_number);
}

PresentDrives PresentDrivesOf(const DriveListing& listing) {
  PresentDrives present;
  const DriveTree& tree = listing.tree;
  for (int group : tree.Children(tree.Top())) {
    for (int id : tree.Children(group)) {
      const DriveItem& item = tree.Item(id);
      if (!item.info) continue;
      if (item.kind == DriveItemKind::kDisk)
        present.disks.push_back({DiskIdentity(*item.info, item.disk_number), item.disk_number, item.info->device_path});
      if (item.kind == DriveItemKind::kVolume)
        present.volumes.push_back(
            {item.info->device_path + "|" + std::to_string(item.info->total_sectors), item.info->device_path});
    }
  }
  return present;
}

}  // namespace pellora
