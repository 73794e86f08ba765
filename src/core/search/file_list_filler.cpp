#include "search/file_list_filler.hpp"

#include "fat/child_folder_naming.hpp"
#include "fat/folder_listing.hpp"
#include "search/basic_search.hpp"

namespace pellora {

namespace {

bool IsFat(const AppState& app) {
  const std::string& name = app.partition_params.fs.ParamsFileSystemName;
  return name == "FAT16" || name == "FAT32";
}

}  // namespace

std::vector<FileListRow> FileLines(AppState& app, ItemId item) {
  RecoveredResults& results = app.results;
  if (!results.tree.Contains(item) || !IsFat(app)) return {};
  const FolderNode* node = results.nodes.ByItem(item);
  if (node != nullptr && node->self == kMiscellaneousSelf) return {};
  const std::uint64_t self = node == nullptr ? 0 : node->self;  // the "Root" item: the root directory
  return ListFatFolder(CurrentFatVolume(app), self);
}

std::vector<FileListRow> FillFileList(AppState& app, ItemId item) {
  std::vector<FileListRow> lines;
  app.reporter.Guarded("Populate select item", "TL", "13A", [&] {
    RecoveredResults& results = app.results;
    if (!results.tree.Contains(item)) return;
    std::uint64_t self = 0;  // the "Root" item
    if (const auto index = results.nodes.IndexByItem(item)) {
      if (IsFat(app)) ReadChildFolderNames(CurrentFatVolume(app), results, results.nodes[*index], false);
      self = results.nodes[*index].self;
    }
    lines = FolderLines(results, item, self);
    for (FileListRow& line : FileLines(app, item)) lines.push_back(std::move(line));
  });
  return lines;
}

}  // namespace pellora
