#pragma once

#include <cstdint>
#include <vector>

#include "fat/fat_volume.hpp"
#include "storage/extent_copy.hpp"

namespace pellora {

// The clusters that hold a file of `size` bytes: its chain in FAT 1 when that has exactly the
// clusters the size needs, else its chain in FAT 2, else the clusters from the first one on, one
// after another. The last rule brings back deleted files, whose chains are cleared.
std::vector<std::uint32_t> FatFileClusters(const FatVolume& volume, std::uint32_t first_cluster, std::uint64_t size);

// Reads the file's clusters and hands exactly `size` bytes to the sink. A read that fails ends the
// copy where it stands: what was read before stays with the sink. The device is read through one
// handle in runs of adjacent clusters; no read starts beyond the volume's read limit.
CopyEnd CopyFatFile(const FatVolume& volume, const std::vector<std::uint32_t>& clusters, std::uint64_t size,
                    const ContentSink& sink);

}  // namespace pellora
