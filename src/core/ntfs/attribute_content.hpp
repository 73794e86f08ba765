#pragma once

#include <stop_token>

#include <cstdint>
#include <vector>

#include "ntfs/attribute_walk.hpp"
#include "ntfs/data_runs.hpp"
#include "ntfs/file_record.hpp"
#include "storage/extent_copy.hpp"

namespace pellora {

// The runs of a non-resident attribute, decoded from its run list within the attribute's bytes.
std::vector<DataRun> AttributeRuns(const Attribute& attribute);

// The piece of a non-resident attribute that one record holds: the attribute's clusters from
// lowest_vcn on.
struct DataPiece {
  std::uint64_t lowest_vcn = 0;
  std::vector<DataRun> runs;
};

// The unnamed, non-resident $DATA pieces of one record.
void CollectDataPieces(const FileRecord& record, std::vector<DataPiece>& pieces, std::stop_token cancel = {});

// The runs of the whole attribute: the pieces in file order; a gap between them reads as zeros (a
// sparse run), a piece that maps clusters already mapped is left out.
std::vector<DataRun> JoinDataPieces(std::vector<DataPiece> pieces);

// Hands `size` bytes mapped by runs to the sink: clusters read through the reader's device in
// large reads, sparse runs as zeros (no more zeros than the partition has bytes). A read that fails
// ends the copy where it stands; no read starts beyond the volume's read limit.
CopyEnd CopyDataRuns(RecordReader& reader, const std::vector<DataRun>& runs, std::uint64_t size,
                     const ContentSink& sink);

}  // namespace pellora
