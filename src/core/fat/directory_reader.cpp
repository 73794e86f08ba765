#include "fat/directory_reader.hpp"

#include <array>

#include "fat/cluster_chain.hpp"

namespace pellora {

std::vector<std::uint64_t> DirectorySectors(const FatVolume& volume, std::uint64_t self) {
  std::vector<std::uint64_t> sectors;
  const FileSystemParams& p = volume.params;
  if (self == 0 && volume.Fat16()) {
    for (std::uint32_t i = 0; i < p.RootSec; ++i) sectors.push_back(std::uint64_t{p.RootStartSec} + i);
    return sectors;
  }
  const std::uint64_t first = self == 0 ? p.RootStartSec : self;
  if (first > UINT32_MAX) return sectors;
  for (std::uint32_t cluster : BuildClusterChain(volume, static_cast<std::uint32_t>(first)))
    for (std::uint32_t i = 0; i < p.SectorsPerCluster; ++i) sectors.push_back(p.ClusterStart(cluster) + i);
  return sectors;
}

bool WalkDirectorySectors(const FatVolume& volume, const std::vector<std::uint64_t>& sectors, const DirectoryWalk& walk,
                          const EntryVisitor& visit) {
  std::array<std::byte, kSectorSize> buffer{};
  const PreviousSectorReader previous = [&volume](std::uint64_t sector, std::span<std::byte> out) {
    return volume.ReadSector(sector, out);
  };
  for (std::uint64_t sector : sectors) {
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
