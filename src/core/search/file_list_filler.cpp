#include "search/file_list_filler.hpp"

#include <unordered_set>

#include "app/current_volume.hpp"
#include "fat/child_folder_naming.hpp"
#include "fat/folder_listing.hpp"
#include "model/date_time_format.hpp"
#include "model/file_type_description.hpp"
#include "ntfs/file_details.hpp"

namespace pellora {

namespace {

bool IsFat(const AppState& app) {
  const std::string& name = app.partition_params.fs.ParamsFileSystemName;
  return name == "FAT16" || name == "FAT32";
}

bool IsNtfs(const AppState& app) { return app.partition_params.fs.ParamsFileSystemName == "NTFS"; }

// The Self a folder of the tree stands for; the "Root" item is the root directory.
std::uint64_t FolderSelf(const AppState& app, const FolderNode* node) {
  if (node != nullptr) return node->self;
  return IsNtfs(app) ? kNtfsRootRecord : 0;
}

// The files of an NTFS folder from the rows the scan left; a row's name and size are read from its
// FILE record the first time it is listed and kept in the row.
std::vector<FileListRow> NtfsFileLines(AppState& app, std::uint64_t self) {
  std::vector<FileListRow> lines;
  if (self > UINT32_MAX) return lines;
  app.reporter.Guarded("Add file list for ntfs...", "R", "11C", [&] {
    NtfsFileTable& files = app.results.ntfs_files;
    const NtfsVolume volume = CurrentNtfsVolume(app);
    RecordReader reader(volume);
    ReadFolderFileDetails(reader, app.mft_fragments, files, static_cast<std::uint32_t>(self));
    std::unordered_set<std::string> names;
    for (const std::size_t index : files.RowsOfParent(static_cast<std::uint32_t>(self))) {
      const NtfsFileRow& row = files.Row(index);
      // An index entry (Deep Search) of a file the list already shows adds nothing.
      if (row.from_index && names.contains(row.name)) continue;
      names.insert(row.name);
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

std::vector<FileListRow> FileLines(AppState& app, ItemId item) {
  RecoveredResults& results = app.results;
  if (!results.tree.Contains(item)) return {};
  const FolderNode* node = results.nodes.ByItem(item);
  const std::uint64_t self = FolderSelf(app, node);
  if (IsNtfs(app)) return NtfsFileLines(app, self);
  if (!IsFat(app) || self == kMiscellaneousSelf) return {};
  return ListFatFolder(CurrentFatVolume(app), self);
}

std::vector<FileListRow> FillFileList(AppState& app, ItemId item) {
  std::vector<FileListRow> lines;
  app.reporter.Guarded("Populate select item", "TL", "13A", [&] {
    RecoveredResults& results = app.results;
    if (!results.tree.Contains(item)) return;
    const auto index = results.nodes.IndexByItem(item);
    if (index && IsFat(app)) ReadChildFolderNames(CurrentFatVolume(app), results, results.nodes[*index], false);
    const std::uint64_t self = FolderSelf(app, index ? &results.nodes[*index] : nullptr);
    lines = FolderLines(results, item, self);
    for (FileListRow& line : FileLines(app, item)) lines.push_back(std::move(line));
  });
  return lines;
}

}  // namespace pellora
