#include "search/deep_ntfs_search.hpp"

#include <array>
#include <memory>
#include <string_view>
#include <vector>

#include "common/byte_reader.hpp"
#include "common/guard.hpp"
#include "common/progress.hpp"
#include "common/text.hpp"
#include "common/ui.hpp"
#include "model/date_time_format.hpp"
#include "ntfs/file_name.hpp"
#include "ntfs/file_record.hpp"
#include "ntfs/fixups.hpp"
#include "ntfs/index_entries.hpp"
#include "recognition/compute_partition_params.hpp"
#include "search/raw_scan.hpp"
#include "search/store_and_arrange.hpp"
#include "storage/sector_access.hpp"

namespace pellora {

namespace {

constexpr std::uint32_t kNoOwner = 0xFFFFFFFF;
constexpr std::uint32_t kDefaultSectorsPerCluster = 8;

// An index record found by the scan, to be turned into rows once the scan is done.
struct IndexRecordRow {
  std::uint64_t sector = 0;
  std::uint32_t owner = 0;  // "mftReference": the folder the record belongs to
  std::uint64_t vcn = 0;
};

bool HasMagic(std::span<const std::byte> b, std::string_view magic) {
  for (std::size_t i = 0; i < magic.size(); ++i)
    if (Le8(b, i) != static_cast<std::uint8_t>(magic[i])) return false;
  return true;
}

// Names taken from index entries keep every character of their language; only what no file
// system allows in a name refuses them (control characters and " \ / ? * < > | :).
bool IsUsableName(std::string_view name) {
  for (char32_t point : Utf8CodePoints(name))
    if ((point >= 1 && point <= 31) ||
        (point < 128 && std::string_view("\"\\/?*<>|:").find(static_cast<char>(point)) != std::string_view::npos))
      return false;
  return true;
}

std::vector<std::byte> ReadSectorsAt(Source& device, std::uint64_t sector, std::size_t bytes) {
  std::vector<std::byte> buffer(bytes);
  const ReadOutcome read = device.ReadAt(sector * kSectorSize, buffer);
  if (!read.ok || read.bytes < bytes) buffer.clear();
  return buffer;
}

class NtfsDeepScan {
 public:
  NtfsDeepScan(const DeepSearchRequest& request, Source& device, RecoveredResults& results, ErrorReporter& reporter)
      : request_(request), device_(device), results_(results), reporter_(reporter) {}

  void Visit(std::uint64_t sector, std::span<const std::byte> bytes) {
    if (HasMagic(bytes, "FILE")) {
      if (Le16(bytes, 28) == kFileRecordBytes) reporter_.Guarded("Add mft...", "R", "3E", [&] { AddMft(sector); });
    } else if (HasMagic(bytes, "INDX")) {
      reporter_.Guarded("Add index...", "R", "3D", [&] { AddIndex(sector, bytes); });
    }
  }

  // "Assigning MFT numbers...": the entries of every registered index record become rows.
  void AssignMftNumbers() {
    folder_counter_ = 0;
    for (const IndexRecordRow& record : index_records_)
      reporter_.Guarded("Assigning MFT numbers...", "R", "3C", [&] { AddIndexEntries(record); });
  }

  std::size_t RecordsFound() const { return records_found_ + index_records_.size(); }

  void PlaceMiscellaneous() {
    results_.AddFolderNode(results_.RootItem(), std::string(kMiscellaneousName), kMiscellaneousSelf, 0,
                           FatStyleTimeWord(request_.now), kNtfsRootRecord, false, 0);
    results_.tree.SetExpanded(results_.tree.FirstItem(), true);
  }

 private:
  void AddMft(std::uint64_t sector) {
    FileRecord record{};
    if (device_.ReadAt(sector * kSectorSize, record).bytes < kFileRecordBytes) return;
    ApplyFixups(record);
    ++records_found_;
    if (IsExtensionRecord(record)) return;  // it holds attributes of another record
    const std::uint8_t flags = Le8(record, 0x16);
    const bool folder = IsFolderFlags(flags);
    const std::optional<FileNameInfo> info = ChooseFileName(record, folder ? NameText::kFolder : NameText::kFile);
    const std::uint32_t number = Le32(record, 0x2C);
    // A record without any name is a free record, nothing that could be listed or saved (Basic
    // Search passes them over too).
    if (!info) return;
    if (!folder) {
      NtfsFileRow row;
      row.parent = info->parent;
      row.record_sector = sector;
      row.name = info->name;
      row.created = info->created;
      row.deleted = flags == kDeletedFile;
      results_.ntfs_files.Add(std::move(row));
      return;
    }
    if (info->name.empty() || info->name == "." || number == kNtfsRootRecord) return;
    if (results_.nodes.Size() == 0) PlaceMiscellaneous();
    const ItemId parent_item =
        info->parent == kNtfsRootRecord ? results_.RootItem() : results_.PlacedItem(info->parent);
    if (parent_item != kNoItem) {
      results_.AddFolderNode(parent_item, info->name, number, info->created, 0, info->parent, flags == kDeletedFolder,
                             0);
      return;
    }
    RecoveredEntry row;
    row.name = info->name;
    row.sector = sector;
    row.self = number;
    row.parent = info->parent;
    row.date = info->created;
    row.deleted = flags == kDeletedFolder;
    results_.directory.Add(std::move(row));
  }

