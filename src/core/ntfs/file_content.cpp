#include "ntfs/file_content.hpp"

#include <algorithm>

#include "ntfs/attribute_content.hpp"
#include "ntfs/extension_records.hpp"
#include "ntfs/record_sector.hpp"

namespace pellora {

namespace {

struct DataPiece {
  std::uint64_t lowest_vcn = 0;
  std::vector<DataRun> runs;
};

}  // namespace

NtfsFileData ReadNtfsFileData(RecordReader& reader, const MftFragments& fragments, std::uint64_t record_sector) {
  NtfsFileData data;
  const auto base = ReadRecordAt(reader, fragments, record_sector);
  if (!base) return data;
  const std::vector<FileRecord> records = base->number ? ReadRecordList(reader, fragments, base->record, *base->number)
                                                       : std::vector<FileRecord>{base->record};
  std::vector<DataPiece> pieces;
  for (const FileRecord& record : records) {
    AttributeWalk walk(record, reader.Volume().cancel);
    while (const auto attribute = walk.Next()) {
      if (attribute->type != kDataAttribute || attribute->name_length != 0) continue;
      if (!attribute->non_resident) {
        if (!pieces.empty()) continue;
        if (const auto value = attribute->ResidentValue()) {
          data.kind = NtfsFileData::Kind::kResident;
          data.resident.assign(value->begin(), value->end());
          return data;
        }
        continue;
      }
      pieces.push_back({attribute->LowestVcn(), AttributeRuns(*attribute)});
    }
  }
  if (pieces.empty()) return data;
  std::stable_sort(pieces.begin(), pieces.end(),
                   [](const DataPiece& a, const DataPiece& b) { return a.lowest_vcn < b.lowest_vcn; });
  data.kind = NtfsFileData::Kind::kRuns;
  std::uint64_t covered = 0;  // clusters of the file mapped so far
  for (const DataPiece& piece : pieces) {
    if (piece.lowest_vcn < covered) continue;  // a second copy of clusters already mapped
    if (piece.lowest_vcn > covered) data.runs.push_back({0, piece.lowest_vcn - covered, true});
    covered = piece.lowest_vcn;
    for (const DataRun& run : piece.runs) {
      data.runs.push_back(run);
      covered += std::min(run.clusters, UINT64_MAX - covered);
    }
  }
  return data;
}

CopyEnd CopyNtfsFile(RecordReader& reader, const NtfsFileData& data, std::uint64_t size, const ContentSink& sink) {
  if (data.kind == NtfsFileData::Kind::kResident)
    return data.resident.empty() || sink(data.resident) ? CopyEnd::kComplete : CopyEnd::kStopped;
  if (data.kind == NtfsFileData::Kind::kNone) return CopyEnd::kComplete;
  return CopyDataRuns(reader, data.runs, size, sink);
}

}  // namespace pellora
