// A FAT read from a damaged card may link anywhere, loop or point past its end; the chain walk
// must end and never take a cluster twice.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <unordered_set>
#include <vector>

#include "common/search_mode.hpp"
#include "fat/cluster_chain.hpp"
#include "fuzz_medium.hpp"
#include "storage/device_map.hpp"
#include "storage/read_guard.hpp"
#include "storage/sector_access.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 8) return 0;
  std::uint32_t first = 0;
  std::uint32_t fat_sectors = 0;
  std::memcpy(&first, data, 4);
  std::memcpy(&fat_sectors, data + 4, 4);
  auto bytes = std::make_shared<std::vector<std::byte>>(512 + size - 8);
  std::memcpy(bytes->data() + 512, data + 8, size - 8);
  pellora::fuzz::SilentUi ui;
  pellora::CurrentMode mode;
  pellora::ReadGuard guard(mode);
  pellora::DeviceMap devices;
  const std::shared_ptr<const std::vector<std::byte>> medium = bytes;
  devices.AddSource("\\\\.\\PhysicalDrive0", pellora::DeviceKind::kDisk,
                    [medium](int*) { return std::unique_ptr<pellora::Source>(new pellora::MemorySource(medium)); });
  pellora::SectorAccess sectors(devices, guard, ui);
  for (const char* fs : {"FAT16", "FAT32"}) {
    pellora::FatVolume volume;
    volume.sectors = &sectors;
    volume.device_path = "\\\\.\\PhysicalDrive0";
    volume.params.ParamsFileSystemName = fs;
    volume.params.firstFAT = 1;
    volume.params.FatSectors = fat_sectors;
    const auto chain = pellora::BuildClusterChain(volume, first);
    const std::unordered_set<std::uint32_t> distinct(chain.begin(), chain.end());
    if (distinct.size() != chain.size()) std::abort();
  }
  return 0;
}
