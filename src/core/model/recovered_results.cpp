#include "model/recovered_results.hpp"

namespace pellora {

void RecoveredResults::Clear() {
  tree.Clear();
  nodes.Clear();
  directory.Clear();
  root_entries.clear();
  ntfs_files.Clear();
  tree_item_map_.clear();
  loading_log = false;
}

ItemId RecoveredResults::RootItem() {
  if (tree.Empty() || tree.Title(tree.FirstItem()) != kRootTitle) {
    const ItemId root = tree.Insert(kNoItem, std::string(kRootTitle), kRootImage);
    tree.SetExpanded(root, true);
    return root;
  }
  return tree.FirstItem();
}

ItemId RecoveredResults::AddFolderNode(ItemId parent_item, const std::string& name, std::uint64_t self,
                                       std::uint64_t date, std::uint64_t time, std::uint64_t parent, bool deleted,
                                       std::uint64_t partition_start) {
  const bool searching = !loading_log;
  if (searching && name == kMiscellaneousName && self != kMiscellaneousSelf) return kNoItem;
  if (parent_item == kNoItem || tree.Empty() || !tree.Contains(parent_item)) parent_item = RootItem();
  if (searching) {
    if (const auto placed = tree_item_map_.find({self, partition_start}); placed != tree_item_map_.end())
      return placed->second;
  }
  const std::string title = searching ? tree.UniqueChildTitle(parent_item, name) : name;
  const ItemId item = tree.Insert(parent_item, title, kFolderImage);
  if (searching) tree_item_map_.emplace(PlacedKey{self, partition_start}, item);
  nodes.Append({title, item, self, parent, date, time, false, deleted, partition_start});
  if (tree.Size() == 2) tree.SetExpanded(tree.FirstItem(), true);
  return item;
}

void RecoveredResults::RenameFolder(FolderNode& node, const std::string& name) {
  node.name = name;
  tree.SetTitle(node.tree_item, name);
}

ItemId RecoveredResults::MiscellaneousItem() const {
  const FolderNode* misc = nodes.ByName(kMiscellaneousName);
  return misc == nullptr ? kNoItem : misc->tree_item;
}

ItemId RecoveredResults::PlacedItem(std::uint64_t self, std::uint64_t partition_start) const {
  const auto placed = tree_item_map_.find({self, partition_start});
  return placed == tree_item_map_.end() ? kNoItem : placed->second;
}

}  // namespace pellora
