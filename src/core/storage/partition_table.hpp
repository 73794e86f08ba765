#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "storage/disk_partition_list.hpp"

namespace pellora {

class SectorAccess;
class ErrorReporter;

// One of the four entries of an MBR or EBR (16 bytes each from offset 446).
struct MbrEntry {
  std::uint8_t type = 0;
  std::uint32_t start_lba = 0;
  std::uint32_t sector_count = 0;
};
std::array<MbrEntry, 4> ParseMbrEntries(std::span<const std::byte> sector);

using Guid = std::array<std::byte, 16>;
// The 16 stored bytes of a GUID written as text (first three groups little-endian).
Guid ParseGuid(std::string_view text);
extern const Guid kLdmMetadataGuid;  // 5808c8aa-7e8f-42e0-85d2-e1e90434cfb3
extern const Guid kMsReservedGuid;   // e3c9e316-0b5c-4db8-817d-f92df00215ae
extern const Guid kLdmDataGuid;      // af9b60a0-1431-4f62-bc68-3311714a69ad

struct GptEntry {
  Guid type{};
  std::uint64_t first_lba = 0;
  std::uint64_t last_lba = 0;
};
// The 128 entries of sectors 2 to 33. The header is not consulted: cards put the array there.
std::vector<GptEntry> ReadGptEntries(SectorAccess& sectors, const std::string& path);

// Creates the tree item of a listed partition and returns its id (-1 when listed without a tree).
using PartitionItemAdder = std::function<int(const DiskPartition&)>;

// Walks the MBR, the EBR chain and (after a protective entry) the GPT of the disk behind path and
// lists every FAT16, FAT32 and NTFS partition in list. A partition that starts fewer than 24,576
// sectors before the disk's end ends the walk. Failures are reported with "Scanning for drive
// partition..." and "Reading gpt values...".
void ReadPartitionTable(SectorAccess& sectors, ErrorReporter& reporter, const std::string& path,
                        std::uint64_t disk_total_sectors, DiskPartitionList& list, const PartitionItemAdder& add_item);

// The GPT part of the walk on its own.
void ReadGpt(SectorAccess& sectors, ErrorReporter& reporter, const std::string& path, DiskPartitionList& list,
             const PartitionItemAdder& add_item);

// A dynamic disk holds an MBR partition of type 0x42 or a GPT partition of the LDM data type.
bool IsDynamicDisk(SectorAccess& sectors, const std::string& path);

}  // namespace pellora
