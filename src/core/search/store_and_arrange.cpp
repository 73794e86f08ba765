#include "search/store_and_arrange.hpp"

#include "common/progress.hpp"
#include "common/ui.hpp"
#include "fat/child_folder_naming.hpp"
#include "model/folder_arrangement.hpp"

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

}  // namespace pellora
