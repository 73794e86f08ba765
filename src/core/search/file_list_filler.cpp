#include "search/file_list_filler.hpp"

#include <algorithm>
#include <iterator>
#include <unordered_map>
#include <unordered_set>

#include "fat/folder_listing.hpp"
#include "model/date_time_format.hpp"
#include "model/file_type_description.hpp"
#include "state/current_volume.hpp"

namespace pellora {

namespace {

bool IsFat(const AppState& app) { return app.partition_params.fs.ParamsFileSystemName.Fat(); }

bool IsNtfs(const AppState& app) { return app.partition_params.fs.ParamsFileSystemName.Ntfs(); }

// The Self a folder of the tree stands for; the "Root" item is the root directory.
std::uint64_t FolderSelf(const AppState& app, const FolderNode* node) {
  if (node != nullptr) return node->self;
  return IsNtfs(app) ? kNtfsRootRecord : 0;
}

// The files of an NTFS folder from the rows the scan left; a row's name and size are read from its
// FILE record the first time it is listed (and handed back in details to be kept in the row).
std::vector<FileListRow> NtfsFileLines(AppState& app, std::uint64_t self, std::stop_token stop,
                                       std::vector<NtfsRowDetails>& details) {
  std::vector<FileListRow> lines;
  if (self > UINT32_MAX) return lines;
  app.reporter.Guarded("Add file list for ntfs...", "R", "11C", [&] {
    const NtfsFileTable& files = app.results.ntfs_files;
    const NtfsVolume volume = CurrentNtfsVolume(app, stop);
    RecordReader reader(volume);
    details = ReadFolderFileDetails(reader, app.mft_fragments, files, static_cast<std::uint32_t>(self));
    std::size_t next = 0;
    const std::vector<std::size_t>& rows = files.RowsOfParent(static_cast<std::uint32_t>(self));
    lines.reserve(rows.size());
    // Only index entries can repeat a file: without them no name needs remembering.
    const bool from_index =
        std::any_of(rows.begin(), rows.end(), [&files](std::size_t index) { return files.Row(index).from_index; });
    std::unordered_set<std::string> names;
    for (const std::size_t index : rows) {
      NtfsFileRow row = files.Row(index);
      if (next < details.size() && details[next].row == index) {
        row.name = details[next].details.name;
        row.size = details[next].details.size;
        row.created = details[next].details.created;
        row.deleted = details[next].details.deleted;
        ++next;
      }
      // An index entry (Deep Search) of a file the list already shows adds nothing.
      if (from_index) {
        if (row.from_index && names.contains(row.name)) continue;
        names.insert(row.name);
      }
      FileListRow line;
      line.name = row.name;
      line.type = DescribeFileType(ExtensionOf(row.name));
      line.size = row.size.value_or(0);
      const DateTimeText when = FormatFileTime(row.created.value_or(0));
      line.date = when.date;
      line.time = when.time;
      line.self = row.record_sector;
      line.parent = row.parent;
      line.deleted = row.deleted;
      lines.push_back(std::move(line));
    }
  });
  return lines;
}

}  // namespace

std::vector<FileListRow> FileLines(AppState& app, ItemId item, std::stop_token stop,
                                   std::vector<NtfsRowDetails>* details) {
  const RecoveredResults& results = app.results;
  if (!results.tree.Contains(item)) return {};
  const FolderNode* node = results.nodes.ByItem(item);
  const std::uint64_t self = FolderSelf(app, node);
  if (IsNtfs(app)) {
    std::vector<NtfsRowDetails> read;
    std::vector<FileListRow> lines = NtfsFileLines(app, self, std::move(stop), read);
    if (details != nullptr) *details = std::move(read);
    return lines;
  }
  if (!IsFat(app) || self == kMiscellaneousSelf) return {};
  return ListFatFolder(CurrentFatVolume(app, std::move(stop)), self);
}

FileListFill ReadFileList(AppState& app, ItemId item, std::stop_token stop) {
  FileListFill fill;
  app.reporter.Guarded("Populate select item", "TL", "13A", [&] {
    const RecoveredResults& results = app.results;
    if (!results.tree.Contains(item)) return;
    const auto index = results.nodes.IndexByItem(item);
    if (index && IsFat(app)) fill.child_names = FindChildFolderNames(CurrentFatVolume(app, stop), results, *index);
    const std::uint64_t self = FolderSelf(app, index ? &results.nodes[*index] : nullptr);
    fill.rows = FolderLines(results, item, self);
    // The folder lines show the names the directory just gave.
    if (fill.child_names) {
      std::unordered_map<ItemId, std::size_t> row_of_item;
      for (std::size_t row = 0; row < fill.rows.size(); ++row) row_of_item.emplace(fill.rows[row].tree_item, row);
      for (const ChildFolderName& child : fill.child_names->names) {
        const auto row = row_of_item.find(results.nodes[child.node].tree_item);
        if (row == row_of_item.end()) continue;
        fill.rows[row->second].name = child.name;
        if (child.deleted) fill.rows[row->second].deleted = true;
      }
    }
    std::vector<FileListRow> files = FileLines(app, item, stop, &fill.ntfs_details);
    if (fill.rows.empty()) {
      fill.rows = std::move(files);
    } else {
      fill.rows.reserve(fill.rows.size() + files.size());
      std::move(files.begin(), files.end(), std::back_inserter(fill.rows));
    }
  });
  app.sectors.EndRun();
  return fill;
}

void KeepFileListFill(AppState& app, const FileListFill& fill) {
  if (fill.child_names) KeepChildFolderNames(app.results, *fill.child_names, false);
  KeepFolderFileDetails(app.results.ntfs_files, fill.ntfs_details);
}

std::vector<FileListRow> FillFileList(AppState& app, ItemId item, std::stop_token stop) {
  FileListFill fill = ReadFileList(app, item, std::move(stop));
  KeepFileListFill(app, fill);
  return std::move(fill.rows);
}

}  // namespace pellora
