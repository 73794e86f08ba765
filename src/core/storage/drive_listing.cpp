#include "storage/drive_listing.hpp"

#include "common/guard.hpp"
#include "common/text.hpp"
#include "storage/bus_type.hpp"
#include "storage/device_path.hpp"
#include "storage/partition_table.hpp"
#include "storage/sector_access.hpp"
#include "storage/size_text.hpp"

namespace pellora {

namespace {

constexpr std::string_view kUnknownSize = "Unknown Size ";

std::string SizeOrUnknown(std::uint64_t bytes) { return bytes == 0 ? std::string(kUnknownSize) : SizeText(bytes); }

DriveInfo DiskInfo(const DiskFacts& facts, std::string_view media_type, const std::string& search_mode) {
  DriveInfo info;
  info.category = kPhysicalDrives;
  info.search_mode = search_mode;
  info.device_path = facts.device_path;
  info.total_sectors = facts.total_sectors;
  info.total_bytes = facts.total_sectors * 512;
  info.size_mib = info.total_bytes >> 20;
  info.size_text = SizeOrUnknown(info.total_bytes);
  info.free_space_text = std::string(kUnknownSize);
  info.disk_number = facts.disk_number;
  info.model = facts.Model();
  info.media_type = media_type;
  info.interface_type = BusTypeName(facts.bus_type);
  info.cylinders = facts.cylinders;
  info.heads = facts.tracks_per_cylinder;
  info.bytes_per_sector = facts.bytes_per_sector;
  info.sectors_per_track = facts.sectors_per_track;
  info.firmware_revision = facts.revision;
  info.disk_serial_number = facts.serial;
  info.system_name = facts.system_name;
  return info;
}

}  // namespace

const smpparam* DriveListing::Geometry(int disk_item) const {
  for (const smpparam& disk : disks)
    if (disk.item == disk_item) return &disk;
  return nullptr;
}

std::string DiskItemLabel(int disk_number, std::string_view media_type, std::string_view size_text) {
  return "Disk" + std::to_string(disk_number) + " ( " + std::string(media_type) + " - " + std::string(Trim(size_text)) +
         " )";
}

void ListPhysicalDisks(DriveListing& listing, const std::vector<DiskFacts>& disks, SectorAccess& sectors,
                       ErrorReporter& reporter) {
  DriveTree& tree = listing.tree;
  const int group = tree.EnsureGroup(kPhysicalDrives);
  for (int child : tree.Children(group)) tree.Remove(child);
  listing.partitions.clear();
  listing.disks.clear();
  listing.disk_paths.clear();
  listing.first_partition_item = -1;
  if (disks.empty()) listing.diagnostics += "Error: Can not Query Hard Disk Drives.\r\n";

  for (const DiskFacts& facts : disks) {
    reporter.Guarded("List info of all connected disk", "LD", "1E_A", [&] {
      listing.diagnostics += "--- Disk No. " + std::to_string(facts.disk_number + 1) + " ---\r\n";
      std::string media_type = MediaTypeText(facts.media_type, facts.bus_type);
      if (media_type.find("Removable media other than") != std::string::npos) media_type = "Removable Media";
      if (media_type.find("Removable") == std::string::npos) return;  // queried, never offered

      DriveInfo info = DiskInfo(facts, media_type, listing.search_mode);
      info.tree_label = DiskItemLabel(facts.disk_number, media_type, info.size_text);
      info.dynamic_disk = IsDynamicDisk(sectors, facts.device_path);
      const int item = tree.Add(group, DriveItemKind::kDisk, info.tree_label);
      tree.Item(item).info = std::move(info);
      tree.Item(item).disk_number = facts.disk_number;
      tree.Item(item).expanded = true;
      listing.disk_paths[facts.disk_number] = PhysicalDrivePath(facts.disk_number);
      listing.disks.push_back(
          {.cylinders = static_cast<std::uint32_t>(std::min<std::uint64_t>(facts.cylinders, UINT32_MAX)),
           .tracks_per_cylinder = facts.tracks_per_cylinder,
           .sectors_per_track = facts.sectors_per_track,
           .device_path = facts.device_path,
           .item = item,
           .total_sectors = facts.total_sectors});

      DiskPartitionList& list = listing.PartitionsOf(facts.disk_number);
      ReadPartitionTable(sectors, reporter, facts.device_path, facts.total_sectors, list,
                         [&](const DiskPartition& partition) {
                           const int child = tree.Add(item, DriveItemKind::kPartition,
                                                      PartitionItemLabel(partition.index + 1, partition.file_system));
                           tree.Item(child).disk_number = facts.disk_number;
                           tree.Item(child).partition_index = partition.index;
                           if (partition.index == 0) listing.first_partition_item = child;
                           return child;
                         });
    });
  }
}

void ListLogicalDrives(DriveListing& listing, const std::vector<VolumeFacts>& volumes, SectorAccess& sectors,
                       char excluded_letter) {
  DriveTree& tree = listing.tree;
  const int group = tree.EnsureGroup(kLogicalDrives);
  for (int child : tree.Children(group)) tree.Remove(child);
  listing.volume_list.clear();
  for (const VolumeFacts& volume : volumes) {
    const auto letter = ParseVolumePath(volume.device_path);
    if (!letter || (excluded_letter != 0 && *letter == excluded_letter)) continue;
    DriveInfo info;
    info.category = kLogicalDrives;
    info.search_mode = listing.search_mode;
    info.device_path = volume.device_path;
    info.total_bytes = volume.total_bytes;
    info.total_sectors = volume.total_bytes >> 9;
    info.size_mib = volume.total_bytes >> 20;
    info.file_system = volume.file_system.empty() ? "Unknown" : volume.file_system;
    info.volume_label = volume.label;
    info.serial_number = volume.serial;
    info.size_text = SizeOrUnknown(volume.total_bytes);
    info.free_space_text = volume.free_bytes ? SizeText(*volume.free_bytes) : std::string(kUnknownSize);
    info.system_name = volume.system_name;
    // Volume extents: where the volume lies on its disk, and whether that disk is dynamic.
    info.disk_number = volume.disk_number;
    info.first_sector = volume.first_sector;
    info.last_sector = volume.first_sector + volume.sector_count;
    listing.diagnostics += "DBR start sector: " + std::to_string(info.first_sector) +
                           "\r\nDBR End sector: " + std::to_string(info.last_sector) + "\r\n";
    if (volume.disk_number >= 0) info.dynamic_disk = IsDynamicDisk(sectors, PhysicalDrivePath(volume.disk_number));

    listing.volume_list.push_back(volume.device_path + "|" + std::to_string(info.total_sectors));
    info.tree_label =
        std::string(1, *letter) + ":\\ (" + info.size_text + " - " + info.volume_label + " - " + info.file_system + ")";
    const int item = tree.Add(group, DriveItemKind::kVolume, info.tree_label);
    tree.Item(item).disk_number = volume.disk_number;
    tree.Item(item).info = std::move(info);
  }
}

void RefreshDrives(DriveListing& listing, int kind, bool logical_drives_ticked, const DriveSources& sources,
                   SectorAccess& sectors, ErrorReporter& reporter) {
  if (kind == 0) {
    const bool logical_shown = listing.tree.FindGroup(kLogicalDrives).has_value();
    listing.tree.Clear();
    ListPhysicalDisks(listing, sources.disks, sectors, reporter);
    if (logical_shown) ListLogicalDrives(listing, sources.volumes, sectors);
  } else if (kind == 2 && logical_drives_ticked) {
    ListLogicalDrives(listing, sources.volumes, sectors);
  }
}

}  // namespace pellora
