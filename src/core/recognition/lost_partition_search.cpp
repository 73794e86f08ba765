#include "recognition/lost_partition_search.hpp"

#include <algorithm>
#include <memory>
#include <vector>

#include "common/byte_reader.hpp"
#include "common/guard.hpp"
#include "common/progress.hpp"
#include "common/ui.hpp"
#include "recognition/compute_partition_params.hpp"
#include "recognition/file_system_name.hpp"
#include "storage/boot_signature.hpp"
#include "storage/drive_details.hpp"
#include "storage/drive_listing.hpp"
#include "storage/sector_access.hpp"
#include "storage/zeroed_reads.hpp"

namespace pellora {

namespace {

constexpr std::uint64_t kAdvancedStepSectors = 512;  // 256 KiB per read
constexpr std::uint64_t kVolumeStepSectors = 1024;   // 512 KiB per read
constexpr std::uint32_t kStandardHeads = 255;
constexpr std::uint32_t kStandardSectorsPerTrack = 63;

std::span<const std::byte> SectorOf(std::span<const std::byte> buffer, std::size_t index) {
  return buffer.subspan(index * kSectorSize, kSectorSize);
}

int DiskNumberOf(const DriveListing& listing, const smpparam& disk) {
  return listing.tree.Valid(disk.item) ? listing.tree.Item(disk.item).disk_number : -1;
}

// Adds a candidate that is not listed yet; false when it is known or the list is full.
bool AddFound(DriveListing& listing, const smpparam& disk, const BootSectorCandidate& candidate) {
  const int disk_number = DiskNumberOf(listing, disk);
  DiskPartitionList& list = listing.PartitionsOf(disk_number);
  if (list.Contains(candidate.start, candidate.file_system)) return false;
  for (const DiskPartition& listed : list.Entries())
    if (IsBackupBootSector(candidate, listed.file_system, listed.start)) return false;
  DiskPartition* partition = list.Add(std::string(candidate.file_system), candidate.start, candidate.end, true);
  if (partition == nullptr) return false;
  DriveTree& tree = listing.tree;
  if (tree.Valid(disk.item)) {
    const int child =
        tree.Add(disk.item, DriveItemKind::kPartition, PartitionItemLabel(partition->index + 1, candidate.file_system));
    tree.Item(child).disk_number = disk_number;
    tree.Item(child).partition_index = partition->index;
    tree.Item(disk.item).expanded = true;
    partition->item = child;
  }
  return true;
}

enum class Step { kGoOn, kStop };

// One candidate of a disk scan: the silent form takes the first; otherwise it joins the list.
Step Consider(LostPartitionSearch& search, const smpparam& disk, std::span<const std::byte> sector,
              std::uint64_t sector_number, int& added) {
  const int disk_number = DiskNumberOf(search.listing, disk);
  if (search.listing.PartitionsOf(disk_number).Count() >= kMaxSearchPartitions) return Step::kStop;
  const auto candidate = TestBootSector(sector, sector_number);
  if (!candidate) return Step::kGoOn;
  if (search.silent) {
    search.silent(*candidate);
    return Step::kStop;
  }
  if (AddFound(search.listing, disk, *candidate)) ++added;
  return Step::kGoOn;
}

// The sector fields of the search window, when there is one.
void ShowSectorTotal(Ui* ui, std::uint64_t total) {
  if (ui != nullptr) ui->ShowSectorTotal(total, SectorTotalForm::kReading);
}

void ShowCurrentSector(Ui* ui, std::uint64_t sector) {
  if (ui != nullptr) ui->ShowCurrentSector(sector);
}

}  // namespace

bool PassesBootSignature(std::span<const std::byte> sector) { return HasBootSignature(sector); }

bool IsBackupBootSector(const BootSectorCandidate& candidate, std::string_view file_system, std::uint64_t start) {
  if (candidate.file_system != file_system || candidate.start <= start) return false;
  if (file_system == "FAT32") return candidate.start - start == 6;
  // NTFS keeps its copy right after the sectors its boot sector counts.
  if (file_system == "NTFS") return candidate.start - start == candidate.end - candidate.start;
  return false;
}

std::optional<BootSectorCandidate> TestBootSector(std::span<const std::byte> sector, std::uint64_t sector_number) {
  if (!PassesBootSignature(sector)) return std::nullopt;
  BootSectorCandidate candidate;
  candidate.start = sector_number;
  std::uint64_t total = 0;
  if (BytesEqual(sector, 0x55, "32")) {
    candidate.file_system = "FAT32";
  } else if (BytesEqual(sector, 0x39, "16")) {
    candidate.file_system = "FAT16";
  } else if (BytesEqual(sector, 3, "NTFS")) {
    candidate.file_system = "NTFS";
    total = static_cast<std::uint32_t>(Le64(sector, 0x28));
  } else {
    return std::nullopt;
  }
  if (candidate.file_system != "NTFS") {
    total = Le32(sector, 0x20);
    // A small FAT volume keeps its size in the 16-bit field and leaves the 32-bit one zero.
    if (total == 0) total = Le16(sector, 0x13);
  }
  candidate.end = sector_number + total;
  return candidate;
}

int StandardScan(LostPartitionSearch& search, const smpparam& disk) {
  std::uint64_t cylinders = disk.cylinders;
  std::uint64_t heads = disk.tracks_per_cylinder;
  std::uint64_t per_track = disk.sectors_per_track;
  if (per_track != kStandardSectorsPerTrack) {
    // Probes sit on the cylinder starts of the 255 x 63 layout that partitioning tools used.
    cylinders = heads * per_track * cylinders / (std::uint64_t{kStandardHeads} * kStandardSectorsPerTrack);
    per_track = kStandardSectorsPerTrack;
    heads = kStandardHeads;
  }
  const std::unique_ptr<Source> device = search.sectors.OpenDevice(disk.device_path);
  if (!device) return 0;
  ShowSectorTotal(search.ui, cylinders);
  ProgressBar progress(search.ui);
  progress.SetRange(0, cylinders, 1);
  int added = 0;
  SectorBytes sector{};
  for (std::uint64_t n = 0; n < cylinders; ++n) {
    if (search.stop.stop_requested()) break;
    ShowCurrentSector(search.ui, n);
    progress.Advance(0, cylinders, n, 1);
    std::uint64_t probe = (n * heads + 1) * per_track;  // head 1 of the cylinder
    ReadSectorsOrZeros(*device, probe, sector);
    if (!PassesBootSignature(sector)) {
      probe = n * heads * per_track;  // head 0
      ReadSectorsOrZeros(*device, probe, sector);
      if (!PassesBootSignature(sector)) continue;
    }
    if (Consider(search, disk, sector, probe, added) == Step::kStop) break;
  }
  return added;
}

int AdvancedScan(LostPartitionSearch& search, const smpparam& disk) {
  const std::uint64_t total = disk.total_sectors;
  const std::unique_ptr<Source> device = search.sectors.OpenDevice(disk.device_path);
  if (!device) return 0;
  ShowSectorTotal(search.ui, total);
  ProgressBar progress(search.ui);
  progress.SetRange(0, total, kAdvancedStepSectors);
  int added = 0;
  std::vector<std::byte> buffer(kAdvancedStepSectors * kSectorSize);
  for (std::uint64_t step = 0; step < total; step += kAdvancedStepSectors) {
    if (search.stop.stop_requested()) break;
    ShowCurrentSector(search.ui, step);
    progress.Advance(0, total, step, kAdvancedStepSectors);
    const std::size_t read = ReadSectorsOrZeros(*device, step, buffer);
    for (std::size_t i = 0; i < read; ++i) {
      const auto sector = SectorOf(buffer, i);
      if (!PassesBootSignature(sector)) continue;
      if (Consider(search, disk, sector, step + i, added) == Step::kStop) return added;
    }
  }
  return added;
}

int SearchDisk(LostPartitionSearch& search, const smpparam& disk, LostPartitionMode mode) {
  return mode == LostPartitionMode::kAdvanced ? AdvancedScan(search, disk) : StandardScan(search, disk);
}

std::string ResultMessage(int found, std::string_view kind, std::string_view name, std::string_view detail) {
  const std::string tail = std::string(kind) + " ( " + std::string(name) + " - " + std::string(detail) + " )";
  if (found > 0) return "Found " + std::to_string(found) + " more partitions in selected " + tail;
  return "No more partitions found in selected " + tail;
}

std::string DiskResultMessage(int found, const DriveListing& listing, const smpparam& disk) {
  std::string media = "Removable Media";
  if (listing.tree.Valid(disk.item) && listing.tree.Item(disk.item).info)
    media = listing.tree.Item(disk.item).info->media_type;
  return ResultMessage(found, "Disk", media, std::to_string(DiskNumberOf(listing, disk)));
}

bool ConfirmStopPartitionSearch(Ui& ui) { return ui.AskYesNo(kStopPartitionSearchQuestion, false); }

void SearchListedDisks(LostPartitionSearch& search, ErrorReporter& reporter) {
  reporter.Guarded("Search for more partition of listed disk...", "LD", "1F", [&] {
    DriveListing& listing = search.listing;
    DriveTree& tree = listing.tree;
    int found = 0;
    std::optional<smpparam> last;
    const std::vector<smpparam> disks = listing.disks;
    for (const smpparam& disk : disks) {
      if (!tree.Valid(disk.item)) continue;
      // Items are added below: keep values, not references into the tree.
      const int disk_number = tree.Item(disk.item).disk_number;
      if (tree.Item(disk.item).label.find("Removable Media") == std::string::npos || !tree.IsWholeDisk(disk.item))
        continue;
      found += StandardScan(search, disk);
      last = disk;
      if (const auto children = tree.Children(disk.item); !children.empty()) {
        SelectDriveItem(listing, children.front());
        continue;
      }
      // Nothing on the disk: offer the whole of it as one partition.
      const std::string file_system = GuessFileSystemBySize(0, disk.total_sectors);
      DiskPartition* whole = listing.PartitionsOf(disk_number).Add(file_system, 0, disk.total_sectors);
      if (whole == nullptr) continue;
      const std::string label = file_system == "Unknown" ? "Unknown Partition" : PartitionItemLabel(1, file_system);
      const int child = tree.Add(disk.item, DriveItemKind::kPartition, label);
      tree.Item(child).disk_number = disk_number;
      tree.Item(child).partition_index = whole->index;
      whole->item = child;
      SelectDriveItem(listing, child);
    }
    if (last && search.ui != nullptr) search.ui->ShowMessage(DiskResultMessage(found, listing, *last));
  });
}

bool SilentSearch(SectorAccess& sectors, DriveListing& listing, const smpparam& disk, PartitionParams& params,
                  FileSystemParams& working, std::stop_token stop) {
  bool found = false;
  LostPartitionSearch search{.sectors = sectors,
                             .listing = listing,
                             .ui = nullptr,
                             .stop = std::move(stop),
                             .silent = [&](const BootSectorCandidate& candidate) {
                               params.FileSystemName = candidate.file_system;
                               params.StartSector = candidate.start;
                               params.EndSector = candidate.end;
                               ComputePartitionParams(sectors, disk.device_path, params, working);
                               found = true;
                             }};
  StandardScan(search, disk);
  return found;
}

int SearchLogicalVolume(SectorAccess& sectors, ErrorReporter& reporter, Ui& ui, const std::string& volume_path,
                        std::string_view volume_label, PartitionParams& params, FileSystemParams& working,
                        std::vector<RecognisedPartition>& found, std::stop_token stop) {
  int added = 0;
  reporter.Guarded("Calculate logical drive partition value...", "LSMP", "8A", [&] {
    const std::unique_ptr<Source> device = sectors.OpenDevice(volume_path);
    if (!device) return;
    const std::uint64_t range_start = params.RangeStart;
    const std::uint64_t range_end = params.RangeEnd;
    ui.ShowSectorTotal(range_end, SectorTotalForm::kReading);
    ProgressBar progress(&ui);
    progress.SetRange(range_start, range_end, kVolumeStepSectors);
    std::vector<std::byte> buffer(kVolumeStepSectors * kSectorSize);
    // Capped as the disk search is: a volume whose every sector looks like a boot sector would
    // otherwise list each of them (and compare each with all before it).
    for (std::uint64_t at = range_start; at < range_end; at += kVolumeStepSectors) {
      if (stop.stop_requested() || found.size() >= static_cast<std::size_t>(kMaxSearchPartitions)) break;
      ui.ShowCurrentSector(at);
      progress.Advance(range_start, range_end, at, kVolumeStepSectors);
      const std::uint64_t count = std::min(kVolumeStepSectors, range_end - at);
      const std::size_t read =
          std::min<std::size_t>(count, ReadSectorsOrZeros(*device, at, std::span(buffer).first(count * kSectorSize)));
      for (std::size_t i = 0; i < read; ++i) {
        if (found.size() >= static_cast<std::size_t>(kMaxSearchPartitions)) break;
        auto candidate = TestBootSector(SectorOf(buffer, i), at + i);
        if (!candidate || candidate->end <= candidate->start) continue;  // a boot sector of no size is no volume
        if (candidate->file_system == "NTFS" && range_end < (std::uint64_t{1} << 32))
          candidate->end = std::min(candidate->end, range_end);
        const bool known = std::any_of(found.begin(), found.end(), [&](const RecognisedPartition& p) {
          return (p.start == candidate->start && p.end == candidate->end && p.file_system == candidate->file_system) ||
                 IsBackupBootSector(*candidate, p.file_system, p.start);
        });
        if (known) continue;
        RecognisedPartition row;
        row.file_system = candidate->file_system;
        row.start = candidate->start;
        row.end = candidate->end;
        row.total_sectors = candidate->end - candidate->start;
        row.size = std::to_string(row.total_sectors * kSectorSize >> 20) + " MB";
        row.label = "Recognised" + std::to_string(found.size() + 1) + " - " + row.size + " - " + row.file_system;
        params.FileSystemName = row.file_system;
        params.StartSector = row.start;
        params.EndSector = row.end;
        row.computed = ComputePartitionParams(sectors, volume_path, params, working);
        row.values = working;
        found.push_back(std::move(row));
        ++added;
      }
    }
  });
  const std::string root = volume_path.size() > 4 ? volume_path.substr(4) : volume_path;
  ui.ShowMessage(ResultMessage(added, "Drive", root, volume_label));
  return added;
}

}  // namespace pellora
