#include "search/deep_fat_arrangement.hpp"

#include <map>
#include <unordered_set>

#include "common/guard.hpp"
#include "common/progress.hpp"
#include "common/ui.hpp"
#include "fat/child_folder_naming.hpp"
#include "model/date_time_format.hpp"
#include "model/folder_arrangement.hpp"

namespace pellora {

namespace {

// Takes the name of the last root entry of the partition that points at the cluster (as Basic
// Search does), and removes that entry so that it is not filed with the orphans as well.
bool TakeRootName(std::vector<PartitionRootEntry>& roots, std::uint64_t partition, std::uint64_t self,
                  RecoveredEntry& row) {
  for (auto it = roots.rbegin(); it != roots.rend(); ++it) {
    if (it->partition != partition || it->entry.self != self) continue;
    row.name = it->entry.name;
    row.deleted = it->entry.deleted;
    roots.erase(std::next(it).base());
    return true;
  }
  return false;
}

void FilterSearchResults(const std::vector<FoundDirectory>& directories, std::vector<PartitionRootEntry>& roots,
                         const std::vector<FoundPartition>& partitions, RecoveredResults& results, std::time_t now) {
  results.directory.Add(MiscellaneousEntry(FatStyleTimeWord(now)));
  // The directories of each partition, in table order; a partition listed twice adds nothing more.
  std::map<std::uint64_t, std::vector<std::size_t>> by_partition;
  for (std::size_t d = 0; d < directories.size(); ++d) by_partition[directories[d].partition].push_back(d);
  std::unordered_set<std::uint64_t> filtered;
  for (const FoundPartition& partition : partitions) {
    const std::uint64_t key = partition.boot.cluster0_start;
    if (!filtered.insert(key).second) continue;
    const auto owned = by_partition.find(key);
    if (owned == by_partition.end()) continue;
    for (const std::size_t d : owned->second) {
      const FoundDirectory& found = directories[d];
      RecoveredEntry row;
      row.name = found.name;
      row.sector = found.sector;
      row.self = found.self;
      row.parent = found.parent;
      row.date = found.date;
      row.time = found.time;
      row.cluster0_start = key;
      if (row.name.empty()) TakeRootName(roots, key, found.self, row);
      results.directory.Add(std::move(row));
    }
  }
  // What the root directories hold besides the folders found: under the miscellaneous folder.
  for (PartitionRootEntry& root : roots) {
    RecoveredEntry row;
    row.name = std::move(root.entry.name);
    row.sector = root.entry.sector;
    row.self = root.entry.self;
    row.parent = kMiscellaneousSelf;
    row.date = root.entry.date;
    row.time = root.entry.time;
    row.deleted = true;  // its folder was not found where the entry points
    row.cluster0_start = root.partition;
    results.directory.Add(std::move(row));
  }
}

}  // namespace

void ArrangeDeepFat(const std::vector<FoundDirectory>& directories, std::vector<PartitionRootEntry> root_entries,
                    const std::vector<FoundPartition>& partitions, const PartitionVolume& volume_of,
                    RecoveredResults& results, Ui& ui, ProgressBar& progress, ErrorReporter& reporter,
                    std::time_t now) {
  reporter.Guarded("Filter search results", "R", "3F",
                   [&] { FilterSearchResults(directories, root_entries, partitions, results, now); });
  std::map<std::uint64_t, FatVolume> volumes;
  for (const FoundPartition& partition : partitions)
    volumes.try_emplace(partition.boot.cluster0_start, volume_of(partition));
  ui.ShowText(UiText::kStatus, "Arranging recoverd data");
  reporter.Guarded("Arranging recoverd data", "R", "2D", [&] {
    results.directory.SortByParent();
    const auto name_children = [&](FolderNode& folder) {
      const auto volume = volumes.find(folder.partition_start);
      if (volume != volumes.end()) ReadChildFolderNames(volume->second, results, folder, true);
    };
    ArrangeFolders(results, &progress, name_children, true);
  });
  results.ClearTreeItemMap();
}

}  // namespace pellora
