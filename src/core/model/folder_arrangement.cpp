#include "model/folder_arrangement.hpp"

#include <unordered_set>

#include "common/progress.hpp"

namespace pellora {

namespace {

ItemId PlaceRow(RecoveredResults& results, std::size_t row, ItemId parent_item, bool deep) {
  const RecoveredEntry entry = results.directory.Row(row);
  results.directory.Take(row);
  const std::string name = entry.name.empty() ? results.NextUnnamedFolderName() : entry.name;
  return results.AddFolderNode(parent_item, name, entry.self, entry.date, entry.time.value_or(0), entry.parent,
                               entry.deleted, deep ? entry.cluster0_start.value_or(0) : 0);
}

// Walks the folder nodes from the first on, attaching each one's child rows; nodes placed by the
// walk are reached later by the same walk, so the tree grows level by level.
void AttachLevelByLevel(RecoveredResults& results, ProgressBar* progress, bool deep, std::size_t first_node = 0) {
  const std::uint64_t total = results.directory.Size() + results.nodes.Size();
  if (progress != nullptr) progress->SetRange(0, total, 1);
  for (std::size_t cursor = first_node; cursor < results.nodes.Size() && results.directory.Remaining() > 0; ++cursor) {
    const FolderNode& node = results.nodes[cursor];
    AttachChildFolders(results, node.self, node.tree_item, deep);
    if (progress != nullptr) progress->Advance(0, total, cursor, 1);
  }
}

bool NeedsChildNames(const RecoveredResults& results, const FolderNode& node) {
  if (node.children_read || node.self == kMiscellaneousSelf) return false;
  const auto& children = results.tree.Children(node.tree_item);
  return !children.empty() && results.tree.Title(children.front()).find("DIR") != std::string::npos;
}

}  // namespace

void AttachChildFolders(RecoveredResults& results, std::uint64_t self, ItemId item, bool deep) {
  const auto [first, last] = results.directory.RowsWithParent(self);
  // Deep Search: cluster numbers repeat across partitions, so a folder takes only the children of
  // its own partition (the orphans' folder takes any).
  const FolderNode* node = deep ? results.nodes.ByItem(item) : nullptr;
  const bool same_partition_only = node != nullptr && node->self != kMiscellaneousSelf;
  const std::uint64_t partition = node != nullptr ? node->partition_start : 0;  // nodes grow below
  for (std::size_t row = first; row < last; ++row) {
    if (results.directory.Taken(row) || results.directory.Row(row).parent != self) continue;
    if (same_partition_only && results.directory.Row(row).cluster0_start.value_or(0) != partition) continue;
    if (results.directory.Row(row).type == "FOLDER") PlaceRow(results, row, item, deep);
  }
}

void FileOrphansToMiscellaneous(RecoveredResults& results, bool deep) {
  if (results.nodes.Size() == 0 || (results.directory.Remaining() == 0 && results.root_entries.empty())) return;
  ItemId misc = results.MiscellaneousItem();
  if (misc == kNoItem) misc = results.RootItem();

  // An orphan keeps its own subfolders: only the tops of orphaned branches go under the
  // miscellaneous folder, and their children are attached below them as usual.
  std::unordered_set<std::uint64_t> orphan_selves;
  for (std::size_t row = 0; row < results.directory.Size(); ++row)
    if (!results.directory.Taken(row)) orphan_selves.insert(results.directory.Row(row).self);
  const std::size_t first_new = results.nodes.Size();
  for (std::size_t row = 0; row < results.directory.Size(); ++row) {
    const RecoveredEntry& entry = results.directory.Row(row);
    if (!results.directory.Taken(row) && entry.parent != 0 && !orphan_selves.contains(entry.parent))
      PlaceRow(results, row, misc, deep);
  }
  AttachLevelByLevel(results, nullptr, deep, first_new);
  // Folders that are each other's parents have no top; they go under it as they are.
  for (std::size_t row = 0; row < results.directory.Size(); ++row)
    if (!results.directory.Taken(row) && results.directory.Row(row).parent != 0) PlaceRow(results, row, misc, deep);

  for (const RootEntry& entry : results.root_entries)
    results.AddFolderNode(misc, entry.name, entry.self, entry.date, entry.time, 0, true, 0);
  results.root_entries.clear();
}

void ArrangeFolders(RecoveredResults& results, ProgressBar* progress, const ChildFolderNamer& name_children,
                    bool deep) {
  const ItemId root = results.RootItem();
  const auto [first, last] = results.directory.RowsWithParent(0);
  for (std::size_t row = first; row < last; ++row)
    if (!results.directory.Taken(row) && results.directory.Row(row).parent == 0) PlaceRow(results, row, root, deep);
  results.tree.SetExpanded(root, true);

  AttachLevelByLevel(results, progress, deep);
  FileOrphansToMiscellaneous(results, deep);
  results.directory.Clear();

  // Reading a folder's directory gives its lost child folders the names stored there.
  for (std::size_t index = 0; index < results.nodes.Size(); ++index) {
    FolderNode& node = results.nodes[index];
    const bool has_children = !results.tree.Children(node.tree_item).empty();
    if (!has_children && !node.name.starts_with("DIR")) continue;
    if (name_children && NeedsChildNames(results, node)) name_children(node);
    results.nodes[index].children_read = true;
  }
  results.tree.SortChildren(root);
}

void ArrangeNtfsFolders(RecoveredResults& results, ProgressBar* progress, bool deep) {
  const ItemId root = results.RootItem();
  for (std::size_t row = 0; row < results.directory.Size(); ++row) {
    RecoveredEntry& entry = results.directory.Row(row);
    if (results.directory.Taken(row) || entry.type != "FOLDER" || entry.self == kNtfsRootRecord) continue;
    // The miscellaneous row hangs under Root like the root's own folders.
    if (entry.self == kMiscellaneousSelf) entry.parent = kNtfsRootRecord;
    if (entry.parent == kNtfsRootRecord) PlaceRow(results, row, root, deep);
  }
  results.tree.SetExpanded(root, true);
  AttachLevelByLevel(results, progress, deep);
  FileOrphansToMiscellaneous(results, deep);
  results.directory.Clear();
  results.tree.SortChildren(root);
}

}  // namespace pellora
