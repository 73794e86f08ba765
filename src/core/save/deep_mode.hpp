#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>

#include "model/result_tree.hpp"

namespace pellora {

class SaveRun;

// Deep Search's table of the partitions it found, as saving uses it. A folder of a Deep Search
// result carries the Cluster0Start of its partition; its files are read with that partition's
// values made current.
class DeepPartitions {
 public:
  virtual ~DeepPartitions() = default;
  virtual std::size_t Count() const = 0;
  virtual std::uint64_t Cluster0StartOf(std::size_t row) const = 0;
  // The partition of a row becomes the current one (its values become the working copy).
  virtual void MakeCurrent(std::size_t row) = 0;
  // The partition that was current before the first MakeCurrent comes back.
  virtual void Restore() = 0;
};

// Runs save_files for a ticked folder with the partition its files lie on made current, and
// restores the previous partition afterwards. In Deep mode: a folder whose partition differs from
// its parent folder's is read once on every partition of the table, since its directory may lie on
// any of them; any other folder (right under "Root", under "ZYD_Miscellaneous", or on its parent's
// partition) on the partition whose cluster-0 sector it carries; outside Deep mode on the current
// partition.
void WithFolderPartition(SaveRun& run, ItemId item, const std::function<void()>& save_files);

// Runs save_files with the partition of this cluster-0 sector made current (Deep mode, when the
// table has it; else on the current partition), restoring the previous one afterwards.
void OnPartitionOf(SaveRun& run, std::uint64_t cluster0_start, const std::function<void()>& save_files);

// Runs save_files once on the current partition, or in Deep mode once on each partition of the
// table in turn (the root directory's own files), restoring the previous partition afterwards.
void ForEveryPartition(SaveRun& run, const std::function<void()>& save_files);

}  // namespace pellora
