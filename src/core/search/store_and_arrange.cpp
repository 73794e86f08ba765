#include "search/store_and_arrange.hpp"

#include "common/guard.hpp"
#include "common/progress.hpp"
#include "common/ui.hpp"
#include "fat/child_folder_naming.hpp"
#include "model/folder_arrangement.hpp"
#include "ntfs/orphan_folders.hpp"

namespace pellora {

void StoreAndArrangeFat(const FatVolume& volume, RecoveredResults& results, Ui& ui, ProgressBar& progress, bool deep) {
  progress.SetRange(0, 1, 1);
  for (const RootEntry& entry : results.root_entries) {
    RecoveredEntry row;
    row.name = entry.name;
    row.sector = entry.sector;
    row.self = entry.self;
    row.parent = kMiscellaneousSelf;
    row.date = entry.date;
    row.time = entry.time;
    row.deleted = true;  // its folder was not found where the entry points
    row.cluster0_start = volume.params.Cluster0Start;
    results.directory.Add(std::move(row));
  }
  results.root_entries.clear();
  results.directory.SortByParent();
  ui.ShowText(UiText::kStatus, "Storing Directory Information. Please wait...");
  ArrangeFolders(
      results, &progress, [&](FolderNode& folder) { ReadChildFolderNames(volume, results, folder, deep); }, deep);
  results.ClearTreeItemMap();
}

void StoreAndArrangeNtfs(RecoveredResults& results, Ui& ui, ProgressBar& progress, ErrorReporter& reporter) {
  ui.ShowText(UiText::kStatus, "Searching Lost Directories. Please wait...");
  progress.SetRange(0, 1, 1);
  results.directory.SortBySelf();
  reporter.Guarded("Searching lost directory informaition of ntfs system...", "R", "3F",
                   [&] { OrphanNtfsFolders(results, &progress); });
  ui.ShowText(UiText::kStatus, "Storing Directory Information. Please wait...");
  results.directory.SortByParent();
  reporter.Guarded("Arrange recoverd data for ntfs ...", "R", "3G", [&] {
    ArrangeNtfsFolders(results, &progress, false);
    OrphanNtfsFiles(results);
  });
  results.ClearTreeItemMap();
  if (!results.tree.Empty()) {
    results.tree.SetExpanded(results.tree.FirstItem(), true);
    results.tree.SortChildren(results.tree.FirstItem());
  }
}

}  // namespace pellora
