#pragma once

#include <cstddef>
#include <cstdint>
#include <ctime>
#include <stop_token>
#include <string>
#include <vector>

#include "fat/found_partition.hpp"
#include "model/recovered_results.hpp"
#include "recognition/partition_params.hpp"

namespace pellora {

class ErrorReporter;
class SectorAccess;
class Ui;

// What a Deep Search reads: a range of a device, searched for one file-system type.
struct DeepSearchRequest {
  std::string device_path;
  std::uint64_t start_sector = 0;
  std::uint64_t end_sector = 0;  // not included
  FileSystemKind file_system;
  std::uint64_t read_limit_bytes = 0;
  std::time_t now = 0;  // stamps the miscellaneous folder
};

// What a Deep Search found, arranged: the result tree with its tables, and the partitions its
// folders were read from (FAT: one row per partition found; NTFS: the range's own values).
struct DeepSearchResult {
  RecoveredResults results;
  std::vector<FoundPartition> partitions;
  FileSystemParams ntfs_params;
  std::size_t boot_sectors_found = 0;  // FAT
  std::size_t directories_found = 0;   // FAT directory clusters, or NTFS folder rows
  std::size_t records_found = 0;       // NTFS: FILE records and registered index records
  bool stopped = false;

  bool Empty() const { return results.nodes.Size() == 0; }
};

// The Deep Search worker: reads every sector of the range for the structures of the file system
// (FAT boot sectors and directory clusters; NTFS FILE and INDX records), rebuilds the partitions'
// geometry and the folder tree from them, and hands back what it found. It owns every table while
// it runs; nothing else reads them until it returns. A stop request ends the reading at its next
// chunk; what was found up to then is analysed and arranged like a finished search.
DeepSearchResult RunDeepSearch(const DeepSearchRequest& request, SectorAccess& sectors, Ui& ui, ErrorReporter& reporter,
                               std::stop_token stop);

}  // namespace pellora
