#include "app/deep_search_run.hpp"

#include <algorithm>

#include "app/modes.hpp"
#include "recognition/validate_partition.hpp"
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

bool ApplySearchRange(AppState& app, std::uint64_t start, std::uint64_t end) {
  PartitionParams& p = app.partition_params;
  const std::uint64_t disk_total = app.drive_listing.current_total_sectors;
  end = std::min(end, disk_total);
  if (end <= start) {
    app.ui.ShowMessage(kEndNotAfterStart);
    return false;
  }
  p.StartSector = p.RangeStart = start;
  p.EndSector = p.RangeEnd = end;
  p.ReadLimitBytes = std::max(disk_total, end) * 512;
  app.read_guard.SetReadLimitBytes(p.ReadLimitBytes);
  app.ui.ShowText(UiText::kSearchRange, SearchRangeText(start, end));
  return true;
}

DeepPartitionTable TakeDeepSearchResult(AppState& app, DeepSearchResult&& result) {
  app.results = std::move(result.results);
  if (!result.partitions.empty())
    app.working_params = result.partitions.front().Params();
  else if (app.partition_params.FileSystemName.Ntfs())
    app.working_params = result.ntfs_params;
  app.partition_params.fs = app.working_params;
  if (result.stopped) app.stopped = true;
  return DeepPartitionTable(app, std::move(result.partitions));
}

void ShowDeepEndMessage(AppState& app) {
  ShowEndMessage(app, !app.results.tree.Empty() && app.results.nodes.Size() > 0);
}

DeepPartitionTable InstallDeepSearchResult(AppState& app, DeepSearchResult&& result) {
  DeepPartitionTable table = TakeDeepSearchResult(app, std::move(result));
  ShowDeepEndMessage(app);
  return table;
}

std::vector<FileListRow> DeepFileLines(AppState& app, DeepPartitionTable& table, ItemId item) {
  const FolderNode* node = app.results.nodes.ByItem(item);
  if (table.Count() == 0) return FileLines(app, item);
  std::vector<FileListRow> lines;
  for (std::size_t row = 0; row < table.Count(); ++row) {
    if (node != nullptr && table.Cluster0StartOf(row) != node->partition_start) continue;
    table.MakeCurrent(row);
    for (FileListRow& line : FileLines(app, item)) {
      line.partition_start = table.Cluster0StartOf(row);
      lines.push_back(std::move(line));
    }
    table.Restore();
    if (node != nullptr) break;
  }
  return lines;
}

}  // namespace pellora

namespace pellora {

std::optional<std::size_t> FolderPartitionRow(const AppState& app, const DeepPartitionTable& table, ItemId item) {
  if (table.Count() == 0) return std::nullopt;
  const FolderNode* node = app.results.nodes.ByItem(item);
  if (node == nullptr) return 0;
  return table.RowOf(node->partition_start);
}

FileListFill ReadDeepFileList(AppState& app, DeepPartitionTable& table, ItemId item, std::stop_token stop) {
  if (table.Count() == 0) return ReadFileList(app, item, stop);
  const std::optional<std::size_t> row = FolderPartitionRow(app, table, item);
  const FolderNode* node = app.results.nodes.ByItem(item);
  if (!row) {
    // A folder of no partition found (the miscellaneous folder): its child folders only.
    FileListFill fill;
    if (node != nullptr) fill.rows = FolderLines(app.results, item, node->self);
    return fill;
  }
  table.MakeCurrent(*row);
  FileListFill fill = ReadFileList(app, item, stop);
  table.Restore();
  for (FileListRow& line : fill.rows)
    if (!line.IsFolder()) line.partition_start = table.Cluster0StartOf(*row);
  if (node != nullptr) return fill;
  for (std::size_t other = 1; other < table.Count() && !stop.stop_requested(); ++other) {
    table.MakeCurrent(other);
    for (FileListRow& line : FileLines(app, item, stop)) {
      line.partition_start = table.Cluster0StartOf(other);
      fill.rows.push_back(std::move(line));
    }
    table.Restore();
  }
  return fill;
}

}  // namespace pellora
