#include "fat/file_content.hpp"

#include <algorithm>
#include <memory>
#include <optional>

#include "fat/cluster_chain.hpp"

namespace pellora {

namespace {

constexpr std::uint64_t kRunBytes = 1 << 20;  // one read covers up to 1 MiB of adjacent clusters

// The byte offset of a cluster; nullopt when it lies beyond what a 64-bit offset holds (cluster
// numbers from a damaged medium may point anywhere).
std::optional<std::uint64_t> ClusterOffset(const FileSystemParams& p, std::uint64_t cluster) {
  constexpr std::uint64_t kMaxSector = UINT64_MAX / kSectorSize;
  if (p.Cluster0Start > kMaxSector) return std::nullopt;
  if (p.SectorsPerCluster != 0 && cluster > (kMaxSector - p.Cluster0Start) / p.SectorsPerCluster) return std::nullopt;
  return p.ClusterStart(cluster) * kSectorSize;
}

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
                    const ContentSink& sink, const DirectSink& direct) {
  std::vector<ClusterRun> runs;
  for (const std::uint32_t cluster : clusters) {
    if (!runs.empty() && runs.back().first + runs.back().count == cluster) {
      ++runs.back().count;
    } else {
      runs.push_back({cluster, 1});
    }
  }
  return CopyClusterRuns(volume, runs, size, sink, direct);
}

CopyEnd CopyClusterRuns(const FatVolume& volume, const std::vector<ClusterRun>& runs, std::uint64_t size,
                        const ContentSink& sink, const DirectSink& direct) {
  if (size == 0) return CopyEnd::kComplete;
  const std::uint64_t cluster_bytes = std::uint64_t{volume.params.SectorsPerCluster} * kSectorSize;
  if (cluster_bytes == 0) return CopyEnd::kReadFailed;
  const std::unique_ptr<Source> device = volume.sectors->OpenDevice(volume.device_path);
  if (!device) return CopyEnd::kReadFailed;
  // One read covers up to kRunBytes of a run (at least one cluster).
  const std::uint64_t clusters_per_read = std::max<std::uint64_t>(1, kRunBytes / cluster_bytes);
  std::vector<std::byte> buffer;
  std::uint64_t remaining = size;
  for (const ClusterRun& run : runs) {
    for (std::uint64_t done = 0; done < run.count && remaining > 0;) {
      const std::uint64_t take = std::min(clusters_per_read, run.count - done);
      const auto offset = ClusterOffset(volume.params, run.first + done);
      if (!offset || *offset > volume.read_limit_bytes) return CopyEnd::kReadFailed;
      const std::uint64_t wanted = std::min<std::uint64_t>(take * cluster_bytes, remaining);
      std::uint64_t given = 0;  // bytes of this piece the sink has
      if (direct) {
        const DirectCopy copy = direct(*device, *offset, wanted);
        given = std::min(copy.copied, wanted);
        if (!copy.go_on) return CopyEnd::kStopped;
      }
      if (given < wanted) {
        const CopyEnd end = CopyExtent(*device, *offset + given, wanted - given, volume.read_limit_bytes, buffer, sink);
        if (end != CopyEnd::kComplete) return end;
      }
      remaining -= wanted;
      done += take;
    }
    if (remaining == 0) break;
  }
  return CopyEnd::kComplete;
}

}  // namespace pellora