  std::vector<std::byte> ReadIndexRecord(std::uint64_t sector, std::span<const std::byte> first_sector) {
    const auto bytes = IndexRecordBytes(first_sector);
    if (!bytes || *bytes < kSectorSize) return {};
    std::vector<std::byte> record = ReadSectorsAt(device_, sector, *bytes / kSectorSize * kSectorSize);
    if (!record.empty()) ApplyFixups(record);
    return record;
  }

  void AddIndex(std::uint64_t sector, std::span<const std::byte> first_sector) {
    const std::vector<std::byte> record = ReadIndexRecord(sector, first_sector);
    if (record.empty()) return;
    const auto owner = IndexRecordOwner(record);
    if (!owner || *owner < kNtfsRootRecord || *owner == kNoOwner) return;
    index_records_.push_back({sector, *owner, Le64(record, 16)});
  }

  void AddIndexEntries(const IndexRecordRow& registered) {
    std::array<std::byte, kSectorSize> first{};
    if (device_.ReadAt(registered.sector * kSectorSize, first).bytes < kSectorSize) return;
    const std::vector<std::byte> record = ReadIndexRecord(registered.sector, first);
    if (record.empty()) return;
    const std::uint64_t partition_bytes = (request_.end_sector - request_.start_sector) * kSectorSize;
    std::optional<std::uint32_t> previous_folder;
    WalkIndexEntries(record, [&](const IndexEntry& entry) {
      if (!entry.folder) {
        if (entry.name.find('~') != std::string::npos || entry.name == "." || entry.real_size >= partition_bytes ||
            !IsUsableName(entry.name))
          return;
        NtfsFileRow row;
        row.parent = entry.parent;
        row.record_sector = registered.sector;
        row.name = entry.name;
        row.size = entry.real_size;
        row.created = entry.created;
        row.from_index = true;
        row.padding = entry.after_name[0];
        row.vcn = entry.after_name[1];
        results_.ntfs_files.Add(std::move(row));
        return;
      }
      const bool repeated = previous_folder == entry.child;
      previous_folder = entry.child;
      if (repeated || results_.PlacedItem(entry.child) != kNoItem) return;
      std::string name(Trim(entry.name));
      if (name == ".") return;
      if (name.empty()) name = "DIR" + std::to_string(++folder_counter_);
      if (!IsUsableName(name)) return;
      RecoveredEntry row;
      row.name = std::move(name);
      row.sector = registered.sector;
      row.self = entry.child;
      row.parent = entry.parent;
      row.date = entry.created;
      results_.directory.Add(std::move(row));
    });
  }

  const DeepSearchRequest& request_;
  Source& device_;
  RecoveredResults& results_;
  ErrorReporter& reporter_;
  std::vector<IndexRecordRow> index_records_;
  std::uint64_t folder_counter_ = 0;
  std::size_t records_found_ = 0;
};

// The values NTFS files are read with: from the range's boot sector or its backup in the last
// sector, else the cluster size formatting tools choose, counted from the range's start.
FileSystemParams NtfsValues(const DeepSearchRequest& request, SectorAccess& sectors) {
  PartitionParams params;
  params.FileSystemName = FileSystemKind::kNtfs;
  params.StartSector = request.start_sector;
  params.EndSector = request.end_sector;
  FileSystemParams values;
  if (ComputePartitionParams(sectors, request.device_path, params, values) && values.SectorsPerCluster != 0)
    return values;
  values = FileSystemParams{};
  values.ParamsFileSystemName = FileSystemKind::kNtfs;
  values.SectorsPerCluster = kDefaultSectorsPerCluster;
  values.Cluster0Start = request.start_sector;
  return values;
}

}  // namespace

void DeepSearchNtfs(const DeepSearchRequest& request, SectorAccess& sectors, Ui& ui, ErrorReporter& reporter,
                    std::stop_token stop, DeepSearchResult& result) {
  const std::unique_ptr<Source> device = sectors.OpenDevice(request.device_path);
  if (!device) return;
  result.ntfs_params = NtfsValues(request, sectors);
  ProgressBar progress(&ui);
  RecoveredResults& results = result.results;
  NtfsDeepScan scan(request, *device, results, reporter);
  reporter.Guarded("Searching lost ntfs directories", "R", "3B", [&] {
    ScanSectors(*device, request.start_sector, request.end_sector, ui, progress, stop,
                [&](std::uint64_t sector, std::span<const std::byte> bytes) { scan.Visit(sector, bytes); });
  });
  ui.ShowText(UiText::kStatus, "Assigning MFT numbers...");
  scan.AssignMftNumbers();
  result.records_found = scan.RecordsFound();
  result.directories_found = results.directory.Size() + results.nodes.Size();
  if (results.nodes.Size() == 0 && results.directory.Size() == 0) return;
  if (results.nodes.Size() == 0) scan.PlaceMiscellaneous();
  StoreAndArrangeNtfs(results, ui, progress, reporter);
}

}  // namespace pellora
