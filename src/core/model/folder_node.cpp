#include "model/folder_node.hpp"

namespace pellora {

std::size_t FolderNodeList::Append(FolderNode node) {
  by_item_[node.tree_item] = nodes_.size();
  nodes_.push_back(std::move(node));
  return nodes_.size() - 1;
}

void FolderNodeList::Clear() {
  nodes_.clear();
  by_item_.clear();
}

FolderNode* FolderNodeList::ByItem(ItemId item) {
  const auto hit = by_item_.find(item);
  return hit == by_item_.end() ? nullptr : &nodes_[hit->second];
}

const FolderNode* FolderNodeList::ByItem(ItemId item) const {
  const auto hit = by_item_.find(item);
  return hit == by_item_.end() ? nullptr : &nodes_[hit->second];
}

std::optional<std::size_t> FolderNodeList::IndexByItem(ItemId item) const {
  const auto hit = by_item_.find(item);
  return hit == by_item_.end() ? std::nullopt : std::optional(hit->second);
}

const FolderNode* FolderNodeList::ByName(std::string_view name) const {
  for (const FolderNode& node : nodes_)
    if (node.name == name) return &node;
  return nullptr;
}

}  // namespace pellora
