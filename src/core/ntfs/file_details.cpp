#include "ntfs/file_details.hpp"

#include "ntfs/data_size.hpp"
#include "ntfs/extension_records.hpp"
#include "ntfs/file_name.hpp"
#include "ntfs/record_sector.hpp"

namespace pellora {

std::optional<NtfsFileDetails> ReadNtfsFileDetails(RecordReader& reader, const MftFragments& fragments,
                                                   std::uint64_t record_sector) {
  const auto base = ReadRecordAt(reader, fragments, record_sector);
  if (!base) return std::nullopt;
  const NtfsVolume& volume = reader.Volume();
  const std::vector<FileRecord> records = base->number ? ReadRecordList(reader, fragments, base->record, *base->number)
                                                       : std::vector<FileRecord>{base->record};
  NtfsFileDetails details;
  details.deleted = RecordFlags(base->record) == kDeletedFile;
  volume.Guarded("Get advance name information...", "R", "11C", [&] {
    for (const FileRecord& record : records) {
      if (const auto info = ChooseFileName(record, NameText::kFile, volume.cancel)) {
        details.name = info->name;
        details.created = info->created;
        break;
      }
    }
  });
  volume.Guarded("Get data information...", "R", "11B",
                 [&] { details.size = GetDataSize(records, details.name, volume.cancel).size; });
  return details;
}

std::vector<NtfsRowDetails> ReadFolderFileDetails(RecordReader& reader, const MftFragments& fragments,
                                                  const NtfsFileTable& files, std::uint32_t parent) {
  std::vector<NtfsRowDetails> found;
  for (const std::size_t index : files.RowsOfParent(parent)) {
    const NtfsFileRow& row = files.Row(index);
    if (!row.name.empty() && row.size) continue;
    if (auto details = ReadNtfsFileDetails(reader, fragments, row.record_sector))
      found.push_back({index, std::move(*details)});
  }
  return found;
}

void KeepFolderFileDetails(NtfsFileTable& files, const std::vector<NtfsRowDetails>& details) {
  for (const NtfsRowDetails& kept : details) {
    NtfsFileRow& row = files.Row(kept.row);
    row.name = kept.details.name;
    row.size = kept.details.size;
    row.created = kept.details.created;
    row.deleted = kept.details.deleted;
  }
}

}  // namespace pellora
