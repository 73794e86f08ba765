#include "ntfs/mft_fragments.hpp"

#include <algorithm>

#include "ntfs/attribute_content.hpp"
#include "ntfs/attribute_walk.hpp"
#include "ntfs/data_runs.hpp"
#include "ntfs/extension_records.hpp"
#include "ntfs/file_record.hpp"

namespace pellora {

namespace {

constexpr std::uint64_t kMaxRunListSectors = 2048;  // 1 MiB of run list past the record

}  // namespace

void MftFragments::Add(MftFragment fragment) {
  fragments_.push_back(fragment);
  ends_.push_back(TotalSectors() + fragment.sectors);
}

void MftFragments::Clear() {
  fragments_.clear();
  ends_.clear();
}

std::size_t MftFragments::FragmentAt(std::uint64_t offset) const {
  return static_cast<std::size_t>(std::upper_bound(ends_.begin(), ends_.end(), offset) - ends_.begin());
}

namespace {

// The fragments of the $MFT's runs, as absolute sectors: sparse and empty runs add none, runs are
// clipped to the partition, and no more is taken once they add up to the partition's size.
MftFragments FragmentsOf(const std::vector<DataRun>& runs, const NtfsVolume& volume) {
  MftFragments fragments;
  const FileSystemParams& p = volume.params;
  const std::uint64_t first = p.Cluster0Start;
  const std::uint64_t end = volume.end_sector;
  const std::uint64_t partition_sectors = end - first;
  for (const DataRun& run : runs) {
    if (run.sparse || run.clusters == 0 || run.lcn < 0) continue;
    const auto lcn = static_cast<std::uint64_t>(run.lcn);
    // Beyond the partition (also when the multiplication would overflow): no part of the $MFT.
    if (lcn >= partition_sectors / p.SectorsPerCluster + 1) continue;
    const std::uint64_t start = first + lcn * p.SectorsPerCluster;
    if (start >= end) continue;
    std::uint64_t sectors = run.clusters > partition_sectors ? partition_sectors : run.clusters * p.SectorsPerCluster;
    sectors = std::min({sectors, end - start, partition_sectors - fragments.TotalSectors()});
    if (sectors > 0) fragments.Add({start, sectors});
    if (fragments.TotalSectors() >= partition_sectors) break;
  }
  return fragments;
}

}  // namespace

MftFragments BuildMftFragments(const NtfsVolume& volume) {
  const FileSystemParams& p = volume.params;
  if (p.SectorsPerCluster == 0 || volume.end_sector <= p.Cluster0Start) return {};
  RecordReader reader(volume);
  const auto record = ReadFileRecord(reader, p.MftStart);
  if (!record) return {};

  std::optional<Attribute> data;
  AttributeWalk walk(*record, volume.cancel);
  while (const auto attribute = walk.Next())
    if (attribute->type == kDataAttribute) {
      data = attribute;
      break;
    }
  if (!data || !data->non_resident) return {};

  const std::size_t list_start = std::min(data->RunListOffset(), kFileRecordBytes);
  std::uint64_t next_sector = p.MftStart + kSectorsPerFileRecord;
  std::uint64_t extra_sectors = 0;
  RunListDecoder decoder(std::span<const std::byte>(*record).subspan(list_start), [&](std::vector<std::byte>& bytes) {
    if (extra_sectors++ >= kMaxRunListSectors) return false;
    std::array<std::byte, kSectorSize> sector{};
    if (reader.Read(next_sector++, sector) == 0) return false;
    bytes.insert(bytes.end(), sector.begin(), sector.end());
    return true;
  });
  std::vector<DataPiece> pieces{{data->LowestVcn(), {}}};
  while (const auto run = decoder.Next()) pieces.front().runs.push_back(*run);
  MftFragments fragments = FragmentsOf(pieces.front().runs, volume);

  // A $MFT in very many pieces keeps the rest of its runs in extension records, which record 0's
  // $ATTRIBUTE_LIST names and the first pieces already map.
  const std::vector<FileRecord> records = ReadRecordList(reader, fragments, *record, 0);
  for (std::size_t i = 1; i < records.size(); ++i) CollectDataPieces(records[i], pieces, volume.cancel);
  if (pieces.size() > 1) fragments = FragmentsOf(JoinDataPieces(std::move(pieces)), volume);
  return fragments;
}

}  // namespace pellora
