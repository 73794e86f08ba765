#include "fat/directory_reader.hpp"

#include <array>

#include "fat/cluster_chain.hpp"

namespace pellora {

namespace {

// A folder holds at most 65,536 entries (2 MiB). A chain that runs on past that, or into clusters
// beyond the medium, is a damaged FAT and not a bigger folder: following it would read the whole FAT
// and keep a list of every sector of the volume.
constexpr std::size_t kMaxFolderSectors = 65536 * kDirectoryEntrySize / kSectorSize;

}  // namespace

std::vector<std::uint64_t> DirectorySectors(const FatVolume& volume, std::uint64_t self) {
  std::vector<std::uint64_t> sectors;
  const FileSystemParams& p = volume.params;
  if (self == 0 && volume.Fat16()) {
    for (std::uint32_t i = 0; i < p.RootSec; ++i) sectors.push_back(std::uint64_t{p.RootStartSec} + i);
    return sectors;
  }
  const std::uint64_t first = self == 0 ? p.RootStartSec : self;
  if (first > UINT32_MAX) return sectors;
  if (p.SectorsPerCluster == 0) return sectors;
  const std::size_t max_clusters = (kMaxFolderSectors + p.SectorsPerCluster - 1) / p.SectorsPerCluster;
  const std::uint64_t limit_sector = volume.read_limit_bytes / kSectorSize;
  for (std::uint32_t cluster :
       BuildClusterChain(volume, static_cast<std::uint32_t>(first), {.max_length = max_clusters})) {
    if (limit_sector != 0 && p.ClusterStart(cluster) + p.SectorsPerCluster > limit_sector) break;
    for (std::uint32_t i = 0; i < p.SectorsPerCluster && sectors.size() < kMaxFolderSectors; ++i)
      sectors.push_back(p.ClusterStart(cluster) + i);
  }
  return sectors;
}

bool WalkDirectorySectors(const FatVolume& volume, const std::vector<std::uint64_t>& sectors, const DirectoryWalk& walk,
                          const EntryVisitor& visit, std::size_t first, std::size_t count) {
  std::array<std::byte, kSectorSize> buffer{};
  std::size_t current = first;
  // The sector before one of the directory is the one before it in the directory's own list.
  const PreviousSectorReader previous = [&](std::uint64_t sector,
                                            std::span<std::byte> out) -> std::optional<std::uint64_t> {
    for (std::size_t j = current + 1; j-- > 1;) {
      if (sectors[j] != sector) continue;
      if (!volume.ReadSector(sectors[j - 1], out)) return std::nullopt;
      return sectors[j - 1];
    }
    return std::nullopt;
  };
  const std::size_t last = first + std::min(count, sectors.size() - std::min(first, sectors.size()));
  for (; current < last; ++current) {
    const std::uint64_t sector = sectors[current];
    if (volume.Cancelled()) return false;
    if (!volume.ReadSector(sector, buffer)) {
      if (walk.failed_read_ends) return false;
      continue;
    }
    for (std::size_t index = 0; index < kEntriesPerSector; ++index) {
      const DirectoryEntry entry = ParseDirectoryEntry(buffer, index, sector, volume.Fat32(), walk.skip_folders,
                                                       walk.mode, volume.read_limit_bytes, previous);
      if (entry.end_of_directory) {
        if (walk.end_ends_folder) return false;
        break;
      }
      if (entry.accepted && !visit(entry, sector)) return false;
    }
  }
  return true;
}

bool WalkDirectory(const FatVolume& volume, std::uint64_t self, const DirectoryWalk& walk, const EntryVisitor& visit) {
  return WalkDirectorySectors(volume, DirectorySectors(volume, self), walk, visit);
}

}  // namespace pellora
