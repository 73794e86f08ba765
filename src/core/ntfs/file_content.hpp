#pragma once

#include <cstdint>
#include <vector>

#include "ntfs/attribute_content.hpp"
#include "ntfs/data_runs.hpp"
#include "ntfs/file_record.hpp"
#include "ntfs/mft_fragments.hpp"

namespace pellora {

// Where the content of a file lies: the value of its unnamed $DATA when that is resident, or the
// runs of its clusters. A file whose runs are spread over extension records has them joined in
// file order; a gap between the pieces reads as zeros.
struct NtfsFileData {
  enum class Kind { kNone, kResident, kRuns };
  Kind kind = Kind::kNone;
  std::vector<std::byte> resident;
  std::vector<DataRun> runs;
};

// The unnamed $DATA of the file whose FILE record begins at record_sector (its extension records
// included). kNone when the record cannot be read or has no such $DATA.
NtfsFileData ReadNtfsFileData(RecordReader& reader, const MftFragments& fragments, std::uint64_t record_sector);

// Hands the file's bytes to the sink: a resident value whole, runs up to `size` bytes as
// CopyDataRuns does.
CopyEnd CopyNtfsFile(RecordReader& reader, const NtfsFileData& data, std::uint64_t size, const ContentSink& sink);

}  // namespace pellora
