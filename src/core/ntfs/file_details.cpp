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

void ReadFolderFileDetails(RecordReader& reader, const MftFragments& fragments, NtfsFileTable& files,
                           std::uint32_t parent) {
  for (const std::size_t index : files.RowsOfParent(parent)) {
    NtfsFileRow& row = files.Row(index);
    if (!row.name.empty() && row.size) continue;
    if (const auto details = ReadNtfsFileDetails(reader, fragments, row.record_sector)) {
      row.name = details->name;
      row.size = details->size;
      row.created = details->created;
    }
  }
}

}  // namespace pellora
