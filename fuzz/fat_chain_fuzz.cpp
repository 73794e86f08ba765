// A FAT read from a damaged card may link anywhere, loop or point past its end; the chain walk
// must end and never take a cluster twice.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <unordered_set>
#include <vector>

#include "fat/cluster_chain.hpp"
#include "fuzz_medium.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 8) return 0;
  std::uint32_t first = 0;
  std::uint32_t fat_sectors = 0;
  std::memcpy(&first, data, 4);
  std::memcpy(&fat_sectors, data + 4, 4);
  // The FAT region starts at sector 1 of the medium; sector 0 stays blank.
  std::vector<std::uint8_t> medium_bytes(512 + size - 8);
  std::memcpy(medium_bytes.data() + 512, data + 8, size - 8);
  pellora::fuzz::FuzzMedium medium(medium_bytes.data(), medium_bytes.size());
  for (const char* fs : {"FAT16", "FAT32"}) {
    pellora::FatVolume volume;
    volume.sectors = &medium.sectors;
    volume.device_path = medium.path;
    volume.params.ParamsFileSystemName = fs;
    volume.params.firstFAT = 1;
    volume.params.FatSectors = fat_sectors;
    const auto chain = pellora::BuildClusterChain(volume, first);
    const std::unordered_set<std::uint32_t> distinct(chain.begin(), chain.end());
    if (distinct.size() != chain.size()) std::abort();
  }
  return 0;
}
