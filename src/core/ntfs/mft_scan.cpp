#include "ntfs/mft_scan.hpp"

#include <algorithm>
#include <span>
#include <vector>

#include "common/progress.hpp"
#include "common/ui.hpp"
#include "model/date_time_format.hpp"
#include "ntfs/extension_records.hpp"
#include "ntfs/file_name.hpp"
#include "ntfs/file_record.hpp"
#include "ntfs/fixups.hpp"
#include "ntfs/record_sector.hpp"

namespace pellora {

namespace {

constexpr std::uint64_t kChunkSectors = 512;  // 256 KiB per read; even, so records never straddle two reads

void PlaceMiscellaneous(RecoveredResults& results, std::time_t now) {
  results.AddFolderNode(results.RootItem(), std::string(kMiscellaneousName), kMiscellaneousSelf, 0,
                        FatStyleTimeWord(now), kNtfsRootRecord, false, 0);
}

class MftScan {
 public:
  MftScan(const NtfsVolume& volume, const MftFragments& fragments, RecoveredResults& results, std::time_t now)
      : volume_(volume), fragments_(fragments), results_(results), reader_(volume), now_(now) {}

  RecordReader& Reader() { return reader_; }

  // The next record of the $MFT, read at sector (its first sector).
  void Visit(std::span<const std::byte> bytes, std::uint64_t sector) {
    const std::uint64_t number = next_number_++;
    if (!HasFileMagic(bytes)) return;
    FileRecord record;
    std::copy_n(bytes.begin(), kFileRecordBytes, record.begin());
    ApplyFixups(record, volume_.cancel);
    const std::uint8_t flags = RecordFlags(record);
    if (IsExtensionRecord(record) || (!IsFolderFlags(flags) && !IsFileFlags(flags))) return;

    const NameText text = IsFolderFlags(flags) ? NameText::kFolder : NameText::kNone;
    std::optional<FileNameInfo> info = ChooseFileName(record, text, volume_.cancel);
    if (!info) {
      // The names of a file with many attributes may all lie in its extension records.
      const std::vector<FileRecord> records = ReadRecordList(reader_, fragments_, record, number);
      for (std::size_t i = 1; i < records.size() && !info; ++i) info = ChooseFileName(records[i], text, volume_.cancel);
      if (!info) return;
    }
    if (IsFolderFlags(flags)) {
      PlaceFolder(*info, number, flags == kDeletedFolder);
      return;
    }
    NtfsFileRow row;
    row.parent = info->parent;
    row.record_sector = sector;
    row.created = info->created;
    row.deleted = flags == kDeletedFile;
    results_.ntfs_files.Add(std::move(row));
  }

 private:
  void PlaceFolder(const FileNameInfo& info, std::uint64_t number, bool deleted) {
    if (results_.nodes.Size() == 0) {
      PlaceMiscellaneous(results_, now_);
      results_.tree.SetExpanded(results_.tree.FirstItem(), true);
    }
    if (info.name.empty() || number == kNtfsRootRecord) return;
    const ItemId parent_item = info.parent == kNtfsRootRecord ? results_.RootItem() : results_.PlacedItem(info.parent);
    if (parent_item != kNoItem) {
      results_.AddFolderNode(parent_item, info.name, number, info.created, 0, info.parent, deleted, 0);
      return;
    }
    RecoveredEntry row;
    row.name = info.name;
    row.self = number;
    row.parent = info.parent;
    row.date = info.created;
    row.deleted = deleted;
    results_.directory.Add(std::move(row));
  }

  const NtfsVolume& volume_;
  const MftFragments& fragments_;
  RecoveredResults& results_;
  RecordReader reader_;
  std::time_t now_;
  std::uint64_t next_number_ = 0;
};

}  // namespace

void ScanMftRecords(const NtfsVolume& volume, const MftFragments& fragments, RecoveredResults& results, Ui& ui,
                    ProgressBar& progress, std::stop_token stop, std::time_t now) {
  const std::uint64_t total = fragments.TotalSectors();
  if (total == 0) {
    if (results.tree.Empty() || results.tree.Children(results.tree.FirstItem()).empty())
      PlaceMiscellaneous(results, now);
    return;
  }
  ui.ShowSectorTotal(total, SectorTotalForm::kScannedOfTotal);
  progress.SetRange(0, total, kSectorsPerFileRecord);

  MftScan scan(volume, fragments, results, now);
  RecordReader& reader = scan.Reader();
  std::vector<std::byte> chunk(kChunkSectors * kSectorSize);
  FileRecord split{};  // a record whose second sector begins the next fragment
  std::uint64_t done = 0;
  bool second_half_read = false;
  const auto list = fragments.List();
  for (std::size_t f = 0; f < list.size() && !stop.stop_requested(); ++f) {
    const MftFragment& fragment = list[f];
    const std::uint64_t skip = second_half_read ? 1 : 0;
    second_half_read = false;
    for (std::uint64_t offset = skip; offset < fragment.sectors && !stop.stop_requested();) {
      const std::uint64_t count = std::min(kChunkSectors, fragment.sectors - offset);
      const std::uint64_t first = fragment.start + offset;
      const std::span<std::byte> bytes = std::span(chunk).first(count * kSectorSize);
      const bool whole = reader.Read(first, bytes) == bytes.size();
      for (std::uint64_t i = 0; i + kSectorsPerFileRecord <= count && !stop.stop_requested();
           i += kSectorsPerFileRecord) {
        std::span<const std::byte> record =
            std::span<const std::byte>(bytes).subspan(i * kSectorSize, kFileRecordBytes);
        if (!whole) {
          // After a failed read, each record is read on its own: a bad sector costs one record only.
          std::fill(split.begin(), split.end(), std::byte{0});
          reader.Read(first + i, split);
          record = split;
        }
        scan.Visit(record, first + i);
        done += kSectorsPerFileRecord;
        progress.Advance(0, total, done, kSectorsPerFileRecord);
      }
      if (count % 2 == 1 && !stop.stop_requested()) {
        // The fragment ends inside a record: its second sector is the next fragment's first, or,
        // after the last fragment, the sector that follows.
        const std::uint64_t last = first + count - 1;
        std::fill(split.begin(), split.end(), std::byte{0});
        reader.Read(last, std::span(split).first(kSectorSize));
        const bool more = f + 1 < list.size();
        reader.Read(more ? list[f + 1].start : last + 1, std::span(split).subspan(kSectorSize));
        second_half_read = more;
        scan.Visit(split, last);
        done += kSectorsPerFileRecord;
        progress.Advance(0, total, done, kSectorsPerFileRecord);
      }
      offset += count;
      ui.ShowCurrentSector(std::min(done, total));
    }
  }
}

}  // namespace pellora
