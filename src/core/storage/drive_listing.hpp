#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "storage/disk_partition_list.hpp"
#include "storage/drive_sources.hpp"
#include "storage/drive_tree.hpp"

namespace pellora {

class SectorAccess;
class ErrorReporter;

// Geometry and path of one listed removable disk, for the lost-partition search.
struct smpparam {
  std::uint32_t cylinders = 0;
  std::uint32_t tracks_per_cylinder = 0;  // heads
  std::uint32_t sectors_per_track = 0;
  std::string device_path;
  int item = -1;  // the disk's tree item
  std::uint64_t total_sectors = 0;
};

// The drive tree of a mode window and the tables its listing fills.
struct DriveListing {
  explicit DriveListing(std::string mode_label = "Basic Search")
      : tree(mode_label), search_mode(std::move(mode_label)) {}

  DiskPartitionList& PartitionsOf(int disk_number) { return partitions[disk_number]; }
  const smpparam* Geometry(int disk_item) const;

  DriveTree tree;
  std::string search_mode;                      // "Basic Search" ...
  std::map<int, DiskPartitionList> partitions;  // DiskPartitionList per disk number
  std::vector<smpparam> disks;                  // one smpparam per listed disk
  std::map<int, std::string> disk_paths;        // the per-disk device path table
  std::vector<std::string> volume_list;         // "\\.\E:|%lld" with the volume's total sectors
  // The current drive: set when a drive or partition is shown (clamps EndSector and RangeEnd).
  int current_disk_number = 0;
  std::uint64_t current_total_sectors = 0;
  int first_partition_item = -1;  // the first listed partition of the last disk listed
  std::string diagnostics;        // "--- Disk No. %d ---" and volume extents, for support
};

// Fills "Physical Drives" with the removable disks among sources and their partitions.
void ListPhysicalDisks(DriveListing& listing, const std::vector<DiskFacts>& disks, SectorAccess& sectors,
                       ErrorReporter& reporter);
// Fills "Logical Drives" with the removable volumes, leaving out the excluded letter (0: none).
void ListLogicalDrives(DriveListing& listing, const std::vector<VolumeFacts>& volumes, SectorAccess& sectors,
                       char excluded_letter = 0);

// Kind 0: list the disks again (and the volumes when "Logical Drives" is shown). Kind 2: with the
// logical-drives box ticked, show "Logical Drives" and list the volumes.
void RefreshDrives(DriveListing& listing, int kind, bool logical_drives_ticked, const DriveSources& sources,
                   SectorAccess& sectors, ErrorReporter& reporter);

// The disk item's label: "Disk1 ( Removable Media -  14.84 GB )".
std::string DiskItemLabel(int disk_number, std::string_view media_type, std::string_view size_text);

}  // namespace pellora
