// Hostile boot sectors met by the Deep Search raw scan: the row builder, the geometry a row gives
// and Phase 1 (directories given to boot sectors) must never crash, and a row is always FAT16 or
// FAT32 with a FAT that begins where its reserved sectors end.

#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

#include "fat/directory_assignment.hpp"
#include "fat/found_boot_sector.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::span<const std::byte> input(reinterpret_cast<const std::byte*>(data), size);
  std::vector<pellora::FoundBootSector> boots;
  std::vector<pellora::FoundDirectory> directories;
  // The input is a run of sectors; each is tried as a boot sector and as a directory start.
  for (std::size_t at = 0; at < size; at += 512) {
    const auto sector = input.subspan(at, std::min<std::size_t>(512, size - at));
    const std::uint64_t number = at / 512 + (size > 0 ? data[0] : 0) * 1000;
    if (auto boot = pellora::ReadFoundBootSector(sector, number)) {
      if (boot->file_system != "FAT16" && boot->file_system != "FAT32") std::abort();
      if (boot->first_fat != number + boot->reserved_sectors) std::abort();
      (void)pellora::FoundPartition{*boot, boot->end_sector, false}.Params();
      boots.push_back(*boot);
    }
    if (auto directory = pellora::ReadFoundDirectory(sector, number)) directories.push_back(*directory);
  }
  std::vector<pellora::FoundPartition> partitions;
  pellora::AssignToBootSectors(boots, directories, partitions, nullptr);
  if (partitions.size() > boots.size()) std::abort();
  for (const pellora::FoundDirectory& d : directories) {
    if (d.partition == pellora::kUnassignedDirectory) continue;
    bool owned = false;
    for (const pellora::FoundPartition& p : partitions) owned = owned || p.boot.cluster0_start == d.partition;
    if (!owned) std::abort();
  }
  return 0;
}
