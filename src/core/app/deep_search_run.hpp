#pragma once

#include <cstddef>
#include <cstdint>
#include <ctime>
#include <optional>
#include <vector>

#include "fat/found_partition.hpp"
#include "model/file_list.hpp"
#include "save/deep_mode.hpp"
#include "search/deep_search.hpp"
#include "state/app_state.hpp"

namespace pellora {

// The partitions a Deep Search found, as saving and the file list use them: making one current
// puts its values into the working copy that the FAT engine and the savers read.
class DeepPartitionTable final : public DeepPartitions {
 public:
  DeepPartitionTable(AppState& app, std::vector<FoundPartition> partitions)
      : app_(app), partitions_(std::move(partitions)) {}

  std::size_t Count() const override { return partitions_.size(); }
  std::uint64_t Cluster0StartOf(std::size_t row) const override { return partitions_[row].boot.cluster0_start; }
  void MakeCurrent(std::size_t row) override;
  void Restore() override;

  const std::vector<FoundPartition>& Rows() const { return partitions_; }
  // The first row of the partition whose cluster-0 sector this is.
  std::optional<std::size_t> RowOf(std::uint64_t cluster0_start) const;

 private:
  AppState& app_;
  std::vector<FoundPartition> partitions_;
  std::optional<FileSystemParams> before_;
};

// The Deep Search of the partition or range that validation made current.
DeepSearchRequest DeepRequestFor(const AppState& app, std::time_t now);

// Hands a finished (or stopped) Deep Search over to the application: its results become the
// current ones, its first partition the current partition, and the end message is shown. Returns
// the table of the partitions it found.
DeepPartitionTable InstallDeepSearchResult(AppState& app, DeepSearchResult&& result);

// The file lines of a folder of a Deep result, read on the folder's own partition; the "Root"
// item lists the root directory of every partition found.
std::vector<FileListRow> DeepFileLines(AppState& app, DeepPartitionTable& table, ItemId item);

}  // namespace pellora
