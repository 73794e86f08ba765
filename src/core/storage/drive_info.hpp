#pragma once

#include <cstdint>
#include <string>

namespace pellora {

inline constexpr std::string_view kPhysicalDrives = "Physical Drives";
inline constexpr std::string_view kLogicalDrives = "Logical Drives";

// The record bound to every drive item of a mode window's drive tree.
struct DriveInfo {
  std::string category;     // "Physical Drives" or "Logical Drives"
  std::string search_mode;  // label of the mode whose window listed it: "Basic Search" ...
  std::string device_path;  // "\\.\PhysicalDrive%d" or "\\.\E:"
  std::uint64_t total_sectors = 0;
  std::string file_system = "Unknown";
  std::string volume_label;
  std::string serial_number;
  std::string size_text;        // SizeText, or "Unknown Size " when the size is unknown
  std::string free_space_text;  // SizeText, or "Unknown Size "
  std::uint64_t total_bytes = 0;
  std::uint64_t size_mib = 0;  // total_bytes >> 20

  // A volume: whether its disk is a dynamic disk, the disk it lies on and its sectors there.
  bool dynamic_disk = false;
  int disk_number = -1;
  std::uint64_t first_sector = 0;
  std::uint64_t last_sector = 0;  // first + length: the first sector after the volume

  // A disk: the values of its thirteen details rows, in label order.
  std::string model;
  std::string media_type;
  std::string interface_type;
  std::uint64_t cylinders = 0;
  std::uint32_t heads = 0;
  std::uint32_t bytes_per_sector = 512;
  std::uint32_t sectors_per_track = 0;
  std::string firmware_revision;
  std::string disk_serial_number;
  std::string system_name;
  std::string tree_label;
};

}  // namespace pellora
