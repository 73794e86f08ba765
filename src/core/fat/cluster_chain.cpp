#include "fat/cluster_chain.hpp"

#include <array>
#include <unordered_set>

#include "common/byte_reader.hpp"

namespace pellora {

std::vector<std::uint32_t> BuildClusterChain(const FatVolume& volume, std::uint32_t first_cluster,
                                             const ChainOptions& options) {
  std::vector<std::uint32_t> chain;
  if (!volume.Fat16() && !volume.Fat32()) return chain;
  chain.push_back(first_cluster);
  const bool fat32 = volume.Fat32();
  const std::uint32_t entries_per_sector = fat32 ? 128 : 256;
  const std::uint32_t last_link = fat32 ? 0x0FFFFFFE : 0xFFFE;
  std::unordered_set<std::uint32_t> seen{first_cluster};

  std::array<std::byte, kSectorSize> fat_sector{};
  std::uint64_t loaded = UINT64_MAX;  // FAT sector held in fat_sector
  const std::uint32_t fat_start = options.fat_start != 0 ? options.fat_start : volume.params.firstFAT;
  std::uint32_t cluster = first_cluster;
  while (!volume.Cancelled() && chain.size() < options.max_length) {
    const std::uint32_t index = cluster / entries_per_sector;
    const std::uint32_t slot = cluster % entries_per_sector;
    // An index at or past the FAT's size would read FAT 2 (or beyond) as if it were FAT 1.
    if (fat_start == 0 || index >= volume.params.FatSectors) break;
    const std::uint64_t sector = std::uint64_t{fat_start} + index;
    if (sector != loaded) {
      if (!volume.ReadSector(sector, fat_sector)) break;
      loaded = sector;
    }
    const std::uint32_t next = fat32 ? Le32(fat_sector, slot * 4u) : Le16(fat_sector, slot * 2u);
    if (next < 2 || next > last_link || !seen.insert(next).second) break;
    chain.push_back(next);
    cluster = next;
  }
  return chain;
}

}  // namespace pellora
