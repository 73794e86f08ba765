#pragma once

#include <cstdint>
#include <vector>

#include "ntfs/attribute_walk.hpp"
#include "ntfs/data_runs.hpp"
#include "ntfs/file_record.hpp"
#include "storage/extent_copy.hpp"

namespace pellora {

// The runs of a non-resident attribute, decoded from its run list within the attribute's bytes.
std::vector<DataRun> AttributeRuns(const Attribute& attribute);

// Hands `size` bytes mapped by runs to the sink: clusters read through the reader's device in
// large reads, sparse runs as zeros (no more zeros than the partition has bytes). A read that fails
// ends the copy where it stands; no read starts beyond the volume's read limit.
CopyEnd CopyDataRuns(RecordReader& reader, const std::vector<DataRun>& runs, std::uint64_t size,
                     const ContentSink& sink);

}  // namespace pellora
