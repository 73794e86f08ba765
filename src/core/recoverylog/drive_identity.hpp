#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "common/search_mode.hpp"
#include "storage/drive_info.hpp"
#include "storage/drive_listing.hpp"

namespace pellora {

// The drive kinds a log names the scanned item by.
inline constexpr std::string_view kLogicalDriveKind = "Logical";        // a logical volume
inline constexpr std::string_view kRecognisedDriveKind = "Recognised";  // found inside a volume
inline constexpr std::string_view kPhysicalDriveKind = "Physical";      // a whole disk
inline constexpr std::string_view kPartitionDriveKind = "Partition";    // a partition of a disk

// How a log tells which drive it was made of: a volume by its path and size, a disk by its identity.
inline constexpr std::string_view kVolumeIdentity = "LOG";
inline constexpr std::string_view kDiskIdentity = "PHY";

// The drive a scan read, as a log stores it.
struct ScannedDrive {
  std::string kind;
  std::string description;
  std::string volume_path;    // a volume: "\\.\E:"
  std::string disk_identity;  // the disk the item lies on
  std::uint16_t disk_number = 0;
};

// The selected item of the drive tree.
ScannedDrive ScannedDriveOf(const DriveListing& listing);

// Whether a log of this drive names it by its volume (LOG) or by its disk (PHY). The physical-scan
// flag is set when a logical drive was read through its disk.
bool NamesVolume(SearchMode mode, std::string_view drive_kind, bool physical_scan = false);

// A disk as logs know it: four values joined by "||", the disk number last (model, serial or bus,
// size in bytes, number). Stable while the same medium stays in the same place.
std::string DiskIdentity(const DriveInfo& disk, int disk_number);

// The drives present now, to find the one a log was made of.
struct PresentDisk {
  std::string identity;
  int number = 0;
  std::string device_path;
};
struct PresentVolume {
  std::string key;  // path + "|" + total sectors
  std::string device_path;
};
struct PresentDrives {
  std::vector<PresentDisk> disks;
  std::vector<PresentVolume> volumes;
};
PresentDrives PresentDrivesOf(const DriveListing& listing);

}  // namespace pellora
