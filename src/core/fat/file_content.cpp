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
    const std::uint64_t offset = volume.params.ClusterStart(clusters[i]) * kSectorSize;
    const std::uint64_t wanted = std::min<std::uint64_t>(run * cluster_bytes, remaining);
    if (offset > volume.read_limit_bytes) return CopyEnd::kReadFailed;
    buffer.resize(static_cast<std::size_t>(wanted));
    const ReadOutcome read = device->ReadAt(offset, buffer);
    std::uint64_t good = read.ok && read.bytes == wanted ? wanted : (read.bytes / kSectorSize) * kSectorSize;
    // After a failure, every sector up to the bad one is still saved, as reading one by one would.
    while (good < wanted) {
      const std::uint64_t piece = std::min<std::uint64_t>(kSectorSize, wanted - good);
      const ReadOutcome one = device->ReadAt(offset + good, std::span(buffer).subspan(good, piece));
      if (!one.ok || one.bytes < piece) break;
      good += piece;
    }
    if (good > 0 && !sink(std::span<const std::byte>(buffer).first(static_cast<std::size_t>(good))))
      return CopyEnd::kStopped;
    if (good < wanted) return CopyEnd::kReadFailed;
    remaining -= wanted;
    i += run;
  }
  return CopyEnd::kComplete;
}

}  // namespace pellora
