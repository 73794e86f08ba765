#pragma once

#include <cstdint>
#include <ctime>
#include <functional>
#include <vector>

#include "fat/directory_cluster.hpp"
#include "fat/fat_volume.hpp"
#include "fat/found_partition.hpp"
#include "model/recovered_results.hpp"

namespace pellora {

class ErrorReporter;
class ProgressBar;
class Ui;

// An entry of a found partition's root directory.
struct PartitionRootEntry {
  std::uint64_t partition = 0;  // the partition's cluster-0 sector
  RootEntry entry;
};

// The FAT engine's view of a found partition.
using PartitionVolume = std::function<FatVolume(const FoundPartition& partition)>;

// "Filter search results" and the arrangement of a FAT Deep Search: the miscellaneous folder, then
// for each partition in table order the directories it owns, named from its root directory where
// an entry points at them; root entries no directory took go under the miscellaneous folder. The
// tree is then built level by level; each folder carries its partition's cluster-0 sector, takes
// children of its own partition only, and has its directory read on its own partition for the
// names of its lost children.
void ArrangeDeepFat(const std::vector<FoundDirectory>& directories, std::vector<PartitionRootEntry> root_entries,
                    const std::vector<FoundPartition>& partitions, const PartitionVolume& volume_of,
                    RecoveredResults& results, Ui& ui, ProgressBar& progress, ErrorReporter& reporter, std::time_t now);

}  // namespace pellora
