#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "model/result_tree.hpp"

namespace pellora {

// The record behind each folder item of the result tree.
struct FolderNode {
  std::string name;
  ItemId tree_item = kNoItem;
  std::uint64_t self = 0;      // FAT first cluster / NTFS record; kMiscellaneousSelf for the orphans
  std::uint64_t parent = 0;    // as the directory table's Parent
  std::uint64_t date = 0;      // FAT date word or NTFS FILETIME
  std::uint64_t time = 0;      // FAT time word
  bool children_read = false;  // its directory has been read for the names of its child folders
  bool deleted = false;
  std::uint64_t partition_start = 0;  // Cluster0Start of its partition (Deep Search); 0 in Basic
};

// Folder nodes in the order they were placed; never removed while the tree exists.
class FolderNodeList {
 public:
  std::size_t Append(FolderNode node);
  void Clear();
  std::size_t Size() const { return nodes_.size(); }
  FolderNode& operator[](std::size_t index) { return nodes_[index]; }
  const FolderNode& operator[](std::size_t index) const { return nodes_[index]; }
  auto begin() const { return nodes_.begin(); }
  auto end() const { return nodes_.end(); }
  auto begin() { return nodes_.begin(); }
  auto end() { return nodes_.end(); }
  // The node of a tree item; nullptr for items that are no folder node (the "Root" item).
  FolderNode* ByItem(ItemId item);
  const FolderNode* ByItem(ItemId item) const;
  // The position of a tree item's node in the list.
  std::optional<std::size_t> IndexByItem(ItemId item) const;
  // The first node with this name, in list order.
  const FolderNode* ByName(std::string_view name) const;

 private:
  std::vector<FolderNode> nodes_;
  std::unordered_map<ItemId, std::size_t> by_item_;
};

}  // namespace pellora
