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

// A sink that can have the device's bytes put straight into its file by the kernel: it copies
// `length` bytes from `offset` of the device and tells how many it took and whether the copy goes
// on. What it does not take is read and handed to the ContentSink as usual (after a failure, sector
// by sector).
struct DirectCopy {
  std::uint64_t copied = 0;
  bool go_on = true;
};
using DirectSink = std::function<DirectCopy(Source& device, std::uint64_t offset, std::uint64_t length)>;

// Reads the file's clusters and hands exactly `size` bytes to the sink. A read that fails ends the
// copy where it stands: what was read before stays with the sink. The device is read through one
// handle in runs of adjacent clusters; no read starts beyond the volume's read limit.
CopyEnd CopyFatFile(const FatVolume& volume, const std::vector<std::uint32_t>& clusters, std::uint64_t size,
                    const ContentSink& sink, const DirectSink& direct = {});

// `count` clusters that follow each other on the disk from `first` on (an NTFS data run, or a
// stretch of a FAT chain).
struct ClusterRun {
  std::uint64_t first = 0;
  std::uint64_t count = 0;
};

// The same over runs of clusters: cluster n lies at the volume's Cluster0Start + n * SectorsPerCluster.
CopyEnd CopyClusterRuns(const FatVolume& volume, const std::vector<ClusterRun>& runs, std::uint64_t size,
                        const ContentSink& sink, const DirectSink& direct = {});

}  // namespace pellora
