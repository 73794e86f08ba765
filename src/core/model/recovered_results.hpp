#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "model/folder_node.hpp"
#include "model/ntfs_file_rows.hpp"
#include "model/recovered_entry.hpp"
#include "model/result_tree.hpp"

namespace pellora {

inline constexpr std::string_view kRootTitle = "Root";

// What a Basic or Deep search leaves: the result tree and its folder nodes, the directory table
// and the root entry list it is arranged from, and the files found on NTFS. Emptied when a new
// search starts.
class RecoveredResults {
 public:
  ResultTree tree;
  FolderNodeList nodes;
  DirectoryTable directory;
  std::vector<RootEntry> root_entries;
  NtfsFileTable ntfs_files;
  // Set while a recovery log is being loaded: names and items are then taken as stored.
  bool loading_log = false;

  // Empties everything for a new search; the running number of unnamed folders carries on.
  void Clear();

  // Places a folder under parent_item (kNoItem: under "Root", made when missing). Returns its item,
  // the item already placed for the same Self during a search, or kNoItem when a search offers a
  // folder named like the miscellaneous folder that is not it. Siblings of the same name become
  // "name (1)", "name (2)" ...
  ItemId AddFolderNode(ItemId parent_item, const std::string& name, std::uint64_t self, std::uint64_t date,
                       std::uint64_t time, std::uint64_t parent, bool deleted, std::uint64_t partition_start);

  // Gives a folder a new name in the tree and its node.
  void RenameFolder(FolderNode& node, const std::string& name);

  // "DIR_1", "DIR_2" ...: names for folders whose row carries none.
  std::string NextUnnamedFolderName() { return "DIR_" + std::to_string(++unnamed_count_); }

  // The "Root" item, made when the tree has none yet.
  ItemId RootItem();
  // The miscellaneous folder's item, or kNoItem before it is placed.
  ItemId MiscellaneousItem() const;
  // The item of the folder a search has placed for this Self (on this partition, Deep Search), or
  // kNoItem.
  ItemId PlacedItem(std::uint64_t self, std::uint64_t partition_start = 0) const;

  // Forgets which Self has which item (once the tree is arranged).
  void ClearTreeItemMap() { tree_item_map_.clear(); }

 private:
  // One Self gets one item; Deep Search may find several partitions whose clusters share numbers,
  // so there a Self is one per partition.
  struct PlacedKey {
    std::uint64_t self = 0;
    std::uint64_t partition_start = 0;
    bool operator==(const PlacedKey&) const = default;
  };
  struct PlacedKeyHash {
    std::size_t operator()(const PlacedKey& key) const {
      return std::hash<std::uint64_t>{}(key.self ^ (key.partition_start * 0x9E3779B97F4A7C15ULL));
    }
  };
  std::unordered_map<PlacedKey, ItemId, PlacedKeyHash> tree_item_map_;
  std::uint64_t unnamed_count_ = 0;
};

}  // namespace pellora
