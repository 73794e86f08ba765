#include "search/deep_fat_search.hpp"

#include <memory>

#include "common/guard.hpp"
#include "common/progress.hpp"
#include "common/ui.hpp"
#include "fat/directory_assignment.hpp"
#include "fat/directory_cluster.hpp"
#include "fat/fat_location.hpp"
#include "fat/found_boot_sector.hpp"
#include "fat/lost_folder_scan.hpp"
#include "search/deep_fat_arrangement.hpp"
#include "search/raw_scan.hpp"
#include "storage/sector_access.hpp"

namespace pellora {

namespace {

constexpr std::string_view kPhase1Text = "Analyzing The Data For File Systems Phase 1 \\ 2   ...";
constexpr std::string_view kPhase2Text = "Analyzing The Data For File Systems Phase 2 \\ 2   ...";

struct FatFinds {
  std::vector<FoundBootSector> boot_sectors;
  std::vector<FoundDirectory> directories;
};

void ScanForFatStructures(Source& device, const DeepSearchRequest& request, Ui& ui, ProgressBar& progress,
                          std::stop_token stop, FatFinds& finds) {
  ScanSectors(device, request.start_sector, request.end_sector, ui, progress, stop,
              [&](std::uint64_t sector, std::span<const std::byte> bytes) {
                // Most sectors are neither: one byte each tells, before any field is read.
                if (bytes[511] == std::byte{0xAA})
                  if (auto boot = ReadFoundBootSector(bytes, sector)) finds.boot_sectors.push_back(std::move(*boot));
                if (bytes[0] == std::byte{'.'})
                  if (auto directory = ReadFoundDirectory(bytes, sector))
                    finds.directories.push_back(std::move(*directory));
              });
}

// No directory cluster anywhere: the first boot sector may still hold a root directory with
// something in it. Returns the partition when its root gives at least two names.
std::optional<FoundPartition> CheckFirstBootSectorRoot(Source& device, const FoundBootSector& boot,
                                                       const PartitionVolume& volume_of, ProgressBar& progress) {
  FoundPartition partition;
  partition.boot = boot;
  partition.end_sector = boot.end_sector;
  LocateFats(device, partition, &progress, {});
  std::vector<RootEntry> entries;
  ListRootEntries(volume_of(partition), entries);
  if (entries.size() < 2) return std::nullopt;
  return partition;
}

}  // namespace

void DeepSearchFat(const DeepSearchRequest& request, SectorAccess& sectors, Ui& ui, ErrorReporter& reporter,
                   std::stop_token stop, DeepSearchResult& result) {
  const std::unique_ptr<Source> device = sectors.OpenDevice(request.device_path);
  if (!device) return;
  ProgressBar progress(&ui);
  const PartitionVolume volume_of = [&](const FoundPartition& partition) {
    FatVolume volume;
    volume.sectors = &sectors;
    volume.device_path = request.device_path;
    volume.params = partition.Params();
    volume.read_limit_bytes = request.read_limit_bytes;
    return volume;
  };

  FatFinds finds;
  reporter.Guarded("Searching for lost fat directories...", "R", "2B",
                   [&] { ScanForFatStructures(*device, request, ui, progress, stop, finds); });
  result.boot_sectors_found = finds.boot_sectors.size();
  result.directories_found = finds.directories.size();

  // From here on a stopped search goes on like a finished one, with what the scan found.
  std::vector<FoundPartition>& partitions = result.partitions;
  reporter.Guarded("Analyzing file system...", "R", "2C", [&] {
    if (finds.directories.empty()) {
      if (finds.boot_sectors.empty()) return;
      if (auto partition = CheckFirstBootSectorRoot(*device, finds.boot_sectors.front(), volume_of, progress))
        partitions.push_back(std::move(*partition));
      return;
    }
    ui.ShowText(UiText::kStatus, kPhase1Text);
    AssignToBootSectors(finds.boot_sectors, finds.directories, partitions, &progress);
    ui.ShowText(UiText::kStatus, kPhase2Text);
    InferPartitions(finds.directories, request.file_system, partitions, &progress);
    for (FoundPartition& partition : partitions)
      if (partition.boot.first_fat == 0) LocateFats(*device, partition, &progress, {});
  });

  std::vector<PartitionRootEntry> roots;
  for (const FoundPartition& partition : partitions) {
    std::vector<RootEntry> entries;
    reporter.Guarded("Searching lost fat directories...", "R", "2C",
                     [&] { ListRootEntries(volume_of(partition), entries); });
    for (RootEntry& entry : entries) roots.push_back({partition.boot.cluster0_start, std::move(entry)});
  }
  if (partitions.empty()) return;
  ArrangeDeepFat(finds.directories, std::move(roots), partitions, volume_of, result.results, ui, progress, reporter,
                 request.now);
}

}  // namespace pellora
