#include "save/deep_mode.hpp"

#include "model/recovered_entry.hpp"
#include "save/save_run.hpp"

namespace pellora {

namespace {

// Brings the previous partition back however the saving in between ends.
class PartitionRestorer {
 public:
  explicit PartitionRestorer(DeepPartitions& table) : table_(table) {}
  ~PartitionRestorer() {
    if (switched_) table_.Restore();
  }
  PartitionRestorer(const PartitionRestorer&) = delete;
  PartitionRestorer& operator=(const PartitionRestorer&) = delete;

  void MakeCurrent(std::size_t row) {
    table_.MakeCurrent(row);
    switched_ = true;
  }

 private:
  DeepPartitions& table_;
  bool switched_ = false;
};

void OnEveryPartition(SaveRun& run, const std::function<void()>& save_files) {
  PartitionRestorer restorer(*run.deep);
  for (std::size_t row = 0; row < run.deep->Count() && !run.Stopped(); ++row) {
    restorer.MakeCurrent(row);
    save_files();
  }
}

}  // namespace

void OnPartitionOf(SaveRun& run, std::uint64_t cluster0_start, const std::function<void()>& save_files) {
  if (!run.DeepMode()) {
    save_files();
    return;
  }
  PartitionRestorer restorer(*run.deep);
  if (cluster0_start != run.app.working_params.Cluster0Start) {
    for (std::size_t row = 0; row < run.deep->Count(); ++row) {
      if (run.deep->Cluster0StartOf(row) != cluster0_start) continue;
      restorer.MakeCurrent(row);
      break;
    }
  }
  save_files();
}

void WithFolderPartition(SaveRun& run, ItemId item, const std::function<void()>& save_files) {
  const RecoveredResults& results = run.app.results;
  const FolderNode* node = run.DeepMode() ? results.nodes.ByItem(item) : nullptr;
  if (node == nullptr) {
    save_files();
    return;
  }
  const FolderNode* parent = results.nodes.ByItem(results.tree.Parent(item));
  if (parent != nullptr && parent->self != kMiscellaneousSelf && node->partition_start != parent->partition_start) {
    OnEveryPartition(run, save_files);
    return;
  }
  // Right under "Root", among the orphans, or on its parent's partition: the folder's own. (The
  // partition that happens to be current after the previous folder would read the clusters of a
  // deeper folder of another partition from the wrong sectors.)
  OnPartitionOf(run, node->partition_start, save_files);
}

void ForEveryPartition(SaveRun& run, const std::function<void()>& save_files) {
  if (run.DeepMode()) {
    OnEveryPartition(run, save_files);
  } else {
    save_files();
  }
}

}  // namespace pellora
