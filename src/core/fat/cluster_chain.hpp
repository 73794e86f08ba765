#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "fat/fat_volume.hpp"

namespace pellora {

// The clusters of a file or folder, first cluster first, followed through FAT 1. The first cluster
// is always taken; deleted files and lost folders, whose FAT entries are cleared, give one cluster.
// FAT16 goes on while the next entry lies in 2..0xFFFE, FAT32 while it lies in 2..0x0FFFFFFE. The
// walk ends on a cluster it has already taken, so a damaged FAT that loops cannot hang it.
struct ChainOptions {
  std::uint32_t fat_start = 0;        // first sector of the FAT to follow; 0: FAT 1
  std::size_t max_length = SIZE_MAX;  // stop once the chain holds this many clusters
};
std::vector<std::uint32_t> BuildClusterChain(const FatVolume& volume, std::uint32_t first_cluster,
                                             const ChainOptions& options = {});

}  // namespace pellora
