#include "ntfs/mft_fragments.hpp"

#include <algorithm>

#include "ntfs/attribute_walk.hpp"
#include "ntfs/data_runs.hpp"
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

MftFragments BuildMftFragments(const NtfsVolume& volume) {
  MftFragments fragments;
  const FileSystemParams& p = volume.params;
  const std::uint64_t first = p.Cluster0Start;
  const std::uint64_t end = volume.end_sector;
  if (p.SectorsPerCluster == 0 || end <= first) return fragments;
  RecordReader reader(volume);
  const auto record = ReadFileRecord(reader, p.MftStart);
  if (!record) return fragments;

  std::optional<Attribute> data;
  AttributeWalk walk(*record, volume.cancel);
  while (const auto attribute = walk.Next())
    if (attribute->type == kDataAttribute) {
      data = attribute;
      break;
    }
  if (!data || !data->non_resident) return fragments;

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

  const std::uint64_t partition_sectors = end - first;
  while (const auto run = decoder.Next()) {
    if (run->sparse || run->clusters == 0 || run->lcn < 0) continue;
    const auto lcn = static_cast<std::uint64_t>(run->lcn);
    // Beyond the partition (also when the multiplication would overflow): no part of the $MFT.
    if (lcn >= partition_sectors / p.SectorsPerCluster + 1) continue;
    const std::uint64_t start = first + lcn * p.SectorsPerCluster;
    if (start >= end) continue;
    std::uint64_t sectors = run->clusters > partition_sectors ? partition_sectors : run->clusters * p.SectorsPerCluster;
    sectors = std::min({sectors, end - start, partition_sectors - fragments.TotalSectors()});
    if (sectors > 0) fragments.Add({start, sectors});
    if (fragments.TotalSectors() >= partition_sectors) break;
  }
  return fragments;
}

}  // namespace pellora
