#include "fat/fat_location.hpp"

#include <array>

#include "common/progress.hpp"
#include "storage/sector_access.hpp"

namespace pellora {

namespace {

constexpr std::uint64_t kFirstSearchedSector = 63;

bool IsFatStart(std::span<const std::byte> sector) {
  return sector[0] == std::byte{0xF8} && sector[1] == std::byte{0xFF} && sector[2] == std::byte{0xFF};
}

}  // namespace

void LocateFats(Source& device, FoundPartition& partition, ProgressBar* progress, std::stop_token stop) {
  FoundBootSector& boot = partition.boot;
  partition.fat_searched = true;
  const std::uint64_t cluster0 = boot.cluster0_start;
  const std::uint64_t window = boot.file_system == "FAT32" ? 30000 : 550;
  std::uint64_t start = cluster0 > window ? cluster0 - window : kFirstSearchedSector;
  if (start == 0) start = kFirstSearchedSector;
  if (progress != nullptr) progress->SetRange(start, cluster0, 1);
  std::array<std::byte, kSectorSize> buffer{};
  int found = 0;
  for (std::uint64_t sector = start; sector < cluster0 && found < 2 && !stop.stop_requested(); ++sector) {
    if (progress != nullptr) progress->Advance(start, cluster0, sector, 1);
    const ReadOutcome read = device.ReadAt(sector * kSectorSize, buffer);
    if (!read.ok || read.bytes < kSectorSize || !IsFatStart(buffer)) continue;
    if (++found == 1) {
      boot.first_fat = sector;
    } else {
      boot.second_fat = sector;
      if (boot.sectors_per_fat == 0 && sector - boot.first_fat <= UINT32_MAX)
        boot.sectors_per_fat = static_cast<std::uint32_t>(sector - boot.first_fat);
    }
  }
}

}  // namespace pellora
