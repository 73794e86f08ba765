#pragma once

#include <cstdint>

#include "fat/found_boot_sector.hpp"
#include "recognition/partition_params.hpp"

namespace pellora {

// A FAT partition whose directories a Deep Search recovers: a found boot sector that owns at least
// one directory, or a partition inferred from its directories alone (then only the cluster size,
// the cluster-0 sector and the type are known until its FATs are looked for).
struct FoundPartition {
  FoundBootSector boot;
  std::uint64_t end_sector = 0;  // "End Sector"
  bool fat_searched = false;     // "Read_4_fat_0": its FATs had to be looked for

  // The values the FAT engine reads the partition with. A root whose place is not known is taken
  // where formatting tools put it: cluster 2 (FAT32), or 32 sectors (512 entries) right before
  // cluster 2 (FAT16).
  FileSystemParams Params() const;
};

// A partition inferred from directories: cluster size, cluster-0 sector and type only.
FoundPartition InferredPartition(std::uint32_t sectors_per_cluster, std::uint64_t cluster0_start,
                                 FileSystemKind file_system);

}  // namespace pellora
