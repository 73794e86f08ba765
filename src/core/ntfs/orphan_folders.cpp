#include "ntfs/orphan_folders.hpp"

#include <unordered_set>

#include "common/progress.hpp"

namespace pellora {

void OrphanNtfsFolders(RecoveredResults& results, ProgressBar* progress) {
  DirectoryTable& table = results.directory;
  const std::uint64_t rows = table.Size();
  if (progress != nullptr) progress->SetRange(0, rows, 1);
  for (std::size_t row = 0; row < table.Size(); ++row) {
    RecoveredEntry& entry = table.Row(row);
    if (entry.parent != kNtfsRootRecord && !table.HasSelf(entry.parent) && results.PlacedItem(entry.parent) == kNoItem)
      entry.parent = kMiscellaneousSelf;
    if (progress != nullptr) progress->Advance(0, rows, row, 1);
  }
}

void OrphanNtfsFiles(RecoveredResults& results) {
  NtfsFileTable& files = results.ntfs_files;
  if (files.Size() == 0) return;
  std::unordered_set<std::uint64_t> folders{kNtfsRootRecord};
  for (const FolderNode& node : results.nodes) folders.insert(node.self);
  for (std::size_t row = 0; row < files.Size(); ++row)
    if (!folders.contains(files.Row(row).parent)) files.SetParent(row, static_cast<std::uint32_t>(kMiscellaneousSelf));
}

}  // namespace pellora
