#include "storage/drive_tree.hpp"

#include <algorithm>

namespace pellora {

DriveTree::DriveTree(std::string top_label) {
  DriveItem top;
  top.label = std::move(top_label);
  items_.push_back(std::move(top));
}

int DriveTree::Add(int parent, DriveItemKind kind, std::string label) {
  const int id = static_cast<int>(items_.size());
  DriveItem item;
  item.kind = kind;
  item.label = std::move(label);
  item.parent = parent;
  items_.push_back(std::move(item));
  Item(parent).children.push_back(id);
  return id;
}

void DriveTree::Remove(int id) {
  if (!Valid(id) || id == Top()) return;
  for (int child : Children(id)) Remove(child);
  DriveItem& item = Item(id);
  item.removed = true;
  std::erase(Item(item.parent).children, id);
  if (selected == id) {
    selected.reset();
    details.clear();
    details_notice.clear();
  }
}

void DriveTree::Clear() {
  items_.resize(1);
  items_[0].children.clear();
  selected.reset();
  details.clear();
  details_notice.clear();
}

std::optional<int> DriveTree::FindGroup(std::string_view label) const {
  for (int child : Children(Top()))
    if (Item(child).kind == DriveItemKind::kGroup && Item(child).label == label) return child;
  return std::nullopt;
}

int DriveTree::EnsureGroup(std::string_view label) {
  if (const auto group = FindGroup(label)) return *group;
  return Add(Top(), DriveItemKind::kGroup, std::string(label));
}

void DriveTree::SortChildren(int id) {
  auto& children = Item(id).children;
  std::stable_sort(children.begin(), children.end(), [this](int a, int b) { return Item(a).label < Item(b).label; });
}

std::vector<int> DriveTree::Children(int id) const {
  std::vector<int> live;
  for (int child : Item(id).children)
    if (Valid(child)) live.push_back(child);
  return live;
}

std::optional<int> DriveTree::FindDrive(std::string_view device_path) const {
  for (std::size_t id = 0; id < items_.size(); ++id) {
    const DriveItem& item = items_[id];
    if (!item.removed && item.info && item.info->device_path == device_path) return static_cast<int>(id);
  }
  return std::nullopt;
}

std::optional<int> DriveTree::FindPartition(int disk_item, int number) const {
  for (int child : Children(disk_item))
    if (Item(child).kind == DriveItemKind::kPartition && Item(child).partition_index + 1 == number) return child;
  return std::nullopt;
}

bool DriveTree::IsGroup(int id) const { return Valid(id) && Item(id).kind == DriveItemKind::kGroup; }

bool DriveTree::IsWholeDisk(int id) const {
  if (!Valid(id) || Item(id).kind != DriveItemKind::kDisk) return false;
  const int parent = Item(id).parent;
  return Valid(parent) && Item(parent).label == kPhysicalDrives;
}

std::string DetailValue(const std::vector<DetailRow>& rows, std::string_view label) {
  for (const DetailRow& row : rows)
    if (row.label == label) return row.value;
  return {};
}

}  // namespace pellora
