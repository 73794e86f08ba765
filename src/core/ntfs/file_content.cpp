#include "ntfs/file_content.hpp"

#include <algorithm>

#include "ntfs/attribute_content.hpp"
#include "ntfs/extension_records.hpp"
#include "ntfs/record_sector.hpp"

namespace pellora {

NtfsFileData ReadNtfsFileData(RecordReader& reader, const MftFragments& fragments, std::uint64_t record_sector) {
  NtfsFileData data;
  const auto base = ReadRecordAt(reader, fragments, record_sector);
  if (!base) return data;
  const std::vector<FileRecord> records = base->number ? ReadRecordList(reader, fragments, base->record, *base->number)
                                                       : std::vector<FileRecord>{base->record};
  // A resident value is the whole file; it comes before any piece in the usual record.
  for (const FileRecord& record : records) {
    AttributeWalk walk(record, reader.Volume().cancel);
    while (const auto attribute = walk.Next()) {
      if (attribute->type != kDataAttribute || attribute->name_length != 0 || attribute->non_resident) continue;
      if (const auto value = attribute->ResidentValue()) {
        data.kind = NtfsFileData::Kind::kResident;
        data.resident.assign(value->begin(), value->end());
        return data;
      }
    }
  }
  std::vector<DataPiece> pieces;
  for (const FileRecord& record : records) CollectDataPieces(record, pieces, reader.Volume().cancel);
  if (pieces.empty()) return data;
  data.kind = NtfsFileData::Kind::kRuns;
  data.runs = JoinDataPieces(std::move(pieces));
  return data;
}

CopyEnd CopyNtfsFile(RecordReader& reader, const NtfsFileData& data, std::uint64_t size, const ContentSink& sink) {
  if (data.kind == NtfsFileData::Kind::kResident)
    return data.resident.empty() || sink(data.resident) ? CopyEnd::kComplete : CopyEnd::kStopped;
  if (data.kind == NtfsFileData::Kind::kNone) return CopyEnd::kComplete;
  return CopyDataRuns(reader, data.runs, size, sink);
}

}  // namespace pellora
