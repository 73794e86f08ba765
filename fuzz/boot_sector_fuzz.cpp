// Hostile boot sectors, FATs and directories: recognition, the FAT rebuild and the lost-partition
// search must never crash or list more than they may.

#include <cstdint>
#include <cstdlib>

#include "fuzz_medium.hpp"
#include "recognition/compute_partition_params.hpp"
#include "recognition/lost_partition_search.hpp"
#include "recognition/rebuild_fat_params.hpp"
#include "storage/drive_listing.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  pellora::fuzz::FuzzMedium medium(data, size);
  const std::uint64_t sectors = medium.Sectors();
  for (const char* file_system : {"FAT16", "FAT32", "NTFS"}) {
    pellora::PartitionParams params;
    params.FileSystemName = file_system;
    params.EndSector = sectors;
    pellora::FileSystemParams working;
    (void)pellora::ComputePartitionParams(medium.sectors, medium.path, params, working);
    if (params.FileSystemName != "NTFS") (void)pellora::RebuildFatParams(medium.sectors, medium.path, params, working);
  }

  pellora::DriveListing listing;
  const int group = listing.tree.EnsureGroup(pellora::kPhysicalDrives);
  const int item = listing.tree.Add(group, pellora::DriveItemKind::kDisk, "Disk0 ( Removable Media )");
  listing.tree.Item(item).disk_number = 0;
  // Geometry taken from the input, so that odd layouts are probed too.
  const std::uint32_t heads = size > 0 ? data[0] : 255;
  const std::uint32_t per_track = size > 1 ? data[1] : 63;
  const pellora::smpparam disk{.cylinders = static_cast<std::uint32_t>(sectors),
                               .tracks_per_cylinder = heads,
                               .sectors_per_track = per_track,
                               .device_path = medium.path,
                               .item = item,
                               .total_sectors = sectors};
  pellora::LostPartitionSearch search{
      .sectors = medium.sectors, .listing = listing, .ui = nullptr, .stop = {}, .silent = {}};
  pellora::StandardScan(search, disk);
  pellora::AdvancedScan(search, disk);
  if (listing.PartitionsOf(0).Count() > pellora::kMaxSearchPartitions) std::abort();

  pellora::PartitionParams params;
  params.RangeEnd = sectors;
  pellora::FileSystemParams working;
  std::vector<pellora::RecognisedPartition> found;
  pellora::SearchLogicalVolume(medium.sectors, medium.reporter, medium.ui, medium.path, "FUZZ", params, working, found);
  return 0;
}
