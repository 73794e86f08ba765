#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace pellora {

// One listed partition of a disk.
struct DiskPartition {
  std::string file_system;  // "FAT16", "FAT32" or "NTFS"
  int item = -1;            // its tree item, -1 when listed without a tree
  std::uint64_t start = 0;  // absolute on the disk
  // MBR and EBR partitions: start + sector count (the first sector after it); GPT partitions:
  // the entry's last LBA; found partitions: start + the boot sector's total sectors.
  std::uint64_t end = 0;
  int index = 0;       // 0-based position in the list; the item is "Partition - index+1"
  bool found = false;  // added by the lost-partition search rather than read from the table
};

// The partitions listed for one disk; never more than 27.
class DiskPartitionList {
 public:
  static constexpr int kCapacity = 27;

  int Count() const { return static_cast<int>(entries_.size()); }
  bool Full() const { return Count() >= kCapacity; }
  // Appends at the next index; nullptr (and nothing written) when the list is full.
  DiskPartition* Add(std::string file_system, std::uint64_t start, std::uint64_t end, bool found = false);
  // Whether a partition of this file system starting here is listed already. The end is not
  // compared: a table entry counts the sectors of the partition, while an NTFS boot sector counts
  // one fewer (its backup lies after them), and both name the same partition.
  bool Contains(std::uint64_t start, std::string_view file_system) const;
  std::span<const DiskPartition> Entries() const { return entries_; }
  DiskPartition& At(int index) { return entries_.at(static_cast<std::size_t>(index)); }
  const DiskPartition& At(int index) const { return entries_.at(static_cast<std::size_t>(index)); }
  void Clear() { entries_.clear(); }

 private:
  std::vector<DiskPartition> entries_;
};

// "Partition - 3 ( FAT32 )"
std::string PartitionItemLabel(int number, std::string_view file_system);

}  // namespace pellora
