#include "fat/file_content.hpp"

#include <algorithm>
#include <memory>

#include "fat/cluster_chain.hpp"

namespace pellora {

namespace {

constexpr std::uint64_t kRunBytes = 1 << 20;  // one read covers up to 1 MiB of adjacent clusters

}  // namespace

std::vector<std::uint32_t> FatFileClusters(const FatVolume& volume, std::uint32_t first_cluster, std::uint64_t size) {
  const std::uint64_t cluster_bytes = std::uint64_t{volume.params.SectorsPerCluster} * kSectorSize;
  if (cluster_bytes == 0) return {};
  const std::uint64_t needed = (size + cluster_bytes - 1) / cluster_bytes;
  for (const std::uint32_t fat : {volume.params.firstFAT, volume.params.secondFAT}) {
    if (fat == 0) continue;
    auto chain = BuildClusterChain(volume, first_cluster, {.fat_start = fat, .max_length = needed + 1});
    if (chain.size() == needed) return chain;
  }
  std::vector<std::uint32_t> contiguous;
  for (std::uint64_t i = 0; i < needed && first_cluster + i <= UINT32_MAX; ++i)
    contiguous.push_back(static_cast<std::uint32_t>(first_cluster + i));
  return contiguous;
}

CopyEnd CopyFatFile(const FatVolume& volume, const std::vector<std::uint32_t>& clusters, std::uint64_t size,
                    const ContentSink& sink) {
  if (size == 0) return CopyEnd::kComplete;
  const std::unique_ptr<Source> device = volume.sectors->OpenDevice(volume.device_path);
  if (!device) return CopyEnd::kReadFailed;
  const std::uint64_t cluster_bytes = std::uint64_t{volume.params.SectorsPerCluster} * kSectorSize;
  std::vector<std::byte> buffer;
  std::uint64_t remaining = size;
  for (std::size_t i = 0; i < clusters.size() && remaining > 0;) {
    // A run of clusters that follow each other on the disk, read in one go.
    std::size_t run = 1;
    while (i + run < clusters.size() && clusters[i + run] == clusters[i] + run &&
           (run + 1) * cluster_bytes <= kRunBytes && run * cluster_bytes < remaining)
      ++run;
    const std::uint64_t wanted = std::min<std::uint64_t>(run * cluster_bytes, remaining);
    const CopyEnd end = CopyExtent(*device, volume.params.ClusterStart(clusters[i]) * kSectorSize, wanted,
                                   volume.read_limit_bytes, buffer, sink);
    if (end != CopyEnd::kComplete) return end;
    remaining -= wanted;
    i += run;
  }
  return CopyEnd::kComplete;
}

}  // namespace pellora
