#include "storage/drive_details.hpp"

#include "storage/drive_listing.hpp"
#include "storage/size_text.hpp"

namespace pellora {

std::vector<DetailRow> DiskDetailRows(const DriveInfo& disk) {
  return {{"1. Model :", disk.model},
          {"2. MediaType :", disk.media_type},
          {"3. Interface Type :", disk.interface_type},
          {"4. Capacity(size) :", disk.size_text},
          {"5. Cylinders :", std::to_string(disk.cylinders)},
          {"6. Heads :", std::to_string(disk.heads)},
          {"7. Sectors :", std::to_string(disk.total_sectors)},
          {"8. Bytes per Sector :", std::to_string(disk.bytes_per_sector)},
          {"9. Sector per Track :", std::to_string(disk.sectors_per_track)},
          {"10. Firmware Revision ID :", disk.firmware_revision},
          {"11. Serial Number :", disk.disk_serial_number},
          {"12. System Name :", disk.system_name},
          {"13. Physical Device ID :", disk.device_path}};
}

std::vector<DetailRow> VolumeDetailRows(const DriveInfo& volume) {
  const std::string root = volume.device_path.size() > 4 ? volume.device_path.substr(4) + "\\" : volume.device_path;
  return {{"1. Start Sector :", std::to_string(volume.first_sector)},
          {"2. End Sector : ", std::to_string(volume.last_sector)},
          {"3. Partition Type : ", volume.file_system},
          {"4. Volume : ", root},
          {"5. Label : ", volume.volume_label},
          {"6. Size : ", volume.size_text},
          {"7. Free Space : ", volume.free_space_text},
          {"8. Search Mode : ", volume.search_mode},
          {"9. Serial Number : ", volume.serial_number}};
}

std::vector<DetailRow> PartitionDetailRows(int disk_number, int partition_number, std::string_view file_system,
                                           std::string_view search_mode, std::uint64_t start, std::uint64_t end) {
  return {{"1. Disk Number : ", std::to_string(disk_number)},
          {"2. Partition Number : ", std::to_string(partition_number)},
          {"3. Partition Type : ", std::string(file_system)},
          {"4. Search Mode : ", std::string(search_mode)},
          {"5. Start Sector : ", std::to_string(start)},
          {"6. End Sector : ", std::to_string(end)},
          {"7. Size : ", SizeText(end > start ? (end - start) * 512 : 0)}};
}

void SelectDriveItem(DriveListing& listing, int item) {
  DriveTree& tree = listing.tree;
  if (!tree.Valid(item)) return;
  tree.selected = item;
  tree.details.clear();
  tree.details_notice.clear();
  const DriveItem& selected = tree.Item(item);
  switch (selected.kind) {
    case DriveItemKind::kDisk:
      tree.details = DiskDetailRows(*selected.info);
      listing.current_disk_number = selected.disk_number;
      listing.current_total_sectors = selected.info->total_sectors;
      break;
    case DriveItemKind::kVolume:
      tree.details = VolumeDetailRows(*selected.info);
      if (selected.disk_number >= 0) listing.current_disk_number = selected.disk_number;
      listing.current_total_sectors = selected.info->total_sectors;
      break;
    case DriveItemKind::kPartition: {
      const DriveItem& disk = tree.Item(selected.parent);
      const DiskPartition& partition = listing.PartitionsOf(selected.disk_number).At(selected.partition_index);
      tree.details = PartitionDetailRows(selected.disk_number, partition.index + 1, partition.file_system,
                                         listing.search_mode, partition.start, partition.end);
      listing.current_disk_number = selected.disk_number;
      if (disk.info) listing.current_total_sectors = disk.info->total_sectors;
      break;
    }
    case DriveItemKind::kTop:
    case DriveItemKind::kGroup:
      break;
  }
}

}  // namespace pellora
