#include "app/deep_search_run.hpp"

#include "app/modes.hpp"
#include "search/file_list_filler.hpp"

namespace pellora {

void DeepPartitionTable::MakeCurrent(std::size_t row) {
  if (row >= partitions_.size()) return;
  if (!before_) before_ = app_.working_params;
  app_.working_params = partitions_[row].Params();
}

void DeepPartitionTable::Restore() {
  if (!before_) return;
  app_.working_params = *before_;
  before_.reset();
}

std::optional<std::size_t> DeepPartitionTable::RowOf(std::uint64_t cluster0_start) const {
  for (std::size_t row = 0; row < partitions_.size(); ++row)
    if (partitions_[row].boot.cluster0_start == cluster0_start) return row;
  return std::nullopt;
}

DeepSearchRequest DeepRequestFor(const AppState& app, std::time_t now) {
  const PartitionParams& p = app.partition_params;
  return {.device_path = app.current_device_path,
          .start_sector = p.RangeStart,
          .end_sector = p.RangeEnd,
          .file_system = p.FileSystemName,
          .read_limit_bytes = p.ReadLimitBytes,
          .now = now};
}

DeepPartitionTable InstallDeepSearchResult(AppState& app, DeepSearchResult&& result) {
  app.results = std::move(result.results);
  if (!result.partitions.empty())
    app.working_params = result.partitions.front().Params();
  else if (app.partition_params.FileSystemName.Ntfs())
    app.working_params = result.ntfs_params;
  app.partition_params.fs = app.working_params;
  if (result.stopped) app.stopped = true;
  ShowEndMessage(app, !app.results.tree.Empty() && app.results.nodes.Size() > 0);
  return DeepPartitionTable(app, std::move(result.partitions));
}

std::vector<FileListRow> DeepFileLines(AppState& app, DeepPartitionTable& table, ItemId item) {
  const FolderNode* node = app.results.nodes.ByItem(item);
  if (table.Count() == 0) return FileLines(app, item);
  std::vector<FileListRow> lines;
  for (std::size_t row = 0; row < table.Count(); ++row) {
    if (node != nullptr && table.Cluster0StartOf(row) != node->partition_start) continue;
    table.MakeCurrent(row);
    for (FileListRow& line : FileLines(app, item)) lines.push_back(std::move(line));
    table.Restore();
    if (node != nullptr) break;
  }
  return lines;
}

}  // namespace pellora
