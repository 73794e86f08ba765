#include "save/selected_rows_saving.hpp"

#include "model/file_type_description.hpp"
#include "save/checked_tree_saving.hpp"
#include "save/deep_mode.hpp"
#include "save/destination_naming.hpp"
#include "save/fat_file_writer.hpp"
#include "save/ntfs_file_writer.hpp"

namespace pellora {

void WalkSelectedRows(SaveRun& run, const std::vector<FileListRow>& rows, const std::function<void(ItemId)>& folder,
                      const std::function<void(const FileListRow&)>& file) {
  const ResultTree& tree = run.app.results.tree;
  for (const FileListRow& row : rows) {
    if (run.Stopped()) return;
    if (IsFolderTypeText(row.type)) {
      if (!tree.Contains(row.tree_item)) continue;
      ForEachInSubtree(tree, row.tree_item, [&](ItemId item) {
        if (!run.Stopped()) folder(item);
      });
    } else if (IsFileTypeText(row.type)) {
      file(row);
    }
  }
}

void SaveSelectedRows(SaveRun& run, const std::vector<FileListRow>& rows) {
  run.app.reporter.Guarded("Save selected items...", "S", "8TB", [&] {
    WalkSelectedRows(
        run, rows, [&](ItemId item) { SaveFolderItem(run, item); },
        [&](const FileListRow& row) {
          const std::filesystem::path path = FileDestination(run.state.destination_base, row.name, row.short_name);
          run.ShowCounters();
          const auto write = [&] {
            if (run.Fat()) {
              WriteFatFile(run, {.path = path,
                                 .name = row.name,
                                 .size = row.size,
                                 .first_cluster = static_cast<std::uint32_t>(row.self)});
            } else if (run.Ntfs()) {
              WriteNtfsFile(run, {.path = path, .name = row.name, .record_sector = row.self});
            }
          };
          // A Deep line is read from the partition it was listed from, not the current one.
          OnPartitionOf(run, row.partition_start.value_or(run.app.working_params.Cluster0Start), write);
        });
  });
}

}  // namespace pellora
