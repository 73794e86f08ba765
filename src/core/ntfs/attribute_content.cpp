#include "ntfs/attribute_content.hpp"

#include <algorithm>
#include <span>

#include "storage/sector_access.hpp"

namespace pellora {

std::vector<DataRun> AttributeRuns(const Attribute& attribute) {
  const std::size_t end = attribute.offset + attribute.length;
  const std::size_t start = std::min(attribute.RunListOffset(), end);
  return DecodeDataRuns(attribute.record.subspan(start, end - start));
}

void CollectDataPieces(const FileRecord& record, std::vector<DataPiece>& pieces, std::stop_token cancel) {
  AttributeWalk walk(record, cancel);
  while (const auto attribute = walk.Next())
    if (attribute->type == kDataAttribute && attribute->name_length == 0 && attribute->non_resident)
      pieces.push_back({attribute->LowestVcn(), AttributeRuns(*attribute)});
}

std::vector<DataRun> JoinDataPieces(std::vector<DataPiece> pieces) {
  std::stable_sort(pieces.begin(), pieces.end(),
                   [](const DataPiece& a, const DataPiece& b) { return a.lowest_vcn < b.lowest_vcn; });
  std::vector<DataRun> runs;
  std::uint64_t covered = 0;  // clusters of the attribute mapped so far
  for (const DataPiece& piece : pieces) {
    if (piece.lowest_vcn < covered) continue;
    if (piece.lowest_vcn > covered) runs.push_back({0, piece.lowest_vcn - covered, true});
    covered = piece.lowest_vcn;
    for (const DataRun& run : piece.runs) {
      runs.push_back(run);
      covered += std::min(run.clusters, UINT64_MAX - covered);
    }
  }
  return runs;
}

CopyEnd CopyDataRuns(RecordReader& reader, const std::vector<DataRun>& runs, std::uint64_t size,
                     const ContentSink& sink) {
  if (size == 0) return CopyEnd::kComplete;
  const NtfsVolume& volume = reader.Volume();
  const FileSystemParams& p = volume.params;
  const std::uint64_t cluster_bytes = std::uint64_t{p.SectorsPerCluster} * kSectorSize;
  Source* device = reader.Device();
  if (device == nullptr || cluster_bytes == 0) return CopyEnd::kReadFailed;
  std::vector<std::byte> buffer;
  std::uint64_t remaining = size;
  std::uint64_t zeros = 0;
  for (const DataRun& run : runs) {
    if (remaining == 0) break;
    const std::uint64_t take = run.clusters > remaining / cluster_bytes ? remaining : run.clusters * cluster_bytes;
    if (run.sparse) {
      // Holes larger than the whole partition come from a damaged record, not from a file.
      zeros += take;
      if (zeros > volume.read_limit_bytes) return CopyEnd::kReadFailed;
      if (!SendZeros(take, buffer, sink)) return CopyEnd::kStopped;
    } else {
      // A cluster before the partition or too far to be a byte position is no content.
      const auto lcn = static_cast<std::uint64_t>(run.lcn);
      if (run.lcn < 0 || lcn > (UINT64_MAX / kSectorSize - p.Cluster0Start) / p.SectorsPerCluster)
        return CopyEnd::kReadFailed;
      const CopyEnd end =
          CopyExtent(*device, p.ClusterStart(lcn) * kSectorSize, take, volume.read_limit_bytes, buffer, sink);
      if (end != CopyEnd::kComplete) return end;
    }
    remaining -= take;
  }
  return CopyEnd::kComplete;
}

}  // namespace pellora
