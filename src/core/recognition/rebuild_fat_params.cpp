#include "recognition/rebuild_fat_params.hpp"

#include <algorithm>
#include <memory>
#include <optional>
#include <vector>

#include "common/byte_reader.hpp"
#include "common/progress.hpp"
#include "common/ui.hpp"
#include "storage/sector_access.hpp"
#include "storage/zeroed_reads.hpp"

namespace pellora {

namespace {

// Sectors read at a time; the result is the same as reading one sector after the other.
constexpr std::uint64_t kChunkSectors = 512;

bool IsMediaStart(std::span<const std::byte> sector) {
  return sector[0] == std::byte{0xF8} && sector[1] == std::byte{0xFF};
}

// A directory's first sector begins with its "." and ".." entries.
bool IsDirectoryStart(std::span<const std::byte> sector) {
  return sector[0] == std::byte{'.'} && sector[1] == std::byte{' '} && sector[32] == std::byte{'.'} &&
         sector[33] == std::byte{'.'} && sector[34] == std::byte{' '};
}

std::uint32_t DotCluster(std::span<const std::byte> sector) {
  return (std::uint32_t{Le16(sector, 20)} << 16) | Le16(sector, 26);
}

bool ClusterSizeAllowed(std::uint64_t size) { return size != 0 && size <= 128 && (size & (size - 1)) == 0; }

std::vector<std::byte> ReadChunk(Source& device, std::uint64_t sector, std::uint64_t count) {
  std::vector<std::byte> chunk(count * kSectorSize);
  ReadSectorsOrZeros(device, sector, chunk);
  return chunk;
}

struct Directory {
  std::uint64_t sector;
  std::uint32_t cluster;
};

}  // namespace

bool RebuildFatParams(SectorAccess& sectors, const std::string& path, const PartitionParams& params,
                      FileSystemParams& working, Ui* ui, std::stop_token stop) {
  const bool fat32 = params.FileSystemName == FileSystemKind::kFat32;
  if (!params.FileSystemName.Fat()) return false;
  const std::unique_ptr<Source> device = sectors.OpenDevice(path);
  if (!device) return false;
  const std::uint64_t start = static_cast<std::uint32_t>(params.StartSector);
  const std::uint64_t end = params.EndSector;

  // The reserved area ends where FAT 1 begins with its media bytes; the last match wins.
  const std::uint64_t first_probe = fat32 ? 30 : 0;
  const std::uint64_t probes = fat32 ? 30 : 10;
  std::uint32_t reserved = fat32 ? 32 : 1;
  const auto head = ReadChunk(*device, start + first_probe, probes);
  for (std::uint64_t i = 0; i < probes; ++i)
    if (IsMediaStart(std::span<const std::byte>(head).subspan(i * kSectorSize, kSectorSize)))
      reserved = static_cast<std::uint32_t>(first_probe + i);
  working.ReserveSecStart = reserved;
  working.RootStartSec = fat32 ? 2 : working.RootStartSec;
  working.RootSec = fat32 ? 0 : 32;

  ProgressBar progress(ui);
  progress.SetRange(start, end, kChunkSectors);
  if (ui != nullptr) ui->ShowSectorTotal(end, SectorTotalForm::kRebuilding);
  std::optional<Directory> first;
  for (std::uint64_t at = start; at < end; at += kChunkSectors) {
    if (stop.stop_requested()) return false;
    if (ui != nullptr) ui->ShowCurrentSector(at);
    progress.Advance(start, end, at, kChunkSectors);
    const std::uint64_t count = std::min(kChunkSectors, end - at);
    const auto chunk = ReadChunk(*device, at, count);
    for (std::uint64_t i = 0; i < count; ++i) {
      const auto sector = std::span<const std::byte>(chunk).subspan(i * kSectorSize, kSectorSize);
      if (!IsDirectoryStart(sector)) continue;
      const Directory found{at + i, DotCluster(sector)};
      if (!first) {
        if (found.cluster > 1 && found.cluster != 0xFFFFFFFF) first = found;
        continue;
      }
      if (found.cluster == 0xFFFFFFFF || found.cluster == first->cluster) continue;
      if (found.cluster >= found.sector || first->cluster >= first->sector) continue;
      const std::uint64_t distance = found.sector - first->sector;
      const std::uint32_t cluster_distance = found.cluster - first->cluster;
      if (distance % cluster_distance != 0) continue;
      const std::uint64_t size = distance / cluster_distance;
      if (!ClusterSizeAllowed(size)) continue;
      // Cluster 0 must lie at or after the disk's start for both, and at the same sector.
      if (std::uint64_t{first->cluster} * size > first->sector || std::uint64_t{found.cluster} * size > found.sector)
        continue;
      const std::uint64_t cluster0 = first->sector - std::uint64_t{first->cluster} * size;
      if (cluster0 != found.sector - std::uint64_t{found.cluster} * size) continue;
      const std::uint64_t cluster2 = cluster0 + 2 * size;
      const std::uint64_t fixed_area = start + reserved + (fat32 ? 0 : 32);
      if (cluster2 < fixed_area) continue;  // the FATs would have negative size
      const auto per_fat = static_cast<std::uint32_t>((cluster2 - fixed_area) / 2);
      working.SectorsPerCluster = static_cast<std::uint32_t>(size);
      working.Cluster0Start = static_cast<std::uint32_t>(cluster0);
      working.FatSectors = per_fat;
      working.firstFAT = static_cast<std::uint32_t>(start + reserved);
      working.secondFAT = working.firstFAT + per_fat;
      if (!fat32) working.RootStartSec = working.secondFAT + per_fat;
      working.ParamsFileSystemName = params.FileSystemName;
      progress.SetToEnd();
      return true;
    }
  }
  return false;
}

}  // namespace pellora
