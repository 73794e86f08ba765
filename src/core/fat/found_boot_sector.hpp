#pragma once

#include <cstdint>
#include <optional>
#include <span>

#include "recognition/file_system_kind.hpp"

namespace pellora {

// A FAT boot sector met by a raw scan, with the geometry it declares. Sector numbers are absolute.
struct FoundBootSector {
  std::uint64_t sector = 0;               // "Sector"
  std::uint32_t sectors_per_fat = 0;      // "SPF": BPB_FATSz16 (FAT16) or BPB_FATSz32 (FAT32)
  std::uint32_t sectors_per_cluster = 0;  // "SPC"
  std::uint32_t root_sectors = 0;         // "Root Sectors": root entries / 16 (FAT16); 0 (FAT32)
  std::uint64_t root_start = 0;           // "Root Start": first root sector (FAT16); root cluster (FAT32)
  std::uint32_t reserved_sectors = 0;     // "Reserve Sectors"
  std::uint64_t cluster0_start = 0;       // "Cluster0Start" (64-bit, wraps as the fields make it)
  std::uint64_t first_fat = 0;            // "firstFAT"
  std::uint64_t second_fat = 0;           // "secondFAT"
  std::uint64_t end_sector = 0;           // "TotalSectors": boot + total sectors
  FileSystemKind file_system;             // "PartType": FAT16 or FAT32
};

// A FAT32 or FAT16 boot sector by its signature and the type text of its extended BPB; its fields
// are taken as they are, however inconsistent (such a row simply owns no directory later).
// The sector must hold 512 bytes; anything else is no boot sector.
std::optional<FoundBootSector> ReadFoundBootSector(std::span<const std::byte> sector_bytes, std::uint64_t sector);

}  // namespace pellora
