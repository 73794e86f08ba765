#pragma once

#include <cstdint>
#include <string>

#include "recognition/file_system_kind.hpp"

namespace pellora {

// What the FAT and NTFS engines read of the current partition (fields 10 to 22 of
// PartitionParams). Computed from the boot sector into a working copy; the search drivers copy it
// into PartitionParams when a scan starts and back when a recovery log is loaded.
struct FileSystemParams {
  std::uint32_t FatSectors = 0;         // sectors per FAT (0 for NTFS)
  std::uint32_t SectorsPerCluster = 0;  // sectors per cluster
  std::uint32_t RootSec = 0;            // FAT16: sectors of the fixed root directory; FAT32: 0
  std::uint32_t RootStartSec = 0;       // FAT16: first root directory sector; FAT32: root cluster
  std::uint32_t ReserveSecStart = 0;    // reserved sectors before FAT 1
  std::uint64_t Cluster0Start = 0;      // cluster n starts at Cluster0Start + n * SectorsPerCluster
  std::uint32_t firstFAT = 0;           // first sector of FAT 1
  std::uint32_t secondFAT = 0;          // first sector of FAT 2
  std::uint64_t MftStart = 0;           // NTFS: first sector of $MFT
  std::uint64_t MftMirrStart = 0;       // NTFS: first sector of $MFTMirr
  std::uint32_t SectorsPerMftRecord = 0;
  std::uint32_t SectorsPerIndexRecord = 0;
  FileSystemKind ParamsFileSystemName;  // the file system these values were computed for

  // First sector of cluster n (64-bit, no wrap-around for any 32-bit cluster number).
  std::uint64_t ClusterStart(std::uint64_t cluster) const { return Cluster0Start + cluster * SectorsPerCluster; }
  bool operator==(const FileSystemParams&) const = default;
};

// The current partition: where it lies, how it was chosen and its file-system geometry. Recovery
// logs store these 22 values in exactly this order.
struct PartitionParams {
  std::uint16_t DiskNumber = 0;      // 1: N of "\\.\PhysicalDriveN"
  std::uint32_t ParamsFlag = 0;      // 2: 0 when validated; stored and restored as is
  FileSystemKind FileSystemName;     // 3: shown and stored as "FAT16", "FAT32", "NTFS" or "Unknown"
  std::string SearchMode;            // 4: label of the validating mode, "Basic Search" ...
  std::uint64_t StartSector = 0;     // 5: first sector on the device being read
  std::uint64_t EndSector = 0;       // 6: min(partition end, disk total sectors)
  std::uint64_t RangeStart = 0;      // 7: search range shown to the user
  std::uint64_t RangeEnd = 0;        // 8
  std::uint64_t ReadLimitBytes = 0;  // 9: reads starting beyond this byte offset are refused
  FileSystemParams fs;               // 10..22

  bool operator==(const PartitionParams&) const = default;
};

}  // namespace pellora
