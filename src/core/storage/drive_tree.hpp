#pragma once

#include <deque>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "storage/drive_info.hpp"

namespace pellora {

enum class DriveItemKind {
  kTop,        // the tree's root, labelled with the mode
  kGroup,      // "Physical Drives", "Logical Drives"
  kDisk,       // a removable disk
  kPartition,  // "Partition - n ( FAT32 )" below a disk
  kVolume,     // a removable logical volume
};

// One label/value line of the details list shown for the selected item.
struct DetailRow {
  std::string label;
  std::string value;
  bool operator==(const DetailRow&) const = default;
};

struct DriveItem {
  DriveItemKind kind = DriveItemKind::kTop;
  std::string label;
  int parent = -1;
  std::vector<int> children;
  bool expanded = false;
  std::optional<DriveInfo> info;  // disks and volumes
  int disk_number = -1;           // disks and partitions
  int partition_index = -1;       // partitions: the index in the disk's DiskPartitionList
  bool removed = false;
};

// The drive tree of a search window: the model the desktop program shows and the command line
// prints. Item ids stay valid until Clear(); removed items keep their slot.
class DriveTree {
 public:
  explicit DriveTree(std::string top_label = "Drives");

  int Top() const { return 0; }
  int Add(int parent, DriveItemKind kind, std::string label);
  void Remove(int id);  // with everything below it
  // Drops every item but the top one, and the selection.
  void Clear();
  // The group item with this label under the top item.
  std::optional<int> FindGroup(std::string_view label) const;
  int EnsureGroup(std::string_view label);
  // Children in label order.
  void SortChildren(int id);

  const DriveItem& Item(int id) const { return items_.at(static_cast<std::size_t>(id)); }
  DriveItem& Item(int id) { return items_.at(static_cast<std::size_t>(id)); }
  bool Valid(int id) const {
    return id >= 0 && static_cast<std::size_t>(id) < items_.size() && !items_[static_cast<std::size_t>(id)].removed;
  }
  // Live children of an item, in order.
  std::vector<int> Children(int id) const;
  // The disk item that carries this device path, or the volume item.
  std::optional<int> FindDrive(std::string_view device_path) const;
  // A disk item's child partition with this 1-based number in the disk's list.
  std::optional<int> FindPartition(int disk_item, int number) const;
  bool IsGroup(int id) const;
  // A whole disk directly under "Physical Drives".
  bool IsWholeDisk(int id) const;

  // The selected item and the details rows the window shows for it.
  std::optional<int> selected;
  std::vector<DetailRow> details;
  // Text shown above the details rows ("This is a Dynamic disk. ...").
  std::string details_notice;

 private:
  // A deque: adding an item never moves the others, so references to items stay valid.
  std::deque<DriveItem> items_;
};

// The value of the row with this label; empty when there is none.
std::string DetailValue(const std::vector<DetailRow>& rows, std::string_view label);

}  // namespace pellora
