#pragma once

#include <stop_token>

#include "fat/found_partition.hpp"
#include "storage/source.hpp"

namespace pellora {

class ProgressBar;

// Looks for the two FATs of a partition whose boot sector is lost: in the sectors before its
// cluster-0 sector (550 of them for FAT16, 30,000 for FAT32; from sector 63 when the partition lies
// nearer the start), the first two sectors that begin with F8 FF FF are the first and the second
// FAT. Marks the row as searched; unreadable sectors are passed over. When both are found, the
// distance between them is taken as the size of a FAT, so that cluster chains can be followed.
void LocateFats(Source& device, FoundPartition& partition, ProgressBar* progress, std::stop_token stop);

}  // namespace pellora
