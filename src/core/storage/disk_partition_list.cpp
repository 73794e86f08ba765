#include "storage/disk_partition_list.hpp"

namespace pellora {

DiskPartition* DiskPartitionList::Add(std::string file_system, std::uint64_t start, std::uint64_t end, bool found) {
  if (Full()) return nullptr;
  const int index = Count();
  entries_.push_back(
      {.file_system = std::move(file_system), .start = start, .end = end, .index = index, .found = found});
  return &entries_.back();
}

bool DiskPartitionList::Contains(std::uint64_t start, std::string_view file_system) const {
  for (const DiskPartition& p : entries_)
    if (p.start == start && p.file_system == file_system) return true;
  return false;
}

std::string PartitionItemLabel(int number, std::string_view file_system) {
  return "Partition - " + std::to_string(number) + " ( " + std::string(file_system) + " )";
}

}  // namespace pellora
