#pragma once

#include <cstddef>
#include <cstdint>
#include <ctime>
#include <optional>
#include <stop_token>
#include <vector>

#include "fat/found_partition.hpp"
#include "model/file_list.hpp"
#include "save/deep_mode.hpp"
#include "search/deep_search.hpp"
#include "search/file_list_filler.hpp"
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

// The range fields of a Deep Search: the typed range replaces the validated drive's own extent
// (its end held to the disk's). Refuses, with the window's message, a range that ends where it
// starts or before.
bool ApplySearchRange(AppState& app, std::uint64_t start, std::uint64_t end);

// Hands a finished (or stopped) Deep Search over to the application: its results become the
// current ones, its first partition the current partition. Returns the table of the partitions it
// found. Install also shows the end message; a window that shows the tree first takes the result
// and shows the message itself once the tree is drawn.
DeepPartitionTable TakeDeepSearchResult(AppState& app, DeepSearchResult&& result);
DeepPartitionTable InstallDeepSearchResult(AppState& app, DeepSearchResult&& result);
// The end message of the Deep Search whose result is the current one.
void ShowDeepEndMessage(AppState& app);

// The file lines of a folder of a Deep result, read on the folder's own partition; the "Root"
// item lists the root directory of every partition found.
std::vector<FileListRow> DeepFileLines(AppState& app, DeepPartitionTable& table, ItemId item);

// The file list of a folder of a Deep result as the window shows it: its child folders, then its
// files, read on the folder's own partition (the "Root" item: the root directory of every
// partition). Only reads the results (the partition made current is put back), so it may run on a
// worker while the owner of the results shows them; KeepFileListFill keeps what it learnt.
FileListFill ReadDeepFileList(AppState& app, DeepPartitionTable& table, ItemId item, std::stop_token stop = {});

// The row of the partition a folder's files lie on: its own; the first for the "Root" item.
std::optional<std::size_t> FolderPartitionRow(const AppState& app, const DeepPartitionTable& table, ItemId item);

}  // namespace pellora
