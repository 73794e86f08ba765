#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

namespace pellora {

// What the machine (or an attached image) tells about one physical disk.
struct DiskFacts {
  int disk_number = 0;
  std::string device_path;  // "\\.\PhysicalDrive%d"
  std::string system_name;  // the block device node or the image file
  int media_type = 0;       // kRemovableMedia, kFixedMedia, or 0 when unknown
  int bus_type = 0;         // BusType
  std::uint64_t cylinders = 0;
  std::uint32_t tracks_per_cylinder = 0;  // heads
  std::uint32_t sectors_per_track = 0;
  std::uint32_t bytes_per_sector = 512;
  // The medium's real size. Geometry rounds down to whole cylinders; the tail of the last
  // cylinder holds data too, so sizes and ranges come from here.
  std::uint64_t total_sectors = 0;
  std::string vendor;
  std::string product;
  std::string revision;
  std::string serial;

  std::string Model() const;
};

// What the machine (or an attached volume image) tells about one logical volume.
struct VolumeFacts {
  std::string device_path;  // "\\.\E:"
  std::string system_name;  // the partition's block device node or the image file
  std::string file_system = "Unknown";
  std::string label;
  std::string serial;
  std::uint64_t total_bytes = 0;
  std::optional<std::uint64_t> free_bytes;  // known while the file system is mounted
  // Where the volume lies: its disk (-1 for a volume image) and its sectors on that disk.
  int disk_number = -1;
  std::uint64_t first_sector = 0;
  std::uint64_t sector_count = 0;
};

// An attached disk image: a removable disk on a file-backed virtual bus with 255 heads and 63
// sectors per track; cylinders follow from the size.
DiskFacts ImageDiskFacts(int disk_number, std::string device_path, const std::filesystem::path& file,
                         std::uint64_t size_bytes);

// The name a person knows a file system by: "FAT16", "FAT32", "NTFS", "exFAT" ...; "Unknown"
// when there is none. type and version as libblkid and udev report them (ID_FS_TYPE, ID_FS_VERSION).
std::string FileSystemDisplayName(std::string_view type, std::string_view version);

}  // namespace pellora
