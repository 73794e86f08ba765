#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "common/search_mode.hpp"
#include "fat/found_partition.hpp"
#include "model/recovered_results.hpp"
#include "recognition/partition_params.hpp"
#include "recoverylog/drive_identity.hpp"

namespace pellora {

// What a recovery log holds about a finished Basic or Deep search, as the writer reads it from the
// search's results (nothing is copied) ...
struct LogSource {
  SearchMode mode = SearchMode::kBasic;
  const ScannedDrive& drive;
  bool physical_scan = false;
  const PartitionParams& partition_params;
  const FileSystemParams& working_params;
  const RecoveredResults& results;
  bool ntfs_sorted = false;
  // Deep Search's found partitions (FAT); nullptr in Basic.
  const std::vector<FoundPartition>* deep_partitions = nullptr;
};

// ... and as the loader hands it back.
struct LoadedLog {
  SearchMode mode = SearchMode::kBasic;
  std::string drive_kind;
  std::string description;
  std::string device_path;  // the drive to read again: the one present now that the log was made of
  PartitionParams partition_params;
  FileSystemParams working_params;
  RecoveredResults results;
  bool ntfs_sorted = false;
  std::vector<FoundPartition> deep_partitions;
  // Deep NTFS: the rows of the table of partitions (drive, partition, start, end, cluster 0 start,
  // drive end sector), kept as stored.
  std::vector<std::array<std::string, 6>> deep_ntfs_partitions;
};

// Fields 10 to 21 of PartitionParams in the order and widths a log stores them; visit(field) is
// called for each (FileSystemParams const or not).
template <typename Params, typename Visit>
void ForEachFileSystemValue(Params& p, Visit&& visit) {
  visit(p.FatSectors);
  visit(p.SectorsPerCluster);
  visit(p.RootSec);
  visit(p.RootStartSec);
  visit(p.ReserveSecStart);
  visit(p.Cluster0Start);
  visit(p.firstFAT);
  visit(p.secondFAT);
  visit(p.MftStart);
  visit(p.MftMirrStart);
  visit(p.SectorsPerMftRecord);
  visit(p.SectorsPerIndexRecord);
}

// The columns a Deep log stores of a found partition: the eleven of its boot sector ("Sector" ...
// "PartType") and its "End Sector".
inline constexpr std::size_t kDeepPartitionColumns = 12;
std::array<std::string, kDeepPartitionColumns> DeepPartitionColumns(const FoundPartition& partition);
FoundPartition DeepPartitionFromColumns(const std::array<std::string, kDeepPartitionColumns>& columns);

// The NTFS file row columns a log stores: "sector" to "type".
inline constexpr std::size_t kNtfsRowColumns = 6;
NtfsFileRow NtfsRowFromColumns(const std::array<std::string, kNtfsRowColumns>& columns);

// Folders deeper than this are no file system's: a log that claims them is corrupt (and would
// make every walk of the tree recurse that deep).
inline constexpr std::size_t kMaxLogTreeDepth = 4096;

}  // namespace pellora
