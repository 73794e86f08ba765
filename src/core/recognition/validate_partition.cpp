#include "recognition/validate_partition.hpp"

#include <algorithm>

#include "common/text.hpp"
#include "common/ui.hpp"
#include "recognition/file_system_name.hpp"
#include "storage/device_map.hpp"
#include "storage/device_path.hpp"
#include "storage/drive_details.hpp"
#include "storage/drive_listing.hpp"
#include "storage/read_guard.hpp"

namespace pellora {

namespace {

std::uint64_t RowNumber(const std::vector<DetailRow>& rows, std::string_view label) {
  const std::int64_t value = ParseDecimalPrefix(DetailValue(rows, label));
  return value > 0 ? static_cast<std::uint64_t>(value) : 0;
}

struct Selection {
  int disk_number = 0;
  std::uint64_t start = 0;
  std::uint64_t end = 0;
  std::string file_system;
  bool volume = false;
  bool found = false;  // a partition the lost-partition search added
  bool dynamic = false;
  std::string volume_path;
};

Selection ReadSelection(const DriveListing& listing, int item) {
  const DriveTree& tree = listing.tree;
  const DriveItem& selected = tree.Item(item);
  const auto& rows = tree.details;
  Selection s;
  switch (selected.kind) {
    case DriveItemKind::kPartition: {
      s.disk_number = static_cast<int>(RowNumber(rows, "1. Disk Number : "));
      s.start = RowNumber(rows, "5. Start Sector : ");
      s.end = RowNumber(rows, "6. End Sector : ");
      s.file_system = FileSystemFromLabel(DetailValue(rows, "3. Partition Type : "));
      if (const auto list = listing.partitions.find(selected.disk_number); list != listing.partitions.end()) {
        const auto entries = list->second.Entries();
        if (selected.partition_index >= 0 && static_cast<std::size_t>(selected.partition_index) < entries.size())
          s.found = entries[static_cast<std::size_t>(selected.partition_index)].found;
      }
      const DriveItem& disk = tree.Item(selected.parent);
      s.dynamic = disk.info && disk.info->dynamic_disk;
      break;
    }
    case DriveItemKind::kDisk: {
      s.disk_number = listing.current_disk_number;
      s.start = 63;
      s.end = RowNumber(rows, "7. Sectors :");
      const auto children = tree.Children(item);
      if (!children.empty()) {
        s.file_system = FileSystemFromLabel(tree.Item(children.front()).label);
      } else if (selected.info && IsRecognisedFileSystem(selected.info->file_system)) {
        s.file_system = selected.info->file_system;
      } else {
        s.file_system = GuessFileSystemBySize(63, s.end);
      }
      s.dynamic = selected.info && selected.info->dynamic_disk;
      break;
    }
    case DriveItemKind::kVolume:
      s.volume = true;
      s.disk_number = std::max(selected.info->disk_number, 0);
      s.start = 0;
      s.end = RowNumber(rows, "2. End Sector : ");
      s.file_system = FileSystemFromLabel(DetailValue(rows, "3. Partition Type : "));
      s.dynamic = selected.info->dynamic_disk;
      s.volume_path = selected.info->device_path;
      break;
    case DriveItemKind::kTop:
    case DriveItemKind::kGroup:
      break;
  }
  return s;
}

std::uint32_t ValidatedCount(const ReadGuard& guard, SearchMode mode) {
  if (mode == SearchMode::kBasic) return guard.BasicValidated();
  if (mode == SearchMode::kDeep) return guard.DeepValidated();
  return 0;
}

}  // namespace

Validation ValidatePartition(ValidationContext& context) {
  DriveListing& listing = context.listing;
  DriveTree& tree = listing.tree;
  PartitionParams& params = context.params;
  params = PartitionParams{};

  const std::optional<int> item = tree.selected;
  if (!item || !tree.Valid(*item) || tree.Item(*item).kind == DriveItemKind::kTop || tree.IsGroup(*item)) {
    context.ui.ShowMessage(kSelectDriveFirst);
    return Validation::kRefused;
  }
  if (tree.IsWholeDisk(*item) && !context.ui.AskWholeDisk()) return Validation::kRefused;

  if (ValidatedCount(context.guard, context.mode) == 0 && context.clear_search_state) context.clear_search_state();
  Selection selection = ReadSelection(listing, *item);
  if (context.file_system_choice) {
    constexpr std::string_view kChoices[] = {"FAT16", "FAT32", "NTFS"};
    if (*context.file_system_choice < 0 || *context.file_system_choice > 2) {
      context.ui.ShowMessage(kSelectFileSystemType);
      return Validation::kRefused;
    }
    selection.file_system = kChoices[*context.file_system_choice];
  }

  // A range that ends where it starts (or before, or past the disk's end) holds nothing to search.
  const std::uint64_t disk_total = listing.current_total_sectors;
  if (std::min(selection.end, disk_total) <= selection.start) {
    context.ui.ShowMessage(kEndNotAfterStart);
    return Validation::kRefused;
  }
  params.DiskNumber = static_cast<std::uint16_t>(selection.disk_number);
  params.FileSystemName = selection.file_system;
  params.SearchMode = SearchModeLabel(context.mode);
  params.StartSector = selection.start;
  params.EndSector = std::min(selection.end, disk_total);
  if (!IsRecognisedFileSystem(selection.file_system)) return Validation::kUnrecognised;

  std::string path;
  if (selection.volume) {
    path = selection.volume_path;
  } else if (const auto known = listing.disk_paths.find(selection.disk_number); known != listing.disk_paths.end()) {
    path = known->second;
  }
  int open_error = 0;
  if (path.empty() || !context.devices.Open(path, &open_error)) {
    params = PartitionParams{};
    const auto entry = path.empty() ? std::nullopt : context.devices.Find(path);
    const std::string advice = entry ? NoAccessAdvice(*entry, open_error) : std::string();
    context.ui.ShowMessage(advice.empty() ? std::string(kDriveNotAvailable)
                                          : std::string(kDriveNotAvailable) + "\n\n" + advice);
    return Validation::kRefused;
  }
  context.current_device_path = path;
  if (selection.dynamic) tree.details_notice = std::string(kDynamicDiskNotice) + tree.details_notice;

  params.RangeStart = selection.start;
  params.RangeEnd = std::min(selection.end, disk_total);
  const bool own_range = selection.volume || selection.found;
  params.ReadLimitBytes = (own_range ? params.RangeEnd : std::max(disk_total, params.RangeEnd)) * 512;
  params.ParamsFlag = 0;
  context.ui.ShowSearchRange(params.RangeStart, params.RangeEnd);
  context.ui.ShowText(UiText::kStatus, "Validating Partition ...");
  context.guard.SetReadLimitBytes(params.ReadLimitBytes);
  context.guard.CountValidatedPartition(context.mode);
  return Validation::kValidated;
}

}  // namespace pellora
