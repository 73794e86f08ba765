// The lost-partition search over a disk whose sectors come from the input: the drive listing with
// its partition table walk, the Standard and Advanced scans, and the search inside a logical
// volume. Whatever the sectors say, the lists stay within their caps.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "app/load_drives.hpp"
#include "fuzz_volume.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  pellora::fuzz::FuzzApp fuzz(data, size);
  pellora::AppState& app = fuzz.app;
  app.mode.Set(pellora::SearchMode::kBasic);
  pellora::DriveListing& listing = pellora::LoadDrives(app, pellora::SearchMode::kBasic, false);
  const auto item = listing.tree.FindDrive(pellora::PhysicalDrivePath(0));
  if (item) {
    if (const pellora::smpparam* disk = listing.Geometry(*item)) {
      pellora::LostPartitionSearch search{
          .sectors = app.sectors, .listing = listing, .ui = &fuzz.ui, .stop = {}, .silent = {}};
      pellora::StandardScan(search, *disk);
      pellora::AdvancedScan(search, *disk);
      if (listing.PartitionsOf(listing.tree.Item(*item).disk_number).Count() > 27) std::abort();
    }
  }
  app.partition_params.RangeStart = 0;
  app.partition_params.RangeEnd = fuzz.Sectors();
  std::vector<pellora::RecognisedPartition> found;
  pellora::SearchLogicalVolume(app.sectors, app.reporter, fuzz.ui, pellora::VolumePath('D'), "FUZZ",
                               app.partition_params, app.working_params, found);
  if (found.size() > static_cast<std::size_t>(pellora::kMaxSearchPartitions)) std::abort();
  return 0;
}
